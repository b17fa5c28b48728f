#pragma once

// The lock count of the module this code is linked into: live objects and LockServer calls
// keep the module loaded (DllCanUnloadNow answers S_FALSE while the count is above zero).
// Each module links its own copy of this layer, so each has its own count.

#include "platform/wintypes/WinTypes.h"

void ComModuleLock();
void ComModuleUnlock();
LONG ComModuleLockCount();
