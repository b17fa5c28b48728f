#include "AllocationProbe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_armed{false};
std::atomic<size_t> g_largest{0};

}  // namespace

AllocationProbe::AllocationProbe() {
    Reset();
    g_armed = true;
}

AllocationProbe::~AllocationProbe() {
    g_armed = false;
}

size_t AllocationProbe::Largest() const {
    return g_largest;
}

void AllocationProbe::Reset() {
    g_largest = 0;
}

// The replaced global allocation functions of this test program.
void* operator new(size_t size) {
    if (g_armed) {
        size_t seen = g_largest;
        while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
