#include "app/tests/e2e/E2eSupport.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/Menu.h"
#include "shell/MainFrame.h"
#include "views/AnnotateDoc.h"
#include "views/AnnotateView.h"
#include "views/DrawCalipers.h"
#include "views/DrawCalipersB.h"
#include "views/DrawInfo.h"
#include "views/DrawLengthCalibration.h"
#include "views/DrawObject.h"
#include "views/MeasurePointNote.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <cmath>

// A user calibrates a length over the sample video, measures with a caliper in that unit, and
// adds a frame slider, the information box, a goto note and a measure point from the video's
// context menu; the information box reports the measure point.

namespace {

// The titles of the windows shown while it is installed.
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    QStringList titles;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow())
            titles << widget->windowTitle();
        return false;
    }
};

using MeasurementFlow = ProgramTest;

TEST_F(MeasurementFlow, CalibrateMeasureAndReportFromTheToolsMenu) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CVidView* video = FindWindowOf<CVidView>();
    ASSERT_NE(video, nullptr);
    CStreamWnd* stream = video->GetStreamWnd();
    ASSERT_NE(stream, nullptr);
    QWidget* area = stream->GetQWidget();
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, area)) > 10; }));
    video->ShowReticle(false);
    CAnnotateView* editor = stream->GetAnnotateView();
    CDrawObjectList& objects = *stream->GetAnnotateDoc()->GetObjectList();
    const int w = area->width();
    const int h = area->height();

    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Add Scale Calibration"));
    EXPECT_EQ(editor->GetTool(), CAnnotateView::kLengthCalibration);
    // Placing the calibration opens its properties: the user enters 10 millimetres.
    QString caption;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = dynamic_cast<CDialog*>(CWnd::FromWidget(QApplication::activeModalWidget()));
        if (!dialog)
            return;
        answer.stop();
        caption = dialog->GetQWidget()->windowTitle();
        qobject_cast<QLineEdit*>(dialog->GetDlgItem(2206)->GetQWidget())->setText("10");
        qobject_cast<QComboBox*>(dialog->GetDlgItem(2205)->GetQWidget())->setCurrentIndex(3);
        qobject_cast<QAbstractButton*>(dialog->GetDlgItem(IDOK)->GetQWidget())->click();
    });
    answer.start(50);
    ShownWindows shown;
    Drag(area, {w / 4, h / 5}, {w * 3 / 4, h / 5});
    answer.stop();
    EXPECT_EQ(caption, "Length Calibration Properties");
    // The font names were gathered under the wait box before the dialog showed.
    EXPECT_TRUE(shown.titles.contains("Draw Properties: Please Wait"))
        << shown.titles.join('|').toStdString();
    ASSERT_EQ(objects.size(), 1u);
    ASSERT_EQ(objects[0]->GetType(), 11);
    CCalibrationData calibration;
    static_cast<CDrawLengthCalibration*>(objects[0])->GetCalibration(&calibration);
    double distance = 0.0;
    int units = -1;
    calibration.GetDistance(&distance);
    calibration.GetUnits(&units);
    EXPECT_EQ(distance, 10.0);
    EXPECT_EQ(units, 3);

    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Add Caliper"));
    Drag(area, {w / 4, h / 2}, {w / 2, h / 2});
    ASSERT_EQ(objects.size(), 2u);
    auto* caliper = dynamic_cast<CDrawCalipersB*>(objects[1]);
    ASSERT_NE(caliper, nullptr);
    EXPECT_FALSE(caliper->GetSeparateFrames());
    // Drawn in the calibration's unit: about half the calibrated line, 5 mm.
    EXPECT_TRUE(WaitFor([&] { return caliper->GetLabel(0).endsWith(QStringLiteral(" mm")); }))
        << caliper->GetLabel(0).toStdString();

    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Add Velocity Caliper"));
    Drag(area, {w / 4, h * 2 / 3}, {w / 2, h * 2 / 3});
    ASSERT_EQ(objects.size(), 3u);
    ASSERT_EQ(objects[2]->GetType(), 10);
    EXPECT_TRUE(static_cast<CDrawCalipersB*>(objects[2])->GetSeparateFrames());

    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Frame Slider"));
    Drag(area, {10, h - 40}, {w - 10, h - 10});
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_EQ(objects[3]->GetType(), 13);

    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Add Goto Note"));
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, {w / 2, h / 3});
    ASSERT_EQ(objects.size(), 5u);
    EXPECT_EQ(objects[4]->GetType(), 12);

    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Add Measurement Point."));
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, {w * 3 / 4, h * 3 / 4});
    ASSERT_EQ(objects.size(), 6u);
    EXPECT_EQ(objects[5]->GetType(), 15);

    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Video Information."));
    Drag(area, {20, 20}, {40, 40});
    ASSERT_EQ(objects.size(), 7u);
    auto* info = dynamic_cast<CDrawInfo*>(objects[6]);
    ASSERT_NE(info, nullptr);
    const int pointFrame = objects[5]->GetFrame();
    EXPECT_TRUE(WaitFor([&] {
        return info->BuildLines().contains(QStringLiteral("Point 2: 0, 0 (Frame -1)")) &&
               info->BuildLines().filter(QStringLiteral("(Frame %1)").arg(pointFrame)).size() == 1;
    }));
    EXPECT_TRUE(info->BuildLines().filter(QStringLiteral("Distance:")).first().endsWith("mm"));

    // A second measure point, then a caliper dragged from the first point's handle onto it:
    // the caliper joins the two points and follows them.
    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Add Measurement Point."));
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, {w / 4, h * 3 / 4});
    ASSERT_EQ(objects.size(), 8u);
    auto* first = dynamic_cast<CMeasurePointNote*>(objects[5]);
    auto* second = dynamic_cast<CMeasurePointNote*>(objects[7]);
    ASSERT_TRUE(first && second);
    ASSERT_TRUE(WaitFor([&] { return second->GetMarkerScreenPosition().x >= 0; }));
    const QPoint marker(first->GetMarkerScreenPosition().x, first->GetMarkerScreenPosition().y);
    const QPoint target(second->GetMarkerScreenPosition().x, second->GetMarkerScreenPosition().y);
    // A click on the point shows its buttons; the drag handle stands above the marker.
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, marker);
    ASSERT_TRUE(WaitFor([&] { return first->ShowsPart(CMeasurePointNote::kDragHandle); }));
    Drag(area, marker - QPoint(0, CMeasurePointNote::kButtonSpacing), target);
    ASSERT_EQ(objects.size(), 9u);
    auto* linked = dynamic_cast<CDrawCalipers*>(objects[0]);
    ASSERT_NE(linked, nullptr) << "no caliper between the measure points";
    EXPECT_EQ(linked->GetType(), 16);
    const CDoublePoint a = first->GetPoint(0, FALSE);
    const CDoublePoint b = second->GetPoint(0, FALSE);
    EXPECT_NEAR(linked->GetPoint(0, FALSE).x, a.x, 1.0);
    EXPECT_NEAR(linked->GetPoint(1, FALSE).x, b.x, 1.0);
    EXPECT_NEAR(linked->GetPoint(1, FALSE).y, b.y, 1.0);
    // The second point dragged away takes the caliper's end with it.
    const QPoint moved = target + QPoint(0, -h / 8);
    Drag(area, target, moved);
    EXPECT_TRUE(WaitFor([&] {
        return std::abs(linked->GetPoint(1, FALSE).y - second->GetPoint(0, FALSE).y) < 0.5 &&
               second->GetPoint(0, FALSE).y < b.y - 1.0;
    }));
}

}  // namespace
