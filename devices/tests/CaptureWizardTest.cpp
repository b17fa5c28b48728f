#include "devices/CaptureWizardSheet.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDeviceBase.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "frames/FrameImage.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/DC.h"
#include "platform/framework/WinApp.h"
#include "platform/imaging/Bitmap.h"
#include "resources/ProgramResources.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "testsupport/IsolatedTest.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextEdit>
#include <QUrl>

#include <memory>

// The 3-D capture wizard on two simulated cameras whose clock stands still: its pages' checks
// and messages, the live previews, the calibration images, the two passes and the project
// file.

namespace {

// Takes the files handed to the desktop instead of starting a program; with a handler name
// the desktop does not know, every open fails.
class DesktopOpens : public QObject {
    Q_OBJECT
public:
    explicit DesktopOpens(const char* method = "Open") {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, method);
    }
    ~DesktopOpens() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QStringList paths;
public slots:
    void Open(const QUrl& url) { paths << url.toLocalFile(); }
};

constexpr const char* kInformation =
    "After you have captured your measurement images, run this "
    "wizard\nagain to complete the process of generating a "
    "Trakora 3-D project.";

class CaptureWizardTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
        m_clock.nowNs = 1'000'000'000;
    }
    void TearDown() override {
        m_sheet.reset();
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        m_main->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }
    // The simulated family; the last colourCameras of them give colour frames.
    void RegisterCameras(int cameras, int colourCameras = 0) {
        SimDriverConfig config;
        config.cameras = cameras;
        config.colourCameras = colourCameras;
        config.cards = 1;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &m_clock.services));
    }
    // A run of the one sheet, without a modal loop.
    CCaptureWizardSheet& Run() {
        if (!m_sheet)
            m_sheet = std::make_unique<CCaptureWizardSheet>(m_main);
        if (m_sheet->GetSafeHwnd())
            m_sheet->DestroyWindow();
        EXPECT_TRUE(m_sheet->Create(IDD_WIZARD_SHEET, m_main));
        return *m_sheet;
    }
    CCameraChoicePage& Cameras() { return m_sheet->GetCameraChoicePage(); }
    CComboBox& Combo(int id) { return *dynamic_cast<CComboBox*>(Cameras().GetDlgItem(id)); }
    bool Enabled(CWnd* dialog, int id) {
        CWnd* item = dialog->GetDlgItem(id);
        return item && item->IsWindowEnabled();
    }
    void Click(CWnd* dialog, int id) {
        CWnd* item = dialog->GetDlgItem(id);
        ASSERT_NE(item, nullptr) << id;
        auto* button = qobject_cast<QAbstractButton*>(item->GetQWidget());
        ASSERT_NE(button, nullptr) << id;
        ASSERT_TRUE(button->isEnabled()) << id;
        button->click();
    }
    // Family and camera rows of both cameras; a scan of each chosen family fills its list.
    void Choose(int family1, int camera1, int family2, int camera2) {
        Combo(CCameraChoicePage::kFamily1).SetCurSel(family1);
        Combo(CCameraChoicePage::kFamily2).SetCurSel(family2);
        if (family1 > 0)
            Cameras().OnScan(0);
        if (family2 > 0)
            Cameras().OnScan(1);
        Combo(CCameraChoicePage::kCamera1).SetCurSel(camera1);
        Combo(CCameraChoicePage::kCamera2).SetCurSel(camera2);
    }
    // The first pass up to the page after the calibration images, the project at path.
    void CaptureCalibration(const QString& path) {
        Choose(1, 1, 1, 2);
        m_sheet->OnNext();
        m_sheet->OnNext();
        m_sheet->GetProjectDestinationPage().SetDlgItemText(CProjectDestinationPage::kProjectPath,
                                                            path);
        m_sheet->OnNext();
        ASSERT_EQ(m_sheet->GetCurrentIndex(), CCaptureWizardSheet::kCalibrationSaved);
    }
    QString MessageText() { return m_sheet->GetCurrentPage()->GetDlgItemText(2193); }

    SimHostClock m_clock;
    CDeviceManager m_manager;
    CWinApp m_app{"capture"};
    CMainFrame* m_main = nullptr;
    std::unique_ptr<CCaptureWizardSheet> m_sheet;
};

TEST_F(CaptureWizardTest, TheFirstPassEndsAtFinishAndTheNextRunResumes) {
    RegisterCameras(2);
    CCaptureWizardSheet& sheet = Run();
    EXPECT_EQ(sheet.GetWindowText(), "Trakora 3-D Capture Wizard");
    EXPECT_EQ(sheet.GetHeading()->toPlainText(),
              "\n  Capture Wizard for Trakora 3-D\n\n\tCapture calibration and measurement images "
              "for use in Trakora 3-D.\n");
    ASSERT_EQ(sheet.GetPageCount(), CCaptureWizardSheet::kPageCount);
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCameraChoice);
    EXPECT_TRUE(MessageText().startsWith("This wizard will guide you through the process"));

    CaptureCalibration(WorkPath("run.m3d"));
    EXPECT_EQ(MessageText(),
              QStringLiteral("Calibration images have been captured and saved to file.\r\n\r\n"
                             "\tCalibration Image 1:\t%1\r\n\tCalibration Image 2:\t%2\r\n\r\n"
                             "Click on Next to continue.")
                  .arg(WorkPath("run{c1}.bmp"), WorkPath("run{c2}.bmp")));
    sheet.OnNext();
    ASSERT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCaptureEvent);
    // The event page is left by Finish only.
    sheet.OnNext();
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCaptureEvent);
    Prompter().ExpectMessageBox(QString::fromLatin1(kInformation), IDOK);
    sheet.OnOK();
    EXPECT_EQ(Prompter().Prompts().back().caption, "Vidra Player");
    EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_TRUE(sheet.GetResumeFlag());

    // The next run resumes; Restart starts over, Continue goes on to the recordings.
    Run();
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kResumeChoice);
    Click(sheet.GetCurrentPage(), CResumeChoicePage::kRestart);
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCameraChoice);
    EXPECT_FALSE(sheet.GetResumeFlag());
    Run();
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCameraChoice);
    sheet.SetResumeFlag(TRUE);
    Run();
    Click(sheet.GetCurrentPage(), CResumeChoicePage::kContinue);
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kSaveVideos);
    EXPECT_TRUE(sheet.GetResumeFlag());
    EXPECT_EQ(MessageText(), "Click on Next to save currently open recording playback views.");
}

TEST_F(CaptureWizardTest, EachPageSetsTheSheetsButtons) {
    RegisterCameras(2);
    CCaptureWizardSheet& sheet = Run();
    struct Row {
        bool next, back, finish, cancel;
    };
    // The pages in order; a button a page leaves to the sheet is enabled.
    const Row rows[CCaptureWizardSheet::kPageCount] = {
        {true, false, false, true}, {true, true, false, true}, {true, true, false, true},
        {true, true, false, true},  {true, true, true, true},  {false, false, false, true},
        {true, true, false, true},  {true, true, true, true},
    };
    const int buttons[] = {CWizardSheet::kNext, CWizardSheet::kBack, CWizardSheet::kFinish,
                           CWizardSheet::kCancel};
    for (int page = 0; page < CCaptureWizardSheet::kPageCount; ++page) {
        SCOPED_TRACE(page);
        for (int id : buttons)
            sheet.GetDlgItem(id)->EnableWindow(page % 2 == 0);
        sheet.ShowOnlyPage(page);
        EXPECT_EQ(sheet.GetCurrentIndex(), page);
        const Row& row = rows[page];
        EXPECT_EQ(Enabled(&sheet, CWizardSheet::kNext), row.next);
        EXPECT_EQ(Enabled(&sheet, CWizardSheet::kBack), row.back);
        EXPECT_EQ(Enabled(&sheet, CWizardSheet::kFinish), row.finish);
        EXPECT_EQ(Enabled(&sheet, CWizardSheet::kCancel), row.cancel);
    }
    // Back is refused on the first page; nothing moves past the last.
    sheet.ShowOnlyPage(CCaptureWizardSheet::kCameraChoice);
    sheet.OnBack();
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCameraChoice);
    sheet.ShowOnlyPage(CCaptureWizardSheet::kCaptureSummary);
    sheet.OnNext();
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCaptureSummary);
    sheet.OnBack();
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kSaveVideos);
}

TEST_F(CaptureWizardTest, NextChecksBothCamerasInOrder) {
    RegisterCameras(2);
    struct Case {
        int family1, camera1, family2, camera2;
        const char* message;
    };
    const Case cases[] = {
        {0, 0, 0, 0, "Please select a camera family for Camera 1."},
        {1, 0, 1, 2, "Please select an available camera for Camera 1."},
        {1, 1, 0, 0, "Please select a camera family for Camera 2."},
        {1, 1, 1, 0, "Please select an available camera for Camera 2."},
        {1, 2, 1, 2,
         "You have selected the same camera for Camera 1 and Camera 2.\nYou must select "
         "different cameras for Camera 1 and Camera 2."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        CCaptureWizardSheet& sheet = Run();
        Choose(c.family1, c.camera1, c.family2, c.camera2);
        Prompter().ExpectMessageBox(QString::fromLatin1(c.message), IDOK);
        sheet.OnNext();
        EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCameraChoice);
        EXPECT_EQ(Prompter().Prompts().back().caption, "Vidra Player");
        EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONINFORMATION));
    }
    EXPECT_EQ(OpenDevices::GetCount(), 0);

    // Two cameras of the family open and the live page follows.
    CCaptureWizardSheet& sheet = Run();
    Choose(1, 1, 1, 2);
    sheet.OnNext();
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kLivePreview);
    EXPECT_EQ(OpenDevices::GetCount(), 2);
    CFrameImage frame;
    EXPECT_TRUE(Cameras().GetCameraFrame(1, &frame));
    EXPECT_EQ(frame.GetWidth(), 1280u);
}

TEST_F(CaptureWizardTest, ACameraThatCannotBeOpenedIsNamed) {
    RegisterCameras(2);
    CCaptureWizardSheet& sheet = Run();
    Choose(1, 1, 1, 2);
    // The second camera went away after the scan.
    DriverLoader::ResetForTests();
    RegisterCameras(1);
    Prompter().ExpectMessageBox("Unable to open Camera 2.", IDOK);
    sheet.OnNext();
    EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCameraChoice);
}

TEST_F(CaptureWizardTest, ScanningListsTheFamilysCamerasForBothCameras) {
    RegisterCameras(2);
    Run();
    CComboBox& family1 = Combo(CCameraChoicePage::kFamily1);
    ASSERT_EQ(family1.GetCount(), 2) << "the camera families only";
    EXPECT_EQ(family1.GetLBText(0), "< Select Camera Family >");
    EXPECT_EQ(family1.GetLBText(1), "Simulated camera");
    EXPECT_FALSE(Enabled(&Cameras(), CCameraChoicePage::kCamera1));

    Prompter().ExpectMessageBox("Please select a camera family.", IDOK);
    Click(&Cameras(), CCameraChoicePage::kScan1);

    // Camera 2 already looks at the family: its list follows, keeping its row.
    Combo(CCameraChoicePage::kFamily2).SetCurSel(1);
    Cameras().OnScan(1);
    Combo(CCameraChoicePage::kCamera2).SetCurSel(2);
    family1.SetCurSel(1);
    Click(&Cameras(), CCameraChoicePage::kScan1);
    for (int id : {CCameraChoicePage::kCamera1, CCameraChoicePage::kCamera2}) {
        CComboBox& cameras = Combo(id);
        ASSERT_EQ(cameras.GetCount(), 3);
        EXPECT_EQ(cameras.GetLBText(0), "< Select Camera >");
        EXPECT_EQ(cameras.GetLBText(1), "Simulated camera 1");
        EXPECT_EQ(cameras.GetLBText(2), "Simulated camera 2");
        EXPECT_TRUE(Enabled(&Cameras(), id));
    }
    EXPECT_EQ(Combo(CCameraChoicePage::kCamera1).GetCurSel(), 0);
    EXPECT_EQ(Combo(CCameraChoicePage::kCamera2).GetCurSel(), 2);

    // Another family empties that camera's list.
    Cameras().OnFamilyChanged(0);
    EXPECT_EQ(Combo(CCameraChoicePage::kCamera1).GetCount(), 0);
    EXPECT_FALSE(Enabled(&Cameras(), CCameraChoicePage::kCamera1));
}

TEST_F(CaptureWizardTest, AFamilyWithoutCamerasSaysSo) {
    RegisterCameras(0);
    Run();
    Combo(CCameraChoicePage::kFamily2).SetCurSel(1);
    Prompter().ExpectMessageBox("No cameras found of that family.", IDOK);
    Click(&Cameras(), CCameraChoicePage::kScan2);
    EXPECT_FALSE(Enabled(&Cameras(), CCameraChoicePage::kCamera2));
}

TEST_F(CaptureWizardTest, ZoomStaysBetweenOneAndTwentyFive) {
    RegisterCameras(2);
    CCaptureWizardSheet& sheet = Run();
    CLivePreviewPage& live = sheet.GetLivePreviewPage();
    struct Case {
        int camera;
        int button;
        double from;
        double to;
    };
    const Case cases[] = {
        {0, CLivePreviewPage::kZoomOut1, 1.0, 1.0},
        {0, CLivePreviewPage::kZoomOut1, 1.1, 1.0},
        {1, CLivePreviewPage::kZoomOut2, 2.0, 1.6},
        {0, CLivePreviewPage::kZoomIn1, 1.0, 1.25},
        {1, CLivePreviewPage::kZoomIn2, 19.9, 24.875},
        {1, CLivePreviewPage::kZoomIn2, 24.875, 24.875},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        live.SetZoom(c.camera, c.from);
        const double other = live.GetZoom(1 - c.camera);
        Click(&live, c.button);
        EXPECT_DOUBLE_EQ(live.GetZoom(c.camera), c.to);
        EXPECT_DOUBLE_EQ(live.GetZoom(1 - c.camera), other);
    }
}

TEST_F(CaptureWizardTest, ThePreviewFitsTheFramePansAndRecentres) {
    RegisterCameras(2);
    CCaptureWizardSheet& sheet = Run();
    Choose(1, 1, 1, 2);
    sheet.OnNext();
    CLivePreviewPage& live = sheet.GetLivePreviewPage();
    const CRect rect = live.GetPreviewRect(0);
    ASSERT_GT(rect.Width(), 50);
    QImage before(rect.Width(), rect.Height(), QImage::Format_RGB32);
    const auto draw = [&](QImage* target) {
        target->fill(Qt::white);
        CDC dc(target);
        live.DrawPreview(0, &dc, CRect(0, 0, target->width(), target->height()));
    };
    // Nothing read yet: all grey.
    draw(&before);
    EXPECT_EQ(before.pixel(rect.Width() / 2, rect.Height() / 2), qRgb(64, 64, 64));

    live.OnTimer(CLivePreviewPage::kPreviewTimer);
    draw(&before);
    // The 5:4 frame fitted to the preview's height: grey beside it, the picture in the middle.
    const int w = rect.Width();
    const int h = rect.Height();
    const double scale = std::min(double(w) / 1280, double(h) / 1024);
    const int left = static_cast<int>(w / 2 + scale * (0 - 640));
    ASSERT_GT(left, 2) << "the preview is not wider than the frame";
    EXPECT_EQ(before.pixel(left - 2, h / 2), qRgb(64, 64, 64));
    EXPECT_EQ(before.pixel(w - left + 1, h / 2), qRgb(64, 64, 64));
    EXPECT_NE(before.pixel(left + 2, h / 2), qRgb(64, 64, 64));

    // Dragging 40 pixels to the right moves the picture with the pointer.
    const CPoint press(rect.left + w / 2, rect.top + h / 2);
    live.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    live.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(press.x + 20, press.y));
    live.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(press.x + 40, press.y));
    EXPECT_EQ(live.GetPan(0).x, static_cast<LONG>(40 / scale));
    EXPECT_EQ(live.GetPan(0).y, 0);
    EXPECT_EQ(live.GetPan(1).x, 0) << "only the dragged camera pans";
    QImage panned(w, h, QImage::Format_RGB32);
    draw(&panned);
    EXPECT_EQ(panned.pixel(left + 30, h / 2), qRgb(64, 64, 64));
    EXPECT_NE(panned.pixel(left + 50, h / 2), qRgb(64, 64, 64));
    // A move after the release pans no more.
    live.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(press.x + 90, press.y));
    EXPECT_EQ(live.GetPan(0).x, static_cast<LONG>(40 / scale));

    // A double click centres the picture again.
    live.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    EXPECT_EQ(live.GetPan(0).x, 0);
    QImage centred(w, h, QImage::Format_RGB32);
    draw(&centred);
    EXPECT_EQ(centred, before);
}

TEST_F(CaptureWizardTest, CalibrationImagesAreTheCamerasFrames) {
    RegisterCameras(2, 1);
    CCaptureWizardSheet& sheet = Run();
    Choose(1, 1, 1, 2);
    sheet.OnNext();
    sheet.OnNext();
    ASSERT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kProjectDestination);
    Prompter().ExpectMessageBox("Please specify a destination filename.", IDOK);
    sheet.OnNext();
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kProjectDestination);

    // Browse names the project.
    CProjectDestinationPage& destination = sheet.GetProjectDestinationPage();
    Prompter().AnswerFileDialog({WorkPath("run.m3d")});
    Click(&destination, CProjectDestinationPage::kBrowse);
    const FileDialogPrompt& asked = Prompter().FilePrompts().back();
    EXPECT_FALSE(asked.open);
    EXPECT_EQ(asked.title, "Save Trakora Project As");
    EXPECT_EQ(asked.filter, "Trakora Project Files (*.m3d)|*.m3d||");
    EXPECT_EQ(asked.defaultExt, "m3d");
    EXPECT_EQ(destination.GetDlgItemText(CProjectDestinationPage::kProjectPath),
              WorkPath("run.m3d"));

    sheet.OnNext();
    ASSERT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCalibrationSaved);
    EXPECT_EQ(destination.GetProjectFolder(), WorkDir());
    EXPECT_EQ(destination.GetProjectTitle(), "run");
    const char* const names[2] = {"run{c1}.bmp", "run{c2}.bmp"};
    for (int c = 0; c < 2; ++c) {
        SCOPED_TRACE(c);
        const QString path = WorkPath(QString::fromLatin1(names[c]));
        EXPECT_EQ(destination.GetCalibrationImage(c), path);
        const QImage written(path, "BMP");
        ASSERT_FALSE(written.isNull());
        CFrameImage frame;
        ASSERT_TRUE(Cameras().GetCameraFrame(c, &frame));
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32),
                  frame.GetBitmap()->AsQImage().convertToFormat(QImage::Format_RGB32));
    }
}

TEST_F(CaptureWizardTest, ACalibrationImageThatCannotBeHadKeepsThePage) {
    RegisterCameras(2);
    CCaptureWizardSheet& sheet = Run();
    Choose(1, 1, 1, 2);
    sheet.OnNext();
    sheet.OnNext();
    CProjectDestinationPage& destination = sheet.GetProjectDestinationPage();
    struct Case {
        const char* project;
        const char* failing;  // the image the message names
        bool noFrame;
    };
    const Case cases[] = {
        {"run.m3d", "run{c2}.bmp", true},
        {"missing/run.m3d", "missing/run{c1}.bmp", false},
    };
    auto* second = dynamic_cast<CSimDeviceBase*>(
        OpenDevices::FindOpenDeviceById(Cameras().GetScannedCameras(1)[1])->Driver());
    ASSERT_NE(second, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project);
        if (c.noFrame)
            second->Script().Refuse("ReadLiveFrame", 1, 1000);
        destination.SetDlgItemText(CProjectDestinationPage::kProjectPath,
                                   WorkPath(QString::fromLatin1(c.project)));
        const QString failing = WorkPath(QString::fromLatin1(c.failing));
        Prompter().ExpectMessageBox("Error writing frame to file " + failing, IDOK);
        sheet.OnNext();
        EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONWARNING));
        EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kProjectDestination);
        EXPECT_FALSE(QFile::exists(failing));
        second->Script().Refuse("ReadLiveFrame", 0, 0);
    }
}

TEST(CaptureProjectFile, ListsImagesVideosAndItselfRelativeToItsFolder) {
    struct Case {
        const char* folder;
        QStringList videos;
        const char* text;
    };
    const Case cases[] = {
        {"/data/shot", {}, "0: run{c1}.bmp\n1: run{c2}.bmp\n2: run.m3d\n"},
        {"/data/shot",
         {"/data/shot/run.avi", "/data/shot/run{v2}.avi"},
         "0: run{c1}.bmp\n1: run{c2}.bmp\n2: run.avi\n3: run{v2}.avi\n4: run.m3d\n"},
        {"/data/shot",
         {"/data/videos/left.avi"},
         "0: run{c1}.bmp\n1: run{c2}.bmp\n2: ../videos/left.avi\n3: run.m3d\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const QString folder = QString::fromLatin1(c.folder);
        EXPECT_EQ(CCaptureWizardSheet::ProjectFileText(folder, "run", folder + "/run{c1}.bmp",
                                                       folder + "/run{c2}.bmp", c.videos),
                  QByteArray(c.text));
    }
}

TEST_F(CaptureWizardTest, TheSecondPassWritesTheProjectAndOpensIt) {
    RegisterCameras(2);
    CCaptureWizardSheet& sheet = Run();
    const QString project = WorkPath("run.m3d");
    CaptureCalibration(project);
    sheet.OnNext();
    Prompter().ExpectMessageBox(QString::fromLatin1(kInformation), IDOK);
    sheet.OnOK();

    Run();
    Click(sheet.GetCurrentPage(), CResumeChoicePage::kContinue);
    // No project in front: nothing to save, and the summary follows.
    sheet.OnNext();
    ASSERT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCaptureSummary);
    EXPECT_EQ(MessageText(),
              "Successfully saved all open recordings.\r\n\r\n\r\n\r\n3-D Capture Wizard "
              "Summary:\r\n\r\n\tTrakora Project File:\t" +
                  project + "\r\n\r\n\tCalibration Image 1:\t" + WorkPath("run{c1}.bmp") +
                  "\r\n\tCalibration Image 2:\t" + WorkPath("run{c2}.bmp") +
                  "\r\n\r\n\r\nClick on Finish to write the Trakora 3-D Project file and close "
                  "the 3-D Capture Wizard.");
    Click(sheet.GetCurrentPage(), CCaptureSummaryPage::kOpenProject);

    // A project path that cannot be written keeps the wizard open for another try.
    ASSERT_TRUE(QDir().mkpath(project));
    sheet.ShowWindow(SW_SHOW);
    Prompter().ExpectMessageBox("Error opening project file for writing.  Unable to continue.",
                                IDOK);
    sheet.OnOK();
    EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONSTOP));
    EXPECT_TRUE(sheet.IsWindowVisible());
    EXPECT_TRUE(sheet.GetResumeFlag());
    EXPECT_EQ(sheet.GetCurrentIndex(), CCaptureWizardSheet::kCaptureSummary);

    ASSERT_TRUE(QDir().rmdir(project));
    DesktopOpens desktop;
    Prompter().ExpectMessageBox("Trakora Project file has been saved successfully.", IDOK);
    sheet.OnOK();
    EXPECT_FALSE(sheet.IsWindowVisible());
    EXPECT_FALSE(sheet.GetResumeFlag());
    QFile written(project);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "0: run{c1}.bmp\n1: run{c2}.bmp\n2: run.m3d\n");
    EXPECT_EQ(desktop.paths, QStringList{project});
}

TEST_F(CaptureWizardTest, AProjectTheDesktopCannotOpenIsNamed) {
    RegisterCameras(2);
    CCaptureWizardSheet& sheet = Run();
    const QString project = WorkPath("run.m3d");
    CaptureCalibration(project);
    sheet.SetResumeFlag(TRUE);
    sheet.ShowOnlyPage(CCaptureWizardSheet::kCaptureSummary);
    Click(sheet.GetCurrentPage(), CCaptureSummaryPage::kOpenProject);
    DesktopOpens desktop("NoSuchHandler");
    Prompter().ExpectMessageBox("Trakora Project file has been saved successfully.", IDOK);
    Prompter().ExpectMessageBox(
        "Unable to open file using Trakora.  Please make sure that Trakora is installed "
        "properly\nor try opening the file [" +
            project + "] manually.",
        IDOK);
    sheet.OnOK();
    EXPECT_FALSE(sheet.GetResumeFlag());
}

}  // namespace

#include "CaptureWizardTest.moc"
