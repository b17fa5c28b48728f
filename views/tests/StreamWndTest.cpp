#include "frames/CfgFileInfo.h"
#include "frames/FrameSource.h"
#include "frames/FrameSourcePtr.h"
#include "frames/IMovieView.h"
#include "frames/SampleRecording.h"
#include "platform/framework/DC.h"
#include "testsupport/IsolatedTest.h"
#include "views/AnnotateDoc.h"
#include "views/AnnotateView.h"
#include "views/DrawCalipersB.h"
#include "views/DrawInfo.h"
#include "views/DrawLine.h"
#include "views/StreamWnd.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// A frame source whose reads can be made to fail, counting them.
class FlakySource : public CFrameSource {
public:
    int ReadFrame(int n) override {
        ++reads;
        return failReads ? 0 : CFrameSource::ReadFrame(n);
    }
    bool failReads = false;
    int reads = 0;
};

// Timing of a generated recording, overriding what its side file says.
struct Timing {
    int rate;
    int firstFrame;
    int exposureNs;
    bool stamped;
};

// The sample recording is 256 x 192; a 1024 x 768 window shows it at exactly 4x.
constexpr int kScale = 4;
constexpr int kClientWidth = CSampleRecording::kWidth * kScale;
constexpr int kClientHeight = CSampleRecording::kHeight * kScale;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

Rgb At(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return {qRed(p), qGreen(p), qBlue(p)};
}

Rgb Grey(int level) {
    return {level, level, level};
}

// Pixels that are plainly of one primary colour: the background is grey, so only the
// overlays and annotations give them.
int CountPrimary(const QImage& image, const CRect& r, int channel) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const Rgb c = At(image, x, y);
            const int v[3] = {c.r, c.g, c.b};
            bool primary = v[channel] > 200;
            for (int k = 0; k < 3; ++k)
                if (k != channel && v[k] > 60)
                    primary = false;
            count += primary ? 1 : 0;
        }
    return count;
}

class StreamWndTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_path = WorkPath("take.raw");
        ASSERT_TRUE(CSampleRecording::Write(m_path));
        ASSERT_TRUE(m_host.Create(nullptr, "host", 0, CRect(0, 0, kClientWidth, kClientHeight),
                                  nullptr, 0));
        m_host.ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        if (m_wnd.GetSafeHwnd())
            m_wnd.DestroyWindow();
        m_host.DestroyWindow();
        IsolatedTest::TearDown();
    }

    // An open source over the generated recording, with other timing when asked.
    CFrameSourcePtr OpenSource(const Timing* timing = nullptr) {
        auto* source = new FlakySource;
        CFrameSourcePtr ptr(source);
        EXPECT_EQ(source->Open(m_path), 1);
        if (timing) {
            CCfgFileInfo info;
            source->GetCfgFileInfo(&info);
            info.m_rateHz = timing->rate;
            info.m_firstFrame = timing->firstFrame;
            info.m_exposureNs = timing->exposureNs;
            info.m_hasTimeStamp = timing->stamped ? 1 : 0;
            source->SetCfgFileInfo(info);
        }
        return ptr;
    }
    void CreateWindow() {
        ASSERT_TRUE(m_wnd.Create(nullptr, "stream", WS_CHILD | WS_VISIBLE,
                                 CRect(0, 0, kClientWidth, kClientHeight), &m_host, 10001));
    }
    QImage Render() {
        QImage image(kClientWidth, kClientHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        CDC dc(&image);
        m_wnd.OnDraw(&dc);
        return image;
    }
    // The window's picture of image pixel (x, y) sits at its 4 x 4 block.
    static Rgb Shown(const QImage& image, int x, int y) {
        return At(image, x * kScale + 1, y * kScale + 1);
    }

    QString m_path;
    CWnd m_host;
    CStreamWnd m_wnd;
};

TEST_F(StreamWndTest, TimeTexts) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {
        {61.25, " 01:01.2500"},    {-1.5, "-00:01.5000"}, {0.0, " 00:00.0000"},
        {0.29, " 00:00.2900"},     {-0.2, "-00:00.2000"}, {3725.0001, " 62:05.0001"},
        {59.99999, " 00:59.9999"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CStreamWnd::FormatTime(c.seconds), QString(c.text)) << c.seconds;
}

TEST_F(StreamWndTest, InfoBoxText) {
    const Timing sample{CSampleRecording::kRate, CSampleRecording::kFirstFrame, 5000000, true};
    const Timing slow{4, 100, 999, false};
    const Timing early{100, -170, 0, false};
    const Timing unknownRate{0, 0, -1, false};
    const struct {
        const char* name;
        const Timing* timing;  // null: no source
        int frame;
        bool reticle;
        const char* text;
    } cases[] = {
        {"no source", nullptr, 12, false,
         "Frame: 0\nTime:  00:00.0000\nRecorded Rate: N/A\nShutter Speed: N/A"},
        {"frame 0 lies before the trigger, with IRIG times", &sample, 0, false,
         "Frame: -20\nTime: -00:00.2000\nRecorded Rate: 100 fps\nShutter Speed: 5000 usec"
         "\n\nIRIG Trigger : 2026-01-15 10:30:00.000000"
         "\nIRIG Frame   : 2026-01-15 10:30:00.000000"},
        {"later frame and the reticle", &sample, 145, true,
         "Frame: 125\nTime:  00:01.2500\nRecorded Rate: 100 fps\nShutter Speed: 5000 usec"
         "\nReticle Posn: 30, 40"
         "\n\nIRIG Trigger : 2026-01-15 10:30:00.000000"
         "\nIRIG Frame   : 2026-01-15 10:30:01.450000"},
        {"61.25 s, shutter under a microsecond", &slow, 145, false,
         "Frame: 245\nTime:  01:01.2500\nRecorded Rate: 4 fps\nShutter Speed: 0 usec"},
        {"past the last frame: the last frame's own number", &slow, CSampleRecording::kFrames + 50,
         false, "Frame: 299\nTime:  01:14.7500\nRecorded Rate: 4 fps\nShutter Speed: 0 usec"},
        {"-1.5 s, shutter 0", &early, 20, false,
         "Frame: -150\nTime: -00:01.5000\nRecorded Rate: 100 fps\nShutter Speed: N/A"},
        {"rate 0: time is the frame number", &unknownRate, 42, false,
         "Frame: 42\nTime:  00:42.0000\nRecorded Rate: N/A\nShutter Speed: N/A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CStreamWnd wnd;
        if (c.timing)
            wnd.SetFrameSource(OpenSource(c.timing));
        wnd.ShowFrame(c.frame);
        if (c.reticle) {
            wnd.ShowReticle(TRUE);
            wnd.SetReticlePosition(30, 40);
        }
        EXPECT_EQ(wnd.GetInfoText(), QString(c.text));
    }
}

TEST_F(StreamWndTest, WithoutAFrameTheWindowIsBlackAndBare) {
    CreateWindow();
    m_wnd.ShowReticle(TRUE);
    m_wnd.ShowRulers(TRUE);
    EXPECT_EQ(m_wnd.ShowFrame(3), 0);  // no source
    EXPECT_EQ(m_wnd.GetCurrentFrame(), 3);
    const QImage picture = Render();
    for (int y = 0; y < kClientHeight; y += 7)
        for (int x = 0; x < kClientWidth; x += 5)
            ASSERT_EQ(At(picture, x, y), Grey(0)) << x << "," << y;
}

TEST_F(StreamWndTest, RendersTheFrameWithReticleAndRulers) {
    CreateWindow();
    m_wnd.SetInfoCorner(CPanZoomView::kHidden);
    m_wnd.SetFrameSource(OpenSource());
    ASSERT_EQ(m_wnd.ShowFrame(60), 1);
    CPoint size;
    m_wnd.GetImageSize(&size);
    EXPECT_EQ(size, CPoint(CSampleRecording::kWidth, CSampleRecording::kHeight));

    QImage picture = Render();
    double cx = 0, cy = 0;
    CSampleRecording::DiscCentre(60, &cx, &cy);
    EXPECT_EQ(Shown(picture, static_cast<int>(cx), static_cast<int>(cy)), Grey(240));
    for (const CPoint p : {CPoint(3, 4), CPoint(200, 20), CPoint(250, 180)})
        EXPECT_EQ(Shown(picture, p.x, p.y), Grey(CSampleRecording::Level(60, p.x, p.y)));
    // The window's own paint shows the same picture.
    const QImage painted =
        m_wnd.GetQWidget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(painted, picture);

    // The reticle crosses the whole window through the centre of its pixel, XOR 0xC0C0C0.
    m_wnd.ShowReticle(TRUE);
    m_wnd.SetReticlePosition(100, 50);
    const int lineX = 100 * kScale + kScale / 2;
    const int lineY = 50 * kScale + kScale / 2;
    picture = Render();
    for (const CPoint p : {CPoint(5, lineY), CPoint(kClientWidth - 1, lineY), CPoint(lineX, 0),
                           CPoint(lineX, kClientHeight - 1)}) {
        const int level = CSampleRecording::Level(60, p.x / kScale, p.y / kScale);
        EXPECT_EQ(At(picture, p.x, p.y), Grey(level ^ 0xC0)) << p.x << "," << p.y;
    }
    EXPECT_EQ(Shown(picture, 10, 10), Grey(CSampleRecording::Level(60, 10, 10)));

    // Rulers: a red XOR frame; a long tick at column 100 along the top.
    m_wnd.ShowReticle(FALSE);
    m_wnd.ShowRulers(TRUE);
    picture = Render();
    const int edgeLevel = CSampleRecording::Level(60, 0, 130 / kScale);
    EXPECT_EQ(At(picture, 0, 130), (Rgb{edgeLevel ^ 0xFF, edgeLevel, edgeLevel}));
    const int tickX = 100 * kScale + kScale / 2;
    const int tickLevel = CSampleRecording::Level(60, tickX / kScale, 9 / kScale);
    EXPECT_EQ(At(picture, tickX, 9), (Rgb{tickLevel ^ 0xFF, tickLevel, tickLevel}));
    const int shortLevel = CSampleRecording::Level(60, tickX / kScale, 10 / kScale);
    EXPECT_EQ(At(picture, tickX, 10), Grey(shortLevel));
}

TEST_F(StreamWndTest, AreaBesideAFittedFrameIsDarkGrey) {
    CreateWindow();
    m_wnd.SetInfoCorner(CPanZoomView::kHidden);
    m_wnd.SetFrameSource(OpenSource());
    ASSERT_EQ(m_wnd.ShowFrame(60), 1);
    // A wider window: the frame is 500 high and (int)(500 * 4 / 3) = 666 wide, centred.
    m_wnd.MoveWindow(0, 0, kClientWidth, 500);
    const QImage picture = Render();
    const int left = (kClientWidth - 666) / 2;
    for (const CPoint p : {CPoint(0, 0), CPoint(left - 1, 250), CPoint(left + 666, 250),
                           CPoint(kClientWidth - 1, 499)})
        EXPECT_EQ(At(picture, p.x, p.y), Grey(0x40)) << p.x << "," << p.y;
    EXPECT_EQ(At(picture, left + 1, 2), Grey(CSampleRecording::Level(60, 0, 0)));
    EXPECT_EQ(At(picture, 10, 600), (Rgb{255, 255, 255}));  // below the window: untouched
}

TEST_F(StreamWndTest, EachPaintStartsFromABlackPicture) {
    // Painting composes in one kept picture; what a paint leaves uncovered is black, never
    // what the previous paint left there. A tall window shows the frame 400 x 300, centred.
    CreateWindow();
    m_wnd.SetInfoCorner(CPanZoomView::kHidden);
    m_wnd.SetFrameSource(OpenSource());
    ASSERT_EQ(m_wnd.ShowFrame(60), 1);
    m_wnd.MoveWindow(0, 0, 400, kClientHeight);
    const CPoint above(200, 5);
    EXPECT_EQ(At(Render(), above.x, above.y), Grey(0x40));
    m_wnd.SetFitMode(FALSE);
    EXPECT_EQ(At(Render(), above.x, above.y), Grey(0));
    m_wnd.SetFitMode(TRUE);
    ASSERT_EQ(m_wnd.ShowFrame(61), 1);
    const QImage fitted = Render();
    EXPECT_EQ(At(fitted, above.x, above.y), Grey(0x40));
    EXPECT_EQ(At(fitted, 0, kClientHeight / 2 - 150 + 1), Grey(CSampleRecording::Level(61, 0, 0)));
}

TEST_F(StreamWndTest, InfoBoxSitsInTheChosenCorner) {
    CreateWindow();
    m_wnd.SetFrameSource(OpenSource());
    ASSERT_EQ(m_wnd.ShowFrame(60), 1);
    const int halfW = kClientWidth / 2;
    const int halfH = kClientHeight / 2;
    const CRect quadrants[4] = {CRect(0, 0, halfW, halfH), CRect(halfW, 0, kClientWidth, halfH),
                                CRect(halfW, halfH, kClientWidth, kClientHeight),
                                CRect(0, halfH, halfW, kClientHeight)};
    constexpr int kRed = 0;
    for (int corner = 0; corner < 4; ++corner) {
        SCOPED_TRACE(corner);
        m_wnd.SetInfoCorner(corner);
        const QImage picture = Render();
        for (int q = 0; q < 4; ++q) {
            const int red = CountPrimary(picture, quadrants[q], kRed);
            if (q == corner)
                EXPECT_GT(red, 200);
            else
                EXPECT_EQ(red, 0) << "quadrant " << q;
        }
        // Five pixels from the window's edges, none of the text beyond them.
        EXPECT_EQ(CountPrimary(picture, CRect(0, 0, kClientWidth, 5), kRed), 0);
        EXPECT_EQ(CountPrimary(picture, CRect(0, 0, 5, kClientHeight), kRed), 0);
        EXPECT_EQ(
            CountPrimary(picture, CRect(kClientWidth - 5, 0, kClientWidth, kClientHeight), kRed),
            0);
        EXPECT_EQ(
            CountPrimary(picture, CRect(0, kClientHeight - 5, kClientWidth, kClientHeight), kRed),
            0);
        // ... and close to them.
        const bool right = corner == 1 || corner == 2;
        const bool bottom = corner == 2 || corner == 3;
        const CRect nearX = right ? CRect(kClientWidth - 40, 0, kClientWidth, kClientHeight)
                                  : CRect(0, 0, 40, kClientHeight);
        const CRect nearY = bottom ? CRect(0, kClientHeight - 40, kClientWidth, kClientHeight)
                                   : CRect(0, 0, kClientWidth, 40);
        EXPECT_GT(CountPrimary(picture, nearX, kRed), 0);
        EXPECT_GT(CountPrimary(picture, nearY, kRed), 0);
    }
    m_wnd.SetInfoCorner(CPanZoomView::kHidden);
    EXPECT_EQ(CountPrimary(Render(), CRect(0, 0, kClientWidth, kClientHeight), kRed), 0);
}

TEST_F(StreamWndTest, FailedReadKeepsThePreviousPicture) {
    CreateWindow();
    m_wnd.SetInfoCorner(CPanZoomView::kHidden);
    CFrameSourcePtr source = OpenSource();
    auto* flaky = static_cast<FlakySource*>(source.Get());
    m_wnd.SetFrameSource(source);
    ASSERT_EQ(m_wnd.ShowFrame(60), 1);
    const QImage before = Render();

    flaky->failReads = true;
    const int reads = flaky->reads;
    EXPECT_EQ(m_wnd.ShowFrame(120), 0);
    EXPECT_GT(flaky->reads, reads);
    EXPECT_EQ(m_wnd.GetCurrentFrame(), 120);
    EXPECT_EQ(Render(), before);

    // The same frame reads again once the source recovers.
    flaky->failReads = false;
    EXPECT_EQ(m_wnd.ShowFrame(120), 1);
    const QImage after = Render();
    double cx = 0, cy = 0;
    CSampleRecording::DiscCentre(120, &cx, &cy);
    EXPECT_EQ(Shown(after, static_cast<int>(cx), static_cast<int>(cy)), Grey(240));
    EXPECT_NE(after, before);

    // A closed source shows nothing new either.
    source->Close();
    EXPECT_EQ(m_wnd.ShowFrame(60), 0);
    EXPECT_EQ(Render(), after);
}

TEST_F(StreamWndTest, SettingASourceShowsTheStoredFrame) {
    CreateWindow();
    EXPECT_EQ(m_wnd.ShowFrame(90), 0);
    m_wnd.SetFrameSource(OpenSource());
    QString path;
    EXPECT_EQ(m_wnd.GetSourcePath(0, &path), S_OK);
    EXPECT_EQ(path, m_path);
    EXPECT_EQ(m_wnd.GetSourcePath(1, &path), E_FAIL);
    EXPECT_EQ(m_wnd.GetSourcePath(0, nullptr), E_FAIL);
    m_wnd.SetInfoCorner(CPanZoomView::kHidden);
    double cx = 0, cy = 0;
    CSampleRecording::DiscCentre(90, &cx, &cy);
    EXPECT_EQ(Shown(Render(), static_cast<int>(cx), static_cast<int>(cy)), Grey(240));

    // An empty pointer leaves the picture and reads nothing.
    m_wnd.SetFrameSource(CFrameSourcePtr());
    EXPECT_EQ(m_wnd.GetSourcePath(0, &path), S_OK);
    EXPECT_TRUE(path.isEmpty());
    EXPECT_EQ(m_wnd.ShowFrame(10), 0);
}

TEST_F(StreamWndTest, FramesThroughDisplayTables) {
    CreateWindow();
    m_wnd.SetInfoCorner(CPanZoomView::kHidden);
    const CLutParamSet colour;
    const CLutParamSet bw;
    EXPECT_EQ(m_wnd.ShowFrameWithLuts(30, colour, bw), 0);
    EXPECT_EQ(m_wnd.GetCurrentFrame(), 30);
    CFrameImage image;
    EXPECT_EQ(m_wnd.ReadFrameWithLuts(30, 0, colour, bw, &image), E_FAIL);

    m_wnd.SetFrameSource(OpenSource());
    EXPECT_EQ(m_wnd.ShowFrameWithLuts(30, colour, bw), 1);
    double cx = 0, cy = 0;
    CSampleRecording::DiscCentre(30, &cx, &cy);
    EXPECT_EQ(Shown(Render(), static_cast<int>(cx), static_cast<int>(cy)), Grey(240));

    EXPECT_EQ(m_wnd.ReadFrameWithLuts(30, 1, colour, bw, &image), E_FAIL);
    EXPECT_EQ(m_wnd.ReadFrameWithLuts(30, 0, colour, bw, nullptr), E_FAIL);
    EXPECT_EQ(m_wnd.ReadFrameWithLuts(31, 0, colour, bw, &image), S_OK);
    EXPECT_EQ(image.GetWidth(), static_cast<UINT>(CSampleRecording::kWidth));
    EXPECT_EQ(image.GetHeight(), static_cast<UINT>(CSampleRecording::kHeight));
}

TEST_F(StreamWndTest, AnnotationsOfTheCurrentFrameAreDrawnOverIt) {
    CreateWindow();
    m_wnd.SetInfoCorner(CPanZoomView::kHidden);
    auto addLine = [this](int frame, COLORREF colour, int y) {
        auto* line = new CDrawLine;
        line->SetFrame(frame);
        line->SetLineColor(colour);
        line->SetArrowHead(FALSE);
        line->SetPoint(0, CDoublePoint{20, static_cast<double>(y)}, FALSE, FALSE);
        line->SetPoint(1, CDoublePoint{200, static_cast<double>(y)}, FALSE, FALSE);
        m_wnd.GetAnnotateDoc()->GetObjectList()->push_back(line);
    };
    constexpr int kGreen = 1;
    constexpr int kBlue = 2;
    addLine(-1, 0x00FF00, 40);  // every frame
    addLine(7, 0xFF0000, 120);  // frame 7 only
    m_wnd.GetAnnotateDoc()->ClearAllModified();
    const CRect all(0, 0, kClientWidth, kClientHeight);

    m_wnd.SetFrameSource(OpenSource());
    ASSERT_EQ(m_wnd.ShowFrame(5), 1);
    QImage picture = Render();
    EXPECT_GT(
        CountPrimary(picture, CRect(20 * kScale, 40 * kScale - 3, 200 * kScale, 40 * kScale + 4),
                     kGreen),
        100);
    EXPECT_EQ(CountPrimary(picture, all, kBlue), 0);
    ASSERT_EQ(m_wnd.ShowFrame(7), 1);
    EXPECT_GT(CountPrimary(Render(), all, kBlue), 100);
    // Once the source is gone the last picture stays, without annotations.
    m_wnd.SetFrameSource(CFrameSourcePtr());
    picture = Render();
    EXPECT_EQ(CountPrimary(picture, all, kGreen), 0);
    EXPECT_EQ(Shown(picture, 5, 5), Grey(CSampleRecording::Level(7, 5, 5)));
    // Drawing changes nothing in the document.
    EXPECT_FALSE(m_wnd.GetAnnotateDoc()->IsModified());
}

// The picture a window paints on screen is the one it paints into an image, wherever the window
// lies in its host and whatever covers part of it: the frame that goes straight into the
// window's backing store lands where the image has it, and nowhere else.
TEST_F(StreamWndTest, PaintsOnScreenThePictureItPaintsIntoAnImage) {
    const struct {
        const char* name;
        CRect place;     // In the host.
        bool covered;    // A sibling lies over part of the window.
        bool annotated;  // An annotation: the picture is composed off screen first.
    } cases[] = {
        {"whole host, enlarged", CRect(0, 0, kClientWidth, kClientHeight), false, false},
        {"reduced, past the host's top left", CRect(-3, -2, 94, 71), false, false},
        {"partly covered", CRect(10, 8, 610, 458), true, false},
        {"annotated and partly covered", CRect(10, 8, 610, 458), true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CStreamWnd wnd;
        ASSERT_TRUE(wnd.Create(nullptr, "stream", WS_CHILD | WS_VISIBLE, c.place, &m_host, 10002));
        const CRect cover(c.place.left + 50, c.place.top + 40, c.place.left + 170,
                          c.place.top + 130);
        QWidget sibling(m_host.GetQWidget());
        if (c.covered) {
            sibling.setGeometry(cover.left, cover.top, cover.Width(), cover.Height());
            sibling.setAutoFillBackground(true);
            sibling.show();
            sibling.raise();
        }
        if (c.annotated) {
            auto* line = new CDrawLine;
            line->SetFrame(-1);
            line->SetLineColor(0x00FF00);
            line->SetPoint(0, CDoublePoint{5, 5}, FALSE, FALSE);
            line->SetPoint(1, CDoublePoint{120, 90}, FALSE, FALSE);
            wnd.GetAnnotateDoc()->GetObjectList()->push_back(line);
        }
        wnd.ShowReticle(TRUE);
        wnd.SetReticlePosition(30, 40);
        wnd.SetFrameSource(OpenSource());
        ASSERT_EQ(wnd.ShowFrame(4), 1);
        QCoreApplication::processEvents();
        const QImage screen = QGuiApplication::primaryScreen()
                                  ->grabWindow(m_host.GetQWidget()->winId())
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(screen.size(), QSize(kClientWidth, kClientHeight));
        const QImage covering = sibling.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QImage expected(c.place.Width(), c.place.Height(), QImage::Format_RGB32);
        {
            CDC dc(&expected);
            wnd.OnDraw(&dc);
        }
        int compared = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                const CPoint at(c.place.left + x, c.place.top + y);
                if (at.x < 0 || at.y < 0 || at.x >= kClientWidth || at.y >= kClientHeight)
                    continue;
                const QRgb want = c.covered && cover.PtInRect(at)
                                      ? covering.pixel(at.x - cover.left, at.y - cover.top)
                                      : expected.pixel(x, y);
                ASSERT_EQ(screen.pixel(at.x, at.y), want) << x << "," << y;
                ++compared;
            }
        }
        EXPECT_GT(compared, 6000);
        wnd.DestroyWindow();
    }
}

TEST_F(StreamWndTest, EditorDrawsWithTheMouseInImagePixels) {
    CreateWindow();
    m_wnd.SetFrameSource(OpenSource());
    ASSERT_EQ(m_wnd.ShowFrame(3), 1);
    Render();  // The zoom state the mouse is mapped with.
    m_wnd.SendMessage(WM_COMMAND, CAnnotateView::kCmdLine);
    EXPECT_EQ(m_wnd.GetAnnotateView()->GetTool(), CAnnotateView::kLine);
    m_wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10 * kScale, 10 * kScale));
    m_wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30 * kScale, 20 * kScale));
    m_wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30 * kScale, 20 * kScale));
    const CDrawObjectList& objects = *m_wnd.GetAnnotateDoc()->GetObjectList();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->GetType(), 1);
    EXPECT_EQ(objects[0]->GetFrame(), 3);
    EXPECT_EQ(objects[0]->GetPoint(0, FALSE), CDoublePoint(10, 10));
    EXPECT_EQ(objects[0]->GetPoint(1, FALSE), CDoublePoint(30, 20));
    EXPECT_NE(objects[0]->GetOwnerPointer(), nullptr);
    EXPECT_EQ(m_wnd.GetAnnotateView()->GetTool(), CAnnotateView::kSelect);
    // The window's own View commands stay its own.
    m_wnd.SendMessage(WM_COMMAND, CPanZoomView::kZoomMode);
    EXPECT_TRUE(m_wnd.IsZoomMode());
    EXPECT_FALSE(m_wnd.GetAnnotateView()->IsZoomMode());
}

// A measurement lands on the pixels the reticle names under the same mouse points, whatever
// the window's size and zoom, so a drag across n image pixels measures n.
TEST_F(StreamWndTest, MeasurementsUseTheReticlesPixels) {
    const struct {
        const char* name;
        int width, height;
        bool fit;
        CPoint from, to;  // Window pixels.
        double length;    // Image pixels; 0: only compared with the reticle.
    } cases[] = {
        {"odd window at 100%", 301, 221, false, {50, 110}, {250, 110}, 200},
        {"even window at 100%", 300, 220, false, {40, 20}, {40, 170}, 150},
        {"odd window, odd drag at 100%", 277, 195, false, {11, 30}, {240, 30}, 229},
        {"odd window fitted", 517, 391, true, {33, 41}, {401, 287}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CStreamWnd wnd;
        ASSERT_TRUE(wnd.Create(nullptr, "stream", WS_CHILD | WS_VISIBLE,
                               CRect(0, 0, c.width, c.height), &m_host, 10003));
        wnd.SetFrameSource(OpenSource());
        ASSERT_EQ(wnd.ShowFrame(0), 1);
        QImage image(c.width, c.height, QImage::Format_RGB32);
        CDC dc(&image);
        wnd.OnDraw(&dc);
        if (!c.fit) {
            wnd.SetZoomPercent(100);
            wnd.OnDraw(&dc);
        }
        wnd.SetTool(CAnnotateView::kCaliper);
        wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.from.x, c.from.y));
        wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.to.x, c.to.y));
        wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.to.x, c.to.y));
        const CDrawObjectList& objects = *wnd.GetAnnotateDoc()->GetObjectList();
        ASSERT_EQ(objects.size(), 1u);
        auto* caliper = dynamic_cast<CDrawCalipersB*>(objects[0]);
        ASSERT_NE(caliper, nullptr);
        const CPoint a = wnd.ClientToImage(c.from.x, c.from.y, TRUE);
        const CPoint b = wnd.ClientToImage(c.to.x, c.to.y, TRUE);
        EXPECT_EQ(caliper->GetPoint(0, FALSE), CDoublePoint(a.x, a.y));
        EXPECT_EQ(caliper->GetPoint(1, FALSE), CDoublePoint(b.x, b.y));
        if (c.length > 0) {
            caliper->UpdateLabels();
            EXPECT_DOUBLE_EQ(caliper->GetValue(), c.length);
        }
        wnd.DestroyWindow();
    }
}

// A click on the picture takes the keys from the control that had them, so that the editor's
// keys act on the annotation the click selected.
TEST_F(StreamWndTest, AClickGivesTheEditorTheKeys) {
    CreateWindow();
    m_wnd.SetFrameSource(OpenSource());
    ASSERT_EQ(m_wnd.ShowFrame(0), 1);
    Render();
    QWidget other(m_host.GetQWidget());
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    QApplication::setActiveWindow(m_host.GetQWidget());
    other.setFocus();
    ASSERT_EQ(QApplication::focusWidget(), &other);

    m_wnd.SendMessage(WM_COMMAND, CAnnotateView::kCmdLine);
    m_wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10 * kScale, 10 * kScale));
    m_wnd.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30 * kScale, 10 * kScale));
    m_wnd.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(30 * kScale, 10 * kScale));
    const CDrawObjectList& objects = *m_wnd.GetAnnotateDoc()->GetObjectList();
    ASSERT_EQ(objects.size(), 1u);
    objects[0]->SetSelected(FALSE);

    QTest::mouseClick(m_wnd.GetQWidget(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(20 * kScale, 10 * kScale));
    ASSERT_TRUE(objects[0]->IsSelected());
    QWidget* focus = QApplication::focusWidget();
    ASSERT_EQ(focus, m_wnd.GetQWidget());
    QTest::keyClick(focus, Qt::Key_Down);
    EXPECT_EQ(objects[0]->GetPoint(0, FALSE), CDoublePoint(10, 11));
    QTest::keyClick(focus, Qt::Key_Up);
    QTest::keyClick(focus, Qt::Key_Up);
    EXPECT_EQ(objects[0]->GetPoint(0, FALSE), CDoublePoint(10, 9));
    Prompter().ExpectMessageBox("Delete selected annotation?", IDYES);
    QTest::keyClick(focus, Qt::Key_Delete);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(objects.empty());
}

TEST_F(StreamWndTest, OwnerHearsPaintsAndMouseOutsideZoomAndPanModes) {
    CreateWindow();
    m_wnd.SetFrameSource(OpenSource());
    ASSERT_EQ(m_wnd.ShowFrame(5), 1);

    struct Heard {
        UINT message;
        WPARAM wParam;
        int x, y;
        bool operator==(const Heard&) const = default;
    };
    static std::vector<Heard> heard;
    static int paints;
    heard.clear();
    paints = 0;
    m_wnd.SetPaintCallback(
        [](CWnd*, CDC* dc) {
            ++paints;
            dc->FillSolidRect(CRect(0, 0, 3, 3), 0x00FF00);
        },
        &m_host);
    m_wnd.SetMouseCallback(&m_host, [](CWnd*, UINT message, WPARAM wParam, int x, int y) {
        heard.push_back({message, wParam, x, y});
    });

    const QImage picture = Render();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(At(picture, 1, 1), (Rgb{0, 255, 0}));

    m_wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    m_wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(31, 41));
    m_wnd.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(32, 42));
    m_wnd.SendMessage(WM_SIZE, 0, MAKELPARAM(kClientWidth, kClientHeight));  // not a mouse message
    EXPECT_EQ(heard, (std::vector<Heard>{{WM_LBUTTONDOWN, MK_LBUTTON, 30, 40},
                                         {WM_MOUSEMOVE, 0, 31, 41},
                                         {WM_RBUTTONUP, 0, 32, 42}}));

    heard.clear();
    m_wnd.SendMessage(WM_COMMAND, CPanZoomView::kZoomMode);
    m_wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    m_wnd.SendMessage(WM_COMMAND, CPanZoomView::kPanMode);
    m_wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, 40));
    EXPECT_TRUE(heard.empty());
    m_wnd.SendMessage(WM_COMMAND, CPanZoomView::kPanMode);
    m_wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(33, 44));
    EXPECT_EQ(heard.size(), 1u);

    // Once the owner's window is gone it hears nothing.
    heard.clear();
    paints = 0;
    CWnd other;
    ASSERT_TRUE(other.Create(nullptr, "other", 0, CRect(0, 0, 10, 10), nullptr, 0));
    m_wnd.SetMouseCallback(&other, [](CWnd*, UINT, WPARAM, int, int) { heard.push_back({}); });
    m_wnd.SetPaintCallback([](CWnd*, CDC*) { ++paints; }, &other);
    other.DestroyWindow();
    m_wnd.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    Render();
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(paints, 0);
}

TEST_F(StreamWndTest, IsAFitModeViewOwnedByItsOwner) {
    auto* wnd = static_cast<CStreamWnd*>(RUNTIME_CLASS(CStreamWnd)->CreateObject());
    ASSERT_NE(wnd, nullptr);
    EXPECT_STREQ(wnd->GetRuntimeClass()->m_lpszClassName, "CStreamWnd");
    EXPECT_TRUE(wnd->GetFitMode());
    ASSERT_TRUE(wnd->Create(nullptr, "stream", WS_CHILD, CRect(0, 0, 50, 50), &m_host, 1));
    wnd->DestroyWindow();  // the object stays for its owner to delete
    EXPECT_EQ(wnd->GetSafeHwnd(), nullptr);
    delete wnd;
}

}  // namespace

namespace {

// The owner's side of a frame step: what the last paint was allowed to touch, and a mark that
// follows the frame in the margin beside the picture unless the owner keeps still.
struct StepOwner {
    static inline QRegion painted;
    static inline int markFrame = 0;
    static inline bool still = true;
    static void Paint(CWnd*, CDC* dc) {
        painted = dc->GetPainter()->paintEngine()->systemClip();
        if (!still)
            dc->FillSolidRect(CRect(4 + 3 * markFrame, 10, 10 + 3 * markFrame, 16), 0x00FF00);
    }
    static bool Still(CWnd*) { return still; }
};

}  // namespace

// A frame step repaints only the picture when nothing around or over it can have changed, and
// the window then shows exactly what a whole repaint would; an owner whose drawing follows the
// frame, the information box, or a change to the overlays not yet painted repaints it all.
TEST_F(StreamWndTest, AFrameStepRepaintsOnlyThePictureWhenNothingElseChanges) {
    const struct {
        const char* name;
        bool still;
        bool withCheck;
        bool infoBox;
        bool rulersBeforeStep;
        int wholeSteps;  // Steps that repaint the whole window before the picture alone.
    } cases[] = {
        {"owner keeps still", true, true, false, false, 0},
        {"owner's mark follows the frame", false, true, false, false, 2},
        {"owner says nothing", true, false, false, false, 2},
        {"information box shown", true, true, true, false, 2},
        {"rulers turned on since the last paint", true, true, false, true, 1},
    };
    // Wider than the frame's shape, so that grey margins lie beside the picture.
    const CRect place(0, 0, kClientWidth, kClientHeight / 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CStreamWnd wnd;
        ASSERT_TRUE(wnd.Create(nullptr, "stream", WS_CHILD | WS_VISIBLE, place, &m_host, 10003));
        StepOwner::still = c.still;
        StepOwner::markFrame = 4;
        wnd.SetPaintCallback(&StepOwner::Paint, &m_host, c.withCheck ? &StepOwner::Still : nullptr);
        wnd.SetInfoCorner(c.infoBox ? CPanZoomView::kLowerRight : CPanZoomView::kHidden);
        wnd.ShowReticle(TRUE);
        wnd.SetReticlePosition(30, 40);
        wnd.SetFrameSource(OpenSource());
        ASSERT_EQ(wnd.ShowFrame(4), 1);
        QCoreApplication::processEvents();
        if (c.rulersBeforeStep)
            wnd.ShowRulers(TRUE);

        int step = 0;
        for (const int frame : {5, 6}) {
            StepOwner::markFrame = frame;
            StepOwner::painted = QRegion();
            ASSERT_EQ(wnd.ShowFrame(frame), 1);
            QCoreApplication::processEvents();
            const QRect touched = StepOwner::painted.boundingRect();
            if (step++ >= c.wholeSteps) {
                EXPECT_LT(touched.width(), place.Width()) << frame;
                EXPECT_EQ(touched.height(), place.Height()) << frame;
            } else {
                EXPECT_EQ(touched, QRect(0, 0, place.Width(), place.Height())) << frame;
            }
            const QImage screen = QGuiApplication::primaryScreen()
                                      ->grabWindow(m_host.GetQWidget()->winId())
                                      .toImage()
                                      .convertToFormat(QImage::Format_RGB32);
            QImage whole(place.Width(), place.Height(), QImage::Format_RGB32);
            {
                CDC dc(&whole);
                wnd.OnDraw(&dc);
            }
            for (int y = 0; y < whole.height(); ++y)
                for (int x = 0; x < whole.width(); ++x)
                    ASSERT_EQ(screen.pixel(x, y), whole.pixel(x, y))
                        << "frame " << frame << " at " << x << "," << y;
        }
        wnd.DestroyWindow();
    }
}

namespace {

// The video view a stream window is shown by, as the annotations' movie adapter sees it.
class ShowingView : public IMovieView {
public:
    void MovieSetCurrentFrame(int f, int) override { frame = f; }
    void MovieSetFrame(int f) override {
        frame = f;
        moves.push_back(f);
    }
    int MovieGetCurrentFrame() override { return frame; }
    int MovieGetSourceKind() override { return 2; }
    CFrameSourcePtr MovieGetFrameSource() override { return CFrameSourcePtr(); }
    int MovieGetInPoint(int*) override { return 0; }
    int MovieGetOutPoint(int*) override { return 0; }
    void MovieGetDisplayLuts(CLutParamSet*, CLutParamSet*) override {}
    void MovieSetDisplayLuts(const CLutParamSet&, const CLutParamSet&) override {}
    void MovieSetFrameSource(const CFrameSourcePtr&) override {}
    void MovieSetGroupMember(int, int) override {}
    void MovieSetFrameChangedCallback(FrameChangedFn, void*) override {}
    void MovieNotifyFrameChanged() override {}
    void MovieSetFrameCount(int) override {}

    int frame = 0;
    std::vector<int> moves;
};

TEST_F(StreamWndTest, AnnotationsReadAndMoveTheShowingView) {
    CreateWindow();
    ShowingView view;
    m_wnd.SetMovieView(&view);
    const Timing timing{100, 0, 0, false};
    m_wnd.SetFrameSource(OpenSource(&timing));
    CAnnotateView* editor = m_wnd.GetAnnotateView();
    auto* info =
        dynamic_cast<CDrawInfo*>(editor->CreateObjectOfType(CAnnotateView::kInformation, 0));
    ASSERT_NE(info, nullptr);

    // The information box follows the frame on screen and the window's reticle.
    struct Case {
        int frame;
        CPoint reticle;
    };
    const Case cases[] = {{5, {12, 34}}, {140, {200, 7}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        view.frame = c.frame;
        ASSERT_EQ(m_wnd.ShowFrame(c.frame), 1);
        m_wnd.SetReticlePosition(c.reticle.x, c.reticle.y);
        const QStringList lines = info->BuildLines();
        ASSERT_GE(lines.size(), 5);
        EXPECT_EQ(lines[0], QStringLiteral("Frame: %1").arg(c.frame));
        EXPECT_EQ(lines[4],
                  QStringLiteral("Reticle Posn: %1, %2").arg(c.reticle.x).arg(c.reticle.y));
    }
    // A box made later starts at the reticle as it is.
    auto* later =
        dynamic_cast<CDrawInfo*>(editor->CreateObjectOfType(CAnnotateView::kInformation, 0));
    ASSERT_NE(later, nullptr);
    EXPECT_TRUE(later->BuildLines().contains("Reticle Posn: 200, 7"));

    // A jump note of frame 150, double-clicked on its icon while frame 3 shows, moves the view.
    m_wnd.GetAnnotateDoc()->DeleteAllObjects();
    view.frame = 3;
    ASSERT_EQ(m_wnd.ShowFrame(3), 1);
    CDrawObject* note = editor->CreateObjectOfType(CAnnotateView::kJumpNote, 150);
    ASSERT_NE(note, nullptr);
    note->SetPoint(0, {300.0, 300.0}, TRUE, FALSE);
    note->SetSelected(FALSE);
    Render();
    m_wnd.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(280, 300));
    EXPECT_EQ(view.moves, std::vector<int>{150});
}

}  // namespace
