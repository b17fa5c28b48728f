#include "devices/ConvertWizardSheet.h"
#include "platform/framework/WinApp.h"
#include "platform/media/OpenFileRegistry.h"
#include "resources/ProgramResources.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "testsupport/IsolatedTest.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

// The conversion wizard: its checks, the play-group file it writes beside or away from the
// video and data files, and its failures.

namespace {

// The application: it records the files it is asked to open.
class RecordingApp : public CWinApp {
public:
    RecordingApp() : CWinApp("convert") {}
    CDocument* OpenDocumentFile(const QString& fileName) override {
        opened << fileName;
        return nullptr;
    }
    QStringList opened;
};

class ConvertWizardTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CDlgOptionsBase::SetApplicationFolder(WorkDir());
        m_main = new CMainFrame;
        ASSERT_TRUE(m_main->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        m_app.m_pMainWnd = m_main;
    }
    void TearDown() override {
        m_main->DestroyWindow();
        CDlgOptionsBase::SetApplicationFolder(QString());
        IsolatedTest::TearDown();
    }
    static void Touch(const QString& path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write("x");
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    RecordingApp m_app;
    CMainFrame* m_main = nullptr;
};

TEST_F(ConvertWizardTest, FinishNeedsBothFilesAndEndsWithTheNewPlayGroup) {
    CConvertWizardSheet sheet(m_main);
    ASSERT_TRUE(sheet.Create(IDD_WIZARD_SHEET, m_main));
    sheet.ShowWindow(SW_SHOW);
    CConvertFilesPage& page = sheet.GetFilesPage();
    ASSERT_EQ(sheet.GetCurrentPage(), &page);
    EXPECT_TRUE(page.GetDlgItemText(CConvertFilesPage::kDescription)
                    .startsWith("This wizard loads Vidra 2.0 video and data files and creates a "
                                "playgrp file.\r\n\r\n"));
    EXPECT_TRUE(sheet.GetDlgItem(CWizardSheet::kFinish)->IsWindowEnabled());

    Prompter().ExpectMessageBox("No source file has been selected.  Please select a source file.",
                                IDOK);
    sheet.OnOK();
    EXPECT_EQ(Prompter().Prompts().back().caption, "Vidra Player");
    EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONINFORMATION));

    const QString video = WorkPath("run.avi");
    Touch(video);
    Prompter().AnswerFileDialog({video});
    qobject_cast<QAbstractButton*>(page.GetDlgItem(CConvertFilesPage::kBrowseSource)->GetQWidget())
        ->click();
    const FileDialogPrompt& source = Prompter().FilePrompts().back();
    EXPECT_TRUE(source.open);
    EXPECT_EQ(source.title, "Select Video to Load (will also load data if present)");
    EXPECT_EQ(source.filter, "Video Files (*.avi)|*.avi||");
    EXPECT_EQ(page.GetDlgItemText(CConvertFilesPage::kSource), video);
    Prompter().ExpectMessageBox(
        "No destination file has been selected.  Please select a destination file.", IDOK);
    sheet.OnOK();
    EXPECT_TRUE(sheet.IsWindowVisible());

    const QString group = WorkPath("run.playgrp");
    Prompter().AnswerFileDialog({group});
    qobject_cast<QAbstractButton*>(
        page.GetDlgItem(CConvertFilesPage::kBrowseDestination)->GetQWidget())
        ->click();
    EXPECT_FALSE(Prompter().FilePrompts().back().open);
    sheet.OnOK();
    EXPECT_FALSE(sheet.IsWindowVisible());
    EXPECT_EQ(Read(group), "run.avi\n");
    EXPECT_EQ(m_app.opened, QStringList{group});
}

TEST_F(ConvertWizardTest, ThePlayGroupListsTheVideoAndItsDataFile) {
    struct Case {
        QStringList files;
        const char* source;
        const char* destination;
        const char* lines;
    };
    const Case cases[] = {
        {{"a/run.avi"}, "a/run.avi", "a/run.playgrp", "run.avi\n"},
        {{"b/run.avi", "b/run.au2"}, "b/run.avi", "b/run.playgrp", "run.avi\nrun.au2\n"},
        // The data file was chosen; the video of its name goes first.
        {{"c/run.avi", "c/run.au2"}, "c/run.au2", "c/run.playgrp", "run.avi\nrun.au2\n"},
        // The recorder's capital extensions.
        {{"d/RUN.AVI", "d/RUN.AU2"}, "d/RUN.AVI", "d/run.playgrp", "RUN.AVI\nRUN.AU2\n"},
        {{"e/RUN.AVI", "e/run.au2"}, "e/RUN.AVI", "e/run.playgrp", "RUN.AVI\nrun.au2\n"},
        {{"f/v/run.avi", "f/v/run.au2"},
         "f/v/run.avi",
         "f/groups/run.playgrp",
         "../v/run.avi\n../v/run.au2\n"},
        // A dot in a folder's name is no extension.
        {{"g.2/run.avi"}, "g.2/run.avi", "g.2/run.playgrp", "run.avi\n"},
    };
    CConvertWizardSheet sheet(m_main);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        for (const QString& file : c.files)
            Touch(WorkPath(file));
        const QString destination = WorkPath(QString::fromLatin1(c.destination));
        QDir().mkpath(QFileInfo(destination).absolutePath());
        EXPECT_EQ(sheet.ConvertToPlayGroup(WorkPath(QString::fromLatin1(c.source)), destination),
                  1);
        EXPECT_EQ(Read(destination), QByteArray(c.lines));
        ASSERT_FALSE(m_app.opened.isEmpty());
        EXPECT_EQ(m_app.opened.back(), destination);
    }
}

TEST_F(ConvertWizardTest, FailuresAreToldAndWriteNothing) {
    Touch(WorkPath("run.avi"));
    Touch(WorkPath("run.au2"));
    struct Case {
        const char* source;
        const char* destination;
        const char* message;
    };
    const Case cases[] = {
        {"run", "a.playgrp", "Unable to open source file for reading."},
        {"other.avi", "a.playgrp", "Unable to open source file for reading."},
        {"run.avi", "missing/a.playgrp", "Unable to open destination file for writing."},
    };
    CConvertWizardSheet sheet(m_main);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        Prompter().ExpectMessageBox(QString::fromLatin1(c.message), IDOK);
        EXPECT_EQ(sheet.ConvertToPlayGroup(WorkPath(QString::fromLatin1(c.source)),
                                           WorkPath(QString::fromLatin1(c.destination))),
                  0);
        EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONSTOP));
        EXPECT_FALSE(QFile::exists(WorkPath(QString::fromLatin1(c.destination))));
    }
    EXPECT_TRUE(m_app.opened.isEmpty());
}

// The destination is what the wizard converts, or a file held open here: refused before
// anything is written, with a message naming it.
TEST_F(ConvertWizardTest, NeverWritesOverItsInputsOrAnOpenFile) {
    const QStringList files{"run.avi", "run.au2", "other.avi", "other.cfg"};
    for (const QString& file : files) {
        QFile out(WorkPath(file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file.toUtf8() + " bytes");
    }
    ASSERT_EQ(::link(QFile::encodeName(WorkPath("run.avi")).constData(),
                     QFile::encodeName(WorkPath("linked.avi")).constData()),
              0);
    // Another recording open in the program; "other.cfg" is its configuration side file.
    COpenFileEntry open(WorkPath("other.avi"));
    const char* destinations[] = {"run.avi", "linked.avi", "run.au2", "other.avi", "other.cfg"};
    CConvertWizardSheet sheet(m_main);
    for (const char* name : destinations) {
        SCOPED_TRACE(name);
        const QString destination = WorkPath(QString::fromLatin1(name));
        Prompter().ExpectMessageBox(
            QStringLiteral("The file %1 is open as a recording or one of its files and cannot "
                           "be written.\nChoose another file name.")
                .arg(destination),
            IDOK);
        EXPECT_EQ(sheet.ConvertToPlayGroup(WorkPath("run.avi"), destination), 0);
        EXPECT_EQ(Prompter().Prompts().back().type, UINT(MB_OK | MB_ICONSTOP));
        for (const QString& file : files)
            EXPECT_EQ(Read(WorkPath(file)), file.toUtf8() + " bytes") << file.toStdString();
    }
    EXPECT_TRUE(m_app.opened.isEmpty());
}

}  // namespace
