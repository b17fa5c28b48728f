#pragma once

// CImageList: a row of equal-width small images (tree and list icons), cut from one bitmap
// resource; pixels of the mask colour are transparent.

#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/WinTypes.h"

#include <QImage>

#include <vector>

class CImageList {
public:
    // Cuts bitmap nBitmapID into images cx pixels wide (a narrower rest is dropped). grow is
    // accepted for the caller's sake: the list grows as needed. FALSE when the bitmap is missing
    // or narrower than one image.
    BOOL Create(UINT nBitmapID, int cx, int grow, COLORREF mask);
    // The same from an image the caller has.
    BOOL Create(const QImage& strip, int cx, COLORREF mask);

    int GetImageCount() const { return static_cast<int>(m_images.size()); }
    // A null image outside the list.
    QImage GetImage(int index) const;

private:
    std::vector<QImage> m_images;
};
