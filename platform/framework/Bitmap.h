#pragma once

// CBitmap: a device-dependent bitmap, the pixels a memory device context draws into. Copies
// share the pixels, as copies of a handle would; the image is 32-bit RGB at 96 DPI.

#include "platform/framework/GdiObject.h"
#include "platform/framework/GdiTypes.h"
#include "platform/wintypes/Size.h"

#include <QImage>

#include <memory>

class CDC;

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)

public:
    CBitmap() = default;

    // A colour bitmap of width x height, black. A width or height of 0 gives a 1 x 1 bitmap;
    // a negative one fails. The device context is only a reference and may be null.
    BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
    // Takes a copy of the image (bitmaps loaded from resources or made by other layers); any
    // alpha channel is dropped. A null image fails.
    BOOL Attach(const QImage& image);

    // Size and depth; returns the bytes written, 0 when not created.
    int GetBitmap(BITMAP* bitmap) const;
    CSize GetSize() const;

    // The pixels, or null when not created. Valid while any copy of this bitmap lives.
    QImage* GetImage() const { return m_image.get(); }

    static constexpr int kDotsPerMeter = 3780;  // 96 DPI.

protected:
    void Reset() override { m_image.reset(); }

private:
    std::shared_ptr<QImage> m_image;
};
