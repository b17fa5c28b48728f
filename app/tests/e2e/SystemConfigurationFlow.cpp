#include "app/tests/e2e/E2eSupport.h"
#include "platform/framework/Dialog.h"
#include "platform/registry/Registry.h"
#include "shell/DlgSystemConfiguration.h"
#include "shell/MainFrame.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <functional>

// What a user does with the system configuration: opens it from Edit, clears a check box and
// presses OK (the registry keeps it), then changes another and presses Cancel (nothing changes).

namespace {

int CheckBoxOf(const char* valueName) {
    for (int i = 0; i < CDlgSystemConfiguration::kFlagCount; ++i) {
        if (CDlgSystemConfiguration::ValueName(i) == QLatin1String(valueName))
            return CDlgSystemConfiguration::kFirstFlagId + i;
    }
    return -1;
}

// The value the registry holds, or -1 when there is none.
int StoredFlag(const char* valueName) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra OS\\System Configuration", 0,
                     KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    DWORD value = 0;
    const bool found = RegQueryDword(key, QString::fromLatin1(valueName), &value) == ERROR_SUCCESS;
    RegCloseKey(key);
    return found ? static_cast<int>(value) : -1;
}

using SystemConfigurationFlow = ProgramTest;

TEST_F(SystemConfigurationFlow, OkKeepsTheChecksAndCancelLeavesThem) {
    CMainFrame* frame = StartProgram({});
    ASSERT_NE(frame, nullptr);
    auto* window = static_cast<QMainWindow*>(frame->GetQWidget());
    CDlgSystemConfiguration& config = frame->GetSystemConfiguration();
    ASSERT_EQ(config.GetFlag("Auto Show Connect Asst"), 1);
    ASSERT_EQ(config.GetFlag("Disable Web Links"), 0);
    const int connect = CheckBoxOf("Auto Show Connect Asst");
    const int webLinks = CheckBoxOf("Disable Web Links");
    const QString title = window->windowTitle();

    // OK: the cleared check box is the new value, in memory and in the registry.
    bool seen = false;
    bool shownChecked = false;
    WhenShown<CDlgSystemConfiguration>(
        [&](CDlgSystemConfiguration* dialog) {
            shownChecked = dialog->IsDlgButtonChecked(connect) == 1;
            Click(dialog, connect);
            Click(dialog, IDOK);
        },
        &seen);
    QAction* item = FindItem(window, QStringLiteral("Edit/System Configuration..."));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    ASSERT_TRUE(seen) << "no system configuration dialog";
    EXPECT_TRUE(shownChecked);
    EXPECT_EQ(config.GetFlag("Auto Show Connect Asst"), 0);
    EXPECT_EQ(StoredFlag("Auto Show Connect Asst"), 0);
    EXPECT_EQ(StoredFlag("Prompt Before Close"), 1);
    EXPECT_EQ(window->windowTitle(), title) << "the title follows the application's own name";

    // Cancel: the dialog shows what OK kept, and a change made now is dropped.
    seen = false;
    shownChecked = true;
    WhenShown<CDlgSystemConfiguration>(
        [&](CDlgSystemConfiguration* dialog) {
            shownChecked = dialog->IsDlgButtonChecked(connect) == 1;
            Click(dialog, webLinks);
            Click(dialog, IDCANCEL);
        },
        &seen);
    FindItem(window, QStringLiteral("Edit/System Configuration..."))->trigger();
    ASSERT_TRUE(seen) << "no system configuration dialog";
    EXPECT_FALSE(shownChecked);
    EXPECT_EQ(config.GetFlag("Disable Web Links"), 0);
    EXPECT_EQ(StoredFlag("Disable Web Links"), 0);
    EXPECT_EQ(FindWindowOf<CDlgSystemConfiguration>(), nullptr);
}

}  // namespace
