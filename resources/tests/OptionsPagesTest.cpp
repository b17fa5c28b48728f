#include "platform/framework/Button.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "shell/DlgProgramOptions.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QComboBox>

// The Program Options dialog as its three tabs show it: each page laid out from its template,
// its controls showing the values and taking the user's changes back on OK.

namespace {

class OptionsPagesTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&CProgramResources::Module());
    }
    void TearDown() override {
        if (m_options.GetSafeHwnd())
            m_options.DestroyWindow();
        CResourceChain::RemoveModule(&CProgramResources::Module());
        IsolatedTest::TearDown();
    }
    void SetInt(const char* key, int value) {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = value;
        ASSERT_EQ(m_options.SetSetting(QString::fromLatin1(key), v, -1), S_OK) << key;
    }
    int GetInt(const char* key) {
        VARIANT v;
        EXPECT_EQ(m_options.GetSetting(QString::fromLatin1(key), &v, -1), S_OK) << key;
        return v.lVal;
    }
    void Click(CWnd& page, int id) {
        page.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
    }

    CDlgProgramOptions m_options;
};

TEST_F(OptionsPagesTest, ShownPagesAreLaidOutWithTheirValues) {
    SetInt("Video:ZoomMode", 2);
    SetInt("Video:ShowRulers", 1);
    SetInt("Update:nUpdateInterval", 45);
    ASSERT_TRUE(m_options.Create(186));
    CTabCtrl& tabs = m_options.GetTabCtrl();
    ASSERT_EQ(tabs.GetItemCount(), 3);
    EXPECT_EQ(tabs.GetItemText(0), "General Settings");
    EXPECT_EQ(tabs.GetItemText(1), "Video");
    EXPECT_EQ(tabs.GetItemText(2), "Update");

    const struct {
        CWnd* page;
        int id;
        int checked;
    } checks[] = {
        {&m_options.m_generalEdit, 2110, 1}, {&m_options.m_generalEdit, 2109, 1},
        {&m_options.m_generalEdit, 2114, 0}, {&m_options.m_generalEdit, 2118, 1},
        {&m_options.m_videoEdit, 2258, 1},   {&m_options.m_videoEdit, 2259, 1},
        {&m_options.m_videoEdit, 2260, 0},   {&m_options.m_updateEdit, 2254, 1},
    };
    for (const auto& c : checks) {
        ASSERT_NE(c.page->GetDlgItem(c.id), nullptr) << c.id;
        EXPECT_EQ(c.page->IsDlgButtonChecked(c.id), static_cast<UINT>(c.checked)) << c.id;
    }
    EXPECT_EQ(m_options.m_generalEdit.GetDlgItemText(2110),
              "Basic Interface (single Play Group window only)");
    // The basic-interface rule greys what it decides.
    for (int id : {2113, 2268, 2269, 2216})
        EXPECT_FALSE(m_options.m_generalEdit.GetDlgItem(id)->IsWindowEnabled()) << id;

    auto* zoom = qobject_cast<QComboBox*>(m_options.m_videoEdit.GetDlgItem(2257)->GetQWidget());
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->count(), 5);
    EXPECT_EQ(zoom->currentText(), "Bicubic Smoothing");
    EXPECT_EQ(m_options.m_updateEdit.GetDlgItemText(2256), "45");
}

TEST_F(OptionsPagesTest, ChangesReachTheKeysOnOk) {
    ASSERT_TRUE(m_options.Create(186));
    m_options.m_videoEdit.CheckDlgButton(2260, 1);
    m_options.m_updateEdit.SetDlgItemText(2256, "12");
    m_options.m_updateEdit.CheckDlgButton(2254, 0);
    m_options.m_generalEdit.CheckDlgButton(2114, 1);
    m_options.SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_EQ(GetInt("Video:ShowInfo"), 1);
    EXPECT_EQ(GetInt("Update:nUpdateInterval"), 12);
    EXPECT_EQ(GetInt("Update:bUpdateCheck"), 0);
    EXPECT_EQ(GetInt("AppBehave:bPR_AlwaysMax"), 1);
}

TEST_F(OptionsPagesTest, RestoreDefaultsAndTheBasicInterfaceActOnTheControls) {
    ASSERT_TRUE(m_options.Create(186));
    m_options.m_updateEdit.SetDlgItemText(2256, "12");
    m_options.m_updateEdit.CheckDlgButton(2254, 0);
    m_options.m_generalEdit.CheckDlgButton(2114, 1);
    Click(m_options.m_updateEdit, 2038);
    EXPECT_EQ(m_options.m_updateEdit.GetDlgItemText(2256), "30");
    EXPECT_EQ(m_options.m_updateEdit.IsDlgButtonChecked(2254), 1u);
    // Restore Defaults on the General page brings back only its two restorable values.
    m_options.m_generalEdit.CheckDlgButton(2118, 0);
    Click(m_options.m_generalEdit, 2038);
    EXPECT_EQ(m_options.m_generalEdit.IsDlgButtonChecked(2118), 1u);
    EXPECT_EQ(m_options.m_generalEdit.IsDlgButtonChecked(2114), 1u);
    // The basic-interface rule runs on the controls when 2116 is clicked.
    m_options.m_generalEdit.CheckDlgButton(2203, 0);
    Click(m_options.m_generalEdit, 2116);
    EXPECT_EQ(m_options.m_generalEdit.IsDlgButtonChecked(2203), 1u);
    EXPECT_EQ(m_options.m_generalEdit.IsDlgButtonChecked(2110), 1u);
}

}  // namespace
