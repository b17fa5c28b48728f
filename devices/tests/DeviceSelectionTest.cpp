#include "devices/DeviceSelection.h"
#include "devices/DeviceSelectionDlg.h"
#include "devices/DlgDeviceOptions.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/com/ComVariant.h"
#include "platform/framework/Button.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/WinApp.h"
#include "resources/ProgramResources.h"
#include "shell/IDeviceSelection.h"
#include "shell/MainFrame.h"
#include "shell/ProgressDlg.h"
#include "shell/RadioChoiceDlg.h"
#include "testsupport/IsolatedTest.h"

#include <QApplication>
#include <QTimer>

#include <memory>

namespace {

class DeviceSelectionTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
    }
    void TearDown() override {
        m_dialog.reset();
        CDeviceSelectionDlg::SetScanObserver(nullptr);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        if (m_app.m_pMainWnd == m_main)
            m_main->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }
    void RegisterCameras(int cameras, int subtype = 1) {
        SimDriverConfig config;
        config.cameras = cameras;
        config.colourCameras = 0;
        config.cards = 0;
        config.cameraSubtype = subtype;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, &m_clock.services));
    }
    // A new dialog, open without a modal loop, its first family selected.
    CDeviceSelectionDlg& Open() {
        m_dialog = std::make_unique<CDeviceSelectionDlg>(m_main);
        EXPECT_TRUE(m_dialog->Create(IDD_DEVICE_SELECTION, m_main));
        return *m_dialog;
    }
    CListBox& List(int id) { return *dynamic_cast<CListBox*>(m_dialog->GetDlgItem(id)); }
    QStringList Rows() {
        QStringList rows;
        for (int i = 0; i < List(CDeviceSelectionDlg::kDeviceList).GetCount(); ++i)
            rows << List(CDeviceSelectionDlg::kDeviceList).GetText(i);
        return rows;
    }

    SimHostClock m_clock;
    CDeviceManager m_manager;
    CWinApp m_app{"sel"};
    CMainFrame* m_main = nullptr;
    std::unique_ptr<CDeviceSelectionDlg> m_dialog;
};

TEST_F(DeviceSelectionTest, FamiliesComeFromTheDriversAndAScanListsTheirDevices) {
    RegisterCameras(2);
    CDeviceSelectionDlg& dialog = Open();
    EXPECT_EQ(m_dialog->GetWindowText(), "Device Selection");
    ASSERT_EQ(List(CDeviceSelectionDlg::kFamilyList).GetCount(), 2);
    EXPECT_EQ(List(CDeviceSelectionDlg::kFamilyList).GetText(0), "Simulated camera");
    EXPECT_EQ(List(CDeviceSelectionDlg::kFamilyList).GetText(1), "Simulated data card");
    dialog.OnScan();
    EXPECT_EQ(Rows(), QStringList({"Simulated camera 1", "Simulated camera 2"}));
    // Probing closed the devices again.
    EXPECT_EQ(OpenDevices::GetCount(), 0);
}

TEST_F(DeviceSelectionTest, NothingFoundSaysSo) {
    // No driver at all lists no family: a scan finds nothing all the same.
    for (const int cameras : {-1, 0}) {
        SCOPED_TRACE(cameras);
        if (cameras >= 0)
            RegisterCameras(cameras);
        CDeviceSelectionDlg& dialog = Open();
        EXPECT_EQ(List(CDeviceSelectionDlg::kFamilyList).GetCount() == 0, cameras < 0);
        Prompter().ExpectMessageBox("No available devices found.", IDOK);
        const size_t before = Prompter().Prompts().size();
        dialog.OnScan();
        EXPECT_EQ(Prompter().Prompts().size(), before + 1);
        EXPECT_TRUE(Rows().isEmpty());
    }
    // With families listed and none chosen, a scan has nothing to look at and says nothing.
    CDeviceSelectionDlg& dialog = Open();
    List(CDeviceSelectionDlg::kFamilyList).SetCurSel(-1);
    const size_t before = Prompter().Prompts().size();
    dialog.OnScan();
    EXPECT_EQ(Prompter().Prompts().size(), before);
}

TEST_F(DeviceSelectionTest, DefaultsFilesNameTheDevices) {
    RegisterCameras(3);
    const struct {
        int index;
        const char* name;
    } defaults[] = {{0, "Bench"}, {2, "   "}};
    for (const auto& d : defaults) {
        CDlgDeviceOptions store;
        store.m_deviceValue.m_descriptor =
            CDeviceDescriptor(CDeviceId(kDeviceTypeCamera, 1, d.index));
        store.m_deviceValue.m_descriptor.m_name = d.name;
        ASSERT_EQ(store.SaveDefaultsFile(), S_OK);
    }
    Open().OnScan();
    EXPECT_EQ(Rows(), QStringList({"Bench", "Simulated camera 2", "<no name>"}));
}

TEST_F(DeviceSelectionTest, AttachedDeviceIsMarkedAndRefused) {
    RegisterCameras(2);
    const CDeviceId attached(kDeviceTypeCamera, 1, 1);
    ASSERT_NE(DriverLoader::OpenById(attached), nullptr);
    OpenDevices::SetOwnerFlagById(attached, 1);
    CDeviceSelectionDlg& dialog = Open();
    dialog.OnScan();
    EXPECT_EQ(Rows(), QStringList({"Simulated camera 1", "Simulated camera 2  ATTACHED"}));
    List(CDeviceSelectionDlg::kDeviceList).SetCurSel(1);
    Prompter().ExpectMessageBox(
        "This device is currently in use.  You cannot select an already attached device.", IDOK);
    dialog.OnOK();
    EXPECT_EQ(dialog.GetResult(), -1);
    EXPECT_EQ(Rows().size(), 2);

    List(CDeviceSelectionDlg::kDeviceList).SetCurSel(0);
    dialog.OnOK();
    EXPECT_EQ(dialog.GetResult(), IDOK);
    CDeviceId chosen;
    dialog.GetDeviceId(&chosen);
    EXPECT_EQ(chosen, CDeviceId(kDeviceTypeCamera, 1, 0));
    EXPECT_EQ(dialog.GetSelection(), -1);
}

TEST_F(DeviceSelectionTest, SelectWithoutARowKeepsNoDevice) {
    RegisterCameras(1);
    CDeviceSelectionDlg& dialog = Open();
    Prompter().ExpectMessageBox(
        "You must select a hardware family and available device before proceeding.", IDOK);
    dialog.OnOK();
    CDeviceId chosen(9, 9, 9);
    dialog.GetDeviceId(&chosen);
    EXPECT_EQ(chosen, CDeviceId(0, -1, -1));
    EXPECT_EQ(dialog.GetResult(), -1);
    dialog.OnCancel();
    EXPECT_EQ(dialog.GetResult(), IDCANCEL);
}

TEST_F(DeviceSelectionTest, CancelDuringAScanStopsIt) {
    RegisterCameras(4);
    CDeviceSelectionDlg::SetScanObserver([](CProgressDlg& progress, int index) {
        EXPECT_EQ(progress.GetWindowText(), "Scanning in Progress");
        if (index == 1)
            progress.SendMessage(WM_COMMAND, IDCANCEL, 0);
    });
    Open().OnScan();
    EXPECT_EQ(Rows(), QStringList({"Simulated camera 1", "Simulated camera 2"}));
}

TEST_F(DeviceSelectionTest, PlaybackChecksFollowTheFamilyAndRememberTheirSetting) {
    const struct {
        int subtype;
        bool enabled;
    } cases[] = {{19, true}, {21, true}, {1, false}};
    for (const auto& c : cases) {
        DriverLoader::ResetForTests();
        RegisterCameras(1, c.subtype);
        CDeviceSelectionDlg& dialog = Open();
        dialog.OnScan();
        EXPECT_EQ(m_dialog->GetDlgItem(CDeviceSelectionDlg::kOpenPlayback)->IsWindowEnabled() != 0,
                  c.enabled)
            << c.subtype;
        EXPECT_EQ(m_dialog->GetDlgItem(CDeviceSelectionDlg::kRemember)->IsWindowEnabled() != 0,
                  c.enabled)
            << c.subtype;
        EXPECT_EQ(m_dialog->IsDlgButtonChecked(CDeviceSelectionDlg::kOpenPlayback),
                  c.enabled ? 1u : 0u)
            << c.subtype;
    }

    // Remembered off, the next scan of such a family starts unchecked.
    DriverLoader::ResetForTests();
    RegisterCameras(1, 19);
    CDeviceSelectionDlg& dialog = Open();
    dialog.OnScan();
    m_dialog->CheckDlgButton(CDeviceSelectionDlg::kOpenPlayback, 0);
    m_dialog->CheckDlgButton(CDeviceSelectionDlg::kRemember, 1);
    List(CDeviceSelectionDlg::kDeviceList).SetCurSel(0);
    dialog.OnOK();
    ASSERT_EQ(dialog.GetResult(), IDOK);
    CComVariant stored;
    ASSERT_EQ(m_main->GetSetting("Cameras:OpenPlaybackFASTEC", &stored, -1), S_OK);
    EXPECT_EQ(stored.lVal, 0);
    Open().OnScan();
    EXPECT_EQ(m_dialog->IsDlgButtonChecked(CDeviceSelectionDlg::kOpenPlayback), 0u);
}

// A scripted answer to the main window's questions.
class CScriptedSelection : public IDeviceSelection {
public:
    int ChooseSession() override { return session; }
    int ChooseDevice(CDeviceId* id) override {
        *id = chosen;
        return answer;
    }
    int session = 0;
    int answer = IDOK;
    CDeviceId chosen;
};

TEST_F(DeviceSelectionTest, AddVideoOrDeviceGivesTheLaunchTextOfAChosenCamera) {
    CScriptedSelection selection;
    IDeviceSelection::Install(&selection);
    const struct {
        int session;
        int answer;
        CDeviceId id;
        const char* text;
    } cases[] = {
        {0, IDOK, CDeviceId(kDeviceTypeCamera, 1, 3), "__launchXXXdevice#3#1#3#"},
        {0, IDCANCEL, CDeviceId(kDeviceTypeCamera, 1, 3), ""},
        {0, IDOK, CDeviceId(0, 1, 3), ""},
        {-1, IDOK, CDeviceId(kDeviceTypeCamera, 1, 3), ""},
    };
    for (const auto& c : cases) {
        selection.session = c.session;
        selection.answer = c.answer;
        selection.chosen = c.id;
        EXPECT_EQ(CVidraFrameWnd::AddVideoOrDevice(), c.text) << c.text;
    }
    IDeviceSelection::Install(nullptr);
}

// The session question is the "Session Selection" dialog: its radio buttons give the session
// type, Cancel gives none.
TEST_F(DeviceSelectionTest, SessionChoiceComesFromTheRadioButtons) {
    const struct {
        int radio;  // clicked before the button, 0 for none
        int button;
        int session;
    } cases[] = {
        {0, IDOK, 1},
        {CRadioChoiceDlg::kFirstRadioId, IDOK, 0},
        {CRadioChoiceDlg::kFirstRadioId + 1, IDOK, 1},
        {CRadioChoiceDlg::kFirstRadioId, IDCANCEL, -1},
    };
    CDeviceSelection selection;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radio);
        QString caption;
        QTimer::singleShot(0, [&] {
            CRadioChoiceDlg* dialog = nullptr;
            for (QWidget* widget : QApplication::allWidgets()) {
                if (auto* found = dynamic_cast<CRadioChoiceDlg*>(CWnd::FromWidgetPermanent(widget)))
                    dialog = found;
            }
            ASSERT_NE(dialog, nullptr);
            caption = dialog->GetWindowText();
            if (c.radio)
                dialog->CheckRadioButton(CRadioChoiceDlg::kFirstRadioId,
                                         CRadioChoiceDlg::kFirstRadioId + 1, c.radio);
            dialog->SendMessage(WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
        });
        EXPECT_EQ(selection.ChooseSession(), c.session);
        EXPECT_EQ(caption, "Session Selection");
    }
}

}  // namespace
