#include "frames/CfgFileInfo.h"
#include "frames/FileMapping.h"
#include "frames/FrameSource.h"
#include "frames/FrameSourcePtr.h"
#include "frames/IFrameChangeListener.h"
#include "frames/IdObjectBase.h"
#include "frames/tests/SequenceFiles.h"
#include "platform/media/AviStreamFunctions.h"
#include "platform/media/tests/TestAviWriter.h"
#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QFile>

#include <future>
#include <set>
#include <thread>

#include <cstring>

using namespace imaging;

namespace {

// Display settings that show a frame as it is.
CLutParamSet NeutralLutParams() {
    CLutParamSet params;
    ResetLutParams(&params);
    return params;
}

// Records which stream kind Open dispatched to and counts frame reads; the dispatch points
// open nothing.
class ProbeSource : public CFrameSource {
public:
    explicit ProbeSource(bool* deleted = nullptr) : m_deleted(deleted) {}
    ~ProbeSource() override {
        if (m_deleted)
            *m_deleted = true;
    }
    int ReadFrame(int n) override {
        ++reads;
        return failReads ? 0 : CFrameSource::ReadFrame(n);
    }
    QString branch;
    int reads = 0;
    bool failReads = false;
    int bayerWidth = 0;

protected:
    IAVIStream* OpenSeriesStream(const QString&) override {
        branch = "series";
        return nullptr;
    }
    IAVIStream* OpenSequenceStream(const QString&, bool batch, int*, std::vector<int>*) override {
        branch = batch ? "batch" : "sequence";
        return nullptr;
    }
    IAVIStream* OpenBayerFilter(IAVIStream*, int width, int, const QString&) override {
        branch = "bayer";
        bayerWidth = width;
        return nullptr;
    }

private:
    bool* m_deleted;
};

class CountingListener : public CIdObjectBase, public IFrameChangeListener {
public:
    HRESULT QueryInterfaceById(int id, void** out) override {
        if (!out)
            return E_POINTER;
        if (id != kIdFrameChangeListener && id != kIdUnknown)
            return E_FAIL;
        *out = static_cast<IFrameChangeListener*>(this);
        return S_OK;
    }
    HRESULT OnFrameChanged(int frame, int) override {
        frames.push_back(frame);
        if (leaveOnNotify)
            source->Unadvise(cookie);
        return S_OK;
    }
    std::vector<int> frames;
    CFrameSource* source = nullptr;
    int cookie = 0;
    bool leaveOnNotify = false;
};

QByteArray Le32s(std::initializer_list<int32_t> values) {
    QByteArray out;
    for (int32_t v : values)
        for (int i = 0; i < 4; ++i)
            out.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
    return out;
}

// The recording-information block: the marker and 72 bytes.
QByteArray Avif(int rate, int divisor, int preTrigger, bool stamp = false) {
    QByteArray block("AVIF");
    block += Le32s({rate, 0, divisor, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2024, 3, 5, 50529250, preTrigger,
                    stamp ? 1 : 0});
    return block;
}

class FrameSourceTest : public IsolatedTest {
protected:
    QString Avi(const QString& name, TestAviLayout layout = {TestAviKind::RawBgr24, 8, 6, 12, 0}) {
        const QString path = WorkPath(name);
        EXPECT_TRUE(WriteTestAvi(path, layout));
        return path;
    }
    void Touch(const QString& name) {
        QFile f(WorkPath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};

TEST_F(FrameSourceTest, OpenDispatchesByExtensionAndName) {
    Avi("clip.avi");
    Avi("Clip.AVI");
    Avi("mixed.Avi");
    Avi("take.avi");
    Touch("take_01.avi");
    Avi("RAW0001_2.avi", {TestAviKind::RawPal8, 8, 6, 12, 0});
    Avi("RAW.avi", {TestAviKind::RawPal8, 8, 6, 12, 0});
    Avi("RAW0002.avi");  // a colour file: no mosaic to decode
    Avi("raw0001.avi");
    Avi("RAW01a.avi");
    for (const char* name : {"img_0001.BMP", "shot[1of3]_0001.tif", "img0007.jpg", "notes.txt",
                             "noext", "odd[1x3].bmp", "empty.avi"})
        Touch(name);
    struct Case {
        const char* name;
        int opened;
        const char* branch;
    };
    const Case cases[] = {
        {"clip.avi", 1, ""},
        {"Clip.AVI", 1, ""},
        {"mixed.Avi", 1, ""},
        {"take.avi", 0, "series"},
        {"RAW0001_2.avi", 0, "bayer"},
        {"RAW.avi", 0, "bayer"},
        {"RAW0002.avi", 1, ""},
        {"raw0001.avi", 1, ""},
        {"RAW01a.avi", 1, ""},
        {"img_0001.BMP", 0, "sequence"},
        {"shot[1of3]_0001.tif", 0, "batch"},
        {"odd[1x3].bmp", 0, "sequence"},
        {"img0007.jpg", 0, "sequence"},
        {"notes.txt", 0, ""},
        {"noext", 0, ""},
        {"missing.avi", 0, ""},
        {"empty.avi", 0, ""},
    };
    for (const Case& c : cases) {
        ProbeSource source;
        EXPECT_EQ(source.Open(WorkPath(c.name)), c.opened) << c.name;
        EXPECT_EQ(source.IsOpen(), c.opened) << c.name;
        EXPECT_EQ(source.branch, QString(c.branch)) << c.name;
        EXPECT_EQ(source.GetFrameCount(), c.opened ? 12 : -1) << c.name;
        if (source.branch == "bayer") {
            EXPECT_EQ(source.bayerWidth, 8);
        }
    }
}

TEST_F(FrameSourceTest, OpenTakesSizeColourAndReopensCleanly) {
    const QString pal = Avi("pal.avi", {TestAviKind::RawPal8, 9, 5, 3, 0});
    const QString rgb = Avi("rgb.avi", {TestAviKind::RawBgr24, 7, 4, 6, 0});
    CFrameSource source;
    ASSERT_EQ(source.Open(pal), 1);
    int width = 0, height = 0;
    source.GetImageSize(&width, &height);
    EXPECT_EQ(width, 9);
    EXPECT_EQ(height, 5);
    EXPECT_EQ(source.GetBitCount(), 8);
    EXPECT_EQ(source.IsColor(), 1);  // a palette that is not grey
    EXPECT_EQ(source.GetKind(), CFrameSource::kSingleStream);
    CFrameImage image;
    ASSERT_EQ(source.GetFrame(2, &image, 0), 1);
    EXPECT_EQ(image.GetWidth(), 9u);

    // Opening again closes the first stream; the current frame starts over.
    ASSERT_EQ(source.Open(rgb), 1);
    EXPECT_EQ(source.GetFrameCount(), 6);
    EXPECT_EQ(source.GetBitCount(), 24);
    ASSERT_EQ(source.GetFrame(2, &image, 0), 1);
    EXPECT_EQ(image.GetWidth(), 7u);

    EXPECT_EQ(source.Open(WorkPath("missing.avi")), 0);
    EXPECT_EQ(source.IsOpen(), 0);
    EXPECT_EQ(source.GetFrameCount(), -1);
    EXPECT_EQ(source.ReadFrame(0), 0);
}

TEST_F(FrameSourceTest, RawRecordingsOpenWithTheirHeader) {
    // 16-bit grey samples, 3 x 2, two frames; rows top to bottom.
    QByteArray header(72, '\0');
    header.replace(0, 4, "OP05");
    header.replace(8, 24, Le32s({2, 3, 2, -4, 72, 16}));
    header.replace(68, 4, Le32s({500}));
    QByteArray samples;
    for (int n = 0; n < 2; ++n)
        for (int i = 0; i < 6; ++i) {
            const int sample = (n * 6 + i) * 0x1000 + 0xFF;
            samples.append(static_cast<char>(sample & 0xFF));
            samples.append(static_cast<char>(sample >> 8));
        }
    QFile file(WorkPath("grey16.RAW"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(header + samples);
    file.close();

    CFrameSource source;
    ASSERT_EQ(source.Open(WorkPath("grey16.RAW")), 1);
    EXPECT_EQ(source.GetFrameCount(), 2);
    EXPECT_EQ(source.GetFirstFrameNumber(), -4);
    EXPECT_EQ(source.GetRecordedRate(), 500);
    EXPECT_EQ(source.IsColor(), 0);  // 16-bit samples are grey
    CFrameImage image;
    ASSERT_EQ(source.GetFrame(1, &image, 0), 1);
    ASSERT_EQ(image.GetBitmap()->GetPixelFormat(), PixelFormat8bppIndexed);
    BitmapData data;
    ASSERT_TRUE(image.LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &data));
    const auto* top = static_cast<const BYTE*>(data.Scan0);
    EXPECT_EQ(top[0], 0x60);  // the high byte of sample 6, top left
    EXPECT_EQ(top[data.Stride + 2], 0xB0);
    image.UnlockBits(&data);
}

TEST_F(FrameSourceTest, RecordingInformationBlock) {
    struct Case {
        const char* name;
        int padding;  // bytes of the junk chunk before the marker; the marker is at 20 + padding
        QByteArray block;
        int rate, exposureNs, firstFrame;
        bool stamp;
    };
    const Case cases[] = {
        {"full", 0, Avif(50, 2, 10, true), 50, 10000000, -10, true},
        {"rate 0", 0, Avif(0, 4, 0), -1, 250000000, 0, false},
        {"negative divisor", 0, Avif(100, -3, 0), 100, 10000000, 0, false},
        {"divisor 0", 0, Avif(100, 0, 0), 100, -1, 0, false},
        {"marker at 3000", 2980, Avif(30, 1, 0), 30, 33333333, 0, false},
        {"marker at 3001", 2981, Avif(30, 1, 0), -1, -1, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Avi(QString("avif %1.avi").arg(c.name));
        ASSERT_TRUE(InsertJunkChunk(path, QByteArray(c.padding, '\0') + c.block));
        CFrameSource source;
        ASSERT_EQ(source.Open(path), 1);
        EXPECT_EQ(source.GetRecordedRate(), c.rate);
        EXPECT_EQ(source.GetExposure(), c.exposureNs);
        EXPECT_EQ(source.GetFirstFrameNumber(), c.firstFrame);
        QString date, time;
        EXPECT_EQ(source.GetStartTimeText(&date, &time), c.stamp ? 1 : 0);
        if (c.stamp) {
            EXPECT_EQ(date, "2024-03-05");
            EXPECT_EQ(time, "14:02:09.250000");
            int ref = 0;
            EXPECT_EQ(source.GetTimeStamp(nullptr, nullptr, nullptr, nullptr, &ref), 1);
            EXPECT_EQ(ref, -10);
        }
    }
    // A block cut short by the end of the file is no block.
    QFile cut(WorkPath("cut.bin"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(Avif(25, 1, 0).left(40));
    cut.close();
    CFrameSource::AvifBlock block;
    EXPECT_FALSE(CFrameSource::ReadAvifBlock(WorkPath("cut.bin"), &block));
    EXPECT_FALSE(CFrameSource::ReadAvifBlock(WorkPath("none.bin"), &block));
}

TEST_F(FrameSourceTest, ConfigurationSideFileOverridesTheBlock) {
    const QString path = Avi("cfgd_.avi");
    ASSERT_TRUE(InsertJunkChunk(path, Avif(50, 1, 3, true)));
    CCfgFileInfo info;
    info.m_rateHz = 1000.0;
    info.m_exposureNs = 5000;
    info.m_firstFrame = -7;
    info.m_framesPerBatch = 4;
    info.m_batchOffset = 1;
    info.m_hasTimeStamp = 1;
    info.m_year = 1999;
    info.m_month = 1;
    info.m_day = 1;
    ASSERT_EQ(info.Save(WorkPath("cfgd.cfg")), 1);
    CFrameSource source;
    ASSERT_EQ(source.Open(path), 1);
    EXPECT_EQ(source.GetRecordedRate(), 1000);
    EXPECT_EQ(source.GetExposure(), 5000);
    EXPECT_EQ(source.GetFirstFrameNumber(), -7);
    EXPECT_EQ(source.IsBatch(), 1);
    QString date;
    ASSERT_EQ(source.GetStartTimeText(&date, nullptr), 1);
    EXPECT_EQ(date, "2024-03-05");  // the block's time stamp stays
}

TEST_F(FrameSourceTest, SequenceSideFileLiesBesideTheSequenceNotInTheCurrentFolder) {
    ASSERT_TRUE(QDir(WorkDir()).mkpath("elsewhere"));
    for (int n = 0; n < 3; ++n) {
        ASSERT_TRUE(WriteSequenceImage(WorkPath(QStringLiteral("elsewhere/run_%1.bmp").arg(n)),
                                       SequenceImageKind::kBmp8, 8, 6, n));
    }
    CCfgFileInfo info;
    info.m_firstFrame = -2;
    info.m_rateHz = 500;
    info.m_exposureNs = 1000;
    ASSERT_EQ(info.Save(WorkPath("elsewhere/run.cfg")), 1);
    // A side file of the same name in the current folder belongs to another recording.
    CCfgFileInfo other;
    other.m_firstFrame = -9;
    other.m_exposureNs = 1000;
    ASSERT_EQ(other.Save(WorkPath("run.cfg")), 1);
    CFrameSource source;
    ASSERT_EQ(source.Open(WorkPath("elsewhere/run_0.bmp")), 1);
    EXPECT_EQ(source.GetFirstFrameNumber(), -2);
    EXPECT_EQ(source.GetRecordedRate(), 500);
    ASSERT_EQ(source.SaveCfgFile(), 1);
    CCfgFileInfo untouched;
    ASSERT_EQ(untouched.Load(WorkPath("run.cfg")), 1);
    EXPECT_EQ(untouched.m_firstFrame, -9) << "saving writes beside the sequence";
}

TEST_F(FrameSourceTest, MoveToTheCurrentFrameReadsAndNotifiesNothing) {
    ProbeSource source;
    ASSERT_EQ(source.Open(Avi("move.avi")), 1);
    CountingListener listener;
    listener.source = &source;
    ASSERT_EQ(source.Advise(&listener, &listener.cookie), S_OK);
    struct Step {
        int frame, notify, force;
        int reads;  // reads so far
        std::vector<int> told;
    };
    const Step steps[] = {
        {3, 1, 0, 1, {3}},    {3, 1, 0, 1, {3}},    {3, 1, 1, 2, {3, 3}},
        {4, 0, 0, 3, {3, 3}}, {4, 1, 0, 3, {3, 3}}, {-5, 1, 0, 4, {3, 3, -5}},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(source.MoveToFrame(s.frame, s.notify, s.force), 1);
        EXPECT_EQ(source.reads, s.reads) << s.frame;
        EXPECT_EQ(listener.frames, s.told) << s.frame;
    }
    // A listener may leave while being told.
    listener.leaveOnNotify = true;
    EXPECT_EQ(source.NotifyFrameChange(8, 0), 1);
    EXPECT_EQ(source.NotifyFrameChange(9, 0), 1);
    EXPECT_EQ(listener.frames.back(), 8);
}

TEST_F(FrameSourceTest, FailedReadLeavesNoCurrentFrame) {
    ProbeSource source;
    ASSERT_EQ(source.Open(Avi("fail.avi")), 1);
    ASSERT_EQ(source.MoveToFrame(1, 0, 0), 1);
    source.failReads = true;
    EXPECT_EQ(source.MoveToFrame(2, 0, 0), 0);
    CFrameImage image;
    EXPECT_EQ(source.GetFrame(2, &image, 0), 0);  // read again, and still failing
    EXPECT_EQ(source.reads, 3);
    source.failReads = false;
    EXPECT_EQ(source.GetFrame(2, &image, 0), 1);
    EXPECT_EQ(source.reads, 4);
}

// Holds the listener list of its source until released.
class BlockingListener : public CIdObjectBase, public IFrameChangeListener {
public:
    HRESULT QueryInterfaceById(int id, void** out) override {
        if (!out)
            return E_POINTER;
        if (id != kIdFrameChangeListener && id != kIdUnknown)
            return E_FAIL;
        *out = static_cast<IFrameChangeListener*>(this);
        return S_OK;
    }
    HRESULT OnFrameChanged(int, int) override {
        entered.set_value();
        release.get_future().wait();
        return S_OK;
    }
    std::promise<void> entered;
    std::promise<void> release;
};

TEST_F(FrameSourceTest, BusyListenerListSkipsNotificationButNotReads) {
    CFrameSource source;
    ASSERT_EQ(source.Open(Avi("busy.avi")), 1);
    BlockingListener listener;
    int cookie = 0;
    ASSERT_EQ(source.Advise(&listener, &cookie), S_OK);
    std::thread notifier([&source] { EXPECT_EQ(source.NotifyFrameChange(1, 0), 1); });
    listener.entered.get_future().wait();
    EXPECT_EQ(source.NotifyFrameChange(2, 0), 0);  // the list is busy: nobody is told
    EXPECT_EQ(source.ReadFrame(3), 1);             // reading does not wait for the listeners
    listener.release.set_value();
    notifier.join();
    EXPECT_EQ(source.Unadvise(cookie), S_OK);
}

TEST_F(FrameSourceTest, DisplayFramesAreCachedAndRemappedOnlyWhenNeeded) {
    const TestAviLayout layout{TestAviKind::RawBgr24, 8, 6, 5, 0};
    ProbeSource source;
    ASSERT_EQ(source.Open(Avi("lut.avi", layout)), 1);
    CLutParamSet colour = NeutralLutParams();
    CLutParamSet bw = NeutralLutParams();
    CFrameImage image;
    auto green = [&image](int x, int y) {
        return qGreen(image.GetBitmap()->AsQImage().pixel(x, y));
    };
    BYTE want[3];
    TestAviPixel(layout, 2, 0, 0, want);

    ASSERT_EQ(source.GetFrameDib(2, &image, colour, bw, 0), 1);
    EXPECT_EQ(source.reads, 1);
    EXPECT_EQ(green(0, 0), want[1]);  // neutral tables: the frame as read, upright
    ASSERT_EQ(source.GetFrameDib(2, &image, colour, bw, 0), 1);
    EXPECT_EQ(source.reads, 1);  // cached

    colour.SetBrightness(1, 10);  // green up by 21 levels
    ASSERT_EQ(source.GetFrameDib(2, &image, colour, bw, 0), 1);
    EXPECT_EQ(source.reads, 1);  // remapped without reading
    EXPECT_EQ(green(0, 0), want[1] + 21);

    colour.SetColor2BW(1);
    ASSERT_EQ(source.GetFrameDib(2, &image, colour, bw, 0), 1);
    EXPECT_EQ(source.reads, 1);
    EXPECT_EQ(image.GetBitmap()->GetPixelFormat(), PixelFormat8bppIndexed);

    ASSERT_EQ(source.GetFrameDib(3, &image, colour, bw, 0), 1);
    EXPECT_EQ(source.reads, 2);
    EXPECT_EQ(source.GetDisplayFrame(3, &image, 0, 0), 1);
    EXPECT_EQ(image.GetBitmap()->GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_FALSE(CFrameSource::IsLutWorking());
}

// 8-bit frames shown through the display tables look as if every pixel had first been widened
// to its palette colour: with neutral tables, a brightened channel and the black-and-white
// conversion, and frame after frame of one size.
TEST_F(FrameSourceTest, IndexedDisplayFramesMatchTheirWidenedColours) {
    const TestAviLayout layout{TestAviKind::RawPal8, 7, 5, 4, 0};
    CFrameSource source;
    ASSERT_EQ(source.Open(Avi("pal8.avi", layout)), 1);
    struct Case {
        const char* name;
        int brightGreen;
        LONG toBw;
        int frame;
    };
    const Case cases[] = {
        {"neutral", 0, 0, 2},         {"brighter green", 10, 0, 2}, {"next frame", 10, 0, 3},
        {"black and white", 0, 1, 3}, {"back again", 25, 1, 1},     {"colour again", 0, 0, 1},
    };
    for (const Case& c : cases) {
        CLutParamSet colour = NeutralLutParams();
        CLutParamSet bw = NeutralLutParams();
        colour.SetBrightness(1, c.brightGreen);
        bw.SetBrightness(0, c.brightGreen);
        colour.SetColor2BW(c.toBw);
        CDisplayLut colourLut;
        CDisplayLut bwLut;
        colourLut.Build(colour, 0);
        bwLut.Build(bw, 1);
        CFrameImage image;
        ASSERT_EQ(source.GetFrameDib(c.frame, &image, colour, bw, 0), 1) << c.name;
        const QImage shown = image.GetBitmap()->AsQImage();
        for (int y = 0; y < layout.height; ++y) {
            for (int x = 0; x < layout.width; ++x) {
                BYTE widened[4] = {};
                TestAviPaletteColour(TestAviIndex(c.frame, x, y), widened);
                BYTE mapped[4] = {};
                QRgb want = 0;
                if (c.toBw) {
                    colourLut.ConvertToGrey(widened, mapped, 24, true, 1, 1, nullptr);
                    const RGBQUAD grey = bwLut.Palette()[mapped[0]];
                    want = qRgb(grey.rgbRed, grey.rgbGreen, grey.rgbBlue);
                } else {
                    colourLut.MapPixels(widened, mapped, 24, true, 1, 1);
                    want = qRgb(mapped[2], mapped[1], mapped[0]);
                }
                ASSERT_EQ(shown.pixel(x, y), want) << c.name << " at " << x << ", " << y;
            }
        }
    }
}

// Stepping one image through 8-bit frames hands each frame over as read: the image and the
// source's read buffer trade bitmaps, so two buffers serve frame after frame without a copy,
// and a frame asked for again comes back, shown with the tables of the moment.
TEST_F(FrameSourceTest, IndexedDisplayFramesTradeBuffersWithTheCaller) {
    const TestAviLayout layout{TestAviKind::RawPal8, 7, 5, 6, 0};
    ProbeSource source;
    ASSERT_EQ(source.Open(Avi("step8.avi", layout)), 1);
    CLutParamSet colour = NeutralLutParams();
    CLutParamSet bw = NeutralLutParams();
    CFrameImage image;
    std::set<const void*> buffers;
    const auto expectFrame = [&](int n) {
        CDisplayLut lut;
        lut.Build(colour, 0);
        const QImage shown = image.GetBitmap()->AsQImage();
        buffers.insert(shown.constBits());
        for (int y = 0; y < layout.height; ++y) {
            for (int x = 0; x < layout.width; ++x) {
                BYTE widened[4] = {};
                TestAviPaletteColour(TestAviIndex(n, x, y), widened);
                BYTE mapped[4] = {};
                lut.MapPixels(widened, mapped, 24, true, 1, 1);
                ASSERT_EQ(shown.pixel(x, y), qRgb(mapped[2], mapped[1], mapped[0]))
                    << "frame " << n << " at " << x << ", " << y;
            }
        }
    };
    for (int n = 0; n < layout.frames; ++n) {
        ASSERT_EQ(source.GetFrameDib(n, &image, colour, bw, 0), 1);
        expectFrame(n);
    }
    EXPECT_EQ(source.reads, layout.frames);
    EXPECT_EQ(buffers.size(), 2u);
    // The last frame again, brighter: its pixels come back, with the new table.
    colour.SetBrightness(1, 10);
    ASSERT_EQ(source.GetFrameDib(layout.frames - 1, &image, colour, bw, 0), 1);
    expectFrame(layout.frames - 1);
    EXPECT_EQ(buffers.size(), 2u);
}

TEST_F(FrameSourceTest, BatchBoundaries) {
    CFrameSource source;
    ASSERT_EQ(source.Open(Avi("batches.avi", {TestAviKind::RawBgr24, 4, 4, 1000, 0})), 1);
    struct Case {
        int perBatch, offset, frame, direction, expected;
    };
    const Case cases[] = {
        {100, 0, 150, 0, 200}, {100, 0, 150, 1, 100},  {100, 0, 100, 0, 200},
        {100, 0, 100, 1, 0},   {100, 0, 950, 0, 999},  {100, 0, 0, 1, 0},
        {100, 0, 50, -1, 100}, {100, 30, 150, 0, 170}, {100, -250, 10, 0, 50},
        {100, -250, 10, 1, 0}, {0, 0, 150, 0, -1},     {-5, 0, 150, 1, -1},
    };
    for (const Case& c : cases) {
        CCfgFileInfo info;
        info.m_framesPerBatch = c.perBatch;
        info.m_batchOffset = c.offset;
        source.SetCfgFileInfo(info);
        EXPECT_EQ(source.GetBatchBoundary(c.frame, c.direction), c.expected)
            << c.perBatch << " " << c.offset << " " << c.frame << " " << c.direction;
    }
    EXPECT_EQ(source.HasSegments(), 0);
    EXPECT_EQ(source.GetSegmentBoundary(10, 1), -1);
}

TEST_F(FrameSourceTest, TimeTexts) {
    CFrameSource source;
    QString date, time;
    EXPECT_EQ(source.GetFrameTimeText(5, 25.0, &date, &time), 0);
    EXPECT_EQ(source.SetTimeStamp(2023, 2, 29, 0, 0), 0);
    EXPECT_EQ(source.SetTimeStamp(2024, 1, 1, 86400000, 0), 0);
    EXPECT_EQ(source.GetStartTimeText(&date, &time), 0);
    struct Case {
        int msOfDay, refFrame, frame;
        double rate;
        const char* date;
        const char* time;
    };
    const Case cases[] = {
        {0, 0, 1, 3.0, "2024-02-29", "00:00:00.333333"},
        {0, 0, 1, 1.0000005, "2024-02-29", "00:00:01.000000"},  // never .1000000
        {86399999, 0, 1, 1000.0, "2024-03-01", "00:00:00.000000"},
        {3723004, 10, 0, 2.0, "2024-02-29", "01:01:58.004000"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(source.SetTimeStamp(2024, 2, 29, c.msOfDay, c.refFrame), 1);
        EXPECT_EQ(source.GetFrameTimeText(c.frame, c.rate, &date, &time), 1);
        EXPECT_EQ(date, c.date);
        EXPECT_EQ(time, c.time);
    }
    EXPECT_EQ(source.GetFrameTimeText(1, 0.0, &date, &time), 0);
    EXPECT_EQ(source.GetFrameTimeText(1, -25.0, &date, &time), 0);
}

TEST(FrameSourceStaticTest, EstimateSaveSize) {
    struct Case {
        int64_t frameBytes;
        int palette, frames, kind;
        int64_t expected;
    };
    const Case cases[] = {
        {0, 256, 10, 0, -1},
        {100, 256, 0, 0, -1},
        {100, 256, 10, 0, 2236},
        {100, 256, 10, 1, 1000 + 266 * 40},
        {100, 0, 10, 2, 1000 + 512 * 40},
        {100, 0, 10, 3, -1},
        {100, 0, 10, 9, 1000},
        {4000000000LL, 0, 1000, 9, 4000000000000LL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFrameSource::EstimateSaveSize(c.frameBytes, c.palette, c.frames, c.kind),
                  c.expected)
            << c.kind;
}

// Nothing can be saved yet: the user hears so rather than a silent failure.
TEST_F(FrameSourceTest, SaveAsSaysSavingIsNotAvailable) {
    CFrameSource source;
    Prompter().ExpectMessageBox("Sorry, this feature is not available.", IDOK);
    EXPECT_EQ(source.SaveAs(0), 0);
    EXPECT_EQ(Prompter().Prompts().size(), 1u);
}

TEST_F(FrameSourceTest, SharedSourceLivesUntilTheLastHolder) {
    bool deleted = false;
    {
        CFrameSourcePtr view(new ProbeSource(&deleted));
        EXPECT_TRUE(view.IsUnique());
        ASSERT_EQ(view->Open(Avi("shared.avi")), 1);
        {
            CFrameSourcePtr group(view);
            EXPECT_FALSE(view.IsUnique());
            group->Close();
            group = group;
        }
        EXPECT_FALSE(deleted);
        EXPECT_TRUE(view.IsUnique());
        EXPECT_EQ(view->IsOpen(), 0);
        unsigned a = 0, b = 0;
        CFrameSource other;
        view->GetSourceId(&a);
        other.GetSourceId(&b);
        EXPECT_NE(a, b);
    }
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(CFrameSourcePtr().IsUnique());
}

}  // namespace

TEST_F(FrameSourceTest, ReadingFrameAfterFrameAllocatesTheFrameBufferOnce) {
    const struct {
        TestAviLayout layout;
        const char* name;
    } cases[] = {
        {{TestAviKind::RawPal8, 9, 5, 12, 0}, "pal.avi"},
        {{TestAviKind::RawBgr24, 7, 4, 12, 0}, "rgb.avi"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Avi(c.name, c.layout);
        CFrameSource source;
        ASSERT_EQ(source.Open(path), 1);
        EXPECT_EQ(source.FrameBufferAllocations(), 0);
        CFrameImage image;
        for (int n = 0; n < c.layout.frames; ++n) {
            ASSERT_EQ(source.GetFrame(n, &image, 0), 1);
            // Each frame is the one asked for, not the previous one left in the buffer.
            CFrameImage fresh;
            IAVIStream* stream = nullptr;
            PAVIFILE file = nullptr;
            ASSERT_EQ(AVIFileOpen(&file, path, OF_READ, nullptr), AVIERR_OK);
            ASSERT_EQ(AVIFileGetStream(file, &stream, streamtypeVIDEO, 0), AVIERR_OK);
            ASSERT_EQ(fresh.FillFromStream(stream, n, true), 1);
            AVIStreamRelease(stream);
            AVIFileRelease(file);
            BitmapData a, b;
            const PixelFormat format = image.GetBitmap()->GetPixelFormat();
            ASSERT_TRUE(image.LockBits(nullptr, ImageLockModeRead, format, &a));
            ASSERT_TRUE(fresh.LockBits(nullptr, ImageLockModeRead, format, &b));
            const int row = c.layout.width * (format == PixelFormat8bppIndexed ? 1 : 3);
            for (int y = 0; y < c.layout.height; ++y)
                EXPECT_EQ(std::memcmp(static_cast<const BYTE*>(a.Scan0) + y * a.Stride,
                                      static_cast<const BYTE*>(b.Scan0) + y * b.Stride, row),
                          0)
                    << "frame " << n << " row " << y;
            image.UnlockBits(&a);
            fresh.UnlockBits(&b);
        }
        EXPECT_EQ(source.FrameBufferAllocations(), 1);
        // Closing lets the reader go; the next stream starts its own buffer.
        source.Close();
        EXPECT_EQ(source.FrameBufferAllocations(), 0);
    }
}

TEST_F(FrameSourceTest, RawFramesReadIntoEveryCallersImageAndMissingOnesLeaveItAlone) {
    // 8-bit rows top to bottom; three frames in the header, two in the file. A width of 5 pads
    // the image's rows to 8 bytes, a width of 8 fills them.
    const auto sample = [](int n, int x, int y) { return static_cast<BYTE>(n * 31 + y * 7 + x); };
    for (const int width : {5, 8}) {
        SCOPED_TRACE(width);
        constexpr int kHeight = 3;
        QByteArray header(72, '\0');
        header.replace(0, 4, "OP05");
        header.replace(8, 24, Le32s({3, width, kHeight, 0, 72, 8}));
        QByteArray pixels;
        for (int n = 0; n < 2; ++n)
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < width; ++x)
                    pixels.append(static_cast<char>(sample(n, x, y)));
        const QString path = WorkPath(QString("cut%1.raw").arg(width));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(header + pixels);
        file.close();

        const auto expectFrame = [&](CFrameImage& image, int n) {
            BitmapData data;
            ASSERT_TRUE(image.LockBits(nullptr, ImageLockModeRead, PixelFormat8bppIndexed, &data));
            ASSERT_EQ(data.Width, static_cast<UINT>(width));
            ASSERT_EQ(data.Height, static_cast<UINT>(kHeight));
            for (int y = 0; y < kHeight; ++y) {
                const auto* row = static_cast<const BYTE*>(data.Scan0) + y * data.Stride;
                for (int x = 0; x < width; ++x)
                    EXPECT_EQ(row[x], sample(n, x, y)) << "frame " << n << " at " << x << "," << y;
                for (int x = width; x < data.Stride; ++x)
                    EXPECT_EQ(row[x], 0) << "padding of row " << y;
            }
            image.UnlockBits(&data);
        };
        CFrameSource source;
        ASSERT_EQ(source.Open(path), 1);
        CFrameImage first, second;
        ASSERT_EQ(source.GetFrame(0, &first, 0), 1);
        expectFrame(first, 0);
        ASSERT_EQ(source.GetFrame(1, &first, 0), 1);
        expectFrame(first, 1);
        // The current frame went into the first image; a second caller gets it all the same.
        ASSERT_EQ(source.GetFrame(1, &second, 0), 1);
        expectFrame(second, 1);
        // A frame the file does not hold fails and leaves the picture shown.
        EXPECT_EQ(source.GetFrame(2, &first, 0), 0);
        expectFrame(first, 1);
        ASSERT_EQ(source.GetFrame(0, &second, 0), 1);
        expectFrame(second, 0);
        expectFrame(first, 1);
    }
}

namespace {

// An 8-bit RAW recording of frames of width x height whose pixel (x, y) of frame n is
// RawSample(n, x, y), with the data after the 72-byte header.
BYTE RawSample(int n, int x, int y) {
    return static_cast<BYTE>(n * 37 + y * 11 + x);
}

QByteArray RawRecording(int frames, int width, int height) {
    QByteArray bytes(72, '\0');
    bytes.replace(0, 4, "OP05");
    bytes.replace(8, 24, Le32s({frames, width, height, 0, 72, 8}));
    for (int n = 0; n < frames; ++n)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                bytes.append(static_cast<char>(RawSample(n, x, y)));
    return bytes;
}

}  // namespace

// Stepping through a RAW recording for display shows each frame from the file's own pages: one
// mapping serves every frame, the frame reader's buffer is made once, and two bitmap objects
// trade places, so a step allocates nothing. Rows that need padding are read as before.
// Changing the shown pixels changes a copy, never the recording.
TEST_F(FrameSourceTest, RawDisplayFramesAreShownFromTheMappedFileWithoutCopies) {
    const struct {
        int width;
        bool mapped;
    } cases[] = {{8, true}, {5, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        constexpr int kFrames = 6;
        constexpr int kHeight = 3;
        const QString path = WorkPath(QString("map%1.raw").arg(c.width));
        const QByteArray recording = RawRecording(kFrames, c.width, kHeight);
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(recording);
        }
        CFrameSource source;
        ASSERT_EQ(source.Open(path), 1);
        CLutParamSet colour = NeutralLutParams();
        CLutParamSet bw = NeutralLutParams();
        const int mappingsBefore = CFileMapping::MappingsMade();
        CFrameImage image;
        std::set<const Bitmap*> bitmaps;
        const BYTE* firstRows = nullptr;
        for (int n = 0; n < kFrames; ++n) {
            ASSERT_EQ(source.GetFrameDib(n, &image, colour, bw, 0), 1);
            const Bitmap* bitmap = image.GetBitmap();
            bitmaps.insert(bitmap);
            EXPECT_EQ(bitmap->HasExternalRows(), c.mapped) << "frame " << n;
            const QImage shown = bitmap->AsQImage();
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < c.width; ++x)
                    ASSERT_EQ(shown.pixelIndex(x, y), RawSample(n, x, y))
                        << "frame " << n << " at " << x << ", " << y;
            if (!c.mapped)
                continue;
            // Each frame lies where the file has it, one frame's bytes after the previous.
            if (n == 0)
                firstRows = bitmap->GetRows();
            EXPECT_EQ(bitmap->GetRows() - firstRows, n * c.width * kHeight);
        }
        EXPECT_EQ(CFileMapping::MappingsMade() - mappingsBefore, c.mapped ? 1 : 0);
        EXPECT_LE(source.FrameBufferAllocations(), 1);
        EXPECT_EQ(bitmaps.size(), 2u);

        // A change to the shown frame stays in the image.
        BitmapData data;
        ASSERT_TRUE(image.LockBits(nullptr, ImageLockModeWrite, PixelFormat8bppIndexed, &data));
        std::memset(data.Scan0, 0xAB, static_cast<size_t>(data.Stride) * data.Height);
        ASSERT_TRUE(image.UnlockBits(&data));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), recording);
        CFrameImage again;
        ASSERT_EQ(source.GetFrameDib(kFrames - 1, &again, colour, bw, 0), 1);
        EXPECT_EQ(again.GetBitmap()->AsQImage().pixelIndex(1, 1), RawSample(kFrames - 1, 1, 1));
    }
}

// Another program cuts a recording short while it is shown: frames past the new end fail
// cleanly, frames before it still show, and a picture still showing a frame whose pages are
// gone reads zeros there instead of stopping the program.
TEST_F(FrameSourceTest, RawRecordingCutShortWhileShownFailsCleanly) {
    // Frames of two pages, so that the cut frees whole pages of the mapping.
    constexpr int kWidth = 1024;
    constexpr int kHeight = 8;
    constexpr int kFrames = 4;
    const QString path = WorkPath("cut.raw");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(RawRecording(kFrames, kWidth, kHeight));
    }
    CFrameSource source;
    ASSERT_EQ(source.Open(path), 1);
    CLutParamSet colour = NeutralLutParams();
    CLutParamSet bw = NeutralLutParams();
    CFrameImage last;
    ASSERT_EQ(source.GetFrameDib(kFrames - 1, &last, colour, bw, 0), 1);
    ASSERT_TRUE(last.GetBitmap()->HasExternalRows());
    EXPECT_EQ(last.GetBitmap()->GetRows()[5], RawSample(kFrames - 1, 5, 0));

    ASSERT_TRUE(QFile::resize(path, 72 + kWidth * kHeight));
    CFrameImage image;
    for (const int gone : {2, 3}) {
        EXPECT_EQ(source.GetFrameDib(gone, &image, colour, bw, 0), 0) << gone;
        EXPECT_EQ(source.GetFrame(gone, &image, 0), 0) << gone;
    }
    ASSERT_EQ(source.GetFrameDib(0, &image, colour, bw, 0), 1);
    EXPECT_EQ(image.GetBitmap()->AsQImage().pixelIndex(7, 3), RawSample(0, 7, 3));
    // The last frame's pages no longer exist in the file.
    const QImage stale = last.GetBitmap()->AsQImage();
    EXPECT_EQ(stale.pixelIndex(5, 0), 0);
    EXPECT_EQ(stale.pixelIndex(kWidth - 1, kHeight - 1), 0);
}

// Live video reads its frame again on every step (a forced move). Such a frame goes straight to
// the display, which shares it with the source's own image instead of taking a copy: frame after
// frame the same two buffers serve, every frame shows as read, and a change to the shown picture
// leaves the source's copy alone.
TEST_F(FrameSourceTest, ForcedReadsReachTheDisplayWithoutACopy) {
    const TestAviLayout layout{TestAviKind::RawPal8, 8, 5, 6, 0};
    ProbeSource source;
    ASSERT_EQ(source.Open(Avi("live8.avi", layout)), 1);
    CLutParamSet colour = NeutralLutParams();
    CLutParamSet bw = NeutralLutParams();
    CFrameImage image;
    std::set<const void*> buffers;
    const auto expectFrame = [&layout](const CFrameImage& shown, int n) {
        const QImage pixels = shown.GetBitmap()->AsQImage();
        for (int y = 0; y < layout.height; ++y)
            for (int x = 0; x < layout.width; ++x)
                ASSERT_EQ(pixels.pixelIndex(x, y), TestAviIndex(n, x, y))
                    << "frame " << n << " at " << x << ", " << y;
    };
    for (int step = 0; step < 2 * layout.frames; ++step) {
        const int n = step % layout.frames;
        ASSERT_EQ(source.MoveToFrame(n, 0, 1), 1);
        ASSERT_EQ(source.GetFrameDib(n, &image, colour, bw, 0), 1);
        expectFrame(image, n);
        buffers.insert(image.GetBitmap()->GetRows());
        // Shared with the source's image, not copied.
        EXPECT_TRUE(image.GetBitmap()->RowsShared()) << step;
    }
    EXPECT_EQ(source.reads, 2 * layout.frames);
    EXPECT_EQ(buffers.size(), 2u);
    EXPECT_LE(source.FrameBufferAllocations(), 1);

    BitmapData data;
    ASSERT_TRUE(image.LockBits(nullptr, ImageLockModeWrite, PixelFormat8bppIndexed, &data));
    std::memset(data.Scan0, 0, static_cast<size_t>(data.Stride) * data.Height);
    ASSERT_TRUE(image.UnlockBits(&data));
    CFrameImage copy;
    ASSERT_EQ(source.CopyFrameImage(layout.frames - 1, &copy), 1);
    expectFrame(copy, layout.frames - 1);
    EXPECT_EQ(source.reads, 2 * layout.frames);
}
