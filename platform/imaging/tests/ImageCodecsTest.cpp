#include "platform/imaging/Bitmap.h"

#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace imaging;

namespace {

// The class id of the encoder with exactly that MIME type, as the saving side finds it.
bool FindEncoder(const std::u16string& mime, CodecId* clsid) {
    UINT count = 0;
    UINT size = 0;
    if (GetImageEncodersSize(&count, &size) != Ok || size == 0)
        return false;
    std::vector<ImageCodecInfo> encoders(count);
    if (GetImageEncoders(count, size, encoders.data()) != Ok)
        return false;
    for (const ImageCodecInfo& info : encoders) {
        if (mime == info.MimeType) {
            *clsid = info.Clsid;
            return true;
        }
    }
    return false;
}

CodecId Encoder(const std::u16string& mime) {
    CodecId clsid;
    EXPECT_TRUE(FindEncoder(mime, &clsid));
    return clsid;
}

// 256 distinct colours.
ColorPalette ColourPalette() {
    ColorPalette palette;
    palette.Count = 256;
    for (UINT i = 0; i < 256; ++i)
        palette.Entries[i] = MakeARGB(0xFF, static_cast<BYTE>(i), static_cast<BYTE>(255 - i),
                                      static_cast<BYTE>(i * 7));
    return palette;
}

enum class Content { Smooth, Noise };

// An odd-sized bitmap (every format needs row padding) with different values in every channel.
// Unused bits stay as converters write them: the 555 top bit clear, the fourth 32-bit byte 0xFF.
std::unique_ptr<Bitmap> Fixture(PixelFormat format, bool colourPalette, Content content) {
    const int width = 13;
    const int height = 7;
    std::mt19937 random(42);
    std::vector<BYTE> bgr(static_cast<size_t>(width) * height * 3);
    std::vector<BYTE> index(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            const int noise = content == Content::Noise ? static_cast<int>(random() % 256) : 0;
            bgr[i * 3] = static_cast<BYTE>(16 * x + 3 * y + noise);
            bgr[i * 3 + 1] = static_cast<BYTE>(200 - 10 * x + 2 * noise);
            bgr[i * 3 + 2] = static_cast<BYTE>(30 * y + x + 3 * noise);
            index[i] = static_cast<BYTE>(10 * x + 20 * y + noise);
        }
    }
    if (format == PixelFormat8bppIndexed) {
        auto bitmap = std::make_unique<Bitmap>(width, height, width, format, index.data());
        const ColorPalette palette = colourPalette ? ColourPalette() : GreyPalette();
        bitmap->SetPalette(&palette);
        return bitmap;
    }
    Bitmap colour(width, height, width * 3, PixelFormat24bppRGB, bgr.data());
    return colour.Clone(Rect{0, 0, width, height}, format);
}

// Blue, green, red bytes of every pixel, read through the palette for an indexed bitmap.
std::vector<BYTE> Colours(Bitmap& bitmap) {
    BitmapData data;
    EXPECT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, PixelFormat24bppRGB, &data), Ok);
    std::vector<BYTE> out;
    for (UINT y = 0; y < data.Height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(data.Scan0) + y * data.Stride;
        out.insert(out.end(), row, row + data.Width * 3);
    }
    bitmap.UnlockBits(&data);
    return out;
}

// The raw pixel bytes in the bitmap's own format, without row padding.
std::vector<BYTE> Raw(Bitmap& bitmap) {
    BitmapData data;
    EXPECT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, bitmap.GetPixelFormat(), &data), Ok);
    const UINT rowBytes = data.Width * GetPixelFormatSize(data.PixelFormat) / 8;
    std::vector<BYTE> out;
    for (UINT y = 0; y < data.Height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(data.Scan0) + y * data.Stride;
        out.insert(out.end(), row, row + rowBytes);
    }
    bitmap.UnlockBits(&data);
    return out;
}

int MaxDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b) {
    int worst = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

void Patch32(QByteArray* bytes, int offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        (*bytes)[offset + i] = static_cast<char>(value >> (8 * i));
}

void Patch16(QByteArray* bytes, int offset, uint16_t value) {
    (*bytes)[offset] = static_cast<char>(value);
    (*bytes)[offset + 1] = static_cast<char>(value >> 8);
}

// The process's largest resident size so far.
long PeakResidentKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class ImageCodecsTest : public IsolatedTest {
protected:
    // Saves and returns the file's bytes.
    QByteArray Encode(Bitmap& bitmap, const std::u16string& mime,
                      const EncoderParameters* params = nullptr) {
        const QString path = WorkPath("encoded");
        const CodecId clsid = Encoder(mime);
        EXPECT_EQ(bitmap.Save(path, &clsid, params), Ok);
        return ReadAll(path);
    }
    std::unique_ptr<Bitmap> Decode(const QByteArray& bytes, Status* status) {
        const QString path = WorkPath("decoded");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        return Bitmap::FromFile(path, status);
    }
};

}  // namespace

TEST_F(ImageCodecsTest, EncodersAreFoundByExactMimeType) {
    UINT count = 0;
    UINT size = 0;
    ASSERT_EQ(GetImageEncodersSize(&count, &size), Ok);
    ASSERT_EQ(count, 4u);
    std::vector<ImageCodecInfo> encoders(count);
    ASSERT_EQ(GetImageEncoders(count, size, encoders.data()), Ok);
    std::vector<std::u16string> mimes;
    for (const ImageCodecInfo& info : encoders)
        mimes.emplace_back(info.MimeType);
    EXPECT_EQ(mimes, (std::vector<std::u16string>{u"image/bmp", u"image/jpeg", u"image/tiff",
                                                  u"image/png"}));
    for (size_t i = 0; i < encoders.size(); ++i) {
        for (size_t j = i + 1; j < encoders.size(); ++j)
            EXPECT_FALSE(encoders[i].Clsid == encoders[j].Clsid);
    }

    CodecId clsid;
    for (const char16_t* unknown : {u"IMAGE/BMP", u"image/gif", u"image/jpg", u"image/bmp ", u""})
        EXPECT_FALSE(FindEncoder(unknown, &clsid)) << QString::fromUtf16(unknown).toStdString();

    EXPECT_EQ(GetImageEncoders(count, size - 1, encoders.data()), InvalidParameter);
    EXPECT_EQ(GetImageEncoders(count + 1, size, encoders.data()), InvalidParameter);
}

TEST_F(ImageCodecsTest, EncodeThenDecodeKeepsThePicture) {
    struct Case {
        const char16_t* mime;
        PixelFormat format;
        bool colourPalette;
        PixelFormat decodedFormat;
        int tolerance;  // Largest channel difference allowed; 0: exact.
    };
    const Case cases[] = {
        {u"image/bmp", PixelFormat8bppIndexed, true, PixelFormat8bppIndexed, 0},
        {u"image/bmp", PixelFormat8bppIndexed, false, PixelFormat8bppIndexed, 0},
        {u"image/bmp", PixelFormat16bppRGB555, false, PixelFormat16bppRGB555, 0},
        {u"image/bmp", PixelFormat16bppRGB565, false, PixelFormat16bppRGB565, 0},
        {u"image/bmp", PixelFormat24bppRGB, false, PixelFormat24bppRGB, 0},
        {u"image/bmp", PixelFormat32bppRGB, false, PixelFormat32bppRGB, 0},
        {u"image/tiff", PixelFormat8bppIndexed, true, PixelFormat8bppIndexed, 0},
        {u"image/tiff", PixelFormat8bppIndexed, false, PixelFormat8bppIndexed, 0},
        {u"image/tiff", PixelFormat16bppRGB555, false, PixelFormat24bppRGB, 0},
        {u"image/tiff", PixelFormat16bppRGB565, false, PixelFormat24bppRGB, 0},
        {u"image/tiff", PixelFormat24bppRGB, false, PixelFormat24bppRGB, 0},
        {u"image/tiff", PixelFormat32bppRGB, false, PixelFormat24bppRGB, 0},
        {u"image/png", PixelFormat8bppIndexed, true, PixelFormat8bppIndexed, 0},
        {u"image/png", PixelFormat8bppIndexed, false, PixelFormat8bppIndexed, 0},
        {u"image/png", PixelFormat16bppRGB555, false, PixelFormat24bppRGB, 0},
        {u"image/png", PixelFormat16bppRGB565, false, PixelFormat24bppRGB, 0},
        {u"image/png", PixelFormat24bppRGB, false, PixelFormat24bppRGB, 0},
        {u"image/png", PixelFormat32bppRGB, false, PixelFormat24bppRGB, 0},
        {u"image/jpeg", PixelFormat8bppIndexed, false, PixelFormat8bppIndexed, 2},
        {u"image/jpeg", PixelFormat8bppIndexed, true, PixelFormat24bppRGB, 4},
        {u"image/jpeg", PixelFormat16bppRGB565, false, PixelFormat24bppRGB, 4},
        {u"image/jpeg", PixelFormat24bppRGB, false, PixelFormat24bppRGB, 4},
        {u"image/jpeg", PixelFormat32bppRGB, false, PixelFormat24bppRGB, 4},
    };
    ULONG quality = 100;
    EncoderParameters best;
    best.Count = 1;
    best.Parameter[0] = {EncoderQuality, 1, EncoderParameterValueTypeLong, &quality};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << QString::fromUtf16(c.mime).toStdString() << " format "
                                        << c.format << (c.colourPalette ? " colour" : ""));
        const bool jpeg = c.tolerance > 0;
        auto original = Fixture(c.format, c.colourPalette, Content::Smooth);
        ASSERT_NE(original, nullptr);
        const QString path = WorkPath("picture");
        const CodecId clsid = Encoder(c.mime);
        ASSERT_EQ(original->Save(path, &clsid, jpeg ? &best : nullptr), Ok);
        Status status = GenericError;
        auto decoded = Bitmap::FromFile(path, &status);
        ASSERT_EQ(status, Ok);
        ASSERT_NE(decoded, nullptr);
        EXPECT_EQ(decoded->GetWidth(), original->GetWidth());
        EXPECT_EQ(decoded->GetHeight(), original->GetHeight());
        EXPECT_EQ(decoded->GetPixelFormat(), c.decodedFormat);
        const std::vector<BYTE> before = Colours(*original);
        const std::vector<BYTE> after = Colours(*decoded);
        ASSERT_EQ(after.size(), before.size());
        EXPECT_LE(MaxDifference(before, after), c.tolerance);
        if (c.tolerance == 0) {
            // The decoded picture read back in the original format is the original, bit for bit.
            auto same = decoded->Clone(Rect{0, 0, 13, 7}, c.format);
            ASSERT_NE(same, nullptr);
            EXPECT_EQ(Raw(*same), Raw(*original));
        }
        if (c.decodedFormat == PixelFormat8bppIndexed && !jpeg) {
            ColorPalette written;
            ColorPalette read;
            original->GetPalette(&written);
            decoded->GetPalette(&read);
            EXPECT_EQ(read.Count, written.Count);
            EXPECT_TRUE(std::equal(read.Entries, read.Entries + read.Count, written.Entries));
            EXPECT_EQ(read.Flags, written.Flags);
        }
    }
}

TEST_F(ImageCodecsTest, JpegQualityParameterTradesSizeForFidelity) {
    auto picture = Fixture(PixelFormat24bppRGB, false, Content::Noise);
    const auto encodeAt = [&](ULONG quality) {
        EncoderParameters params;
        params.Count = 1;
        params.Parameter[0] = {EncoderQuality, 1, EncoderParameterValueTypeLong, &quality};
        return Encode(*picture, u"image/jpeg", &params);
    };
    const QByteArray low = encodeAt(10);
    const QByteArray high = encodeAt(100);
    EXPECT_LT(low.size(), high.size());
    Status status;
    auto lowPicture = Decode(low, &status);
    ASSERT_NE(lowPicture, nullptr);
    auto highPicture = Decode(high, &status);
    ASSERT_NE(highPicture, nullptr);
    EXPECT_GT(MaxDifference(Colours(*lowPicture), Colours(*picture)),
              MaxDifference(Colours(*highPicture), Colours(*picture)));
    EXPECT_LE(MaxDifference(Colours(*highPicture), Colours(*picture)), 4)
        << "even noise survives quality 100 closely";
}

TEST_F(ImageCodecsTest, BmpWriterLaysOutEveryFieldLittleEndian) {
    struct Case {
        const char* what;
        PixelFormat format;
        int width;
        std::vector<BYTE> pixels;  // One row.
        UINT paletteCount;
        QByteArray expected;
    };
    const Case cases[] = {
        {"24-bit, one padded row",
         PixelFormat24bppRGB,
         2,
         {1, 2, 3, 4, 5, 6},
         0,
         Bytes({'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,                     //
                40,  0,   0,  0, 2, 0, 0, 0, 1, 0, 0,  0, 1, 0, 24, 0, 0, 0, 0, 0,  //
                8,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,  //
                1,   2,   3,  4, 5, 6, 0, 0})},
        {"565 with its channel masks",
         PixelFormat16bppRGB565,
         1,
         {0x1F, 0xF8},
         0,
         Bytes({'B',  'M',  70, 0, 0,    0,    0, 0, 0,    0, 66, 0, 0, 0,                     //
                40,   0,    0,  0, 1,    0,    0, 0, 1,    0, 0,  0, 1, 0, 16, 0, 3, 0, 0, 0,  //
                4,    0,    0,  0, 0,    0,    0, 0, 0,    0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0,  //
                0,    0xF8, 0,  0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0,  0,                           //
                0x1F, 0xF8, 0,  0})},
        {"indexed, palette widened to the largest pixel value",
         PixelFormat8bppIndexed,
         3,
         {0, 2, 1},
         2,
         Bytes({'B', 'M', 70, 0, 0,  0,  0,  0, 0, 0, 66, 0, 0, 0,                    //
                40,  0,   0,  0, 3,  0,  0,  0, 1, 0, 0,  0, 1, 0, 8, 0, 0, 0, 0, 0,  //
                4,   0,   0,  0, 0,  0,  0,  0, 0, 0, 0,  0, 3, 0, 0, 0, 0, 0, 0, 0,  //
                30,  20,  10, 0, 60, 50, 40, 0, 0, 0, 0,  0,                          //
                0,   2,   1,  0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bitmap bitmap(c.width, 1, static_cast<int>(c.pixels.size()), c.format, c.pixels.data());
        if (c.paletteCount) {
            ColorPalette palette;
            palette.Count = c.paletteCount;
            palette.Entries[0] = MakeARGB(0xFF, 10, 20, 30);
            palette.Entries[1] = MakeARGB(0xFF, 40, 50, 60);
            bitmap.SetPalette(&palette);
        }
        EXPECT_EQ(Encode(bitmap, u"image/bmp").toHex(' '), c.expected.toHex(' '));
    }
}

TEST_F(ImageCodecsTest, TopDownBmpIsReadUpright) {
    const BYTE rows[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    Bitmap bitmap(1, 4, 3, PixelFormat24bppRGB, rows);
    QByteArray bytes = Encode(bitmap, u"image/bmp");
    // Same rows, now declared top-down: the first stored row is the top one.
    Patch32(&bytes, 22, static_cast<uint32_t>(-4));
    Status status;
    auto decoded = Decode(bytes, &status);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(Raw(*decoded), (std::vector<BYTE>{10, 11, 12, 7, 8, 9, 4, 5, 6, 1, 2, 3}));
}

TEST_F(ImageCodecsTest, DamagedBmpIsRefusedWithoutReadingPastItsBytes) {
    const BYTE pixels[] = {0, 1, 1, 1, 0, 1};
    Bitmap bitmap(3, 2, 3, PixelFormat8bppIndexed, pixels);
    ColorPalette palette;
    palette.Count = 2;
    bitmap.SetPalette(&palette);
    const QByteArray valid = Encode(bitmap, u"image/bmp");
    ASSERT_EQ(valid.size(), 14 + 40 + 8 + 8);

    struct Case {
        const char* what;
        int offset;  // Field to overwrite.
        int bytes;   // 2 or 4.
        uint32_t value;
    };
    const Case cases[] = {
        {"pixel offset past the end", 10, 4, 71},
        {"pixel offset at the top of the range", 10, 4, 0xFFFFFFFF},
        {"pixel offset inside the palette", 10, 4, 60},
        {"pixel offset inside the header", 10, 4, 20},
        {"info header size 0", 14, 4, 0},
        {"info header size of the old 12-byte form", 14, 4, 12},
        {"info header size 39", 14, 4, 39},
        {"info header size longer than the file", 14, 4, 124},
        {"info header size huge", 14, 4, 0xFFFFFFFF},
        {"width 0", 18, 4, 0},
        {"negative width", 18, 4, static_cast<uint32_t>(-3)},
        {"huge width", 18, 4, 0x7FFFFFFF},
        {"height 0", 22, 4, 0},
        {"height INT32_MIN", 22, 4, 0x80000000},
        {"huge height", 22, 4, 0x7FFFFFFF},
        {"huge top-down height", 22, 4, static_cast<uint32_t>(-0x7FFFFFFF)},
        {"one row too many", 22, 4, 3},
        {"two planes", 26, 2, 2},
        {"1 bit per pixel", 28, 2, 1},
        {"4 bits per pixel", 28, 2, 4},
        {"7 bits per pixel", 28, 2, 7},
        {"24 bits with too few bytes", 28, 2, 24},
        {"64 bits per pixel", 28, 2, 64},
        {"run-length compression", 30, 4, 1},
        {"channel masks on 8 bits", 30, 4, 3},
        {"unknown compression", 30, 4, 99},
        {"257 colours", 46, 4, 257},
        {"colour count at the top of the range", 46, 4, 0xFFFFFFFF},
        {"palette running into the pixels", 46, 4, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray damaged = valid;
        if (c.bytes == 2)
            Patch16(&damaged, c.offset, static_cast<uint16_t>(c.value));
        else
            Patch32(&damaged, c.offset, c.value);
        Status status = Ok;
        EXPECT_EQ(Decode(damaged, &status), nullptr);
        EXPECT_EQ(status, UnknownImageFormat);
    }

    for (int length = 0; length < valid.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "cut to " << length << " bytes");
        Status status = Ok;
        EXPECT_EQ(Decode(valid.left(length), &status), nullptr);
        EXPECT_NE(status, Ok);
    }

    Status status;
    ASSERT_NE(Decode(valid, &status), nullptr) << "the undamaged file reads";
}

TEST_F(ImageCodecsTest, HugeSizeInASmallCompressedFileIsRefusedBeforeAllocating) {
    auto picture = Fixture(PixelFormat24bppRGB, false, Content::Smooth);

    // A JPEG frame header (marker FF C0) holds height and width, big-endian, after its length
    // and precision.
    QByteArray jpeg = Encode(*picture, u"image/jpeg");
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(frame, 0);
    for (qsizetype at : {frame + 5, frame + 7}) {
        jpeg[at] = static_cast<char>(0x4E);
        jpeg[at + 1] = static_cast<char>(0x20);  // 20000: 1.2 GB of pixels, within a bitmap's limit
    }

    // A little-endian TIFF directory: a count, then 12-byte entries of tag, type, count, value.
    QByteArray tiff = Encode(*picture, u"image/tiff");
    const auto* t = reinterpret_cast<const BYTE*>(tiff.constData());
    const uint32_t directory = t[4] | t[5] << 8 | t[6] << 16 | uint32_t{t[7]} << 24;
    const int entries = t[directory] | t[directory + 1] << 8;
    int patched = 0;
    for (int i = 0; i < entries; ++i) {
        const int entry = static_cast<int>(directory) + 2 + 12 * i;
        const int tag = t[entry] | t[entry + 1] << 8;
        if (tag == 256 || tag == 257) {  // Image width and length.
            Patch16(&tiff, entry + 8, 20000);
            ++patched;
        }
    }
    ASSERT_EQ(patched, 2);

    for (const QByteArray& bytes : {jpeg, tiff}) {
        const long before = PeakResidentKb();
        Status status = Ok;
        EXPECT_EQ(Decode(bytes, &status), nullptr);
        EXPECT_EQ(status, UnknownImageFormat);
        EXPECT_LT(PeakResidentKb() - before, 100 * 1024) << "no pixel memory was touched";
    }
}

TEST_F(ImageCodecsTest, RandomlyDamagedFilesNeverCrashTheDecoders) {
    // Every decoder gets its own format's bytes with a few bytes changed or the tail cut off;
    // whatever it returns must be a consistent bitmap (the sanitizers watch the reads).
    std::mt19937 random(7);
    for (const char16_t* mime : {u"image/bmp", u"image/tiff", u"image/jpeg", u"image/png"}) {
        for (PixelFormat format : {PixelFormat8bppIndexed, PixelFormat24bppRGB}) {
            SCOPED_TRACE(testing::Message()
                         << QString::fromUtf16(mime).toStdString() << " " << format);
            auto picture = Fixture(format, true, Content::Noise);
            const QByteArray valid = Encode(*picture, mime);
            ASSERT_GT(valid.size(), 16);
            for (int round = 0; round < 150; ++round) {
                QByteArray damaged = valid;
                if (round % 3 == 0) {
                    damaged.truncate(static_cast<qsizetype>(random() % valid.size()));
                } else {
                    const int changes = 1 + static_cast<int>(random() % 4);
                    for (int i = 0; i < changes; ++i)
                        damaged[static_cast<qsizetype>(random() % valid.size())] =
                            static_cast<char>(random());
                }
                Status status = Ok;
                auto decoded = Decode(damaged, &status);
                EXPECT_EQ(decoded == nullptr, status != Ok);
                if (decoded) {
                    EXPECT_GT(decoded->GetWidth(), 0u);
                    EXPECT_EQ(Colours(*decoded).size(),
                              size_t{decoded->GetWidth()} * decoded->GetHeight() * 3);
                }
            }
        }
    }
}

TEST_F(ImageCodecsTest, SaveRefusesWhatNoEncoderTakes) {
    Bitmap bitmap(4, 4, PixelFormat24bppRGB);
    const QString path = WorkPath("refused.bmp");
    WriteAll(path, "kept");
    const CodecId bmp = Encoder(u"image/bmp");
    const CodecId jpeg = Encoder(u"image/jpeg");
    const CodecId unknown{1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};

    ULONG quality = 50;
    ULONG tooHigh = 101;
    const auto one = [](const CodecId& guid, ULONG type, ULONG values, void* value) {
        EncoderParameters params;
        params.Count = 1;
        params.Parameter[0] = {guid, values, type, value};
        return params;
    };
    const EncoderParameters qualityParam =
        one(EncoderQuality, EncoderParameterValueTypeLong, 1, &quality);
    const EncoderParameters overQuality =
        one(EncoderQuality, EncoderParameterValueTypeLong, 1, &tooHigh);
    const EncoderParameters wrongType = one(EncoderQuality, 5, 1, &quality);
    const EncoderParameters twoValues =
        one(EncoderQuality, EncoderParameterValueTypeLong, 2, &quality);
    const EncoderParameters noValue =
        one(EncoderQuality, EncoderParameterValueTypeLong, 1, nullptr);
    const EncoderParameters otherParam = one(bmp, EncoderParameterValueTypeLong, 1, &quality);
    EncoderParameters twoParams = qualityParam;
    twoParams.Count = 2;

    struct Case {
        const char* what;
        const CodecId* clsid;
        const EncoderParameters* params;
    };
    const Case cases[] = {
        {"no encoder", nullptr, nullptr},
        {"unknown encoder", &unknown, nullptr},
        {"quality for BMP", &bmp, &qualityParam},
        {"quality above 100", &jpeg, &overQuality},
        {"quality not a long", &jpeg, &wrongType},
        {"two quality values", &jpeg, &twoValues},
        {"quality without a value", &jpeg, &noValue},
        {"unknown parameter", &jpeg, &otherParam},
        {"two parameters", &jpeg, &twoParams},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(bitmap.Save(path, c.clsid, c.params), InvalidParameter);
        EXPECT_EQ(ReadAll(path), "kept");
    }

    BitmapData data;
    ASSERT_EQ(bitmap.LockBits(nullptr, ImageLockModeRead, PixelFormat24bppRGB, &data), Ok);
    EXPECT_EQ(bitmap.Save(path, &bmp), WrongState);
    bitmap.UnlockBits(&data);
    EXPECT_EQ(ReadAll(path), "kept");

    EXPECT_EQ(bitmap.Save(WorkPath("no such folder/x.bmp"), &bmp), Win32Error);
    EXPECT_EQ(bitmap.GetLastStatus(), Win32Error);

    EXPECT_EQ(bitmap.Save(path, &jpeg, &qualityParam), Ok);
    EXPECT_TRUE(ReadAll(path).startsWith("\xFF\xD8\xFF"));
    // The file is written beside its name and renamed: nothing half-written stays behind.
    const QFileInfo saved(path);
    EXPECT_EQ(saved.dir().entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden),
              QStringList());
}

TEST_F(ImageCodecsTest, FromFileReportsWhyNothingWasRead) {
    Status status = Ok;
    EXPECT_EQ(Bitmap::FromFile(WorkPath("missing.bmp"), &status), nullptr);
    EXPECT_EQ(status, FileNotFound);

    WriteAll(WorkPath("text.bmp"), "hello, this is not a picture");
    EXPECT_EQ(Bitmap::FromFile(WorkPath("text.bmp"), &status), nullptr);
    EXPECT_EQ(status, UnknownImageFormat);

    WriteAll(WorkPath("empty.png"), "");
    EXPECT_EQ(Bitmap::FromFile(WorkPath("empty.png"), &status), nullptr);
    EXPECT_EQ(status, UnknownImageFormat);

    // The content decides, not the name.
    Bitmap bitmap(2, 2, PixelFormat24bppRGB);
    const CodecId png = Encoder(u"image/png");
    ASSERT_EQ(bitmap.Save(WorkPath("really-a-png.bmp"), &png), Ok);
    auto decoded = Bitmap::FromFile(WorkPath("really-a-png.bmp"), &status);
    EXPECT_NE(decoded, nullptr);
    EXPECT_EQ(status, Ok);
}
