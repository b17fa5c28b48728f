#pragma once

// Tests start the program where there is no update server: this turns its start-up update
// check off in the test's own registry, as a user would in Program Options.

#include "platform/registry/Registry.h"

inline void TurnStartupUpdateCheckOff() {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Tolvar\\Vidra OS\\Options"),
                       KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    RegSetDword(key, QStringLiteral("Update : bUpdateCheck"), 0);
    RegFlushKey(key);
    RegCloseKey(key);
}
