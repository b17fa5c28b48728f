#pragma once

// IClock: the high-resolution counter and millisecond tick behind QueryPerformanceCounter,
// QueryPerformanceFrequency and GetTickCount. Tests put their own clock in place so timing
// code runs without waiting.

#include "platform/wintypes/WinTypes.h"

#include <cstdint>

class IClock {
public:
    virtual ~IClock() = default;
    // A monotonic count and its ticks per second.
    virtual int64_t Counter() const = 0;
    virtual int64_t Frequency() const = 0;
};

// The clock in use: the one set last, else the system's monotonic clock in nanoseconds.
IClock& AfxClock();
// Puts a clock in place (nullptr: back to the system's) and returns the one it replaces. The
// caller keeps ownership.
IClock* AfxSetClock(IClock* clock);

struct LARGE_INTEGER {
    int64_t QuadPart = 0;
};

BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
// Milliseconds of the clock, wrapping at 2^32.
DWORD GetTickCount();
