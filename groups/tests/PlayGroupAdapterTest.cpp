#include "groups/PlayGroupAdapter.h"

#include "frames/IListenerList.h"
#include "frames/Notifier.h"
#include "groups/tests/GroupFixture.h"
#include "platform/framework/FrameworkIds.h"

namespace {

// An outer object that answers every query with itself.
class COuter : public CIdObjectBase {
public:
    HRESULT QueryInterfaceById(int id, void** out) override {
        ++asked;
        lastId = id;
        *out = static_cast<IIdUnknown*>(this);
        return S_OK;
    }
    int asked = 0;
    int lastId = 0;
};

using PlayGroupAdapterTest = GroupFixture;

TEST_F(PlayGroupAdapterTest, AnswersItsIdsAndRefusesTheRest) {
    CPlayGroupAdapter adapter(nullptr);
    void* const untouched = reinterpret_cast<void*>(0x1234);
    struct Case {
        int id;
        HRESULT result;
        void* expected;
    };
    void* notifier = nullptr;
    ASSERT_EQ(adapter.QueryInterfaceById(kIdNotifier, &notifier), S_OK);
    const Case cases[] = {
        {kIdUnknown, S_OK, static_cast<IIdUnknown*>(&adapter)},
        {kIdPlayGroup, S_OK, static_cast<IPlayGroup*>(&adapter)},
        {kIdNotifier, S_OK, notifier},
        {kIdFrameChangeListener, E_FAIL, untouched},
        {kIdListenerList, E_FAIL, untouched},
        {kIdNotifier2, E_FAIL, untouched},
        {kIdDevice, E_FAIL, untouched},
        {0, E_FAIL, untouched},
        {-1, E_FAIL, untouched},
    };
    for (const Case& c : cases) {
        void* out = untouched;
        EXPECT_EQ(adapter.QueryInterfaceById(c.id, &out), c.result) << c.id;
        EXPECT_EQ(out, c.expected) << c.id;
    }
    EXPECT_EQ(adapter.QueryInterfaceById(kIdPlayGroup, nullptr), E_POINTER);

    // The notifier is aggregated: a query on it is answered by the adapter.
    auto* list = static_cast<INotifier*>(notifier);
    void* root = nullptr;
    ASSERT_EQ(list->QueryInterfaceById(kIdPlayGroup, &root), S_OK);
    EXPECT_EQ(root, static_cast<IPlayGroup*>(&adapter));
    int count = -1;
    EXPECT_EQ(list->GetCount(&count), S_OK);
    EXPECT_EQ(count, 0);
}

TEST_F(PlayGroupAdapterTest, AnOuterObjectAnswersEveryQuery) {
    CPlayGroupAdapter adapter(nullptr);
    COuter outer;
    adapter.SetOuter(&outer);
    for (int id : {kIdUnknown, kIdPlayGroup, kIdNotifier, kIdDevice}) {
        void* out = nullptr;
        EXPECT_EQ(adapter.QueryInterfaceById(id, &out), S_OK);
        EXPECT_EQ(out, static_cast<IIdUnknown*>(&outer));
        EXPECT_EQ(outer.lastId, id);
    }
}

TEST_F(PlayGroupAdapterTest, WithoutADocumentNothingIsDone) {
    CPlayGroupAdapter adapter(nullptr);
    EXPECT_EQ(adapter.CloseAllPlaybacks(), E_POINTER);
    EXPECT_EQ(adapter.CloseLatestRecordingPlaybacks(), E_POINTER);
    EXPECT_EQ(adapter.PlaceMemberWindow(0, 5, 0, 0, 10, 10), E_FAIL);
}

class PlayGroupAdapterMembersTest : public GroupFixture {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        m_group = NewGroup();
        ASSERT_NE(m_group, nullptr);
        const QString path = WriteVideo(WorkPath("a.raw"));
        ASSERT_TRUE(m_group->AddPlaybackFromFile(path, 0, 0, nullptr, &m_file));
        ASSERT_TRUE(m_group->AddPlaybackFromFile(path, 0, 0, nullptr, &m_latest));
        // The second shows a device's latest recording, as the project sets it up.
        static_cast<CPlaybackView*>(m_latest)->SetGroupMember(CMeasurementFormDoc::kTypeVideo, 1, 1,
                                                              77);
        m_group->SetModifiedFlag(FALSE);
        m_adapter = m_group->GetPlayGroupAdapter();
    }

    void TearDown() override {
        if (m_group)
            m_group->OnCloseDocument();
        GroupFixture::TearDown();
    }

    bool Shown(CView* view) const {
        for (CViewChildedFrame* frame : MemberFrames()) {
            if (frame->GetDescendantWindow(AFX_IDW_PANE_FIRST) == view)
                return true;
        }
        return false;
    }

    CMeasurementFormDoc* m_group = nullptr;
    CPlayGroupAdapter* m_adapter = nullptr;
    CView* m_file = nullptr;
    CView* m_latest = nullptr;
};

TEST_F(PlayGroupAdapterMembersTest, ClosesOnlyVisibleLatestRecordings) {
    m_latest->GetParentFrame()->ShowWindow(SW_HIDE);
    EXPECT_EQ(m_adapter->CloseLatestRecordingPlaybacks(), S_OK);
    EXPECT_EQ(MemberFrames().size(), 2u);

    m_latest->GetParentFrame()->ShowWindow(SW_SHOW);
    EXPECT_EQ(m_adapter->CloseLatestRecordingPlaybacks(), S_OK);
    ASSERT_EQ(MemberFrames().size(), 1u);
    EXPECT_TRUE(Shown(m_file));
}

TEST_F(PlayGroupAdapterMembersTest, ClosesAllPlaybacksVisibleOrNot) {
    m_file->GetParentFrame()->ShowWindow(SW_HIDE);
    EXPECT_EQ(m_adapter->CloseAllPlaybacks(), S_OK);
    EXPECT_TRUE(MemberFrames().empty());
    // The members stay in the document until the group view removes them.
    EXPECT_EQ(m_group->GetVideoCount(), 2);
}

TEST_F(PlayGroupAdapterMembersTest, PlacesTheFrameOfTheDevicesPlayback) {
    CFrameWnd* latestFrame = m_latest->GetParentFrame();
    CFrameWnd* fileFrame = m_file->GetParentFrame();
    CRect fileBefore;
    fileFrame->GetWindowRect(&fileBefore);
    CRect latestBefore;
    latestFrame->GetWindowRect(&latestBefore);
    const CWnd* topBefore = m_container->GetWindow(GW_CHILD);

    // A handle that no playback carries moves nothing.
    EXPECT_EQ(m_adapter->PlaceMemberWindow(0, 78, 10, 20, 110, 220), S_OK);
    CRect rect;
    latestFrame->GetWindowRect(&rect);
    EXPECT_EQ(rect, latestBefore);

    EXPECT_EQ(m_adapter->PlaceMemberWindow(0, 77, 10, 20, 110, 220), S_OK);
    CRect placed;
    latestFrame->GetWindowRect(&placed);
    m_container->ScreenToClient(&placed);
    EXPECT_EQ(placed, CRect(10, 20, 110, 220));
    fileFrame->GetWindowRect(&rect);
    EXPECT_EQ(rect, fileBefore);
    EXPECT_EQ(m_container->GetWindow(GW_CHILD), topBefore);
}

}  // namespace
