#include "app/SpanrecApp.h"
#include "app/SplashWnd.h"
#include "frames/SampleRecording.h"
#include "groups/GeneralView.h"
#include "groups/MeasurementView.h"
#include "platform/framework/View.h"
#include "platform/wintypes/Assert.h"
#include "shell/MainFrame.h"
#include "testsupport/IsolatedTest.h"
#include "testsupport/ScriptedPrompter.h"
#include "views/VidView.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

// Starts the program on the sample recording on a real X server of its own and checks what the
// user sees: the recording's frame in the video window, and that Play moves it on.

namespace {

constexpr UINT kPlayButton = 2001;

// Pumps the event loop until done() holds or the deadline passes.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// The region of the screen where widget shows, as the X server holds it.
QImage GrabFromScreen(QWidget* window, QWidget* area) {
    const QPoint origin = area->mapTo(window, QPoint(0, 0));
    const QPixmap shot = window->screen()->grabWindow(window->winId(), origin.x(), origin.y(),
                                                      area->width(), area->height());
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// Mean absolute grey difference between the picture in shot and frame n of the sample, both
// reduced to a coarse grid so that scaling and the recording's fine texture do not count. The
// picture is the bounding box of the pixels that differ from the area's background (its
// corner). Large when the shot holds something else; -1 when no picture is found.
double DistanceToSampleFrame(const QImage& shot, int n) {
    // The window's edge lines are left out; the background is the commonest colour along
    // the ring just inside them.
    constexpr int kInset = 3;
    if (shot.width() <= 2 * kInset || shot.height() <= 2 * kInset)
        return -1;
    std::map<QRgb, int> ring;
    for (int x = kInset; x < shot.width() - kInset; ++x) {
        ++ring[shot.pixel(x, kInset)];
        ++ring[shot.pixel(x, shot.height() - 1 - kInset)];
    }
    for (int y = kInset; y < shot.height() - kInset; ++y) {
        ++ring[shot.pixel(kInset, y)];
        ++ring[shot.pixel(shot.width() - 1 - kInset, y)];
    }
    const QRgb background =
        std::max_element(ring.begin(), ring.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    int left = shot.width(), top = shot.height(), right = -1, bottom = -1;
    for (int y = kInset; y < shot.height() - kInset; ++y) {
        for (int x = kInset; x < shot.width() - kInset; ++x) {
            if (shot.pixel(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < left || bottom < top)
        return -1;
    QImage frame(CSampleRecording::kWidth, CSampleRecording::kHeight, QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const int level = CSampleRecording::Level(n, x, y);
            frame.setPixel(x, y, qRgb(level, level, level));
        }
    const QSize grid(32, 24);
    const QImage shown = shot.copy(left, top, right - left + 1, bottom - top + 1)
                             .scaled(grid, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage wanted = frame.scaled(grid, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    int count = 0;
    // Inner cells only: the picture's edges blend with the background.
    for (int y = 1; y < grid.height() - 1; ++y)
        for (int x = 1; x < grid.width() - 1; ++x, ++count)
            sum += std::abs(qGray(shown.pixel(x, y)) - qGray(wanted.pixel(x, y)));
    return sum / count;
}

// How far the shot is from a single flat colour (0: black, blank or any flat fill).
double Spread(const QImage& shot) {
    double sum = 0, squares = 0;
    const double count = double(shot.width()) * shot.height();
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const int g = qGray(shot.pixel(x, y));
            sum += g;
            squares += double(g) * g;
        }
    }
    const double mean = sum / count;
    return std::sqrt(std::max(0.0, squares / count - mean * mean));
}

template <class T>
T* FindWindowOf() {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* wnd = dynamic_cast<T*>(CWnd::FromWidgetPermanent(widget)))
            return wnd;
    }
    return nullptr;
}

class SampleRecordingShowTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        qputenv("XDG_DATA_HOME", WorkPath("xdg").toUtf8());
    }

    void TearDown() override {
        if (CSplashWnd* splash = CSplashWnd::Current())
            splash->HideSplashScreen();
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        m_app.ExitInstance();
        qunsetenv("XDG_DATA_HOME");
        IsolatedTest::TearDown();
    }

    CSpanrecApp m_app;
};

TEST_F(SampleRecordingShowTest, SampleOpensIntoAProjectAndPlays) {
    m_app.SetArguments({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_TRUE(m_app.InitInstance());
    if (CSplashWnd* splash = CSplashWnd::Current())
        splash->HideSplashScreen();
    auto* frame = dynamic_cast<CMainFrame*>(m_app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    QWidget* window = frame->GetQWidget();
    // The bare server has no window manager to maximise the window: size it as one would.
    window->setGeometry(window->screen()->availableGeometry());
    ASSERT_TRUE(
        WaitFor([&] { return window->windowHandle() && window->windowHandle()->isExposed(); }));

    CVidView* video = FindWindowOf<CVidView>();
    ASSERT_NE(video, nullptr) << "no video window";
    EXPECT_NE(FindWindowOf<CMeasurementView>(), nullptr) << "no play group";
    EXPECT_NE(FindWindowOf<CGeneralView>(), nullptr) << "no project";
    CPlayControlTab* page = FindWindowOf<CPlayControlTab>();
    ASSERT_NE(page, nullptr) << "no play-control page";
    QWidget* area = video->GetQWidget();
    ASSERT_TRUE(area->isVisible());

    // The first frame shown is the recording's, not a black or empty area.
    QImage before;
    const bool shown = WaitFor([&] {
        before = GrabFromScreen(window, area);
        return Spread(before) > 10;
    });
    ASSERT_TRUE(shown) << "the video area is flat";
    const int firstFrame = page->GetDlgItemText(CPlayControlTab::kFrameField).toInt();
    EXPECT_EQ(firstFrame, CSampleRecording::kFirstFrame);
    // The first frame of the recording, where the disc is; not merely some texture.
    const double distance = DistanceToSampleFrame(before, 0);
    EXPECT_GE(distance, 0) << "no picture in the video area";
    EXPECT_LT(distance, 6.0) << "the video area does not show the recording's first frame";
    EXPECT_GT(DistanceToSampleFrame(before, CSampleRecording::kFrames / 4), distance + 2)
        << "the picture does not tell the first frame from a later one";

    EXPECT_TRUE(WaitFor([&] { return page->GetListedCount() == 1; }, 3000))
        << "the page lists " << page->GetListedCount() << " playbacks";

    // Play, pressed as the user presses it.
    auto* play = qobject_cast<QAbstractButton*>(page->GetDlgItem(kPlayButton)->GetQWidget());
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->visibleRegion().boundingRect(), play->rect()) << "Play is not wholly in view";
    play->click();
    QImage after;
    const bool moved = WaitFor(
        [&] { return page->GetDlgItemText(CPlayControlTab::kFrameField).toInt() > firstFrame; });
    EXPECT_TRUE(moved) << "the frame number stays at " << firstFrame;
    const bool changed = WaitFor([&] {
        after = GrabFromScreen(window, area);
        return after != before && Spread(after) > 10;
    });
    EXPECT_TRUE(changed) << "the video area did not change";
}

}  // namespace

// The test runs on an X server of its own, started on a free display before the application.
int main(int argc, char** argv) {
    QProcess server;
    // RM_E2E_DISPLAY names a running X server to use instead, to watch the test run.
    if (!qEnvironmentVariableIsSet("RM_E2E_DISPLAY")) {
        // -displayfd: the server picks a free display and writes its number to stdout.
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server.waitForStarted(10000) || !server.waitForReadyRead(10000)) {
            fprintf(stderr, "Xvfb could not be started\n");
            return 1;
        }
        const QByteArray display = server.readAllStandardOutput().trimmed();
        qputenv("DISPLAY", ":" + display);
    } else {
        qputenv("DISPLAY", qgetenv("RM_E2E_DISPLAY"));
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    SetAssertMode(AssertMode::Abort);
    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        ScriptedPrompter noDialogs;
        result = RUN_ALL_TESTS();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (server.state() != QProcess::NotRunning) {
        server.terminate();
        server.waitForFinished(5000);
    }
    return result;
}
