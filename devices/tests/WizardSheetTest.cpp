#include "devices/CaptureWizardSheet.h"
#include "devices/ConvertWizardSheet.h"
#include "devices/WizardPage.h"
#include "devices/WizardSheet.h"
#include "platform/framework/Button.h"
#include "platform/framework/WinApp.h"
#include "resources/ProgramResources.h"
#include "shell/DlgOptionsBase.h"
#include "shell/MainFrame.h"
#include "testsupport/IsolatedTest.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

#include <memory>

// The wizard shell: its heading, moving between pages as the pages allow, the buttons as the
// pages set them, and Cancel.

namespace {

// A page whose answers the test sets; it counts what it was asked and told.
class ScriptedPage : public CWizardPage {
public:
    int next = 1;
    int back = 1;
    int cancel = 1;
    // 0 leaves a button to the sheet, 1 enables it, -1 disables it (Next, Back, Finish, Cancel).
    int buttons[4] = {0, 0, 0, 0};
    int asked = 0;
    QStringList told;

    int OnWizardNext() override {
        ++asked;
        return next;
    }
    int OnWizardBack() override {
        ++asked;
        return back;
    }
    int OnWizardCancel() override {
        ++asked;
        return cancel;
    }
    int UpdateNextButton(CWnd* button) override { return Decide(button, 0); }
    int UpdateBackButton(CWnd* button) override { return Decide(button, 1); }
    int UpdateFinishButton(CWnd* button) override { return Decide(button, 2); }
    int UpdateCancelButton(CWnd* button) override { return Decide(button, 3); }
    void OnShowPage(BOOL show) override { told << (show ? "shown" : "hidden"); }

private:
    int Decide(CWnd* button, int i) {
        if (buttons[i] == 0)
            return 0;
        return buttons[i] > 0 ? Enable(button) : Disable(button);
    }
};

class TwoPageSheet : public CWizardSheet {
public:
    using CWizardSheet::CWizardSheet;
    ScriptedPage first;
    ScriptedPage second;

protected:
    BOOL OnInitDialog() override {
        CWizardSheet::OnInitDialog();
        AddPage(&first);
        AddPage(&second);
        ShowOnlyPage(0);
        return TRUE;
    }
};

class WizardSheetTest : public IsolatedTest {
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
    static bool Enabled(CWnd* sheet, int id) { return sheet->GetDlgItem(id)->IsWindowEnabled(); }

    CWinApp m_app{"wizard"};
    CMainFrame* m_main = nullptr;
};

TEST_F(WizardSheetTest, EachWizardWritesItsHeading) {
    CWizardSheet shell(m_main);
    CCaptureWizardSheet capture(m_main);
    CConvertWizardSheet convert(m_main);
    struct Case {
        CWizardSheet* sheet;
        const char* window;
        const char* title;
        const char* description;
    };
    const Case cases[] = {
        {&shell, "Wizard", "Test Title", "This is a test description."},
        {&capture, "Trakora 3-D Capture Wizard", "Capture Wizard for Trakora 3-D",
         "Capture calibration and measurement images for use in Trakora 3-D."},
        {&convert, "Vidra 2.0 Coversion Wizard", "Convert Vidra 2.0 Files to Play Group",
         "Select a Vidra 2.0 video (and associated data file) to convert to a Play Group."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window);
        ASSERT_TRUE(c.sheet->Create(IDD_WIZARD_SHEET, m_main));
        EXPECT_EQ(c.sheet->GetWindowText(), c.window);
        QTextEdit* heading = c.sheet->GetHeading();
        ASSERT_NE(heading, nullptr);
        EXPECT_EQ(c.sheet->GetDlgItem(CWizardSheet::kHeading)->GetQWidget(), heading);
        EXPECT_TRUE(heading->isReadOnly());
        const QString title = QString::fromLatin1(c.title);
        const QString description = QString::fromLatin1(c.description);
        ASSERT_EQ(heading->toPlainText(), "\n  " + title + "\n\n\t" + description + "\n");
        // The format of the character before each position.
        const auto format = [&](int position) {
            QTextCursor cursor(heading->document());
            cursor.setPosition(position);
            return cursor.charFormat();
        };
        const int titleEnd = 1 + 2 + static_cast<int>(title.size());
        for (int position : {3, titleEnd}) {
            EXPECT_EQ(format(position).fontPointSize(), 15.0) << position;
            EXPECT_EQ(format(position).fontWeight(), QFont::Bold) << position;
            EXPECT_EQ(format(position).fontFamilies().toStringList(), QStringList{"Arial"});
        }
        const int descriptionEnd = titleEnd + 3 + static_cast<int>(description.size());
        for (int position : {titleEnd + 3, descriptionEnd}) {
            EXPECT_EQ(format(position).fontPointSize(), 10.0) << position;
            EXPECT_EQ(format(position).fontWeight(), QFont::Normal) << position;
        }
        c.sheet->DestroyWindow();
    }
}

TEST_F(WizardSheetTest, PagesDecideWhetherTheyMayBeLeft) {
    TwoPageSheet sheet(m_main);
    ASSERT_TRUE(sheet.Create(IDD_WIZARD_SHEET, m_main));
    ASSERT_EQ(sheet.GetCurrentIndex(), 0);
    EXPECT_EQ(sheet.first.told, QStringList{"shown"});
    EXPECT_EQ(sheet.first.GetSheet(), &sheet);

    sheet.first.next = 0;
    sheet.OnNext();
    EXPECT_EQ(sheet.GetCurrentIndex(), 0) << "a refusal keeps the page";
    EXPECT_EQ(sheet.first.asked, 1);
    sheet.first.next = 1;
    sheet.OnNext();
    EXPECT_EQ(sheet.GetCurrentIndex(), 1);
    EXPECT_EQ(sheet.first.told, QStringList({"shown", "hidden"}));
    EXPECT_EQ(sheet.second.told, QStringList{"shown"});
    EXPECT_FALSE(sheet.first.GetQWidget()->isVisibleTo(sheet.GetQWidget()));
    EXPECT_TRUE(sheet.second.GetQWidget()->isVisibleTo(sheet.GetQWidget()));

    // The last page is asked, but there is nowhere to go.
    sheet.OnNext();
    EXPECT_EQ(sheet.second.asked, 1);
    EXPECT_EQ(sheet.GetCurrentIndex(), 1);
    sheet.second.back = 0;
    sheet.OnBack();
    EXPECT_EQ(sheet.GetCurrentIndex(), 1);
    sheet.second.back = 1;
    sheet.OnBack();
    EXPECT_EQ(sheet.GetCurrentIndex(), 0);
    sheet.OnBack();
    EXPECT_EQ(sheet.GetCurrentIndex(), 0);
    EXPECT_EQ(sheet.first.asked, 3);

    // Cancel ends the wizard only when the page lets it.
    sheet.ShowWindow(SW_SHOW);
    sheet.first.cancel = 0;
    sheet.OnCancel();
    EXPECT_TRUE(sheet.IsWindowVisible());
    sheet.first.cancel = 1;
    sheet.OnCancel();
    EXPECT_FALSE(sheet.IsWindowVisible());
}

TEST_F(WizardSheetTest, ButtonsThePageLeavesOpenAreEnabled) {
    TwoPageSheet sheet(m_main);
    ASSERT_TRUE(sheet.Create(IDD_WIZARD_SHEET, m_main));
    const int ids[4] = {CWizardSheet::kNext, CWizardSheet::kBack, CWizardSheet::kFinish,
                        CWizardSheet::kCancel};
    sheet.second.buttons[0] = -1;
    sheet.second.buttons[2] = 1;
    sheet.second.buttons[3] = -1;
    for (int id : ids)
        sheet.GetDlgItem(id)->EnableWindow(FALSE);
    sheet.OnNext();
    const bool expected[4] = {false, true, true, false};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Enabled(&sheet, ids[i]), expected[i]) << ids[i];
    // Back through the buttons themselves, to the page that decides nothing.
    sheet.SendMessage(WM_COMMAND, MAKEWPARAM(CWizardSheet::kBack, BN_CLICKED), 0);
    EXPECT_EQ(sheet.GetCurrentIndex(), 0);
    for (int id : ids)
        EXPECT_TRUE(Enabled(&sheet, id)) << id;
}

}  // namespace
