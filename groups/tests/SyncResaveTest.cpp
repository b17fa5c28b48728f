#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "frames/SaveControllerBase.h"
#include "frames/SaveVideoParams.h"
#include "groups/NotesFile.h"
#include "groups/RecordingNotes.h"
#include "groups/SyncResavePass.h"
#include "groups/SyncSaveListDlg.h"
#include "groups/tests/GroupFixture.h"
#include "platform/com/ComVariant.h"
#include "resources/ProgramResources.h"
#include "sensordata/model/SensorDataSet.h"
#include "views/VidView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <QTreeWidget>

#include <deque>
#include <functional>
#include <optional>

namespace {

// What the stand-in save dialogs and savers of the videos were asked and did.
struct VideoSaves {
    // One answer per question: nothing cancels, an empty text keeps the proposed name.
    std::deque<std::optional<QString>> answers;
    QStringList proposals;
    std::vector<CSaveVideoParams> saved;
    bool fail = false;
};

VideoSaves* g_saves = nullptr;

// A video's save controller that answers from the script and saves by copying the recording.
class CScriptedSaveController : public CSaveControllerBase {
public:
    explicit CScriptedSaveController(CFrameSource* source) : m_source(source) {}

    HRESULT Prompt(CSaveVideoParams* params) override {
        g_saves->proposals.append(params->m_outputPath);
        if (g_saves->answers.empty()) {
            ADD_FAILURE() << "unexpected question for " << params->m_outputPath.toStdString();
            return E_FAIL;
        }
        const std::optional<QString> answer = g_saves->answers.front();
        g_saves->answers.pop_front();
        if (!answer)
            return E_FAIL;
        if (!answer->isEmpty())
            params->m_outputPath = *answer;
        return S_OK;
    }

    HRESULT Save(CSaveVideoParams* params) override {
        m_doneCallback = params->m_doneCallback;
        if (g_saves->fail)
            return E_FAIL;
        g_saves->saved.push_back(*params);
        QFile::remove(params->m_outputPath);
        if (!QFile::copy(m_source->GetFilePath(), params->m_outputPath))
            return E_FAIL;
        OnSaveDone(TRUE, params);
        return S_OK;
    }

private:
    CFrameSource* m_source;
};

void ClickButton(QWidget* window, const QString& text) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

// Once the synchronized save list shows: action on it, then the button pressed.
void WhenListShows(std::function<void(QWidget*)> action, const QString& button) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, button] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || !dynamic_cast<CSyncSaveListDlg*>(CWnd::FromWidgetPermanent(w)))
                continue;
            timer->stop();
            timer->deleteLater();
            action(w);
            ClickButton(w, button);
            return;
        }
    });
    timer->start();
}

int ScansOf(const QString& path) {
    CSensorDataSet data;
    return SUCCEEDED(data.Open(path)) ? data.GetScanCount() : -1;
}

struct Member {
    const char* file;  // ".raw": a video; ".mdat": a data recording
    double rate;
    int count;
    int in = -1;  // -1: unset
    int out = -1;
    int mark = -1;  // synchronisation mark; -1: none
};

class SyncResaveTest : public GroupFixture {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        CProgramResources::Register();
        g_saves = &m_saves;
        CFrameSource::SetSaveControllerFactory(
            [](CFrameSource* source) { return std::make_unique<CScriptedSaveController>(source); });
        m_group = NewGroup();
        ASSERT_NE(m_group, nullptr);
    }

    void TearDown() override {
        CFrameSource::SetSaveControllerFactory(nullptr);
        g_saves = nullptr;
        GroupFixture::TearDown();
    }

    // A member of the group opened from the work folder, its playback set as m says.
    CPlaybackView* Add(const Member& m) {
        const QString path = WorkPath(QString::fromLatin1(m.file));
        QDir().mkpath(QFileInfo(path).path());
        if (path.endsWith(QLatin1String(".raw"))) {
            EXPECT_TRUE(CSampleRecording::Write(path));
        } else {
            CSensorDataSet data;
            EXPECT_EQ(data.Init(2, m.count, 1, m.rate, 0), S_OK);
            EXPECT_EQ(data.Save(path), S_OK);
        }
        EXPECT_TRUE(m_group->AddPlaybackFromFile(path, 0, 0, nullptr, nullptr));
        int type = 0;
        int index = -1;
        m_group->GetLastAdded(&type, &index, nullptr, nullptr, nullptr);
        CPlaybackView* playback = FindPlayback(type, index);
        EXPECT_NE(playback, nullptr) << m.file;
        if (!playback)
            return nullptr;
        Configure(playback, m);
        return playback;
    }

    // A video taken from a device's memory, titled as the group titles such a member.
    CPlaybackView* AddDeviceVideo(const QString& deviceName, const Member& m) {
        const QString path = WorkPath(QStringLiteral("memory.raw"));
        EXPECT_TRUE(CSampleRecording::Write(path));
        CFrameSourcePtr source(new CFrameSource);
        EXPECT_EQ(source->Open(path), 1);
        CDocument* doc = nullptr;
        CView* view = nullptr;
        EXPECT_TRUE(m_group->ParentVideoFrame(QString(), &doc, &view, TRUE));
        m_group->AddVideoEntry(source, CMeasurementFormDoc::kFromDeviceMemory,
                               QStringLiteral("addplaybackXXX#3#0#1#"));
        auto* video = dynamic_cast<CVidView*>(view);
        EXPECT_NE(video, nullptr);
        if (!video)
            return nullptr;
        video->SetFrameSource(source);
        video->SetGroupMember(CPlaybackView::kVideoMember, m_group->GetVideoCount() - 1,
                              CPlaybackView::kDeviceRecording, 5);
        video->SetGroupDocument(m_group);
        doc->SetTitle(QStringLiteral("Hardware Memory :  ") + deviceName);
        Configure(video, m);
        return video;
    }

    static void Configure(CPlaybackView* playback, const Member& m) {
        playback->SetFrameRate(m.rate);
        playback->SetFrameCount(m.count);
        if (m.in >= 0)
            playback->SetInPoint(1, m.in);
        if (m.out >= 0)
            playback->SetOutPoint(1, m.out);
        if (m.mark >= 0)
            playback->SetFrameNumberOrigin(1, m.mark);
    }

    CPlaybackView* FindPlayback(int type, int index) const {
        for (CViewChildedFrame* frame : MemberFrames()) {
            auto* playback =
                dynamic_cast<CPlaybackView*>(frame->GetDescendantWindow(AFX_IDW_PANE_FIRST));
            if (!playback || playback->GetGroupDocument() != m_group ||
                playback->GetSourceType() != type)
                continue;
            const int id = type == CPlaybackView::kVideoMember ? m_group->GetVideoSourceId(index)
                                                               : m_group->GetDataSourceId(index);
            if ((type == CPlaybackView::kVideoMember && playback->GetMemberIndex() == index) ||
                (type == CPlaybackView::kDataMember && playback->GetMemberIndex() == id))
                return playback;
        }
        return nullptr;
    }

    static HWND FrameOf(CPlaybackView* playback) {
        return playback ? playback->GetParentFrame()->GetSafeHwnd() : nullptr;
    }

    void SetSnapkeepFolder(const QString& folder) {
        m_main->GetSnapkeepOptions().m_snapkeepValue.m_dirs = QStringList{folder};
    }

    VideoSaves m_saves;
    CMeasurementFormDoc* m_group = nullptr;
};

TEST_F(SyncResaveTest, OutputsShareOneNameAndOneStretchOfTime) {
    struct Case {
        bool tags;
        const char* video1;
        const char* video2;
        const char* data;
    };
    // Without tags the second video would take the first one's name: it gets its tag.
    const Case cases[] = {
        {true, "Resave shot{v1}.avi", "Resave shot{v2}.avi", "Resave shot{d1}.mdat"},
        {false, "Resave shot.avi", "Resave shot{v2}.avi", "Resave shot.mdat"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tags);
        const QString folder = QStringLiteral("rec%1").arg(++n);
        m_group = NewGroup();
        // 0.100 s to 0.299 s of the first video; the others are cut to the same time.
        CPlaybackView* first = Add({qPrintable(folder + "/shot{x}.raw"), 1000, 1000, 100, 299, 0});
        CPlaybackView* second = Add({qPrintable(folder + "/shot{y}.raw"), 500, 500, -1, -1, 20});
        CPlaybackView* data = Add({qPrintable(folder + "/shot{z}.mdat"), 2000, 1000});
        m_saves = VideoSaves();
        m_saves.answers = {QString()};

        CSyncResavePass::Options options;
        options.askFirst = true;
        options.tags = c.tags;
        CSyncResavePass pass(m_group, options);
        for (CPlaybackView* playback : {first, second, data})
            pass.SaveFrame(FrameOf(playback));

        const QString dir = WorkPath(folder) + '/';
        EXPECT_EQ(m_saves.proposals, QStringList{dir + "Resave shot.avi"});
        ASSERT_EQ(m_saves.saved.size(), 2u);
        EXPECT_EQ(m_saves.saved[0].m_outputPath, dir + c.video1);
        EXPECT_EQ(m_saves.saved[0].m_firstFrame, 100);
        EXPECT_EQ(m_saves.saved[0].m_lastFrame, 299);
        EXPECT_EQ(m_saves.saved[1].m_outputPath, dir + c.video2);
        EXPECT_EQ(m_saves.saved[1].m_firstFrame, 20 + 50);
        EXPECT_EQ(m_saves.saved[1].m_lastFrame, 20 + 149);
        EXPECT_EQ(ScansOf(dir + c.data), 400) << "scans 200 to 599 at 2000 per second";
        EXPECT_EQ(pass.GetOutputs(), QStringList({dir + c.video1, dir + c.video2, dir + c.data}));
        EXPECT_EQ(pass.GetFailedCount(), 0);
    }
}

TEST_F(SyncResaveTest, UnsetInAndOutPointsStandForTheWholeRecording) {
    CPlaybackView* first = Add({"shot{x}.raw", 1000, 1000, -1, -1, 0});
    CPlaybackView* second = Add({"shot{y}.raw", 500, 500, -1, -1, 0});
    m_saves.answers = {QString()};
    CSyncResavePass::Options options;
    options.askFirst = true;
    CSyncResavePass pass(m_group, options);
    pass.SaveFrame(FrameOf(first));
    pass.SaveFrame(FrameOf(second));
    ASSERT_EQ(m_saves.saved.size(), 2u);
    EXPECT_EQ(m_saves.saved[0].m_firstFrame, 0);
    EXPECT_EQ(m_saves.saved[0].m_lastFrame, 999);
    EXPECT_EQ(m_saves.saved[1].m_firstFrame, 0);
    EXPECT_EQ(m_saves.saved[1].m_lastFrame, 499);
}

TEST_F(SyncResaveTest, TagsGoInFrontOfTheExtensionOfTheOutputKind) {
    struct Case {
        const char* path;
        int kind;
        int imageType;
        const char* tag;
        const char* expected;
    };
    const Case cases[] = {
        {"/take.v2/shot", CSaveVideoParams::kAvi, 0, "{v1}", "/take.v2/shot{v1}.avi"},
        {"/rec/shot.avi", CSaveVideoParams::kDataFile, 0, "{d1}", "/rec/shot{d1}.mdat"},
        {"/rec/shot.avi", CSaveVideoParams::kAvi, 0, "", "/rec/shot.avi"},
        {"/rec/shot.bmp", CSaveVideoParams::kSequence, CSaveVideoParams::kBmp, "{v2}",
         "/rec/shot{v2}.bmp"},
        {"/rec/set[*].pvi", CSaveVideoParams::kBatch, 0, "{v3}", "/rec/set{v3}[*].pvi"},
    };
    for (const Case& c : cases) {
        CSaveVideoParams params;
        params.m_outputKind = c.kind;
        params.m_imageType = c.imageType;
        CMeasurementFormDoc::InsertNameTag(&params, QString::fromLatin1(c.path),
                                           QString::fromLatin1(c.tag));
        EXPECT_EQ(params.m_outputPath, QString::fromLatin1(c.expected)) << c.path;
    }
}

TEST_F(SyncResaveTest, ANameTakenOnDiskIsAskedForNotWrittenOver) {
    CPlaybackView* first = Add({"shot{x}.raw", 1000, 1000});
    CPlaybackView* second = Add({"shot{y}.raw", 1000, 1000});
    const QString taken = WorkPath("Resave shot{v2}.avi");
    {
        QFile file(taken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep");
    }
    const QString other = WorkPath("other.avi");
    m_saves.answers = {QString(), other};
    CSyncResavePass::Options options;
    options.askFirst = true;
    CSyncResavePass pass(m_group, options);
    pass.SaveFrame(FrameOf(first));
    pass.SaveFrame(FrameOf(second));
    EXPECT_EQ(m_saves.proposals, QStringList({WorkPath("Resave shot.avi"), taken}));
    ASSERT_EQ(m_saves.saved.size(), 2u);
    EXPECT_EQ(m_saves.saved[1].m_outputPath, other);
    QFile file(taken);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "keep");
}

TEST_F(SyncResaveTest, NotesFollowTheRecordingOnlyOnceItIsSaved) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails);
        m_group = NewGroup();
        const QString folder = fails ? QStringLiteral("failing") : QStringLiteral("saving");
        CPlaybackView* video = Add({qPrintable(folder + "/take.raw"), 100, 200, 100, 199, 0});
        CRecordingNotes* notes = m_group->GetVideoNotes(m_group->GetVideoCount() - 1);
        ASSERT_NE(notes, nullptr);
        for (const int frame : {90, 120, 150})
            notes->SetFrameNote(frame, QStringLiteral("note %1").arg(frame));
        const QString output = WorkPath(folder + "/out.raw");
        m_saves = VideoSaves();
        m_saves.answers = {output};
        m_saves.fail = fails;

        CSyncResavePass::Options options;
        options.askFirst = true;
        options.addToGroup = 1;
        CSyncResavePass pass(m_group, options);
        pass.SaveFrame(FrameOf(video));

        const QString side = WorkPath(folder + "/out.ntv");
        EXPECT_EQ(pass.GetFailedCount(), fails ? 1 : 0);
        EXPECT_EQ(QFile::exists(side), !fails);
        EXPECT_EQ(m_group->GetVideoCount(), fails ? 1 : 2) << "the saved file joins the group";
        if (fails)
            continue;
        CRecordingNotes back;
        back.ResetAll(100, 0);
        CNotesFile().ReadVideoNotes(output, back, 100);
        EXPECT_EQ(back.FrameSet().CountSet(), 2);
        QString text;
        EXPECT_TRUE(back.GetFrameNote(20, &text));
        EXPECT_EQ(text, "note 120");
        // The notes were there when the saved file joined the group.
        CRecordingNotes* joined = m_group->GetVideoNotes(1);
        ASSERT_NE(joined, nullptr);
        EXPECT_TRUE(joined->GetFrameNote(50, &text));
        EXPECT_EQ(text, "note 150");
    }
}

TEST_F(SyncResaveTest, OneCheckedWindowKeepsItsNameAndCancelSavesNothing) {
    CPlaybackView* first = Add({"shot{x}.raw", 1000, 1000});
    CPlaybackView* second = Add({"shot{y}.raw", 500, 500});
    ASSERT_TRUE(first && second);

    // The list starts with the window the title names; all but it are unchecked.
    QStringList rows;
    WhenListShows(
        [&](QWidget* w) {
            auto* tree = w->findChild<QTreeWidget*>();
            ASSERT_NE(tree, nullptr);
            for (int row = 0; row < tree->topLevelItemCount(); ++row) {
                rows << tree->topLevelItem(row)->text(0);
                if (row > 0)
                    tree->topLevelItem(row)->setCheckState(0, Qt::Unchecked);
            }
        },
        QStringLiteral("OK"));
    m_saves.answers = {QString()};
    EXPECT_TRUE(m_group->ResaveGroup(0, 0, 0, 0, 0, 0, 0, second->GetDocumentTitle()));
    EXPECT_EQ(rows, QStringList({"shot{y}.raw", "shot{x}.raw"}));
    ASSERT_EQ(m_saves.saved.size(), 1u);
    EXPECT_EQ(m_saves.saved[0].m_outputPath, WorkPath("Resave shot.avi"))
        << "a single window is saved without a tag";

    m_saves = VideoSaves();
    WhenListShows([](QWidget*) {}, QStringLiteral("Cancel"));
    EXPECT_FALSE(m_group->ResaveGroup(0, 0, 0, 0, 0, 0, 0, QString()));
    EXPECT_TRUE(m_saves.saved.empty());
}

TEST_F(SyncResaveTest, SavingToAFolderReportsAFailedDataSave) {
    struct Case {
        const char* answer;
        bool ok;
    };
    const Case cases[] = {{"out.mdat", true}, {"missing/out.mdat", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        m_group = NewGroup();
        Add({"take.mdat", 1000, 100});
        WhenListShows([](QWidget*) {}, QStringLiteral("OK"));
        const QString answer = WorkPath(QString::fromLatin1(c.answer));
        Prompter().AnswerFileDialog({answer});
        if (!c.ok)
            Prompter().ExpectMessageBox(QStringLiteral("Could not save data file."), IDOK);
        QStringList outputs;
        EXPECT_EQ(m_group->SaveGroupToFolder(WorkDir(), QStringLiteral("Event"), &outputs),
                  c.ok ? TRUE : FALSE);
        EXPECT_EQ(outputs, c.ok ? QStringList{answer} : QStringList());
        const FileDialogPrompt& asked = Prompter().FilePrompts().back();
        EXPECT_EQ(asked.title, "Save Data File : take");
        EXPECT_EQ(asked.fileName, WorkPath("Event.mdat"));
    }
}

TEST_F(SyncResaveTest, DeviceMemoryIsSavedToTheOneStepSaveFolder) {
    struct Case {
        bool folderSet;
        bool asked;
    };
    for (const Case c : {Case{true, false}, Case{false, true}}) {
        SCOPED_TRACE(c.folderSet);
        m_group = NewGroup();
        CPlaybackView* memory = AddDeviceVideo(QStringLiteral("Cam1"), {"", 100, 200});
        ASSERT_NE(memory, nullptr);
        const QString folder = WorkPath(QStringLiteral("snaps"));
        QDir().mkpath(folder);
        SetSnapkeepFolder(c.folderSet ? folder : QString());
        m_saves = VideoSaves();
        const QString chosen = WorkPath(QStringLiteral("chosen.avi"));
        if (c.asked)
            m_saves.answers = {chosen};
        EXPECT_TRUE(m_group->SaveGroupFromDeviceMemory(0, 1, 0, 0, 0, 0));
        ASSERT_EQ(m_saves.saved.size(), 1u);
        EXPECT_EQ(m_saves.saved[0].m_outputPath, c.asked ? chosen : folder + "/Cam1.avi");
        EXPECT_EQ(m_saves.proposals.size(), c.asked ? 1 : 0);
    }
}

TEST_F(SyncResaveTest, SavingFromDeviceMemoryWarnsOnlyAboutFilesLeftOut) {
    for (const bool withFile : {false, true}) {
        SCOPED_TRACE(withFile);
        m_group = NewGroup();
        AddDeviceVideo(QStringLiteral("Cam1"), {"", 100, 200});
        if (withFile) {
            Add({"take.raw", 100, 200});
            Prompter().ExpectMessageBox(
                QStringLiteral("You are saving a play group from device memory. This \ngroup "
                               "also contains videos or data from file. These\nfiles will not "
                               "be re-saved nor listed in the new group \nfile."),
                IDOK);
        }
        m_saves = VideoSaves();
        m_saves.answers = {std::nullopt};
        EXPECT_TRUE(m_group->SaveGroupFromDeviceMemory(0, 1, 0, 0, 1, 0));
        EXPECT_EQ(m_saves.proposals.size(), 1u) << "the file member is not saved";
    }
}

TEST_F(SyncResaveTest, SavingTheGroupOffersToResaveDeviceMemoryFirst) {
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer);
        m_group = NewGroup();
        AddDeviceVideo(QStringLiteral("Cam1"), {"", 100, 200});
        Add({"take.raw", 100, 200});
        SetSnapkeepFolder(WorkDir());
        Prompter().ExpectMessageBox(
            QStringLiteral("This play project contains one (or more) playback from device "
                           "memory. Save the playback(s) from memory?"),
            answer);
        m_saves = VideoSaves();
        // Saved as a recording the group can open, so that it joins the group.
        const QString saved = WorkPath(QStringLiteral("Cam1.raw"));
        if (answer == IDYES) {
            WhenListShows([](QWidget*) {}, QStringLiteral("OK"));
            m_saves.answers = {saved};
        }
        const QString groupFile = WorkPath(QStringLiteral("session.playgrp"));
        EXPECT_TRUE(m_group->DoSave(groupFile, TRUE));
        EXPECT_TRUE(QFile::exists(groupFile));
        EXPECT_EQ(m_saves.saved.size(), answer == IDYES ? 1u : 0u);
        if (answer == IDYES) {
            EXPECT_EQ(m_saves.proposals, QStringList{WorkPath("Cam1.avi")});
            EXPECT_EQ(m_saves.saved[0].m_outputPath, saved);
        }
    }
}

}  // namespace
