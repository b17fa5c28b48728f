#include "devices/CamView.h"
#include "devices/DevicesTab.h"
#include "devices/IDeviceViewFinder.h"
#include "devices/RecordTab.h"
#include "devices/TriggerAdjustTab.h"
#include "devices/VideoTriggerTab.h"
#include "devices/core/Device.h"
#include "devices/core/IRecordGroupHost.h"
#include "devices/core/IRecordGroupOwner.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/SimCard.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/com/SafeArray.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "shell/NumberEntryDlg.h"
#include "shell/SliderNumberDlg.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The record group's pages over simulated devices: each page is made in a host window, follows
// a group through a provider and finds the camera in front through a view finder, as a record
// controller sets them up.

namespace {

using Log = std::vector<std::string>;

// A simulated camera whose answers a test can bend, and which logs its setting calls with the
// links' alternate notification at the time of the call.
class CTestCamera : public CSimCamera {
public:
    CTestCamera(Log* log, const DriverHostServices* host, int subtype)
        : CSimCamera(host, subtype, 0, false, int64_t(2000) * 320 * 240), m_log(log) {
        SetResolution(320, 240);
    }
    int GetRecordRate(double* value) override {
        if (rate && value) {
            *value = *rate;
            return 0;
        }
        return CSimCamera::GetRecordRate(value);
    }
    int GetPointsPerFrame(int* points) override {
        if (pointsPerFrame < 0 || !points)
            return CSimCamera::GetPointsPerFrame(points);
        *points = pointsPerFrame;
        return 0;
    }
    int GetMaxFrames(int* count) override {
        return maxFramesFails ? 1 : CSimCamera::GetMaxFrames(count);
    }
    int SetTriggerSetting(const DriverTriggerSetting& setting) override {
        Write("SetTriggerSetting(" + std::to_string(setting.type) + "," +
              std::to_string(setting.postTriggerFrames) + "," + std::to_string(setting.third) +
              ")");
        return CSimCamera::SetTriggerSetting(setting);
    }
    int SetMode(int mode) override {
        Write("SetMode(" + std::to_string(mode) + ")");
        return CSimCamera::SetMode(mode);
    }
    int Trigger() override {
        Write("Trigger");
        return CSimCamera::Trigger();
    }
    int Stop() override {
        Write("Stop");
        return CSimCamera::Stop();
    }
    int SetVideoTriggerItem(int item, int value) override {
        Write("SetVideoTriggerItem(" + std::to_string(item) + "," + std::to_string(value) + ")");
        return CSimCamera::SetVideoTriggerItem(item, value);
    }

    std::optional<double> rate;
    int pointsPerFrame = -1;
    bool maxFramesFails = false;

private:
    void Write(const std::string& call) {
        m_log->push_back(call + (GetAlternateNotification() ? " alt" : ""));
    }
    Log* m_log;
};

// A group that logs the commands that reach it: the code and how its values came.
class CLoggingGroup : public CRecordGroup {
public:
    struct Command {
        int code;
        int valuesType;
        LONG firstInt;  // the first value of a VT_I4 array, else -1
    };

    int HandleDeviceCommand(int handle, int subtype, const VARIANT& code, const VARIANT& values,
                            VARIANT* status, VARIANT* result) override {
        Command command{code.lVal, static_cast<int>(values.vt), -1};
        LONG first = 0;
        if (values.vt == (VT_ARRAY | VT_I4))
            SafeArrayGetElement(values.parray, &first, &command.firstInt);
        commands.push_back(command);
        return CRecordGroup::HandleDeviceCommand(handle, subtype, code, values, status, result);
    }
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const Command& c : commands)
            codes.push_back(c.code);
        return codes;
    }

    std::vector<Command> commands;
};

class CProvider : public IDeviceCommandTargetProvider {
public:
    IDeviceCommandTarget* GetCommandTarget() override { return target; }
    IDeviceCommandTarget* target = nullptr;
};

class CFinder : public IDeviceViewFinder {
public:
    CView* GetActiveDeviceView(int* kind, CDevice** device) override {
        *kind = view ? kCameraView : kOtherView;
        if (device)
            *device = view ? view->GetDevice() : nullptr;
        return view;
    }
    CView* FindDeviceWindow(int, int) override { return nullptr; }
    CCamView* FindCameraViewForDataView(CView*) override { return nullptr; }
    CCamView* view = nullptr;
};

class COwner : public IRecordGroupOwner {
public:
    void AddDeviceOfKind(int kind) override { kinds.push_back(kind); }
    std::vector<int> kinds;
};

class CNoWaitHost : public IRecordGroupHost {
public:
    bool IsClosing() override { return false; }
    void ShowActiveArea(CDevice&) override {}
    void Wait(int) override {}
};

// Runs act on the modal dialog of class T once it shows.
template <class T>
void WhenModal(const std::function<void(T*)>& act, bool* seen) {
    QTimer::singleShot(0, [act, seen] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = dynamic_cast<T*>(CWnd::FromWidgetPermanent(widget));
                window && widget->isVisible()) {
                *seen = true;
                act(window);
                return;
            }
        }
    });
}

class RecordPagesTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        OpenDevices::ResetForTests();
        CDeviceLinkList::ResetForTests();
        CRecordGroupListener::ResetForTests();
        CRecordGroup::SetHost(&m_host);
        m_provider.target = &m_group;
        ASSERT_TRUE(m_window.Create(nullptr, "host", 0, CRect(0, 0, 400, 600), nullptr, 0));
    }
    void TearDown() override {
        m_window.DestroyWindow();
        m_view.reset();
        m_provider.target = nullptr;
        CRecordGroup::SetHost(nullptr);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        IsolatedTest::TearDown();
    }

    CDevice* Open(std::unique_ptr<IDriverDevice> driver, int type, const QString& name,
                  int subtype = 1) {
        auto* device =
            new CDevice(CDeviceDescriptor(CDeviceId(type, subtype, m_count++)), std::move(driver));
        device->SetName(name);
        OpenDevices::Add(device);
        return device;
    }
    int Handle(CDevice* device) {
        int handle = -1;
        device->GetHandle(&handle);
        return handle;
    }
    // A camera of that subtype (device type type) in the group and in front: 1000 frames,
    // 100 after the trigger, live.
    CTestCamera* AddCameraInFront(int subtype = 1, int type = kDeviceTypeCamera) {
        auto driver = std::make_unique<CTestCamera>(&m_log, &m_clock.services, subtype);
        CTestCamera* camera = driver.get();
        EXPECT_EQ(camera->SetMaxFrames(1000), 0);
        DriverTriggerSetting setting;
        setting.type = kTriggerRisingEdge;
        setting.postTriggerFrames = 100;
        EXPECT_EQ(camera->SetTriggerSetting(setting), 0);
        EXPECT_EQ(camera->SetMode(kModeLive), 0);
        CDevice* device = Open(std::move(driver), type, QStringLiteral("Cam"), subtype);
        for (int feature : {CDevice::kFeatureEdgeTrigger, CDevice::kFeatureRisingEdge,
                            CDevice::kFeatureFallingEdge, CDevice::kFeatureEitherEdge}) {
            device->SetFeatureSupported(feature, 1);
            device->SetFeatureAvailable(feature, 1);
            device->SetFeatureOn(feature, 1);
        }
        m_group.AddDevice(Handle(device));
        m_view = std::make_unique<CCamView>();
        m_view->GetLink().SetHandle(Handle(device));
        m_finder.view = m_view.get();
        m_log.clear();
        return camera;
    }
    DriverTriggerSetting TriggerOf(CTestCamera* camera) {
        DriverTriggerSetting setting;
        camera->GetTriggerSetting(&setting);
        return setting;
    }
    static void Click(CWnd& page, int id) {
        page.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
    }
    static QString Text(CWnd& page, int id) { return page.GetDlgItemText(id); }
    static bool Enabled(CWnd& page, int id) { return page.GetDlgItem(id)->IsWindowEnabled(); }
    // An event of the page's own, as any message that reaches its window.
    static void Nudge(CWnd& page, int times = 1) {
        for (int i = 0; i < times; ++i) {
            QEvent event(QEvent::User);
            QCoreApplication::sendEvent(page.GetQWidget(), &event);
        }
    }
    // Events until the page's next one refreshes it (whatever it has counted so far).
    static void NudgeToTheEdge(CWnd& page, const CPageEventCounter& counter) {
        Nudge(page, counter.GetPeriod() - 1 - counter.GetCount());
        ASSERT_EQ(counter.GetCount(), counter.GetPeriod() - 1);
    }

    SimHostClock m_clock;
    CNoWaitHost m_host;
    CLoggingGroup m_group;
    CProvider m_provider;
    CFinder m_finder;
    std::unique_ptr<CCamView> m_view;
    CWnd m_window;
    Log m_log;
    int m_count = 0;
};

// The tree as "level:text@image", in order.
std::vector<QString> Dump(CTreeCtrl& tree) {
    std::vector<QString> out;
    const std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int level) {
        for (; item; item = tree.GetNextSiblingItem(item)) {
            int image = -1;
            int selected = -1;
            tree.GetItemImage(item, image, selected);
            out.push_back(
                QStringLiteral("%1:%2@%3").arg(level).arg(tree.GetItemText(item)).arg(image));
            walk(tree.GetChildItem(item), level + 1);
        }
    };
    walk(tree.GetRootItem(), 0);
    return out;
}

TEST_F(RecordPagesTest, DevicesTabShowsEachDeviceWithItsRecordParameters) {
    auto card = std::make_unique<CSimCard>(&m_clock.services, 1, 0, 4, 1 << 16, 1u);
    ASSERT_EQ(card->SetRecordRate(500), 0);
    auto camera = std::make_unique<CSimCamera>(&m_clock.services, 1, 0, false, int64_t(1) << 26);
    ASSERT_EQ(camera->SetExposure(2500e-9), 0);
    CDevice* cardDevice = Open(std::move(card), kDeviceTypeDataCard, QStringLiteral("Card A"));
    CDevice* cameraDevice = Open(std::move(camera), kDeviceTypeCamera, QStringLiteral("Cam B"));

    CDevicesTab page;
    page.SetProvider(&m_provider);
    ASSERT_TRUE(page.Create(&m_window));
    EXPECT_EQ(Dump(page.GetTree()), std::vector<QString>({"0:No Devices@2"}));

    m_group.AddDevice(Handle(cardDevice));
    m_group.AddDevice(Handle(cameraDevice));
    std::vector<QString> labels;
    std::vector<DWORD> images;
    CDevicesTab::BuildLabels(m_group, &labels, &images);
    EXPECT_EQ(labels, std::vector<QString>({"0:Devices", "1:Card A", "2:Rate 500.00 Hz",
                                            "2:Points/Frame 1", "1:Cam B", "2:Rate 1000.00 Hz",
                                            "2:Resolution 1280 x1024", "2:Exposure   2.50 usec"}));
    EXPECT_EQ(images, std::vector<DWORD>({2, 1, 0, 0, 3, 0, 0, 0}));

    // The group changed its devices: the next event of the page rebuilds the tree.
    EXPECT_EQ(Dump(page.GetTree()), std::vector<QString>({"0:No Devices@2"}));
    Nudge(page);
    EXPECT_EQ(page.GetLastDeviceCount(), 2);
    EXPECT_EQ(Dump(page.GetTree()),
              std::vector<QString>({"0:Devices@2", "1:Card A@1", "2:Rate 500.00 Hz@0",
                                    "2:Points/Frame 1@0", "1:Cam B@3", "2:Rate 1000.00 Hz@0",
                                    "2:Resolution 1280 x1024@0", "2:Exposure   2.50 usec@0"}));

    // A device the group cannot hand out any more is left out; without a group nothing shows.
    OpenDevices::CloseAt(OpenDevices::FindByHandle(Handle(cardDevice)));
    page.OnGroupChanged();
    EXPECT_EQ(Dump(page.GetTree()).size(), 5u);
    m_provider.target = nullptr;
    page.OnGroupChanged();
    EXPECT_TRUE(Dump(page.GetTree()).empty());
}

TEST_F(RecordPagesTest, DevicesTabAsksTheGroupsOwnerForACameraOrADataCard) {
    CDevicesTab page;
    page.SetProvider(&m_provider);
    ASSERT_TRUE(page.Create(&m_window));
    // Without an owner the buttons do nothing.
    Click(page, CDevicesTab::kAddCamera);
    COwner owner;
    m_group.SetOwner(&owner);
    Click(page, CDevicesTab::kAddCamera);
    Click(page, CDevicesTab::kAddDataCard);
    EXPECT_EQ(owner.kinds, std::vector<int>({kDeviceTypeCamera, kDeviceTypeDataCard}));
    // The buttons are the page's own drawn ones in the template's places.
    ASSERT_NE(page.GetAddCameraButton().GetSafeHwnd(), nullptr);
    EXPECT_EQ(page.GetDlgItem(CDevicesTab::kAddCamera), &page.GetAddCameraButton());
    EXPECT_EQ(page.GetAddDataCardButton().GetWindowText(), QStringLiteral("Add Data Card"));
    m_group.SetOwner(nullptr);
}

TEST_F(RecordPagesTest, TriggerTypeNamesFollowTheCameraSubtype) {
    struct Case {
        int code;
        int subtype;
        const char* text;
    };
    const Case cases[] = {{1, 1, "Rising Edge"},
                          {2, 1, "Falling Edge"},
                          {3, 1, "Rising Or Falling"},
                          {4, 1, "Record On High"},
                          {5, 1, "Record On Low"},
                          {1, 14, "TTL Logic - Rising"},
                          {2, 3, "Hand Switch - Falling"},
                          {3, 15, "Default"},
                          {4, 14, "Record On High"},
                          {0, 1, "kept"},
                          {6, 14, "kept"}};
    for (const Case& c : cases) {
        EXPECT_EQ(CTriggerAdjustTab::TriggerTypeText(c.code, c.subtype, QStringLiteral("kept")),
                  QString::fromLatin1(c.text))
            << c.code << " " << c.subtype;
    }
}

TEST_F(RecordPagesTest, TriggerAdjustShowsTheCameraInFrontAndOffersTheTypesItTakes) {
    AddCameraInFront(14);
    CTriggerAdjustTab page;
    page.SetGroupProvider(&m_provider);
    page.SetViewFinder(&m_finder);
    ASSERT_TRUE(page.Create(&m_window));
    // m = 1000, p = 100 at 1000 frames a second.
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreFrames), "900");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPostFrames), "99");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreSamples), "-");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPostSamples), "-");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreTime), "  0.90");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPostTime), "  0.10");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPercent), "90");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreTriggerButton), "90 %");
    double value = 0;
    ASSERT_EQ(page.GetSlide().GetPointerValue(1, &value), S_OK);
    EXPECT_EQ(value, 901);
    double minimum = 0;
    double maximum = 0;
    page.GetSlide().GetRange(&minimum, &maximum);
    EXPECT_EQ(std::pair(minimum, maximum), std::pair(1.0, 1000.0));
    for (int id : {CTriggerAdjustTab::kTriggerType, CTriggerAdjustTab::kPreTriggerButton,
                   CTriggerAdjustTab::kSlide})
        EXPECT_TRUE(Enabled(page, id)) << id;

    // The box names the type as the camera calls it; its list offers the plain names.
    CComboBox* combo = &page.GetTriggerTypeBox();
    EXPECT_EQ(combo->GetWindowText(), "TTL Logic - Rising");
    page.OnTriggerTypeDropDown();
    QStringList offered;
    for (int i = 0; i < combo->GetCount(); ++i)
        offered << combo->GetLBText(i);
    EXPECT_EQ(offered, QStringList({"Rising Edge", "Falling Edge", "Rising Or Falling"}));
    EXPECT_EQ(combo->GetWindowText(), "TTL Logic - Rising");
    EXPECT_EQ(m_group.Codes(), std::vector<int>({CTriggerAdjustTab::kCmdTriggerChanged}));
}

TEST_F(RecordPagesTest, TriggerTypeChoiceWritesTheTypeAndTellsTheGroup) {
    CTestCamera* camera = AddCameraInFront();
    CTriggerAdjustTab page;
    page.SetGroupProvider(&m_provider);
    page.SetViewFinder(&m_finder);
    ASSERT_TRUE(page.Create(&m_window));
    CComboBox* combo = &page.GetTriggerTypeBox();
    page.OnTriggerTypeDropDown();
    m_group.commands.clear();
    // Closed without a choice, or on an entry the list built never held: nothing.
    page.OnTriggerTypeCloseUp();
    combo->AddString(QStringLiteral("stray"));
    combo->SetCurSel(3);
    page.OnTriggerTypeCloseUp();
    EXPECT_TRUE(m_log.empty());
    EXPECT_TRUE(m_group.commands.empty());

    combo->SetCurSel(1);
    page.OnTriggerTypeCloseUp();
    ASSERT_FALSE(m_log.empty());
    EXPECT_EQ(m_log.front(), "SetTriggerSetting(2,100,-1)");
    ASSERT_EQ(m_group.commands.size(), 1u);
    EXPECT_EQ(m_group.commands[0].code, CTriggerAdjustTab::kCmdTriggerType);
    EXPECT_EQ(m_group.commands[0].valuesType, VT_ARRAY | VT_I4);
    EXPECT_EQ(m_group.commands[0].firstInt, 2);
    EXPECT_EQ(TriggerOf(camera).type, kTriggerFallingEdge);
    EXPECT_EQ(combo->GetWindowText(), "Falling Edge");
}

TEST_F(RecordPagesTest, ASlideStepMovesTheTriggerByAHundredthOfTheMemory) {
    CTestCamera* camera = AddCameraInFront();
    CTriggerAdjustTab page;
    page.SetGroupProvider(&m_provider);
    page.SetViewFinder(&m_finder);
    ASSERT_TRUE(page.Create(&m_window));
    struct Case {
        int slideValue;  // with p = 100 the slide stands at 901
        int post;
    };
    // One step either way jumps (by 10 after, by 9 before, as the step rule has it); longer
    // moves go where the slide points.
    for (const Case& c : {Case{900, 110}, Case{902, 91}, Case{801, 200}, Case{951, 50}}) {
        DriverTriggerSetting setting = TriggerOf(camera);
        setting.postTriggerFrames = 100;
        camera->SetTriggerSetting(setting);
        page.Refresh();
        page.OnSlideMouseDown();
        EXPECT_EQ(page.GetReleaseFlag(), 0);
        page.GetSlide().SetPointerValue(1, c.slideValue);
        page.OnSlideTracking(c.slideValue);
        EXPECT_EQ(Text(page, CTriggerAdjustTab::kPercent), "-");
        m_group.commands.clear();
        page.OnSlideMouseUp();
        EXPECT_EQ(page.GetReleaseFlag(), 1);
        EXPECT_EQ(TriggerOf(camera).postTriggerFrames, c.post) << c.slideValue;
        EXPECT_EQ(m_group.Codes(), std::vector<int>({CTriggerAdjustTab::kCmdCheckTrigger}));
        EXPECT_EQ(Text(page, CTriggerAdjustTab::kPostFrames), QString::number(c.post - 1));
    }
}

TEST_F(RecordPagesTest, TriggerAdjustFieldsForRatesDataDevicesAndIdleDevices) {
    CTestCamera* camera = AddCameraInFront(1, kDeviceTypeDataCard);
    camera->pointsPerFrame = 10;
    camera->rate = 0.0;
    CTriggerAdjustTab page;
    page.SetGroupProvider(&m_provider);
    page.SetViewFinder(&m_finder);
    ASSERT_TRUE(page.Create(&m_window));
    // A data device: counts by its frames, samples beside them; no rate: no times.
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreFrames), "90");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPostFrames), "9");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreSamples), "811");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPostSamples), "99");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreTime), "  0.00");
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPostTime), "  0.00");

    // Neither live nor recording: the fields stay, the controls go grey.
    ASSERT_EQ(camera->SetMode(kModeIdle), 0);
    DriverTriggerSetting setting = TriggerOf(camera);
    setting.postTriggerFrames = 500;
    camera->SetTriggerSetting(setting);
    Nudge(page, CTriggerAdjustTab::kPollPeriod);
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreFrames), "90");
    for (int id : {CTriggerAdjustTab::kTriggerType, CTriggerAdjustTab::kPreTriggerButton,
                   CTriggerAdjustTab::kSlide})
        EXPECT_FALSE(Enabled(page, id)) << id;
    // Recording again: the 50th event of the page shows the new setting.
    ASSERT_EQ(camera->SetMode(kModeArmed), 0);
    NudgeToTheEdge(page, page.GetEventCounter());
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreFrames), "90");
    Nudge(page);
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreFrames), "50");
    EXPECT_TRUE(Enabled(page, CTriggerAdjustTab::kSlide));
}

TEST_F(RecordPagesTest, PreTriggerCountIsAskedForAndWritten) {
    CTestCamera* camera = AddCameraInFront();
    CTriggerAdjustTab page;
    page.SetGroupProvider(&m_provider);
    page.SetViewFinder(&m_finder);
    ASSERT_TRUE(page.Create(&m_window));
    bool seen = false;
    QString title;
    QString prompt;
    WhenModal<CSliderNumberDlg>(
        [&](CSliderNumberDlg* dialog) {
            title = dialog->GetWindowText();
            prompt = dialog->GetDlgItemText(CSliderNumberDlg::kPromptId);
            EXPECT_EQ(dialog->GetValue(), 900);
            EXPECT_EQ(dialog->GetFlag(), 1);
            dialog->SetDlgItemText(CSliderNumberDlg::kValueId, QStringLiteral("250"));
            dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        },
        &seen);
    m_group.commands.clear();
    page.OnPreTriggerCount();
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, "Pre-Trigger");
    EXPECT_EQ(prompt, "Enter desired Pre-Trigger Count\n(including Trigger Frame)");
    EXPECT_EQ(m_log, Log({"SetTriggerSetting(1,750,-1)"}));
    EXPECT_EQ(m_group.Codes(), std::vector<int>({CTriggerAdjustTab::kCmdTriggerChanged}));
    EXPECT_EQ(Text(page, CTriggerAdjustTab::kPreFrames), "250");

    // A camera that cannot tell its memory: the message, nothing else.
    camera->maxFramesFails = true;
    m_log.clear();
    Prompter().ExpectMessageBox(QString::fromLatin1(CTriggerAdjustTab::kMaxFramesError), IDOK);
    page.OnPreTriggerCount();
    EXPECT_TRUE(m_log.empty());
}

TEST_F(RecordPagesTest, RecordButtonsFollowTheGroupsState) {
    using E = CRecordTab::Enabling;
    struct Case {
        int chain;
        bool open;
        int state;
        int first;
        int second;
        int mayRecord;
        E enabling;
    };
    const E none{};
    const Case cases[] = {
        // Without the chain setting or an open device nothing goes.
        {0, true, CRecordGroup::kLive, 1, 0, 1, none},
        {1, false, CRecordGroup::kLive, 1, 0, 1, none},
        // Idle or unknown: live or record.
        {1, true, CRecordGroup::kIdle, 1, 0, 1, {true, true, false, false, false}},
        {1, true, CRecordGroup::kUnknown, 1, 0, 1, {true, true, false, false, false}},
        {1, true, CRecordGroup::kPlayback, 1, 0, 1, {true, true, false, false, false}},
        // Live: record, stop, idle.
        {1, true, CRecordGroup::kLive, 1, 0, 1, {true, true, false, true, true}},
        // Recording: trigger and stop while the group takes commands.
        {1, true, CRecordGroup::kRecord, 1, 0, 1, {true, false, true, true, true}},
        {1, true, CRecordGroup::kRecord, 1, 1, 1, {true, false, false, false, true}},
        {1, true, CRecordGroup::kRecord, 0, 0, 1, {true, false, false, true, true}},
        // An automatic download drives the group: no record, no trigger.
        {1, true, CRecordGroup::kRecord, 1, 0, 0, {true, false, false, true, true}},
        {1, true, CRecordGroup::kLive, 1, 0, 0, {true, false, false, true, true}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CRecordTab::EnablingFor(c.chain, c.open, c.state, c.first, c.second, c.mayRecord),
                  c.enabling)
            << c.chain << c.open << " state " << c.state << " " << c.first << c.second
            << c.mayRecord;
    }
}

TEST_F(RecordPagesTest, RecordPageDrivesItsGroupUnderTheAlternateNotification) {
    CTestCamera* camera = AddCameraInFront();
    ASSERT_EQ(camera->SetMode(kModeIdle), 0);
    CRecordTab page;
    page.SetGroupProvider(&m_provider);
    ASSERT_TRUE(page.Create(&m_window));
    const std::pair<int, UINT> icons[] = {{CRecordTab::kLive, CRecordTab::kLiveIcon},
                                          {CRecordTab::kRecord, CRecordTab::kRecordIcon},
                                          {CRecordTab::kTrigger, CRecordTab::kTriggerIcon},
                                          {CRecordTab::kStop, CRecordTab::kStopIcon},
                                          {CRecordTab::kIdle, CRecordTab::kIdleIcon}};
    for (const auto& [id, icon] : icons) {
        auto* button = qobject_cast<QAbstractButton*>(page.GetDlgItem(id)->GetQWidget());
        ASSERT_NE(button, nullptr);
        const QImage shown = button->icon().pixmap(16, 16).toImage();
        EXPECT_EQ(shown.pixel(8, 8), CResourceChain::LoadIcon(icon).pixel(8, 8)) << id;
    }
    // The chain check says the setting and stays hidden; it still turns the setting.
    EXPECT_FALSE(page.GetDlgItem(CRecordTab::kChain)->IsWindowVisible());
    EXPECT_EQ(page.IsDlgButtonChecked(CRecordTab::kChain), 1u);
    page.OnChainRecording();
    EXPECT_EQ(m_group.GetChainSetting(), 0);
    page.Refresh();
    EXPECT_FALSE(Enabled(page, CRecordTab::kLive));
    page.OnChainRecording();
    page.Refresh();
    EXPECT_TRUE(Enabled(page, CRecordTab::kLive));

    const struct {
        std::function<void()> press;
        const char* call;
        int state;
    } steps[] = {
        {[&] { page.OnLive(); }, "SetMode(1) alt", CRecordGroup::kLive},
        {[&] { page.OnRecord(); }, "SetMode(3) alt", CRecordGroup::kRecord},
        {[&] { page.OnTrigger(); }, "Trigger alt", CRecordGroup::kRecord},
        {[&] { page.OnStop(); }, "Stop alt", CRecordGroup::kRecord},
        {[&] { page.OnIdle(); }, "SetMode(5) alt", CRecordGroup::kIdle},
    };
    for (const auto& step : steps) {
        m_log.clear();
        step.press();
        EXPECT_NE(std::find(m_log.begin(), m_log.end(), step.call), m_log.end()) << step.call;
        EXPECT_EQ(GetAlternateNotification(), 0) << step.call;
        EXPECT_EQ(m_group.GetState(), step.state) << step.call;
    }
    // Idle again: live and record; the group gone: nothing.
    EXPECT_TRUE(Enabled(page, CRecordTab::kRecord));
    EXPECT_FALSE(Enabled(page, CRecordTab::kTrigger));
    m_provider.target = nullptr;
    page.UpdatePage();
    for (int id : {CRecordTab::kLive, CRecordTab::kRecord, CRecordTab::kTrigger, CRecordTab::kStop,
                   CRecordTab::kIdle})
        EXPECT_FALSE(Enabled(page, id)) << id;
}

TEST_F(RecordPagesTest, VideoTriggerPresetsAndPromptsGoToTheCamera) {
    CTestCamera* camera = AddCameraInFront();
    CVideoTriggerTab page;
    page.SetViewFinder(&m_finder);
    ASSERT_TRUE(page.Create(&m_window));
    struct Case {
        int combo;
        int item;
        QStringList offered;
        const char* title;
        const char* prompt;
    };
    const QStringList levels = {"5", "10", "20", "40", "100", "200", "User..."};
    const Case cases[] = {
        {CVideoTriggerTab::kRisingCombo, kVideoTriggerRising, levels, "Rising Level",
         "Desired Rising Level :"},
        {CVideoTriggerTab::kFallingCombo, kVideoTriggerFalling, levels, "Falling Level",
         "Desired Falling Level :"},
        {CVideoTriggerTab::kTrainingCombo,
         kVideoTriggerTraining,
         {"1", "10", "25", "50", "100", "User..."},
         "Training Count",
         "Desired Training Count :"},
    };
    for (const Case& c : cases) {
        auto* combo = dynamic_cast<CComboBox*>(page.GetDlgItem(c.combo));
        ASSERT_NE(combo, nullptr) << "the page binds its boxes";
        page.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(c.combo), CBN_DROPDOWN), 0);
        QStringList offered;
        for (int i = 0; i < combo->GetCount(); ++i)
            offered << combo->GetLBText(i);
        EXPECT_EQ(offered, c.offered) << c.title;
        EXPECT_EQ(combo->GetCurSel(), CB_ERR);

        // A preset goes straight to the camera.
        m_log.clear();
        combo->SetCurSel(2);
        page.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(c.combo), CBN_SELCHANGE), 0);
        EXPECT_EQ(m_log, Log({"SetVideoTriggerItem(" + std::to_string(c.item) + "," +
                              c.offered[2].toStdString() + ")"}));

        // "User..." asks; a cancelled prompt sends nothing, an answer is sent.
        for (const int answer : {IDCANCEL, IDOK}) {
            m_log.clear();
            bool seen = false;
            QString title;
            QString prompt;
            WhenModal<CNumberEntryDlg>(
                [&](CNumberEntryDlg* dialog) {
                    title = dialog->GetWindowText();
                    prompt = dialog->GetDlgItemText(CNumberEntryDlg::kPromptId);
                    dialog->SetDlgItemText(CNumberEntryDlg::kValueId, QStringLiteral("77"));
                    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
                },
                &seen);
            combo->SetCurSel(combo->GetCount() - 1);
            page.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(c.combo), CBN_SELCHANGE), 0);
            ASSERT_TRUE(seen) << c.title;
            EXPECT_EQ(title, QString::fromLatin1(c.title));
            EXPECT_EQ(prompt, QString::fromLatin1(c.prompt));
            const Log expected =
                answer == IDOK ? Log({"SetVideoTriggerItem(" + std::to_string(c.item) + ",77)"})
                               : Log();
            EXPECT_EQ(m_log, expected) << c.title;
        }
    }
    int value = 0;
    camera->GetVideoTriggerItem(kVideoTriggerTraining, &value);
    EXPECT_EQ(value, 77);
}

TEST_F(RecordPagesTest, VideoTriggerEditsTrainingAndLevelText) {
    CTestCamera* camera = AddCameraInFront();
    CVideoTriggerTab page;
    page.SetViewFinder(&m_finder);
    ASSERT_TRUE(page.Create(&m_window));
    // The arrows send their edits; the unlabelled buttons read the camera's values back.
    page.SetDlgItemText(CVideoTriggerTab::kRisingEdit, QStringLiteral("210"));
    page.SetDlgItemText(CVideoTriggerTab::kFallingEdit, QStringLiteral("not a number"));
    page.SetDlgItemText(CVideoTriggerTab::kTrainingEdit, QStringLiteral("12"));
    Click(page, CVideoTriggerTab::kSendRising);
    Click(page, CVideoTriggerTab::kSendFalling);
    Click(page, CVideoTriggerTab::kSendTraining);
    EXPECT_EQ(m_log, Log({"SetVideoTriggerItem(0,210)", "SetVideoTriggerItem(2,12)"}));
    camera->SetVideoTriggerItem(kVideoTriggerFalling, 30);
    camera->SetVideoTriggerItem(kVideoTriggerTraining, 40);
    Click(page, CVideoTriggerTab::kReadLevels);
    EXPECT_EQ(Text(page, CVideoTriggerTab::kRisingEdit), "210");
    EXPECT_EQ(Text(page, CVideoTriggerTab::kFallingEdit), "30");
    EXPECT_EQ(Text(page, CVideoTriggerTab::kTrainingEdit), "12");
    Click(page, CVideoTriggerTab::kReadTraining);
    EXPECT_EQ(Text(page, CVideoTriggerTab::kTrainingEdit), "40");

    // "Train on Record" goes to the camera; the 15th event shows what the camera holds.
    page.CheckDlgButton(CVideoTriggerTab::kTrainOnRecord, BST_CHECKED);
    Click(page, CVideoTriggerTab::kTrainOnRecord);
    int onRecord = 0;
    camera->GetVideoTriggerItem(kVideoTriggerTrainOnRecord, &onRecord);
    EXPECT_EQ(onRecord, 1);
    camera->SetVideoTriggerItem(kVideoTriggerTrainOnRecord, 0);
    NudgeToTheEdge(page, page.GetEventCounter());
    EXPECT_EQ(page.IsDlgButtonChecked(CVideoTriggerTab::kTrainOnRecord), 1u);
    Nudge(page);
    EXPECT_EQ(page.IsDlgButtonChecked(CVideoTriggerTab::kTrainOnRecord), 0u);

    // Without a camera in front nothing is sent.
    m_finder.view = nullptr;
    m_log.clear();
    Click(page, CVideoTriggerTab::kSendRising);
    Click(page, CVideoTriggerTab::kRetrain);
    EXPECT_TRUE(m_log.empty());
    EXPECT_EQ(Text(page, CVideoTriggerTab::kLevelText), "Video Trigger Level : ");
}

}  // namespace
