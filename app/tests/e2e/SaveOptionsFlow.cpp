#include "app/tests/e2e/E2eSupport.h"
#include "frames/AviSaveAssistantDlg.h"
#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "frames/SaveVideoOptionsDlg.h"
#include "frames/SaveVideoPanelDlg.h"
#include "platform/framework/Button.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QTimer>

// Saves part of the opened sample through Playback/Save Active Playback As..., choosing the
// frames and the skip in the file dialog's options panel: once as a BMP sequence, once as an
// MJPEG AVI picked in the compression assistant.

namespace {

// Frames 0 to 9 (as numbered for the user) with every second one skipped.
void ChooseTenFramesSkippingOne(const FileDialogPrompt& prompt) {
    ASSERT_NE(prompt.extension, nullptr) << "no options panel";
    auto* outer = dynamic_cast<CSaveVideoPanelDlg*>(CWnd::FromWidget(prompt.extension));
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(outer->GetDlgItemText(CSaveVideoPanelDlg::kFramesText),
              QStringLiteral("%1 (numbered %2 to %3)")
                  .arg(CSampleRecording::kFrames)
                  .arg(CSampleRecording::kFirstFrame)
                  .arg(CSampleRecording::kFrames + CSampleRecording::kFirstFrame - 1));
    CWnd* panel = outer->GetOptions();
    ASSERT_NE(panel, nullptr);
    const auto widget = [panel](int id) { return panel->GetDlgItem(id)->GetQWidget(); };
    const auto type = [&](int id, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(widget(id));
        edit->setText(text);
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(edit, &out);
    };
    qobject_cast<QAbstractButton*>(widget(CSaveVideoOptionsDlg::kFrames))->click();
    type(CSaveVideoOptionsDlg::kFrom, QStringLiteral("0"));
    type(CSaveVideoOptionsDlg::kTo, QStringLiteral("9"));
    qobject_cast<QAbstractButton*>(widget(CSaveVideoOptionsDlg::kSkipEnabled))->click();
    type(CSaveVideoOptionsDlg::kSkipCount, QStringLiteral("1"));
}

const QString kSkipQuestion = QStringLiteral(
    "When the skip frame feature is used in saving,\nthe associated data, analysis, and notes "
    "will not be saved.\nContinue with save?");

// Picks the compressor named name in the compression assistant once it shows, then OK.
void PickCompressorWhenShown(const QString& name, bool* seen) {
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, name, seen] {
        AVISaveAssistantDlg* assistant = FindWindowOf<AVISaveAssistantDlg>();
        if (!assistant || !assistant->GetQWidget()->isVisible())
            return;
        auto* list = qobject_cast<QListWidget*>(
            assistant->GetDlgItem(AVISaveAssistantDlg::kCompressorList)->GetQWidget());
        const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty()) {
            list->setCurrentItem(found.front());
            *seen = true;
        }
        assistant->PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        timer->deleteLater();
    });
    timer->start();
}

using SaveOptionsFlowTest = ProgramTest;

TEST_F(SaveOptionsFlowTest, SavesARangeWithSkipAsSequenceAndAsMjpegAvi) {
    CMainFrame* frame = StartProgram({QStringLiteral(SAMPLE_RECORDING_PATH)});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CVidView>() != nullptr; })) << "no video";
    const QString path = QStringLiteral("Playback/Save Active Playback As...");

    Prompter().AnswerFileDialog({WorkPath(QStringLiteral("part.bmp"))}, 2,
                                &ChooseTenFramesSkippingOne);
    Prompter().ExpectMessageBox(kSkipQuestion, IDYES);
    Prompter().ExpectMessageBox(
        QStringLiteral("Save as sequence ") + WorkPath(QStringLiteral("part_*.bmp")) + "?", IDOK);
    QAction* save = MenuAction(window, path);
    ASSERT_NE(save, nullptr) << "no " << path.toStdString();
    save->trigger();
    EXPECT_EQ(
        QDir(WorkDir()).entryList({QStringLiteral("part_*.bmp")}, QDir::Files, QDir::Name),
        QStringList({"part_00.bmp", "part_01.bmp", "part_02.bmp", "part_03.bmp", "part_04.bmp"}))
        << "the counter is as wide as the ten frames of the range need";

    const QString avi = WorkPath(QStringLiteral("part.avi"));
    Prompter().AnswerFileDialog({avi}, 1, &ChooseTenFramesSkippingOne);
    Prompter().ExpectMessageBox(kSkipQuestion, IDYES);
    bool picked = false;
    PickCompressorWhenShown(QStringLiteral("Motion JPEG (MJPEG)"), &picked);
    save = MenuAction(window, path);
    ASSERT_NE(save, nullptr);
    save->trigger();
    EXPECT_TRUE(picked) << "no MJPEG entry in the compression assistant";
    CFrameSource saved;
    ASSERT_EQ(saved.Open(avi), 1);
    EXPECT_EQ(saved.GetFrameCount(), 5);
}

}  // namespace
