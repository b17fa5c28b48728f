#include "platform/framework/Document.h"
#include "platform/framework/MDIFrameWnd.h"
#include "platform/framework/MultiDocTemplate.h"
#include "shell/DlgOptionsBase.h"
#include "shell/InstanceChannel.h"
#include "shell/PlaceholderDoc.h"
#include "shell/PlaceholderFrame.h"
#include "shell/PlaceholderView.h"
#include "shell/VidraApp.h"
#include "testsupport/IsolatedTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>

#include <atomic>
#include <thread>

namespace {

class VidraAppTest : public IsolatedTest {
protected:
    // Start-up points the option files at this test's working folder, which is deleted
    // afterwards: later tests in the same process must not save there.
    void TearDown() override {
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }

    CMultiDocTemplate* AddPlaceholder(const QString& key) {
        auto* docTemplate = new CMultiDocTemplate(129, RUNTIME_CLASS(CPlaceholderDoc),
                                                  RUNTIME_CLASS(CPlaceholderFrame),
                                                  RUNTIME_CLASS(CPlaceholderView));
        m_app.AddDocTemplateWithKey(key, docTemplate);
        return docTemplate;
    }

    CVidraApp m_app{QStringLiteral("Vidra Player")};
};

TEST_F(VidraAppTest, SecondLockInTheSameRuntimeFolderFails) {
    ASSERT_TRUE(m_app.InitInstance());
    QLockFile other(CVidraApp::LockFilePath());
    EXPECT_FALSE(other.tryLock(0));
    m_app.ExitInstance();
    EXPECT_TRUE(other.tryLock(0));
}

TEST_F(VidraAppTest, RefusedStartShowsTheMessageAndExitsNonZero) {
    QLockFile held(CVidraApp::LockFilePath());
    ASSERT_TRUE(held.tryLock(0));
    Prompter().ExpectMessageBox(
        QStringLiteral("Another instance of this application was detected. Shutting Down."), IDOK);
    EXPECT_FALSE(m_app.InitInstance());
    EXPECT_NE(m_app.ExitInstance(), 0);
    EXPECT_TRUE(held.isLocked());
}

// A second start with files hands their absolute paths to the running copy and ends quietly;
// when nobody takes them it says another copy runs, as a start without files does.
TEST_F(VidraAppTest, SecondStartHandsItsFilesToTheRunningCopy) {
    QLockFile held(CVidraApp::LockFilePath());
    ASSERT_TRUE(held.tryLock(0));
    QStringList handed;
    CInstanceChannel running;
    ASSERT_TRUE(running.Listen(CVidraApp::ChannelName(),
                               [&handed](const QStringList& files) { handed += files; }));
    m_app.SetArguments({"one.avi", "/Automation", "sub dir/two.avi"});
    // The sender blocks until its bytes are out; the receiver runs on this thread's loop.
    EXPECT_FALSE(m_app.InitInstance());
    QElapsedTimer wait;
    wait.start();
    while (handed.size() < 2 && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(handed, QStringList({QFileInfo("one.avi").absoluteFilePath(),
                                   QFileInfo("sub dir/two.avi").absoluteFilePath()}));
    EXPECT_TRUE(Prompter().Prompts().empty());
    EXPECT_EQ(m_app.ExitInstance(), 0);
}

TEST_F(VidraAppTest, SecondStartWithFilesNobodyTakesSaysAnotherCopyRuns) {
    QLockFile held(CVidraApp::LockFilePath());
    ASSERT_TRUE(held.tryLock(0));
    m_app.SetArguments({"one.avi"});
    Prompter().ExpectMessageBox(
        QStringLiteral("Another instance of this application was detected. Shutting Down."), IDOK);
    EXPECT_FALSE(m_app.InitInstance());
    EXPECT_NE(m_app.ExitInstance(), 0);
}

// The running copy opens what a second start hands over, every file in order.
class CRecordingApp : public CVidraApp {
public:
    QStringList opened;
    CDocument* OpenDocumentFile(const QString& fileName) override {
        opened.append(fileName);
        return nullptr;
    }
};

class HandedFilesTest : public IsolatedTest {
protected:
    void TearDown() override {
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }
    CRecordingApp app;
};

TEST_F(HandedFilesTest, RunningCopyOpensTheHandedFiles) {
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(CInstanceChannel::Send(CVidraApp::ChannelName(), {"/a/x.avi", "/b/y z.mpqsf"}));
    QElapsedTimer wait;
    wait.start();
    while (app.opened.size() < 2 && wait.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(app.opened, QStringList({"/a/x.avi", "/b/y z.mpqsf"}));
    app.ExitInstance();
}

// A message longer than any command line hands nothing over, read to its end; one at the
// bound still hands its path.
TEST(InstanceChannelTest, AMessageBeyondTheBoundHandsNothingOver) {
    const QString name =
        QStringLiteral("rm-channel-test-%1").arg(QCoreApplication::applicationPid());
    QStringList handed;
    int messages = 0;
    CInstanceChannel running;
    ASSERT_TRUE(running.Listen(name, [&](const QStringList& files) {
        handed = files;
        ++messages;
    }));
    struct Case {
        qsizetype pathBytes;  // the message adds the NUL that ends the path
        bool handedOver;
    };
    const Case cases[] = {{CInstanceChannel::kMaxMessageBytes - 1, true},
                          {CInstanceChannel::kMaxMessageBytes, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pathBytes);
        handed.clear();
        const QString path = QLatin1Char('/') + QString(c.pathBytes - 1, QLatin1Char('x'));
        // The sender blocks while its bytes go out: it runs beside this thread's loop.
        std::atomic<bool> sent{false};
        std::thread sender([&] {
            CInstanceChannel::Send(name, {path}, 20000);
            sent = true;
        });
        QElapsedTimer wait;
        wait.start();
        while (!sent && wait.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        sender.join();
        // Then, once the running copy has seen the sender go, it has handed the path or not.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
        while (c.handedOver && handed.isEmpty() && wait.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(handed, c.handedOver ? QStringList{path} : QStringList());
    }
    EXPECT_EQ(messages, 1);
}

TEST_F(VidraAppTest, FoldersEndWithASeparatorAndKeepTheWholeCurrentPath) {
    const QString deep =
        WorkDir() + "/" + QString(120, 'a') + "/" + QString(120, 'b') + "/" + QString(120, 'c');
    ASSERT_TRUE(QDir().mkpath(deep));
    ASSERT_TRUE(QDir::setCurrent(deep));
    ASSERT_TRUE(m_app.InitInstance());
    EXPECT_EQ(m_app.GetCurrentFolder(), QDir::currentPath() + "/");
    EXPECT_GT(m_app.GetCurrentFolder().size(), 300);
    EXPECT_TRUE(m_app.GetProgramFolder().endsWith('/'));
    m_app.ExitInstance();
}

TEST_F(VidraAppTest, CreateByKeyFindsTheTemplateOfTheSameIndex) {
    AddPlaceholder("DT:Orig");
    CMultiDocTemplate* vid = AddPlaceholder("DT:Vid");
    auto* mainFrame = new CMDIFrameWnd;
    ASSERT_TRUE(mainFrame->LoadFrame(128));
    m_app.m_pMainWnd = mainFrame;
    EXPECT_EQ(m_app.KeyOfTemplate(vid), "DT:Vid");

    // A placeholder never opens: it says so and leaves nothing behind.
    Prompter().ExpectMessageBox(CPlaceholderDoc::NotAvailableText("DT:Vid"), IDOK);
    EXPECT_EQ(m_app.CreateDocumentByKey("DT:Vid", QString(), TRUE, 1, 2, 3, 4), nullptr);
    EXPECT_EQ(m_app.GetOpenDocumentCount(), 0);
    EXPECT_EQ(Prompter().Prompts().size(), 1u);

    DWORD p[4] = {9, 9, 9, 9};
    EXPECT_TRUE(m_app.GetPendingCreateParams(&p[0], &p[1], nullptr, &p[3]));
    EXPECT_EQ(p[0], 1u);
    EXPECT_EQ(p[1], 2u);
    EXPECT_EQ(p[2], 9u);
    EXPECT_EQ(p[3], 4u);
    mainFrame->DestroyWindow();
}

TEST_F(VidraAppTest, UnknownKeyCreatesNothingButKeepsTheParameters) {
    AddPlaceholder("DT:Vid");
    for (const char* key : {"DT:vid", "DT:Gen", "", "DT:Vid "}) {
        EXPECT_EQ(m_app.CreateDocumentByKey(key, QString(), TRUE, 7, 0, 0, 5), nullptr) << key;
    }
    EXPECT_TRUE(Prompter().Prompts().empty());
    DWORD first = 0;
    DWORD last = 0;
    m_app.GetPendingCreateParams(&first, nullptr, nullptr, &last);
    EXPECT_EQ(first, 7u);
    EXPECT_EQ(last, 5u);
}

TEST_F(VidraAppTest, CreationOptionsOutsideTheRangeLeaveTheValueAlone) {
    const struct {
        int index;
        BOOL ok;
        int value;
    } cases[] = {{-1, FALSE, 42}, {0, TRUE, 0}, {1, TRUE, 1}, {5, TRUE, 0}, {6, FALSE, 42}};
    for (const auto& c : cases) {
        int value = 42;
        EXPECT_EQ(m_app.GetCreateOption(c.index, &value), c.ok) << c.index;
        EXPECT_EQ(value, c.value) << c.index;
    }
}

}  // namespace
