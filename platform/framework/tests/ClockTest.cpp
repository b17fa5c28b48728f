#include "platform/framework/Clock.h"
#include "testsupport/ManualClock.h"

#include <gtest/gtest.h>

namespace {

int64_t Counter() {
    LARGE_INTEGER count;
    EXPECT_TRUE(QueryPerformanceCounter(&count));
    return count.QuadPart;
}

TEST(ClockTest, ReplacedClockDrivesCounterFrequencyAndTicks) {
    {
        ManualClock clock(1'000'000);
        LARGE_INTEGER frequency;
        EXPECT_TRUE(QueryPerformanceFrequency(&frequency));
        EXPECT_EQ(frequency.QuadPart, 1'000'000);
        clock.Set(2'500'999);
        EXPECT_EQ(Counter(), 2'500'999);
        EXPECT_EQ(GetTickCount(), 2500u);
        // Ticks wrap at 2^32 ms, far beyond where counter times frequency would overflow.
        clock.Set((int64_t{1} << 32) * 1000 * 1000 + 7'000);
        EXPECT_EQ(GetTickCount(), 7u);
        clock.Advance(1'000);
        EXPECT_EQ(GetTickCount(), 8u);
    }
    // Back on the system clock, which only moves forward.
    const int64_t first = Counter();
    EXPECT_GT(first, 2'500'999);
    EXPECT_GE(Counter(), first);
}

}  // namespace
