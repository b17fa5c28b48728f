#include "frames/FileInUse.h"
#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "frames/ImageSequenceStream.h"
#include "frames/TiffCameraHeader.h"
#include "frames/tests/SequenceFiles.h"
#include "platform/imaging/FrameFiles.h"
#include "platform/media/AviStreamFunctions.h"
#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>

#include <cstdlib>
#include <cstring>
#include <tuple>

namespace {

constexpr int kWidth = 16;
constexpr int kHeight = 12;

struct KindCase {
    SequenceImageKind kind;
    const char* extension;
    int tolerance;  // lossy encoders come close, the others exactly
};

const KindCase kKinds[] = {
    {SequenceImageKind::kBmp8, "bmp", 0},
    {SequenceImageKind::kBmp24, "bmp", 0},
    {SequenceImageKind::kTiffGrey8, "tif", 0},
    {SequenceImageKind::kTiffGrey16, "tif", 0},
    {SequenceImageKind::kTiffGrey16BottomUp, "tif", 0},
    {SequenceImageKind::kTiffRgb8, "tif", 0},
    {SequenceImageKind::kTiffRgb16, "tif", 0},
    {SequenceImageKind::kJpegGrey, "jpg", 3},
    {SequenceImageKind::kJpegColour, "jpg", 8},
};

// The largest difference of any channel between the shown frame and the picture of frame.
int WorstDifference(const CFrameImage& image, SequenceImageKind kind, int frame) {
    const QImage shown = image.GetBitmap()->AsQImage().convertToFormat(QImage::Format_RGB32);
    if (shown.width() != kWidth || shown.height() != kHeight)
        return 1000;
    int worst = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            BYTE bgr[3];
            if (IsGreyKind(kind))
                bgr[0] = bgr[1] = bgr[2] = SequenceLevel(frame, x, y);
            else
                SequenceColour(frame, x, y, bgr);
            const QRgb got = shown.pixel(x, y);
            worst = std::max({worst, std::abs(qBlue(got) - bgr[0]), std::abs(qGreen(got) - bgr[1]),
                              std::abs(qRed(got) - bgr[2])});
        }
    return worst;
}

class ImageSequenceTest : public IsolatedTest {
protected:
    QString Write(const QString& name, SequenceImageKind kind, int frame, int width = kWidth,
                  int height = kHeight) {
        const QString path = WorkPath(name);
        EXPECT_TRUE(WriteSequenceImage(path, kind, width, height, frame)) << name.toStdString();
        return path;
    }
    QString WriteBytes(const QString& name, const QByteArray& bytes) {
        QFile file(WorkPath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
};

// Every kind opens from File/Open's entry point with a gap in its numbers and its extension in
// another case on one file, and every frame shows the picture written, upright.
TEST_F(ImageSequenceTest, EveryKindOpensUprightThroughTheFrameSource) {
    for (const KindCase& c : kKinds) {
        SCOPED_TRACE(testing::Message()
                     << "kind " << static_cast<int>(c.kind) << " " << c.extension);
        QDir(WorkDir()).removeRecursively();
        QDir().mkpath(WorkDir());
        const QString ext = c.extension;
        Write("take0003." + ext, c.kind, 0);
        Write("take0004." + ext.toUpper(), c.kind, 1);
        Write("take0006." + ext, c.kind, 2);  // 0005 is missing
        CFrameSource source;
        ASSERT_EQ(source.Open(WorkPath("take0004." + ext.toUpper())), 1);
        EXPECT_EQ(source.GetKind(), CFrameSource::kSequence);
        EXPECT_EQ(source.GetFrameCount(), 3);
        EXPECT_EQ(source.GetFirstFrameNumber(), -3);
        EXPECT_EQ(source.GetDisplayPath(), "take*." + ext.toUpper());
        EXPECT_EQ(source.IsColor(), IsGreyKind(c.kind) ? 0 : 1);
        int width = 0, height = 0;
        source.GetImageSize(&width, &height);
        EXPECT_EQ(width, kWidth);
        EXPECT_EQ(height, kHeight);
        for (int frame = 2; frame >= 0; --frame) {
            CFrameImage image;
            ASSERT_EQ(source.GetFrame(frame, &image, 0), 1) << frame;
            EXPECT_LE(WorstDifference(image, c.kind, frame), c.tolerance) << frame;
        }
    }
}

// The set is whatever the folder listing holds: no padding is assumed, numbers far apart cost
// nothing, and names of other sets beside it stay out.
TEST_F(ImageSequenceTest, TheSetComesFromOneListingOfTheFolder) {
    struct Case {
        const char* name;
        std::vector<const char*> files;  // the first is opened; frames follow these numbers
        std::vector<int> frameOfFile;    // the picture each frame shows, in frame order
        int firstFrameNumber;
    };
    const Case cases[] = {
        {"widths differ", {"take2.bmp", "take1.bmp", "take100.bmp"}, {1, 0, 2}, -1},
        {"far apart", {"take1.bmp", "take99999999.bmp"}, {0, 1}, -1},
        {"dash goes with the number", {"take-0002.bmp", "take-0001.bmp"}, {1, 0}, -1},
        {"digits only keep the first", {"0001.bmp", "0002.bmp"}, {0, 1}, -1},
        {"other sets stay out",
         {"take01.bmp", "takeX02.bmp", "take_03.bmp", "take02.tif"},
         {0},
         -1},
        {"one file per number", {"take0007.bmp", "take7.bmp", "take08.bmp"}, {0, 2}, -7},
        {"no number", {"still.bmp"}, {0}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(WorkDir()).removeRecursively();
        QDir().mkpath(WorkDir());
        for (size_t i = 0; i < c.files.size(); ++i)
            Write(c.files[i], SequenceImageKind::kBmp8, static_cast<int>(i));
        QElapsedTimer timer;
        timer.start();
        CFrameSource source;
        ASSERT_EQ(source.Open(WorkPath(c.files[0])), 1);
        EXPECT_LT(timer.elapsed(), 5000);
        ASSERT_EQ(source.GetFrameCount(), static_cast<int>(c.frameOfFile.size()));
        EXPECT_EQ(source.GetFirstFrameNumber(), c.firstFrameNumber);
        for (size_t f = 0; f < c.frameOfFile.size(); ++f) {
            CFrameImage image;
            ASSERT_EQ(source.GetFrame(static_cast<int>(f), &image, 0), 1);
            EXPECT_EQ(WorstDifference(image, SequenceImageKind::kBmp8, c.frameOfFile[f]), 0) << f;
        }
    }
}

// Gap-keeping mode: every number is a frame, and a number without a file shows the nearest
// file before it with a stamp over its top left corner.
TEST_F(ImageSequenceTest, GapKeepingModeShowsTheNearestFileStamped) {
    // Wide enough that the stamp leaves the far corner as it was.
    constexpr int kWide = 160;
    constexpr int kTall = 60;
    for (int n = 1; n <= 10; ++n)
        if (n != 5)
            Write(QString("take%1.bmp").arg(n, 4, 10, QChar('0')), SequenceImageKind::kBmp24, n,
                  kWide, kTall);
    IAVIStream* stream = OpenImageSequence(WorkPath("take0001.bmp"), 0, -1, -1, 0);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(AVIStreamLength(stream), 10);
    CFrameImage plain, gap, after;
    ASSERT_EQ(plain.FillFromStream(stream, 3, true), 1);
    ASSERT_EQ(gap.FillFromStream(stream, 4, true), 1);
    ASSERT_EQ(after.FillFromStream(stream, 5, true), 1);
    const QImage a = plain.GetBitmap()->AsQImage().convertToFormat(QImage::Format_RGB32);
    const QImage b = gap.GetBitmap()->AsQImage().convertToFormat(QImage::Format_RGB32);
    const QImage c = after.GetBitmap()->AsQImage().convertToFormat(QImage::Format_RGB32);
    BYTE bgr[3];
    SequenceColour(6, kWide - 1, 0, bgr);
    EXPECT_EQ(c.pixel(kWide - 1, 0), qRgb(bgr[2], bgr[1], bgr[0]));
    SequenceColour(4, kWide - 1, kTall - 1, bgr);
    EXPECT_EQ(a.pixel(kWide - 1, kTall - 1), qRgb(bgr[2], bgr[1], bgr[0]));
    EXPECT_EQ(b.pixel(kWide - 1, kTall - 1), a.pixel(kWide - 1, kTall - 1));
    int stamped = 0;
    for (int y = 0; y < kTall / 4; ++y)
        for (int x = 0; x < kWide / 4; ++x)
            stamped += a.pixel(x, y) != b.pixel(x, y);
    EXPECT_GT(stamped, kWide * kTall / 64);
    LONG bytes = 0;
    EXPECT_EQ(AVIStreamRead(stream, 10, 1, nullptr, 0, &bytes, nullptr), AVIERR_BADPARAM);
    EXPECT_EQ(AVIStreamRead(stream, -1, 1, nullptr, 0, &bytes, nullptr), AVIERR_BADPARAM);
    AVIStreamRelease(stream);

    // A bounded range whose first numbers have no file starts with the next file.
    stream = OpenImageSequence(WorkPath("take0001.bmp"), 0, 5, 7, 0);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(AVIStreamLength(stream), 3);
    EXPECT_EQ(GetImageSequenceFirstNumber(stream), 5);
    CFrameImage first;
    ASSERT_EQ(first.FillFromStream(stream, 1, true), 1);
    EXPECT_EQ(first.GetBitmap()->AsQImage().pixel(kWide - 1, 0), c.pixel(kWide - 1, 0));
    AVIStreamRelease(stream);
}

// Frames not downloaded yet read as the blank pattern without touching a file; a set whose
// frames carry their names shows each file's name over the top left.
TEST_F(ImageSequenceTest, GapsNotDownloadedAndNameStamps) {
    constexpr int kWide = 160;
    constexpr int kTall = 60;
    for (int n : {1, 2, 3, 4, 6})
        Write(QString("take%1.bmp").arg(n, 4, 10, QChar('0')), SequenceImageKind::kBmp24, n, kWide,
              kTall);
    IAVIStream* stream = OpenImageSequence(WorkPath("take0001.bmp"), 0, -1, -1, 0);
    ASSERT_NE(stream, nullptr);
    auto* sequence = dynamic_cast<CImageSequenceStream*>(stream);
    ASSERT_NE(sequence, nullptr);
    sequence->SetNotDownloaded(true);
    // The files on either side of the gap are gone: the gap must not need them.
    ASSERT_TRUE(QFile::remove(WorkPath("take0004.bmp")));
    ASSERT_TRUE(QFile::remove(WorkPath("take0006.bmp")));
    CFrameImage blank;
    ASSERT_EQ(blank.FillFromStream(stream, 4, false), 1);
    const QImage b = blank.GetBitmap()->AsQImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(b.size(), QSize(kWide, kTall));
    const QRgb grey = qRgb(128, 128, 128);
    const QRgb black = qRgb(0, 0, 0);
    const std::tuple<int, int, QRgb> probes[] = {
        {0, 0, grey},
        {kWide / 2 - 1, kTall / 2 - 1, grey},
        {kWide / 2, 0, black},
        {kWide - 1, kTall / 2 - 1, black},
        {0, kTall / 2, black},
        {kWide / 2 - 1, kTall - 1, black},
        {kWide / 2, kTall / 2, grey},
        {kWide - 1, kTall - 1, grey},
    };
    for (const auto& [x, y, colour] : probes)
        EXPECT_EQ(b.pixel(x, y), colour) << x << "," << y;
    // A frame whose file is gone is still an error, not a pattern.
    CFrameImage gone;
    EXPECT_EQ(gone.FillFromStream(stream, 3, false), 0);

    CFrameImage plain, named;
    ASSERT_EQ(plain.FillFromStream(stream, 1, false), 1);
    sequence->SetStampFileName(true);
    ASSERT_EQ(named.FillFromStream(stream, 1, false), 1);
    const QImage p = plain.GetBitmap()->AsQImage().convertToFormat(QImage::Format_RGB32);
    const QImage n = named.GetBitmap()->AsQImage().convertToFormat(QImage::Format_RGB32);
    int stamped = 0;
    for (int y = 0; y < kTall / 4; ++y)
        for (int x = 0; x < kWide / 4; ++x)
            stamped += p.pixel(x, y) != n.pixel(x, y);
    EXPECT_GT(stamped, kWide * kTall / 64);
    EXPECT_EQ(p.pixel(kWide - 1, kTall - 1), n.pixel(kWide - 1, kTall - 1));
    AVIStreamRelease(stream);
}

// BMP rows go from the file straight into the picture: every row lands, padding or not, also
// beyond the rows one read call takes.
TEST_F(ImageSequenceTest, BmpRowsReadStraightMatchTheirFile) {
    const std::tuple<SequenceImageKind, int, int> cases[] = {
        {SequenceImageKind::kBmp8, 13, 600},
        {SequenceImageKind::kBmp24, 13, 300},
        {SequenceImageKind::kBmp8, 16, 3},
    };
    for (const auto& [kind, width, height] : cases) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        QDir(WorkDir()).removeRecursively();
        QDir().mkpath(WorkDir());
        const QString path = Write("rows0001.bmp", kind, 0, width, height);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int bits = kind == SequenceImageKind::kBmp8 ? 8 : 24;
        const int stride = (width * bits + 31) / 32 * 4;
        const int pixelsAt = static_cast<int>(bytes.size()) - stride * height;
        CFrameSource source;
        ASSERT_EQ(source.Open(path), 1);
        CFrameImage image;
        ASSERT_EQ(source.GetFrame(0, &image, 0), 1);
        const QImage shown = image.GetBitmap()->AsQImage();
        ASSERT_EQ(shown.size(), QSize(width, height));
        int wrong = 0;
        for (int y = 0; y < height; ++y) {
            const char* row = bytes.constData() + pixelsAt + (height - 1 - y) * stride;
            wrong += std::memcmp(shown.constScanLine(y), row, size_t(width) * bits / 8) != 0;
        }
        EXPECT_EQ(wrong, 0);
    }
}

// The files of an open sequence count as in use until the source lets them go, so that no save
// overwrites a file being shown.
TEST_F(ImageSequenceTest, OpenSequenceFilesAreInUse) {
    for (int n = 1; n <= 3; ++n)
        Write(QString("use%1.bmp").arg(n), SequenceImageKind::kBmp8, n);
    Write("other1.bmp", SequenceImageKind::kBmp8, 0);
    {
        CFrameSource source;
        ASSERT_EQ(source.Open(WorkPath("use2.bmp")), 1);
        for (int n = 1; n <= 3; ++n)
            EXPECT_TRUE(IsFileInUse(WorkPath(QString("use%1.bmp").arg(n)))) << n;
        EXPECT_FALSE(IsFileInUse(WorkPath("other1.bmp")));
        source.Close();
        EXPECT_FALSE(IsFileInUse(WorkPath("use1.bmp")));
        ASSERT_EQ(source.Open(WorkPath("use1.bmp")), 1);
    }
    EXPECT_FALSE(IsFileInUse(WorkPath("use3.bmp")));
}

// The camera header is found only where cameras put it, whole.
TEST_F(ImageSequenceTest, TiffCameraHeaderBlocks) {
    struct Case {
        const char* name;
        int markerAt;
        int cut;  // bytes missing at the end
        QByteArray cameraName;
        bool found;
        const char* shownName;
    };
    const Case cases[] = {
        {"at byte 128", 128, 0, "FASTCAM-10", true, "FASTCAM-10"},
        {"in the last word searched", 128 + 64 * 4, 0, "FASTCAM-10", true, "FASTCAM-10"},
        {"beyond the search", 128 + 65 * 4, 0, "FASTCAM-10", false, ""},
        {"off the word grid", 130, 0, "FASTCAM-10", false, ""},
        {"block cut short", 128, 1, "FASTCAM-10", false, ""},
        {"eight-character name", 132, 0, "MEMRECAM", true, "MEMRECAM"},
        {"name shorter than its field", 128, 0, QByteArray("CAM\0\0\0\0\0\0\0", 10), true, "CAM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes(c.markerAt, 'i');
        bytes += QByteArray("\0\0\x17\x85", 4) + SequenceCameraBlock(c.cameraName);
        bytes.chop(c.cut);
        TiffCameraHeader header;
        ASSERT_EQ(ReadTiffCameraHeader(bytes, &header), c.found);
        if (!c.found)
            continue;
        EXPECT_EQ(header.name, c.shownName);
        EXPECT_EQ(std::make_tuple(header.year, header.month, header.day),
                  std::make_tuple(24, 3, 15));
        EXPECT_EQ(std::make_tuple(header.hour, header.minute, header.second),
                  std::make_tuple(13, 45, 59));
        EXPECT_EQ(header.block.size(), 1024);
    }
}

// A TIFF sequence whose files carry the camera header gets the recording's date from it.
TEST_F(ImageSequenceTest, TiffCameraHeaderDatesTheRecording) {
    const QByteArray tiff = SequenceTiffWithCameraHeader(kWidth, kHeight, 0);
    WriteBytes("cam0001.tif", tiff);
    WriteBytes("cam0002.tif", tiff);

    CFrameSource source;
    ASSERT_EQ(source.Open(WorkPath("cam0001.tif")), 1);
    int year = 0, month = 0, day = 0, ms = 0, ref = 0;
    ASSERT_EQ(source.GetTimeStamp(&year, &month, &day, &ms, &ref), 1);
    EXPECT_EQ(std::make_tuple(year, month, day), std::make_tuple(2024, 3, 15));
    EXPECT_EQ(ms, ((13 * 60 + 45) * 60 + 59) * 1000);
    EXPECT_EQ(ref, -1);
    CFrameImage image;
    ASSERT_EQ(source.GetFrame(1, &image, 0), 1);
    EXPECT_EQ(WorstDifference(image, SequenceImageKind::kTiffGrey16, 0), 0);

    // Without the block there is no date.
    QDir(WorkDir()).removeRecursively();
    QDir().mkpath(WorkDir());
    Write("plain0001.tif", SequenceImageKind::kTiffGrey16, 0);
    ASSERT_EQ(source.Open(WorkPath("plain0001.tif")), 1);
    EXPECT_EQ(source.GetTimeStamp(&year, &month, &day, &ms, &ref), 0);
}

// JPEG frames decode into the caller's rows only when the whole picture fits.
TEST_F(ImageSequenceTest, JpegFramesNeedRoomForThePicture) {
    for (const auto kind : {SequenceImageKind::kJpegGrey, SequenceImageKind::kJpegColour}) {
        const QByteArray jpeg = SequenceImageBytes(kind, 13, 5, 0);
        BITMAPINFOHEADER header;
        ASSERT_TRUE(imaging::ReadJpegHeader(jpeg, &header));
        const bool grey = kind == SequenceImageKind::kJpegGrey;
        EXPECT_EQ(header.biWidth, 13);
        EXPECT_EQ(header.biHeight, 5);
        EXPECT_EQ(header.biBitCount, grey ? 8 : 24);
        EXPECT_EQ(header.biClrUsed, grey ? 256u : 0u);
        const size_t stride = grey ? 16 : 40;
        EXPECT_EQ(header.biSizeImage, stride * 5);
        std::vector<BYTE> rows(stride * 5 + 1, 0xAB);
        EXPECT_FALSE(imaging::ReadJpegImage(jpeg, rows.data(), stride * 5 - 1));
        ASSERT_TRUE(imaging::ReadJpegImage(jpeg, rows.data(), stride * 5));
        EXPECT_EQ(rows.back(), 0xAB);
        EXPECT_FALSE(imaging::ReadJpegImage(jpeg.left(jpeg.size() / 2), rows.data(), rows.size()));
        EXPECT_FALSE(imaging::ReadJpegHeader(QByteArray("not a jpeg"), &header));
    }
}

TEST_F(ImageSequenceTest, NameBases) {
    const std::pair<const char*, const char*> cases[] = {
        {"take0001", "take"},
        {"take-0001", "take"},
        {"take_0001", "take_"},
        {"0001", "0"},
        {"take", "take"},
        {"a1b22", "a1b"},
        {"x-", "x"},
        {"", ""},
    };
    for (const auto& [title, base] : cases)
        EXPECT_EQ(SequenceNameBase(title), base) << title;
}

// Files that are not what their names say open nothing and crash nothing; a later file that
// breaks the set fails only its own frame.
TEST_F(ImageSequenceTest, DamagedFilesAreRefused) {
    const QByteArray good = SequenceImageBytes(SequenceImageKind::kBmp8, kWidth, kHeight, 0);
    auto patched = [&](int at, std::initializer_list<int> bytes) {
        QByteArray copy = good;
        int i = at;
        for (int b : bytes)
            copy[i++] = static_cast<char>(b);
        return copy;
    };
    const std::pair<const char*, QByteArray> refused[] = {
        {"empty", QByteArray()},
        {"no magic", patched(0, {'X', 'M'})},
        {"cut short", good.left(good.size() - 10)},
        {"width beyond 65535", patched(18, {0x71, 0x11, 0x01, 0x00})},
        {"negative width", patched(18, {0xF0, 0xFF, 0xFF, 0xFF})},
        {"pixel offset beyond the file", patched(10, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"compressed", patched(30, {1, 0, 0, 0})},
        {"16 bits", patched(28, {16, 0})},
        {"tiff without a directory", QByteArray("II*\0\xff\xff\0\0", 8)},
        {"jpeg cut short",
         SequenceImageBytes(SequenceImageKind::kJpegColour, kWidth, kHeight, 0).left(40)},
    };
    for (const auto& [name, bytes] : refused) {
        SCOPED_TRACE(name);
        QDir(WorkDir()).removeRecursively();
        QDir().mkpath(WorkDir());
        const char* ext = std::string(name).find("tiff") != std::string::npos   ? "tif"
                          : std::string(name).find("jpeg") != std::string::npos ? "jpg"
                                                                                : "bmp";
        const QString path = WriteBytes(QString("bad0001.") + ext, bytes);
        CFrameSource source;
        EXPECT_EQ(source.Open(path), 0);
    }

    QDir(WorkDir()).removeRecursively();
    QDir().mkpath(WorkDir());
    Write("mix0001.bmp", SequenceImageKind::kBmp8, 0);
    Write("mix0002.bmp", SequenceImageKind::kBmp8, 1, kWidth + 2, kHeight);
    WriteBytes("mix0003.bmp", good.left(60));
    Write("mix0004.bmp", SequenceImageKind::kBmp8, 3);
    CFrameSource source;
    ASSERT_EQ(source.Open(WorkPath("mix0001.bmp")), 1);
    EXPECT_EQ(source.GetFrameCount(), 4);
    CFrameImage image;
    EXPECT_EQ(source.GetFrame(1, &image, 0), 0);
    EXPECT_EQ(source.GetFrame(2, &image, 0), 0);
    ASSERT_EQ(source.GetFrame(3, &image, 0), 1);
    EXPECT_EQ(WorstDifference(image, SequenceImageKind::kBmp8, 3), 0);
    // The first file replaced by a larger picture after the open: its frame fails instead of
    // running past the picture it was opened with.
    ASSERT_TRUE(WriteSequenceImage(WorkPath("mix0001.bmp"), SequenceImageKind::kBmp8, kWidth * 4,
                                   kHeight * 4, 0));
    EXPECT_EQ(source.GetFrame(0, &image, 0), 0);
    ASSERT_EQ(source.GetFrame(3, &image, 0), 1);
}

}  // namespace

namespace {

// A batch set: its files in batch order and then by number, each batch a segment to step to.
TEST_F(ImageSequenceTest, BatchSetsStepFromBatchToBatch) {
    const char* files[] = {"shot[2of3]_0001.bmp", "shot[1of3]_0002.bmp", "shot[1of3]_0001.bmp",
                           "shot[3of3]_0005.BMP", "shot[2of3]_0002.bmp", "shot[2of3]_0003.bmp"};
    // The picture of each file is its place in the set.
    const int place[] = {2, 1, 0, 5, 3, 4};
    for (size_t i = 0; i < std::size(files); ++i)
        Write(files[i], SequenceImageKind::kBmp8, place[i]);
    Write("shot[1of4]_0001.bmp", SequenceImageKind::kBmp8, 9);  // another count of batches
    Write("other[1of3]_0001.bmp", SequenceImageKind::kBmp8, 9);
    CFrameSource source;
    ASSERT_EQ(source.Open(WorkPath("shot[2of3]_0002.bmp")), 1);
    EXPECT_EQ(source.IsBatch(), 0);  // frames per batch come from the side file only
    EXPECT_EQ(source.HasSegments(), 1);
    ASSERT_EQ(source.GetFrameCount(), 6);
    EXPECT_EQ(source.GetFirstFrameNumber(), -1);
    EXPECT_EQ(source.GetDisplayPath(), "shot[*]_*.bmp");
    for (int f = 0; f < 6; ++f) {
        CFrameImage image;
        ASSERT_EQ(source.GetFrame(f, &image, 0), 1);
        EXPECT_EQ(WorstDifference(image, SequenceImageKind::kBmp8, f), 0) << f;
    }
    const std::tuple<int, int, int> steps[] = {{0, 1, 2},  {2, 1, 5},  {3, 1, 5}, {5, 1, 5},
                                               {5, -1, 2}, {2, -1, 0}, {1, -1, 0}};
    for (const auto& [frame, direction, boundary] : steps)
        EXPECT_EQ(source.GetSegmentBoundary(frame, direction), boundary)
            << frame << " " << direction;
    EXPECT_EQ(source.Open(WorkPath("lone[1of2].bmp")), 0);
}

}  // namespace
