#include "platform/framework/Pen.h"

IMPLEMENT_DYNAMIC(CPen, CGdiObject)

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    if (width < 0 || (style & PS_STYLE_MASK) > PS_INSIDEFRAME)
        return FALSE;
    m_style = style;
    m_width = width;
    m_color = color & 0x00FFFFFF;
    MarkCreated();
    return TRUE;
}

BOOL CPen::CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount,
                     const DWORD* styles) {
    (void)styles;
    if (brush == nullptr || styleCount != 0)
        return FALSE;
    if (brush->lbStyle == BS_NULL)
        return CreatePen((style & ~PS_STYLE_MASK) | PS_NULL, width, brush->lbColor);
    return CreatePen(style, width, brush->lbColor);
}

BOOL CPen::CreateStockObject(int index) {
    switch (index) {
        case WHITE_PEN:
            return CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
        case BLACK_PEN:
            return CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        case NULL_PEN:
            return CreatePen(PS_NULL, 1, RGB(0, 0, 0));
        default:
            return FALSE;
    }
}

void CPen::Reset() {
    m_style = PS_SOLID;
    m_width = 1;
    m_color = 0;
}
