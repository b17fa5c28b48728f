#include "app/tests/e2e/E2eSupport.h"
#include "platform/framework/Menu.h"
#include "shell/MainFrame.h"
#include "views/AnnotateDoc.h"
#include "views/AnnotateView.h"
#include "views/DrawObject.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QTest>

#include <cstdlib>

// A user draws a line and a length dimension over the sample video with the tools of the
// Annotate menu, restricts the dimension to the frame on screen, saves the annotations,
// deletes them and opens them again, and picks the select tool from the video's context menu.

namespace {

// Pixels of the shot close to pure green, the default line colour.
int GreenPixels(const QImage& shot) {
    int count = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QRgb p = shot.pixel(x, y);
            count += qGreen(p) > 200 && qRed(p) < 60 && qBlue(p) < 60;
        }
    }
    return count;
}

void SaveShot(QWidget* widget, const QString& name) {
    // What the test changed is painted first: the server holds only painted pixels.
    WaitFor([] { return false; }, 300);
    const QString folder = QStringLiteral(E2E_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    GrabFromScreen(widget->window(), widget).save(folder + QLatin1Char('/') + name);
}

// The menu bar item at path, triggered as a click on it does; false when it is missing or
// disabled.
bool Choose(QMainWindow* window, const QString& path) {
    for (const MenuItem& item : MenuItems(window)) {
        if (item.path == path) {
            if (!item.action->isEnabled())
                return false;
            item.action->trigger();
            return true;
        }
    }
    return false;
}

bool IsChecked(QMainWindow* window, const QString& path) {
    for (const MenuItem& item : MenuItems(window)) {
        if (item.path == path)
            return item.action->isChecked();
    }
    return false;
}

using AnnotationFlow = ProgramTest;

TEST_F(AnnotationFlow, DrawSaveDeleteAndOpenFromTheAnnotateMenu) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CVidView* video = FindWindowOf<CVidView>();
    ASSERT_NE(video, nullptr);
    CStreamWnd* stream = video->GetStreamWnd();
    ASSERT_NE(stream, nullptr);
    QWidget* area = stream->GetQWidget();
    ASSERT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(window, area)) > 10; }));
    // Clicks place the reticle while it shows; the drawing wants them.
    video->ShowReticle(false);
    CAnnotateView* editor = stream->GetAnnotateView();
    CDrawObjectList& objects = *stream->GetAnnotateDoc()->GetObjectList();
    const int greenBefore = GreenPixels(GrabFromScreen(window, area));

    ASSERT_TRUE(Choose(window, "Annotate/Line"));
    EXPECT_EQ(editor->GetTool(), CAnnotateView::kLine);
    EXPECT_TRUE(IsChecked(window, "Annotate/Line"));
    const int w = area->width();
    const int h = area->height();
    Drag(area, {w / 4, h / 4}, {w * 3 / 4, h / 4});
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->GetType(), 1);
    EXPECT_EQ(editor->GetTool(), CAnnotateView::kSelect);
    EXPECT_TRUE(IsChecked(window, "Annotate/Select"));
    EXPECT_TRUE(WaitFor([&] {
        return GreenPixels(GrabFromScreen(window, area)) > greenBefore + 20;
    })) << "no line on the video";

    ASSERT_TRUE(Choose(window, "Annotate/Length Dimension"));
    Drag(area, {w / 4, h / 2}, {w * 3 / 4, h / 2});
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[1]->GetType(), 7);
    EXPECT_TRUE(objects[1]->IsSelected());
    ASSERT_TRUE(Choose(window, "Annotate/Frames/This Frame Only"));
    EXPECT_EQ(objects[1]->GetFrame(), stream->GetCurrentFrame());
    EXPECT_TRUE(IsChecked(window, "Annotate/Frames/This Frame Only"));
    EXPECT_FALSE(IsChecked(window, "Annotate/Frames/All Frames"));
    SaveShot(area, QStringLiteral("annotations.png"));
    ASSERT_TRUE(Choose(window, "Annotate/Order/Send to Back"));
    EXPECT_EQ(objects[0]->GetType(), 7);

    const QString path = WorkPath("sample.ant");
    Prompter().AnswerFileDialog({path});
    Prompter().ExpectMessageBox(
        QStringLiteral("Annotations successfully saved to file %1.").arg(path), IDOK);
    ASSERT_TRUE(Choose(window, "Annotate/Save Annotations As..."));
    EXPECT_TRUE(QFile::exists(path));

    Prompter().ExpectMessageBox("Delete all annotations?", IDYES);
    ASSERT_TRUE(Choose(window, "Annotate/Delete All Annotations"));
    EXPECT_TRUE(objects.empty());
    EXPECT_TRUE(WaitFor([&] { return GreenPixels(GrabFromScreen(window, area)) <= greenBefore; }))
        << "the annotations stay on the video";

    Prompter().AnswerFileDialog({path});
    ASSERT_TRUE(Choose(window, "Annotate/Open Annotations..."));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[1]->GetType(), 1);
    EXPECT_NE(objects[1]->GetOwnerPointer(), nullptr);
    EXPECT_TRUE(WaitFor([&] {
        return GreenPixels(GrabFromScreen(window, area)) > greenBefore + 20;
    })) << "the opened annotations are not drawn";

    // A click picks the line; Delete asks before it goes, Down nudges it a pixel.
    Choose(window, "Annotate/Select");
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, {w / 2, h / 4});
    ASSERT_TRUE(objects[1]->IsSelected());
    const double lineY = objects[1]->GetPoint(0, FALSE).y;
    QTest::keyClick(area, Qt::Key_Down);
    EXPECT_EQ(objects[1]->GetPoint(0, FALSE).y, lineY + 1);
    Prompter().ExpectMessageBox("Delete selected annotation?", IDYES);
    QTest::keyClick(area, Qt::Key_Delete);
    EXPECT_TRUE(WaitFor([&] { return objects.size() == 1; })) << "Delete did not reach the editor";

    // The same commands sit in the video's context menu.
    ASSERT_TRUE(Choose(window, "Annotate/Arc"));
    EXPECT_TRUE(ChooseFromContextMenu(stream, QStringLiteral("Annotate/Select")));
    EXPECT_EQ(editor->GetTool(), CAnnotateView::kSelect);
}

// A line drawn and not saved is asked about when the program closes; Cancel keeps it running.
TEST_F(AnnotationFlow, ClosingTheProgramAsksAboutUnsavedAnnotations) {
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
    ASSERT_TRUE(Choose(window, "Annotate/Line"));
    Drag(area, {area->width() / 4, area->height() / 4},
         {area->width() * 3 / 4, area->height() / 4});
    CAnnotateDoc* annotations = stream->GetAnnotateDoc();
    ASSERT_EQ(annotations->GetObjectList()->size(), 1u);
    const QString name =
        annotations->GetName().isEmpty() ? annotations->GetPathName() : annotations->GetName();
    Prompter().ExpectMessageBox(QStringLiteral("Annotations have been modified for %1.\nWould "
                                               "you like to save your changes before closing?")
                                    .arg(name),
                                IDCANCEL);
    frame->SendMessage(WM_CLOSE);
    EXPECT_EQ(AfxGetMainWnd(), frame) << "the program closed";
    EXPECT_EQ(FindWindowOf<CVidView>(), video) << "the video closed";
    annotations->ClearAllModified();
}

}  // namespace
