#include "app/tests/e2e/E2eSupport.h"
#include "platform/framework/Menu.h"
#include "platform/framework/ResourceChain.h"
#include "shell/MainFrame.h"
#include "tracking/CalibrationPanel.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/VideoAnalysis.h"
#include "tracking/tests/TrackingImages.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"
#include "views/ZoomTransform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
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

// Opens the view's context menu as a right click does and chooses the item with text.
bool ChooseFromContextMenu(CVidView* view, const QString& text, bool* checked = nullptr) {
    bool found = false;
    const PopupMenuTracker previous =
        AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint&) -> QAction* {
            QAction* item = FindItem(menu, text);
            found = item != nullptr;
            if (item && checked)
                *checked = item->isChecked();
            return checked ? nullptr : item;
        });
    CStreamWnd* stream = view->GetStreamWnd();
    CRect client;
    stream->GetClientRect(&client);
    CPoint centre = client.CenterPoint();
    stream->ClientToScreen(&centre);
    stream->SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(centre.x, centre.y));
    AfxSetPopupMenuTracker(previous);
    return found;
}

int CountNear(const QImage& shot, QRgb colour) {
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            if (std::abs(qRed(p) - qRed(colour)) < 40 &&
                std::abs(qGreen(p) - qGreen(colour)) < 40 &&
                std::abs(qBlue(p) - qBlue(colour)) < 40)
                ++count;
        }
    return count;
}

using TrackingFlowTest = ProgramTest;

TEST_F(TrackingFlowTest, AFeatureSetByClickIsTrackedAutomaticallyAndShownAsATrail) {
    const QString path = WorkPath(QStringLiteral("target.raw"));
    ASSERT_TRUE(WriteRawRecording(path, kWidth, kHeight, 8, kFrames, [](int f) {
        CMImage image;
        RenderScene(image, kWidth, kHeight, {Feature{PathX(f), PathY(f), 0.0, 5.5, 5.5, 200, 1.5}},
                    static_cast<unsigned>(f));
        return RawFrameOf(image);
    }));
    CMainFrame* frame = StartProgram({path});
    ASSERT_NE(frame, nullptr);
    QWidget* window = frame->GetQWidget();
    ASSERT_EQ(VideoViews().size(), 1u);
    CVidView* video = VideoViews().front();
    auto* analysis = dynamic_cast<CVideoAnalysis*>(video->GetAnalysisOverlays());
    ASSERT_NE(analysis, nullptr) << "the video window has no analysis objects";
    CStreamWnd* stream = video->GetStreamWnd();
    QWidget* area = stream->GetQWidget();
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, area)) > 10; }));
    ASSERT_EQ(video->GetCurrentFrame(), 0);

    // Click the target with the reticle shown.
    bool reticle = false;
    video->IsReticleShown(&reticle);
    if (!reticle) {
        ASSERT_TRUE(ChooseFromContextMenu(video, "Show Reticle"));
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

    ASSERT_TRUE(ChooseFromContextMenu(video, "Set Feature"));
    CTrackFeatureSet& set = analysis->GetFeatureSet();
    bool found = false;
    CTrackPoint start;
    set.GetPoint(0, 0, &found, &start);
    ASSERT_TRUE(found) << "no feature set at the click";
    ASSERT_TRUE(ChooseFromContextMenu(video, "Show Whole Trail"));
    video->SetCurrentFrame(0, 0);
    QApplication::processEvents();
    const int redBefore = CountNear(GrabFromScreen(window, area), qRgb(255, 0, 0));
    ASSERT_TRUE(ChooseFromContextMenu(video, "Start Auto Tracking"));

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
    bool shown = true;
    ASSERT_TRUE(ChooseFromContextMenu(video, "View Calibration", &shown));
    EXPECT_FALSE(shown);
    ASSERT_TRUE(ChooseFromContextMenu(video, "View Calibration"));
    ASSERT_TRUE(ChooseFromContextMenu(video, "View Calibration", &shown));
    EXPECT_TRUE(shown);
    ASSERT_TRUE(ChooseFromContextMenu(video, "Calibration Panel..."));
    ASSERT_NE(CResourceChain::FindDialog(CCalibrationPanel::kTemplate), nullptr);
    CCalibrationPanel* panel = CCalibrationPanel::Existing();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->IsWindowVisible());
    EXPECT_EQ(panel->GetContext(), analysis);

    // Clear All Forward takes the tracks from the current frame on.
    video->SetCurrentFrame(50, 0);
    ASSERT_TRUE(ChooseFromContextMenu(video, "Clear All Forward"));
    set.GetPoint(60, 0, &found, &start);
    EXPECT_FALSE(found);
    set.GetPoint(40, 0, &found, &start);
    EXPECT_TRUE(found);
}

}  // namespace
