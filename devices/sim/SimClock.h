#pragma once

// The host clock as the simulated devices read it: frame and scan numbers at a rate.

#include "devices/core/DriverApi.h"

#include <cmath>

struct SimClock {
    const DriverHostServices* host = nullptr;

    int64_t NowNs() const { return host && host->now ? host->now(host->context) : 0; }
    // The number of periods of rate completed between startNs and now.
    int64_t TicksSince(int64_t startNs, double rate) const {
        const double elapsed = static_cast<double>(NowNs() - startNs) * 1e-9;
        return elapsed <= 0 || rate <= 0 ? 0
                                         : static_cast<int64_t>(std::floor(elapsed * rate + 1e-9));
    }
    void RequestPoll(int64_t delayNs) const {
        if (host && host->requestPoll)
            host->requestPoll(host->context, delayNs);
    }
};
