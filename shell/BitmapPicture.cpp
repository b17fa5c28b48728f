#include "shell/BitmapPicture.h"

#include "platform/framework/DC.h"
#include "platform/framework/GdiConstants.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/Rgn.h"

IMPLEMENT_DYNAMIC(CBitmapPicture, CWnd)

BOOL CBitmapPicture::LoadBitmap(UINT nIDResource) {
    m_bitmap.DeleteObject();
    m_nWidth = m_nHeight = 0;
    const QImage image = CResourceChain::LoadBitmap(nIDResource);
    if (image.isNull() || !m_bitmap.Attach(image))
        return FALSE;
    m_nWidth = image.width();
    m_nHeight = image.height();
    return TRUE;
}

BOOL CBitmapPicture::Draw(CDC* pDC, CPoint point) {
    if (!pDC || !m_bitmap.GetImage() || m_nWidth <= 0 || m_nHeight <= 0)
        return FALSE;
    return pDC->DrawState(point, CSize(m_nWidth, m_nHeight), &m_bitmap, DST_BITMAP);
}

BOOL CBitmapPicture::Tile(CDC* pDC, const CRect& rect, int xOffset, int yOffset, CSize tileSize,
                          CBitmap* pBitmap) {
    CBitmap* bitmap = pBitmap ? pBitmap : &m_bitmap;
    if (!pDC || !bitmap->GetImage())
        return FALSE;
    const CSize own = bitmap->GetSize();
    const int width = tileSize.cx > 0 ? tileSize.cx : own.cx;
    const int height = tileSize.cy > 0 ? tileSize.cy : own.cy;
    if (width <= 0 || height <= 0)
        return FALSE;
    CRgn clip;
    clip.CreateRectRgnIndirect(rect);
    pDC->SelectClipRgn(&clip);
    for (int y = rect.top + yOffset; y < rect.bottom; y += height) {
        if (y + height <= rect.top)
            continue;
        for (int x = rect.left + xOffset; x < rect.right; x += width) {
            if (x + width <= rect.left)
                continue;
            pDC->DrawState(CPoint(x, y), CSize(width, height), bitmap, DST_BITMAP);
        }
    }
    pDC->SelectClipRgn(nullptr);
    return TRUE;
}
