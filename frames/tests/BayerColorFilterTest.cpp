#include "frames/BayerColorFilter.h"
#include "frames/ColorCoefficientFile.h"
#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/media/tests/TestAviWriter.h"
#include "platform/wintypes/BitmapInfo.h"
#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// An 8-bit mono stream of one frame with rows padded to four bytes; tells when it is deleted.
class MonoStream : public CAviStreamBase {
public:
    MonoStream(int width, int height, std::vector<BYTE> rows, bool* deleted)
        : m_width(width), m_height(height), m_rows(std::move(rows)), m_deleted(deleted) {
        m_refCount = 1;
    }
    HRESULT Create(LPARAM, LPARAM) override { return AVIERR_OK; }
    HRESULT Info(AviStreamInfo* info, LONG) override {
        *info = {};
        info->length = 1;
        return AVIERR_OK;
    }
    HRESULT ReadFormat(LONG, void* format, LONG* size) override {
        const LONG needed = kBitmapInfoHeaderBytes + 4 * 256;
        if (!format || *size == 0) {
            *size = needed;
            return AVIERR_OK;
        }
        std::vector<BYTE> out(static_cast<size_t>(needed));
        BITMAPINFOHEADER header;
        header.biWidth = m_width;
        header.biHeight = m_height;
        header.biBitCount = 8;
        header.biClrUsed = 256;
        std::memcpy(out.data(), &header, sizeof header);
        std::memcpy(format, out.data(), std::min<size_t>(out.size(), static_cast<size_t>(*size)));
        return AVIERR_OK;
    }
    HRESULT Read(LONG, LONG, void* buffer, LONG size, LONG* bytes, LONG*) override {
        if (bytes)
            *bytes = static_cast<LONG>(m_rows.size());
        if (buffer && size >= static_cast<LONG>(m_rows.size()))
            std::memcpy(buffer, m_rows.data(), m_rows.size());
        return AVIERR_OK;
    }

private:
    ~MonoStream() override { *m_deleted = true; }
    int m_width;
    int m_height;
    std::vector<BYTE> m_rows;
    bool* m_deleted;
};

// The mosaic with sample value v(x, y) = 10 * y + x + 1, rows padded.
std::vector<BYTE> Mosaic(int width, int height) {
    const auto stride = static_cast<int>(DibRowBytes(width, 8));
    std::vector<BYTE> rows(static_cast<size_t>(stride) * height, 0xEE);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[static_cast<size_t>(y) * stride + x] = static_cast<BYTE>(10 * y + x + 1);
    return rows;
}

const float kIdentity[3][3] = {{128, 0, 0}, {0, 128, 0}, {0, 0, 128}};

struct Filtered {
    std::vector<BYTE> rgb;
    int stride;
};

Filtered ReadThrough(IAVIStream* filter, int width, int height) {
    Filtered out;
    out.stride = static_cast<int>(DibRowBytes(width, 24));
    out.rgb.assign(static_cast<size_t>(out.stride) * height, 0);
    LONG bytes = 0;
    EXPECT_EQ(AVIStreamRead(filter, 0, 1, out.rgb.data(), static_cast<LONG>(out.rgb.size()), &bytes,
                            nullptr),
              AVIERR_OK);
    EXPECT_EQ(bytes, static_cast<LONG>(out.rgb.size()));
    return out;
}

// Each site takes its red, green and blue from the neighbours of its table; beyond the last
// column or row the neighbour before is taken, in frames too small to have one the pixel itself.
TEST(BayerColorFilterTest, SitesTakeTheirNeighbours) {
    struct Case {
        int width, height, x, y;
        int r, g, b;  // the samples' positions as 10 * y + x
    };
    const Case cases[] = {
        {3, 3, 0, 0, 11, 1, 0},   {3, 3, 1, 0, 11, 1, 2}, {3, 3, 0, 1, 11, 10, 20},
        {3, 3, 1, 1, 11, 12, 22}, {3, 3, 2, 0, 11, 1, 2}, {3, 3, 2, 2, 11, 21, 22},
        {5, 2, 4, 1, 13, 14, 4},  {1, 1, 0, 0, 0, 0, 0},  {2, 1, 1, 0, 1, 1, 0},
        {1, 3, 0, 2, 10, 20, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.width << "x" << c.height << " at " << c.x << "," << c.y);
        bool deleted = false;
        auto* inner = new MonoStream(c.width, c.height, Mosaic(c.width, c.height), &deleted);
        IAVIStream* filter = CreateBayerColorFilter(inner, c.width, c.height, kIdentity[0],
                                                    kIdentity[1], kIdentity[2]);
        AVIStreamRelease(inner);
        ASSERT_NE(filter, nullptr);
        const Filtered out = ReadThrough(filter, c.width, c.height);
        const BYTE* pixel = out.rgb.data() + c.y * out.stride + 3 * c.x;
        EXPECT_EQ(pixel[2], c.r + 1);
        EXPECT_EQ(pixel[1], c.g + 1);
        EXPECT_EQ(pixel[0], c.b + 1);
        EXPECT_FALSE(deleted);
        AVIStreamRelease(filter);
        EXPECT_TRUE(deleted);
    }
}

TEST(BayerColorFilterTest, DefaultMatrixClampsAndRoundsDown) {
    bool deleted = false;
    const int w = 6, h = 4;
    std::vector<BYTE> grey(DibRowBytes(w, 8) * h, 128);
    auto* inner = new MonoStream(w, h, grey, &deleted);
    IAVIStream* filter = CreateBayerColorFilter(inner, w, h, nullptr, nullptr, nullptr);
    AVIStreamRelease(inner);
    Filtered out = ReadThrough(filter, w, h);
    EXPECT_EQ(out.rgb[2], 191);
    EXPECT_EQ(out.rgb[1], 166);
    EXPECT_EQ(out.rgb[0], 255);

    // -0.5 after the shift rounds down to -1 and clamps to 0; a huge weight stays in range.
    auto* bayer = AsBayerColorFilter(filter);
    ASSERT_NE(bayer, nullptr);
    const float r[3] = {-0.5f, 0, 0};
    const float g[3] = {1e30f, 0, 0};
    const float b[3] = {1, 0, 0};  // 128 / 128 = 1
    bayer->SetCoefficients(r, g, b);
    EXPECT_TRUE(bayer->IsSettingsChanged());
    out = ReadThrough(filter, w, h);
    EXPECT_EQ(out.rgb[2], 0);
    EXPECT_EQ(out.rgb[1], 255);
    EXPECT_EQ(out.rgb[0], 1);
    float got[3][3];
    bayer->GetCoefficients(got[0], got[1], got[2], 1);
    EXPECT_EQ(got[0][0], 281);
    bayer->GetCoefficients(got[0], got[1], got[2], 0);
    EXPECT_EQ(got[0][0], -0.5f);

    int means[3] = {};
    EXPECT_TRUE(bayer->RegionMeans(CRect(5, 3, -10, -10), means));  // corners in any order
    EXPECT_EQ(means[0], 1);
    EXPECT_EQ(means[2], 0);
    EXPECT_FALSE(bayer->RegionMeans(CRect(10, 10, 20, 20), means));
    AVIStreamRelease(filter);
}

TEST(BayerColorFilterTest, FormatsAndBuffers) {
    bool deleted = false;
    const int w = 5, h = 3;
    auto* inner = new MonoStream(w, h, Mosaic(w, h), &deleted);
    IAVIStream* filter = CreateBayerColorFilter(inner, w, h, nullptr, nullptr, nullptr);
    AVIStreamRelease(inner);
    LONG size = 0;
    ASSERT_EQ(AVIStreamReadFormat(filter, 0, nullptr, &size), AVIERR_OK);
    EXPECT_EQ(size, 40);
    BITMAPINFOHEADER header;
    size = 20;
    EXPECT_EQ(AVIStreamReadFormat(filter, 0, &header, &size), AVIERR_BUFFERTOOSMALL);
    size = sizeof header;
    ASSERT_EQ(AVIStreamReadFormat(filter, 0, &header, &size), AVIERR_OK);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biClrUsed, 0u);
    EXPECT_EQ(header.biSizeImage, 16u * 3);
    std::vector<BYTE> small(47);
    LONG bytes = 0;
    EXPECT_EQ(AVIStreamRead(filter, 0, 1, small.data(), 47, &bytes, nullptr),
              AVIERR_BUFFERTOOSMALL);

    // Switched off, the mosaic's own format and pixels come through.
    AsBayerColorFilter(filter)->SetActive(false);
    EXPECT_TRUE(AsBayerColorFilter(filter)->IsSettingsChanged());
    size = 0;
    ASSERT_EQ(AVIStreamReadFormat(filter, 0, nullptr, &size), AVIERR_OK);
    EXPECT_EQ(size, 40 + 1024);
    EXPECT_EQ(AVIStreamRead(filter, 0, 1, nullptr, 0, &bytes, nullptr), AVIERR_OK);
    EXPECT_EQ(bytes, 8 * 3);
    AVIStreamRelease(filter);

    QString name;
    float r[3], g[3], b[3];
    EXPECT_EQ(GetBayerPreset(1, &name, r, g, b), 1);
    EXPECT_EQ(name, "Daylight");
    EXPECT_EQ(r[0], 473);
    EXPECT_EQ(b[2], 402);
    EXPECT_EQ(GetBayerPreset(0, &name, r, g, b), 1);
    EXPECT_EQ(name, "Factory Preset (Tungsten)");
    EXPECT_EQ(GetBayerPreset(2, nullptr, r, g, b), 0);
    EXPECT_EQ(GetBayerPreset(-1, nullptr, r, g, b), 0);
}

class ColorCoefficientFileTest : public IsolatedTest {};

TEST_F(ColorCoefficientFileTest, GoldenBytesAndWhatIsRefused) {
    ColorCoefficients rows;
    const float values[9] = {1.0f, -0.5f, 2.0f, 0.25f, 0, -1.0f, 3.0f, 4.0f, 0.125f};
    std::memcpy(rows.rows, values, sizeof values);
    const QString path = WorkPath("take.clr");
    ASSERT_TRUE(WriteColorCoefficients(path, rows));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    const QByteArray golden = QByteArray("CLRFILEv.1\0", 11) + QByteArray::fromHex(
                                                                   "0000803f000000bf00000040"
                                                                   "0000803e00000000000080bf"
                                                                   "0000404000008040"
                                                                   "0000003e");
    EXPECT_EQ(bytes, golden);
    EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files), QStringList{"take.clr"});

    ColorCoefficients read;
    ASSERT_TRUE(ReadColorCoefficients(path, &read));
    EXPECT_EQ(std::memcmp(read.rows, values, sizeof values), 0);

    const float nan = std::numeric_limits<float>::quiet_NaN();
    QByteArray notFinite = golden;
    std::memcpy(notFinite.data() + 11 + 4 * 4, &nan, 4);
    QByteArray noNul = golden;
    noNul[10] = 'x';
    const std::pair<const char*, QByteArray> refused[] = {
        {"short", golden.left(46)},
        {"no NUL after the magic", noNul},
        {"other magic", QByteArray("CLRFILEv.2\0", 11) + golden.mid(11)},
        {"not finite", notFinite},
        {"empty", QByteArray()},
    };
    for (const auto& [name, content] : refused) {
        QFile bad(WorkPath("bad.clr"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bad.write(content);
        bad.close();
        ColorCoefficients untouched = read;
        EXPECT_FALSE(ReadColorCoefficients(WorkPath("bad.clr"), &untouched)) << name;
        EXPECT_EQ(std::memcmp(untouched.rows, values, sizeof values), 0) << name;
    }
    EXPECT_FALSE(ReadColorCoefficients(WorkPath("none.clr"), &read));
    EXPECT_FALSE(WriteColorCoefficients(WorkPath("no/such/folder/x.clr"), rows));
}

// A mono recording titled RAW... shows in colour with the coefficients of its ".clr" file;
// new coefficients show on the next read of the same frame, and switched off the mosaic shows.
TEST_F(ColorCoefficientFileTest, BayerRecordingsThroughTheFrameSource) {
    ASSERT_TRUE(WriteTestAvi(WorkPath("RAW0001_2.avi"), {TestAviKind::RawPal8, 8, 6, 3, 0}));
    ColorCoefficients identity;
    std::memcpy(identity.rows, kIdentity, sizeof kIdentity);
    ASSERT_TRUE(WriteColorCoefficients(WorkPath("RAW0001_2.clr"), identity));
    CFrameSource source;
    ASSERT_EQ(source.Open(WorkPath("RAW0001_2.avi")), 1);
    EXPECT_EQ(source.IsBayerColor(), 1);
    EXPECT_EQ(source.IsColor(), 1);
    CBayerColorFilter* filter = source.GetColourFilter();
    ASSERT_NE(filter, nullptr);
    float r[3], g[3], b[3];
    filter->GetCoefficients(r, g, b, 1);
    EXPECT_EQ(r[0], 128);
    EXPECT_EQ(r[1], 0);

    CFrameImage before;
    ASSERT_EQ(source.GetFrame(1, &before, 0), 1);
    EXPECT_EQ(before.GetBitmap()->GetPixelFormat(), imaging::PixelFormat24bppRGB);
    const float zero[3] = {0, 0, 0};
    filter->SetCoefficients(zero, g, b);
    CFrameImage after;
    ASSERT_EQ(source.GetFrame(1, &after, 0), 1);
    EXPECT_FALSE(filter->IsSettingsChanged());
    const QImage a = before.GetBitmap()->AsQImage();
    const QImage c = after.GetBitmap()->AsQImage();
    int reds = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(qRed(c.pixel(x, y)), 0);
            EXPECT_EQ(qGreen(c.pixel(x, y)), qGreen(a.pixel(x, y)));
            reds += qRed(a.pixel(x, y)) != 0;
        }
    EXPECT_GT(reds, 0);

    filter->SetActive(false);
    CFrameImage mosaic;
    ASSERT_EQ(source.GetFrame(1, &mosaic, 0), 1);
    EXPECT_EQ(mosaic.GetBitmap()->GetPixelFormat(), imaging::PixelFormat8bppIndexed);
}

}  // namespace
