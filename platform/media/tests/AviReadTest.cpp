#include "platform/media/AviFile.h"
#include "platform/media/AviGetFrame.h"
#include "platform/media/AviStreamBase.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/media/OpenFileRegistry.h"
#include "platform/media/tests/TestAviWriter.h"
#include "testsupport/IsolatedTest.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes PackedBytes(const void* dib) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(dib);
    const size_t size = header->biSize + 4 * header->biClrUsed + header->biSizeImage;
    const auto* p = static_cast<const BYTE*>(dib);
    return Bytes(p, p + size);
}

// Blue, green, red of pixel (x, y) from the top of a packed bitmap.
void PixelAt(const Bytes& dib, int x, int y, BYTE bgr[3]) {
    BITMAPINFOHEADER h;
    std::memcpy(&h, dib.data(), sizeof h);
    const int height = std::abs(h.biHeight);
    const int row = h.biHeight > 0 ? height - 1 - y : y;
    const BYTE* bits = dib.data() + h.biSize + 4 * h.biClrUsed;
    const BYTE* p = bits + row * DibRowBytes(h.biWidth, h.biBitCount) + x * (h.biBitCount / 8);
    if (h.biBitCount == 8)
        p = dib.data() + h.biSize + 4 * p[0];
    std::memcpy(bgr, p, 3);
}

struct Opened {
    PAVIFILE file = nullptr;
    IAVIStream* stream = nullptr;
    ~Opened() {
        AVIStreamRelease(stream);
        AVIFileRelease(file);
    }
};

// Every frame's packed bitmap, read in the given order.
std::vector<Bytes> ReadFrames(const QString& path, const std::vector<int>& order, int count) {
    Opened o;
    EXPECT_EQ(AVIFileOpen(&o.file, path, OF_READ | OF_SHARE_DENY_NONE, nullptr), AVIERR_OK);
    EXPECT_EQ(AVIFileGetStream(o.file, &o.stream, streamtypeVIDEO, 0), AVIERR_OK);
    std::vector<Bytes> frames(count);
    if (!o.stream)
        return frames;
    PGETFRAME reader = AVIStreamGetFrameOpen(o.stream, nullptr);
    EXPECT_NE(reader, nullptr);
    for (int n : order) {
        void* dib = AVIStreamGetFrame(reader, n);
        EXPECT_NE(dib, nullptr) << "frame " << n;
        if (dib)
            frames[n] = PackedBytes(dib);
    }
    AVIStreamGetFrameClose(reader);
    return frames;
}

class AviReadTest : public IsolatedTest {};

TEST_F(AviReadTest, EveryCodecReadsTheSameFramesInAnyOrderUpright) {
    struct Case {
        const char* name;
        TestAviLayout layout;
        int bits;
        int maxMeanError;  // per channel, against the picture written
    };
    const Case cases[] = {
        {"bgr24", {TestAviKind::RawBgr24, 33, 21, 24, 0}, 24, 0},
        {"pal8", {TestAviKind::RawPal8, 33, 21, 24, 0}, 8, 0},
        {"mjpeg", {TestAviKind::Mjpeg, 64, 48, 24, 0}, 24, 6},
        {"ffv1", {TestAviKind::Ffv1, 31, 17, 24, 0}, 24, 0},
        {"mpeg4", {TestAviKind::Mpeg4, 64, 48, 24, 10}, 24, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = WorkPath(QString("%1.avi").arg(c.name));
        ASSERT_TRUE(WriteTestAvi(path, c.layout));
        const int count = c.layout.frames;
        std::vector<int> inOrder;
        for (int n = 0; n < count; ++n)
            inOrder.push_back(n);
        // Backwards, across key frames, repeats and jumps inside one group of pictures.
        const std::vector<int> scattered = {23, 5, 17, 0, 12, 11, 9,  10, 19, 3,  22, 1,
                                            2,  4, 6,  7, 8,  13, 14, 15, 16, 18, 20, 21};
        const auto sequential = ReadFrames(path, inOrder, count);
        const auto random = ReadFrames(path, scattered, count);
        for (int n = 0; n < count; ++n) {
            ASSERT_FALSE(sequential[n].empty()) << n;
            EXPECT_EQ(sequential[n], random[n]) << "frame " << n;
        }
        for (int n : {0, 9, 10, 23}) {
            const Bytes& dib = sequential[n];
            BITMAPINFOHEADER h;
            std::memcpy(&h, dib.data(), sizeof h);
            EXPECT_EQ(h.biBitCount, c.bits);
            EXPECT_EQ(h.biWidth, c.layout.width);
            EXPECT_EQ(std::abs(h.biHeight), c.layout.height);
            EXPECT_EQ(dib.size(), h.biSize + 4 * h.biClrUsed +
                                      DibRowBytes(h.biWidth, h.biBitCount) * c.layout.height);
            long error = 0;
            long flippedError = 0;
            for (int y = 0; y < c.layout.height; ++y)
                for (int x = 0; x < c.layout.width; ++x) {
                    BYTE got[3];
                    BYTE want[3];
                    BYTE flipped[3];
                    PixelAt(dib, x, y, got);
                    if (c.layout.kind == TestAviKind::RawPal8) {
                        TestAviPaletteColour(TestAviIndex(n, x, y), want);
                        TestAviPaletteColour(TestAviIndex(n, x, c.layout.height - 1 - y), flipped);
                    } else {
                        TestAviPixel(c.layout, n, x, y, want);
                        TestAviPixel(c.layout, n, x, c.layout.height - 1 - y, flipped);
                    }
                    for (int k = 0; k < 3; ++k) {
                        error += std::abs(got[k] - want[k]);
                        flippedError += std::abs(got[k] - flipped[k]);
                    }
                }
            const long samples = 3L * c.layout.width * c.layout.height;
            EXPECT_LE(error, c.maxMeanError * samples) << "frame " << n;
            EXPECT_GT(flippedError, error + samples) << "frame " << n << " is upside down";
        }
    }
}

// Decoded pictures pass through the scaler, whose vector code writes beyond the rows it is
// given; the bytes after a frame read into a buffer of exactly its size stay untouched.
TEST_F(AviReadTest, DecodedFramesWriteNothingPastTheirRows) {
    for (const TestAviKind kind : {TestAviKind::Mjpeg, TestAviKind::Mpeg4}) {
        for (const int width : {2, 9, 30}) {
            SCOPED_TRACE(width);
            const QString path = WorkPath(QString("w%1.avi").arg(width));
            ASSERT_TRUE(WriteTestAvi(path, {kind, width, 2, 2, 0}));
            Opened o;
            ASSERT_EQ(AVIFileOpen(&o.file, path, OF_READ | OF_SHARE_DENY_NONE, nullptr), AVIERR_OK);
            ASSERT_EQ(AVIFileGetStream(o.file, &o.stream, streamtypeVIDEO, 0), AVIERR_OK);
            const LONG frameBytes = DibRowBytes(width, 24) * 2;
            constexpr size_t kGuard = 256;
            Bytes buffer(static_cast<size_t>(frameBytes) + kGuard, 0xA5);
            LONG read = 0;
            ASSERT_EQ(AVIStreamRead(o.stream, 1, 1, buffer.data(), frameBytes, &read, nullptr),
                      AVIERR_OK);
            EXPECT_EQ(read, frameBytes);
            EXPECT_EQ(std::count(buffer.begin() + frameBytes, buffer.end(), 0xA5),
                      static_cast<ptrdiff_t>(kGuard));
        }
    }
}

// Decoded frames after the first may be scaled straight into a caller's rows: every frame read
// there, in a buffer of exactly its rows, matches the same frame read packed and leaves the
// bytes after its rows alone, for widths whose rows the scaler overruns and ones it does not.
TEST_F(AviReadTest, DecodedFramesReadIntoCallerRowsMatchThePackedOnes) {
    constexpr int kHeight = 6;
    constexpr int kFrames = 4;
    constexpr size_t kGuard = 256;
    for (const TestAviKind kind : {TestAviKind::Mjpeg, TestAviKind::Mpeg4}) {
        for (const int width : {9, 16, 30, 48, 64, 80, 160}) {
            SCOPED_TRACE(width);
            const QString path = WorkPath(QString("rows%1.avi").arg(width));
            ASSERT_TRUE(WriteTestAvi(path, {kind, width, kHeight, kFrames, 0}));
            std::vector<int> order(kFrames);
            for (int n = 0; n < kFrames; ++n)
                order[static_cast<size_t>(n)] = n;
            const std::vector<Bytes> packed = ReadFrames(path, order, kFrames);

            Opened o;
            ASSERT_EQ(AVIFileOpen(&o.file, path, OF_READ | OF_SHARE_DENY_NONE, nullptr), AVIERR_OK);
            ASSERT_EQ(AVIFileGetStream(o.file, &o.stream, streamtypeVIDEO, 0), AVIERR_OK);
            CAviGetFrame reader(o.stream);
            const auto stride = static_cast<ptrdiff_t>(DibRowBytes(width, 24));
            const size_t rowBytes = static_cast<size_t>(stride) * kHeight;
            // Aligned as a bitmap's pixels are, so that the scaler may write there directly.
            std::vector<DWORD> words((rowBytes + kGuard) / 4 + 16);
            BYTE* rows = reinterpret_cast<BYTE*>(words.data());
            rows += (64 - reinterpret_cast<uintptr_t>(rows) % 64) % 64;
            for (int n = 0; n < kFrames; ++n) {
                std::fill(rows, rows + rowBytes + kGuard, BYTE{0xA5});
                const BITMAPINFOHEADER* header =
                    reader.GetFrame(n, [&](const BITMAPINFOHEADER&, ptrdiff_t* s) {
                        *s = stride;
                        return rows;
                    });
                ASSERT_NE(header, nullptr) << "frame " << n;
                const Bytes& want = packed[static_cast<size_t>(n)];
                ASSERT_EQ(want.size(), header->biSize + 4 * header->biClrUsed + rowBytes);
                EXPECT_TRUE(std::equal(rows, rows + rowBytes, want.end() - rowBytes))
                    << "frame " << n;
                EXPECT_EQ(std::count(rows + rowBytes, rows + rowBytes + kGuard, BYTE{0xA5}),
                          static_cast<ptrdiff_t>(kGuard))
                    << "frame " << n;
            }
        }
    }
}

TEST_F(AviReadTest, PaletteSurvivesRandomAccess) {
    const QString path = WorkPath("pal.avi");
    ASSERT_TRUE(WriteTestAvi(path, {TestAviKind::RawPal8, 20, 10, 12, 0}));
    // Jump to a late frame first: the colour table still comes from the file.
    const auto frames = ReadFrames(path, {11, 4}, 12);
    for (int n : {11, 4}) {
        BITMAPINFOHEADER h;
        std::memcpy(&h, frames[n].data(), sizeof h);
        ASSERT_EQ(h.biClrUsed, 256u);
        for (int i : {0, 1, 77, 255}) {
            BYTE want[3];
            TestAviPaletteColour(i, want);
            EXPECT_EQ(std::memcmp(frames[n].data() + h.biSize + 4 * i, want, 3), 0) << i;
        }
    }
}

TEST_F(AviReadTest, KeyFramesAndInformationOfACompressedStream) {
    const QString path = WorkPath("gop.avi");
    ASSERT_TRUE(WriteTestAvi(path, {TestAviKind::Mpeg4, 32, 32, 25, 10}));
    Opened o;
    ASSERT_EQ(AVIFileOpen(&o.file, path, OF_READ, nullptr), AVIERR_OK);
    ASSERT_EQ(AVIFileGetStream(o.file, &o.stream, streamtypeVIDEO, 0), AVIERR_OK);
    AviStreamInfo info;
    ASSERT_EQ(AVIStreamInfo(o.stream, &info, sizeof info), AVIERR_OK);
    EXPECT_EQ(info.fccType, streamtypeVIDEO);
    EXPECT_EQ(info.length, 25u);
    EXPECT_EQ(info.rate / info.scale, 25u);
    EXPECT_EQ(info.frame, CRect(0, 0, 32, 32));
    EXPECT_EQ(AVIStreamFindSample(o.stream, 15, FIND_PREV | FIND_KEY), 10);
    EXPECT_EQ(AVIStreamFindSample(o.stream, 11, FIND_NEXT | FIND_KEY), 20);
    EXPECT_EQ(AVIStreamFindSample(o.stream, 21, FIND_NEXT | FIND_KEY), -1);
    IAVIStream* second = nullptr;
    EXPECT_EQ(AVIFileGetStream(o.file, &second, streamtypeVIDEO, 1), AVIERR_NODATA);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(AVIFileGetStream(o.file, &second, MakeFourCC('a', 'u', 'd', 's'), 0), AVIERR_NODATA);
    LONG bytes = 0;
    EXPECT_EQ(AVIStreamRead(o.stream, 25, 1, nullptr, 0, &bytes, nullptr), AVIERR_BADPARAM);
}

TEST_F(AviReadTest, MissingAndDamagedFilesFailCleanly) {
    const QString garbage = WorkPath("garbage.avi");
    QFile g(garbage);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    QByteArray noise(5000, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919) ^ (i >> 3));
    g.write(noise);
    g.close();

    const QString truncated = WorkPath("truncated.avi");
    ASSERT_TRUE(WriteTestAvi(truncated, {TestAviKind::RawBgr24, 16, 16, 4, 0}));
    QFile t(truncated);
    ASSERT_TRUE(t.open(QIODevice::ReadWrite));
    t.resize(200);
    t.close();

    struct Case {
        QString path;
        HRESULT expected;
    };
    const Case cases[] = {
        {WorkPath("missing.avi"), AVIERR_FILEOPEN},
        {garbage, AVIERR_BADFORMAT},
        {truncated, AVIERR_BADFORMAT},
    };
    for (const Case& c : cases) {
        PAVIFILE file = reinterpret_cast<PAVIFILE>(0x1);
        EXPECT_EQ(AVIFileOpen(&file, c.path, OF_READ, nullptr), c.expected) << c.path.toStdString();
        EXPECT_EQ(file, nullptr);
        EXPECT_FALSE(COpenFileRegistry::IsOpen(c.path));
    }
    EXPECT_EQ(AVIFileGetStream(nullptr, nullptr, streamtypeVIDEO, 0), AVIERR_BADPARAM);
    EXPECT_EQ(AVIStreamGetFrameOpen(nullptr, nullptr), nullptr);
    EXPECT_EQ(AVIStreamGetFrame(nullptr, 0), nullptr);
    EXPECT_EQ(AVIStreamGetFrameClose(nullptr), AVIERR_BADHANDLE);
}

// Cuts the file in the middle of its last frame's data, as a recording stopped short does: the
// chunk index at the end goes with it.
bool CutIntoLastFrame(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const QByteArray data = file.readAll();
    const qsizetype index = data.lastIndexOf("idx1");
    qsizetype last = -1;
    for (const char* tag : {"00dc", "00db"})
        last = std::max(last, data.lastIndexOf(tag, index < 0 ? -1 : index));
    if (last < 0 || last + 8 > data.size())
        return false;
    quint32 size = 0;
    std::memcpy(&size, data.constData() + last + 4, 4);
    return size >= 2 && file.resize(last + 8 + size / 2);
}

TEST_F(AviReadTest, AnIncompleteLastFrameIsAFailedReadNotTheFrameBefore) {
    const TestAviLayout layouts[] = {
        {TestAviKind::RawBgr24, 16, 12, 6, 0}, {TestAviKind::RawPal8, 16, 12, 6, 0},
        {TestAviKind::Mjpeg, 32, 24, 6, 0},    {TestAviKind::Ffv1, 16, 12, 6, 0},
        {TestAviKind::Mpeg4, 32, 24, 6, 3},
    };
    for (const TestAviLayout& layout : layouts) {
        SCOPED_TRACE(static_cast<int>(layout.kind));
        const QString path = WorkPath(QString("cut%1.avi").arg(static_cast<int>(layout.kind)));
        ASSERT_TRUE(WriteTestAvi(path, layout));
        ASSERT_TRUE(CutIntoLastFrame(path));
        Opened o;
        ASSERT_EQ(AVIFileOpen(&o.file, path, OF_READ | OF_SHARE_DENY_NONE, nullptr), AVIERR_OK);
        ASSERT_EQ(AVIFileGetStream(o.file, &o.stream, streamtypeVIDEO, 0), AVIERR_OK);
        const LONG length = AVIStreamLength(o.stream);
        EXPECT_GE(length, layout.frames - 1);
        PGETFRAME reader = AVIStreamGetFrameOpen(o.stream, nullptr);
        ASSERT_NE(reader, nullptr);
        // In order, so a decoder keeps its last picture at hand, then straight to the end.
        for (int n = 0; n + 1 < layout.frames; ++n)
            EXPECT_NE(AVIStreamGetFrame(reader, n), nullptr) << "frame " << n;
        EXPECT_EQ(AVIStreamGetFrame(reader, layout.frames - 1), nullptr);
        EXPECT_NE(AVIStreamGetFrame(reader, 0), nullptr);
        EXPECT_EQ(AVIStreamGetFrame(reader, layout.frames - 1), nullptr);
        AVIStreamGetFrameClose(reader);
    }
}

// Whether another process asking for the file exclusively would be refused: a lock taken
// through an open file of its own conflicts with ours as another process's would.
bool LockedElsewhere(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool refused = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return refused;
}

// A held file is known by what it is, not by how it is spelt: a hard link to it or a path
// through a symbolic link is held too; a copy, or the file's replacement after the reader let
// go, is not.
TEST_F(AviReadTest, AHeldFileIsHeldUnderEveryNameOfIt) {
    const QString path = WorkPath("take.avi");
    ASSERT_TRUE(WriteTestAvi(path, {TestAviKind::RawBgr24, 8, 8, 2, 0}));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(),
                     QFile::encodeName(WorkPath("hard.avi")).constData()),
              0);
    ASSERT_TRUE(QFile::link(path, WorkPath("soft.avi")));
    ASSERT_TRUE(QFile::copy(path, WorkPath("copy.avi")));
    struct Case {
        const char* name;
        bool held;
    };
    const Case cases[] = {
        {"take.avi", true},  {"hard.avi", true},  {"soft.avi", true},
        {"copy.avi", false}, {"none.avi", false},
    };
    {
        COpenFileEntry entry(path);
        for (const Case& c : cases)
            EXPECT_EQ(COpenFileRegistry::IsOpen(WorkPath(c.name)), c.held) << c.name;
    }
    for (const Case& c : cases)
        EXPECT_FALSE(COpenFileRegistry::IsOpen(WorkPath(c.name))) << c.name;
}

TEST_F(AviReadTest, FilesStayRegisteredAndLockedWhileAReaderHoldsThem) {
    const QString path = WorkPath("held.avi");
    ASSERT_TRUE(WriteTestAvi(path, {TestAviKind::RawBgr24, 8, 8, 2, 0}));
    EXPECT_FALSE(LockedElsewhere(path));
    PAVIFILE file = nullptr;
    ASSERT_EQ(AVIFileOpen(&file, path, OF_READ, nullptr), AVIERR_OK);
    EXPECT_TRUE(COpenFileRegistry::IsOpen(path));
    EXPECT_TRUE(LockedElsewhere(path));
    IAVIStream* stream = nullptr;
    ASSERT_EQ(AVIFileGetStream(file, &stream, streamtypeVIDEO, 0), AVIERR_OK);
    AVIFileRelease(file);
    EXPECT_TRUE(COpenFileRegistry::IsOpen(WorkDir() + "/./held.avi"));  // the stream holds it
    EXPECT_TRUE(LockedElsewhere(path));
    AVIStreamRelease(stream);
    EXPECT_FALSE(COpenFileRegistry::IsOpen(path));
    EXPECT_FALSE(LockedElsewhere(path));
}

// A stream of one frame in any depth, rows as given.
class OneFrame : public CAviStreamBase {
public:
    OneFrame(int width, int height, int bits, Bytes rows, std::vector<RGBQUAD> table)
        : m_width(width),
          m_height(height),
          m_bits(bits),
          m_rows(std::move(rows)),
          m_table(std::move(table)) {}
    HRESULT Create(LPARAM, LPARAM) override { return AVIERR_OK; }
    HRESULT Info(AviStreamInfo*, LONG) override { return AVIERR_UNSUPPORTED; }
    HRESULT ReadFormat(LONG, void* format, LONG* size) override {
        const LONG needed = kBitmapInfoHeaderBytes + 4 * static_cast<LONG>(m_table.size());
        if (!format || *size == 0) {
            *size = needed;
            return AVIERR_OK;
        }
        BITMAPINFOHEADER h;
        h.biWidth = m_width;
        h.biHeight = m_height;
        h.biBitCount = static_cast<WORD>(m_bits);
        h.biClrUsed = static_cast<DWORD>(m_table.size());
        std::memcpy(format, &h, sizeof h);
        if (!m_table.empty())
            std::memcpy(static_cast<BYTE*>(format) + sizeof h, m_table.data(), 4 * m_table.size());
        return AVIERR_OK;
    }
    HRESULT Read(LONG, LONG, void* buffer, LONG bufferSize, LONG* bytesRead, LONG*) override {
        *bytesRead = static_cast<LONG>(m_rows.size());
        if (buffer && bufferSize)
            std::memcpy(buffer, m_rows.data(), m_rows.size());
        return AVIERR_OK;
    }

private:
    int m_width, m_height, m_bits;
    Bytes m_rows;
    std::vector<RGBQUAD> m_table;
};

TEST(AviGetFrameTest, DepthsBelowEightAndGreySixteenBecomeEightBitRows) {
    const std::vector<RGBQUAD> two = {{0, 0, 0, 0}, {10, 20, 30, 0}};
    std::vector<RGBQUAD> sixteen(16);
    for (int i = 0; i < 16; ++i)
        sixteen[i] = {static_cast<BYTE>(i), static_cast<BYTE>(2 * i), 0, 0};
    struct Case {
        const char* name;
        int width, height, bits;
        Bytes rows;
        std::vector<RGBQUAD> table;
        Bytes expectedRows;  // padded to four bytes
        int colours;
    };
    const Case cases[] = {
        {"1-bit, padded rows",
         5,
         2,
         1,
         {0xA8, 0, 0, 0, 0x50, 0, 0, 0},
         two,
         {1, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0},
         2},
        {"4-bit, packed rows",
         3,
         2,
         4,
         {0x12, 0x30, 0xFE, 0xD0},
         sixteen,
         {1, 2, 3, 0, 15, 14, 13, 0},
         16},
        {"16-bit grey, high byte",
         3,
         1,
         16,
         {0x34, 0x12, 0xFF, 0x80, 0x00, 0x01, 0, 0},
         {},
         {0x12, 0x80, 0x01, 0},
         256},
        {"8-bit, packed rows", 3, 2, 8, {1, 2, 3, 4, 5, 6}, sixteen, {1, 2, 3, 0, 4, 5, 6, 0}, 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IAVIStream* stream = new OneFrame(c.width, c.height, c.bits, c.rows, c.table);
        stream->AddRef();
        PGETFRAME reader = AVIStreamGetFrameOpen(stream, nullptr);
        EXPECT_EQ(stream->Release(), 1u);  // the reader holds the other reference
        auto* dib = static_cast<BITMAPINFOHEADER*>(AVIStreamGetFrame(reader, 0));
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(dib->biBitCount, 8);
        EXPECT_EQ(dib->biHeight, c.height);
        ASSERT_EQ(dib->biClrUsed, static_cast<DWORD>(c.colours));
        const auto* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<BYTE*>(dib) + 40);
        if (c.bits == 16)
            EXPECT_EQ(table[200].rgbGreen, 200);
        else
            EXPECT_EQ(table[1].rgbRed, c.table[1].rgbRed);
        const BYTE* bits = reinterpret_cast<BYTE*>(dib) + 40 + 4 * c.colours;
        EXPECT_EQ(Bytes(bits, bits + dib->biSizeImage), c.expectedRows);
        EXPECT_EQ(AVIStreamGetFrameClose(reader), AVIERR_OK);
    }
}

}  // namespace
