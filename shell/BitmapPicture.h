#pragma once

// CBitmapPicture: a window that shows a bitmap from the resources, or tiles it over an area.

#include "platform/framework/Bitmap.h"
#include "platform/framework/Wnd.h"

class CDC;

class CBitmapPicture : public CWnd {
    DECLARE_DYNAMIC(CBitmapPicture)

public:
    CBitmapPicture() = default;

    // Loads the bitmap from the module that holds the id; FALSE (and no bitmap) when none
    // can be loaded.
    BOOL LoadBitmap(UINT nIDResource);
    int GetBitmapWidth() const { return m_nWidth; }
    int GetBitmapHeight() const { return m_nHeight; }

    // Draws the bitmap with its top-left corner at point; FALSE when there is no bitmap.
    BOOL Draw(CDC* pDC, CPoint point);
    // Fills rect with copies of the bitmap (or of pBitmap, tiles of tileSize when given),
    // the first at the rectangle's corner plus the offset; drawing stays inside rect.
    BOOL Tile(CDC* pDC, const CRect& rect, int xOffset, int yOffset, CSize tileSize = CSize(0, 0),
              CBitmap* pBitmap = nullptr);

private:
    CBitmap m_bitmap;
    int m_nWidth = 0;
    int m_nHeight = 0;
};
