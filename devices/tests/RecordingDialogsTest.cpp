#include "devices/AutoDownloadWnd.h"
#include "devices/AutoRecordDlg.h"
#include "devices/AutoRecordHost.h"
#include "devices/RecordingBusyDlg.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/IRecordGroupHost.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "devices/sim/SimDriver.h"
#include "frames/FrameSource.h"
#include "platform/com/Bstr.h"
#include "platform/framework/Button.h"
#include "platform/framework/ResourceChain.h"
#include "platform/registry/Registry.h"
#include "resources/ProgramResources.h"
#include "shell/SaveController.h"
#include "testsupport/IsolatedTest.h"
#include "testsupport/ManualClock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <memory>

// The recording-busy box and the Auto-Record Controller over a record group of simulated
// devices, on a clock the test moves; the test delivers the timer messages.

namespace {

constexpr int kFrames = 60;
constexpr int kPostTrigger = 20;

// Cancels the modal dialog on the screen.
void CloseModal() {
    CWnd* dialog = CWnd::FromWidgetPermanent(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->SendMessage(WM_COMMAND, IDCANCEL);
}

class Host : public IRecordGroupHost {
public:
    bool IsClosing() override { return false; }
    void ShowActiveArea(CDevice&) override {}
    void Wait(int milliseconds) override { clock->Advance(int64_t{milliseconds} * 1000); }
    ManualClock* clock = nullptr;
};

class RecordingDialogsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&CProgramResources::Module());
        OpenDevices::ResetForTests();
        CDeviceLinkList::ResetForTests();
        DriverLoader::ResetForTests();
        SimDriverConfig config;
        config.cameras = 1;
        config.colourCameras = 0;
        config.cards = 1;
        config.cardChannels = 2;
        config.cameraMemoryBytes = int64_t{1000} * 320 * 240;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, DriverLoader::HostServices()));
        m_host.clock = &m_clock;
        CRecordGroup::SetHost(&m_host);
        m_group = std::make_unique<CRecordGroup>();
        Add(kDeviceTypeCamera);
        Add(kDeviceTypeDataCard);
    }
    void TearDown() override {
        m_group.reset();
        CRecordGroup::SetHost(nullptr);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        CResourceChain::RemoveModule(&CProgramResources::Module());
        IsolatedTest::TearDown();
    }

    void Add(int type) {
        CDevice* device = DriverLoader::OpenById(CDeviceId(type, 1, 0));
        ASSERT_NE(device, nullptr);
        if (type == kDeviceTypeCamera) {
            ASSERT_EQ(device->SetResolution(320, 240), 0);
        }
        ASSERT_EQ(device->Driver()->SetRecordRate(1000), 0);
        ASSERT_EQ(device->Driver()->SetMaxFrames(kFrames), 0);
        DriverTriggerSetting setting;
        setting.postTriggerFrames = kPostTrigger;
        ASSERT_EQ(device->Driver()->SetTriggerSetting(setting), 0);
        int handle = -1;
        device->GetHandle(&handle);
        m_group->AddDevice(handle);
    }

    static bool Shown(CWnd& dialog, int id) {
        CWnd* item = dialog.GetDlgItem(id);
        return item && !item->GetQWidget()->isHidden();
    }
    static void Fire(CWnd& window, UINT_PTR timer) { window.SendMessage(WM_TIMER, timer, 0); }

    ManualClock m_clock;
    Host m_host;
    CDeviceManager m_keepDevices;
    std::unique_ptr<CRecordGroup> m_group;
};

}  // namespace

TEST_F(RecordingDialogsTest, BusyBoxBlinksANewTextAndKeepsItsBlinkForTheSameText) {
    CRecordingBusyDlg busy;
    ASSERT_TRUE(busy.Create(CRecordingBusyDlg::kTemplate, nullptr));
    EXPECT_EQ(busy.GetQWidget()->windowTitle(), "Vidra Busy");
    busy.SetRecordGroup(m_group.get());
    ASSERT_EQ(m_group->RecordAllDevices(), S_OK);
    busy.ShowWindow(SW_SHOW);

    busy.ShowText(QStringLiteral("Record"), TRUE);
    EXPECT_EQ(busy.GetDlgItemText(CRecordingBusyDlg::kTextId), "Record");
    EXPECT_TRUE(busy.IsBlinkTimerRunning());
    EXPECT_TRUE(Shown(busy, CRecordingBusyDlg::kTextId));
    // Each tick toggles the text while the group records.
    Fire(busy, CRecordingBusyDlg::kBlinkTimer);
    EXPECT_EQ(busy.GetBlinkPhase(), 1);
    EXPECT_TRUE(Shown(busy, CRecordingBusyDlg::kTextId));
    Fire(busy, CRecordingBusyDlg::kBlinkTimer);
    EXPECT_EQ(busy.GetBlinkPhase(), 0);
    EXPECT_FALSE(Shown(busy, CRecordingBusyDlg::kTextId));
    EXPECT_TRUE(busy.IsBlinkTimerRunning());

    // The same text again leaves the blink where it is.
    Fire(busy, CRecordingBusyDlg::kBlinkTimer);
    busy.ShowText(QStringLiteral("Record"), TRUE);
    EXPECT_EQ(busy.GetBlinkPhase(), 1);
    Fire(busy, CRecordingBusyDlg::kBlinkTimer);
    busy.ShowText(QStringLiteral("Record"), TRUE);
    EXPECT_FALSE(Shown(busy, CRecordingBusyDlg::kTextId));

    // A new text shows at once and blinks from the start.
    busy.ShowText(QStringLiteral("Triggered"), TRUE);
    EXPECT_EQ(busy.GetDlgItemText(CRecordingBusyDlg::kTextId), "Triggered");
    EXPECT_EQ(busy.GetBlinkPhase(), 0);
    EXPECT_TRUE(Shown(busy, CRecordingBusyDlg::kTextId));

    // Without blinking the text stays and no timer runs.
    busy.ShowText(QStringLiteral("Recording..."), FALSE);
    EXPECT_FALSE(busy.IsBlinkTimerRunning());
    EXPECT_TRUE(Shown(busy, CRecordingBusyDlg::kTextId));
    busy.DestroyWindow();
}

TEST_F(RecordingDialogsTest, BusyBoxHidesAtTheTickAfterTheGroupStopsRecording) {
    CRecordingBusyDlg busy;
    ASSERT_TRUE(busy.Create(30074, nullptr));
    EXPECT_EQ(busy.GetDlgItemText(CRecordingBusyDlg::kTextId), "Recording...");
    busy.SetRecordGroup(m_group.get());
    ASSERT_EQ(m_group->RecordAllDevices(), S_OK);
    busy.ShowWindow(SW_SHOW);
    busy.ShowText(m_group->GetStateText(), TRUE);
    Fire(busy, CRecordingBusyDlg::kBlinkTimer);
    EXPECT_TRUE(busy.IsWindowVisible());

    // The recording ends: triggered, its last frames in, the group polled.
    ASSERT_EQ(m_group->Trigger(), 0);
    m_clock.Advance(200 * 1000);
    m_group->GetMasterRecordState();
    ASSERT_NE(m_group->GetState(), CRecordGroup::kRecord);
    EXPECT_TRUE(busy.IsWindowVisible());
    Fire(busy, CRecordingBusyDlg::kBlinkTimer);
    EXPECT_FALSE(busy.IsWindowVisible());
    EXPECT_FALSE(busy.IsBlinkTimerRunning());

    // A box that watches no group hides at its first tick.
    busy.SetRecordGroup(nullptr);
    busy.ShowWindow(SW_SHOW);
    busy.ShowText(QStringLiteral("Record"), TRUE);
    Fire(busy, CRecordingBusyDlg::kBlinkTimer);
    EXPECT_FALSE(busy.IsWindowVisible());
    busy.DestroyWindow();
}

namespace {

class AutoRecordTest : public RecordingDialogsTest {
protected:
    void SetUp() override {
        RecordingDialogsTest::SetUp();
        m_download = std::make_unique<CAutoDownloadWnd>(m_group.get());
        m_dialog = std::make_unique<CAutoRecordDlg>();
        m_dialog->SetController(m_download.get());
    }
    void TearDown() override {
        if (m_dialog->GetSafeHwnd())
            m_dialog->DestroyWindow();
        m_dialog.reset();
        m_download.reset();
        RecordingDialogsTest::TearDown();
    }

    void Set(const char* key, int value) {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = value;
        ASSERT_EQ(m_download->GetOptionStore().SetSetting(QString::fromLatin1(key), v, -1), S_OK);
        m_download->LoadSettings();
    }
    void Set(const char* key, const QString& text) {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocQString(text);
        ASSERT_EQ(m_download->GetOptionStore().SetSetting(QString::fromLatin1(key), v, -1), S_OK);
        VariantClear(&v);
        m_download->LoadSettings();
    }
    void Open() { ASSERT_TRUE(m_dialog->Create(CAutoRecordDlg::kTemplate, nullptr)); }
    void Press(int id) {
        m_dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                              reinterpret_cast<LPARAM>(m_dialog->GetDlgItem(id)->GetSafeHwnd()));
    }
    QString Text(int id) { return m_dialog->GetDlgItemText(id); }

    std::unique_ptr<CAutoDownloadWnd> m_download;
    std::unique_ptr<CAutoRecordDlg> m_dialog;
};

const QString kDisengageFirst =
    QStringLiteral("Please disengage auto-download mode before closing this dialog.");

}  // namespace

TEST_F(AutoRecordTest, EngagingRunsTheCycleAndDisengagingEndsIt) {
    Set("ADL:bSelfTrigger", 1);
    Set("ADL:nDelayedTimeSelfTrigger", 2);
    Open();
    EXPECT_EQ(m_dialog->GetQWidget()->windowTitle(), "Auto-Record Controller");
    EXPECT_EQ(Text(CAutoRecordDlg::kEngage), "Engage Auto-Download");

    Press(CAutoRecordDlg::kEngage);
    EXPECT_EQ(m_dialog->IsEngaged(), 1);
    EXPECT_EQ(Text(CAutoRecordDlg::kEngage), "Disengage Auto-Download");
    EXPECT_EQ(m_group->GetState(), CRecordGroup::kRecord);
    EXPECT_EQ(m_download->IsActive(), 1);
    EXPECT_EQ(m_group->GetManualControl(), 0);
    EXPECT_EQ(m_download->GetTimerDelayMs(CAutoDownloadWnd::kSelfTriggerTimer), 2000);

    // Closing is refused while engaged, either way, and says why.
    for (int id : {IDOK, IDCANCEL}) {
        Prompter().ExpectMessageBox(kDisengageFirst, IDOK);
        m_dialog->SendMessage(WM_COMMAND, id);
        ASSERT_TRUE(m_dialog->GetSafeHwnd());
        EXPECT_EQ(m_dialog->IsEngaged(), 1);
    }
    ASSERT_EQ(Prompter().Prompts().size(), 2u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, "Vidra Player");
    EXPECT_EQ(m_download->IsActive(), 1);

    // Disengaging ends the cycle with its timers: nothing arms or triggers again later.
    Press(CAutoRecordDlg::kEngage);
    EXPECT_EQ(m_dialog->IsEngaged(), 0);
    EXPECT_EQ(Text(CAutoRecordDlg::kEngage), "Engage Auto-Download");
    EXPECT_EQ(m_group->GetState(), CRecordGroup::kLive);
    EXPECT_EQ(m_download->IsActive(), 0);
    EXPECT_EQ(m_group->GetManualControl(), 1);
    EXPECT_EQ(m_download->GetTimerDelayMs(CAutoDownloadWnd::kSelfTriggerTimer), 0);
}

TEST_F(AutoRecordTest, TheModalControllerClosesOnlyOnceDisengaged) {
    QStringList steps;
    QTimer::singleShot(0, [&] {
        Press(CAutoRecordDlg::kEngage);
        steps << Text(CAutoRecordDlg::kEngage);
        Prompter().ExpectMessageBox(kDisengageFirst, IDOK);
        m_dialog->SendMessage(WM_COMMAND, IDCANCEL);
        steps << (m_dialog->GetQWidget()->isVisible() ? "open" : "closed");
        Press(CAutoRecordDlg::kEngage);
        m_dialog->SendMessage(WM_COMMAND, IDOK);
    });
    EXPECT_EQ(m_dialog->DoModal(), IDOK);
    EXPECT_EQ(steps, QStringList({"Disengage Auto-Download", "open"}));
    EXPECT_EQ(m_download->IsActive(), 0);
}

TEST_F(AutoRecordTest, ACycleThatEndsByItselfLeavesTheDialogDisengaged) {
    CSaveController::Install();
    Set("SK:sFormat", QStringLiteral("BMP"));
    Set("SK:nRangeOption", 0);
    Set("ADL:nReset_Infinite_Finite", 1);
    Set("ADL:nResetMaxCount", 1);
    const struct {
        const char* name;
        bool folder;  // without a target folder the first download fails and ends the cycle
    } cases[] = {{"the finite count reached", true}, {"a download that cannot save", false}};
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_download->GetOptionStore().m_snapkeepValue.m_dirs =
            c.folder ? QStringList{WorkDir()} : QStringList{};
        m_download->LoadSettings();
        Press(CAutoRecordDlg::kEngage);
        ASSERT_EQ(m_dialog->IsEngaged(), 1);

        if (!c.folder)
            Prompter().ExpectMessageBox(QStringLiteral("Insufficient Disk Space."), IDOK);
        ASSERT_EQ(m_group->Trigger(), 0);
        m_clock.Advance(200 * 1000);
        m_group->GetMasterRecordState();
        EXPECT_EQ(m_download->IsActive(), 0);
        EXPECT_EQ(m_download->GetCounter(), c.folder ? 1 : 0);
        Fire(*m_dialog, CAutoRecordDlg::kRefreshTimer);
        EXPECT_EQ(m_dialog->IsEngaged(), 0);
        EXPECT_EQ(Text(CAutoRecordDlg::kEngage), "Engage Auto-Download");
    }
    const size_t prompts = Prompter().Prompts().size();
    m_dialog->SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ(Prompter().Prompts().size(), prompts) << "closes without asking to disengage";
    CFrameSource::SetSaveControllerFactory(nullptr);
}

TEST_F(AutoRecordTest, ButtonsDriveTheGroup) {
    Open();
    Press(CAutoRecordDlg::kIdleLive);
    EXPECT_EQ(m_group->GetState(), CRecordGroup::kLive);
    Press(CAutoRecordDlg::kIdleNoLive);
    EXPECT_EQ(m_group->GetState(), CRecordGroup::kIdle);

    ASSERT_EQ(m_group->RecordAllDevices(), S_OK);
    CDevice* master = m_group->GetDeviceAt(0);
    EXPECT_EQ(master->IsTriggered(), 0);
    Press(CAutoRecordDlg::kTestTrigger);
    EXPECT_NE(master->IsTriggered(), 0);
    EXPECT_EQ(m_group->GetStopRequested(), 0);
    Press(CAutoRecordDlg::kPanicStop);
    EXPECT_EQ(m_group->GetStopRequested(), 1);

    // Without a controller nothing happens.
    m_dialog->DestroyWindow();
    m_dialog->SetController(nullptr);
    Open();
    const int state = m_group->GetState();
    for (int id : {CAutoRecordDlg::kIdleNoLive, CAutoRecordDlg::kIdleLive, CAutoRecordDlg::kEngage})
        Press(id);
    EXPECT_EQ(m_group->GetState(), state);
    EXPECT_EQ(m_dialog->IsEngaged(), 0);
}

TEST_F(AutoRecordTest, FieldsShowTheCycleAndChangeOnlyWhenTheirTextDoes) {
    Set("SK:sBaseName", QStringLiteral("bench"));
    Set("ADL:nReset_Infinite_Finite", 1);
    Set("ADL:nResetMaxCount", 3);
    Set("ADL:bDelayedRearm", 1);
    Set("ADL:nDelayedTimeRearm", 4);
    Set("SK:nRangeOption", 0);
    Open();
    const std::pair<int, const char*> expected[] = {
        {CAutoRecordDlg::kModeField, "Mode : Basic"}, {CAutoRecordDlg::kVideoRateField, "1000"},
        {CAutoRecordDlg::kDataRateField, "1000"},     {CAutoRecordDlg::kTriggerCountField, "0 / 3"},
        {CAutoRecordDlg::kBaseNameField, "bench"},    {CAutoRecordDlg::kLastSaveField, ""},
        {CAutoRecordDlg::kRangeFromField, "all"},     {CAutoRecordDlg::kRangeToField, "all"},
        {CAutoRecordDlg::kRearmDelayField, "4"},      {CAutoRecordDlg::kSelfTriggerDelayField, "0"},
    };
    for (const auto& [id, text] : expected)
        EXPECT_EQ(Text(id), text) << id;
    EXPECT_TRUE(qobject_cast<QAbstractButton*>(
                    m_dialog->GetDlgItem(CAutoRecordDlg::kDelayedRearmCheck)->GetQWidget())
                    ->isChecked());
    EXPECT_TRUE(Shown(*m_dialog, CAutoRecordDlg::kDataRateLabel));

    // A refresh leaves a field whose text stays alone: the user's selection in it survives.
    auto* name = qobject_cast<QLineEdit*>(
        m_dialog->GetDlgItem(CAutoRecordDlg::kBaseNameField)->GetQWidget());
    ASSERT_NE(name, nullptr);
    name->selectAll();
    Fire(*m_dialog, CAutoRecordDlg::kRefreshTimer);
    EXPECT_TRUE(name->hasSelectedText());

    // Changed values reach their fields at the next refresh.
    Set("SK:nRangeOption", 1);
    Set("SK:nRangeFrom", -10);
    Set("SK:nRangeTo", 30);
    Set("ADL:nReset_Infinite_Finite", 0);
    Set("ADL:ADLmode", 3);
    Set("SK:sBaseName", QStringLiteral("run"));
    EXPECT_EQ(Text(CAutoRecordDlg::kRangeFromField), "all");
    Fire(*m_dialog, CAutoRecordDlg::kRefreshTimer);
    EXPECT_EQ(Text(CAutoRecordDlg::kRangeFromField), "-10");
    EXPECT_EQ(Text(CAutoRecordDlg::kRangeToField), "30");
    EXPECT_EQ(Text(CAutoRecordDlg::kTriggerCountField), "0");
    EXPECT_EQ(Text(CAutoRecordDlg::kBaseNameField), "run");
    // The options page has a button for the basic mode only; other modes show their number.
    EXPECT_EQ(Text(CAutoRecordDlg::kModeField), "Mode : 3");

    // A group of cameras only has no data rate to show.
    m_group->RemoveDevice(m_group->GetDeviceHandle(1));
    Fire(*m_dialog, CAutoRecordDlg::kRefreshTimer);
    for (int id : {CAutoRecordDlg::kDataRateField, CAutoRecordDlg::kDataRateLabel,
                   CAutoRecordDlg::kDataRateUnit})
        EXPECT_FALSE(Shown(*m_dialog, id)) << id;
}

namespace {

// A window's own command target, as a data card's acquisition window has.
class OwnTarget : public IDeviceCommandTarget {
public:
    int HandleDeviceCommand(int, int, const VARIANT&, const VARIANT&, VARIANT*, VARIANT*) override {
        return 0;
    }
};

}  // namespace

TEST_F(RecordingDialogsTest, TheControllerOfTheOpenDevicesShowsTheBusyBoxWhileTheyRecord) {
    int cardHandle = -1;
    m_group->GetDeviceAt(1)->GetHandle(&cardHandle);
    OwnTarget own;
    CDeviceLink cardWindow;
    cardWindow.SetHandle(cardHandle);
    cardWindow.SetCommandTarget(&own);
    {
        CAutoRecordHost host;
        CRecordingBusyDlg& busy = host.GetBusyBox();
        QStringList seen;
        QTimer::singleShot(0, [&] {
            CRecordGroup& group = host.GetGroup();
            seen << QString::number(group.GetDeviceCount());
            seen << (cardWindow.GetCommandTarget() == &group ? "group" : "other");
            ASSERT_EQ(group.RecordAllDevices(), S_OK);
            host.Poll();
            seen << (busy.IsWindowVisible() ? "busy" : "hidden") << busy.GetText();
            group.GoIdle();
            host.Poll();
            seen << (busy.IsWindowVisible() ? "busy" : "hidden");
            CloseModal();
        });
        EXPECT_EQ(host.Run(nullptr), IDCANCEL);
        EXPECT_EQ(seen, QStringList({"2", "group", "busy", "Record", "hidden"}));
    }
    // The card's window sends to its own target again.
    EXPECT_EQ(cardWindow.GetCommandTarget(), &own);

    // The recording settings can turn the box off.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE,
                             QStringLiteral("Software\\Tolvar\\Vidra OS\\Record Options"),
                             KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    RegSetDword(key, QStringLiteral("Record:RecordBusyDlg"), 0);
    RegCloseKey(key);
    CAutoRecordHost quiet;
    QTimer::singleShot(0, [&] {
        ASSERT_EQ(quiet.GetGroup().RecordAllDevices(), S_OK);
        quiet.Poll();
        EXPECT_FALSE(quiet.GetBusyBox().IsWindowVisible());
        CloseModal();
    });
    EXPECT_EQ(quiet.Run(nullptr), IDCANCEL);
}

TEST_F(RecordingDialogsTest, TheControllerNeedsAnOpenDevice) {
    m_group.reset();
    OpenDevices::DestroyAll();
    CAutoRecordHost host;
    Prompter().ExpectMessageBox(QStringLiteral("No devices are currently open to record.  Please "
                                               "open a camera or a data card first."),
                                IDOK);
    EXPECT_EQ(host.Run(nullptr), -1);
}
