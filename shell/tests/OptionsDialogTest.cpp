#include "platform/framework/DataExchange.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/TabCtrl.h"
#include "shell/DlgOptionsBase.h"
#include "shell/DlgOptionsBaseTab.h"
#include "testsupport/IsolatedTest.h"

namespace {

constexpr UINT kStoreTemplate = 9501;
constexpr UINT kPageTemplate = 9502;
constexpr int kValueEdit = 1100;

CResourceModule StoreModule() {
    CResourceModule module;
    module.name = QStringLiteral("option store tests");
    DialogTemplate store;
    store.id = kStoreTemplate;
    store.caption = QStringLiteral("Store");
    store.cx = 200;
    store.cy = 150;
    store.items = {{DlgControl::Tab, kOptionsTabCtrlId, QString(), 5, 5, 190, 110},
                   {DlgControl::Button, IDOK, QStringLiteral("OK"), 90, 125, 50, 14},
                   {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 145, 125, 50, 14}};
    module.dialogs.push_back(store);
    DialogTemplate page;
    page.id = kPageTemplate;
    page.style = WS_CHILD;
    page.cx = 180;
    page.cy = 80;
    page.items = {{DlgControl::Edit, kValueEdit, QString(), 7, 7, 50, 14,
                   WS_CHILD | WS_VISIBLE | WS_TABSTOP}};
    module.dialogs.push_back(page);
    return module;
}

// A page with one number from 0 to 10 under "T:nValue<n>".
class CNumberPage : public CDlgOptionsBaseTab {
public:
    explicit CNumberPage(int n)
        : CDlgOptionsBaseTab(kPageTemplate), m_key(QString("T:nValue%1").arg(n)) {}
    void LoadFromRegistry() override {}
    void SaveToRegistry() override {}
    void CopyFrom(const CDlgOptionsBaseTab& page) override {
        m_value = static_cast<const CNumberPage&>(page).m_value;
    }
    VARIANT GetValue(const QString& key, int) override {
        VARIANT v;
        if (key == m_key) {
            v.vt = VT_I4;
            v.lVal = m_value;
        }
        return v;
    }
    BOOL SetValue(const QString& key, const VARIANT& value, int) override {
        if (key != m_key)
            return FALSE;
        m_value = value.lVal;
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, kValueEdit, m_value);
        DDV_MinMaxInt(pDX, m_value, 0, 10);
    }
    void Type(const QString& text) { GetDlgItem(kValueEdit)->SetWindowText(text); }

    QString m_key;
    int m_value = 1;
};

class CTestStore : public CDlgOptionsBase {
public:
    CTestStore() : CDlgOptionsBase(kStoreTemplate) {
        AddPage(&m_shownValue, &m_shownEdit, kPageTemplate, "Shown", FALSE, TRUE);
        AddPage(&m_hiddenValue, &m_hiddenEdit, kPageTemplate, "Hidden", FALSE, FALSE);
        SetTitle("Test Options");
    }
    using CDlgOptionsBase::OnCancel;
    using CDlgOptionsBase::OnOK;

    CNumberPage m_shownValue{1}, m_shownEdit{1}, m_hiddenValue{2}, m_hiddenEdit{2};
};

class OptionsDialogTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&m_module);
    }
    void TearDown() override {
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }
    CResourceModule m_module = StoreModule();
};

TEST_F(OptionsDialogTest, OpeningShowsTabbedPagesWithTheValues) {
    CTestStore store;
    store.m_hiddenValue.m_value = 4;
    ASSERT_TRUE(store.Create(kStoreTemplate));
    CTabCtrl* tab = &store.GetTabCtrl();
    ASSERT_EQ(tab->GetItemCount(), 1);
    EXPECT_EQ(tab->GetItemText(0), "Shown");
    EXPECT_EQ(store.GetWindowText(), "Test Options");
    EXPECT_EQ(store.m_hiddenEdit.GetDlgItemText(kValueEdit), "4");
    store.ShowWindow(SW_SHOW);
    EXPECT_TRUE(store.m_shownEdit.IsWindowVisible());
    EXPECT_FALSE(store.m_hiddenEdit.IsWindowVisible());
    store.DestroyWindow();
}

TEST_F(OptionsDialogTest, OkCommitsAllPagesOnlyWhenEveryPageIsValid) {
    CTestStore store;
    ASSERT_TRUE(store.Create(kStoreTemplate));
    store.m_shownEdit.Type("7");
    store.m_hiddenEdit.Type("11");
    Prompter().ExpectMessageBox("Please enter an integer between 0 and 10.", IDOK);
    store.OnOK();
    EXPECT_EQ(store.m_shownValue.m_value, 1);
    EXPECT_EQ(store.m_hiddenValue.m_value, 1);
    EXPECT_NE(store.GetSafeHwnd(), nullptr);

    store.m_hiddenEdit.Type("9");
    store.OnOK();
    EXPECT_EQ(store.m_shownValue.m_value, 7);
    EXPECT_EQ(store.m_hiddenValue.m_value, 9);
    store.DestroyWindow();
}

TEST_F(OptionsDialogTest, CancelKeepsTheValues) {
    CTestStore store;
    ASSERT_TRUE(store.Create(kStoreTemplate));
    store.m_shownEdit.Type("7");
    store.OnCancel();
    EXPECT_EQ(store.m_shownValue.m_value, 1);
    if (store.GetSafeHwnd())
        store.DestroyWindow();
}

TEST_F(OptionsDialogTest, InvalidPageKeepsItsTabUntilCorrected) {
    CTestStore store;
    ASSERT_TRUE(store.Create(kStoreTemplate));
    const auto changing = [&store] {
        NMHDR hdr;
        hdr.idFrom = kOptionsTabCtrlId;
        hdr.code = TCN_SELCHANGING;
        hdr.hwndFrom = store.GetTabCtrl().GetSafeHwnd();
        return store.SendMessage(WM_NOTIFY, kOptionsTabCtrlId, reinterpret_cast<LPARAM>(&hdr));
    };
    EXPECT_EQ(changing(), 0);
    store.m_hiddenEdit.Type("12");
    Prompter().ExpectMessageBox("Please enter an integer between 0 and 10.", IDOK);
    EXPECT_NE(changing(), 0);
    store.m_hiddenEdit.Type("3");
    EXPECT_EQ(changing(), 0);
    store.DestroyWindow();
}

}  // namespace
