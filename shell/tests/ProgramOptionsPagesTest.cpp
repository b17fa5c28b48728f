#include "platform/com/Bstr.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "resources/ProgramResources.h"
#include "shell/DlgProgramOptions.h"
#include "testsupport/IsolatedTest.h"

namespace {

class CTestProgramOptions : public CDlgProgramOptions {
public:
    using CDlgProgramOptions::OnCancel;
    using CDlgProgramOptions::OnOK;
};

class ProgramOptionsPagesTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
    }
    static int Int(CDlgOptionsBase& store, const char* key) {
        VARIANT v = store.GetValue(key, -1);
        return v.vt == VT_I4 ? v.lVal : -999;
    }
    static void Set(CDlgOptionsBase& store, const char* key, int value) {
        VARIANT v;
        v.vt = VT_I4;
        v.lVal = value;
        ASSERT_TRUE(SUCCEEDED(store.SetSetting(key, v, -1))) << key;
    }
    static void Click(CWnd& page, int id) {
        page.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
};

}  // namespace

TEST_F(ProgramOptionsPagesTest, RestoreDefaultsRefillsItsPageOnly) {
    CTestProgramOptions options;
    Set(options, "Update:bUpdateCheck", 0);
    Set(options, "Update:nUpdateInterval", 9);
    Set(options, "AppBehave:bPrompt4CloseFromDevice", 0);
    ASSERT_TRUE(options.Create(186));
    CWnd& update = options.m_updateEdit;
    EXPECT_EQ(update.GetDlgItemText(2256), "9");
    EXPECT_EQ(update.IsDlgButtonChecked(2254), 0u);
    Click(update, 2038);
    EXPECT_EQ(update.GetDlgItemText(2256), "30");
    EXPECT_EQ(update.IsDlgButtonChecked(2254), 1u);

    CWnd& general = options.m_generalEdit;
    general.CheckDlgButton(2118, 0);
    general.CheckDlgButton(2109, 0);
    Click(general, 2038);
    EXPECT_EQ(general.IsDlgButtonChecked(2118), 1u);
    EXPECT_EQ(general.IsDlgButtonChecked(2216), 1u);
    EXPECT_EQ(general.IsDlgButtonChecked(2109), 0u) << "other fields keep their values";

    // Nothing reaches the store until OK, which copies every page, tab or not.
    EXPECT_EQ(Int(options, "Update:nUpdateInterval"), 9);
    options.m_applicationEdit.SetValue(
        "AppBehave:lJPEGLossyQuality",
        [] {
            VARIANT v;
            v.vt = VT_I4;
            v.lVal = 40;
            return v;
        }(),
        -1);
    options.OnOK();
    EXPECT_EQ(Int(options, "Update:nUpdateInterval"), 30);
    EXPECT_EQ(Int(options, "Update:bUpdateCheck"), 1);
    EXPECT_EQ(Int(options, "AppBehave:lJPEGLossyQuality"), 40);
}

TEST_F(ProgramOptionsPagesTest, PagesWithoutATabRestoreTheirListedDefaults) {
    CDlgProgramOptions options;
    options.m_applicationValue.SetValue(
        "AppBehave:lAutoBrackHalfWidth",
        [] {
            VARIANT v;
            v.vt = VT_I4;
            v.lVal = 99;
            return v;
        }(),
        -1);
    options.m_applicationValue.RestoreDefaults();
    const struct {
        const char* key;
        int value;
    } application[] = {{"AppBehave:bCloseOthersFirst", 0},    {"AppBehave:bAutoBracket", 0},
                       {"AppBehave:lAutoBrackHalfWidth", 15}, {"AppBehave:bSaveAfterZero", 0},
                       {"AppBehave:lJPEGLossyQuality", 75},   {"AppBehave:bRecordAfterSave", 0},
                       {"AppBehave:bSaveWithUserQuery", 1}};
    for (const auto& row : application)
        EXPECT_EQ(Int(options, row.key), row.value) << row.key;

    Set(options, "Other:PGRelativeDefault", 0);
    Set(options, "Track:UpdatePlyControlWhile", 0);
    options.m_otherValue.RestoreDefaults();
    EXPECT_EQ(Int(options, "Other:PGRelativeDefault"), 0) << "keeps its value";
    EXPECT_EQ(Int(options, "Track:UpdatePlyControlWhile"), 1);

    Set(options, "ReccCP:SingleRecordTab", 0);
    Set(options, "ReccCP:DisplayNonIntRecRates", 1);
    options.m_reccCPValue.RestoreDefaults();
    EXPECT_EQ(Int(options, "ReccCP:SingleRecordTab"), 1);
    EXPECT_EQ(Int(options, "ReccCP:DisplayNonIntRecRates"), 0);
}

TEST_F(ProgramOptionsPagesTest, BasicInterfaceRuleFollowsTheClickAndEveryStart) {
    {
        CDlgProgramOptions options;
        Set(options, "AppBehave:bFlatten_to_2", 0);
        Set(options, "AppBehave:bPR_KeepOneOpen", 0);
        Set(options, "AppBehave:bPR_StartMax", 0);
        // Outside the spin's range, but the store keeps it.
        Set(options, "Update:nUpdateInterval", 500);
        EXPECT_EQ(Int(options, "Update:nUpdateInterval"), 500);
        options.SaveAllToRegistry();
    }
    CTestProgramOptions options;
    options.LoadAllFromRegistry();
    EXPECT_EQ(Int(options, "AppBehave:bFlatten_to_2"), 1);
    EXPECT_EQ(Int(options, "AppBehave:bPR_KeepOneOpen"), 1);
    EXPECT_EQ(Int(options, "AppBehave:bPR_StartMax"), 0);
    EXPECT_EQ(Int(options, "Update:nUpdateInterval"), 500);

    Set(options, "AppBehave:bGroupManager", 1);
    Set(options, "AppBehave:bPrompt4CloseFromDevice", 1);
    ASSERT_TRUE(options.Create(186));
    CWnd& general = options.m_generalEdit;
    EXPECT_EQ(general.IsDlgButtonChecked(2268), 1u) << "set values wait for the rule";
    Click(general, 2116);
    EXPECT_FALSE(general.GetDlgItem(2113)->IsWindowEnabled());
    for (int id : {2268, 2269, 2216}) {
        EXPECT_EQ(general.IsDlgButtonChecked(id), 0u) << id;
        EXPECT_FALSE(general.GetDlgItem(id)->IsWindowEnabled()) << id;
    }
    EXPECT_EQ(general.IsDlgButtonChecked(2203), 1u);
    EXPECT_EQ(general.IsDlgButtonChecked(2116), 1u);
    options.OnCancel();
    EXPECT_EQ(Int(options, "AppBehave:bGroupManager"), 1) << "Cancel leaves the values";
}
