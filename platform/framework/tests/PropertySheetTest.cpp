#include "platform/framework/DataExchange.h"
#include "platform/framework/PropertyPage.h"
#include "platform/framework/PropertySheet.h"
#include "platform/framework/ResourceChain.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

constexpr UINT kPageBase = 9301;
constexpr int kPageValue = 1100;

CResourceModule PagesModule() {
    CResourceModule module;
    module.name = QStringLiteral("sheet tests");
    for (UINT i = 0; i < 3; ++i) {
        DialogTemplate page;
        page.id = kPageBase + i;
        page.caption = QStringLiteral("Page %1").arg(i + 1);
        page.style = WS_CHILD | WS_CAPTION;
        page.cx = 150 + 20 * static_cast<int>(i);
        page.cy = 80;
        page.items = {{DlgControl::Edit, kPageValue, QString(), 7, 7, 50, 14,
                       WS_CHILD | WS_VISIBLE | WS_TABSTOP}};
        module.dialogs.push_back(page);
    }
    return module;
}

// A page with a number from 0 to 10 that logs what the sheet asks of it.
class CLogPage : public CPropertyPage {
public:
    CLogPage(int index, QStringList* log)
        : CPropertyPage(kPageBase + static_cast<UINT>(index)), m_index(index), m_log(log) {}

    int m_value = 1;
    LRESULT m_next = 0;
    BOOL m_accept = TRUE;
    DWORD m_buttons = PSWIZB_BACK | PSWIZB_NEXT;

    void Type(const QString& text) { GetDlgItem(kPageValue)->SetWindowText(text); }

    BOOL OnSetActive() override {
        Log("set");
        if (GetSheet()->IsWizard())
            GetSheet()->SetWizardButtons(m_buttons);
        return m_accept;
    }
    LRESULT OnWizardNext() override {
        Log("next");
        return m_next;
    }
    LRESULT OnWizardBack() override {
        Log("back");
        return 0;
    }
    BOOL OnWizardFinish() override {
        Log("finish");
        return TRUE;
    }
    void OnOK() override {
        Log("ok");
        CPropertyPage::OnOK();
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kPageValue, m_value);
        DDV_MinMaxInt(pDX, m_value, 0, 10);
    }

private:
    void Log(const char* what) { *m_log << QStringLiteral("%1:%2").arg(what).arg(m_index + 1); }

    int m_index;
    QStringList* m_log;
};

class PropertySheetTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&m_module);
    }
    void TearDown() override {
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }

    static QAbstractButton* Button(CPropertySheet& sheet, UINT id) {
        return dynamic_cast<QAbstractButton*>(sheet.GetDlgItem(static_cast<int>(id))->GetQWidget());
    }
    static void Press(CPropertySheet& sheet, UINT id) { Button(sheet, id)->click(); }

    // Runs the sheet modally with the script played once it shows.
    static INT_PTR RunModal(CPropertySheet& sheet, const std::function<void()>& script) {
        QTimer::singleShot(0, script);
        return sheet.DoModal();
    }

    CResourceModule m_module = PagesModule();
    QStringList m_log;
};

TEST_F(PropertySheetTest, WizardWalksBackNextAndFinish) {
    CLogPage first(0, &m_log);
    CLogPage second(1, &m_log);
    CLogPage last(2, &m_log);
    first.m_buttons = PSWIZB_NEXT;
    last.m_buttons = PSWIZB_BACK | PSWIZB_FINISH;
    CPropertySheet sheet(QStringLiteral("Wizard"));
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.AddPage(&last);
    sheet.SetWizardMode();

    QStringList states;
    auto state = [&] {
        states << QStringLiteral("%1 back=%2 next=%3 finish=%4")
                      .arg(sheet.GetActiveIndex())
                      .arg(Button(sheet, ID_WIZBACK)->isEnabled())
                      .arg(Button(sheet, ID_WIZNEXT)->isVisible())
                      .arg(Button(sheet, ID_WIZFINISH)->isVisible());
    };
    const INT_PTR result = RunModal(sheet, [&] {
        state();
        // A value out of range keeps the wizard on its page.
        first.Type(QStringLiteral("11"));
        Prompter().ExpectMessageBox(QStringLiteral("Please enter an integer between 0 and 10."),
                                    IDOK);
        Press(sheet, ID_WIZNEXT);
        state();
        first.Type(QStringLiteral("3"));
        Press(sheet, ID_WIZNEXT);
        state();
        Press(sheet, ID_WIZBACK);
        state();
        Press(sheet, ID_WIZNEXT);
        Press(sheet, ID_WIZNEXT);
        state();
        Press(sheet, ID_WIZFINISH);
    });
    EXPECT_EQ(result, static_cast<INT_PTR>(ID_WIZFINISH));
    EXPECT_EQ(states, (QStringList{"0 back=0 next=1 finish=0", "0 back=0 next=1 finish=0",
                                   "1 back=1 next=1 finish=0", "0 back=0 next=1 finish=0",
                                   "2 back=1 next=0 finish=1"}));
    EXPECT_EQ(m_log, (QStringList{"set:1", "next:1", "set:2", "back:2", "set:1", "next:1", "set:2",
                                  "next:2", "set:3", "finish:3", "ok:1", "ok:2", "ok:3"}));
    EXPECT_EQ(first.m_value, 3);
    EXPECT_EQ(first.GetSafeHwnd(), nullptr);
}

TEST_F(PropertySheetTest, WizardJumpsToANamedPageAndPassesOverARefusingOne) {
    CLogPage first(0, &m_log);
    CLogPage second(1, &m_log);
    CLogPage last(2, &m_log);
    first.m_next = kPageBase + 2;
    CPropertySheet sheet;
    for (CLogPage* page : {&first, &second, &last})
        sheet.AddPage(page);
    sheet.SetWizardMode();
    std::vector<int> visited;
    const INT_PTR result = RunModal(sheet, [&] {
        Press(sheet, ID_WIZNEXT);
        visited.push_back(sheet.GetActiveIndex());
        // Back from the last page lands on the second, which refuses and is passed over.
        second.m_accept = FALSE;
        Press(sheet, ID_WIZBACK);
        visited.push_back(sheet.GetActiveIndex());
        Press(sheet, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(visited, (std::vector<int>{2, 0}));
    EXPECT_FALSE(m_log.contains(QStringLiteral("ok:1")));
}

TEST_F(PropertySheetTest, TabbedSheetSwitchesPagesAndAppliesOnOK) {
    CLogPage first(0, &m_log);
    CLogPage second(1, &m_log);
    CPropertySheet sheet(QStringLiteral("Options"));
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    QStringList tabs;
    bool stayed = false;
    const INT_PTR result = RunModal(sheet, [&] {
        auto* bar = dynamic_cast<QTabBar*>(
            sheet.GetDlgItem(static_cast<int>(AFX_IDC_TAB_CONTROL))->GetQWidget());
        tabs << bar->tabText(0) << bar->tabText(1);
        // The page being left checks its value first.
        first.Type(QStringLiteral("-4"));
        Prompter().ExpectMessageBox(QStringLiteral("Please enter an integer between 0 and 10."),
                                    IDOK);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        stayed = sheet.GetActiveIndex() == 0 && bar->currentIndex() == 0;
        first.Type(QStringLiteral("4"));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        EXPECT_TRUE(second.IsWindowVisible());
        EXPECT_FALSE(first.IsWindowVisible());
        Press(sheet, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(tabs, (QStringList{"Page 1", "Page 2"}));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(first.m_value, 4);
    EXPECT_EQ(m_log, (QStringList{"set:1", "set:2", "ok:1", "ok:2"}));
}

TEST_F(PropertySheetTest, SheetWithoutPagesOrTemplatesDoesNotOpen) {
    CPropertySheet empty;
    EXPECT_EQ(empty.DoModal(), -1);
    CPropertyPage missing(4242);
    CPropertySheet sheet;
    sheet.AddPage(&missing);
    EXPECT_EQ(sheet.DoModal(), -1);
}

}  // namespace
