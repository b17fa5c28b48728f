#include "platform/com/ComModule.h"

#include "platform/wintypes/Assert.h"

namespace {
LONG s_lockCount = 0;
}

void ComModuleLock() {
    ++s_lockCount;
}

void ComModuleUnlock() {
    if (!RM_ASSERT(s_lockCount > 0))
        return;
    --s_lockCount;
}

LONG ComModuleLockCount() {
    return s_lockCount;
}
