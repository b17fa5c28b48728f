#pragma once

// AllocationProbe: records the largest single allocation made through operator new while it
// is alive, so tests can show that counts read from a damaged file never drive an allocation.

#include <cstddef>

class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;

    size_t Largest() const;
    void Reset();
};
