#include "platform/framework/ImageList.h"

#include "platform/framework/ResourceChain.h"

BOOL CImageList::Create(UINT nBitmapID, int cx, int /*grow*/, COLORREF mask) {
    return Create(CResourceChain::LoadBitmap(nBitmapID), cx, mask);
}

BOOL CImageList::Create(const QImage& strip, int cx, COLORREF mask) {
    m_images.clear();
    if (strip.isNull() || cx <= 0 || strip.width() < cx)
        return FALSE;
    const QImage argb = strip.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qRgb(GetRValue(mask), GetGValue(mask), GetBValue(mask));
    for (int left = 0; left + cx <= argb.width(); left += cx) {
        QImage image = argb.copy(left, 0, cx, argb.height());
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                    line[x] = 0;
            }
        }
        m_images.push_back(image);
    }
    return TRUE;
}

QImage CImageList::GetImage(int index) const {
    if (index < 0 || index >= GetImageCount())
        return QImage();
    return m_images[static_cast<size_t>(index)];
}
