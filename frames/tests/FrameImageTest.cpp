#include "frames/Dib.h"
#include "frames/FrameImage.h"
#include "platform/com/ComVariant.h"
#include "platform/com/MemorySettingsStore.h"
#include "platform/framework/DC.h"
#include "platform/media/AviFile.h"
#include "platform/media/AviStreamBase.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/media/tests/TestAviWriter.h"
#include "testsupport/IsolatedTest.h"

#include <QImage>
#include <QPainter>

#include <cstring>
#include <set>
#include <vector>

using namespace imaging;

namespace {

// A stream whose frames are 8-bit, grey-valued by frame number, with a width per frame and an
// optional colour table.
class TableStream : public CAviStreamBase {
public:
    TableStream(std::vector<int> widths, int height, std::vector<RGBQUAD> table)
        : m_widths(std::move(widths)), m_height(height), m_table(std::move(table)) {}
    HRESULT Create(LPARAM, LPARAM) override { return AVIERR_OK; }
    HRESULT Info(AviStreamInfo* info, LONG) override {
        *info = {};
        info->length = static_cast<DWORD>(m_widths.size());
        return AVIERR_OK;
    }
    HRESULT ReadFormat(LONG n, void* format, LONG* size) override {
        const LONG needed = 40 + 4 * static_cast<LONG>(m_table.size());
        if (!format || *size == 0) {
            *size = needed;
            return AVIERR_OK;
        }
        BITMAPINFOHEADER h;
        h.biWidth = m_widths[n];
        h.biHeight = m_height;
        h.biBitCount = 8;
        h.biClrUsed = static_cast<DWORD>(m_table.size());
        std::memcpy(format, &h, sizeof h);
        if (!m_table.empty())
            std::memcpy(static_cast<BYTE*>(format) + 40, m_table.data(), 4 * m_table.size());
        return AVIERR_OK;
    }
    HRESULT Read(LONG n, LONG, void* buffer, LONG bufferSize, LONG* bytesRead, LONG*) override {
        const LONG bytes = static_cast<LONG>(DibRowBytes(m_widths[n], 8)) * m_height;
        *bytesRead = bytes;
        if (buffer && bufferSize)
            std::memset(buffer, n, static_cast<size_t>(bytes));
        ++m_reads;
        return AVIERR_OK;
    }
    int m_reads = 0;

private:
    std::vector<int> m_widths;
    int m_height;
    std::vector<RGBQUAD> m_table;
};

BYTE IndexAt(CFrameImage& image, int x, int y) {
    BitmapData data;
    EXPECT_TRUE(image.LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &data));
    const BYTE value = static_cast<const BYTE*>(data.Scan0)[y * data.Stride + x];
    image.UnlockBits(&data);
    return value;
}

class FrameImageTest : public IsolatedTest {
protected:
    void TearDown() override {
        CFrameImage::SetSettingsStoreProvider(nullptr);
        IsolatedTest::TearDown();
    }
};

TEST_F(FrameImageTest, FillsUprightFramesClampedToTheStream) {
    const TestAviLayout layout{TestAviKind::RawBgr24, 1001, 6, 5, 0};
    const QString path = WorkPath("wide.avi");
    ASSERT_TRUE(WriteTestAvi(path, layout));
    PAVIFILE file = nullptr;
    IAVIStream* stream = nullptr;
    ASSERT_EQ(AVIFileOpen(&file, path, OF_READ, nullptr), AVIERR_OK);
    ASSERT_EQ(AVIFileGetStream(file, &stream, streamtypeVIDEO, 0), AVIERR_OK);
    struct Case {
        LONG asked;
        int shown;
    };
    for (const Case c : {Case{-3, 0}, Case{2, 2}, Case{99, 4}}) {
        CFrameImage image;
        ASSERT_EQ(image.FillFromStream(stream, c.asked, true), 1);
        EXPECT_EQ(image.GetWidth(), 1001u);  // the frame's own width, not its padded stride
        EXPECT_EQ(image.GetHeight(), 6u);
        const QImage q = image.GetBitmap()->AsQImage();
        for (const QPoint at : {QPoint(0, 0), QPoint(1000, 5), QPoint(500, 2)}) {
            BYTE want[3];
            TestAviPixel(layout, c.shown, at.x(), at.y(), want);
            EXPECT_EQ(q.pixel(at), qRgb(want[2], want[1], want[0])) << c.asked << " " << at.x();
        }
    }
    AVIStreamRelease(stream);
    AVIFileRelease(file);
}

TEST_F(FrameImageTest, PaletteAndSizeCheck) {
    const std::vector<RGBQUAD> table = {{1, 2, 3, 0}, {10, 20, 30, 0}, {0, 0, 200, 0}};
    auto* coloured = new TableStream({1001, 1001, 1001}, 4, table);
    auto* plain = new TableStream({7, 7, 9}, 4, {});
    coloured->AddRef();
    plain->AddRef();

    CFrameImage image;
    ASSERT_EQ(image.FillFromStream(coloured, 2, true), 1);
    EXPECT_EQ(image.GetWidth(), 1001u);
    EXPECT_EQ(IndexAt(image, 1000, 3), 2);
    EXPECT_EQ(image.GetPalette().Entries[2], 0xFFC80000u);
    EXPECT_EQ(image.GetPalette().Entries[1], 0xFF1E140Au);
    EXPECT_EQ(image.GetPalette().Entries[3], 0xFF030303u);  // beyond the table: grey stays

    // Frames without colours keep the palette from before.
    ASSERT_EQ(image.FillFromStream(plain, 1, true), 1);
    EXPECT_EQ(image.GetWidth(), 7u);
    EXPECT_EQ(image.GetPalette().Entries[2], 0xFFC80000u);
    CFrameImage fresh;
    ASSERT_EQ(fresh.FillFromStream(plain, 0, true), 1);
    EXPECT_EQ(fresh.GetPalette().Entries[2], 0xFF020202u);

    // Frame 2 is wider than frame 0: refused with the size check, read without it.
    const int readsBefore = plain->m_reads;
    EXPECT_EQ(image.FillFromStream(plain, 2, true), 0);
    EXPECT_EQ(plain->m_reads, readsBefore);
    EXPECT_EQ(image.GetWidth(), 7u);
    EXPECT_EQ(IndexAt(image, 0, 0), 1);
    EXPECT_EQ(image.FillFromStream(plain, 2, false), 1);
    EXPECT_EQ(image.GetWidth(), 9u);

    EXPECT_EQ(image.FillFromStream(nullptr, 0, true), 0);
    EXPECT_EQ(image.GetWidth(), 9u);
    coloured->Release();
    plain->Release();
}

TEST_F(FrameImageTest, FillFromDibInEitherRowOrder) {
    // Two rows, top row 1 2 3, bottom row 4 5 6, stored bottom-up.
    const BYTE rows[] = {4, 5, 6, 1, 2, 3};
    CDib dib;
    ASSERT_TRUE(dib.Create(rows, 3, 2, 8));
    CFrameImage image;
    ASSERT_TRUE(image.FillFromDib(&dib));
    EXPECT_EQ(image.GetWidth(), 3u);
    EXPECT_EQ(IndexAt(image, 0, 0), 1);
    EXPECT_EQ(IndexAt(image, 2, 1), 6);

    CDib colour;
    const BYTE bgr[] = {10, 20, 30, 40, 50, 60};
    ASSERT_TRUE(colour.Create24(bgr, 1, 2));
    ASSERT_TRUE(image.FillFromDib(&colour));
    EXPECT_EQ(image.GetBitmap()->GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_EQ(image.GetBitmap()->AsQImage().pixel(0, 1), qRgb(30, 20, 10));

    EXPECT_FALSE(image.FillFromDib(nullptr));
    CDib empty;
    EXPECT_FALSE(image.FillFromDib(&empty));
    EXPECT_EQ(image.GetWidth(), 1u);
}

TEST_F(FrameImageTest, CreateCopyAndCut) {
    CFrameImage image;
    struct Bad {
        int width, height;
        PixelFormat format;
    };
    for (const Bad b : {Bad{0, 5, PixelFormat8bppIndexed}, Bad{5, -1, PixelFormat24bppRGB},
                        Bad{5, 5, PixelFormat32bppRGB}, Bad{5, 5, PixelFormat16bppRGB565}})
        EXPECT_FALSE(image.Create(b.width, b.height, b.format, false)) << b.width << b.format;
    EXPECT_EQ(image.GetWidth(), 1u);

    ASSERT_TRUE(image.Create(300, 100, PixelFormat8bppIndexed, false));
    const Bitmap* first = image.GetBitmap();
    ASSERT_TRUE(image.Create(300, 100, PixelFormat8bppIndexed, false));
    EXPECT_EQ(image.GetBitmap(), first);
    // Same byte count, other shape: a new bitmap of the asked size.
    ASSERT_TRUE(image.Create(100, 300, PixelFormat8bppIndexed, false));
    EXPECT_EQ(image.GetWidth(), 100u);
    EXPECT_EQ(image.GetHeight(), 300u);
    ASSERT_TRUE(image.Create(0, 0, 0, true));
    EXPECT_TRUE(image.IsValid());

    CFrameImage copy;
    EXPECT_EQ(copy.CopyFrom(image), 1);
    EXPECT_EQ(copy.GetWidth(), 100u);
    EXPECT_NE(copy.GetBitmap(), image.GetBitmap());

    CFrameImage cut;
    EXPECT_FALSE(cut.CopySubImage(&image, 90, 0, 20, 10));  // outside the bitmap
    EXPECT_FALSE(cut.IsValid());
    EXPECT_EQ(copy.CopyFrom(cut), 0);  // nothing to copy: reported, copy unchanged
    EXPECT_EQ(copy.GetWidth(), 100u);
    EXPECT_FALSE(cut.CopySubImage(static_cast<const CFrameImage*>(nullptr), 0, 0, 1, 1));
    EXPECT_TRUE(cut.CopySubImage(&image, 10, 20, 30, 40));
    EXPECT_EQ(cut.GetWidth(), 30u);
    EXPECT_EQ(cut.GetHeight(), 40u);
    EXPECT_TRUE(cut.CopySubImage(image.GetBitmap(), 0, 0, 5, 6));
    EXPECT_EQ(cut.GetHeight(), 6u);
    EXPECT_TRUE(cut.RotateFlip(Rotate90FlipNone));
    EXPECT_EQ(cut.GetWidth(), 6u);
}

TEST_F(FrameImageTest, DrawSmoothsOnlyWhenTheSettingAsks) {
    CFrameImage image;
    ASSERT_TRUE(image.Create(2, 2, PixelFormat8bppIndexed, false));
    BitmapData data;
    ASSERT_TRUE(image.LockBits(nullptr, ImageLockModeWrite, PixelFormat8bppIndexed, &data));
    auto* p = static_cast<BYTE*>(data.Scan0);
    p[0] = 255;
    p[1] = 0;
    p[data.Stride] = 0;
    p[data.Stride + 1] = 255;
    ASSERT_TRUE(image.UnlockBits(&data));

    CMemorySettingsStore store;
    auto levels = [&](const VARIANT* mode) {
        if (mode) {
            store.SetSetting("Video:ZoomMode", *mode, -1);
            CFrameImage::SetSettingsStoreProvider([&store] { return &store; });
        } else {
            CFrameImage::SetSettingsStoreProvider(nullptr);
        }
        QImage target(16, 16, QImage::Format_RGB32);
        target.fill(Qt::blue);
        CDC dc(&target);
        image.Draw(&dc, 0, 0, 16, 16);
        image.Draw(nullptr, 0, 0, 16, 16);
        dc.DeleteDC();
        std::set<int> seen;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                seen.insert(qGreen(target.pixel(x, y)));
        return seen;
    };
    const std::set<int> crisp = {0, 255};
    EXPECT_EQ(levels(nullptr), crisp);
    CComVariant seven(LONG{7});
    EXPECT_EQ(levels(&seven), crisp);
    CComVariant none(LONG{0});
    EXPECT_EQ(levels(&none), crisp);
    for (LONG mode : {1, 2, 3, 4}) {
        CComVariant smooth(mode);
        EXPECT_GT(levels(&smooth).size(), 2u) << mode;
    }
}

// Unsmoothed drawing must show the very pixels the painter's own scaling shows, whatever the
// sizes, offsets and painter translation, including rectangles reaching past the target.
TEST_F(FrameImageTest, UnsmoothedDrawMatchesThePaintersScaling) {
    struct Case {
        int sourceWidth, sourceHeight;
        QRect to;
        QPoint translate;
    };
    const Case cases[] = {
        {1024, 1024, {100, 0, 440, 440}, {0, 0}},
        {1024, 1024, {0, 0, 640, 440}, {0, 0}},
        {1024, 768, {3, 5, 633, 431}, {0, 0}},
        {640, 480, {0, 0, 640, 480}, {0, 0}},
        {7, 5, {1, 2, 300, 211}, {0, 0}},
        {333, 97, {-50, -20, 999, 300}, {0, 0}},
        {1000, 999, {0, 0, 7, 9}, {0, 0}},
        {257, 301, {10, 10, 500, 601}, {7, 11}},
        {3, 3, {0, 0, 2600, 20}, {0, 0}},
        {2500, 4, {-3, 0, 2999, 17}, {-2, 1}},
        {1024, 1024, {200, 150, 1536, 1536}, {0, 0}},
        {1, 1, {5, 5, 20, 20}, {0, 0}},
        {20, 600, {0, 0, 640, 19}, {0, 0}},
        {1024, 1024, {9, 4, 200, 201}, {0, 0}},
        {4000, 60, {3, 1, 333, 50}, {0, 0}},
        // Widths just past a multiple of eight, and an enlarged frame's right edge.
        {1024, 1024, {0, 0, 449, 441}, {0, 0}},
        {40, 30, {2, 1, 13, 9}, {0, 0}},
        {24, 10, {0, 0, 46, 20}, {0, 0}},
    };
    std::set<QRgb> colours;
    for (const Case& c : cases) {
        CFrameImage image;
        ASSERT_TRUE(image.Create(c.sourceWidth, c.sourceHeight, PixelFormat8bppIndexed, false));
        BitmapData data;
        ASSERT_TRUE(image.LockBits(nullptr, ImageLockModeWrite, PixelFormat8bppIndexed, &data));
        for (int y = 0; y < c.sourceHeight; ++y)
            for (int x = 0; x < c.sourceWidth; ++x)
                static_cast<BYTE*>(data.Scan0)[y * data.Stride + x] =
                    static_cast<BYTE>(x * 7 + y * 13 + (x * y) % 11);
        ASSERT_TRUE(image.UnlockBits(&data));

        QImage expected(640, 480, QImage::Format_RGB32);
        expected.fill(Qt::blue);
        QImage drawn = expected.copy();
        {
            QPainter painter(&expected);
            painter.translate(c.translate);
            painter.drawImage(c.to, image.GetBitmap()->AsQImage());
        }
        CDC dc(&drawn);
        dc.GetPainter()->translate(c.translate);
        image.Draw(&dc, c.to.x(), c.to.y(), c.to.width(), c.to.height());
        dc.DeleteDC();
        for (int y = 0; y < expected.height(); y += 7)
            colours.insert(expected.pixel(y, y));
        EXPECT_TRUE(drawn == expected)
            << c.sourceWidth << "x" << c.sourceHeight << " into " << c.to.x() << "," << c.to.y()
            << " " << c.to.width() << "x" << c.to.height();
    }
    EXPECT_GT(colours.size(), 32u);
}

// A palette whose channels all differ keeps every colour byte in its place, at the reductions
// and enlargements a video window uses and with the frame's right edge in view.
TEST_F(FrameImageTest, UnsmoothedDrawKeepsTheColoursOfThePalette) {
    const QRect targets[] = {{0, 0, 444, 444}, {-37, 3, 700, 700}, {5, 0, 2100, 300}};
    for (const QRect& to : targets) {
        CFrameImage image;
        ASSERT_TRUE(image.Create(1024, 1021, PixelFormat8bppIndexed, false));
        BitmapData data;
        ASSERT_TRUE(image.LockBits(nullptr, ImageLockModeWrite, PixelFormat8bppIndexed, &data));
        for (int y = 0; y < 1021; ++y)
            for (int x = 0; x < 1024; ++x)
                static_cast<BYTE*>(data.Scan0)[y * data.Stride + x] =
                    static_cast<BYTE>(x * 5 + y * 3 + (x * y) % 7);
        ASSERT_TRUE(image.UnlockBits(&data));
        ColorPalette palette;
        palette.Count = 256;
        for (int i = 0; i < 256; ++i)
            palette.Entries[i] = MakeARGB(255, static_cast<BYTE>(i), static_cast<BYTE>(255 - i),
                                          static_cast<BYTE>(i * 37));
        ASSERT_EQ(image.GetBitmap()->SetPalette(&palette), Ok);

        QImage expected(640, 480, QImage::Format_RGB32);
        expected.fill(Qt::blue);
        QImage drawn = expected.copy();
        {
            QPainter painter(&expected);
            painter.drawImage(to, image.GetBitmap()->AsQImage());
        }
        CDC dc(&drawn);
        image.Draw(&dc, to.x(), to.y(), to.width(), to.height());
        dc.DeleteDC();
        EXPECT_TRUE(drawn == expected) << to.x() << "," << to.y() << " " << to.width();
    }
}

// Frame after frame drawn into one place: a change of palette or of the frame's width between
// two drawings shows at once, and a palette with a translucent colour is drawn as the painter
// draws it.
TEST_F(FrameImageTest, UnsmoothedDrawFollowsChangesOfPaletteAndWidth) {
    enum Palette { kGrey, kColoured, kTranslucent };
    struct Step {
        int width;
        Palette palette;
    };
    const Step steps[] = {{1024, kGrey}, {1024, kColoured}, {1024, kGrey},       {1000, kGrey},
                          {1021, kGrey}, {1024, kGrey},     {1024, kTranslucent}};
    const QRect to(100, 0, 444, 444);
    for (const Step& step : steps) {
        CFrameImage image;
        ASSERT_TRUE(image.Create(step.width, 1024, PixelFormat8bppIndexed, false));
        BitmapData data;
        ASSERT_TRUE(image.LockBits(nullptr, ImageLockModeWrite, PixelFormat8bppIndexed, &data));
        for (int y = 0; y < 1024; ++y)
            for (int x = 0; x < step.width; ++x)
                static_cast<BYTE*>(data.Scan0)[y * data.Stride + x] =
                    static_cast<BYTE>(x * 3 + y * 7 + (x * y) % 5);
        ASSERT_TRUE(image.UnlockBits(&data));
        ColorPalette palette;
        palette.Count = 256;
        for (int i = 0; i < 256; ++i) {
            const auto v = static_cast<BYTE>(i);
            palette.Entries[i] =
                step.palette == kColoured
                    ? MakeARGB(255, v, static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 37))
                    : MakeARGB(step.palette == kTranslucent && i == 17 ? 128 : 255, v, v, v);
        }
        ASSERT_EQ(image.GetBitmap()->SetPalette(&palette), Ok);

        QImage expected(640, 480, QImage::Format_RGB32);
        expected.fill(Qt::blue);
        QImage drawn = expected.copy();
        {
            QPainter painter(&expected);
            painter.drawImage(to, image.GetBitmap()->AsQImage());
        }
        CDC dc(&drawn);
        image.Draw(&dc, to.x(), to.y(), to.width(), to.height());
        dc.DeleteDC();
        EXPECT_TRUE(drawn == expected) << step.width << " palette " << step.palette;
    }
}

TEST(FrameImageFunctionsTest, PixelFormatBytesAndEncoders) {
    struct Case {
        PixelFormat format;
        HRESULT result;
        int bytes;
    };
    const Case cases[] = {
        {PixelFormat8bppIndexed, S_OK, 1}, {PixelFormat16bppRGB555, S_OK, 2},
        {PixelFormat16bppRGB565, S_OK, 2}, {PixelFormat24bppRGB, S_OK, 3},
        {PixelFormat32bppRGB, S_OK, 4},    {PixelFormat32bppARGB, E_INVALIDARG, -7},
    };
    for (const Case& c : cases) {
        int bytes = -7;
        EXPECT_EQ(GetPixelFormatBytes(c.format, &bytes), c.result);
        EXPECT_EQ(bytes, c.bytes);
    }
    CodecId bmp;
    CodecId png;
    EXPECT_GE(GetEncoderClsid(u"image/bmp", &bmp), 0);
    EXPECT_GE(GetEncoderClsid(u"image/png", &png), 0);
    EXPECT_NE(bmp, png);
    CodecId untouched;
    for (const char16_t* mime : {u"image/PNG", u"image/gif", u""})
        EXPECT_EQ(GetEncoderClsid(mime, &untouched), -1);
    EXPECT_EQ(untouched, CodecId{});
}

}  // namespace
