#include "app/tests/e2e/E2eSupport.h"
#include "app/tests/e2e/SimulatedDeviceTest.h"
#include "devices/AutoDownloadWnd.h"
#include "devices/core/Device.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/RecordGroup.h"
#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "platform/com/Bstr.h"
#include "platform/imaging/BitmapData.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "shell/MainFrame.h"
#include "views/VidView.h"
#include "views/panels/PlayControlTab.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMainWindow>

#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

// In the running program, two simulated cameras and a data card recorded together by a record
// group under its automatic download: the group triggers itself after a second, saves what the
// devices recorded, and the saved video plays in the player, frame after frame in order, with
// the trigger frame as frame 0; the data file holds the card's sine. The record controller that
// will drive the group from its pages is not there yet: the test holds the group and polls it as
// the controller does.

namespace {

constexpr int kFrames = 60;
constexpr int kPostTrigger = 20;

class AutoDownloadFlow : public SimulatedDeviceTest {
protected:
    AutoDownloadFlow() : SimulatedDeviceTest(2, 0, 1) {}

    // Opens the device as the program does and puts it in the group.
    static void Add(CRecordGroup& group, int type, int index) {
        CDevice* device = DriverLoader::OpenById(CDeviceId(type, 1, index));
        ASSERT_NE(device, nullptr) << type << " " << index;
        if (type == kDeviceTypeCamera) {
            ASSERT_EQ(device->SetResolution(320, 240), 0);
        }
        IDriverDevice* driver = device->Driver();
        ASSERT_EQ(driver->SetRecordRate(1000), 0);
        ASSERT_EQ(driver->SetMaxFrames(kFrames), 0);
        DriverTriggerSetting setting;
        setting.postTriggerFrames = kPostTrigger;
        ASSERT_EQ(driver->SetTriggerSetting(setting), 0);
        int handle = -1;
        device->GetHandle(&handle);
        group.AddDevice(handle);
    }

    static void Set(ISettingsStore& store, const char* key, int value) {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = value;
        ASSERT_EQ(store.SetSetting(QString::fromLatin1(key), v, -1), S_OK) << key;
    }
    static void Set(ISettingsStore& store, const char* key, const QString& text) {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocQString(text);
        ASSERT_EQ(store.SetSetting(QString::fromLatin1(key), v, -1), S_OK) << key;
        VariantClear(&v);
    }
};

TEST_F(AutoDownloadFlow, SelfTriggeredDownloadOfTwoCamerasAndACardPlaysBack) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    const QString downloads = WorkPath("downloads");
    ASSERT_TRUE(QDir().mkpath(downloads));

    // The settings go through the option file, as the Auto-Record page leaves them.
    {
        CAutoDownloadWnd editor(nullptr);
        ISettingsStore* store = nullptr;
        ASSERT_EQ(editor.GetSettingsStore(&store), S_OK);
        editor.GetOptionStore().m_snapkeepValue.m_dirs = {downloads};
        Set(*store, "SK:sBaseName", QStringLiteral("flow"));
        Set(*store, "SK:sFormat", QStringLiteral("BMP"));
        Set(*store, "SK:nRangeOption", 0);
        Set(*store, "ADL:bSelfTrigger", 1);
        Set(*store, "ADL:nDelayedTimeSelfTrigger", 1);
        Set(*store, "ADL:nReset_Infinite_Finite", 1);
        Set(*store, "ADL:nResetMaxCount", 1);
        ASSERT_EQ(editor.GetOptionStore().SaveOptionFile(), S_OK);
    }
    ASSERT_TRUE(QFile::exists(WorkPath("adlsnapkeep.mpqsf")));

    CRecordGroup group;
    Add(group, kDeviceTypeCamera, 0);
    Add(group, kDeviceTypeCamera, 1);
    Add(group, kDeviceTypeDataCard, 0);
    ASSERT_EQ(group.GetDeviceCount(), 3);
    {
        CAutoDownloadWnd download(&group);
        ASSERT_EQ(download.LoadOptionFile(), S_OK);
        download.LoadSettings();
        ASSERT_EQ(download.GetSettings().folders, QStringList{downloads});
        download.Enable();
        ASSERT_EQ(download.Arm(), S_OK);
        EXPECT_EQ(group.GetStateText(), "Record");
        EXPECT_EQ(download.GetTimerDelayMs(CAutoDownloadWnd::kSelfTriggerTimer), 1000);
        // The record controller polls its group's master; the cycle runs on the event loop. The
        // download writes 2 × kFrames BMPs and the data file: allow for a machine busy with builds.
        ASSERT_TRUE(WaitFor(
            [&] {
                group.GetMasterRecordState();
                return download.GetCounter() == 1;
            },
            60000))
            << "no download";
        EXPECT_EQ(download.IsActive(), 0) << "one cycle was asked for";
        EXPECT_EQ(group.GetStateText(), "Live");
        EXPECT_EQ(download.GetLastSaveFolder(), downloads);
    }
    EXPECT_EQ(QDir(downloads).entryList({"flow_ad0{v1}_*.bmp"}, QDir::Files).size(), kFrames);
    EXPECT_EQ(QDir(downloads).entryList({"flow_ad0{v2}_*.bmp"}, QDir::Files).size(), kFrames);

    // The first camera's video opens from the File menu and plays its memory's frames. Alone:
    // the files of one download share their name and would open together, the data with them.
    Set(*frame, "AppBehave:bOpenSimilarlyNamed", 0);
    Prompter().AnswerFileDialog({downloads + "/flow_ad0{v1}_00.bmp"});
    QAction* open = MenuAction(window, QStringLiteral("File/Open Video File..."));
    ASSERT_NE(open, nullptr);
    open->trigger();
    CVidView* video = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (video = FindWindowOf<CVidView>()) != nullptr; }))
        << "the video did not open";
    CPlayControlTab* page = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (page = FindWindowOf<CPlayControlTab>()) != nullptr; }));
    EXPECT_TRUE(WaitFor([&] {
        return page->GetDlgItemText(CPlayControlTab::kFrameField).toInt() ==
               -(kFrames - kPostTrigger);
    })) << "the first frame is not numbered from the trigger";
    CFrameSourcePtr source = video->GetFrameSource();
    ASSERT_FALSE(source.IsEmpty());
    ASSERT_EQ(source->GetFrameCount(), kFrames);
    CFrameImage image;
    ASSERT_EQ(source->GetFrame(0, &image, 0), 1);
    const uint32_t first = FrameNumberOf(image);
    for (int i = 1; i < kFrames; ++i) {
        ASSERT_EQ(source->GetFrame(i, &image, 0), 1) << i;
        EXPECT_EQ(FrameNumberOf(image), first + static_cast<uint32_t>(i)) << i;
    }

    // Channel 0 of the card is a 2.5 V sine at 1 Hz: every three scans in a row keep its
    // recurrence and its amplitude.
    CSensorDataSet data;
    ASSERT_EQ(data.Open(downloads + "/flow_ad0{d1}.mdat"), S_OK);
    ASSERT_EQ(data.GetScanCount(), kFrames);
    const std::vector<float>& volts = data.GetData()->m_channels[0];
    const double step = 2 * std::numbers::pi / 1000;
    for (int i = 2; i < kFrames; ++i) {
        EXPECT_NEAR(volts[i], 2 * std::cos(step) * volts[i - 1] - volts[i - 2], 1e-4) << i;
    }
    const double quadrature = (volts[1] - volts[0] * std::cos(step)) / std::sin(step);
    EXPECT_NEAR(std::hypot(volts[0], quadrature), 2.5, 0.02);
}

}  // namespace
