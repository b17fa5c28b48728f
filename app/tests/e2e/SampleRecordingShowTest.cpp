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

#include <cmath>
#include <functional>

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

// Mean absolute difference between the picture in shot and frame n of the sample, over the
// bounding box of the picture (the pixels that differ from the area's background, taken from
// its corner). Large when the shot holds something else; -1 when no picture is found.
double DistanceToSampleFrame(const QImage& shot, int n) {
    const QRgb background = shot.pixel(0, 0);
    int left = shot.width(), top = shot.height(), right = -1, bottom = -1;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
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
    const int w = right - left + 1;
    const int h = bottom - top + 1;
    double sum = 0;
    int count = 0;
    // Inner part only: edges of a scaled picture blend with the background.
    for (int y = h / 8; y < h - h / 8; y += 2) {
        for (int x = w / 8; x < w - w / 8; x += 2) {
            const int sx = x * CSampleRecording::kWidth / w;
            const int sy = y * CSampleRecording::kHeight / h;
            sum +=
                std::abs(qGray(shot.pixel(left + x, top + y)) - CSampleRecording::Level(n, sx, sy));
            ++count;
        }
    }
    return count ? sum / count : -1;
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
    before.save(WorkPath("before.png"));
    if (qEnvironmentVariableIsSet("RM_E2E_DUMP"))
        window->screen()->grabWindow(window->winId()).save(qEnvironmentVariable("RM_E2E_DUMP") + "/window-before.png");
    ASSERT_TRUE(shown) << "the video area is flat";
    const int firstFrame = page->GetDlgItemText(CPlayControlTab::kFrameField).toInt();
    double distance = 1e9;
    for (int n = 0; n < CSampleRecording::kFrames; ++n) {
        const double d = DistanceToSampleFrame(before, n);
        if (d >= 0)
            distance = std::min(distance, d);
    }
    EXPECT_LT(distance, 12.0) << "the video area does not show a frame of the recording";

    // Play, pressed as the user presses it.
    auto* play = qobject_cast<QAbstractButton*>(page->GetDlgItem(kPlayButton)->GetQWidget());
    ASSERT_NE(play, nullptr);
    play->click();
    QImage after;
    const bool moved = WaitFor(
        [&] { return page->GetDlgItemText(CPlayControlTab::kFrameField).toInt() > firstFrame; });
    EXPECT_TRUE(moved) << "the frame number stays at " << firstFrame;
    const bool changed = WaitFor([&] {
        after = GrabFromScreen(window, area);
        return after != before && Spread(after) > 10;
    });
    after.save(WorkPath("after.png"));
    if (qEnvironmentVariableIsSet("RM_E2E_DUMP"))
        window->screen()->grabWindow(window->winId()).save(qEnvironmentVariable("RM_E2E_DUMP") + "/window-after.png");
    EXPECT_TRUE(changed) << "the video area did not change";
}

}  // namespace

// The test runs on an X server of its own, started on a free display before the application.
int main(int argc, char** argv) {
    QProcess server;
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
