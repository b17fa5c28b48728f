// The PNG encoder and decoder over Qt's image I/O. 8-bit bitmaps are written as palette images;
// the 16- and 32-bit formats become 8-bit RGB. Decoded palette and grey images are 8-bit
// indexed, colour images 24-bit (transparency is dropped).

#include "platform/imaging/Codecs.h"
#include "platform/imaging/PixelConvert.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace imaging::detail {

Status EncodePng(Bitmap& bitmap, QByteArray* out) {
    QImage image = bitmap.AsQImage();
    if (image.isNull())
        return InvalidParameter;
    if (image.format() == QImage::Format_Indexed8) {
        BitmapData pixels;
        if (Status locked =
                bitmap.LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &pixels);
            locked != Ok)
            return locked;
        ColorPalette palette;
        bitmap.GetPalette(&palette);
        image.setColorTable(image.colorTable().mid(0, PaletteEntriesToWrite(pixels, palette)));
        bitmap.UnlockBits(&pixels);
    }
    out->clear();
    QBuffer buffer(out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    return writer.write(image) ? Ok : GenericError;
}

std::unique_ptr<Bitmap> DecodePng(const QByteArray& bytes, Status* status) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    QImage image = reader.read();
    if (image.isNull()) {
        *status = UnknownImageFormat;
        return nullptr;
    }
    PixelFormat format = PixelFormat24bppRGB;
    ColorPalette palette;
    if (image.format() == QImage::Format_Grayscale8) {
        format = PixelFormat8bppIndexed;
        palette = GreyPalette();
    } else if (image.colorCount() > 0 && image.colorCount() <= int{kMaxPaletteEntries}) {
        image = image.convertToFormat(QImage::Format_Indexed8);
        format = PixelFormat8bppIndexed;
        const QList<QRgb> colors = image.colorTable();
        palette.Count = static_cast<UINT>(colors.size());
        bool grey = true;
        for (qsizetype i = 0; i < colors.size(); ++i) {
            const QRgb c = colors[i];
            palette.Entries[i] =
                MakeARGB(0xFF, static_cast<BYTE>(qRed(c)), static_cast<BYTE>(qGreen(c)),
                         static_cast<BYTE>(qBlue(c)));
            grey = grey && qRed(c) == qGreen(c) && qGreen(c) == qBlue(c);
        }
        palette.Flags = grey ? PaletteFlagsGrayScale : 0;
    } else {
        image = image.convertToFormat(QImage::Format_BGR888);
    }
    auto bitmap = std::make_unique<Bitmap>(image.width(), image.height(), format);
    if (Status made = bitmap->GetLastStatus(); made != Ok) {
        *status = made;
        return nullptr;
    }
    if (format == PixelFormat8bppIndexed)
        bitmap->SetPalette(&palette);
    *status = FillRows(*bitmap, image.constBits(), image.bytesPerLine());
    if (*status != Ok)
        return nullptr;
    return bitmap;
}

}  // namespace imaging::detail
