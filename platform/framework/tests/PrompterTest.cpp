#include "platform/framework/ColorDialog.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FileFilter.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/RecordingPrompter.h"
#include "platform/framework/Wnd.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <string>
#include <vector>

namespace {

class PrompterTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        AfxSetAppTitle("Vidra Player");
    }
    void TearDown() override {
        AfxSetAppTitle(QString());
        IsolatedTest::TearDown();
    }
};

TEST_F(PrompterTest, ScriptedYesNoQuestionIsAnsweredAndRecordedExactly) {
    Prompter().ExpectMessageBox("Delete all annotations?", IDNO);
    Prompter().ExpectMessageBox("Delete all annotations?", IDYES);
    EXPECT_EQ(AfxMessageBox("Delete all annotations?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(AfxMessageBox("Delete all annotations?", MB_YESNO | MB_ICONQUESTION), IDYES);

    ASSERT_EQ(Prompter().Prompts().size(), 2u);
    const RecordedPrompt& p = Prompter().Prompts()[0];
    EXPECT_EQ(p.kind, PromptKind::MessageBox);
    EXPECT_EQ(p.text, "Delete all annotations?");
    EXPECT_EQ(p.caption, "Vidra Player");
    EXPECT_EQ(p.type & MB_TYPEMASK, MB_YESNO);
    EXPECT_EQ(p.type & MB_ICONMASK, MB_ICONQUESTION);
}

struct CaptionCase {
    const char* name;
    QString caption;
    const char* expected;
};

class CaptionTest : public PrompterTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(CaptionTest, WindowMessageBoxCaptionDefaultsToTheProgramTitle) {
    CWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "w", 0, CRect(0, 0, 10, 10), nullptr, 0));
    Prompter().ExpectMessageBox("File may be corrupted.", IDOK);
    EXPECT_EQ(wnd.MessageBox("File may be corrupted.", GetParam().caption, MB_ICONEXCLAMATION),
              IDOK);
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, GetParam().expected);
    EXPECT_EQ(Prompter().Prompts()[0].type, MB_OK | MB_ICONEXCLAMATION);
}

INSTANTIATE_TEST_SUITE_P(Captions, CaptionTest,
                         ::testing::Values(CaptionCase{"None", QString(), "Vidra Player"},
                                           CaptionCase{"Own", "Read Error", "Read Error"},
                                           CaptionCase{"Empty", QString(""), ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PrompterTest, UnexpectedPromptFailsTheTestWithItsTextAndGetsTheDefaultButton) {
    static int answer = 0;
    EXPECT_NONFATAL_FAILURE(
        answer = AfxMessageBox("Insufficient Disk Space.", MB_YESNO | MB_DEFBUTTON2),
        "Insufficient Disk Space.");
    EXPECT_EQ(answer, IDNO);
    EXPECT_NONFATAL_FAILURE(AfxBrowseForFolder("Select a Folder"), "Select a Folder");
}

TEST_F(PrompterTest, ScriptMismatchesFailTheTest) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompter prompter;
            prompter.ExpectMessageBox("Delete selected annotation?", IDYES);
            AfxMessageBox("Delete all annotations?", MB_YESNO);
        },
        "Delete all annotations?");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompter prompter;
            prompter.AnswerFileDialog({"/tmp/x.ant"});
            AfxMessageBox("Invalid frame entered.");
        },
        "Invalid frame entered.");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompter prompter;
            prompter.ExpectMessageBox("Never asked", IDOK);
        },
        "Never asked");
}

TEST_F(PrompterTest, ChildProcessPromptsAreReadBackFromItsLog) {
    const QString log = WorkPath("prompts.log");
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kPromptLogVariable, log);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(WorkDir());
    child.start(PROMPT_CHILD_PATH, {});
    ASSERT_TRUE(child.waitForFinished(60000)) << child.errorString().toStdString();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), IDYES);  // the default button
    EXPECT_EQ(QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed(), "notes.ant");

    const std::vector<RecordedPrompt> prompts = CRecordingPrompter::ReadLog(log);
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[0].kind, PromptKind::MessageBox);
    EXPECT_EQ(prompts[0].text, "Erase device memory?");
    EXPECT_EQ(prompts[0].caption, "Vidra Player");
    EXPECT_EQ(prompts[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(prompts[1].kind, PromptKind::FileSave);
    EXPECT_EQ(prompts[1].text, "Save Annotations");
    EXPECT_EQ(prompts[1].detail, "Annotation Files (*.ant)|*.ant||");
    EXPECT_EQ(prompts[1].type, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
}

struct DefaultButtonCase {
    UINT type;
    int answer;
};

class DefaultButtonTest : public ::testing::TestWithParam<DefaultButtonCase> {};

TEST_P(DefaultButtonTest, DefaultButtonGivesItsAnswer) {
    EXPECT_EQ(MessageBoxDefaultAnswer(GetParam().type), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Types, DefaultButtonTest,
    ::testing::Values(DefaultButtonCase{MB_OK | MB_ICONSTOP, IDOK},
                      DefaultButtonCase{MB_OKCANCEL, IDOK}, DefaultButtonCase{MB_YESNO, IDYES},
                      DefaultButtonCase{MB_YESNO | MB_DEFBUTTON2, IDNO},
                      DefaultButtonCase{MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
                      // A default beyond the buttons falls back to the
                      // first.
                      DefaultButtonCase{MB_OKCANCEL | MB_DEFBUTTON3, IDOK}));

struct DefaultExtCase {
    const char* name;
    const char* defaultExt;
    const char* chosen;
    const char* expected;
};

class FileDialogTest : public PrompterTest, public ::testing::WithParamInterface<DefaultExtCase> {};

TEST_P(FileDialogTest, NameWithoutExtensionGetsTheDefaultOne) {
    const DefaultExtCase& c = GetParam();
    Prompter().AnswerFileDialog({c.chosen}, 1);
    CFileDialog dialog(FALSE, c.defaultExt, "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Play Group Files (*.playgrp)|*.playgrp||");
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetPathName(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileDialogTest,
    ::testing::Values(DefaultExtCase{"Appended", "playgrp", "/d/group", "/d/group.playgrp"},
                      DefaultExtCase{"LeadingDotIgnored", ".playgrp", "/d/g", "/d/g.playgrp"},
                      DefaultExtCase{"UpperCaseKept", "playgrp", "/d/G.PLAYGRP", "/d/G.PLAYGRP"},
                      DefaultExtCase{"OtherExtensionKept", "playgrp", "/d/g.txt", "/d/g.txt"},
                      DefaultExtCase{"DotInFolderOnly", "ant", "/d.v1/notes", "/d.v1/notes.ant"},
                      DefaultExtCase{"BackslashFolder", "ant", "C:\\d.v1\\notes",
                                     "C:\\d.v1\\notes.ant"},
                      DefaultExtCase{"NoDefault", "", "/d/notes", "/d/notes"}),
    [](const auto& info) { return std::string(info.param.name); });

// Refuses the first name it is given, as a dialog that checks its target does.
class CPickyFileDialog : public CFileDialog {
public:
    using CFileDialog::CFileDialog;
    int m_checks = 0;

protected:
    BOOL OnFileNameOK() override { return ++m_checks == 1; }
};

TEST_F(PrompterTest, FileDialogAsksAgainWhenTheNameIsRefusedAndCancelLeavesNoName) {
    Prompter().AnswerFileDialog({"/d/in-use.avi"});
    Prompter().AnswerFileDialog({"/d/free.avi"}, 2);
    CPickyFileDialog dialog(FALSE, "avi", "first.avi", OFN_OVERWRITEPROMPT,
                            "AVI Files (*.avi)|*.avi|All Files (*.*)|*.*||");
    dialog.m_ofn.lpstrTitle = "Save Video";
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetPathName(), "/d/free.avi");
    EXPECT_EQ(dialog.GetFileTitle(), "free");
    EXPECT_EQ(dialog.GetFileExt(), "avi");
    EXPECT_EQ(dialog.m_ofn.nFilterIndex, 2);
    ASSERT_EQ(Prompter().FilePrompts().size(), 2u);
    EXPECT_EQ(Prompter().FilePrompts()[0].fileName, "first.avi");
    EXPECT_EQ(Prompter().FilePrompts()[1].fileName, "in-use.avi");
    EXPECT_FALSE(Prompter().FilePrompts()[0].open);
    EXPECT_EQ(Prompter().Prompts()[0].text, "Save Video");

    Prompter().AnswerFileDialog({});
    CFileDialog open(TRUE, "ant", "", OFN_HIDEREADONLY, "Annotation Files (*.ant)|*.ant||");
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_EQ(open.GetPathName(), "");
}

TEST(FileFilterTest, FrameworkFilterStringsBecomeEntriesAndQtFilters) {
    const CFileFilter filter(
        "Recognized File Types (*.avi;*.raw)|*.avi;*.raw|AVI Files (*.avi)|*.avi| (*.mdat)|"
        "*.mdat| All Files (*.*)|*.*||");
    ASSERT_EQ(filter.Entries().size(), 4u);
    EXPECT_EQ(filter.Entries()[0].patterns, (QStringList{"*.avi", "*.raw"}));
    EXPECT_EQ(filter.QtNameFilters(),
              (QStringList{"Recognized File Types (*.avi *.raw)", "AVI Files (*.avi)",
                           "*.mdat (*.mdat)", "All Files (*.*)"}));

    struct Case {
        const char* path;
        int index;
        bool matches;
    };
    for (const Case& c : {Case{"C:\\Video\\RUN1.AVI", 1, true}, Case{"/v/run.Raw", 1, true},
                          Case{"/v/run.raw", 2, false}, Case{"/v.avi/run.raw", 2, false},
                          Case{"/v/x.MDAT", 0, true}, Case{"/v/noext", 4, true},
                          Case{"/v/noext", 0, true}, Case{"/v/noext", 3, false}}) {
        EXPECT_EQ(filter.Matches(c.path, c.index), c.matches) << c.path << " @" << c.index;
    }
    EXPECT_TRUE(CFileFilter("").Entries().empty());
    EXPECT_EQ(CFileFilter("Text|*.txt").Entries().size(), 1u);
}

TEST_F(PrompterTest, ColourChooserKeepsTheColourWhenCancelled) {
    Prompter().AnswerColor(RGB(1, 2, 3));
    Prompter().AnswerColor(std::nullopt);
    CColorDialog chooser(RGB(255, 0, 0));
    EXPECT_EQ(chooser.DoModal(), IDOK);
    EXPECT_EQ(chooser.GetColor(), RGB(1, 2, 3));
    CColorDialog cancelled(RGB(9, 8, 7));
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetColor(), RGB(9, 8, 7));
    EXPECT_EQ(Prompter().Prompts()[0].detail, "0x0000ff");
}

TEST_F(PrompterTest, FolderBrowserGivesTheFolderOrNothing) {
    Prompter().AnswerFolder(QString("/data/videos"));
    Prompter().AnswerFolder(std::nullopt);
    EXPECT_EQ(AfxBrowseForFolder("Select a Folder"), "/data/videos");
    EXPECT_EQ(AfxBrowseForFolder("Select a Folder"), "");
    EXPECT_EQ(Prompter().Prompts()[1].kind, PromptKind::Folder);
    EXPECT_EQ(Prompter().Prompts()[1].text, "Select a Folder");
}

}  // namespace
