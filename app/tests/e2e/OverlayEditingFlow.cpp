#include "app/tests/e2e/E2eSupport.h"
#include "frames/SampleRecording.h"
#include "shell/MainFrame.h"
#include "views/AnnotateDoc.h"
#include "views/AnnotateView.h"
#include "views/DrawObject.h"
#include "views/DrawPropsDlg.h"
#include "views/PlayControlWnd.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"
#include "views/panels/BitmapControlPanelBar.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <map>

#include <QAbstractButton>
#include <QAction>
#include <QMainWindow>
#include <QTabBar>
#include <QTest>

// A user steps the sample, leaves a goto note on one frame, steps on and double-clicks the note
// to come back to its frame; draws a line and double-clicks it for its properties; and finds
// the play buttons of the play-control page drawn as pictures.

namespace {

bool Choose(QMainWindow* window, const QString& path) {
    for (const MenuItem& item : MenuItems(window)) {
        if (item.path == path && item.action->isEnabled()) {
            item.action->trigger();
            return true;
        }
    }
    return false;
}

// The share of the icon's opaque pixels found in the shot at the best place (0 without any).
double IconMatch(const QImage& shot, const QImage& icon) {
    std::vector<QPoint> opaque;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            if (qAlpha(icon.pixel(x, y)) == 255)
                opaque.push_back({x, y});
    if (opaque.size() < 10)
        return 0.0;
    int best = 0;
    for (int dy = 0; dy + icon.height() <= shot.height(); ++dy)
        for (int dx = 0; dx + icon.width() <= shot.width(); ++dx) {
            int matching = 0;
            for (const QPoint& p : opaque) {
                const QRgb a = icon.pixel(p);
                const QRgb b = shot.pixel(p.x() + dx, p.y() + dy);
                matching += std::abs(qRed(a) - qRed(b)) < 40 &&
                            std::abs(qGreen(a) - qGreen(b)) < 40 &&
                            std::abs(qBlue(a) - qBlue(b)) < 40;
            }
            best = std::max(best, matching);
        }
    return static_cast<double>(best) / static_cast<double>(opaque.size());
}

using OverlayEditingFlow = ProgramTest;

TEST_F(OverlayEditingFlow, JumpNoteLinePropertiesAndPlayButtonPictures) {
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
    CPlayControlTab* page = FindWindowOf<CPlayControlTab>();
    ASSERT_NE(page, nullptr) << "no play-control page";
    auto* step =
        qobject_cast<QAbstractButton*>(page->GetDlgItem(PlayControlId::kFwd)->GetQWidget());
    ASSERT_NE(step, nullptr);
    const auto stepTo = [&](int frameIndex) {
        while (stream->GetCurrentFrame() < frameIndex) {
            const int before = stream->GetCurrentFrame();
            step->click();
            if (!WaitFor([&] { return stream->GetCurrentFrame() == before + 1; }))
                return false;
        }
        return stream->GetCurrentFrame() == frameIndex;
    };
    const CDrawObjectList& objects = *stream->GetAnnotateDoc()->GetObjectList();
    const int w = area->width();
    const int h = area->height();

    // The note is left on frame 4 and answers on frame 9: its double-click goes back there.
    ASSERT_TRUE(stepTo(4));
    ASSERT_TRUE(ChooseFromContextMenu(stream, "Measure/Add Goto Note"));
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, {w / 2, h / 3});
    ASSERT_EQ(objects.size(), 1u);
    ASSERT_EQ(objects[0]->GetType(), 12);
    EXPECT_EQ(objects[0]->GetFrame(), 4);
    ASSERT_TRUE(stepTo(9));
    WaitFor([] { return false; }, 100);
    // The icon sits left of where the note was placed.
    QTest::mouseDClick(area, Qt::LeftButton, Qt::NoModifier, {w / 2 - 20, h / 3});
    EXPECT_TRUE(WaitFor([&] { return stream->GetCurrentFrame() == 4; }))
        << "the video stays at " << stream->GetCurrentFrame();
    EXPECT_TRUE(WaitFor([&] {
        return page->GetDlgItemText(CPlayControlTab::kFrameField).toInt() ==
               CSampleRecording::kFirstFrame + 4;
    })) << "the play controls did not follow";

    // A line's double-click opens the shared properties dialog for it.
    ASSERT_TRUE(Choose(window, "Annotate/Line"));
    Drag(area, {w / 4, h * 3 / 4}, {w * 3 / 4, h * 3 / 4});
    ASSERT_EQ(objects.size(), 2u);
    ASSERT_EQ(objects[1]->GetType(), 1);
    bool shown = false;
    UINT shownTemplate = 0;
    QString caption;
    WhenShown<CDrawPropsDlg>(
        [&](CDrawPropsDlg* dialog) {
            shownTemplate = dialog->GetTemplateID();
            caption = dialog->GetQWidget()->windowTitle();
            dialog->EndDialog(IDCANCEL);
        },
        &shown);
    QTest::mouseDClick(area, Qt::LeftButton, Qt::NoModifier, {w / 2, h * 3 / 4});
    EXPECT_TRUE(WaitFor([&] { return shown; })) << "no properties dialog";
    EXPECT_EQ(shownTemplate, 324u);
    EXPECT_EQ(caption, "Annotation Properties");

    // The project's control panel writes each tab's name in the colour of its code.
    CBitmapControlPanelBar* panel = FindWindowOf<CBitmapControlPanelBar>();
    ASSERT_NE(panel, nullptr) << "no project control panel";
    auto* tabs = qobject_cast<QTabBar*>(panel->GetTabCtrl().GetQWidget());
    ASSERT_NE(tabs, nullptr);
    ASSERT_GT(tabs->count(), 1);
    // Each colour the tabs' codes name is on screen in a tab of that code (a tab that another
    // window covers is not asked for).
    const QImage tabShot = GrabFromScreen(window, tabs);
    std::map<int, int> shownByCode;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        const int code = panel->GetTabColourCode(tab);
        const COLORREF colour = CBitmapControlPanelBar::TabTextColour(code);
        const QRect r = tabs->tabRect(tab).intersected(tabShot.rect());
        shownByCode[code] += CountNear(tabShot.copy(r), qRgb(GetRValue(colour), GetGValue(colour),
                                                             GetBValue(colour))) > 3;
    }
    EXPECT_GE(shownByCode.size(), 2u) << "the tabs are of one colour";
    for (const auto& [code, shown] : shownByCode)
        EXPECT_GT(shown, 0) << "no tab shows the colour of code " << code;

    // The transport buttons show their pictures, not their captions.
    for (int id :
         {PlayControlId::kRew, PlayControlId::kPlayBackward, PlayControlId::kBack,
          PlayControlId::kStop, PlayControlId::kFwd, PlayControlId::kPlay, PlayControlId::kFFwd}) {
        SCOPED_TRACE(id);
        auto* button = qobject_cast<QAbstractButton*>(page->GetDlgItem(id)->GetQWidget());
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->text().isEmpty()) << button->text().toStdString();
        ASSERT_FALSE(button->icon().isNull());
        const QImage icon = button->icon().pixmap(button->iconSize()).toImage();
        double match = 0.0;
        EXPECT_TRUE(WaitFor([&] {
            match = IconMatch(GrabFromScreen(window, button), icon);
            return match > 0.8;
        })) << "the button shows "
            << match << " of its picture";
    }
}

}  // namespace
