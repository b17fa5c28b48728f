#include "app/tests/e2e/E2eSupport.h"
#include "frames/AviSaveAssistantDlg.h"
#include "frames/FrameSource.h"
#include "groups/GeneralFrame.h"
#include "shell/MainFrame.h"
#include "shell/ProgressDlg.h"
#include "shell/VidraFrameWnd.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QMainWindow>

// Starts an AVI save of a recording from Playback/Save Active Playback As... and closes the
// project window while "Saving in Progress" shows: the save ends as its Cancel ends it, the
// project closes after it, the program keeps running and the recording is unchanged.

namespace {

// 120 frames of 1024 x 768 grey pixels behind the camera's 72-byte header: large enough that
// the save is still streaming when its progress window first lets messages through.
bool WriteLargeRaw(const QString& path) {
    constexpr int kFrames = 120;
    constexpr int kWidth = 1024;
    constexpr int kHeight = 768;
    QByteArray header(72, '\0');
    const auto put = [&header](int at, int32_t value) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    };
    header.replace(0, 4, "OP05");
    put(8, kFrames);
    put(12, kWidth);
    put(16, kHeight);
    put(24, 72);
    put(28, 8);
    put(68, 100);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(header) != header.size())
        return false;
    QByteArray frame(kWidth * kHeight, '\0');
    for (int n = 0; n < kFrames; ++n) {
        frame.fill(static_cast<char>(n * 2));
        if (file.write(frame) != frame.size())
            return false;
    }
    return true;
}

QByteArray HashOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

enum class CloseWay { ProjectWindow, CloseAllGroups };

class CloseDuringSaveFlowTest : public ProgramTest {
protected:
    // Saves the recording as an AVI from the menu and closes what way says while the save
    // runs.
    void SaveAndClose(CloseWay way) {
        const QString recording = WorkPath("large.raw");
        ASSERT_TRUE(WriteLargeRaw(recording));
        const QByteArray hash = HashOf(recording);
        ASSERT_FALSE(hash.isEmpty());

        CMainFrame* frame = StartProgram({recording});
        ASSERT_NE(frame, nullptr);
        auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
        ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; })) << "no video";
        CGeneralFrame* project = FindWindowOf<CGeneralFrame>();
        ASSERT_NE(project, nullptr) << "no project window";

        const QString avi = WorkPath("saved.avi");
        Prompter().AnswerFileDialog({avi}, 1);
        bool assistant = false;
        WhenShown<AVISaveAssistantDlg>(
            [](AVISaveAssistantDlg* dialog) {
                dialog->PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
            },
            &assistant);
        // The user closes from inside the save's own message loop.
        bool closed = false;
        WhenShown<CProgressDlg>(
            [way, project, frame](CProgressDlg*) {
                if (way == CloseWay::ProjectWindow)
                    project->GetQWidget()->close();
                else
                    frame->SendMessage(WM_COMMAND, ID_WINDOW_CLOSE_ALL_GROUPS, 0);
            },
            &closed);
        // The save's own Cancel says so; only then does the close ask what it always asks.
        Prompter().ExpectMessageBox("File save operation cancelled.", IDOK);
        if (way == CloseWay::CloseAllGroups)
            Prompter().ExpectMessageBox(
                "Closing all groups will close all video and data windows.  Continue?", IDYES);
        QAction* save = MenuAction(window, QStringLiteral("Playback/Save Active Playback As..."));
        ASSERT_NE(save, nullptr);
        ASSERT_TRUE(save->isEnabled());
        save->trigger();
        EXPECT_TRUE(assistant) << "no compression assistant";
        ASSERT_TRUE(closed) << "the save ended before its progress window let messages through";

        // The save stopped as cancelled: a valid part of the recording, not all of it.
        {
            CFrameSource part;
            ASSERT_EQ(part.Open(avi), 1);
            EXPECT_LT(part.GetFrameCount(), 120);
        }
        // Then the project closed, and the program goes on.
        EXPECT_TRUE(WaitFor([] { return FindWindowOf<CGeneralFrame>() == nullptr; }, 5000));
        EXPECT_EQ(FindWindowOf<CVidView>(), nullptr);
        EXPECT_EQ(m_app.m_pMainWnd, frame);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(HashOf(recording), hash) << "the recording changed";
        EXPECT_TRUE(QDir(WorkDir())
                        .entryList({QStringLiteral("*.part"), QStringLiteral(".*")},
                                   QDir::Files | QDir::Hidden)
                        .isEmpty())
            << "a temporary file was left behind";

        // It still opens what the user asks for.
        ASSERT_NE(m_app.OpenDocumentFile(recording), nullptr);
        EXPECT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; }));
    }
};

TEST_F(CloseDuringSaveFlowTest, ClosingTheProjectMidSaveCancelsTheSaveFirst) {
    SaveAndClose(CloseWay::ProjectWindow);
}

TEST_F(CloseDuringSaveFlowTest, CloseAllGroupsMidSaveCancelsTheSaveFirst) {
    SaveAndClose(CloseWay::CloseAllGroups);
}

}  // namespace
