#include "platform/framework/Clock.h"

#include <chrono>

namespace {

class SystemClock : public IClock {
public:
    int64_t Counter() const override {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    int64_t Frequency() const override { return 1'000'000'000; }
};

IClock* s_clock = nullptr;

}  // namespace

IClock& AfxClock() {
    static SystemClock system;
    return s_clock ? *s_clock : system;
}

IClock* AfxSetClock(IClock* clock) {
    IClock* previous = s_clock;
    s_clock = clock;
    return previous;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
    count->QuadPart = AfxClock().Counter();
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = AfxClock().Frequency();
    return TRUE;
}

DWORD GetTickCount() {
    const IClock& clock = AfxClock();
    const int64_t frequency = clock.Frequency();
    const int64_t counter = clock.Counter();
    // Split to keep the product in range for large counts.
    const int64_t ms = counter / frequency * 1000 + counter % frequency * 1000 / frequency;
    return static_cast<DWORD>(ms);
}
