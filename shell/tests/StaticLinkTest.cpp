#include "resources/ProgramResources.h"
#include "shell/ProgressDlg.h"
#include "shell/StaticLink.h"
#include "testsupport/IsolatedTest.h"

#include <QWidget>

namespace {

class StaticLinkTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        ASSERT_TRUE(m_dlg.Create());
        ASSERT_TRUE(m_link.SubclassDlgItem(IDC_PROGRESS_TEXT, &m_dlg));
    }

    CProgressDlg m_dlg;
    CStaticLink m_link;
};

TEST_F(StaticLinkTest, LinkIsUnderlinedBlueWithTheHandCursor) {
    QWidget* widget = m_link.GetQWidget();
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->font().underline());
    EXPECT_EQ(widget->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(widget->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(StaticLinkTest, TargetThatCannotOpenStaysUnvisitedAfterTheMessage) {
    m_link.m_link = WorkPath("missing.txt");
    m_link.m_message = "Opening the support page.";
    Prompter().ExpectMessageBox("Opening the support page.", IDOK);
    m_link.OnClicked();
    ASSERT_EQ(Prompter().Prompts().size(), 1u);
    EXPECT_EQ(Prompter().Prompts()[0].type & MB_ICONMASK, UINT(MB_ICONINFORMATION));
    EXPECT_FALSE(m_link.IsVisited());
    EXPECT_EQ(m_link.GetTextColor(), RGB(0, 0, 255));
}

TEST_F(StaticLinkTest, NoTargetAndNoTextDoesNothing) {
    m_link.SetWindowText(QString());
    m_link.m_message = "Never shown.";
    m_link.OnClicked();
    EXPECT_TRUE(Prompter().Prompts().empty());
    EXPECT_FALSE(m_link.IsVisited());
}

}  // namespace
