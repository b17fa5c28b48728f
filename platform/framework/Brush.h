#pragma once

// CBrush: a fill for a device context: solid colour, hatch pattern or none.

#include "platform/framework/GdiConstants.h"
#include "platform/framework/GdiObject.h"
#include "platform/framework/GdiTypes.h"

class CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)

public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    CBrush(int hatchIndex, COLORREF color) { CreateHatchBrush(hatchIndex, color); }

    BOOL CreateSolidBrush(COLORREF color);
    // An 8 x 8 hatch (HS_*) in the colour; the gaps take the device context's background
    // colour in OPAQUE mode and are left alone in TRANSPARENT mode. Unknown indices fail.
    BOOL CreateHatchBrush(int hatchIndex, COLORREF color);
    // BS_SOLID, BS_HATCHED or BS_NULL; other styles fail.
    BOOL CreateBrushIndirect(const LOGBRUSH* brush);
    // WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH or NULL_BRUSH.
    BOOL CreateStockObject(int index);

    // Copies the description out; returns the bytes written, 0 when not created.
    int GetLogBrush(LOGBRUSH* brush) const;

    UINT GetStyle() const { return m_brush.lbStyle; }
    COLORREF GetColor() const { return m_brush.lbColor; }
    int GetHatch() const { return static_cast<int>(m_brush.lbHatch); }

protected:
    void Reset() override { m_brush = {}; }

private:
    LOGBRUSH m_brush;
};
