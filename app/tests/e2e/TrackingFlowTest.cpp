#include "app/tests/e2e/E2eSupport.h"
#include "groups/GeneralFrame.h"
#include "groups/MeasurementFormFrame.h"
#include "platform/framework/Menu.h"
#include "platform/framework/ResourceChain.h"
#include "shell/MainFrame.h"
#include "tracking/CalibrationPanel.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/VideoAnalysis.h"
#include "tracking/tests/TrackingImages.h"
#include "views/AnnotateDoc.h"
#include "views/AnnotateView.h"
#include "views/DrawLengthCalibration.h"
#include "views/MeasurePointNote.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"
#include "views/ZoomTransform.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTest>

#include <cmath>
#include <vector>

// A user opens a recording of a moving target, sets a feature on it with a click and the video
// window's "Tracking" menu, tracks it automatically to the end and sees its trail; then shows
// the calibration axes and opens the calibration panel.

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr int kFrames = 110;
// The play controls' Step Forward button.
constexpr int kStepForwardButton = 2005;

double PathX(int f) {
    return 30.0 + 0.8 * f;
}
double PathY(int f) {
    return 40.0 + 0.4 * f;
}

std::vector<CVidView*> VideoViews() {
    std::vector<CVidView*> views;
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* view = dynamic_cast<CVidView*>(CWnd::FromWidgetPermanent(widget)))
            views.push_back(view);
    return views;
}

class TrackingFlowTest : public ProgramTest {
protected:
    // Opens a recording of the moving target and sets a feature on it with a click and the
    // video window's menu.
    void OpenTargetAndSetFeature() {
        const QString path = WorkPath(QStringLiteral("target.raw"));
        ASSERT_TRUE(WriteRawRecording(path, kWidth, kHeight, 8, kFrames, [](int f) {
            CMImage image;
            RenderScene(image, kWidth, kHeight,
                        {Feature{PathX(f), PathY(f), 0.0, 5.5, 5.5, 200, 1.5}},
                        static_cast<unsigned>(f));
            return RawFrameOf(image);
        }));
        CMainFrame* frame = StartProgram({path});
        ASSERT_NE(frame, nullptr);
        window = frame->GetQWidget();
        ASSERT_EQ(VideoViews().size(), 1u);
        video = VideoViews().front();
        analysis = dynamic_cast<CVideoAnalysis*>(video->GetAnalysisOverlays());
        ASSERT_NE(analysis, nullptr) << "the video window has no analysis objects";
        CStreamWnd* stream = video->GetStreamWnd();
        area = stream->GetQWidget();
        ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, area)) > 10; }));
        ASSERT_EQ(video->GetCurrentFrame(), 0);

        // Click the target with the reticle shown.
        bool reticle = false;
        video->IsReticleShown(&reticle);
        if (!reticle) {
            ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Show Reticle"));
        }
        CZoomTransform* transform = nullptr;
        ASSERT_EQ(video->GetZoomTransform(&transform), S_OK);
        double wx = 0;
        double wy = 0;
        transform->ImageToWindow(PathX(0), PathY(0), CZoomTransform::kCentre, &wx, &wy);
        transform->Release();
        QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier,
                          QPoint(static_cast<int>(wx), static_cast<int>(wy)));
        double rx = 0;
        double ry = 0;
        ASSERT_TRUE(WaitFor([&] {
            return video->GetReticlePosition(&rx, &ry) == S_OK && std::abs(rx - PathX(0)) < 2 &&
                   std::abs(ry - PathY(0)) < 2;
        })) << "the reticle is at "
            << rx << "," << ry;

        ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Set Feature"));
        bool found = false;
        CTrackPoint start;
        analysis->GetFeatureSet().GetPoint(0, 0, &found, &start);
        ASSERT_TRUE(found) << "no feature set at the click";
    }

    QWidget* window = nullptr;
    QWidget* area = nullptr;
    CVidView* video = nullptr;
    CVideoAnalysis* analysis = nullptr;
};

TEST_F(TrackingFlowTest, AFeatureSetByClickIsTrackedAutomaticallyAndShownAsATrail) {
    OpenTargetAndSetFeature();
    if (HasFatalFailure())
        return;
    CTrackFeatureSet& set = analysis->GetFeatureSet();
    CStreamWnd* stream = video->GetStreamWnd();
    bool found = false;
    CTrackPoint start;
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Show Whole Trail"));
    video->SetCurrentFrame(0, 0);
    QApplication::processEvents();
    const int redBefore = CountNear(GrabFromScreen(window, area), qRgb(255, 0, 0));
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Start Auto Tracking"));

    for (int f = 1; f <= 100; ++f) {
        CTrackPoint p;
        set.GetPoint(f, 0, &found, &p);
        ASSERT_TRUE(found) << "frame " << f << " was not tracked";
        double x = 0;
        double y = 0;
        p.GetPosition(&x, &y);
        EXPECT_NEAR(x * 0.1, PathX(f), 2.0) << f;
        EXPECT_NEAR(y * 0.1, PathY(f), 2.0) << f;
    }
    // The trail: the feature's red markers along the whole path.
    EXPECT_TRUE(WaitFor([&] {
        return CountNear(GrabFromScreen(window, area), qRgb(255, 0, 0)) > redBefore + 150;
    })) << "no trail on the video";

    // The calibration axes and the calibration panel are in the same menus.
    ContextMenuChoice axes = ChooseFromContextMenu(video->GetStreamWnd(), "View Calibration", true);
    ASSERT_TRUE(axes);
    EXPECT_FALSE(axes.checked);
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "View Calibration"));
    axes = ChooseFromContextMenu(video->GetStreamWnd(), "View Calibration", true);
    ASSERT_TRUE(axes);
    EXPECT_TRUE(axes.checked);
    // The calibration panel is the play group's: its page sits in the project's control panel
    // with the group's Playback page and comes to the front, on the video the menu was opened
    // on.
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Calibration Panel..."));
    auto* group = FindWindowOf<CMeasurementFormFrame>();
    ASSERT_NE(group, nullptr);
    auto* panel = dynamic_cast<CCalibrationPanel*>(group->GetCalibrationPanel());
    ASSERT_NE(panel, nullptr);
    auto* project = FindWindowOf<CGeneralFrame>();
    ASSERT_NE(project, nullptr);
    CControlPanelBar& bar = project->GetControlPanelBar();
    EXPECT_EQ(bar.GetTabCtrl().GetItemText(bar.GetCurTab()), QStringLiteral("Calibration"));
    EXPECT_TRUE(WaitFor([&] { return panel->IsWindowVisible() != FALSE; }));
    // On the screen, not only shown: the page's buttons are painted where the user sees them.
    QWidget* page = panel->GetQWidget();
    EXPECT_GT(Spread(GrabFromScreen(window, page)), 10);
    EXPECT_EQ(page->window(), window);
    EXPECT_EQ(panel->GetContext(), analysis);

    // The scale: the reticle put on two points a known distance apart, 2 metres, applied to
    // the video from the panel.
    const auto imageToWindow = [&](double x, double y, int mode = CZoomTransform::kCentre) {
        CZoomTransform* t = nullptr;
        video->GetZoomTransform(&t);
        double px = 0;
        double py = 0;
        t->ImageToWindow(x, y, mode, &px, &py);
        t->Release();
        return QPoint(static_cast<int>(px), static_cast<int>(py));
    };
    const auto putReticle = [&](double x, double y) {
        QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, imageToWindow(x, y));
        double at = -1;
        double unused = 0;
        return WaitFor([&] {
            return video->GetReticlePosition(&at, &unused) == S_OK && std::abs(at - x) < 2;
        });
    };
    ASSERT_TRUE(putReticle(20, 60));
    Click(panel, CCalibrationPanel::kSetPoint1);
    ASSERT_TRUE(putReticle(120, 60));
    Click(panel, CCalibrationPanel::kSetPoint2);
    panel->GetDlgItem(CCalibrationPanel::kDistance)->SetWindowText(QStringLiteral("2"));
    auto* units =
        qobject_cast<QComboBox*>(panel->GetDlgItem(CCalibrationPanel::kUnits)->GetQWidget());
    ASSERT_NE(units, nullptr);
    units->setCurrentIndex(2);  // Meters
    Click(panel, CCalibrationPanel::kApplyScale);
    BYTE calibrated = 0;
    analysis->GetSettings().IsCalibrated(&calibrated);
    EXPECT_EQ(calibrated, 1);
    CCalibrationData applied;
    analysis->GetSettings().GetCalibration(&applied);
    double pixelsPerMetre = 0;
    int appliedUnits = -1;
    applied.GetPixelsPerUnit(&pixelsPerMetre);
    applied.GetUnits(&appliedUnits);
    EXPECT_EQ(appliedUnits, 2);
    EXPECT_NEAR(pixelsPerMetre, 50.0, 1.0);
    EXPECT_EQ(panel->GetUnitsText(), QStringLiteral("m"));

    // A length calibration read from an annotation file measures in the recording's units.
    const QString annotations = WorkPath(QStringLiteral("scale.ant"));
    {
        CAnnotateDoc saved;
        auto* line = new CDrawLengthCalibration;
        line->SetPoint(0, {10.0, 10.0}, TRUE, FALSE);
        line->SetPoint(1, {10.0, 110.0}, TRUE, FALSE);
        saved.GetObjectList()->push_back(line);
        ASSERT_TRUE(saved.SaveAnnotations(annotations, TRUE));
    }
    CDrawObjectList& objects = *stream->GetAnnotateDoc()->GetObjectList();
    ASSERT_TRUE(objects.empty());
    Prompter().AnswerFileDialog({annotations});
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Open Annotations..."));
    ASSERT_EQ(objects.size(), 1u);
    auto* loaded = dynamic_cast<CDrawLengthCalibration*>(objects[0]);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->BuildLabel(), QStringLiteral("2m ( 50 pixels/m)"));

    // The tracked points become measurement points on their frames; one dragged on its frame
    // moves the track there when the play control steps on.
    ASSERT_TRUE(
        ChooseFromContextMenu(video->GetStreamWnd(), "Show Track Points as Measurement Points"));
    int tracked = 0;
    for (int f = 0; f < kFrames; ++f) {
        CTrackPoint p;
        set.GetPoint(f, 0, &found, &p);
        tracked += found ? 1 : 0;
    }
    std::vector<CDrawObject*> points;
    stream->GetAnnotateView()->GetMeasurePoints(&points);
    EXPECT_EQ(static_cast<int>(points.size()), tracked);
    CMeasurePointNote* atFifty = nullptr;
    for (CDrawObject* p : points)
        if (p->GetFrame() == 50)
            atFifty = dynamic_cast<CMeasurePointNote*>(p);
    ASSERT_NE(atFifty, nullptr);
    CTrackPoint before;
    set.GetPoint(50, 0, &found, &before);
    double bx = 0;
    double by = 0;
    before.GetPosition(&bx, &by);
    EXPECT_NEAR(atFifty->GetPoint(0, FALSE).x, bx * 0.1, 0.05);
    video->SetCurrentFrame(50, 0);
    // The marker as drawn, in the window; the user drags it a little down and right.
    ASSERT_TRUE(WaitFor([&] { return atFifty->GetMarkerScreenPosition().x >= 0; }));
    const QPoint marker(atFifty->GetMarkerScreenPosition().x, atFifty->GetMarkerScreenPosition().y);
    EXPECT_LE(
        (marker - imageToWindow(bx * 0.1, by * 0.1, CZoomTransform::kCorner)).manhattanLength(), 2);
    const QPoint dropped = marker + QPoint(20, 20);
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, marker);
    QTest::mouseMove(area, (marker + dropped) / 2);
    QTest::mouseMove(area, dropped);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, dropped);
    const CDoublePoint movedTo = atFifty->GetPoint(0, FALSE);
    EXPECT_GT(movedTo.x, bx * 0.1 + 1.0);
    EXPECT_GT(movedTo.y, by * 0.1 + 1.0);
    auto* playPage = FindWindowOf<CPlayControlTab>();
    ASSERT_NE(playPage, nullptr);
    Click(playPage, kStepForwardButton);
    CTrackPoint after;
    EXPECT_TRUE(WaitFor([&] {
        set.GetPoint(50, 0, &found, &after);
        double ax = 0;
        double ay = 0;
        after.GetPosition(&ax, &ay);
        return found && ax == std::lround(movedTo.x * 10) && ay == std::lround(movedTo.y * 10);
    })) << "the track at frame 50 did not follow its measurement point";

    // Clear All Forward takes the tracks from the current frame on.
    video->SetCurrentFrame(50, 0);
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Clear All Forward"));
    set.GetPoint(60, 0, &found, &start);
    EXPECT_FALSE(found);
    set.GetPoint(40, 0, &found, &start);
    EXPECT_TRUE(found);
}

// The user closes the project window while the run is under way: the run stops as Stop Auto
// Tracking stops it, keeping the points it found, and only then does the project close.
TEST_F(TrackingFlowTest, ClosingTheProjectDuringAnAutomaticRunStopsTheRunFirst) {
    OpenTargetAndSetFeature();
    if (HasFatalFailure())
        return;
    CTrackFeatureSet& set = analysis->GetFeatureSet();
    CGeneralFrame* project = FindWindowOf<CGeneralFrame>();
    ASSERT_NE(project, nullptr) << "no project window";
    video->SetCurrentFrame(0, 0);
    QApplication::processEvents();

    // From the run's own message loop, once it has tracked 20 frames.
    bool closedDuringRun = false;
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [&, timer] {
        bool found = false;
        CTrackPoint p;
        set.GetPoint(20, 0, &found, &p);
        if (!found)
            return;
        timer->stop();
        timer->deleteLater();
        bool tracking = false;
        set.IsTracking(&tracking);
        closedDuringRun = tracking;
        project->GetQWidget()->close();
    });
    timer->start();
    ASSERT_TRUE(ChooseFromContextMenu(video->GetStreamWnd(), "Start Auto Tracking"));
    ASSERT_TRUE(closedDuringRun) << "the run ended before the close came";
    // Stopped early, with what it found kept, and the project still there for its close.
    bool found = false;
    CTrackPoint p;
    set.GetPoint(20, 0, &found, &p);
    EXPECT_TRUE(found);
    set.GetPoint(kFrames - 1, 0, &found, &p);
    EXPECT_FALSE(found) << "the run went on to the end";
    EXPECT_EQ(FindWindowOf<CGeneralFrame>(), project);

    EXPECT_TRUE(WaitFor([] { return FindWindowOf<CGeneralFrame>() == nullptr; }, 5000));
    EXPECT_TRUE(VideoViews().empty());
    EXPECT_EQ(m_app.m_pMainWnd != nullptr, true);
    EXPECT_TRUE(window->isVisible()) << "the program went with the project";
}

}  // namespace
