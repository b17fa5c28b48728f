#include "app/tests/e2e/E2eSupport.h"
#include "frames/AviSaveAssistantDlg.h"
#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "platform/framework/Button.h"
#include "platform/imaging/Bitmap.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QTimer>

#include <cstdlib>

// Saves the opened sample through Playback/Save Active Playback As..., once as an uncompressed
// AVI (through the compression assistant) and once as a BMP sequence, and reads both back.

namespace {

// Presses OK in the compression assistant once it shows.
void AcceptAssistantWhenShown(bool* seen) {
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, seen] {
        AVISaveAssistantDlg* assistant = FindWindowOf<AVISaveAssistantDlg>();
        if (!assistant || !assistant->GetQWidget()->isVisible())
            return;
        *seen = true;
        assistant->PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        timer->deleteLater();
    });
    timer->start();
}

// The grey level of pixel (x, y) of a decoded frame (blue of its RGB form); -1 when unreadable.
int LevelAt(imaging::Bitmap& bitmap, int x, int y) {
    imaging::BitmapData data;
    if (bitmap.LockBits(nullptr, imaging::ImageLockModeRead, imaging::PixelFormat24bppRGB, &data) !=
        imaging::Ok)
        return -1;
    const int level = static_cast<const BYTE*>(data.Scan0)[y * data.Stride + 3 * x];
    bitmap.UnlockBits(&data);
    return level;
}

using SaveFlowTest = ProgramTest;

TEST_F(SaveFlowTest, SavesTheVideoAsAviAndAsBmpSequenceFromTheMenu) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; })) << "no video";
    const QString path = QStringLiteral("Playback/Save Active Playback As...");

    // As AVI: the file dialog's first type, then the compression assistant's OK.
    const QString avi = WorkPath(QStringLiteral("saved.avi"));
    Prompter().AnswerFileDialog({avi}, 1);
    bool assistant = false;
    AcceptAssistantWhenShown(&assistant);
    QAction* save = MenuAction(window, path);
    ASSERT_NE(save, nullptr) << "no " << path.toStdString();
    ASSERT_TRUE(save->isEnabled());
    save->trigger();
    EXPECT_TRUE(assistant) << "no compression assistant";
    ASSERT_TRUE(QFile::exists(avi));
    {
        CFrameSource saved;
        ASSERT_EQ(saved.Open(avi), 1);
        EXPECT_EQ(saved.GetFrameCount(), CSampleRecording::kFrames);
        EXPECT_EQ(saved.GetFirstFrameNumber(), CSampleRecording::kFirstFrame);
        CFrameImage image;
        ASSERT_EQ(saved.GetFrame(50, &image, 0), 1);
        EXPECT_EQ(LevelAt(*image.GetBitmap(), 128, 96), CSampleRecording::Level(50, 128, 96));
    }

    // As a BMP sequence: the second type, and the question before a new sequence.
    const QString bmp = WorkPath(QStringLiteral("frames.bmp"));
    Prompter().AnswerFileDialog({bmp}, 2);
    Prompter().ExpectMessageBox(
        QStringLiteral("Save as sequence ") + WorkPath(QStringLiteral("frames_*.bmp")) + "?", IDOK);
    save = MenuAction(window, path);
    ASSERT_NE(save, nullptr);
    save->trigger();
    const QStringList written =
        QDir(WorkDir()).entryList({QStringLiteral("frames_*.bmp")}, QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), CSampleRecording::kFrames);
    EXPECT_EQ(written.front(), QStringLiteral("frames_000.bmp"));
    std::unique_ptr<imaging::Bitmap> last = imaging::Bitmap::FromFile(WorkPath(written.back()));
    ASSERT_NE(last, nullptr);
    const int n = CSampleRecording::kFrames - 1;
    EXPECT_EQ(LevelAt(*last, 40, 30), CSampleRecording::Level(n, 40, 30));
    EXPECT_TRUE(QFile::exists(WorkPath(QStringLiteral("frames.cfg"))));
    // Nothing was written beside the recording the user did not name.
    EXPECT_TRUE(QDir(WorkDir())
                    .entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden)
                    .isEmpty());
}

}  // namespace
