#include "app/tests/e2e/E2eSupport.h"
#include "frames/AviSaveAssistantDlg.h"
#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementFormFrame.h"
#include "groups/MeasurementFormView.h"
#include "groups/MeasurementView.h"
#include "groups/NotesFile.h"
#include "groups/RecordingNotes.h"
#include "platform/framework/Button.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QTimer>

#include <vector>

// A play group of two recordings is saved as a session from Playback/Save complete project
// session: each recording as an AVI under one name (the second tagged), their notes beside
// them, the group file listing the saved copies. A video opened in the form view from the File
// menu is saved from File/Save As....

namespace {

// Presses OK in every compression assistant that shows, counting them.
class AssistantAcceptor {
public:
    AssistantAcceptor() {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            AVISaveAssistantDlg* assistant = FindWindowOf<AVISaveAssistantDlg>();
            if (!assistant || !assistant->GetQWidget()->isVisible() ||
                assistant->GetSafeHwnd() == m_last)
                return;
            m_last = assistant->GetSafeHwnd();
            ++count;
            assistant->PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        });
        m_timer.start();
    }
    int count = 0;

private:
    QTimer m_timer;
    HWND m_last = nullptr;
};

// The note of each noted frame of the recording at path.
std::vector<std::pair<int, QString>> NotesOf(const QString& path) {
    CRecordingNotes notes;
    notes.ResetAll(CSampleRecording::kFrames, 0);
    CNotesFile().ReadVideoNotes(path, notes, CSampleRecording::kFrames);
    std::vector<std::pair<int, QString>> found;
    for (int frame = 0; frame < CSampleRecording::kFrames; ++frame) {
        QString text;
        if (notes.GetFrameNote(frame, &text))
            found.emplace_back(frame, text);
    }
    return found;
}

bool WriteNotedRecording(const QString& path, int frame, const QString& text) {
    if (!CSampleRecording::Write(path))
        return false;
    CRecordingNotes notes;
    notes.ResetAll(CSampleRecording::kFrames, 0);
    notes.SetFrameNote(frame, text);
    return CNotesFile().SaveNotes(path, notes, 3);
}

int FramesOf(const QString& path) {
    CFrameSource source;
    return source.Open(path) ? source.GetFrameCount() : -1;
}

using ResaveFlow = ProgramTest;

TEST_F(ResaveFlow, ThePlayGroupIsSavedAsASessionFromThePlaybackMenu) {
    const QString first = WorkPath(QStringLiteral("first.raw"));
    const QString second = WorkPath(QStringLiteral("second.raw"));
    ASSERT_TRUE(WriteNotedRecording(first, 30, QStringLiteral("first impact")));
    ASSERT_TRUE(WriteNotedRecording(second, 40, QStringLiteral("second impact")));
    CMainFrame* frame = StartProgram({first});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; })) << "no video";

    Prompter().AnswerFileDialog({second});
    QAction* add = MenuAction(window, QStringLiteral("Playback/Add Video"));
    ASSERT_NE(add, nullptr);
    add->trigger();
    ASSERT_TRUE(WaitFor([] {
        const CMeasurementView* group = FindWindowOf<CMeasurementView>();
        return group && group->GetGroupDoc() && group->GetGroupDoc()->GetVideoCount() == 2;
    })) << "the second video did not join";

    // Each video is asked for (the second is offered the first one's name with its tag), then
    // the group file.
    const QString saved = WorkPath(QStringLiteral("session.avi"));
    const QString tagged = WorkPath(QStringLiteral("session{v2}.avi"));
    const QString groupFile = WorkPath(QStringLiteral("session.playgrp"));
    Prompter().AnswerFileDialog({saved}, 1);
    Prompter().AnswerFileDialog({tagged}, 1);
    Prompter().AnswerFileDialog({groupFile});
    AssistantAcceptor assistants;
    QAction* session = MenuAction(window, QStringLiteral("Playback/Save complete project session"));
    ASSERT_NE(session, nullptr);
    ASSERT_TRUE(session->isEnabled());
    session->trigger();
    EXPECT_EQ(assistants.count, 2);

    const std::vector<FileDialogPrompt>& asked = Prompter().FilePrompts();
    ASSERT_GE(asked.size(), 4u);
    EXPECT_EQ(asked[2].fileName, tagged)
        << "the second video is offered the first one's name with its tag";
    EXPECT_EQ(FramesOf(saved), CSampleRecording::kFrames);
    EXPECT_EQ(FramesOf(tagged), CSampleRecording::kFrames);
    // Each saved copy has the notes of the recording it came from.
    const auto savedNotes = NotesOf(saved);
    const auto taggedNotes = NotesOf(tagged);
    ASSERT_EQ(savedNotes.size(), 1u);
    ASSERT_EQ(taggedNotes.size(), 1u);
    const std::vector<std::pair<int, QString>> both = {savedNotes[0], taggedNotes[0]};
    EXPECT_TRUE(both == (std::vector<std::pair<int, QString>>{{30, "first impact"},
                                                              {40, "second impact"}}) ||
                both == (std::vector<std::pair<int, QString>>{{40, "second impact"},
                                                              {30, "first impact"}}));
    QFile list(groupFile);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly)) << "no group file";
    const QStringList lines = QString::fromUtf8(list.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains(QStringLiteral("session.avi"))) << lines.join(',').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("session{v2}.avi"))) << lines.join(',').toStdString();
}

TEST_F(ResaveFlow, AVideoInTheFormViewIsSavedFromTheFileMenu) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());

    Prompter().AnswerFileDialog({QStringLiteral(SAMPLE_RECORDING_PATH)});
    QAction* open = MenuAction(window, QStringLiteral("File/Open Video in Form View..."));
    ASSERT_NE(open, nullptr);
    open->trigger();
    CMeasurementFormView* view = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        view = FindWindowOf<CMeasurementFormView>();
        return view && view->GetDisplay().GetQWidget() &&
               view->GetDisplay().GetQWidget()->isVisible();
    })) << "no form view";
    QWidget* display = view->GetDisplay().GetQWidget();
    EXPECT_TRUE(WaitFor([&] { return Spread(GrabFromScreen(display->window(), display)) > 10.0; }))
        << "no picture in the form view";

    // The form view stands in a window of its own: its play control page steps it, its File
    // menu saves it.
    auto* frameOfView = dynamic_cast<CMeasurementFormFrame*>(view->GetParentFrame());
    ASSERT_NE(frameOfView, nullptr);
    auto* formWindow = qobject_cast<QMainWindow*>(frameOfView->GetQWidget());
    ASSERT_NE(formWindow, nullptr);
    CWnd* step = frameOfView->GetPlayControlTab().GetDlgItem(2005);
    ASSERT_NE(step, nullptr) << "no step button on the play control page";
    auto* stepButton = qobject_cast<QAbstractButton*>(step->GetQWidget());
    ASSERT_NE(stepButton, nullptr);
    for (int i = 0; i < 60; ++i)
        stepButton->click();
    ASSERT_TRUE(WaitFor([&] { return view->GetLastShownFrame() == 60; }))
        << view->GetLastShownFrame();
    EXPECT_EQ(view->GetDisplay().GetCurrentFrame(), 60);

    const QString saved = WorkPath(QStringLiteral("single.avi"));
    Prompter().AnswerFileDialog({saved}, 1);
    AssistantAcceptor assistants;
    QAction* saveAs = MenuAction(formWindow, QStringLiteral("File/Save As..."));
    ASSERT_NE(saveAs, nullptr);
    ASSERT_TRUE(saveAs->isEnabled());
    saveAs->trigger();
    EXPECT_EQ(assistants.count, 1);
    EXPECT_EQ(FramesOf(saved), CSampleRecording::kFrames);
}

}  // namespace
