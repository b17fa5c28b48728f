#include "app/tests/e2e/E2eSupport.h"
#include "groups/GeneralFrame.h"
#include "groups/MeasurementFormFrame.h"
#include "platform/framework/Dialog.h"
#include "shell/DlgEditParameters.h"
#include "shell/MainFrame.h"
#include "views/AnnotateDoc.h"
#include "views/DrawCalipersB.h"
#include "views/DrawObject.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <functional>

// What a user does with the play group's own tools on the sample video: picks a measurement
// from the "Measurement" page of the project's control panel and draws it on the video, and
// corrects the recorded rate and shutter speed with Playback/Edit Record Parameters...

namespace {

void SaveShot(QWidget* widget, const QString& name) {
    WaitFor([] { return false; }, 300);
    const QString folder = QStringLiteral(E2E_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    GrabFromScreen(widget->window(), widget).save(folder + QLatin1Char('/') + name);
}

void TypeInto(CWnd* dialog, int id, const QString& text) {
    CWnd* edit = dialog->GetDlgItem(id);
    ASSERT_NE(edit, nullptr) << id;
    auto* line = qobject_cast<QLineEdit*>(edit->GetQWidget());
    ASSERT_NE(line, nullptr) << id;
    line->setFocus();
    line->selectAll();
    QTest::keyClicks(line, text);
}

void Press(CWnd* dialog, int id) {
    CWnd* button = dialog->GetDlgItem(id);
    ASSERT_NE(button, nullptr) << id;
    auto* widget = qobject_cast<QAbstractButton*>(button->GetQWidget());
    ASSERT_NE(widget, nullptr) << id;
    QTest::mouseClick(widget, Qt::LeftButton);
}

class PlayGroupToolsFlow : public ProgramTest {
protected:
    void Start() {
        m_frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
        ASSERT_NE(m_frame, nullptr);
        m_window = static_cast<QMainWindow*>(m_frame->GetQWidget());
        m_video = FindWindowOf<CVidView>();
        ASSERT_NE(m_video, nullptr);
        m_stream = m_video->GetStreamWnd();
        ASSERT_NE(m_stream, nullptr);
        QWidget* area = m_stream->GetQWidget();
        ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(m_window, area)) > 10; }));
    }

    CMainFrame* m_frame = nullptr;
    QMainWindow* m_window = nullptr;
    CVidView* m_video = nullptr;
    CStreamWnd* m_stream = nullptr;
};

TEST_F(PlayGroupToolsFlow, MeasurementPageOfTheControlPanelAddsAToolToTheVideo) {
    Start();
    auto* project = FindWindowOf<CGeneralFrame>();
    ASSERT_NE(project, nullptr);
    auto* group = FindWindowOf<CMeasurementFormFrame>();
    ASSERT_NE(group, nullptr);
    CControlPanelBar& panel = project->GetControlPanelBar();
    if (!panel.IsVisible()) {
        QAction* show = MenuAction(m_window, QStringLiteral("View/Control Panel"));
        ASSERT_NE(show, nullptr);
        show->trigger();
    }
    ASSERT_TRUE(WaitFor([&] { return panel.IsVisible(); })) << "View/Control Panel";

    auto* tabs = qobject_cast<QTabBar*>(panel.GetTabCtrl().GetQWidget());
    ASSERT_NE(tabs, nullptr);
    int measurement = -1;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == QStringLiteral("Measurement"))
            measurement = i;
    ASSERT_GE(measurement, 0) << "no Measurement tab";
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(measurement).center());
    CDlgMeasure& palette = group->GetMeasurePalette();
    QWidget* page = palette.GetQWidget();
    ASSERT_TRUE(WaitFor([&] { return page->isVisible(); })) << "the page does not show";
    // The page stands beside its tab, inside the panel.
    QWidget* panelWidget = panel.GetQWidget();
    const QRect tab(tabs->mapTo(panelWidget, tabs->tabRect(measurement).topLeft()),
                    tabs->tabRect(measurement).size());
    const QRect pageArea(page->mapTo(panelWidget, QPoint()), page->size());
    EXPECT_FALSE(tab.intersects(pageArea));
    SaveShot(panelWidget, QStringLiteral("measurement-page.png"));

    // "Add Distance Measurement", then a drag over the video: a caliper.
    CWnd* distance = palette.GetDlgItem(32932);
    ASSERT_NE(distance, nullptr);
    EXPECT_EQ(distance->GetWindowText(), "Add Distance Measurement");
    auto* button = qobject_cast<QAbstractButton*>(distance->GetQWidget());
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    CDrawObjectList& objects = *m_stream->GetAnnotateDoc()->GetObjectList();
    ASSERT_TRUE(objects.empty());
    QWidget* area = m_stream->GetQWidget();
    const QPoint from(area->width() / 4, area->height() / 2);
    const QPoint to(area->width() / 2, area->height() / 2);
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(area, (from + to) / 2);
    QTest::mouseMove(area, to);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_NE(dynamic_cast<CDrawCalipersB*>(objects[0]), nullptr);
}

TEST_F(PlayGroupToolsFlow, EditRecordParametersCorrectsTheVideosRateAndShutter) {
    Start();
    const CFrameSource* source = m_video->GetFrameSource().operator->();
    ASSERT_NE(source, nullptr);
    const int rate = source->GetRecordedRate();
    const int shutterUs = source->GetExposure() / 1000;

    // A negative rate is refused and the dialog stays; then the user enters what is right.
    Prompter().ExpectMessageBox("Invalid rate enterred.  Rate must be greater than zero.", IDOK);
    bool seen = false;
    QString shownRate, shownShutter, caption;
    WhenShown<CDlgEditParameters>(
        [&](CDlgEditParameters* dialog) {
            caption = dialog->GetWindowText();
            shownRate = dialog->GetDlgItemText(CDlgEditParameters::kRateId);
            shownShutter = dialog->GetDlgItemText(CDlgEditParameters::kShutterId);
            TypeInto(dialog, CDlgEditParameters::kRateId, QStringLiteral("-1"));
            Press(dialog, IDOK);
            ASSERT_TRUE(dialog->GetQWidget()->isVisible()) << "a refused rate closed it";
            TypeInto(dialog, CDlgEditParameters::kRateId, QStringLiteral("250"));
            TypeInto(dialog, CDlgEditParameters::kShutterId, QStringLiteral("400"));
            Press(dialog, IDOK);
        },
        &seen);
    QAction* item = FindItem(m_window, QStringLiteral("Playback/Edit Record Parameters..."));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    ASSERT_TRUE(seen) << "no record parameters dialog";
    EXPECT_EQ(caption, "Edit Recorded Parameters");
    EXPECT_EQ(shownRate, QString::number(rate));
    EXPECT_EQ(shownShutter, QString::number(shutterUs));

    EXPECT_EQ(m_video->GetFrameRate(), 250.0);
    EXPECT_EQ(m_video->GetShutter(), 400000);
    EXPECT_EQ(source->GetRecordedRate(), 250);
    const QString info = m_stream->GetInfoText();
    EXPECT_TRUE(info.contains(QStringLiteral("Recorded Rate: 250 fps"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("Shutter Speed: 400 usec"))) << info.toStdString();

    // Cancel leaves what OK set.
    seen = false;
    WhenShown<CDlgEditParameters>(
        [&](CDlgEditParameters* dialog) {
            shownRate = dialog->GetDlgItemText(CDlgEditParameters::kRateId);
            TypeInto(dialog, CDlgEditParameters::kRateId, QStringLiteral("30"));
            Press(dialog, IDCANCEL);
        },
        &seen);
    FindItem(m_window, QStringLiteral("Playback/Edit Record Parameters..."))->trigger();
    ASSERT_TRUE(seen);
    EXPECT_EQ(shownRate, "250");
    EXPECT_EQ(m_video->GetFrameRate(), 250.0);
    EXPECT_EQ(FindWindowOf<CDlgEditParameters>(), nullptr);
}

}  // namespace
