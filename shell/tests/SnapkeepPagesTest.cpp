#include "platform/com/Bstr.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ListBox.h"
#include "resources/ProgramResources.h"
#include "shell/DlgFormatSelection.h"
#include "shell/DlgSnapkeepOptions.h"
#include "testsupport/IsolatedTest.h"

#include <QApplication>
#include <QTimer>

namespace {

class CTestSnapkeep : public CDlgSnapkeepOptions {
public:
    using CDlgSnapkeepOptions::OnCancel;
    using CDlgSnapkeepOptions::OnOK;
};

class SnapkeepPagesTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        m_store.m_snapkeepValue.m_dirs = {"/data/a", "/data/b"};
        ASSERT_TRUE(m_store.Create(30065));
    }
    void TearDown() override {
        if (m_store.GetSafeHwnd())
            m_store.DestroyWindow();
        IsolatedTest::TearDown();
    }
    CDlgOptionsBaseTab_Snapkeep& Page() { return m_store.m_snapkeepEdit; }
    CListBox* Folders() { return dynamic_cast<CListBox*>(Page().GetDlgItem(1228)); }
    void Click(CWnd& page, int id) { page.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    CTestSnapkeep m_store;
};

}  // namespace

TEST_F(SnapkeepPagesTest, FoldersAreAddedAndRemovedOnlyThroughThePage) {
    ASSERT_NE(Folders(), nullptr);
    EXPECT_EQ(Folders()->GetCount(), 2);
    EXPECT_EQ(Page().GetDlgItemText(1174), "filename");
    EXPECT_EQ(m_store.GetTabCtrl().GetItemCount(), 2);

    Prompter().AnswerFolder(QStringLiteral("/data/c"));
    Click(Page(), 1173);
    Prompter().AnswerFolder(std::nullopt);
    Click(Page(), 1173);
    EXPECT_EQ(Folders()->GetCount(), 3);
    EXPECT_EQ(Folders()->GetText(2), "/data/c");
    ASSERT_EQ(Prompter().Prompts().size(), 2u);

    // Removing without a selection changes nothing.
    Folders()->SetCurSel(-1);
    Click(Page(), 1229);
    EXPECT_EQ(Folders()->GetCount(), 3);
    Folders()->SetCurSel(0);
    Click(Page(), 1229);
    EXPECT_EQ(Folders()->GetCount(), 2);
    EXPECT_EQ(Folders()->GetText(0), "/data/b");

    // Nothing reaches the store before OK.
    EXPECT_EQ(m_store.m_snapkeepValue.m_dirs, (QStringList{"/data/a", "/data/b"}));
    m_store.OnOK();
    EXPECT_EQ(m_store.m_snapkeepValue.m_dirs, (QStringList{"/data/b", "/data/c"}));
}

TEST_F(SnapkeepPagesTest, RangeChoiceEnablesItsEditsAndDefaultsComeBack) {
    CWnd* from = Page().GetDlgItem(1013);
    ASSERT_NE(from, nullptr);
    EXPECT_TRUE(from->IsWindowEnabled());
    Page().CheckDlgButton(1169, 0);
    Page().CheckDlgButton(1175, 1);
    Click(Page(), 1175);
    EXPECT_FALSE(from->IsWindowEnabled());
    EXPECT_FALSE(Page().GetDlgItem(1014)->IsWindowEnabled());
    Page().CheckDlgButton(1175, 0);
    Page().CheckDlgButton(1169, 1);
    Click(Page(), 1169);
    EXPECT_TRUE(from->IsWindowEnabled());

    Page().SetDlgItemText(1174, "take");
    Page().SetDlgItemText(1013, "-7");
    Click(Page(), 2038);
    EXPECT_EQ(Page().GetDlgItemText(1174), "snapkeep");
    EXPECT_EQ(Page().GetDlgItemText(1013), "-50");
    EXPECT_EQ(Folders()->GetCount(), 2) << "the folders stay";

    CDlgOptionsBaseTab_SnapkeepAdv& advanced = m_store.m_snapkeepAdvEdit;
    advanced.CheckRadioButton(2091, 2094, 2093);
    advanced.CheckDlgButton(2097, 0);
    Click(advanced, 2038);
    EXPECT_EQ(advanced.IsDlgButtonChecked(2091), 1u);
    EXPECT_EQ(advanced.IsDlgButtonChecked(2097), 1u);

    // Cancel leaves the store as it was.
    m_store.OnCancel();
    VARIANT name = m_store.m_snapkeepValue.GetValue("SK:sBaseName", -1);
    EXPECT_EQ(QStringFromBstr(name.bstrVal), "filename");
    VariantClear(&name);
}

TEST_F(SnapkeepPagesTest, EditFormatRunsTheFormatSelection) {
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<CDlgFormatSelection*>(
            CWnd::FromWidgetPermanent(QApplication::activeModalWidget()));
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->m_strFormat, "JPG");
        auto* combo = dynamic_cast<CComboBox*>(dialog->GetDlgItem(2031));
        combo->SetCurSel(3);
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(2031, CBN_SELCHANGE), 0);
        dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    });
    Click(Page(), 2089);
    EXPECT_EQ(Page().GetDlgItemText(2090), "TIF");
}
