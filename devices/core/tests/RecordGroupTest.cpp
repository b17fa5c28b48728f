#include "devices/core/RecordGroup.h"

#include "devices/core/Device.h"
#include "devices/core/IRecordGroupHost.h"
#include "devices/core/IRecordGroupListener.h"
#include "devices/core/IRecordingCompleteHandler.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroupListener.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/SimCard.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/com/MemorySettingsStore.h"
#include "platform/com/SafeArray.h"
#include "testsupport/IsolatedTest.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The record group over simulated devices whose calls go into one log, in the order the devices
// receive them: "cam1 SetMode(3)", "wait 100" for the pause between master and slaves.

namespace {

using Log = std::vector<std::string>;

template <class Base>
class CLogged : public Base {
public:
    template <class... Args>
    CLogged(Log* log, std::string name, Args&&... args)
        : Base(std::forward<Args>(args)...), m_log(log), m_name(std::move(name)) {}

    int SetMode(int mode) override {
        Write("SetMode(" + std::to_string(mode) + ")");
        return Base::SetMode(mode);
    }
    int SetRole(int role) override {
        Write("SetRole(" + std::to_string(role) + ")");
        return Base::SetRole(role);
    }
    int Trigger() override {
        Write("Trigger");
        return Base::Trigger();
    }
    int Stop() override {
        Write("Stop");
        return Base::Stop();
    }
    int SetMaxFrames(int count) override {
        Write("SetMaxFrames(" + std::to_string(count) + ")");
        return Base::SetMaxFrames(count);
    }
    int SetTriggerSetting(const DriverTriggerSetting& setting) override {
        Write("SetTriggerSetting(" + std::to_string(setting.type) + "," +
              std::to_string(setting.postTriggerFrames) + ")");
        return Base::SetTriggerSetting(setting);
    }
    int SetRecordRate(double rate) override {
        Write("SetRecordRate(" + std::to_string(static_cast<int>(rate)) + ")");
        return Base::SetRecordRate(rate);
    }

private:
    void Write(const std::string& call) { m_log->push_back(m_name + " " + call); }

    Log* m_log;
    std::string m_name;
};

using LoggedCamera = CLogged<CSimCamera>;
using LoggedCard = CLogged<CSimCard>;

class TestHost : public IRecordGroupHost {
public:
    explicit TestHost(Log* log, SimHostClock* clock) : m_log(log), m_clock(clock) {}
    bool IsClosing() override { return closing; }
    void ShowActiveArea(CDevice& device) override {
        device.GetHandle(&activeAreaHandle);
        m_log->push_back("active area");
    }
    // The devices' time passes; nothing waits.
    void Wait(int milliseconds) override {
        m_log->push_back("wait " + std::to_string(milliseconds));
        m_clock->nowNs += int64_t{milliseconds} * 1000000;
    }
    bool closing = false;
    int activeAreaHandle = -1;

private:
    Log* m_log;
    SimHostClock* m_clock;
};

class StateLog : public IRecordGroupListener {
public:
    HRESULT AddPlayback(int deviceHandle) override {
        playbacks.push_back(deviceHandle);
        return playbackAnswer;
    }
    HRESULT OnStateChanged(int oldState, int newState) override {
        changes.push_back({oldState, newState});
        return S_OK;
    }
    HRESULT OnRecordingEnded(int state) override {
        ended.push_back(state);
        return S_OK;
    }
    HRESULT OnBeforeLive() override {
        changes.push_back({-1, -1});
        return S_OK;
    }
    HRESULT OnGroupChanged() override {
        ++groupChanges;
        return S_OK;
    }
    std::vector<std::pair<int, int>> changes;
    std::vector<int> ended;
    std::vector<int> playbacks;
    HRESULT playbackAnswer = S_OK;
    int groupChanges = 0;
};

class Completion : public IRecordingCompleteHandler {
public:
    void OnRecordingComplete() override { ++count; }
    int count = 0;
};

// A page that follows the group through a provider, as the record pages do.
class FollowingPage : public CRecordGroupListener, public IDeviceCommandTargetProvider {
public:
    explicit FollowingPage(CRecordGroup* group) : m_group(group) { SetProvider(this); }
    IDeviceCommandTarget* GetCommandTarget() override { return m_group; }
    void OnGroupChanged() override { ++changes; }
    void OnGroupClosed() override { ++closed; }
    int changes = 0;
    int closed = 0;

private:
    CRecordGroup* m_group;
};

class CountingLink : public CDeviceLink {
public:
    void OnDeviceUpdate() override { ++updates; }
    int updates = 0;
};

// A recording that a window still plays.
class PlayedRecording : public CHeldRecordingRef {
public:
    bool IsShared() const override { return true; }
};

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int64_t kFrameBytes = int64_t{kWidth} * kHeight;

// Public: the cases of a table reach the fixture through lambdas.
class RecordGroupTest : public IsolatedTest {
public:
    void SetUp() override {
        IsolatedTest::SetUp();
        OpenDevices::ResetForTests();
        CDeviceLinkList::ResetForTests();
        CRecordGroupListener::ResetForTests();
        CRecordGroup::SetHost(&m_host);
        m_group = std::make_unique<CRecordGroup>();
        m_group->SetStateListener(&m_states);
        m_group->SetRecordingCompleteHandler(&m_completion);
    }
    void TearDown() override {
        m_group.reset();
        CRecordGroup::SetHost(nullptr);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        IsolatedTest::TearDown();
    }
    // A new group without devices, for the next case of a table.
    void Restart() {
        m_group.reset();
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        m_camerasByName.clear();
        m_card = nullptr;
        m_cameras = 0;
        m_log.clear();
        m_states.changes.clear();
        m_completion.count = 0;
        m_group = std::make_unique<CRecordGroup>();
        m_group->SetStateListener(&m_states);
        m_group->SetRecordingCompleteHandler(&m_completion);
    }

    // A camera of 1000 frames' memory at 1000 frames per second, 100 frames after the trigger,
    // in the group; its handle.
    int AddCamera(int memoryFrames = 1000, bool sync = true) {
        const std::string name = "cam" + std::to_string(++m_cameras);
        auto driver = std::make_unique<LoggedCamera>(
            &m_log, name, &m_clock.services, 1, m_cameras - 1, false, memoryFrames * kFrameBytes);
        EXPECT_EQ(driver->SetResolution(kWidth, kHeight), 0);
        Configure(driver.get(), sync);
        m_camerasByName.push_back(driver.get());
        return Add(std::move(driver), kDeviceTypeCamera);
    }
    int AddCard() {
        auto driver =
            std::make_unique<LoggedCard>(&m_log, "card", &m_clock.services, 1, 0, 4, 1 << 16, 1u);
        Configure(driver.get(), true);
        m_card = driver.get();
        return Add(std::move(driver), kDeviceTypeDataCard);
    }
    void Configure(CSimDeviceBase* driver, bool sync) {
        EXPECT_EQ(driver->SetRecordRate(1000), 0);
        EXPECT_EQ(driver->SetMaxFrames(1000), 0);
        DriverTriggerSetting setting;
        setting.postTriggerFrames = 100;
        EXPECT_EQ(driver->SetTriggerSetting(setting), 0);
        if (sync)
            driver->JoinSyncLine(m_sync);
    }
    int Add(std::unique_ptr<IDriverDevice> driver, int type) {
        auto* device =
            new CDevice(CDeviceDescriptor(CDeviceId(type, 1, m_cameras)), std::move(driver));
        OpenDevices::Add(device);
        int handle = -1;
        device->GetHandle(&handle);
        m_group->AddDevice(handle);
        return handle;
    }
    CDevice* Device(int index) { return m_group->GetDeviceAt(index); }
    IDriverDevice* Driver(int index) { return Device(index)->Driver(); }
    int MaxFrames(int index) {
        int frames = 0;
        Driver(index)->GetMaxFrames(&frames);
        return frames;
    }
    DriverTriggerSetting Trigger(int index) {
        DriverTriggerSetting setting;
        Driver(index)->GetTriggerSetting(&setting);
        return setting;
    }
    double Rate(int index) {
        double rate = 0;
        Device(index)->GetRecordRate(&rate);
        return rate;
    }
    // The log entries of these operations only.
    Log Calls(std::initializer_list<std::string> operations) const {
        Log calls;
        for (const std::string& entry : m_log) {
            for (const std::string& operation : operations) {
                if (entry.find(operation) != std::string::npos) {
                    calls.push_back(entry);
                    break;
                }
            }
        }
        return calls;
    }

    SimHostClock m_clock;
    Log m_log;
    TestHost m_host{&m_log, &m_clock};
    StateLog m_states;
    Completion m_completion;
    std::shared_ptr<CSimSyncLine> m_sync = std::make_shared<CSimSyncLine>();
    CDeviceManager m_keepDevices;  // the devices outlive the group
    std::unique_ptr<CRecordGroup> m_group;
    std::vector<LoggedCamera*> m_camerasByName;
    LoggedCard* m_card = nullptr;
    int m_cameras = 0;
};

// Sends one command to the group as a record page does, values as an array of vt.
struct CommandAnswer {
    int result = -1;
    int status = -1;
    VARIANT answer;
};

CommandAnswer Send(CRecordGroup& group, int handle, int code, VARTYPE vt = VT_EMPTY,
                   double value = 0) {
    VARIANT codeValue;
    codeValue.vt = VT_I4;
    codeValue.lVal = code;
    VARIANT values;
    if (vt != VT_EMPTY) {
        values.vt = VT_ARRAY | vt;
        values.parray = SafeArrayCreateVector(vt, 0, 1);
        const LONG first = 0;
        if (vt == VT_R8) {
            SafeArrayPutElement(values.parray, &first, &value);
        } else {
            const LONG number = static_cast<LONG>(value);
            SafeArrayPutElement(values.parray, &first, &number);
        }
    }
    VARIANT status;
    CommandAnswer answer;
    answer.result =
        group.HandleDeviceCommand(handle, 1, codeValue, values, &status, &answer.answer);
    answer.status = status.vt == VT_I4 ? static_cast<int>(status.lVal & 0xFFFF) : -1;
    VariantClear(&values);
    return answer;
}

}  // namespace

TEST_F(RecordGroupTest, RecordAllDevicesArmsTheMasterThenTheSlavesWhileEachAccepts) {
    struct Case {
        const char* what;
        int cameras;
        int refusingCamera;  // 0: none
        const char* refusedOperation;
        Log calls;
        HRESULT result;
        int state;
    };
    const Case cases[] = {
        {"one device: master, no slave step",
         1,
         0,
         "",
         {"cam1 SetRole(0)", "cam1 SetMode(3)", "wait 100"},
         0,
         CRecordGroup::kRecord},
        {"three devices",
         3,
         0,
         "",
         {"cam1 SetRole(0)", "cam1 SetMode(3)", "wait 100", "cam2 SetRole(1)", "cam2 SetMode(3)",
          "cam3 SetRole(1)", "cam3 SetMode(3)"},
         0,
         CRecordGroup::kRecord},
        {"second refuses record mode: third untouched",
         3,
         2,
         "SetMode",
         {"cam1 SetRole(0)", "cam1 SetMode(3)", "wait 100", "cam2 SetRole(1)", "cam2 SetMode(3)"},
         5,
         CRecordGroup::kUnknown},
        {"master refuses its role: no slave",
         2,
         1,
         "SetRole",
         {"cam1 SetRole(0)"},
         5,
         CRecordGroup::kUnknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        for (int i = 0; i < c.cameras; ++i)
            AddCamera();
        if (c.refusingCamera)
            m_camerasByName[static_cast<size_t>(c.refusingCamera - 1)]->Script().Refuse(
                c.refusedOperation, 5);
        m_log.clear();
        EXPECT_EQ(m_group->RecordAllDevices(), c.result);
        EXPECT_EQ(Calls({"SetRole", "SetMode", "wait"}), c.calls);
        EXPECT_EQ(m_group->GetState(), c.state);
        ASSERT_FALSE(m_states.changes.empty());
        EXPECT_EQ(m_states.changes.back(), std::make_pair(CRecordGroup::kUnknown, c.state));
        EXPECT_EQ(m_group->GetStopRequested(), 0);
    }
}

TEST_F(RecordGroupTest, RecordAllDevicesRefusesDisagreeingDevicesWithTheirMessage) {
    struct Case {
        const char* message;
        std::function<void(RecordGroupTest&)> spoil;
    };
    const Case cases[] = {
        {"Inconsistent record rates detected.",
         [](RecordGroupTest& t) { ASSERT_EQ(t.Driver(1)->SetRecordRate(500), 0); }},
        {"Inconsistent trigger percentages detected.",
         [](RecordGroupTest& t) {
             DriverTriggerSetting setting = t.Trigger(2);
             setting.postTriggerFrames = 500;
             ASSERT_EQ(t.Driver(2)->SetTriggerSetting(setting), 0);
         }},
        // The same post-trigger count in a memory of 300 frames is another share of it.
        {"Inconsistent trigger percentages detected.",
         [](RecordGroupTest& t) { ASSERT_EQ(t.Driver(1)->SetMaxFrames(300), 0); }},
        {"Unable to set record options for all devices.",
         [](RecordGroupTest& t) {
             OpenDevices::CloseAt(OpenDevices::FindByHandle(t.m_group->GetDeviceHandle(1)));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Restart();
        AddCamera();
        AddCamera();
        AddCard();
        c.spoil(*this);
        m_log.clear();
        Prompter().ExpectMessageBox(c.message, IDOK);
        EXPECT_EQ(m_group->RecordAllDevices(), E_FAIL);
        EXPECT_EQ(Calls({"SetMode", "SetRole"}), Log{}) << "nothing armed";
        EXPECT_EQ(m_group->GetState(), CRecordGroup::kUnknown);
        EXPECT_TRUE(m_states.changes.empty());
    }
}

TEST_F(RecordGroupTest, RecordOptionsSwitchFeatureZeroOfCamerasAndCards) {
    struct Case {
        std::optional<int> liveVideo;
        std::optional<int> liveData;
        int cameraFeature;
        int cardFeature;
    };
    for (const Case& c :
         {Case{1, 0, 1, 0}, Case{0, 1, 0, 1}, Case{std::nullopt, std::nullopt, 1, 1}}) {
        Restart();
        CMemorySettingsStore options;
        const auto put = [&options](const char* key, std::optional<int> value) {
            if (!value)
                return;
            VARIANT v;
            v.vt = VT_I4;
            v.lVal = *value;
            options.SetSetting(QString::fromLatin1(key), v, -1);
        };
        put("Record:UseLiveVideo", c.liveVideo);
        put("Record:UseLiveData", c.liveData);
        m_group->SetRecordOptions(&options);
        AddCamera();
        AddCard();
        Device(0)->SetFeatureOn(0, 7);
        Device(1)->SetFeatureOn(0, 7);
        ASSERT_EQ(m_group->RecordAllDevices(), 0);
        int on = -1;
        Device(0)->GetFeatureOn(0, &on);
        EXPECT_EQ(on, c.cameraFeature);
        Device(1)->GetFeatureOn(0, &on);
        EXPECT_EQ(on, c.cardFeature);
        m_group->SetRecordOptions(nullptr);
    }
}

TEST_F(RecordGroupTest, GoLiveAsksBeforeErasingARecordingAWindowStillPlays) {
    AddCamera();
    AddCard();
    const Log live = {"cam1 SetMode(5)", "cam1 SetRole(0)", "cam1 SetMode(1)",
                      "card SetMode(5)", "card SetRole(0)", "card SetMode(1)"};
    // Nothing held: no question.
    EXPECT_EQ(m_group->GoLive(), S_OK);
    EXPECT_EQ(Calls({"SetMode", "SetRole"}), live);
    EXPECT_EQ(m_states.changes, (std::vector<std::pair<int, int>>{
                                    {-1, -1}, {CRecordGroup::kUnknown, CRecordGroup::kLive}}));
    EXPECT_EQ(m_group->GetStateText(), "Live");

    Device(1)->SetRecordingSourceRef(std::make_shared<PlayedRecording>());
    m_log.clear();
    m_states.changes.clear();
    Prompter().ExpectMessageBox("Erase device memory?", IDNO);
    EXPECT_EQ(m_group->GoLive(), E_ABORT);
    EXPECT_EQ(m_log, Log{});
    EXPECT_TRUE(m_states.changes.empty());

    Prompter().ExpectMessageBox("Erase device memory?", IDYES);
    EXPECT_EQ(m_group->GoLive(), S_OK);
    EXPECT_EQ(Calls({"SetMode", "SetRole"}), live);
}

TEST_F(RecordGroupTest, GoIdleDoesNothingWhileTheMainWindowCloses) {
    AddCamera();
    AddCamera();
    m_log.clear();
    m_host.closing = true;
    m_group->GoIdle();
    EXPECT_EQ(m_log, Log{});
    EXPECT_EQ(m_group->GetState(), CRecordGroup::kUnknown);
    EXPECT_TRUE(m_states.changes.empty());

    m_host.closing = false;
    m_group->GoIdle();
    EXPECT_EQ(Calls({"SetMode", "SetRole"}),
              (Log{"cam1 SetMode(5)", "cam1 SetRole(0)", "cam1 SetMode(5)", "cam2 SetMode(5)",
                   "cam2 SetRole(0)", "cam2 SetMode(5)"}));
    EXPECT_EQ(m_group->GetStateText(), "Idle");
}

TEST_F(RecordGroupTest, StopNeedsASoftwareStopOfTheFirstDevice) {
    AddCamera();
    AddCamera();
    ASSERT_EQ(m_group->RecordAllDevices(), 0);
    m_log.clear();
    m_camerasByName[0]->Script().Refuse("GetStopSupport", 1);
    Prompter().ExpectMessageBox(
        "Software Stop is not supported by the current device.\n"
        "You must Trigger the device to complete the recording.",
        IDOK);
    m_group->Stop();
    EXPECT_EQ(m_group->GetStopRequested(), 1);
    EXPECT_EQ(Calls({"Stop"}), Log{});
    EXPECT_EQ(Driver(0)->GetMode(), kModeArmed);

    m_group->Stop();
    EXPECT_EQ(Calls({"Stop"}), Log{"cam1 Stop"}) << "the slave follows on the sync line";
    EXPECT_EQ(Driver(0)->GetMode(), kModeStopped);
    EXPECT_EQ(Driver(1)->GetMode(), kModeStopped);
    ASSERT_EQ(m_group->RecordAllDevices(), 0);
    EXPECT_EQ(m_group->GetStopRequested(), 0);
}

TEST_F(RecordGroupTest, StateNamesAndTexts) {
    struct Case {
        int state;
        const char* name;
    };
    for (const Case& c : {Case{-1, "Unknown"}, Case{0, "Unknown"}, Case{1, "Idle"}, Case{2, "Live"},
                          Case{3, "Playback"}, Case{4, "Record"}, Case{5, "Unknown"}}) {
        EXPECT_EQ(CRecordGroup::GetStateName(c.state), c.name) << c.state;
    }
    EXPECT_EQ(m_group->GetStateText(), "Unknown") << "before any device";
    AddCamera();
    ASSERT_EQ(m_group->RecordAllDevices(), 0);
    EXPECT_EQ(m_group->GetStateText(), "Record");
    ASSERT_EQ(m_group->Trigger(), 0);
    EXPECT_EQ(m_group->GetStateText(), "Triggered");
}

TEST_F(RecordGroupTest, MasterRecordStateFollowsTheFirstDevice) {
    EXPECT_EQ(m_group->GetMasterRecordState(), 0) << "no device";
    AddCamera();
    AddCard();
    struct Case {
        int mode;
        int state;
    };
    for (const Case& c : {Case{kModeLive, 2}, Case{kModeIdle, 1}, Case{kModeArmed, 4}}) {
        ASSERT_EQ(Driver(0)->SetMode(c.mode), 0);
        EXPECT_EQ(m_group->GetMasterRecordState(), c.state) << c.mode;
    }
    // Leaving record mode without a recording ends nothing.
    ASSERT_EQ(Driver(0)->SetMode(kModeLive), 0);
    EXPECT_EQ(m_group->GetMasterRecordState(), 2);
    EXPECT_EQ(m_completion.count, 0);
}

TEST_F(RecordGroupTest, AnEndedRecordingIsToldOnceWhenEveryDeviceHasEnded) {
    AddCamera();
    AddCamera(1000, /*sync=*/false);  // a slave the master cannot reach
    AddCard();
    FollowingPage page(m_group.get());
    ASSERT_EQ(m_group->RecordAllDevices(), 0);
    m_states.changes.clear();
    const int armedAt = static_cast<int>(m_clock.nowNs / 1000000);
    m_clock.AtTick(armedAt + 500, 1000);
    ASSERT_EQ(m_group->Trigger(), 0);
    m_clock.AtTick(armedAt + 700, 1000);
    EXPECT_EQ(Driver(0)->GetMode(), kModeStopped);
    EXPECT_EQ(m_group->GetMasterRecordState(), 0);
    EXPECT_EQ(m_completion.count, 0) << "the second camera still records";
    EXPECT_EQ(m_group->GetState(), CRecordGroup::kRecord);

    ASSERT_EQ(Driver(1)->Trigger(), 0);
    m_clock.AtTick(armedAt + 900, 1000);
    EXPECT_EQ(m_group->GetMasterRecordState(), 0);
    EXPECT_EQ(m_completion.count, 1);
    EXPECT_EQ(page.changes, 1);
    EXPECT_EQ(m_states.changes,
              (std::vector<std::pair<int, int>>{{CRecordGroup::kRecord, CRecordGroup::kUnknown}}));
    EXPECT_EQ(m_states.ended, std::vector<int>{CRecordGroup::kUnknown});
    EXPECT_EQ(m_group->GetMasterRecordState(), 0);
    EXPECT_EQ(m_completion.count, 1) << "told once";
    EXPECT_EQ(m_states.ended.size(), 1u) << "told once";
}

TEST_F(RecordGroupTest, APlaybackIsAskedOfTheStateListenerOnlyForADeviceOfTheGroup) {
    const int member = AddCamera();
    const int outsider = member + 1000;
    EXPECT_EQ(m_group->PlayBackDevice(outsider), E_FAIL);
    EXPECT_TRUE(m_states.playbacks.empty());

    EXPECT_EQ(m_group->PlayBackDevice(member), S_OK);
    m_states.playbackAnswer = E_FAIL;
    EXPECT_EQ(m_group->PlayBackDevice(member), E_FAIL) << "the listener's answer comes back";
    EXPECT_EQ(m_states.playbacks, (std::vector<int>{member, member}));

    m_group->SetStateListener(nullptr);
    EXPECT_EQ(m_group->PlayBackDevice(member), E_FAIL);
    EXPECT_EQ(m_states.playbacks.size(), 2u);
}

TEST_F(RecordGroupTest, CommandTable) {
    const int first = AddCamera();
    const int second = AddCamera(400);  // its memory holds 400 frames
    AddCard();
    CountingLink link;
    FollowingPage page(m_group.get());
    struct Case {
        const char* what;
        int code;
        VARTYPE vt;
        double value;
        int sender;
        bool enabled;
        int status;
        bool notifies;
        std::function<void(RecordGroupTest&, const CommandAnswer&)> check;
        std::function<void(RecordGroupTest&)> prepare = {};
    };
    const auto noEffect = [](RecordGroupTest& t, const CommandAnswer&) {
        EXPECT_EQ(t.Calls({"Set", "Trigger", "Stop", "active area"}), Log{});
    };
    const Case cases[] = {
        {"3 record rate (R8)", 3, VT_R8, 500, second, true, 1, true,
         [](RecordGroupTest& t, const CommandAnswer&) {
             for (int i = 0; i < 3; ++i)
                 EXPECT_EQ(t.Rate(i), 500) << i;
         }},
        {"3 to a rate a camera lacks: the nearest it has", 3, VT_R8, 2500, first, true, 1, true,
         [](RecordGroupTest& t, const CommandAnswer&) {
             EXPECT_EQ(t.Rate(0), 2000);
             EXPECT_EQ(t.Rate(1), 2000);
             EXPECT_EQ(t.Rate(2), 2500) << "the card takes any rate in its range";
         }},
        {"3 while commands are off", 3, VT_R8, 250, first, false, 1, true, noEffect},
        {"6 trigger type (I4)", 6, VT_I4, 1, first, true, 1, true,
         [](RecordGroupTest& t, const CommandAnswer&) {
             for (int i = 0; i < 3; ++i)
                 EXPECT_EQ(t.Trigger(i).type, 1) << i;
         }},
        {"6 trigger type (R8): the card refuses the video trigger", 6, VT_R8, 2, first, true, 1,
         true,
         [](RecordGroupTest& t, const CommandAnswer&) {
             EXPECT_EQ(t.Trigger(0).type, 2);
             EXPECT_EQ(t.Trigger(1).type, 2);
             EXPECT_EQ(t.Trigger(2).type, 0);
         }},
        {"7 aligns to the sender", 7, VT_EMPTY, 0, second, true, 1, true,
         [](RecordGroupTest& t, const CommandAnswer&) {
             EXPECT_EQ(t.MaxFrames(0), 400);
             EXPECT_EQ(t.MaxFrames(2), 400);
         }},
        {"16 aligns to the first device, not the sender", 16, VT_EMPTY, 0, second, true, 1, true,
         [](RecordGroupTest& t, const CommandAnswer&) {
             EXPECT_EQ(t.MaxFrames(0), 1000);
             EXPECT_EQ(t.MaxFrames(1), 400) << "all its memory holds";
             EXPECT_EQ(t.MaxFrames(2), 1000);
             EXPECT_EQ(t.Trigger(2).postTriggerFrames, 100);
         },
         [](RecordGroupTest& t) {
             t.Driver(2)->SetMaxFrames(300);
             DriverTriggerSetting setting;
             setting.postTriggerFrames = 30;
             t.Driver(2)->SetTriggerSetting(setting);
         }},
        {"5 from the second camera aligns to it", 5, VT_EMPTY, 0, second, true, 1, true,
         [](RecordGroupTest& t, const CommandAnswer&) {
             EXPECT_EQ(t.MaxFrames(0), 400);
             EXPECT_EQ(t.MaxFrames(2), 400);
         }},
        {"11 arms the sender as master", 11, VT_EMPTY, 0, second, true, 0, false,
         [](RecordGroupTest& t, const CommandAnswer&) {
             EXPECT_EQ(t.Calls({"SetRole", "SetMode"}),
                       (Log{"cam2 SetRole(0)", "cam2 SetMode(3)"}));
         }},
        {"15 while commands are off", 15, VT_EMPTY, 0, second, false, 1, false, noEffect},
        {"12", 12, VT_EMPTY, 0, -1, true, 0, false, noEffect},
        {"13 while commands are off", 13, VT_EMPTY, 0, -1, false, 1, false, noEffect},
        {"14", 14, VT_EMPTY, 0, first, true, 0, false, noEffect},
        {"18 active area of the sender", 18, VT_EMPTY, 0, second, true, 1, false,
         [second](RecordGroupTest& t, const CommandAnswer&) {
             EXPECT_EQ(t.m_host.activeAreaHandle, second);
         }},
        {"23 reads the sender's rate", 23, VT_EMPTY, 0, first, true, 1, false,
         [](RecordGroupTest&, const CommandAnswer& a) {
             EXPECT_EQ(a.answer.vt, VT_R8);
             EXPECT_EQ(a.answer.dblVal, 1000);
         }},
        {"4", 4, VT_EMPTY, 0, first, true, 1, true, noEffect},
        {"17", 17, VT_EMPTY, 0, first, true, 1, true, noEffect},
        {"22", 22, VT_EMPTY, 0, first, true, 1, true, noEffect},
        {"19 is not the group's", 19, VT_EMPTY, 0, first, true, 1, false, noEffect},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Each case starts from the devices as the fixture made them.
        for (int i = 0; i < 3; ++i) {
            Driver(i)->SetMode(kModeIdle);
            Driver(i)->SetRecordRate(1000);
            Driver(i)->SetMaxFrames(1000);
            DriverTriggerSetting setting;
            setting.postTriggerFrames = 100;
            Driver(i)->SetTriggerSetting(setting);
        }
        m_host.activeAreaHandle = -1;
        m_log.clear();
        link.updates = 0;
        page.changes = 0;
        if (c.prepare)
            c.prepare(*this);
        m_log.clear();
        m_group->SetCommandsEnabled(c.enabled ? 1 : 0);
        const CommandAnswer answer = Send(*m_group, c.sender, c.code, c.vt, c.value);
        EXPECT_EQ(answer.result, 0);
        EXPECT_EQ(answer.status, c.status);
        EXPECT_EQ(link.updates, c.notifies ? 1 : 0);
        EXPECT_EQ(page.changes, c.notifies ? 1 : 0);
        c.check(*this, answer);
    }
}

TEST_F(RecordGroupTest, AlignmentGivesEveryDeviceTheReferenceTriggerPosition) {
    AddCamera();
    AddCamera(400);
    AddCard();
    DriverTriggerSetting setting;
    setting.type = 1;
    setting.postTriggerFrames = 50;
    ASSERT_EQ(Driver(2)->SetMaxFrames(200), 0);
    ASSERT_EQ(Driver(2)->SetTriggerSetting(setting), 0);
    Send(*m_group, m_group->GetDeviceHandle(2), 5);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(MaxFrames(i), 200) << i;
        EXPECT_EQ(Trigger(i).type, 1) << i;
        EXPECT_EQ(Trigger(i).postTriggerFrames, 50) << i;
    }
    m_log.clear();
    Send(*m_group, m_group->GetDeviceHandle(2), 5);
    EXPECT_EQ(Calls({"Set"}), Log{}) << "agreeing devices are left alone";
    ASSERT_EQ(m_group->RecordAllDevices(), 0);

    // A reference beyond the second camera's memory: it keeps what it holds, the post-trigger
    // count within that, and the shares no longer agree.
    ASSERT_EQ(m_group->GoLive(), S_OK);
    ASSERT_EQ(Driver(0)->SetMaxFrames(1000), 0);
    setting.postTriggerFrames = 600;
    ASSERT_EQ(Driver(0)->SetTriggerSetting(setting), 0);
    Send(*m_group, m_group->GetDeviceHandle(0), 7);
    EXPECT_EQ(MaxFrames(1), 400);
    EXPECT_EQ(Trigger(1).postTriggerFrames, 400);
    EXPECT_EQ(MaxFrames(2), 1000);
    EXPECT_EQ(Trigger(2).postTriggerFrames, 600);
    Prompter().ExpectMessageBox("Inconsistent trigger percentages detected.", IDOK);
    EXPECT_EQ(m_group->RecordAllDevices(), E_FAIL);
}

TEST_F(RecordGroupTest, TheGroupIsTheCommandTargetOfItsDevicesLinks) {
    const int handle = AddCamera();
    m_group->RemoveDevice(handle);
    CDeviceLink bound;
    bound.SetHandle(handle);
    CDeviceLink other;
    other.SetHandle(handle + 100);
    m_group->AddDevice(handle);
    EXPECT_EQ(bound.GetCommandTarget(), m_group.get());
    EXPECT_EQ(other.GetCommandTarget(), nullptr);

    VARIANT code;
    code.vt = VT_I4;
    code.lVal = 14;
    VARIANT values;
    VARIANT status;
    VARIANT result;
    EXPECT_EQ(bound.SendCommand(handle, 1, code, values, &status, &result), 0);
    EXPECT_EQ(status.lVal, 0) << "the group answered";

    m_group->RemoveDevice(handle);
    EXPECT_EQ(bound.GetCommandTarget(), nullptr);
    m_group->AddDevice(handle);
    {
        FollowingPage page(m_group.get());
        EXPECT_EQ(page.GetGroup(), m_group.get());
        m_group.reset();
        EXPECT_EQ(page.closed, 1);
    }
    EXPECT_EQ(bound.GetCommandTarget(), nullptr) << "a group that goes leaves no target";
    status = VARIANT();
    EXPECT_EQ(bound.SendCommand(handle, 1, code, values, &status, &result), 1);
}

TEST_F(RecordGroupTest, ADeviceHasOneOwningGroupAtATime) {
    const int handle = AddCamera();
    CDeviceLink link;
    link.SetHandle(handle);
    m_group->RemoveDevice(handle);
    m_group->AddDevice(handle);
    EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(handle), 1);
    EXPECT_EQ(m_group->AddDevice(handle), 0) << "its own group may add it again";

    auto other = std::make_unique<CRecordGroup>();
    EXPECT_EQ(other->AddDevice(handle), -1);
    EXPECT_EQ(other->GetDeviceCount(), 0);
    EXPECT_EQ(link.GetCommandTarget(), m_group.get()) << "the refused group took no link";
    other.reset();
    EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(handle), 1) << "the refused group freed nothing";

    {
        CRecordGroup borrower;
        borrower.SetOwnsDevices(false);
        EXPECT_EQ(borrower.AddDevice(handle), 0);
        borrower.RemoveDevice(handle);
        EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(handle), 1) << "a borrower marks nothing";
    }

    m_group->RemoveDevice(handle);
    EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(handle), 0);
    other = std::make_unique<CRecordGroup>();
    EXPECT_EQ(other->AddDevice(handle), 0);
    EXPECT_EQ(link.GetCommandTarget(), other.get());
    other.reset();
    EXPECT_EQ(OpenDevices::GetOwnerFlagByHandle(handle), 0)
        << "a group that goes frees its devices";
}
