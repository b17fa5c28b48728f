#include "devices/AutoDownloadWnd.h"

#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/IRecordGroupHost.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/SimCard.h"
#include "devices/sim/SimDriver.h"
#include "frames/FileNames.h"
#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "platform/com/Bstr.h"
#include "platform/imaging/BitmapData.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "shell/SaveController.h"
#include "testsupport/IsolatedTest.h"
#include "testsupport/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

// The automatic download over the simulated driver, on a clock the test moves: the devices'
// frames and the window's delays both follow it, and the test delivers the timer messages.

namespace {

// Recordings of 60 frames (scans), 20 of them after the trigger, at 1000 per second.
constexpr int kFrames = 60;
constexpr int kPostTrigger = 20;
constexpr int kWidth = 320;
constexpr int kHeight = 240;
// The longest recording a test makes; the cameras' memory holds that many frames.
constexpr int kLongestRecording = 16607;

class Host : public IRecordGroupHost {
public:
    bool IsClosing() override { return false; }
    void ShowActiveArea(CDevice&) override {}
    void Wait(int milliseconds) override { clock->Advance(int64_t{milliseconds} * 1000); }
    ManualClock* clock = nullptr;
};

// The frame number the simulated camera writes at the start of a frame's first row (the last
// row of the bitmap).
uint32_t FrameNumberOf(CFrameImage& image) {
    imaging::BitmapData data;
    if (!image.LockBits(nullptr, imaging::ImageLockModeRead, imaging::PixelFormat8bppIndexed,
                        &data))
        return ~0u;
    uint32_t number = 0;
    std::memcpy(&number,
                static_cast<const BYTE*>(data.Scan0) + int64_t{data.Stride} * (data.Height - 1), 4);
    image.UnlockBits(&data);
    return number;
}

class AutoDownloadTest : public IsolatedTest {
public:
    void SetUp() override {
        IsolatedTest::SetUp();
        OpenDevices::ResetForTests();
        CDeviceLinkList::ResetForTests();
        DriverLoader::ResetForTests();
        SimDriverConfig config;
        config.cameras = 2;
        config.colourCameras = 0;
        config.cards = 1;
        config.cardChannels = 4;
        config.cameraMemoryBytes = int64_t{kLongestRecording} * kWidth * kHeight;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, DriverLoader::HostServices()));
        CSaveController::Install();
        m_host.clock = &m_clock;
        CRecordGroup::SetHost(&m_host);
        m_group = std::make_unique<CRecordGroup>();
        m_window = std::make_unique<CAutoDownloadWnd>(m_group.get());
        ASSERT_NE(m_window->GetSafeHwnd(), nullptr);
        QDir().mkpath(WorkPath("out"));
        SetText("SK:sFormat", "BMP");
        SetText("SK:sBaseName", "adl");
        SetInt("SK:nRangeOption", 0);
        SetFolders({WorkPath("out")});
    }
    void TearDown() override {
        m_window.reset();
        m_group.reset();
        CRecordGroup::SetHost(nullptr);
        SetFreeSpaceQuery({});
        CFrameSource::SetSaveControllerFactory(nullptr);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        IsolatedTest::TearDown();
    }

    // Opens device index of the family and adds it to the group; its device.
    CDevice* Add(int type, int index) {
        CDevice* device = DriverLoader::OpenById(CDeviceId(type, 1, index));
        EXPECT_NE(device, nullptr);
        if (!device)
            return nullptr;
        IDriverDevice* driver = device->Driver();
        if (type == kDeviceTypeCamera) {
            EXPECT_EQ(device->SetResolution(kWidth, kHeight), 0);
        }
        EXPECT_EQ(driver->SetRecordRate(1000), 0);
        EXPECT_EQ(driver->SetMaxFrames(kFrames), 0);
        DriverTriggerSetting setting;
        setting.postTriggerFrames = kPostTrigger;
        EXPECT_EQ(driver->SetTriggerSetting(setting), 0);
        int handle = -1;
        device->GetHandle(&handle);
        m_group->AddDevice(handle);
        return device;
    }
    void AddTwoCamerasAndACard() {
        Add(kDeviceTypeCamera, 0);
        Add(kDeviceTypeCamera, 1);
        Add(kDeviceTypeDataCard, 0);
    }

    void SetInt(const char* key, int value) {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = value;
        ASSERT_EQ(m_window->GetOptionStore().SetSetting(QString::fromLatin1(key), v, -1), S_OK)
            << key;
        m_window->LoadSettings();
    }
    void SetText(const char* key, const QString& text) {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocQString(text);
        ASSERT_EQ(m_window->GetOptionStore().SetSetting(QString::fromLatin1(key), v, -1), S_OK)
            << key;
        VariantClear(&v);
        m_window->LoadSettings();
    }
    void SetFolders(const QStringList& folders) {
        m_window->GetOptionStore().m_snapkeepValue.m_dirs = folders;
        m_window->LoadSettings();
    }

    void AdvanceMs(int64_t ms) { m_clock.Advance(ms * 1000); }
    void Fire(UINT_PTR timer) { m_window->SendMessage(WM_TIMER, timer, 0); }
    // Lets a triggered recording run to its end, then polls the group as its controller does.
    int FinishRecording() {
        AdvanceMs(kPostTrigger + 5);
        return m_group->GetMasterRecordState();
    }
    // A recording of every device, made by hand, outside any cycle.
    void RecordOnce() {
        ASSERT_EQ(m_group->RecordAllDevices(), 0);
        AdvanceMs(200);
        ASSERT_EQ(m_group->Trigger(), 0);
        FinishRecording();
        ASSERT_EQ(m_group->GetDeviceAt(0)->GetMode(), kModeStopped);
    }
    int MasterMode() { return m_group->GetDeviceAt(0)->GetMode(); }
    bool Saved(const QString& folder, const QString& file) const {
        return QFileInfo::exists(folder + '/' + file);
    }

    ManualClock m_clock;
    Host m_host;
    CDeviceManager m_keepDevices;
    std::unique_ptr<CRecordGroup> m_group;
    std::unique_ptr<CAutoDownloadWnd> m_window;
};

}  // namespace

TEST_F(AutoDownloadTest, SettingsFromTheStoreAndTheirDefaults) {
    CAutoDownloadWnd::Settings defaults;
    EXPECT_EQ(defaults.baseName, "adl");
    EXPECT_EQ(defaults.maxCount, -1);
    EXPECT_EQ(defaults.rangeTo, -1);
    EXPECT_EQ(defaults.selfTriggerDelaySeconds, -1);
    EXPECT_EQ(defaults.rearmDelaySeconds, -1);

    struct Case {
        const char* key;
        int value;
        std::function<int(const CAutoDownloadWnd::Settings&)> field;
        int expected;
    };
    using S = CAutoDownloadWnd::Settings;
    const Case cases[] = {
        {"ADL:nReset_Infinite_Finite", 1, [](const S& s) { return s.finite; }, 1},
        {"ADL:nReset_Infinite_Finite", 2, [](const S& s) { return s.finite; }, 0},
        {"ADL:nResetMaxCount", 3, [](const S& s) { return s.maxCount; }, 3},
        {"ADL:nStartCount", 5, [](const S& s) { return s.startCount; }, 5},
        {"SK:nRangeOption", 0, [](const S& s) { return s.rangeOption; }, 0},
        {"SK:nRangeOption", 7, [](const S& s) { return s.rangeOption; }, 1},
        {"SK:nRangeFrom", -8, [](const S& s) { return s.rangeFrom; }, -8},
        {"ADL:bDelayedRearm", 1, [](const S& s) { return s.delayedRearm; }, 1},
        {"ADL:nDelayedTimeRearm", 4, [](const S& s) { return s.rearmDelaySeconds; }, 4},
        {"ADL:bSelfTrigger", 1, [](const S& s) { return s.selfTrigger; }, 1},
        {"ADL:nDelayedTimeSelfTrigger", 2, [](const S& s) { return s.selfTriggerDelaySeconds; }, 2},
        {"ADL:ADLmode", 3, [](const S& s) { return s.mode; }, 3},
    };
    for (const Case& c : cases) {
        SetInt(c.key, c.value);
        EXPECT_EQ(c.field(m_window->GetSettings()), c.expected) << c.key << " " << c.value;
    }

    struct Format {
        const char* text;
        int kind;
        int format;
    };
    for (const Format& f : {Format{"AVI", 1, 1}, Format{"TIF", 2, 2}, Format{"JPG", 2, 3},
                            Format{"BMP", 2, 1}, Format{"PNG", 2, 1}}) {
        SetText("SK:sFormat", f.text);
        EXPECT_EQ(m_window->GetSettings().outputKind, f.kind) << f.text;
        EXPECT_EQ(m_window->GetSettings().outputFormat, f.format) << f.text << " (kept)";
    }
    SetFolders({"/a", "/b", "/c"});
    EXPECT_EQ(m_window->GetSettings().folders, QStringList({"/a", "/b", "/c"}));
    SetText("SK:sBaseName", "take");
    EXPECT_EQ(m_window->GetSettings().baseName, "take");

    ISettingsStore* store = nullptr;
    EXPECT_EQ(m_window->GetSettingsStore(nullptr), E_FAIL);
    EXPECT_EQ(m_window->GetSettingsStore(&store), S_OK);
    EXPECT_EQ(store, static_cast<ISettingsStore*>(&m_window->GetOptionStore()));
}

TEST_F(AutoDownloadTest, SelfTriggerWaitsItsDelayOnTheClock) {
    AddTwoCamerasAndACard();
    struct Case {
        int enabled;
        int seconds;
        int timerMs;  // 0: no timer
    };
    for (const Case& c : {Case{1, 0, 100}, Case{1, 2, 2000}, Case{1, -1, 0}, Case{0, 5, 0}}) {
        SCOPED_TRACE(testing::Message() << c.enabled << " " << c.seconds);
        SetInt("ADL:bSelfTrigger", c.enabled);
        SetInt("ADL:nDelayedTimeSelfTrigger", c.seconds);
        m_window->Enable();
        ASSERT_EQ(m_window->Arm(), S_OK);
        EXPECT_EQ(m_group->GetState(), CRecordGroup::kRecord);
        EXPECT_EQ(m_window->GetTimerDelayMs(CAutoDownloadWnd::kSelfTriggerTimer), c.timerMs);
        if (c.timerMs > 0) {
            AdvanceMs(c.timerMs - 1);
            Fire(CAutoDownloadWnd::kSelfTriggerTimer);
            EXPECT_EQ(m_group->GetStateText(), "Record") << "a tick before its time waits";
            EXPECT_EQ(m_window->GetTimerDelayMs(CAutoDownloadWnd::kSelfTriggerTimer), c.timerMs);
            AdvanceMs(1);
            Fire(CAutoDownloadWnd::kSelfTriggerTimer);
            EXPECT_EQ(m_group->GetStateText(), "Triggered");
            EXPECT_EQ(m_window->GetTimerDelayMs(CAutoDownloadWnd::kSelfTriggerTimer), 0);
        } else {
            AdvanceMs(10000);
            Fire(CAutoDownloadWnd::kSelfTriggerTimer);
            EXPECT_EQ(m_group->GetStateText(), "Record") << "nothing triggers";
        }
        m_window->Disable();
        EXPECT_EQ(m_group->GetState(), CRecordGroup::kLive);
        EXPECT_EQ(m_group->GetManualControl(), 1);
    }
}

TEST_F(AutoDownloadTest, RearmAtOnceOrAfterItsDelay) {
    AddTwoCamerasAndACard();
    struct Case {
        int delayed;
        int seconds;
        int timerMs;  // 0: armed again at once
    };
    for (const Case& c : {Case{1, 0, 100}, Case{1, 1, 1000}, Case{1, -1, 0}, Case{0, 3, 0}}) {
        SCOPED_TRACE(testing::Message() << c.delayed << " " << c.seconds);
        SetInt("ADL:bDelayedRearm", c.delayed);
        SetInt("ADL:nDelayedTimeRearm", c.seconds);
        m_window->Enable();
        EXPECT_EQ(m_group->GetManualControl(), 0);
        ASSERT_EQ(m_window->Arm(), S_OK);
        AdvanceMs(100);
        ASSERT_EQ(m_group->Trigger(), 0);
        FinishRecording();
        EXPECT_EQ(m_window->GetCounter(), 1);
        EXPECT_EQ(m_window->GetTimerDelayMs(CAutoDownloadWnd::kRearmTimer), c.timerMs);
        if (c.timerMs > 0) {
            EXPECT_EQ(MasterMode(), kModeStopped);
            AdvanceMs(c.timerMs - 1);
            Fire(CAutoDownloadWnd::kRearmTimer);
            EXPECT_EQ(MasterMode(), kModeStopped);
            AdvanceMs(1);
            Fire(CAutoDownloadWnd::kRearmTimer);
        }
        EXPECT_EQ(MasterMode(), kModeArmed);
        EXPECT_EQ(m_group->GetState(), CRecordGroup::kRecord);
        m_window->Disable();
    }
}

TEST_F(AutoDownloadTest, FiniteCyclesEndAfterTheirCountAndNamesCountOnFromTheStart) {
    AddTwoCamerasAndACard();
    SetInt("ADL:bSelfTrigger", 1);
    SetInt("ADL:nDelayedTimeSelfTrigger", 0);
    SetInt("ADL:nReset_Infinite_Finite", 1);
    SetInt("ADL:nResetMaxCount", 3);
    SetInt("ADL:nStartCount", 5);
    m_window->Enable();
    ASSERT_EQ(m_window->Arm(), S_OK);
    int arms = 1;
    for (int cycle = 0; cycle < 5 && m_window->IsActive(); ++cycle) {
        AdvanceMs(100);
        Fire(CAutoDownloadWnd::kSelfTriggerTimer);
        FinishRecording();
        if (MasterMode() == kModeArmed)
            ++arms;
    }
    EXPECT_EQ(m_window->GetCounter(), 3);
    EXPECT_EQ(arms, 3) << "no fourth arm";
    EXPECT_EQ(m_window->IsActive(), 0);
    EXPECT_EQ(m_group->GetManualControl(), 1);
    EXPECT_EQ(m_group->GetState(), CRecordGroup::kLive);
    const QString out = WorkPath("out");
    for (int n : {5, 6, 7})
        EXPECT_TRUE(Saved(out, QStringLiteral("adl_ad%1{v1}_00.bmp").arg(n))) << n;
    EXPECT_FALSE(Saved(out, "adl_ad8{v1}_00.bmp"));
    EXPECT_FALSE(Saved(out, "adl_ad4{v1}_00.bmp"));
    EXPECT_EQ(m_window->GetLastSaveFolder(), out);
}

TEST_F(AutoDownloadTest, NamesThatExistGetTheFirstFreeSuffix) {
    AddTwoCamerasAndACard();
    RecordOnce();
    struct Case {
        const char* what;
        QStringList existing;
        QString name;
    };
    const Case cases[] = {
        {"empty folder", {}, "adl_ad0"},
        {"a file begins with the name", {"adl_ad0.txt"}, "adl_ad0!1!"},
        {"and with the first suffix", {"adl_ad01.avi", "adl_ad0!1!{v1}_00.bmp"}, "adl_ad0!2!"},
        {"other case", {"ADL_AD0.txt"}, "adl_ad0"},
    };
    int folderNumber = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = WorkPath(QStringLiteral("names%1").arg(++folderNumber));
        QDir().mkpath(folder);
        for (const QString& file : c.existing) {
            QFile f(folder + '/' + file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        SetFolders({folder});
        ASSERT_EQ(m_window->Download(), S_OK);
        EXPECT_TRUE(Saved(folder, c.name + "{v1}_00.bmp"));
        EXPECT_TRUE(Saved(folder, c.name + "{v2}_59.bmp"));
        EXPECT_TRUE(Saved(folder, c.name + "{d1}.mdat"));
    }
}

TEST_F(AutoDownloadTest, VideosAndDataAreNumberedApartInGroupOrder) {
    Add(kDeviceTypeCamera, 0);
    Add(kDeviceTypeDataCard, 0);
    Add(kDeviceTypeCamera, 1);
    RecordOnce();
    SetText("SK:sFormat", "AVI");
    SetText("SK:sBaseName", "shot.a");
    ASSERT_EQ(m_window->Download(), S_OK);
    const QString out = WorkPath("out");
    EXPECT_EQ(QDir(out).entryList({"*.avi", "*.mdat"}, QDir::Files),
              QStringList({"shot.a_ad0{d1}.mdat", "shot.a_ad0{v1}.avi", "shot.a_ad0{v2}.avi"}));
    // The second camera's video holds its own recording.
    CFrameSource source;
    ASSERT_EQ(source.Open(out + "/shot.a_ad0{v2}.avi"), 1);
    EXPECT_EQ(source.GetFrameCount(), kFrames);
}

TEST_F(AutoDownloadTest, TheFirstFolderWithRoomTakesTheDownload) {
    AddTwoCamerasAndACard();
    RecordOnce();
    const QString full = WorkPath("full");
    const QString roomy = WorkPath("roomy");
    QDir().mkpath(full);
    QDir().mkpath(roomy);
    SetFreeSpaceQuery([&full](const QString& folder) -> int64_t {
        return folder.startsWith(full) ? 1024 : int64_t{1} << 40;
    });
    SetFolders({full, roomy});
    ASSERT_EQ(m_window->Download(), S_OK);
    EXPECT_TRUE(QDir(full).isEmpty());
    EXPECT_TRUE(Saved(roomy, "adl_ad0{v1}_00.bmp"));
    EXPECT_EQ(m_window->GetLastSaveFolder(), roomy);
}

TEST_F(AutoDownloadTest, NoRoomStopsTheCycleAndKeepsTheRecording) {
    AddTwoCamerasAndACard();
    const QString full = WorkPath("full");
    QDir().mkpath(full);
    SetFreeSpaceQuery([](const QString&) -> int64_t { return 1024; });
    SetFolders({full});
    SetInt("ADL:bSelfTrigger", 1);
    SetInt("ADL:nDelayedTimeSelfTrigger", 0);
    m_window->Enable();
    ASSERT_EQ(m_window->Arm(), S_OK);
    AdvanceMs(100);
    Fire(CAutoDownloadWnd::kSelfTriggerTimer);
    Prompter().ExpectMessageBox("Insufficient Disk Space.", IDOK);
    FinishRecording();
    ASSERT_FALSE(Prompter().Prompts().empty());
    EXPECT_EQ(Prompter().Prompts().back().caption, "Error");
    EXPECT_EQ(m_window->IsActive(), 0);
    EXPECT_EQ(m_window->GetCounter(), 0);
    EXPECT_EQ(m_group->GetManualControl(), 1);
    EXPECT_EQ(m_window->GetTimerDelayMs(CAutoDownloadWnd::kRearmTimer), 0);
    EXPECT_EQ(MasterMode(), kModeStopped) << "not armed again: the recording stays";
    EXPECT_TRUE(QDir(full).isEmpty());

    // No folder at all says the same.
    SetFolders({});
    Prompter().ExpectMessageBox("Insufficient Disk Space.", IDOK);
    EXPECT_EQ(m_window->Download(), E_FAIL);

    // With room found later, the download still gets every frame.
    SetFreeSpaceQuery({});
    SetFolders({WorkPath("out")});
    ASSERT_EQ(m_window->Download(), S_OK);
    EXPECT_EQ(QDir(WorkPath("out")).entryList({"adl_ad0{v1}_*.bmp"}, QDir::Files).size(), kFrames);
    EXPECT_EQ(QDir(WorkPath("out")).entryList({"adl_ad0{v2}_*.bmp"}, QDir::Files).size(), kFrames);
}

TEST_F(AutoDownloadTest, AFailedSaveStopsTheCycleWithItsOwnMessage) {
    AddTwoCamerasAndACard();
    // A folder that is not there has no free space to tell: the writing finds out.
    const QString missing = WorkPath("missing/deeper");
    SetFolders({missing});
    SetInt("ADL:bSelfTrigger", 1);
    SetInt("ADL:nDelayedTimeSelfTrigger", 0);
    m_window->Enable();
    ASSERT_EQ(m_window->Arm(), S_OK);
    AdvanceMs(100);
    Fire(CAutoDownloadWnd::kSelfTriggerTimer);
    Prompter().ExpectMessageBox("Error writing frame to file " + missing + "/adl_ad0{v1}_00.bmp",
                                IDOK);
    FinishRecording();
    EXPECT_EQ(m_window->IsActive(), 0);
    EXPECT_EQ(m_window->GetCounter(), 0);
    EXPECT_EQ(m_group->GetManualControl(), 1);
    EXPECT_EQ(MasterMode(), kModeStopped) << "the recording stays in the camera";
    EXPECT_EQ(m_window->GetLastSaveFolder(), QString());
}

// Long recordings saved as AVI files: read back, frame k of the file holds the camera's frame
// number first + k, every one of them once, whatever the frame number's low byte.
TEST_F(AutoDownloadTest, EveryFrameOfARecordingIsSavedOnceAndInOrder) {
    CDevice* device = Add(kDeviceTypeCamera, 0);
    ASSERT_NE(device, nullptr);
    const auto* camera = dynamic_cast<CSimCamera*>(device->Driver());
    ASSERT_NE(camera, nullptr);
    SetText("SK:sFormat", "AVI");
    const QString out = WorkPath("out");
    for (const int frames : {101, 2907, kLongestRecording}) {
        SCOPED_TRACE(frames);
        const int post = frames / 4;
        ASSERT_EQ(device->Driver()->SetMaxFrames(frames), 0);
        DriverTriggerSetting setting;
        setting.postTriggerFrames = post;
        ASSERT_EQ(device->Driver()->SetTriggerSetting(setting), 0);
        ASSERT_EQ(m_group->RecordAllDevices(), 0);
        AdvanceMs(frames);
        ASSERT_EQ(m_group->Trigger(), 0);
        AdvanceMs(post + 5);
        m_group->GetMasterRecordState();
        ASSERT_EQ(device->GetMode(), kModeStopped);
        const std::vector<int64_t>& held = camera->HeldFrames();
        ASSERT_EQ(held.size(), static_cast<size_t>(frames));

        ASSERT_EQ(m_window->Download(), S_OK);
        const QString path = out + "/adl_ad0{v1}.avi";
        {
            CFrameSource source;
            ASSERT_EQ(source.Open(path), 1);
            ASSERT_EQ(source.GetFrameCount(), frames);
            EXPECT_EQ(source.GetFirstFrameNumber(), post - frames);
            CFrameImage image;
            int wrong = 0;
            for (int k = 0; k < frames; ++k) {
                ASSERT_EQ(source.GetFrame(k, &image, 0), 1) << k;
                const uint32_t expected = static_cast<uint32_t>(held.front() + k);
                if (FrameNumberOf(image) != expected && ++wrong <= 5)
                    ADD_FAILURE() << "frame " << k << " holds " << FrameNumberOf(image) << ", not "
                                  << expected;
            }
            EXPECT_EQ(wrong, 0);
        }
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(QFile::remove(out + "/adl_ad0{v1}.cfg"));
    }
}

TEST_F(AutoDownloadTest, TheRangeOptionSavesTheFramesAroundTheTrigger) {
    AddTwoCamerasAndACard();
    RecordOnce();
    SetInt("SK:nRangeOption", 1);
    SetInt("SK:nRangeFrom", -10);
    SetInt("SK:nRangeTo", 5);
    ASSERT_EQ(m_window->Download(), S_OK);
    const QString out = WorkPath("out");
    EXPECT_EQ(QDir(out).entryList({"adl_ad0{v1}_*.bmp"}, QDir::Files).size(), 16);
    CFrameSource source;
    ASSERT_EQ(source.Open(out + "/adl_ad0{v1}_00.bmp"), 1);
    ASSERT_EQ(source.GetFrameCount(), 16);
    EXPECT_EQ(source.GetFirstFrameNumber(), -10) << "frame number 0 is the trigger frame";
    const auto* camera = dynamic_cast<CSimCamera*>(m_group->GetDeviceAt(0)->Driver());
    ASSERT_NE(camera, nullptr);
    const int trigger = kFrames - kPostTrigger;
    CFrameImage image;
    ASSERT_EQ(source.GetFrame(0, &image, 0), 1);
    EXPECT_EQ(FrameNumberOf(image),
              static_cast<uint32_t>(camera->HeldFrames()[static_cast<size_t>(trigger - 10)]));
    CSensorDataSet data;
    ASSERT_EQ(data.Open(out + "/adl_ad0{d1}.mdat"), S_OK);
    EXPECT_EQ(data.GetScanCount(), 16);
}

TEST_F(AutoDownloadTest, SelfTriggeredCycleOfTwoCamerasAndACardEndToEnd) {
    AddTwoCamerasAndACard();
    SetInt("ADL:bSelfTrigger", 1);
    SetInt("ADL:nDelayedTimeSelfTrigger", 1);
    SetInt("ADL:bDelayedRearm", 1);
    SetInt("ADL:nDelayedTimeRearm", 10);
    m_window->Enable();
    ASSERT_EQ(m_window->Arm(), S_OK);
    EXPECT_EQ(m_window->GetTimerDelayMs(CAutoDownloadWnd::kSelfTriggerTimer), 1000);
    AdvanceMs(1000);
    Fire(CAutoDownloadWnd::kSelfTriggerTimer);
    EXPECT_EQ(m_group->GetStateText(), "Triggered");
    FinishRecording();
    EXPECT_EQ(m_window->GetCounter(), 1);
    EXPECT_EQ(m_window->GetTimerDelayMs(CAutoDownloadWnd::kRearmTimer), 10000);

    // The videos play through a frame source: every frame the camera held, in order.
    const QString out = WorkPath("out");
    for (int camera = 0; camera < 2; ++camera) {
        SCOPED_TRACE(camera);
        const auto* sim = dynamic_cast<CSimCamera*>(m_group->GetDeviceAt(camera)->Driver());
        ASSERT_NE(sim, nullptr);
        const std::vector<int64_t>& held = sim->HeldFrames();
        ASSERT_EQ(held.size(), static_cast<size_t>(kFrames)) << "as many as the frame limit";
        CFrameSource source;
        ASSERT_EQ(source.Open(out + QStringLiteral("/adl_ad0{v%1}_00.bmp").arg(camera + 1)), 1);
        ASSERT_EQ(source.GetFrameCount(), kFrames);
        EXPECT_EQ(source.GetFirstFrameNumber(), -(kFrames - kPostTrigger));
        CFrameImage image;
        for (int i = 0; i < kFrames; ++i) {
            ASSERT_EQ(source.GetFrame(i, &image, 0), 1) << i;
            EXPECT_EQ(FrameNumberOf(image), static_cast<uint32_t>(held[static_cast<size_t>(i)]))
                << i;
            if (i > 0) {
                EXPECT_EQ(held[static_cast<size_t>(i)], held[static_cast<size_t>(i - 1)] + 1);
            }
        }
    }
    // The data file holds the card's sine on its first channel.
    const auto* card = dynamic_cast<CSimCard*>(m_group->GetDeviceAt(2)->Driver());
    ASSERT_NE(card, nullptr);
    CSensorDataSet data;
    ASSERT_EQ(data.Open(out + "/adl_ad0{d1}.mdat"), S_OK);
    ASSERT_EQ(data.GetScanCount(), kFrames);
    const std::vector<float>& sine = data.GetData()->m_channels[0];
    for (int i = 0; i < kFrames; ++i) {
        const int64_t scan = card->HeldFrames()[static_cast<size_t>(i)];
        EXPECT_NEAR(sine[static_cast<size_t>(i)],
                    2.5 * std::sin(2 * std::numbers::pi * scan / 1000.0), 1e-4)
            << i;
    }
    m_window->Disable();
}
