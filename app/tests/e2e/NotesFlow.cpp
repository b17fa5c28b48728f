#include "app/tests/e2e/E2eSupport.h"
#include "frames/SampleRecording.h"
#include "groups/NoteEditDlg.h"
#include "groups/NotesBasicDoc.h"
#include "groups/NotesBasicView.h"
#include "groups/NotesFile.h"
#include "groups/RecordingNotes.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTest>

// A user notes a frame of a recording: Tools/Notes opens the notes window beside the video,
// the note typed into the frame pane is taken when the pane loses the focus, the window's
// caption marks the recording changed, and Tools/Save Notes writes the side file beside it.

namespace {

using NotesFlow = ProgramTest;

TEST_F(NotesFlow, ANoteTypedInTheNotesWindowIsSavedBesideTheRecording) {
    const QString recording = WorkPath(QStringLiteral("take.raw"));
    ASSERT_TRUE(CSampleRecording::Write(recording));
    CMainFrame* frame = StartProgram({recording});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; })) << "no video";

    QAction* open = MenuAction(window, QStringLiteral("Tools/Notes"));
    ASSERT_NE(open, nullptr) << "no Tools/Notes";
    ASSERT_TRUE(open->isEnabled());
    open->trigger();
    CNotesBasicView* notes = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        notes = FindWindowOf<CNotesBasicView>();
        return notes && notes->GetQWidget()->isVisible();
    })) << "no notes window";
    EXPECT_EQ(notes->Caption(), "Notes : take.raw");
    CNoteEditDlg& editor = notes->GetEditor();
    EXPECT_TRUE(editor.IsPaneVisible(0));
    EXPECT_TRUE(editor.IsPaneVisible(1));
    EXPECT_FALSE(editor.IsPaneVisible(2));
    const int frameShown = notes->GetCurrentFrame();

    auto* framePane =
        qobject_cast<QPlainTextEdit*>(editor.GetDlgItem(CNoteEditDlg::kEditIds[1])->GetQWidget());
    auto* globalPane =
        qobject_cast<QPlainTextEdit*>(editor.GetDlgItem(CNoteEditDlg::kEditIds[0])->GetQWidget());
    ASSERT_NE(framePane, nullptr);
    ASSERT_NE(globalPane, nullptr);
    framePane->activateWindow();
    framePane->setFocus();
    ASSERT_TRUE(WaitFor([&] { return framePane->hasFocus(); })) << "the pane takes no focus";
    QTest::keyClicks(framePane, QStringLiteral("spark at impact"));
    globalPane->setFocus();
    ASSERT_TRUE(WaitFor([&] { return notes->Caption() == "Notes : take.raw*"; }))
        << notes->Caption().toStdString();

    QAction* save = MenuAction(window, QStringLiteral("Tools/Save Notes"));
    ASSERT_NE(save, nullptr) << "no Tools/Save Notes";
    ASSERT_TRUE(save->isEnabled());
    Prompter().ExpectMessageBox(CNotesBasicDoc::kSavedText, IDOK);
    save->trigger();
    ASSERT_TRUE(WaitFor([&] { return notes->Caption() == "Notes : take.raw"; }));

    CRecordingNotes back;
    back.ResetAll(frameShown + 1, 0);
    CNotesFile().ReadVideoNotes(recording, back, frameShown + 1);
    QString text;
    ASSERT_TRUE(back.GetFrameNote(frameShown, &text)) << "no note in take.ntv";
    EXPECT_EQ(text, "spark at impact");
}

// A note typed but not saved is asked about when its video closes; Yes writes the side file.
TEST_F(NotesFlow, ClosingTheVideoAsksAboutItsUnsavedNote) {
    const QString recording = WorkPath(QStringLiteral("take.raw"));
    ASSERT_TRUE(CSampleRecording::Write(recording));
    CMainFrame* frame = StartProgram({recording});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CVidView* video = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (video = FindWindowOf<CVidView>()) != nullptr; }))
        << "no video";
    QAction* open = MenuAction(window, QStringLiteral("Tools/Notes"));
    ASSERT_NE(open, nullptr) << "no Tools/Notes";
    open->trigger();
    CNotesBasicView* notes = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        notes = FindWindowOf<CNotesBasicView>();
        return notes && notes->GetQWidget()->isVisible();
    })) << "no notes window";
    const int frameShown = notes->GetCurrentFrame();
    CNoteEditDlg& editor = notes->GetEditor();
    auto* framePane =
        qobject_cast<QPlainTextEdit*>(editor.GetDlgItem(CNoteEditDlg::kEditIds[1])->GetQWidget());
    auto* globalPane =
        qobject_cast<QPlainTextEdit*>(editor.GetDlgItem(CNoteEditDlg::kEditIds[0])->GetQWidget());
    ASSERT_NE(framePane, nullptr);
    ASSERT_NE(globalPane, nullptr);
    framePane->activateWindow();
    framePane->setFocus();
    ASSERT_TRUE(WaitFor([&] { return framePane->hasFocus(); })) << "the pane takes no focus";
    QTest::keyClicks(framePane, QStringLiteral("dust cloud"));
    globalPane->setFocus();
    ASSERT_TRUE(WaitFor([&] { return notes->Caption() == "Notes : take.raw*"; }))
        << notes->Caption().toStdString();

    Prompter().ExpectMessageBox("Save changes to the notes of " + recording + "?", IDYES);
    video->GetParentFrame()->PostMessage(WM_CLOSE);
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() == nullptr; })) << "the video stayed";
    CRecordingNotes back;
    back.ResetAll(frameShown + 1, 0);
    CNotesFile().ReadVideoNotes(recording, back, frameShown + 1);
    QString text;
    ASSERT_TRUE(back.GetFrameNote(frameShown, &text)) << "no note in take.ntv";
    EXPECT_EQ(text, "dust cloud");
}

}  // namespace
