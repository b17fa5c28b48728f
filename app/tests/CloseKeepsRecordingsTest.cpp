// Every kind of file the program opens, closed by every way the user has, with every answer to
// the save question: the recordings stay byte for byte as they were, and only a play-group file
// is ever written, under a name the user gave when the group had none.

#include "app/SpanrecApp.h"
#include "app/SplashWnd.h"
#include "groups/GeneralDoc.h"
#include "groups/MeasurementFormDoc.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/RecentFileList.h"
#include "platform/framework/View.h"
#include "platform/media/tests/TestAviWriter.h"
#include "shell/VidraFrameWnd.h"
#include "testsupport/IsolatedTest.h"
#include "testsupport/UpdateCheckOff.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <map>

namespace {

enum class Kind { Raw, AviBgr24, AviMjpeg, AviFfv1, PlayGroup };
enum class ClosePath { MainWindow, FileExit, ProjectClose, GroupClose, CloseAll };
// None: the user changed nothing, so nobody may be asked.
enum class Answer { None, Yes, No, Cancel };

struct Case {
    Kind kind;
    ClosePath path;
    Answer answer;
};

// Two frames of 8 x 4 grey pixels behind the camera's 72-byte header.
bool WriteRaw(const QString& path, char level) {
    QByteArray bytes(72, '\0');
    const auto put = [&bytes](int at, int32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    };
    bytes.replace(0, 4, "OP05");
    put(8, 2);
    put(12, 8);
    put(16, 4);
    put(24, 72);
    put(28, 8);
    put(68, 100);
    bytes.append(QByteArray(2 * 8 * 4, level));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct FileState {
    QByteArray hash;
    QDateTime modified;
    bool operator==(const FileState&) const = default;
};

// Every file of the folder with its content hash and modification time.
std::map<QString, FileState> Snapshot(const QString& folder) {
    std::map<QString, FileState> files;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files)) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        files[info.fileName()] = {
            QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256),
            info.lastModified()};
    }
    return files;
}

class CloseKeepsRecordingsTest : public IsolatedTest, public ::testing::WithParamInterface<Case> {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        TurnStartupUpdateCheckOff();
        m_hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        m_oldDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", WorkPath("xdg").toUtf8());
        m_folder = WorkPath("takes");
        ASSERT_TRUE(QDir().mkpath(m_folder));
    }

    void TearDown() override {
        if (m_app.m_pMainWnd)
            m_app.m_pMainWnd->DestroyWindow();
        m_app.ExitInstance();
        if (m_hadDataHome)
            qputenv("XDG_DATA_HOME", m_oldDataHome);
        else
            qunsetenv("XDG_DATA_HOME");
        IsolatedTest::TearDown();
    }

    // The file the user opens, with the recordings it needs beside it.
    QString WriteOpened(Kind kind) {
        const auto avi = [this](const char* name, TestAviKind codec) {
            const QString path = m_folder + "/" + name;
            EXPECT_TRUE(WriteTestAvi(path, {codec, 32, 24, 4, 0}));
            return path;
        };
        switch (kind) {
            case Kind::Raw: {
                const QString path = m_folder + "/take.raw";
                EXPECT_TRUE(WriteRaw(path, '\x40'));
                return path;
            }
            case Kind::AviBgr24:
                return avi("take.avi", TestAviKind::RawBgr24);
            case Kind::AviMjpeg:
                return avi("take.avi", TestAviKind::Mjpeg);
            case Kind::AviFfv1:
                return avi("take.avi", TestAviKind::Ffv1);
            case Kind::PlayGroup: {
                EXPECT_TRUE(WriteRaw(m_folder + "/take.raw", '\x40'));
                const QString path = m_folder + "/take.playgrp";
                QFile file(path);
                EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write("take.raw\n") == 9);
                return path;
            }
        }
        return {};
    }

    static void Pump() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    void Close(ClosePath path, CGeneralDoc* project, CFrameWnd* groupFrame) {
        switch (path) {
            case ClosePath::MainWindow:
                m_app.m_pMainWnd->SendMessage(WM_CLOSE);
                break;
            case ClosePath::FileExit:
                m_app.OnCmdMsg(ID_APP_EXIT, CN_COMMAND, nullptr, nullptr);
                break;
            case ClosePath::ProjectClose: {
                POSITION pos = project->GetFirstViewPosition();
                project->GetNextView(pos)->GetParentFrame()->SendMessage(WM_CLOSE);
                break;
            }
            case ClosePath::GroupClose:
                groupFrame->SendMessage(WM_CLOSE);
                break;
            case ClosePath::CloseAll:
                m_app.m_pMainWnd->SendMessage(WM_COMMAND, ID_WINDOW_CLOSE_ALL, 0);
                break;
        }
        Pump();
    }

    CSpanrecApp m_app;
    QString m_folder;
    bool m_hadDataHome = false;
    QByteArray m_oldDataHome;
};

TEST_P(CloseKeepsRecordingsTest, RecordingsStayAndOnlyAGroupFileIsWritten) {
    const Case c = GetParam();
    ASSERT_TRUE(m_app.InitInstance());
    // The splash goes with its first key press; these closes come later.
    if (CSplashWnd* splash = CSplashWnd::Current())
        splash->HideSplashScreen();
    const QString opened = WriteOpened(c.kind);
    const bool titled = c.kind == Kind::PlayGroup;
    // A second recording the user adds to the group, when the case has a change.
    const QString added = m_folder + "/second.raw";
    ASSERT_TRUE(WriteRaw(added, '\x80'));
    const auto before = Snapshot(m_folder);

    auto* project = dynamic_cast<CGeneralDoc*>(m_app.OpenDocumentFile(opened));
    ASSERT_NE(project, nullptr);
    Pump();
    CView* groupView = project->FindPlayGroupView();
    ASSERT_NE(groupView, nullptr);
    auto* group = dynamic_cast<CMeasurementFormDoc*>(groupView->GetDocument());
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->GetVideoCount(), 1);
    EXPECT_FALSE(group->IsModified()) << "opening is no change";
    EXPECT_EQ(group->GetPathName(), titled ? QFileInfo(opened).absoluteFilePath() : QString());
    EXPECT_EQ(project->GetPathName(), titled ? QFileInfo(opened).absoluteFilePath() : QString());

    const QString saved = m_folder + "/chosen.playgrp";
    if (c.answer != Answer::None) {
        ASSERT_TRUE(group->AddPlaybackFromFile(added, 0, 1, nullptr, nullptr));
        Pump();
        ASSERT_TRUE(group->IsModified());
        const int answer = c.answer == Answer::Yes  ? IDYES
                           : c.answer == Answer::No ? IDNO
                                                    : IDCANCEL;
        Prompter().ExpectMessageBox(QStringLiteral("Save changes to %1?").arg(group->GetTitle()),
                                    answer);
        if (c.answer == Answer::Yes && !titled)
            Prompter().AnswerFileDialog({saved});
    }
    CFrameWnd* groupFrame = groupView->GetParentFrame();
    Close(c.path, project, groupFrame);

    // The question came once (the prompter fails on any other), and a name was asked only for
    // an untitled group, with the play-group filter.
    const auto& files = Prompter().FilePrompts();
    if (c.answer == Answer::Yes && !titled) {
        ASSERT_EQ(files.size(), 1u);
        EXPECT_FALSE(files[0].open);
        EXPECT_EQ(files[0].filter, "Play Group Files (*.playgrp)|*.playgrp||");
    } else {
        EXPECT_TRUE(files.empty());
    }

    auto after = Snapshot(m_folder);
    if (c.answer == Answer::Yes) {
        const QString written =
            titled ? QStringLiteral("take.playgrp") : QStringLiteral("chosen.playgrp");
        ASSERT_EQ(after.count(written), 1u);
        QFile file(m_folder + "/" + written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("take") +
                                      (c.kind == Kind::Raw || titled ? ".raw" : ".avi") +
                                      "\nsecond.raw\n");
        after.erase(written);
        if (titled)
            after[written] = before.at(written);
    }
    EXPECT_TRUE(after == before) << "no recording changed and no other file appeared";
}

std::vector<Case> AllCases() {
    std::vector<Case> cases;
    for (Kind kind : {Kind::Raw, Kind::AviBgr24, Kind::AviMjpeg, Kind::AviFfv1, Kind::PlayGroup})
        for (ClosePath path : {ClosePath::MainWindow, ClosePath::FileExit, ClosePath::ProjectClose,
                               ClosePath::GroupClose, ClosePath::CloseAll})
            for (Answer answer : {Answer::None, Answer::Yes, Answer::No, Answer::Cancel})
                cases.push_back({kind, path, answer});
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    static const char* const kinds[] = {"Raw", "AviBgr24", "AviMjpeg", "AviFfv1", "PlayGroup"};
    static const char* const paths[] = {"MainWindow", "FileExit", "ProjectClose", "GroupClose",
                                        "CloseAll"};
    static const char* const answers[] = {"Unchanged", "Yes", "No", "Cancel"};
    return std::string(kinds[static_cast<int>(info.param.kind)]) +
           paths[static_cast<int>(info.param.path)] + answers[static_cast<int>(info.param.answer)];
}

INSTANTIATE_TEST_SUITE_P(EveryFileEveryCloseEveryAnswer, CloseKeepsRecordingsTest,
                         ::testing::ValuesIn(AllCases()), CaseName);

}  // namespace
