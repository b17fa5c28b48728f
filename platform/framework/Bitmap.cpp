#include "platform/framework/Bitmap.h"

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    (void)dc;
    if (width < 0 || height < 0)
        return FALSE;
    if (width == 0 || height == 0)
        width = height = 1;
    auto image = std::make_shared<QImage>(width, height, QImage::Format_RGB32);
    if (image->isNull())
        return FALSE;
    image->fill(0xFF000000);
    image->setDotsPerMeterX(kDotsPerMeter);
    image->setDotsPerMeterY(kDotsPerMeter);
    m_image = std::move(image);
    MarkCreated();
    return TRUE;
}

BOOL CBitmap::Attach(const QImage& image) {
    if (image.isNull())
        return FALSE;
    auto copy = std::make_shared<QImage>(image.convertToFormat(QImage::Format_RGB32));
    copy->setDotsPerMeterX(kDotsPerMeter);
    copy->setDotsPerMeterY(kDotsPerMeter);
    m_image = std::move(copy);
    MarkCreated();
    return TRUE;
}

int CBitmap::GetBitmap(BITMAP* bitmap) const {
    if (bitmap == nullptr || !m_image)
        return 0;
    *bitmap = {};
    bitmap->bmWidth = m_image->width();
    bitmap->bmHeight = m_image->height();
    bitmap->bmWidthBytes = static_cast<LONG>(m_image->bytesPerLine());
    bitmap->bmPlanes = 1;
    bitmap->bmBitsPixel = 32;
    return static_cast<int>(sizeof(BITMAP));
}

CSize CBitmap::GetSize() const {
    return m_image ? CSize(m_image->width(), m_image->height()) : CSize();
}
