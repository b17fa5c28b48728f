#include "platform/framework/Button.h"
#include "platform/registry/Registry.h"
#include "resources/ProgramResources.h"
#include "shell/DlgSystemConfiguration.h"
#include "testsupport/IsolatedTest.h"

namespace {

const QString kKey = "Software\\Tolvar\\Vidra OS\\System Configuration";

using DlgSystemConfigurationTest = IsolatedTest;

TEST_F(DlgSystemConfigurationTest, DefaultsOnAFreshRegistry) {
    const CDlgSystemConfiguration config("Vidra Player");
    const struct {
        const char* name;
        int value;
    } cases[] = {{"Prompt Before Close", 1},
                 {"Prompt Before Overwriting Memory", 0},
                 {"AutoLoad Data", 1},
                 {"Missing as Repeat", 0},
                 {"Disable Web Links", 0},
                 {"Export To Excel", 1},
                 {"Show Color File As Bayer", 0},
                 {"Show Analysis Click", 1},
                 {"No Such Flag", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(config.GetFlag(c.name), c.value) << c.name;
    EXPECT_EQ(config.m_strAppName, "Vidra Player");
    EXPECT_FALSE(config.m_bSpreadsheetAvailable);
    EXPECT_EQ(config.m_nUnstored, -1);
}

TEST_F(DlgSystemConfigurationTest, RegistryValuesReplaceDefaultsAndSaveWritesEveryFlag) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kKey, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegSetDword(key, "Prompt Before Close", 0);
    RegSetString(key, "App Name", "Renamed");
    RegCloseKey(key);
    HKEY xls = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, ".xls", KEY_ALL_ACCESS, &xls), ERROR_SUCCESS);
    RegCloseKey(xls);

    CDlgSystemConfiguration config("Vidra Player");
    EXPECT_EQ(config.GetFlag("Prompt Before Close"), 0);
    EXPECT_EQ(config.m_strAppName, "Renamed");
    EXPECT_TRUE(config.m_bSpreadsheetAvailable);

    EXPECT_TRUE(config.SetFlag("Label Image Sequences", 1));
    EXPECT_FALSE(config.SetFlag("No Such Flag", 1));
    config.Save();
    ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    for (int i = 0; i < CDlgSystemConfiguration::kFlagCount; ++i) {
        DWORD value = 99;
        EXPECT_EQ(RegQueryDword(key, CDlgSystemConfiguration::ValueName(i), &value), ERROR_SUCCESS)
            << i;
        EXPECT_EQ(static_cast<int>(value), config.GetFlag(CDlgSystemConfiguration::ValueName(i)));
    }
    DWORD label = 0;
    RegQueryDword(key, "Label Image Sequences", &label);
    EXPECT_EQ(label, 1u);

    // A name longer than any fixed buffer is read whole.
    RegCloseKey(key);
    const QString longName = QString(150, QLatin1Char('n')) + QStringLiteral(" end");
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, kKey, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    RegSetString(key, "App Name", longName);
    RegCloseKey(key);
    EXPECT_EQ(CDlgSystemConfiguration("Vidra Player").m_strAppName, longName);
}

TEST_F(DlgSystemConfigurationTest, DialogShowsEveryFlagAndOnlyOkTakesChanges) {
    CProgramResources::Register();
    const int connect = 17;  // "Auto Show Connect Asst", on by default
    ASSERT_EQ(CDlgSystemConfiguration::ValueName(connect), "Auto Show Connect Asst");
    for (const auto& [button, kept] : {std::pair{IDCANCEL, 1}, {IDOK, 0}}) {
        CDlgSystemConfiguration config("Vidra Player");
        ASSERT_TRUE(config.Create(IDD_SYSTEM_CONFIGURATION));
        for (int i = 0; i < CDlgSystemConfiguration::kFlagCount; ++i) {
            EXPECT_EQ(int(config.IsDlgButtonChecked(CDlgSystemConfiguration::kFirstFlagId + i)),
                      config.GetFlag(CDlgSystemConfiguration::ValueName(i)))
                << i;
        }
        config.CheckDlgButton(CDlgSystemConfiguration::kFirstFlagId + connect, 0);
        config.SendMessage(WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        EXPECT_EQ(config.GetFlag("Auto Show Connect Asst"), kept) << button;
        if (config.GetSafeHwnd())
            config.DestroyWindow();
    }
}

}  // namespace
