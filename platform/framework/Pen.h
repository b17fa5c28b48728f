#pragma once

// CPen: a pen for the line work of a device context: style (dash pattern, type, end cap and
// join), width in pixels and colour.

#include "platform/framework/GdiConstants.h"
#include "platform/framework/GdiObject.h"
#include "platform/framework/GdiTypes.h"

class CPen : public CGdiObject {
    DECLARE_DYNAMIC(CPen)

public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }

    // A cosmetic pen; a width above 1 draws solid lines with round ends and joins whatever
    // dash style is asked for. A negative width fails.
    BOOL CreatePen(int style, int width, COLORREF color);
    // A geometric or cosmetic pen whose colour comes from a brush description. Custom dash
    // entries are not supported: a non-zero styleCount fails, as does a null brush.
    BOOL CreatePen(int style, int width, const LOGBRUSH* brush, int styleCount = 0,
                   const DWORD* styles = nullptr);
    // WHITE_PEN, BLACK_PEN or NULL_PEN; any other index fails.
    BOOL CreateStockObject(int index);

    int GetStyle() const { return m_style; }
    int GetWidth() const { return m_width; }
    COLORREF GetColor() const { return m_color; }

protected:
    void Reset() override;

private:
    int m_style = PS_SOLID;
    int m_width = 1;
    COLORREF m_color = 0;
};
