// Saves that let messages through while they run, closed meanwhile by every way the user has,
// with every answer to the group's save question: the save ends as its own Cancel ends it
// before anything it reads goes, then the close goes on and asks as it always asks; Cancel
// there keeps the group open and working.

#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "frames/SaveVideoParams.h"
#include "groups/tests/GroupFixture.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/RunningOperation.h"
#include "resources/ProgramResources.h"
#include "shell/SaveController.h"
#include "views/VidView.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <functional>
#include <string>

namespace {

// Frames from gateAt on are read (on the AVI save's streaming thread) only once the gate is
// open, so a save is still under way whenever the test closes something.
class GatedSource : public CFrameSource {
public:
    explicit GatedSource(int gateAt) : m_gateAt(gateAt) {}
    int ReadFrame(int n) override {
        if (m_gateAt >= 0 && n >= m_gateAt)
            m_gate.wait(false);
        return CFrameSource::ReadFrame(n);
    }
    void OpenGate() {
        m_gate.store(true);
        m_gate.notify_all();
    }

private:
    const int m_gateAt;
    std::atomic<bool> m_gate{false};
};

enum class Operation { BmpSequence, Avi, Resave };
enum class ClosePath { VideoWindow, Group, Document, CloseAll, MainWindow, FileExit };
// None: the group is unchanged, so nobody is asked.
enum class Answer { None, No, Cancel };

struct Case {
    Operation operation;
    ClosePath path;
    Answer answer;
};

// Runs action once a visible top-level window has that title, from the event loop.
void WhenWindowShows(const QString& title, std::function<void()> action) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, title, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowTitle() == title) {
                timer->stop();
                timer->deleteLater();
                action();
                return;
            }
        }
    });
    timer->start();
}

QByteArray HashOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

class CloseDuringSaveTest : public GroupFixture, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        GroupFixture::SetUp();
        CProgramResources::Register();
        CSaveController::Install();
        m_group = NewGroup();
        ASSERT_NE(m_group, nullptr);
    }

    void TearDown() override {
        CFrameSource::SetSaveControllerFactory(nullptr);
        // The main window may have gone with its container.
        if (!m_app.m_pMainWnd)
            CTestGroupView::s_container = nullptr;
        GroupFixture::TearDown();
    }

    // The recording, shown in a member window of the group as the group shows a file.
    void AddMember(int gateAt) {
        m_recording = WorkPath("take.raw");
        ASSERT_TRUE(CSampleRecording::Write(m_recording));
        m_source = new GatedSource(gateAt);
        CFrameSourcePtr source(m_source);
        ASSERT_EQ(source->Open(m_recording), 1);
        CDocument* doc = nullptr;
        CView* view = nullptr;
        ASSERT_TRUE(m_group->ParentVideoFrame(QString(), &doc, &view, TRUE));
        ASSERT_TRUE(m_group->AddVideoEntry(source, CMeasurementFormDoc::kFromFile, m_recording));
        auto* video = dynamic_cast<CVidView*>(view);
        ASSERT_NE(video, nullptr);
        video->SetFrameSource(source);
        video->SetGroupMember(CPlaybackView::kVideoMember, 0, CMeasurementFormDoc::kFromFile, 0);
        video->SetGroupDocument(m_group);
        m_videoFrame = view->GetParentFrame();
    }

    void Close(ClosePath path) {
        switch (path) {
            case ClosePath::VideoWindow:
                m_videoFrame->SendMessage(WM_CLOSE);
                break;
            case ClosePath::Group: {
                POSITION pos = m_group->GetFirstViewPosition();
                m_group->GetNextView(pos)->GetParentFrame()->SendMessage(WM_CLOSE);
                break;
            }
            case ClosePath::Document:
                m_group->OnCloseDocument();
                break;
            case ClosePath::CloseAll:
                m_app.CloseAllDocuments(FALSE);
                break;
            case ClosePath::MainWindow:
                m_main->SendMessage(WM_CLOSE);
                break;
            case ClosePath::FileExit:
                m_app.OnCmdMsg(ID_APP_EXIT, CN_COMMAND, nullptr, nullptr);
                break;
        }
    }

    // Saves the member as op says; false when the save did not succeed.
    bool RunOperation(Operation op) {
        const int id = m_group->GetVideoSourceId(0);
        if (op == Operation::Resave) {
            // Asked for, as the synchronized save asks each playback.
            Prompter().AnswerFileDialog({WorkPath("again.bmp")}, 2);
            Prompter().ExpectMessageBox(
                QStringLiteral("Save as sequence ") + WorkPath("again_*.bmp") + "?", IDOK);
            m_group->SaveGroupFromDeviceMemory(0, 0, 0, 0, 1, 0);
            return QFile::exists(WorkPath("again_199.bmp"));
        }
        CSaveVideoParams params;
        m_group->InitSaveRequest(id, CMeasurementFormDoc::kTypeVideo, &params);
        params.m_firstFrame = 0;
        params.m_lastFrame = CSampleRecording::kFrames - 1;
        if (op == Operation::Avi) {
            params.m_outputKind = CSaveVideoParams::kAvi;
            params.m_outputPath = WorkPath("out.avi");
            Prompter().ExpectMessageBox("File save operation cancelled.", IDOK);
        } else {
            params.m_outputKind = CSaveVideoParams::kSequence;
            params.m_imageType = CSaveVideoParams::kBmp;
            params.m_outputStem = WorkPath("out_");
            params.m_outputPath = WorkPath("out.bmp");
        }
        return m_group->SavePlayback(id, CMeasurementFormDoc::kTypeVideo, &params) == TRUE;
    }

    // Frames the save wrote: BMP files, or the frames of the AVI it kept.
    int FramesWritten(Operation op) const {
        if (op == Operation::Avi) {
            CFrameSource part;
            return part.Open(WorkPath("out.avi")) ? part.GetFrameCount() : 0;
        }
        const QString pattern = op == Operation::Resave ? "again_*.bmp" : "out_*.bmp";
        return static_cast<int>(QDir(WorkDir()).entryList({pattern}, QDir::Files).size());
    }

    CMeasurementFormDoc* m_group = nullptr;
    GatedSource* m_source = nullptr;  // held by the group and the member window
    CFrameWnd* m_videoFrame = nullptr;
    QString m_recording;
};

TEST_P(CloseDuringSaveTest, SaveEndsAsCancelledBeforeTheCloseGoesOn) {
    const Case c = GetParam();
    AddMember(c.operation == Operation::Avi ? 5 : -1);
    const QByteArray recordingHash = HashOf(m_recording);
    ASSERT_FALSE(recordingHash.isEmpty());
    if (c.answer != Answer::None)
        m_group->SetModifiedFlag(TRUE);
    const bool asksGroup = c.answer != Answer::None &&
                           (c.path == ClosePath::Group || c.path == ClosePath::MainWindow ||
                            c.path == ClosePath::FileExit);

    POSITION pos = m_group->GetFirstViewPosition();
    const QPointer<QWidget> groupView = m_group->GetNextView(pos)->GetQWidget();
    const QPointer<QWidget> videoWindow = m_videoFrame->GetQWidget();
    bool closed = false;
    std::size_t promptsAtClose = 0;
    GatedSource* source = m_source;
    WhenWindowShows("Saving in Progress", [&, source] {
        ASSERT_TRUE(CRunningOperation::IsRunning(m_group)) << "the save registered with it";
        promptsAtClose = Prompter().Prompts().size();
        Close(c.path);
        closed = true;
        source->OpenGate();
    });
    const bool saved = RunOperation(c.operation);

    // The save ended as cancelled, with nothing it used gone and nothing asked meanwhile but
    // what its own Cancel asks.
    ASSERT_TRUE(closed);
    EXPECT_FALSE(saved);
    EXPECT_LT(FramesWritten(c.operation), CSampleRecording::kFrames);
    EXPECT_FALSE(CRunningOperation::IsRunning(m_group));
    EXPECT_FALSE(groupView.isNull());
    EXPECT_FALSE(videoWindow.isNull());
    EXPECT_EQ(Prompter().Prompts().size(),
              promptsAtClose + (c.operation == Operation::Avi ? 1u : 0u));

    // Then the close goes on with its own questions.
    if (asksGroup)
        Prompter().ExpectMessageBox(QStringLiteral("Save changes to %1?").arg(m_group->GetTitle()),
                                    c.answer == Answer::No ? IDNO : IDCANCEL);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();

    const bool kept = c.answer == Answer::Cancel && asksGroup;
    EXPECT_EQ(videoWindow.isNull(), !kept);
    EXPECT_EQ(groupView.isNull(), !kept && c.path != ClosePath::VideoWindow);
    const bool mainGoes =
        !kept && (c.path == ClosePath::MainWindow || c.path == ClosePath::FileExit);
    EXPECT_EQ(m_app.m_pMainWnd == nullptr, mainGoes);
    EXPECT_EQ(HashOf(m_recording), recordingHash) << "the recording is never written";
    if (kept) {
        // The program still answers: the group saves its member again, to the end.
        const int id = m_group->GetVideoSourceId(0);
        CSaveVideoParams params;
        m_group->InitSaveRequest(id, CMeasurementFormDoc::kTypeVideo, &params);
        params.m_outputKind = CSaveVideoParams::kSequence;
        params.m_imageType = CSaveVideoParams::kBmp;
        params.m_outputStem = WorkPath("later_");
        params.m_outputPath = WorkPath("later.bmp");
        params.m_firstFrame = 0;
        params.m_lastFrame = 1;
        EXPECT_TRUE(m_group->SavePlayback(id, CMeasurementFormDoc::kTypeVideo, &params));
    }
    if (!groupView.isNull())
        m_group->SetModifiedFlag(FALSE);
}

std::vector<Case> AllCases() {
    std::vector<Case> cases;
    for (Operation op : {Operation::BmpSequence, Operation::Avi, Operation::Resave}) {
        for (ClosePath path : {ClosePath::VideoWindow, ClosePath::Document, ClosePath::CloseAll})
            cases.push_back({op, path, Answer::None});
        for (ClosePath path : {ClosePath::Group, ClosePath::MainWindow, ClosePath::FileExit})
            for (Answer answer : {Answer::None, Answer::No, Answer::Cancel})
                cases.push_back({op, path, answer});
    }
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    static const char* const operations[] = {"BmpSequence", "Avi", "Resave"};
    static const char* const paths[] = {"VideoWindow", "Group",      "Document",
                                        "CloseAll",    "MainWindow", "FileExit"};
    static const char* const answers[] = {"Unchanged", "No", "Cancel"};
    return std::string(operations[static_cast<int>(info.param.operation)]) +
           paths[static_cast<int>(info.param.path)] + answers[static_cast<int>(info.param.answer)];
}

INSTANTIATE_TEST_SUITE_P(EveryOperationEveryCloseEveryAnswer, CloseDuringSaveTest,
                         ::testing::ValuesIn(AllCases()), CaseName);

}  // namespace
