#pragma once

// A host services table whose clock the test moves, and which counts poll requests.

#include "devices/core/DriverApi.h"

struct SimHostClock {
    int64_t nowNs = 0;
    int polls = 0;
    DriverHostServices services;

    SimHostClock() {
        services.now = [](void* self) { return static_cast<SimHostClock*>(self)->nowNs; };
        services.requestPoll = [](void* self, int64_t) {
            ++static_cast<SimHostClock*>(self)->polls;
        };
        services.context = this;
    }
    SimHostClock(const SimHostClock&) = delete;
    SimHostClock& operator=(const SimHostClock&) = delete;
    // Moves to the moment frame (or scan) n of rate is due.
    void AtTick(int64_t n, double rate) { nowNs = static_cast<int64_t>(n * 1e9 / rate); }
};
