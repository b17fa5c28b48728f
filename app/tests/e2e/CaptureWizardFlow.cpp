#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/CaptureWizardSheet.h"
#include "devices/ConvertWizardSheet.h"
#include "devices/core/DriverLoader.h"
#include "frames/AviSaveAssistantDlg.h"
#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "groups/SyncSaveListDlg.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/media/tests/TestAviWriter.h"
#include "shell/MainFrame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QFile>
#include <QMainWindow>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <optional>

// A user runs Tools/3-D Capture Wizard with two simulated cameras: chooses them, watches both
// live, pans one, names the project and captures the calibration images; opens two recordings
// as the event's play group and runs the wizard again to save them beside the images and write
// the Trakora project. Tools/Convert Vidra 2.0 Files to Play Group makes a play group of an
// older recording and its data file and opens it.

namespace {

// Presses OK in every compression assistant that shows.
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
            assistant->PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
    HWND m_last = nullptr;
};

// Takes the files handed to the desktop instead of starting a program.
class DesktopOpens : public QObject {
    Q_OBJECT
public:
    DesktopOpens() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "Open"); }
    ~DesktopOpens() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList paths;
public slots:
    void Open(const QUrl& url) { paths << url.toLocalFile(); }
};

// Answers the message boxes of a step whose messages depend on windows built elsewhere, and
// keeps their texts; any other prompt is cancelled.
class MessagesTaken : public IPrompter {
public:
    MessagesTaken() : m_previous(AfxSetPrompter(this)) {}
    ~MessagesTaken() override { AfxSetPrompter(m_previous); }
    int MessageBox(const MessageBoxPrompt& prompt) override {
        texts << prompt.text;
        return IDOK;
    }
    FileDialogAnswer FileDialog(const FileDialogPrompt&) override { return {}; }
    std::optional<QString> BrowseForFolder(const FolderPrompt&) override { return {}; }
    std::optional<COLORREF> ChooseColor(const ColorPrompt&) override { return {}; }
    QStringList texts;

private:
    IPrompter* m_previous;
};

int FramesOf(const QString& path) {
    CFrameSource source;
    return source.Open(path) ? source.GetFrameCount() : -1;
}

QStringList LinesOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("<none>")};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Waits until the preview shows the camera's picture on the screen: the frame, fitted, between
// grey margins.
bool PreviewShowsPicture(CCaptureWizardSheet* sheet, int id) {
    QWidget* preview = sheet->GetLivePreviewPage().GetDlgItem(id)->GetQWidget();
    return WaitFor([&] {
        const QImage shot = GrabFromScreen(sheet->GetQWidget(), preview);
        const QRgb grey = qRgb(64, 64, 64);
        return shot.pixel(1, 1) == grey &&
               shot.pixel(shot.width() - 2, shot.height() - 2) == grey &&
               Spread(shot.copy(shot.width() / 4, 0, shot.width() / 2, shot.height())) > 5;
    });
}

class CaptureWizardFlow : public SimulatedDeviceTest {
protected:
    CaptureWizardFlow() : SimulatedDeviceTest(2, 1, 1) {}
};

constexpr const char* kFirstPassDone =
    "After you have captured your measurement images, run this wizard\nagain to complete the "
    "process of generating a Trakora 3-D project.";

TEST_F(CaptureWizardFlow, TwoPassesFromTheToolsMenuMakeATrakoraProject) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    QAction* wizard = MenuAction(window, QStringLiteral("Tools/3-D Capture Wizard..."));
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(wizard->isEnabled());
    const QString project = WorkPath(QStringLiteral("run.m3d"));

    // The first pass: cameras, live pictures, the project's name and the calibration images.
    bool shown = false;
    WhenShown<CCaptureWizardSheet>(
        [&](CCaptureWizardSheet* sheet) {
            EXPECT_EQ(sheet->GetQWidget()->windowTitle(), "Trakora 3-D Capture Wizard");
            ASSERT_EQ(sheet->GetCurrentIndex(), CCaptureWizardSheet::kCameraChoice);
            CWnd* page = sheet->GetCurrentPage();
            for (int id : {CCameraChoicePage::kFamily1, CCameraChoicePage::kFamily2}) {
                auto* family = static_cast<CComboBox*>(page->GetDlgItem(id));
                ASSERT_EQ(family->GetLBText(1), "Simulated camera");
                family->SetCurSel(1);
            }
            Click(page, CCameraChoicePage::kScan1);
            auto* camera1 = static_cast<CComboBox*>(page->GetDlgItem(CCameraChoicePage::kCamera1));
            auto* camera2 = static_cast<CComboBox*>(page->GetDlgItem(CCameraChoicePage::kCamera2));
            ASSERT_EQ(camera2->GetCount(), 3) << "the second camera's list follows the scan";
            camera1->SetCurSel(1);
            camera2->SetCurSel(2);
            Click(sheet, CWizardSheet::kNext);
            ASSERT_EQ(sheet->GetCurrentIndex(), CCaptureWizardSheet::kLivePreview);

            // Both cameras live; dragging pans the first, a double click centres it again.
            EXPECT_TRUE(PreviewShowsPicture(sheet, CLivePreviewPage::kPreview1));
            EXPECT_TRUE(PreviewShowsPicture(sheet, CLivePreviewPage::kPreview2));
            CLivePreviewPage& live = sheet->GetLivePreviewPage();
            QWidget* preview = live.GetDlgItem(CLivePreviewPage::kPreview1)->GetQWidget();
            const QPoint centre = preview->rect().center();
            QTest::mousePress(preview, Qt::LeftButton, {}, centre);
            QTest::mouseMove(preview, centre + QPoint(30, 10));
            QTest::mouseRelease(preview, Qt::LeftButton, {}, centre + QPoint(30, 10));
            EXPECT_GT(live.GetPan(0).x, 0);
            EXPECT_GT(live.GetPan(0).y, 0);
            QTest::mouseDClick(preview, Qt::LeftButton, {}, centre);
            EXPECT_EQ(live.GetPan(0).x, 0);
            Click(&live, CLivePreviewPage::kZoomIn2);
            EXPECT_DOUBLE_EQ(live.GetZoom(1), 1.25);
            Click(sheet, CWizardSheet::kNext);

            Prompter().AnswerFileDialog({project});
            Click(sheet->GetCurrentPage(), CProjectDestinationPage::kBrowse);
            Click(sheet, CWizardSheet::kNext);
            ASSERT_EQ(sheet->GetCurrentIndex(), CCaptureWizardSheet::kCalibrationSaved);
            Click(sheet, CWizardSheet::kNext);
            Prompter().ExpectMessageBox(QString::fromLatin1(kFirstPassDone), IDOK);
            Click(sheet, CWizardSheet::kFinish);
        },
        &shown);
    wizard->trigger();
    ASSERT_TRUE(WaitFor([&] { return shown; })) << "no capture wizard";
    EXPECT_EQ(FindWindowOf<CCaptureWizardSheet>(), nullptr) << "the wizard stayed";
    for (const char* image : {"run{c1}.bmp", "run{c2}.bmp"})
        EXPECT_FALSE(QImage(WorkPath(QString::fromLatin1(image))).isNull()) << image;

    // The event: two recordings in a play group.
    const QString first = WorkPath(QStringLiteral("left.raw"));
    const QString second = WorkPath(QStringLiteral("right.raw"));
    ASSERT_TRUE(CSampleRecording::Write(first));
    ASSERT_TRUE(CSampleRecording::Write(second));
    Prompter().AnswerFileDialog({first});
    MenuAction(window, QStringLiteral("File/Open Video File..."))->trigger();
    ASSERT_TRUE(WaitFor([] { return FindWindowOf<CMeasurementView>() != nullptr; }));
    Prompter().AnswerFileDialog({second});
    QAction* add = MenuAction(window, QStringLiteral("Playback/Add Video"));
    ASSERT_NE(add, nullptr);
    add->trigger();
    ASSERT_TRUE(WaitFor([] {
        const CMeasurementView* group = FindWindowOf<CMeasurementView>();
        return group && group->GetGroupDoc() && group->GetGroupDoc()->GetVideoCount() == 2;
    })) << "the second video did not join";

    // The second pass saves them beside the images and writes the project.
    shown = false;
    bool listed = false;
    DesktopOpens desktop;
    AssistantAcceptor assistants;
    WhenShown<CCaptureWizardSheet>(
        [&](CCaptureWizardSheet* sheet) {
            ASSERT_EQ(sheet->GetCurrentIndex(), CCaptureWizardSheet::kResumeChoice);
            Click(sheet->GetCurrentPage(), CResumeChoicePage::kContinue);
            ASSERT_EQ(sheet->GetCurrentIndex(), CCaptureWizardSheet::kSaveVideos);
            WhenShown<CSyncSaveListDlg>([](CSyncSaveListDlg* list) { Click(list, IDOK); }, &listed);
            Prompter().AnswerFileDialog({WorkPath(QStringLiteral("run.avi"))}, 1);
            Click(sheet, CWizardSheet::kNext);
            ASSERT_EQ(sheet->GetCurrentIndex(), CCaptureWizardSheet::kCaptureSummary);
            EXPECT_TRUE(
                sheet->GetCurrentPage()->GetDlgItemText(2193).contains("\tMeasurement Video 2:\t"));
            Click(sheet->GetCurrentPage(), CCaptureSummaryPage::kOpenProject);
            Prompter().ExpectMessageBox("Trakora Project file has been saved successfully.", IDOK);
            Click(sheet, CWizardSheet::kFinish);
        },
        &shown);
    wizard->trigger();
    ASSERT_TRUE(WaitFor([&] { return shown; })) << "no capture wizard";
    EXPECT_TRUE(listed) << "the play group's save list did not show";

    const QStringList lines = LinesOf(project);
    ASSERT_EQ(lines.size(), 5) << lines.join('|').toStdString();
    EXPECT_EQ(lines[0], "0: run{c1}.bmp");
    EXPECT_EQ(lines[1], "1: run{c2}.bmp");
    EXPECT_EQ(lines[4], "4: run.m3d");
    for (int i : {2, 3}) {
        ASSERT_TRUE(lines[i].startsWith(QStringLiteral("%1: ").arg(i)));
        const QString video = lines[i].mid(3);
        EXPECT_FALSE(video.contains('/')) << "the video is not beside the project";
        EXPECT_EQ(FramesOf(WorkPath(video)), CSampleRecording::kFrames) << video.toStdString();
    }
    EXPECT_EQ(desktop.paths, QStringList{project});
}

TEST_F(CaptureWizardFlow, AnOlderRecordingBecomesAPlayGroup) {
    const QString video = WorkPath(QStringLiteral("RUN.AVI"));
    TestAviLayout layout;
    layout.width = 64;
    layout.height = 48;
    layout.frames = 20;
    ASSERT_TRUE(WriteTestAvi(video, layout));
    QFile data(WorkPath(QStringLiteral("run.au2")));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.write(
        "Scan Rate:  50\nScans Per Frame:  2\nTotal Scans:  2\nZP: 1 \t TP: 2 \n"
        "Number of Channels:  1\nScaled:  Yes\nScale Factor:     \t1.000000e+00\t\n"
        "Offset:           \t0.0\t\nLabel:            \tForce           \t\n"
        "Units:            \tN  \t\nIndex      Time   \tCh.01  \t\n"
        "-1     \t-0.02\t1.5\t\n0\t0.0\t2.5\t\n");
    data.close();
    const QString group = WorkPath(QStringLiteral("converted.playgrp"));

    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    QAction* convert =
        MenuAction(window, QStringLiteral("Tools/Convert Vidra 2.0 Files to Play Group..."));
    ASSERT_NE(convert, nullptr);
    bool shown = false;
    QStringList openingMessages;
    WhenShown<CConvertWizardSheet>(
        [&](CConvertWizardSheet* sheet) {
            EXPECT_EQ(sheet->GetQWidget()->windowTitle(), "Vidra 2.0 Coversion Wizard");
            EXPECT_TRUE(sheet->GetHeading()->toPlainText().contains(
                "Convert Vidra 2.0 Files to Play Group"));
            CWnd* page = sheet->GetCurrentPage();
            Prompter().ExpectMessageBox(
                "No source file has been selected.  Please select a source file.", IDOK);
            Click(sheet, CWizardSheet::kFinish);
            Prompter().AnswerFileDialog({video});
            Click(page, CConvertFilesPage::kBrowseSource);
            Prompter().AnswerFileDialog({group});
            Click(page, CConvertFilesPage::kBrowseDestination);
            EXPECT_EQ(Prompter().FilePrompts().back().filter,
                      "Play Group Files (*.playgrp)|*.playgrp||");
            MessagesTaken opening;
            Click(sheet, CWizardSheet::kFinish);
            openingMessages = opening.texts;
        },
        &shown);
    convert->trigger();
    ASSERT_TRUE(WaitFor([&] { return shown; })) << "no conversion wizard";
    EXPECT_EQ(FindWindowOf<CConvertWizardSheet>(), nullptr) << "the wizard stayed";
    EXPECT_EQ(LinesOf(group), QStringList({"RUN.AVI", "run.au2"}));
    // The new play group opens with the video and its data.
    const CMeasurementFormDoc* opened = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        const CMeasurementView* view = FindWindowOf<CMeasurementView>();
        opened = view ? view->GetGroupDoc() : nullptr;
        return opened && opened->GetVideoCount() == 1 && opened->GetDataCount() == 1;
    })) << "the play group did not open with its video and data";
    EXPECT_EQ(opened->GetPathName(), group);
    EXPECT_TRUE(openingMessages.isEmpty()) << openingMessages.join('|').toStdString();
}

// The user picks the video itself as the play group to write: the wizard refuses, naming the
// file, and the recording keeps every byte.
TEST_F(CaptureWizardFlow, ConvertingARecordingOntoItselfIsRefused) {
    const QString video = WorkPath(QStringLiteral("run.avi"));
    TestAviLayout layout;
    layout.width = 64;
    layout.height = 48;
    layout.frames = 20;
    ASSERT_TRUE(WriteTestAvi(video, layout));
    const auto hash = [&] {
        QFile file(video);
        return file.open(QIODevice::ReadOnly)
                   ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                   : QByteArray();
    };
    const QByteArray before = hash();
    ASSERT_FALSE(before.isEmpty());

    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    QAction* convert =
        MenuAction(window, QStringLiteral("Tools/Convert Vidra 2.0 Files to Play Group..."));
    ASSERT_NE(convert, nullptr);
    bool shown = false;
    WhenShown<CConvertWizardSheet>(
        [&](CConvertWizardSheet* sheet) {
            CWnd* page = sheet->GetCurrentPage();
            Prompter().AnswerFileDialog({video});
            Click(page, CConvertFilesPage::kBrowseSource);
            Prompter().AnswerFileDialog({video});
            Click(page, CConvertFilesPage::kBrowseDestination);
            Prompter().ExpectMessageBox(
                QStringLiteral("The file %1 is open as a recording or one of its files and "
                               "cannot be written.\nChoose another file name.")
                    .arg(video),
                IDOK);
            Click(sheet, CWizardSheet::kFinish);
            EXPECT_TRUE(sheet->GetQWidget()->isVisible()) << "the wizard stays for another name";
            Click(sheet, CWizardSheet::kCancel);
        },
        &shown);
    convert->trigger();
    ASSERT_TRUE(WaitFor([&] { return shown; })) << "no conversion wizard";
    EXPECT_EQ(hash(), before);
}

}  // namespace

#include "CaptureWizardFlow.moc"
