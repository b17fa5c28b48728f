#include "devices/CamDoc.h"
#include "devices/CamFrm.h"
#include "devices/CamFrmSimple.h"
#include "devices/CamView.h"
#include "devices/CameraColorProcessor.h"
#include "devices/CameraSettingsDlg.h"
#include "devices/ICameraDialogs.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "frames/IColorAdjustment.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/framework/WinApp.h"
#include "platform/imaging/BitmapData.h"
#include "resources/ProgramResources.h"
#include "shell/MainFrame.h"
#include "shell/TimedProgressDlg.h"
#include "testsupport/IsolatedTest.h"
#include "views/BayerColorDlg.h"
#include "views/StreamWnd.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFocusEvent>
#include <QMenu>
#include <QTimer>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

class CRecordingApp : public CWinApp {
public:
    CRecordingApp() : CWinApp("cam") {}
    void AddToRecentFileList(const QString& pathName) override { recent.push_back(pathName); }
    std::vector<QString> recent;
};

// Remembers the commands the camera view sends.
class CCommandRecorder : public IDeviceCommandTarget {
public:
    int HandleDeviceCommand(int handle, int, const VARIANT& code, const VARIANT&, VARIANT*,
                            VARIANT*) override {
        commands.push_back({handle, code.lVal});
        return 0;
    }
    std::vector<std::pair<int, int>> commands;
};

// A colour adjustment window that only remembers how it was shown.
class CShownWindow : public IColorAdjustment {
public:
    explicit CShownWindow(std::vector<std::pair<int, CWnd*>>* shown) : m_shown(shown) {}
    void ShowFor(int captionKind, CWnd* view) override { m_shown->push_back({captionKind, view}); }

private:
    std::vector<std::pair<int, CWnd*>>* m_shown;
};

class CScriptedDialogs : public ICameraDialogs {
public:
    std::optional<QString> AskText(const QString& title, const QString& prompt, const QString& text,
                                   CWnd* owner) override {
        asked.push_back(title + "|" + prompt + "|" + text);
        askOwner = owner;
        return answer;
    }
    void ShowDeviceInformation(const QString& text, CWnd* owner) override {
        information = text;
        infoOwner = owner;
    }
    std::unique_ptr<IColorAdjustment> MakeColourAdjustment(const CDeviceLink&,
                                                           CWnd* owner) override {
        colourOwner = owner;
        ++colourWindowsMade;
        return std::make_unique<CShownWindow>(&colourShown);
    }
    bool ShowCameraSettings(CDevice&, CWnd* owner) override {
        settingsOwner = owner;
        return true;
    }
    void ShowActiveArea(CDevice& device, CWnd* owner) override {
        areaOwner = owner;
        areaDevice = &device;
    }

    std::optional<QString> answer;
    std::vector<QString> asked;
    QString information;
    CWnd* askOwner = nullptr;
    CWnd* infoOwner = nullptr;
    CWnd* colourOwner = nullptr;
    int colourWindowsMade = 0;
    // The caption kind and view of every showing of the colour window.
    std::vector<std::pair<int, CWnd*>> colourShown;
    CWnd* settingsOwner = nullptr;
    CWnd* areaOwner = nullptr;
    CDevice* areaDevice = nullptr;
};

// One menu item as the user sees it.
struct Shown {
    QString text;
    bool enabled;
    bool checked;
};

class CamViewTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        m_app = std::make_unique<CRecordingApp>();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app->m_pMainWnd = m_main;
        m_main->ShowWindow(SW_SHOW);
        SimDriverConfig config;
        config.cameras = 2;
        config.colourCameras = 1;
        config.cards = 0;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &m_clock.services));
        m_previousDialogs = ICameraDialogs::Install(&m_dialogs);
        CCXView::SetDisplayRefreshHz(60);
    }
    void TearDown() override {
        if (!m_token.expired())
            m_frame->DestroyWindow();
        m_template.reset();
        ICameraDialogs::Install(m_previousDialogs);
        CCXView::SetDisplayRefreshHz(0);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        if (m_app->m_pMainWnd == m_main)
            m_main->DestroyWindow();
        m_app.reset();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    // Opens camera index in a window of the frame class given.
    void OpenCamera(int index, const CRuntimeClass* frameClass = RUNTIME_CLASS(CCamFrm)) {
        const CDeviceId id(kDeviceTypeCamera, 1, index);
        m_device = DriverLoader::OpenById(id);
        ASSERT_NE(m_device, nullptr);
        m_template = std::make_unique<CMultiDocTemplate>(0, RUNTIME_CLASS(CCamDoc), frameClass,
                                                         RUNTIME_CLASS(CCamView));
        CDocument* doc = m_template->OpenDocumentFile(QString("deviceXXX__") + id.ToString(), TRUE);
        ASSERT_NE(doc, nullptr);
        POSITION pos = doc->GetFirstViewPosition();
        m_view = dynamic_cast<CCamView*>(doc->GetNextView(pos));
        ASSERT_NE(m_view, nullptr);
        m_frame = m_view->GetParentFrame();
        m_token = m_frame->GetLifeToken();
        m_view->GetLink().SetCommandTarget(&m_recorder);
    }

    // The frame number the view shows: the camera writes it at the start of the frame's first
    // stored row, the bottom row of the picture.
    int64_t ShownFrameNumber() {
        const CFrameImage& image = m_view->GetStreamWnd()->GetImage();
        imaging::BitmapData data;
        EXPECT_TRUE(const_cast<CFrameImage&>(image).LockBits(
            nullptr, imaging::ImageLockModeRead, imaging::PixelFormat8bppIndexed, &data));
        uint32_t number = 0;
        std::memcpy(&number,
                    static_cast<const BYTE*>(data.Scan0) + int64_t{data.Stride} * (data.Height - 1),
                    4);
        const_cast<CFrameImage&>(image).UnlockBits(&data);
        return number;
    }

    // The context menu as it opens: the items of the top level and of each sub-menu by name.
    std::map<QString, std::vector<Shown>> OpenContextMenu() {
        std::map<QString, std::vector<Shown>> shown;
        const std::function<void(QMenu*, const QString&)> walk = [&](QMenu* menu,
                                                                     const QString& name) {
            for (QAction* action : menu->actions()) {
                if (action->isSeparator()) {
                    shown[name].push_back({"", true, false});
                    continue;
                }
                shown[name].push_back({action->text(), action->isEnabled(), action->isChecked()});
                if (action->menu()) {
                    emit action->menu()->aboutToShow();
                    walk(action->menu(), action->text());
                }
            }
        };
        const PopupMenuTracker previous =
            AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint&) -> QAction* {
                walk(menu, "");
                return nullptr;
            });
        m_view->SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(10, 10));
        AfxSetPopupMenuTracker(previous);
        return shown;
    }

    SimHostClock m_clock;
    CDeviceManager m_manager;
    std::unique_ptr<CRecordingApp> m_app;
    CMainFrame* m_main = nullptr;
    std::unique_ptr<CMultiDocTemplate> m_template;
    CScriptedDialogs m_dialogs;
    ICameraDialogs* m_previousDialogs = nullptr;
    CCommandRecorder m_recorder;
    CDevice* m_device = nullptr;
    CCamView* m_view = nullptr;
    CFrameWnd* m_frame = nullptr;
    std::weak_ptr<bool> m_token;
};

TEST_F(CamViewTest, LiveFramesFollowTheHostClock) {
    OpenCamera(0);
    double rate = 0;
    m_device->GetRecordRate(&rate);
    // Repaints at the live rate, but no faster than the display's 60 Hz.
    EXPECT_EQ(m_view->GetLivePeriodMs(),
              static_cast<UINT>(std::ceil(1000.0 / std::min(rate, 60.0))));
    for (const int64_t tick : {5, 6, 40, 1000}) {
        m_clock.AtTick(tick, rate);
        m_view->OnTimer(CCXView::kLiveTimerId);
        EXPECT_EQ(ShownFrameNumber(), tick);
    }
    EXPECT_EQ(m_view->GetLiveFramesShown(), 4);
    EXPECT_EQ(m_view->GetDocument()->GetTitle(), "Simulated camera 1");
}

TEST_F(CamViewTest, ActivationMakesTheDeviceTheDefaultAndMessagesSendCommands) {
    OpenCamera(0);
    int handle = 0;
    m_device->GetHandle(&handle);
    // The window opened active; leaving it and coming back.
    EXPECT_EQ(OpenDevices::GetDefaultDeviceHandle(), handle);
    m_frame->SetActiveView(nullptr);
    EXPECT_EQ(OpenDevices::GetDefaultDeviceHandle(), -1);
    m_frame->SetActiveView(m_view);
    EXPECT_EQ(OpenDevices::GetDefaultDeviceHandle(), handle);

    m_view->SendMessage(CCamView::kDeviceCommandMessage, 0, 0);
    ASSERT_EQ(m_recorder.commands.size(), 1u);
    EXPECT_EQ(m_recorder.commands[0], std::make_pair(handle, 15));
    m_frame->DestroyWindow();
    ASSERT_EQ(m_recorder.commands.size(), 2u);
    EXPECT_EQ(m_recorder.commands[1], std::make_pair(handle, 19));
}

TEST_F(CamViewTest, ContextMenuFollowsTheDeviceFeatures) {
    struct Case {
        int supported9, available9, on9, supported12, available13;
        bool reduceEnabled, reduceChecked, colourEnabled, settingsEnabled;
    } cases[] = {
        {0, 0, 0, 0, 1, false, false, false, true},
        {1, 0, 1, 1, 0, false, false, false, false},  // 12 supported but not available
        {1, 1, 0, 0, 0, true, false, false, false},
        {1, 1, 1, 0, 1, true, true, false, true},
    };
    OpenCamera(0);
    for (const Case& c : cases) {
        m_device->SetFeatureSupported(9, c.supported9);
        m_device->SetFeatureAvailable(9, c.available9);
        m_device->SetFeatureOn(9, c.on9);
        m_device->SetFeatureSupported(12, c.supported12);
        m_device->SetFeatureAvailable(12, 0);
        m_device->SetFeatureAvailable(13, c.available13);
        auto menu = OpenContextMenu();
        const std::vector<QString> top = {"Change Camera Name",
                                          "",
                                          "View",
                                          "Camera View",
                                          "",
                                          "Camera Color Adjustment",
                                          "Camera Information",
                                          "Camera Settings",
                                          "Camera Reset",
                                          "Set Active Area..."};
        ASSERT_EQ(menu[""].size(), top.size());
        for (size_t i = 0; i < top.size(); ++i)
            EXPECT_EQ(menu[""][i].text, top[i]) << i;
        EXPECT_EQ(menu[""][5].enabled, c.colourEnabled);
        EXPECT_EQ(menu[""][7].enabled, c.settingsEnabled);
        for (size_t i : {0u, 6u, 8u})
            EXPECT_TRUE(menu[""][i].enabled) << menu[""][i].text.toStdString();
        EXPECT_TRUE(menu[""][9].enabled) << "a camera tells its active area";
        EXPECT_FALSE(menu["View"].empty());
        ASSERT_EQ(menu["Camera View"].size(), 2u);
        EXPECT_EQ(menu["Camera View"][0].text, "Reduce Live Resolution");
        EXPECT_EQ(menu["Camera View"][0].enabled, c.reduceEnabled);
        EXPECT_EQ(menu["Camera View"][0].checked, c.reduceChecked);
        EXPECT_EQ(menu["Camera View"][1].text, "Camera Override");
        ASSERT_EQ(menu["Camera Override"].size(), 1u);
        EXPECT_EQ(menu["Camera Override"][0].text,
                  "Force Software Trigger post Synchronized Data Recording");
        EXPECT_TRUE(menu["Camera Override"][0].enabled);
    }
    m_device->SetFeatureAvailable(12, 1);
    m_device->SetFeatureSupported(12, 1);
    EXPECT_TRUE(OpenContextMenu()[""][5].enabled);
}

TEST_F(CamViewTest, ReduceLiveResolutionTogglesTheFeatureAndSetsTheResolutionAgain) {
    OpenCamera(0);
    m_device->SetFeatureSupported(9, 1);
    m_device->SetFeatureAvailable(9, 1);
    m_device->SetFeatureOn(9, 0);
    m_view->SendMessage(WM_COMMAND, CCamView::kReduceLiveResolution, 0);
    int on = 0;
    m_device->GetFeatureOn(9, &on);
    EXPECT_EQ(on, 1);
    m_view->SendMessage(WM_COMMAND, CCamView::kReduceLiveResolution, 0);
    m_device->GetFeatureOn(9, &on);
    EXPECT_EQ(on, 0);
}

TEST_F(CamViewTest, RenameRefusesAColonAndSendsCommand22Otherwise) {
    OpenCamera(0);
    int handle = 0;
    m_device->GetHandle(&handle);
    Prompter().ExpectMessageBox(
        "Unable to set camera name.\nA camera name cannot contain any of "
        "the following characters: /\\*?:\"<>|",
        IDOK);
    m_dialogs.answer = QString("Left:1");
    m_view->SendMessage(WM_COMMAND, CCamView::kChangeCameraName, 0);
    ASSERT_EQ(m_dialogs.asked.size(), 1u);
    EXPECT_EQ(m_dialogs.asked[0], "Device Name|Please enter the device name.|Simulated camera 1");
    EXPECT_EQ(m_dialogs.askOwner, m_view);
    EXPECT_EQ(m_device->GetId().m_index, 0);
    CDeviceDescriptor descriptor;
    m_device->GetDescriptor(&descriptor);
    EXPECT_EQ(descriptor.m_name, "Simulated camera 1");
    EXPECT_TRUE(m_recorder.commands.empty());

    m_dialogs.answer = QString("Left");
    m_view->SendMessage(WM_COMMAND, CCamView::kChangeCameraName, 0);
    m_device->GetDescriptor(&descriptor);
    EXPECT_EQ(descriptor.m_name, "Left");
    ASSERT_EQ(m_recorder.commands.size(), 1u);
    EXPECT_EQ(m_recorder.commands[0], std::make_pair(handle, 22));
    // The links heard of it: the window shows the new name.
    EXPECT_EQ(m_view->GetDocument()->GetTitle(), "Left");
}

TEST_F(CamViewTest, DeviceDialogsHaveTheViewAsOwner) {
    OpenCamera(1);  // the colour camera
    for (int feature : {12, 13}) {
        m_device->SetFeatureSupported(feature, 1);
        m_device->SetFeatureAvailable(feature, 1);
    }
    m_view->SendMessage(WM_COMMAND, CCamView::kCameraInformation, 0);
    EXPECT_EQ(m_dialogs.information, m_device->GetInfoText());
    EXPECT_EQ(m_dialogs.infoOwner, m_view);
    // The view keeps one colour window and shows it again, as its camera's.
    for (int i = 0; i < 2; ++i)
        m_view->SendMessage(WM_COMMAND, CCamView::kCameraColorAdjustment, 0);
    EXPECT_EQ(m_dialogs.colourOwner, m_view);
    EXPECT_EQ(m_dialogs.colourWindowsMade, 1);
    EXPECT_EQ(m_dialogs.colourShown,
              (std::vector<std::pair<int, CWnd*>>{{1, m_view}, {1, m_view}}));
    m_view->SendMessage(WM_COMMAND, CCamView::kCameraSettings, 0);
    EXPECT_EQ(m_dialogs.settingsOwner, m_view);
    m_view->SendMessage(WM_COMMAND, CCamView::kSetActiveArea, 0);
    EXPECT_EQ(m_dialogs.areaOwner, m_view);
    EXPECT_EQ(m_dialogs.areaDevice, m_device);
}

// The camera's own colour window: its presets, gains and balance reach the camera's colour
// processor, and the live video shows the new colours on its next frame.
TEST_F(CamViewTest, ColourAdjustmentDrivesTheCamerasColourProcessor) {
    ICameraDialogs::Install(nullptr);
    OpenCamera(1);  // the colour camera
    m_view->SendMessage(WM_COMMAND, CCamView::kCameraColorAdjustment, 0);
    auto* dialog = dynamic_cast<CBayerColorDlg*>(m_view->GetColourAdjustment());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_EQ(dialog->GetWindowText(), "Simulated camera 2 [Camera] - Color Adjustment");
    EXPECT_FALSE(dialog->GetDlgItem(CBayerColorDlg::kDisplayMode)->IsWindowEnabled())
        << "a camera shows no mosaic";
    QStringList presets;
    ASSERT_EQ(m_device->GetColourPresets(&presets), 0);
    CComboBox& list = dialog->Presets();
    ASSERT_EQ(list.GetCount(), presets.size() + 1);
    EXPECT_EQ(list.GetLBText(2), presets[1]);
    EXPECT_EQ(list.GetCurSel(), 1) << "the camera starts on its first preset";

    const auto deviceRow = [&](int row) {
        DriverColourCoefficients rows;
        m_device->GetColourCoefficients(&rows);
        return std::vector<float>(rows.rows[row], rows.rows[row] + 3);
    };
    const auto tick = [&](int64_t frame) {
        double rate = 0;
        m_device->GetRecordRate(&rate);
        m_clock.AtTick(frame, rate);
        m_view->OnTimer(CCXView::kLiveTimerId);
        return m_view->GetStreamWnd()->GetImage().GetBitmap()->AsQImage().copy();
    };
    const QImage daylight = tick(10);
    list.SetCurSel(2);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(CBayerColorDlg::kPresetCombo, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(list.GetSafeHwnd()));
    DriverColourCoefficients tungsten;
    ASSERT_EQ(m_device->GetColourPreset(1, &tungsten), 0);
    EXPECT_EQ(deviceRow(2), std::vector<float>(tungsten.rows[2], tungsten.rows[2] + 3));
    EXPECT_NE(tick(10), daylight) << "the live video shows the new colours";

    // Gains are the camera's: red doubled from the preset's rows.
    dialog->SetDlgItemText(CBayerColorDlg::kGainEdits[0], QStringLiteral("200"));
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(dialog->GetDlgItem(CBayerColorDlg::kGainEdits[0])->GetQWidget(), &out);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(CBayerColorDlg::kGainsNow, BN_CLICKED), 0);
    EXPECT_FLOAT_EQ(deviceRow(0)[0], 2 * tungsten.rows[0][0]);
    float shown[3][3];
    dialog->GetShownCoefficients(shown);
    EXPECT_FLOAT_EQ(shown[0][0], 2 * tungsten.rows[0][0]);
    EXPECT_EQ(list.GetCurSel(), 0) << "no preset has these rows";

    // Undo gives the camera the rows before.
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(CBayerColorDlg::kUndo, BN_CLICKED), 0);
    EXPECT_FLOAT_EQ(deviceRow(0)[0], tungsten.rows[0][0]);

    // A renamed camera is named in the title when the window shows again.
    m_device->SetName("Left");
    m_view->SendMessage(WM_COMMAND, CCamView::kCameraColorAdjustment, 0);
    EXPECT_EQ(dialog->GetWindowText(), "Left [Camera] - Color Adjustment");
}

// A balance on a region of the live picture is the camera's: it measures the region, changes
// its coefficients so that the region comes out grey, and the window shows them.
TEST_F(CamViewTest, CameraBalanceGivesTheMeansAndTheRowsInUse) {
    OpenCamera(1);
    CCameraColorProcessor processor(m_view->GetLink());
    float rows[3][3];
    ASSERT_TRUE(processor.GetPreset(1, rows));
    processor.SetCoefficients(rows);
    // Away from the brightest part of the scene, the colours that do not clip: blue, green, red.
    const CRect region(40, 40, 80, 80);
    const auto spread = [](const int m[3]) {
        return std::abs(m[0] - m[1]) + std::abs(m[2] - m[1]);
    };
    int means[3] = {};
    float balanced[3][3];
    ASSERT_TRUE(processor.Balance(region, rows, means, balanced));
    const int first = spread(means);
    EXPECT_GT(first, 10) << "tungsten rows do not grey daylight";
    float inUse[3][3];
    processor.GetCoefficients(inUse, false);
    EXPECT_EQ(std::memcmp(inUse, balanced, sizeof inUse), 0);
    EXPECT_TRUE(processor.Balance(region, balanced, means, balanced));
    EXPECT_LE(spread(means), 2) << "the second balance finds grey, from " << first;
    EXPECT_FALSE(processor.Balance(CRect(5000, 5000, 5010, 5010), rows, means, balanced));

    // A camera that has gone answers nothing and changes nothing.
    OpenDevices::DestroyAll();
    EXPECT_FALSE(processor.GetPreset(0, rows));
    EXPECT_TRUE(processor.GetPresetNames().isEmpty());
    EXPECT_FALSE(processor.Balance(CRect(0, 0, 8, 8), rows, means, balanced));
    m_device = nullptr;
}

// Camera Settings from the context menu: the camera takes the new values, and the live video
// goes on at the new resolution.
TEST_F(CamViewTest, CameraSettingsReachTheCameraAndTheLiveView) {
    ICameraDialogs::Install(nullptr);
    OpenCamera(0);
    int width = 0;
    int height = 0;
    m_view->GetFrameSource()->GetImageSize(&width, &height);
    ASSERT_EQ(std::make_pair(width, height), std::make_pair(1280, 1024));
    bool seen = false;
    QTimer::singleShot(0, [&] {
        CCameraSettingsDlg* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* found = dynamic_cast<CCameraSettingsDlg*>(CWnd::FromWidgetPermanent(widget)))
                dialog = found;
        ASSERT_NE(dialog, nullptr);
        seen = true;
        auto* sizes = static_cast<CComboBox*>(dialog->GetDlgItem(CCameraSettingsDlg::kResolution));
        sizes->SetCurSel(sizes->FindStringExact(-1, "640 x 480"));
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    m_view->SendMessage(WM_COMMAND, CCamView::kCameraSettings, 0);
    ASSERT_TRUE(seen);
    m_device->GetResolution(&width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(640, 480));
    m_view->GetFrameSource()->GetImageSize(&width, &height);
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(640, 480));
    double rate = 0;
    m_device->GetRecordRate(&rate);
    m_clock.AtTick(7, rate);
    m_view->OnTimer(CCXView::kLiveTimerId);
    EXPECT_EQ(ShownFrameNumber(), 7);
}

TEST_F(CamViewTest, SavingToADevsetPathLeavesTheRecentListAlone) {
    OpenCamera(0);
    CDocument* doc = m_view->GetDocument();
    const QString path = WorkPath("bench.devset");
    ASSERT_TRUE(doc->DoSave(path, TRUE));
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(m_app->recent.empty());
    doc->SetPathName(WorkPath("other.camset"), TRUE);
    EXPECT_EQ(m_app->recent.size(), 1u);
}

TEST_F(CamViewTest, SimpleFrameClosesUnderTheClosingDialogAndBalancesTheBusyCount) {
    OpenCamera(0, RUNTIME_CLASS(CCamFrmSimple));
    const int busyBefore = CMainFrame::GetCloseBlockCount();
    bool seen = false;
    CCamFrmSimple::SetClosingObserver([&](CTimedProgressDlg& dialog) {
        seen = true;
        EXPECT_EQ(dialog.GetWindowText(), "Camera is Closing");
        CWnd* cancel = dialog.GetDlgItem(IDCANCEL);
        EXPECT_TRUE(!cancel || !cancel->IsWindowVisible());
        EXPECT_EQ(dialog.GetDlgItemText(IDC_PROGRESS_TEXT), "Please wait...");
        dialog.OnTimer(CTimedProgressDlg::kTimerId);
        EXPECT_EQ(dialog.GetCurrentPos(), 25);
        EXPECT_GT(CMainFrame::GetCloseBlockCount(), busyBefore);
    });
    m_view->SendMessage(WM_COMMAND, ID_FILE_CLOSE, 0);
    CCamFrmSimple::SetClosingObserver(nullptr);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(m_token.expired());
    EXPECT_EQ(CMainFrame::GetCloseBlockCount(), busyBefore);
}

}  // namespace
