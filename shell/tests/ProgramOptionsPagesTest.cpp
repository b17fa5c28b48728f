#include "platform/com/Bstr.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/TabCtrl.h"
#include "resources/ProgramResources.h"
#include "shell/DlgProgramOptions.h"
#include "testsupport/IsolatedTest.h"

#include <QAbstractButton>
#include <QComboBox>

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
    // What a control shows as text: "0" or "1" for a check box, the item for a list, else its
    // text.
    static QString Shown(CWnd& page, int id) {
        CWnd* control = page.GetDlgItem(id);
        if (!control)
            return "<missing>";
        if (auto* button = qobject_cast<QAbstractButton*>(control->GetQWidget()))
            return button->isChecked() ? "1" : "0";
        if (auto* combo = qobject_cast<QComboBox*>(control->GetQWidget()))
            return combo->currentText();
        return control->GetWindowText();
    }
    // Changes a control as the user would: a check box to "0" or "1", a list to the item with
    // that text (announced as a new choice), an edit to the text.
    static void Change(CWnd& page, int id, const QString& to) {
        CWnd* control = page.GetDlgItem(id);
        ASSERT_NE(control, nullptr) << id;
        if (qobject_cast<QAbstractButton*>(control->GetQWidget())) {
            page.CheckDlgButton(id, to == "1" ? 1 : 0);
        } else if (auto* combo = qobject_cast<QComboBox*>(control->GetQWidget())) {
            const int index = combo->findText(to);
            ASSERT_GE(index, 0) << to.toStdString();
            combo->setCurrentIndex(index);
            page.SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), 0);
        } else {
            page.SetDlgItemText(id, to);
        }
    }
    static LRESULT TabChanging(CDlgOptionsBase& store) {
        NMHDR hdr;
        hdr.idFrom = kOptionsTabCtrlId;
        hdr.code = TCN_SELCHANGING;
        hdr.hwndFrom = store.GetTabCtrl().GetSafeHwnd();
        return store.SendMessage(WM_NOTIFY, kOptionsTabCtrlId, reinterpret_cast<LPARAM>(&hdr));
    }
};

// The edit page of Program Options made from the template of that id.
CWnd& EditPage(CDlgProgramOptions& options, UINT templateId) {
    CDlgOptionsBaseTab* const pages[] = {
        &options.m_viewEdit,        &options.m_generalEdit,     &options.m_reccCPEdit,
        &options.m_otherEdit,       &options.m_applicationEdit, &options.m_camerasEdit,
        &options.m_connectionsEdit, &options.m_videoEdit,       &options.m_updateEdit};
    for (CDlgOptionsBaseTab* page : pages) {
        if (page->GetTemplateID() == templateId)
            return *page;
    }
    ADD_FAILURE() << "no page " << templateId;
    return options;
}

enum PageTemplate : UINT {
    kView = 30056,
    kGeneral = 30099,
    kReccCP = 30068,
    kOther = 30076,
    kApplication = 30061,
    kCameras = 30107,
    kConnections = 30110,
    kVideo = 30114,
    kUpdate = 30113,
};

// One change on one page of Program Options: the key's value before and after OK.
struct PageChange {
    PageTemplate page;
    int id;
    const char* shownBefore;
    const char* typed;
    const char* key;
    int before;
    int after;
};

const PageChange kPageChanges[] = {
    {kView, 2065, "0", "1", "View:UseLargeTB", 0, 1},
    {kGeneral, 2143, "1", "0", "AppBehave:bOpenSimilarlyNamed", 1, 0},
    {kReccCP, 2176, "0", "1", "ReccCP:DisplayNonIntRecRates", 0, 1},
    {kOther, 2151, "1", "0", "Other:PGRelativeDefault", 1, 0},
    {kApplication, 2071, "15", "40", "AppBehave:lAutoBrackHalfWidth", 15, 40},
    {kApplication, 2086, "1", "0", "AppBehave:bSaveWithUserQuery", 1, 0},
    {kCameras, 2212, "1", "0", "Cameras:CheckIDT", 1, 0},
    {kConnections, 2214, " Auto", " 100 Base-T Ethernet", "RecordFC:UltimaOrApxConnect", 0, 16},
    {kVideo, 2257, "No Smoothing", "Bicubic Smoothing", "Video:ZoomMode", 0, 2},
    {kVideo, 2260, "0", "1", "Video:ShowInfo", 0, 1},
    {kUpdate, 2256, "30", "12", "Update:nUpdateInterval", 30, 12},
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
    options.m_applicationEdit.SetDlgItemText(2075, "40");
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

TEST_F(ProgramOptionsPagesTest, EveryPageShowsItsValuesAndOnlyOkTakesTheChanges) {
    for (const UINT ending : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(ending == IDOK ? "OK" : "Cancel");
        CTestProgramOptions options;
        ASSERT_TRUE(options.Create(186));
        // Three pages have a tab; the others are made all the same and never shown.
        ASSERT_EQ(options.GetTabCtrl().GetItemCount(), 3);
        for (const PageChange& change : kPageChanges) {
            CWnd& page = EditPage(options, change.page);
            ASSERT_NE(page.GetSafeHwnd(), nullptr) << change.key;
            EXPECT_EQ(Shown(page, change.id), change.shownBefore) << change.key;
            Change(page, change.id, change.typed);
        }
        if (ending == IDOK)
            options.OnOK();
        else
            options.OnCancel();
        for (const PageChange& change : kPageChanges)
            EXPECT_EQ(Int(options, change.key), ending == IDOK ? change.after : change.before)
                << change.key;
        if (options.GetSafeHwnd())
            options.DestroyWindow();
    }
}

TEST_F(ProgramOptionsPagesTest, ConnectionListShowsKnownValuesAndKeepsOthersUntilChosen) {
    const struct {
        int stored;
        const char* shown;
        const char* chosen;  // nullptr: the user leaves the list alone
        int afterOk;
    } cases[] = {
        {160, " 1000 Base-T Ethernet", nullptr, 160},
        {5, " Auto", nullptr, 5},
        {5, " Auto", " Optical (Fiber)", 32},
        {1, " Firewire (1394)", " Auto", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        CTestProgramOptions options;
        Set(options, "RecordFC:UltimaOrApxConnect", c.stored);
        ASSERT_TRUE(options.Create(186));
        EXPECT_EQ(Shown(options.m_connectionsEdit, 2214), c.shown);
        if (c.chosen)
            Change(options.m_connectionsEdit, 2214, c.chosen);
        options.OnOK();
        EXPECT_EQ(Int(options, "RecordFC:UltimaOrApxConnect"), c.afterOk);
        if (options.GetSafeHwnd())
            options.DestroyWindow();
    }
}

TEST_F(ProgramOptionsPagesTest, RefusedValueOnAPageWithoutATabBlocksTabSwitchAndOk) {
    CTestProgramOptions options;
    ASSERT_TRUE(options.Create(186));
    options.ShowWindow(SW_SHOW);
    CWnd& application = options.m_applicationEdit;
    EXPECT_FALSE(application.IsWindowVisible());
    options.m_updateEdit.SetDlgItemText(2256, "9");
    application.SetDlgItemText(2075, "500");

    Prompter().ExpectMessageBox("Please enter an integer between 1 and 100.", IDOK);
    EXPECT_NE(TabChanging(options), 0);
    Prompter().ExpectMessageBox("Please enter an integer between 1 and 100.", IDOK);
    options.OnOK();
    EXPECT_NE(options.GetSafeHwnd(), nullptr);
    EXPECT_TRUE(options.IsWindowVisible()) << "the dialog stays open";
    EXPECT_TRUE(application.IsWindowVisible()) << "the page with the refused value shows";
    EXPECT_EQ(Int(options, "Update:nUpdateInterval"), 30) << "no page is taken";
    EXPECT_EQ(Int(options, "AppBehave:lJPEGLossyQuality"), 75);

    application.SetDlgItemText(2075, "100");
    EXPECT_EQ(TabChanging(options), 0);
    options.OnOK();
    EXPECT_EQ(Int(options, "Update:nUpdateInterval"), 9);
    EXPECT_EQ(Int(options, "AppBehave:lJPEGLossyQuality"), 100);
    if (options.GetSafeHwnd())
        options.DestroyWindow();
}

TEST_F(ProgramOptionsPagesTest, TypedNumbersOutsideTheirRangeAreRefused) {
    const struct {
        const char* typed;
        bool taken;
    } cases[] = {{"0", false}, {"101", false}, {"-5", false}, {"1", true}, {"100", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        CTestProgramOptions options;
        ASSERT_TRUE(options.Create(186));
        options.ShowWindow(SW_SHOW);
        // The update interval: its spin offers 1 to 100, and so does what may be typed.
        options.m_updateEdit.SetDlgItemText(2256, QString::fromLatin1(c.typed));
        if (!c.taken)
            Prompter().ExpectMessageBox("Please enter an integer between 1 and 100.", IDOK);
        options.OnOK();
        EXPECT_EQ(Int(options, "Update:nUpdateInterval"),
                  c.taken ? QByteArray(c.typed).toInt() : 30);
        if (options.GetSafeHwnd())
            options.DestroyWindow();
    }
}

TEST_F(ProgramOptionsPagesTest, RestoreDefaultsButtonsOfThePagesWithoutATab) {
    using Shows = std::vector<std::pair<int, const char*>>;
    const struct {
        PageTemplate page;
        Shows changed;
        Shows restored;
    } cases[] = {
        {kReccCP, {{2108, "0"}, {2176, "1"}}, {{2108, "1"}, {2176, "0"}}},
        // "Relative naming" keeps what the user set.
        {kOther, {{2151, "0"}, {2118, "0"}}, {{2151, "0"}, {2118, "1"}}},
        {kApplication,
         {{2069, "1"},
          {2070, "1"},
          {2071, "7"},
          {2072, "1"},
          {2073, "shot"},
          {2075, "20"},
          {2076, "1"},
          {2086, "0"}},
         {{2069, "0"},
          {2070, "0"},
          {2071, "15"},
          {2072, "0"},
          {2073, ""},
          {2075, "75"},
          {2076, "0"},
          {2086, "1"}}},
    };
    CTestProgramOptions options;
    ASSERT_TRUE(options.Create(186));
    for (const auto& c : cases) {
        CWnd& page = EditPage(options, c.page);
        for (const auto& [id, text] : c.changed)
            Change(page, id, text);
        Click(page, kRestoreDefaultsId);
        for (const auto& [id, text] : c.restored)
            EXPECT_EQ(Shown(page, id), text) << id;
    }
    // The other pages without a tab have nothing to restore.
    for (const PageTemplate page : {kView, kCameras, kConnections})
        EXPECT_EQ(EditPage(options, page).GetDlgItem(kRestoreDefaultsId), nullptr) << page;
    options.DestroyWindow();
}
