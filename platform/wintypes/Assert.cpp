#include "platform/wintypes/Assert.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace {
std::atomic<AssertMode> s_mode{AssertMode::LogAndRecover};
}

void SetAssertMode(AssertMode mode) {
    s_mode = mode;
}

void AssertFailed(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "Internal check failed: %s (%s:%d)\n", condition, file, line);
    if (s_mode == AssertMode::Abort)
        std::abort();
}
