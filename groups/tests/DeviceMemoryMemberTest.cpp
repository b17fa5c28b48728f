#include "groups/IDeviceMemory.h"
#include "groups/RecordingNotes.h"
#include "groups/tests/GroupFixture.h"
#include "sensordata/model/SensorDataSet.h"

#include <gtest/gtest.h>

#include <map>

// A play group opens what a device holds through a device marker: a camera's latest recording
// as a video member of source kind 1, a data card's memory as a data member of its own.

namespace {

// Devices as the program's device layer would answer for them.
class CFakeDeviceMemory : public IDeviceMemory {
public:
    struct Device {
        int handle = -1;
        QString name;
        CFrameSourcePtr recording;
        bool holdsSamples = false;
    };

    bool FindDevice(const CDeviceId& id, int* handle, QString* name) override {
        const auto it = devices.find(id.ToString());
        if (it == devices.end())
            return false;
        *handle = it->second.handle;
        *name = it->second.name;
        return true;
    }
    CFrameSourcePtr GetLatestRecording(const CDeviceId& id) override {
        const auto it = devices.find(id.ToString());
        return it == devices.end() ? CFrameSourcePtr() : it->second.recording;
    }
    CSharedRef<CSensorDataSet> CopyMemory(const CDeviceId& id) override {
        const auto it = devices.find(id.ToString());
        if (it == devices.end() || !it->second.holdsSamples)
            return CSharedRef<CSensorDataSet>();
        lastCopy = CSharedRef<CSensorDataSet>(new CSensorDataSet);
        lastCopy->Init(2, 30, 1, 500.0, 5);
        return lastCopy;
    }

    std::map<QString, Device> devices;
    CSharedRef<CSensorDataSet> lastCopy;
};

class DeviceMemoryMemberTest : public GroupFixture {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        CMeasurementFormDoc::SetDeviceMemory(&m_memory);
    }
    void TearDown() override {
        CMeasurementFormDoc::SetDeviceMemory(nullptr);
        GroupFixture::TearDown();
    }

    CPlaybackView* MemberView(size_t i) const {
        return dynamic_cast<CPlaybackView*>(
            MemberFrames().at(i)->GetDescendantWindow(AFX_IDW_PANE_FIRST));
    }

    CFakeDeviceMemory m_memory;
};

TEST(DeviceMarkerTest, TheIdentityIsReadAfterTheMarker) {
    struct Case {
        const char* path;
        bool names;
        CDeviceId id;
    };
    const Case cases[] = {
        {"__addplaybackXXXdevice#3#0#1#", true, {3, 0, 1}},
        {"addplaybackXXX#2#1#0#", true, {2, 1, 0}},
        // A '#' in a folder before the marker is no part of the identity.
        {"/runs/#7#8#9#/__addplaybackXXXdevice#3#2#4#", true, {3, 2, 4}},
        {"__addplaybackXXXdevice#3#", true, {3, -1, -1}},
        {"__addplaybackXXXdevice", false, {}},
        {"__addplaybackXXXdevice#0#0#0#", false, {0, 0, 0}},
        {"/runs/#3#0#1#.raw", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CDeviceId id;
        EXPECT_EQ(CMeasurementFormDoc::ParseDeviceMarker(QString::fromLatin1(c.path), &id),
                  c.names);
        if (c.names) {
            EXPECT_EQ(id, c.id);
        }
    }
    const CDeviceId camera(3, 0, 2);
    CDeviceId back;
    const QString marker = CMeasurementFormDoc::DeviceMarkerPath(camera);
    EXPECT_EQ(marker, "__addplaybackXXXdevice#3#0#2#");
    ASSERT_TRUE(CMeasurementFormDoc::ParseDeviceMarker(marker, &back));
    EXPECT_EQ(back, camera);
}

TEST_F(DeviceMemoryMemberTest, ACamerasLatestRecordingIsAVideoMemberOfKindOne) {
    CFrameSourcePtr recording(new CFrameSource);
    ASSERT_TRUE(recording->Open(WriteVideo(WorkPath("held.raw"))));
    m_memory.devices[CDeviceId(3, 0, 1).ToString()] = {7, "Cam A", recording, false};
    CMeasurementFormDoc* group = NewGroup();
    CView* view = nullptr;
    const QString marker = CMeasurementFormDoc::DeviceMarkerPath(CDeviceId(3, 0, 1));
    ASSERT_TRUE(group->AddPlaybackFromFile(marker, 0, 0, nullptr, &view));

    ASSERT_EQ(group->GetVideoCount(), 1);
    EXPECT_EQ(group->GetVideoFlag(0), CMeasurementFormDoc::kFromDeviceMemory);
    EXPECT_EQ(group->GetVideoPath(0), marker);
    EXPECT_TRUE(group->HasDeviceMemoryEntry());
    EXPECT_FALSE(group->HasFileEntry());
    // The member is the camera's own source, so the camera sees it in use.
    EXPECT_EQ(group->GetVideoSource(0), recording.Get());
    EXPECT_FALSE(recording.IsUnique());
    unsigned sourceId = 0;
    recording->GetSourceId(&sourceId);
    int type = 0, index = -1, id = -1, kind = -1, handle = -1;
    group->GetLastAdded(&type, &index, &id, &kind, &handle);
    EXPECT_EQ(type, CMeasurementFormDoc::kTypeVideo);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(id, static_cast<int>(sourceId));
    EXPECT_EQ(kind, CPlaybackView::kDeviceRecording);
    EXPECT_EQ(handle, 7);

    ASSERT_EQ(MemberFrames().size(), 1u);
    CPlaybackView* playback = MemberView(0);
    ASSERT_NE(playback, nullptr);
    EXPECT_EQ(playback, view);
    EXPECT_EQ(playback->GetSourceKind(), CPlaybackView::kDeviceRecording);
    EXPECT_EQ(playback->GetMemberParam(), 7);
    EXPECT_EQ(MemberFrames()[0]->GetWindowText(), "Hardware Memory :  Cam A");
    EXPECT_EQ(group->FindDevicePlaybackFrame(7), MemberFrames()[0]);
    EXPECT_TRUE(group->IsModified());

    // Only the device's latest recordings close with CloseLatestRecordingPlaybacks.
    ASSERT_TRUE(
        group->AddPlaybackFromFile(WriteVideo(WorkPath("file.raw")), 0, 0, nullptr, nullptr));
    ASSERT_EQ(MemberFrames().size(), 2u);
    group->CloseLatestRecordingPlaybacks();
    ASSERT_EQ(MemberFrames().size(), 1u);
    EXPECT_EQ(MemberView(0)->GetSourceKind(), 0);
    group->SetModifiedFlag(FALSE);
    group->OnCloseDocument();
}

TEST_F(DeviceMemoryMemberTest, ACardsMemoryIsCopiedIntoADataMember) {
    m_memory.devices[CDeviceId(2, 0, 0).ToString()] = {4, "Card", CFrameSourcePtr(), true};
    CMeasurementFormDoc* group = NewGroup();
    const QString marker = CMeasurementFormDoc::DeviceMarkerPath(CDeviceId(2, 0, 0));
    ASSERT_TRUE(group->AddPlaybackFromFile(marker, 0, 0, nullptr, nullptr));

    ASSERT_EQ(group->GetDataCount(), 1);
    EXPECT_EQ(group->GetVideoCount(), 0);
    EXPECT_EQ(group->GetDataFlag(0), CMeasurementFormDoc::kFromDeviceMemory);
    EXPECT_EQ(group->GetDataPath(0), marker);
    const CMemberDataRef member = group->GetDataRef(0);
    ASSERT_FALSE(member.IsEmpty());
    EXPECT_EQ(member.Get(), m_memory.lastCopy.Get());
    EXPECT_EQ(group->GetDataSourceId(0), m_memory.lastCopy->GetDataId());
    int type = 0, kind = -1, handle = -1;
    group->GetLastAdded(&type, nullptr, nullptr, &kind, &handle);
    EXPECT_EQ(type, CMeasurementFormDoc::kTypeData);
    EXPECT_EQ(kind, CPlaybackView::kDeviceRecording);
    EXPECT_EQ(handle, 4);
    ASSERT_EQ(MemberFrames().size(), 1u);
    EXPECT_EQ(MemberFrames()[0]->GetWindowText(), "Hardware Memory :  Card");
    // Notes of the copy are sized to its scans, one scan a frame.
    ASSERT_NE(group->GetDataNotes(0), nullptr);
    EXPECT_EQ(group->GetDataNotes(0)->FrameSet().GetSize(), 30);
    EXPECT_EQ(group->GetDataNotes(0)->DataSet().GetSize(), 30);
    group->SetModifiedFlag(FALSE);
    group->OnCloseDocument();
}

TEST_F(DeviceMemoryMemberTest, ADeviceThatGivesNothingLeavesAnEmptyWindowAndNoMember) {
    m_memory.devices[CDeviceId(3, 0, 1).ToString()] = {7, "Idle cam", CFrameSourcePtr(), false};
    m_memory.devices[CDeviceId(2, 0, 0).ToString()] = {4, "Idle card", CFrameSourcePtr(), false};
    struct Case {
        const char* why;
        CDeviceId id;
        bool installed;
    };
    const Case cases[] = {
        {"camera without a recording", {3, 0, 1}, true},
        {"card without samples", {2, 0, 0}, true},
        {"device not open", {3, 0, 5}, true},
        {"no device layer", {3, 0, 1}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CMeasurementFormDoc::SetDeviceMemory(c.installed ? &m_memory : nullptr);
        CMeasurementFormDoc* group = NewGroup();
        ASSERT_TRUE(group->AddPlaybackFromFile(CMeasurementFormDoc::DeviceMarkerPath(c.id), 0, 0,
                                               nullptr, nullptr));
        EXPECT_EQ(group->GetVideoCount() + group->GetDataCount(), 0);
        EXPECT_FALSE(group->HasDeviceMemoryEntry());
        EXPECT_FALSE(group->IsModified());
        int type = -1;
        group->GetLastAdded(&type, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(type, CMeasurementFormDoc::kTypeNone);
        ASSERT_EQ(MemberFrames().size(), 1u);
        EXPECT_TRUE(MemberFrames()[0]->IsWindowVisible());
        group->OnCloseDocument();
        EXPECT_TRUE(MemberFrames().empty());
    }
}

}  // namespace
