#include "platform/framework/Brush.h"

IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    m_brush = {BS_SOLID, color & 0x00FFFFFF, 0};
    MarkCreated();
    return TRUE;
}

BOOL CBrush::CreateHatchBrush(int hatchIndex, COLORREF color) {
    if (hatchIndex < HS_HORIZONTAL || hatchIndex > HS_DIAGCROSS)
        return FALSE;
    m_brush = {BS_HATCHED, color & 0x00FFFFFF, static_cast<uintptr_t>(hatchIndex)};
    MarkCreated();
    return TRUE;
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) {
    if (brush == nullptr)
        return FALSE;
    switch (brush->lbStyle) {
        case BS_SOLID:
            return CreateSolidBrush(brush->lbColor);
        case BS_HATCHED:
            return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
        case BS_NULL:
            m_brush = {BS_NULL, 0, 0};
            MarkCreated();
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL CBrush::CreateStockObject(int index) {
    switch (index) {
        case WHITE_BRUSH:
            return CreateSolidBrush(RGB(255, 255, 255));
        case LTGRAY_BRUSH:
            return CreateSolidBrush(RGB(192, 192, 192));
        case GRAY_BRUSH:
            return CreateSolidBrush(RGB(128, 128, 128));
        case DKGRAY_BRUSH:
            return CreateSolidBrush(RGB(64, 64, 64));
        case BLACK_BRUSH:
            return CreateSolidBrush(RGB(0, 0, 0));
        case NULL_BRUSH: {
            const LOGBRUSH none{BS_NULL, 0, 0};
            return CreateBrushIndirect(&none);
        }
        default:
            return FALSE;
    }
}

int CBrush::GetLogBrush(LOGBRUSH* brush) const {
    if (brush == nullptr || GetSafeHandle() == nullptr)
        return 0;
    *brush = m_brush;
    return static_cast<int>(sizeof(LOGBRUSH));
}
