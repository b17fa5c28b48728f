#include "app/tests/e2e/E2eSupport.h"
#include "groups/GeneralFrame.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QMainWindow>
#include <QProcess>
#include <QTabBar>
#include <QTest>

// The sample opens into a project; the user shows its control panel from the View menu, picks
// the "Image Process" tab and types a brightness into the look-up-table editor: the picture on
// the screen gets brighter at once, and Reset brings it back.

namespace {

using LutColorAdjustFlow = ProgramTest;

// The editor's brightness field of the red channel, and its Reset button.
constexpr int kBrightnessRed = 1407;
constexpr int kReset = 1413;

template <class T>
T* EditorControl(QWidget* page, int id) {
    for (T* widget : page->findChildren<T*>())
        if (widget->property("controlId").toInt() == id)
            return widget;
    return nullptr;
}

double MeanGrey(const QImage& shot) {
    double sum = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            sum += qGray(shot.pixel(x, y));
    return sum / std::max(1, shot.width() * shot.height());
}

TEST_F(LutColorAdjustFlow, BrightnessFromTheImageProcessPageShowsInThePicture) {
    QProcess regsvr;
    regsvr.start(QStringLiteral(RM_REGSVR), {QStringLiteral(RM_LEVORA_MODULE)});
    ASSERT_TRUE(regsvr.waitForFinished(60000));
    ASSERT_EQ(regsvr.exitCode(), 0) << regsvr.readAll().toStdString();

    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CVidView* video = FindWindowOf<CVidView>();
    ASSERT_NE(video, nullptr);
    CGeneralFrame* project = FindWindowOf<CGeneralFrame>();
    ASSERT_NE(project, nullptr);
    QWidget* area = video->GetQWidget();
    QImage before;
    ASSERT_TRUE(WaitFor([&] {
        before = GrabFromScreen(window, area);
        return Spread(before) > 10;
    })) << "the video area is flat";

    CControlPanelBar& panel = project->GetControlPanelBar();
    if (!panel.IsVisible()) {
        QAction* show = MenuAction(window, QStringLiteral("View/Control Panel"));
        ASSERT_NE(show, nullptr);
        show->trigger();
    }
    ASSERT_TRUE(WaitFor([&] { return panel.IsVisible(); })) << "View/Control Panel";
    auto* tabs = qobject_cast<QTabBar*>(panel.GetTabCtrl().GetQWidget());
    ASSERT_NE(tabs, nullptr);
    int imageTab = -1;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == QStringLiteral("Image Process"))
            imageTab = i;
    ASSERT_GE(imageTab, 0) << "no Image Process tab";
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(imageTab).center());
    QWidget* page = project->GetImageProcessPage().GetQWidget();
    ASSERT_TRUE(WaitFor([&] { return page->isVisible(); })) << "the page does not show";

    auto* brightness = EditorControl<QLineEdit>(page, kBrightnessRed);
    ASSERT_NE(brightness, nullptr) << "the editor is not in the page";
    ASSERT_TRUE(WaitFor([&] { return brightness->isEnabled(); }))
        << "the editor is not enabled for the project's video";
    brightness->setFocus();
    brightness->selectAll();
    QTest::keyClicks(brightness, QStringLiteral("80"));
    QTest::keyClick(brightness, Qt::Key_Return);
    const double grey = MeanGrey(before);
    EXPECT_TRUE(WaitFor([&] { return MeanGrey(GrabFromScreen(window, area)) > grey + 25; }))
        << "the picture did not get brighter than " << grey;

    auto* reset = EditorControl<QAbstractButton>(page, kReset);
    ASSERT_NE(reset, nullptr);
    QTest::mouseClick(reset, Qt::LeftButton);
    EXPECT_TRUE(WaitFor([&] {
        return std::abs(MeanGrey(GrabFromScreen(window, area)) - grey) < 3;
    })) << "Reset did not bring the picture back";
}

}  // namespace
