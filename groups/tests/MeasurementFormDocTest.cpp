#include "frames/IFrameWindowAdapter.h"
#include "frames/MeasFrameAdapter.h"
#include "groups/NotesFile.h"
#include "groups/RecordingNotes.h"
#include "groups/tests/GroupFixture.h"
#include "shell/PlaceholderDoc.h"
#include "views/VidView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include <algorithm>
#include <random>

#include <unistd.h>

namespace {

void Touch(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

int DocumentsOf(CVidraApp& app, const char* key) {
    int count = 0;
    for (POSITION pos = app.GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* docTemplate = app.GetNextDocTemplate(pos);
        if (app.KeyOfTemplate(docTemplate) != QLatin1String(key))
            continue;
        for (POSITION doc = docTemplate->GetFirstDocPosition(); doc; docTemplate->GetNextDoc(doc))
            ++count;
    }
    return count;
}

// Analysis objects that count how many are alive, so removal is seen to delete them.
class CCountedAnalysis : public IVideoAnalysis {
public:
    CCountedAnalysis() { ++s_alive; }
    ~CCountedAnalysis() override { --s_alive; }
    static inline int s_alive = 0;
};

using MeasurementFormDocTest = GroupFixture;

TEST_F(MeasurementFormDocTest, CompanionFilesFollowTheNameAndItsTag) {
    struct Case {
        const char* opened;
        QStringList present;
        QStringList expected;
    };
    const Case cases[] = {
        {"clip.avi", {"clip.au2", "clip2.au2", "other.au2"}, {"clip.au2"}},
        {"clip.RAW", {"clip.au2"}, {"clip.au2"}},
        {"clip.avi", {"clip.mdat"}, {}},
        {"img_0001.bmp", {"img.au2", "img_.au2"}, {"img.au2"}},
        {"{a}.avi", {"{a}.au2", "{b}.avi"}, {"{a}.au2"}},
        {"run{a}.avi",
         {"run{b}.avi", "run{c}.mdat", "run{a}.au2", "run{d}.txt", "walk{e}.avi"},
         {"run{b}.avi", "run{c}.mdat"}},
        {"run{a}.avi", {"run{b}.au2", "run{b}.avi"}, {"run{b}.au2"}},
        {"run{a}.mdat", {"run{b}.avi", "run{a}.avi"}, {"run{b}.avi"}},
        {"run.mdat", {"run.au2", "run{b}.avi"}, {}},
        {"clip.vi", {"clip.au2"}, {}},
        {"clip.a", {"clip.au2"}, {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opened);
        CMeasurementFormDoc* group = NewGroup();
        const QString folder = WorkPath(QString::number(n++));
        Touch(folder + "/" + c.opened);
        for (const QString& name : c.present)
            Touch(folder + "/" + name);
        QStringList expected;
        for (const QString& name : c.expected)
            expected << folder + "/" + name;
        EXPECT_EQ(group->CollectSimilarlyNamedFiles(folder + "/" + c.opened) != FALSE,
                  !expected.isEmpty());
        EXPECT_EQ(group->GetPendingList(), expected);
        group->OnCloseDocument();
    }
}

TEST_F(MeasurementFormDocTest, OpeningWithSimilarNamesAddsTheCompanionsToTheGroup) {
    WriteVideo(WorkPath("run{a}.raw"));
    WriteVideo(WorkPath("run{b}.raw"));
    WriteDataFile(WorkPath("run{c}.mdat"));
    CMeasurementFormDoc* group = NewGroup();
    ASSERT_TRUE(group->AddPlaybackFromFile(WorkPath("run{a}.raw"), 0, 0, nullptr, nullptr));
    group->SetModifiedFlag(FALSE);
    ASSERT_TRUE(group->OpenFileWithSimilarlyNamed(WorkPath("run{a}.raw")));
    ASSERT_EQ(group->GetVideoCount(), 2);
    EXPECT_EQ(group->GetVideoPath(1), WorkPath("run{b}.raw"));
    ASSERT_EQ(group->GetDataCount(), 1);
    EXPECT_EQ(group->GetDataPath(0), WorkPath("run{c}.mdat"));
    EXPECT_TRUE(group->IsModified());
    EXPECT_TRUE(group->GetPendingList().isEmpty());
    EXPECT_EQ(MemberFrames().size(), 3u);
    EXPECT_FALSE(group->OpenFileWithSimilarlyNamed(WorkPath("run{c}.mdat").replace("run{c}", "x")));
    group->OnCloseDocument();
}

TEST_F(MeasurementFormDocTest, VideoTitlesShowSequencesAndFollowTheFullPathOption) {
    const struct {
        const char* path;
        bool full;
        const char* title;
    } cases[] = {
        {"C:\\shots\\img_0001.bmp", true, "C:\\shots\\img_*.bmp"},
        {"C:\\shots\\img_0001.bmp", false, "img_*.bmp"},
        {"/data/shots/frame0042.TIF", true, "/data/shots/frame*.TIF"},
        {"/data/shots/still.jpg", false, "still.jpg"},
        {"/data/take7.avi", true, "/data/take7.avi"},
        {"/data/take7.raw", false, "take7.raw"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CMeasurementFormDoc::VideoMemberTitle(c.path, c.full), c.title) << c.path;

    for (int full : {0, 1}) {
        SetIntSetting("View:ViewFullPathPlayTitles", full);
        CMeasurementFormDoc* group = NewGroup();
        const QString path = WriteVideo(WorkPath("take7.raw"));
        CDocument* member = nullptr;
        CView* view = nullptr;
        ASSERT_TRUE(group->AddPlaybackFromFile(path, 0, 0, &member, &view));
        const QString expected = full ? path : QStringLiteral("take7.raw");
        EXPECT_EQ(member->GetTitle(), expected);
        EXPECT_EQ(view->GetParentFrame()->GetWindowText(), expected);
        group->OnCloseDocument();
    }
}

TEST_F(MeasurementFormDocTest, AVideoThatFailsLeavesNoMemberAndNoWindow) {
    Touch(WorkPath("broken.avi"), QByteArray(300, 'z'));
    CMeasurementFormDoc* group = NewGroup();
    Prompter().ExpectMessageBox("Error loading video from file.", IDOK);
    CDocument* member = reinterpret_cast<CDocument*>(1);
    EXPECT_FALSE(group->AddPlaybackFromFile(WorkPath("broken.avi"), 0, 0, &member, nullptr));
    EXPECT_EQ(member, nullptr);
    EXPECT_EQ(group->GetVideoCount(), 0);
    EXPECT_TRUE(MemberFrames().empty());
    EXPECT_EQ(DocumentsOf(m_app, "DT:Vid"), 0);
    EXPECT_FALSE(group->IsModified());
    int type = -1;
    group->GetLastAdded(&type, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(type, CMeasurementFormDoc::kTypeNone);
    group->OnCloseDocument();
}

TEST_F(MeasurementFormDocTest, NewMembersAreRecordedAndSizedInTheContainer) {
    WriteDataFile(WorkPath("run.mdat"));
    CMeasurementFormDoc* group = NewGroup();
    CView* view = nullptr;
    ASSERT_TRUE(group->AddPlaybackFromFile(WriteVideo(WorkPath("a.raw")), 7, 0, nullptr, &view));
    int last[5] = {};
    group->GetLastAdded(&last[0], &last[1], &last[2], &last[3], &last[4]);
    EXPECT_EQ(last[0], CMeasurementFormDoc::kTypeVideo);
    EXPECT_EQ(last[1], 0);
    EXPECT_EQ(last[2], group->GetVideoSourceId(0));
    EXPECT_EQ(last[3], CMeasurementFormDoc::kFromFile);
    EXPECT_EQ(last[4], -1);
    EXPECT_EQ(group->FindVideoBySourceId(last[2]), 0);
    EXPECT_NE(group->GetVideoSource(0), nullptr);
    EXPECT_EQ(group->GetPathFor(CMeasurementFormDoc::kTypeVideo, last[2]), WorkPath("a.raw"));
    EXPECT_EQ(group->GetLastPlaybackPath(), WorkPath("a.raw"));
    EXPECT_TRUE(group->IsModified());

    // The container's client is 602 x 402: videos take (2w - 4) / 3 by 3 (h - 2) / 4.
    CRect frameRect;
    view->GetParentFrame()->GetWindowRect(&frameRect);
    EXPECT_EQ(frameRect.Width(), 400);
    EXPECT_EQ(frameRect.Height(), 300);
    EXPECT_EQ(view->GetParentFrame()->GetParent(), m_container);

    ASSERT_TRUE(group->AddPlaybackFromFile(WorkPath("run.mdat"), 0, 0, nullptr, &view));
    group->GetLastAdded(&last[0], &last[1], &last[2], &last[3], &last[4]);
    EXPECT_EQ(last[0], CMeasurementFormDoc::kTypeData);
    EXPECT_EQ(last[1], 0);
    EXPECT_EQ(group->FindDataById(last[2]), 0);
    view->GetParentFrame()->GetWindowRect(&frameRect);
    EXPECT_EQ(frameRect.Height(), 266);

    POSITION pos = group->GetFirstViewPosition();
    auto* groupView = dynamic_cast<CTestGroupView*>(group->GetNextView(pos));
    EXPECT_EQ(groupView->setUpFlags, (std::vector<int>{7, 0}));
    group->OnCloseDocument();
}

// A data file that cannot be read adds no member, leaves no window behind and says so.
TEST_F(MeasurementFormDocTest, UnreadableDataFileAddsNoMember) {
    WriteDataFile(WorkPath("run.mdat"));
    Touch(WorkPath("unreadable.mdat"));
    CMeasurementFormDoc* group = NewGroup();
    ASSERT_TRUE(group->AddPlaybackFromFile(WorkPath("run.mdat"), 0, 0, nullptr, nullptr));
    const auto frames = m_container->GetQWidget()->findChildren<QWidget*>().size();
    CView* view = nullptr;
    Prompter().ExpectMessageBox(
        QStringLiteral("Failed to open document %1.").arg(WorkPath("unreadable.mdat")), IDOK);
    EXPECT_FALSE(group->AddPlaybackFromFile(WorkPath("unreadable.mdat"), 0, 0, nullptr, &view));
    EXPECT_EQ(view, nullptr);
    EXPECT_EQ(group->GetDataCount(), 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_container->GetQWidget()->findChildren<QWidget*>().size(), frames);
    group->OnCloseDocument();
}

TEST_F(MeasurementFormDocTest, RandomAddsAndRemovesKeepEveryMemberArrayAligned) {
    CMeasurementFormDoc::SetAnalysisFactory(
        [](const CFrameSourcePtr&, CView*) { return new CCountedAnalysis; });
    const QString video = WriteVideo(WorkPath("v.raw"));
    WriteDataFile(WorkPath("d.mdat"));
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        CMeasurementFormDoc* group = NewGroup();
        std::vector<int> videoIds;
        std::vector<int> dataIds;
        for (int step = 0; step < 30; ++step) {
            const int action = static_cast<int>(random() % 4);
            int id = -1;
            if (action == 0) {
                ASSERT_TRUE(group->AddPlaybackFromFile(video, 0, 0, nullptr, nullptr));
                group->GetLastAdded(nullptr, nullptr, &id, nullptr, nullptr);
                videoIds.push_back(id);
            } else if (action == 1) {
                ASSERT_TRUE(group->AddPlaybackFromFile(WorkPath("d.mdat"), 0, 0, nullptr, nullptr));
                group->GetLastAdded(nullptr, nullptr, &id, nullptr, nullptr);
                dataIds.push_back(id);
            } else if (action == 2 && !videoIds.empty()) {
                const int i = static_cast<int>(random() % videoIds.size());
                ASSERT_TRUE(group->RemoveVideo(i));
                ASSERT_TRUE(group->RemoveVideoNotes(i));
                ASSERT_TRUE(group->RemoveVideoAnalysisObjects(i));
                videoIds.erase(videoIds.begin() + i);
            } else if (action == 3 && !dataIds.empty()) {
                const int i = static_cast<int>(random() % dataIds.size());
                ASSERT_TRUE(group->RemoveData(i));
                ASSERT_TRUE(group->RemoveDataNotes(i));
                dataIds.erase(dataIds.begin() + i);
            }
            const int videos = static_cast<int>(videoIds.size());
            const int data = static_cast<int>(dataIds.size());
            ASSERT_EQ(group->GetVideoArrayLengths(), std::vector<int>(5, videos));
            ASSERT_EQ(group->GetDataArrayLengths(), std::vector<int>(4, data));
            ASSERT_EQ(CCountedAnalysis::s_alive, videos);
            for (int i = 0; i < videos; ++i) {
                ASSERT_EQ(group->GetVideoSourceId(i), videoIds[static_cast<size_t>(i)]);
                ASSERT_EQ(group->FindVideoBySourceId(videoIds[static_cast<size_t>(i)]), i);
                ASSERT_EQ(group->GetVideoPath(i), video);
            }
            for (int i = 0; i < data; ++i)
                ASSERT_EQ(group->FindDataById(dataIds[static_cast<size_t>(i)]), i);
            ASSERT_EQ(group->GetVideoSourceId(videos), -1);
            ASSERT_EQ(group->GetDataSourceId(-1), -1);
            ASSERT_FALSE(group->RemoveVideo(videos));
            ASSERT_FALSE(group->RemoveData(data));
        }
        group->SetModifiedFlag(FALSE);
        group->OnCloseDocument();
        EXPECT_EQ(CCountedAnalysis::s_alive, 0);
    }
    CMeasurementFormDoc::SetAnalysisFactory(nullptr);
}

TEST_F(MeasurementFormDocTest, ADroppedGroupFileAddsItsMembersAndLeavesTheGroupModified) {
    WriteVideo(WorkPath("a.raw"));
    WriteVideo(WorkPath("b.raw"));
    WriteDataFile(WorkPath("c.mdat"));
    Touch(WorkPath("g.playgrp"), "b.raw\nc.mdat\n");
    CMeasurementFormDoc* group = NewGroup();
    ASSERT_TRUE(group->AddPlaybackFromFile(WorkPath("a.raw"), 0, 0, nullptr, nullptr));
    group->SetModifiedFlag(FALSE);
    ASSERT_TRUE(group->AddPlaybackFromFile(WorkPath("g.playgrp"), 0, 0, nullptr, nullptr));
    EXPECT_EQ(group->GetVideoCount(), 2);
    EXPECT_EQ(group->GetDataCount(), 1);
    EXPECT_TRUE(group->IsModified());
    EXPECT_EQ(MemberFrames().size(), 3u);
    group->SetModifiedFlag(FALSE);
    group->OnCloseDocument();
}

TEST_F(MeasurementFormDocTest, ClosingAsksOnlyWhenAFileGroupChanged) {
    WriteVideo(WorkPath("a.raw"));
    Touch(WorkPath("g.playgrp"), "a.raw\n");

    // Loaded from its file: unmodified, nothing is asked.
    CMeasurementFormDoc* loaded = NewGroup();
    loaded->SetPendingPath(WorkPath("g.playgrp"));
    loaded->LoadPlayGroup(0);
    ASSERT_EQ(loaded->GetVideoCount(), 1);
    EXPECT_FALSE(loaded->IsModified());
    EXPECT_TRUE(loaded->SaveModified());
    EXPECT_TRUE(Prompter().Prompts().empty());

    // Changed: the standard question; No drops the change, Cancel keeps the group open.
    loaded->SetModifiedFlag(TRUE);
    Prompter().ExpectMessageBox("Save changes to " + loaded->GetTitle() + "?", IDCANCEL);
    EXPECT_FALSE(loaded->SaveModified());
    EXPECT_TRUE(loaded->IsModified());
    Prompter().ExpectMessageBox("Save changes to " + loaded->GetTitle() + "?", IDNO);
    EXPECT_TRUE(loaded->SaveModified());
    EXPECT_FALSE(loaded->IsModified());

    // Yes on a group without a file asks for a name and writes the file.
    loaded->SetModifiedFlag(TRUE);
    loaded->SetPathName(QString(), FALSE);
    Prompter().ExpectMessageBox("Save changes to " + loaded->GetTitle() + "?", IDYES);
    Prompter().AnswerFileDialog({WorkPath("saved.playgrp")});
    EXPECT_TRUE(loaded->SaveModified());
    EXPECT_FALSE(loaded->IsModified());
    EXPECT_TRUE(QFileInfo::exists(WorkPath("saved.playgrp")));
    ASSERT_FALSE(Prompter().FilePrompts().empty());
    loaded->OnCloseDocument();

    // An empty group has no file member: nothing is asked even when modified.
    CMeasurementFormDoc* empty = NewGroup();
    empty->SetModifiedFlag(TRUE);
    EXPECT_TRUE(empty->SaveModified());
    empty->SetModifiedFlag(FALSE);
    empty->OnCloseDocument();
}

// A group file name that is another name of an open member (a hard link to it) is refused
// with the message naming it, and the recording keeps its bytes.
TEST_F(MeasurementFormDocTest, SavingOverAnOpenRecordingUnderAnotherNameIsRefused) {
    const QString video = WriteVideo(WorkPath("a.raw"));
    CMeasurementFormDoc* group = NewGroup();
    ASSERT_TRUE(group->AddPlaybackFromFile(video, 0, 0, nullptr, nullptr));
    const QString linked = WorkPath("linked.playgrp");
    ASSERT_EQ(::link(QFile::encodeName(video).constData(), QFile::encodeName(linked).constData()),
              0);
    QFile file(video);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    Prompter().ExpectMessageBox(QStringLiteral("The file %1 is open as a recording or one of its "
                                               "files and cannot be written.\nChoose another file "
                                               "name.")
                                    .arg(linked),
                                IDOK);
    EXPECT_FALSE(group->DoSave(linked, TRUE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    group->SetModifiedFlag(FALSE);
    group->OnCloseDocument();
}

TEST_F(MeasurementFormDocTest, NewGroupsAreNumberedByGroupsCreated) {
    CMeasurementFormDoc* first = NewGroup();
    const QString firstTitle = first->GetTitle();
    int number = 1;
    if (firstTitle != QLatin1String("Play Group")) {
        ASSERT_TRUE(firstTitle.startsWith("Play Group "));
        number = firstTitle.mid(11).toInt();
    }
    first->OnCloseDocument();
    CMeasurementFormDoc* second = NewGroup();
    EXPECT_EQ(second->GetTitle(), QStringLiteral("Play Group %1").arg(number + 1));
    second->OnCloseDocument();
}

TEST_F(MeasurementFormDocTest, AnUnknownDeviceShowsAnEmptyWindowWithoutAMember) {
    CMeasurementFormDoc* group = NewGroup();
    ASSERT_TRUE(group->AddPlaybackFromFile("addplaybackXXX#3#0#1#", 0, 0, nullptr, nullptr));
    EXPECT_EQ(group->GetVideoCount(), 0);
    ASSERT_EQ(MemberFrames().size(), 1u);
    EXPECT_TRUE(MemberFrames()[0]->IsWindowVisible());
    EXPECT_FALSE(group->IsModified());
    group->OnCloseDocument();
}

TEST_F(MeasurementFormDocTest, ClosingTheGroupClosesEveryMemberWindow) {
    CMeasurementFormDoc* group = NewGroup();
    ASSERT_TRUE(group->AddPlaybackFromFile(WriteVideo(WorkPath("a.raw")), 0, 0, nullptr, nullptr));
    ASSERT_TRUE(group->AddPlaybackFromFile(WorkPath("a.raw"), 0, 0, nullptr, nullptr));
    MemberFrames()[0]->ShowWindow(SW_HIDE);
    ASSERT_EQ(MemberFrames().size(), 2u);
    group->SetModifiedFlag(FALSE);
    group->OnCloseDocument();
    EXPECT_TRUE(MemberFrames().empty());
    EXPECT_EQ(DocumentsOf(m_app, "DT:Vid"), 0);
}

TEST_F(MeasurementFormDocTest, VideoViewsReachTheGroupThroughItsFrameWindowAdapter) {
    CMeasurementFormDoc* group = NewGroup();
    CView* view = nullptr;
    ASSERT_TRUE(group->AddPlaybackFromFile(WriteVideo(WorkPath("a.raw")), 0, 0, nullptr, &view));
    auto* video = dynamic_cast<CVidView*>(view);
    ASSERT_NE(video, nullptr);
    auto* adapter = reinterpret_cast<IFrameWindowAdapter*>(video->GetToolContext());
    ASSERT_EQ(adapter, static_cast<IFrameWindowAdapter*>(group->GetFrameWindowAdapter()));

    // A derived source shown through the view's adapter gets a window of its own in the
    // group's container; the group's members are not touched.
    CFrameSourcePtr derived(new CFrameSource);
    ASSERT_TRUE(derived->Open(WorkPath("a.raw")));
    EXPECT_EQ(adapter->ShowVideo(derived, "derived"), S_OK);
    const std::vector<CViewChildedFrame*> frames = MemberFrames();
    ASSERT_EQ(frames.size(), 2u);
    const auto shown = std::find_if(frames.begin(), frames.end(), [&](CViewChildedFrame* f) {
        auto* v = dynamic_cast<CVidView*>(f->GetActiveView());
        return v && v->GetFrameSource().Get() == derived.Get();
    });
    ASSERT_NE(shown, frames.end());
    EXPECT_EQ((*shown)->GetWindowText(), "derived");
    EXPECT_TRUE((*shown)->IsWindowVisible());
    EXPECT_EQ(group->GetVideoCount(), 1);

    // Video windows are found again through their views: no second window, and closing the
    // source's windows closes just that one.
    EXPECT_EQ(adapter->ShowVideo(derived, "again"), S_OK);
    EXPECT_EQ(MemberFrames().size(), 2u);
    EXPECT_EQ((*shown)->GetWindowText(), "derived");
    EXPECT_EQ(adapter->CloseVideo(derived), S_OK);
    QCoreApplication::processEvents();
    ASSERT_EQ(MemberFrames().size(), 1u);
    EXPECT_EQ(dynamic_cast<CVidView*>(MemberFrames().front()->GetActiveView()), video);
    group->SetModifiedFlag(FALSE);
    group->OnCloseDocument();
}

class MeasurementFormDocNoDataTest : public GroupFixture {
protected:
    MeasurementFormDocNoDataTest() { m_placeholderData = true; }
};

TEST_F(MeasurementFormDocNoDataTest, ADataFileReportsThatDataWindowsAreNotAvailable) {
    Touch(WorkPath("run.mdat"));
    CMeasurementFormDoc* group = NewGroup();
    Prompter().ExpectMessageBox(CPlaceholderDoc::NotAvailableText("DT:PmoPlayVCF"), IDOK);
    EXPECT_FALSE(group->AddPlaybackFromFile(WorkPath("run.mdat"), 0, 0, nullptr, nullptr));
    EXPECT_EQ(group->GetDataCount(), 0);
    EXPECT_TRUE(MemberFrames().empty());
    EXPECT_FALSE(group->IsModified());
    group->OnCloseDocument();
}

}  // namespace

// Members bring the notes of their side files; saving the group writes the notes that changed.
TEST_F(MeasurementFormDocTest, MembersCarryTheirNotesAndSavingWritesTheChangedOnes) {
    WriteDataFile(WorkPath("run.mdat"));
    const QString video = WriteVideo(WorkPath("a.raw"));
    {
        CRecordingNotes stored;
        stored.ResetAll(2, 0);
        stored.SetFrameNote(1, "second frame");
        stored.SetGlobalNote("take one");
        ASSERT_TRUE(CNotesFile().SaveNotes(video, stored, 3));
    }
    CMeasurementFormDoc* group = NewGroup();
    ASSERT_TRUE(group->AddPlaybackFromFile(video, 0, 0, nullptr, nullptr));
    ASSERT_TRUE(group->AddPlaybackFromFile(WorkPath("run.mdat"), 0, 0, nullptr, nullptr));
    CRecordingNotes* notes = group->GetVideoNotes(0);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->FrameSet().GetSize(), group->GetVideoSource(0)->GetFrameCount());
    QString text;
    ASSERT_TRUE(notes->GetFrameNote(1, &text));
    EXPECT_EQ(text, "second frame");
    EXPECT_EQ(group->GetNotesFor(3, group->GetVideoSourceId(0)), notes);

    CRecordingNotes* dataNotes = group->GetDataNotes(0);
    ASSERT_NE(dataNotes, nullptr);
    dataNotes->SetGlobalNote("sensor remark");
    ASSERT_TRUE(QFile::remove(WorkPath("a.ntv")));
    ASSERT_TRUE(group->DoSave(WorkPath("g.playgrp"), TRUE));
    EXPECT_FALSE(dataNotes->IsModified());
    CRecordingNotes back;
    back.ResetAll(0, 0);
    CNotesFile().ReadDataNotes(WorkPath("run.mdat"), back, 0, 0);
    back.GetGlobalNote(&text);
    EXPECT_EQ(text, "sensor remark");
    // The video's notes did not change: its side file is left alone.
    EXPECT_FALSE(QFile::exists(WorkPath("a.ntv")));
    group->OnCloseDocument();
}
