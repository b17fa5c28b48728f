#include "colorlib/Tintora.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

// This test program replaces the global allocation functions, so the library's plane
// allocations can be counted and made to fail. Only calls made while counting is on are seen.
namespace {

std::atomic<bool> g_counting{false};
std::atomic<int> g_allocations{0};
// While counting, the nothrow allocation with this number (from 1) and all later ones fail.
std::atomic<int> g_failFrom{0};

void* Allocate(std::size_t size, bool mayFail) {
    if (g_counting.load()) {
        const int number = ++g_allocations;
        if (mayFail && g_failFrom.load() > 0 && number >= g_failFrom.load())
            return nullptr;
    }
    return std::malloc(size ? size : 1);
}

void* AllocateOrThrow(std::size_t size) {
    if (void* p = Allocate(size, false))
        return p;
    throw std::bad_alloc();
}

// Counts the allocations made by body.
template <typename Body>
int CountAllocations(Body body, int failFrom = 0) {
    g_allocations = 0;
    g_failFrom = failFrom;
    g_counting = true;
    body();
    g_counting = false;
    g_failFrom = 0;
    return g_allocations.load();
}

}  // namespace

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size, true);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size, true);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

namespace {

TEST(TintoraAllocationTest, PlanesAreAllocatedOncePerFrameSize) {
    OrvexGetSingleColor(0);
    // A size no other test uses, so the first call must set up.
    const int w = 37, h = 23;
    std::vector<unsigned char> src(w * h, 77);
    std::vector<unsigned char> dst(3 * w * h);
    const auto convert = [&](int width, int height, int type, int variant, int skip) {
        EXPECT_EQ(OrvexMonoToRgb(width, height, type, variant, skip, src.data(), dst.data()), 0);
    };

    EXPECT_EQ(CountAllocations([&] { convert(w, h, 0, 0, 0); }), 6);
    EXPECT_EQ(CountAllocations([&] {
                  convert(w, h, 0, 0, 0);
                  convert(w, h, 3, 1, 1);
                  convert(w, h, 6, 0, 0);
                  for (int mode : {1, 5, 8, 12}) {
                      OrvexGetSingleColor(mode);
                      convert(w, h, 0, 1, 0);
                  }
                  OrvexGetSingleColor(0);
                  EXPECT_EQ(OrvexRgbSetup(w, h), 0);
                  OrvexWhiteBalanceRegion(0, 0, w, h, dst.data());
              }),
              0);
    // The same pixel count in another shape reuses the planes.
    EXPECT_EQ(CountAllocations([&] { convert(h, w, 0, 0, 0); }), 0);
    EXPECT_EQ(CountAllocations([&] { convert(w - 1, h, 0, 0, 0); }), 6);
    EXPECT_EQ(CountAllocations([&] { TintoraDeallocate(); }), 0);
    EXPECT_EQ(CountAllocations([&] { convert(w - 1, h, 0, 0, 0); }), 6);
}

TEST(TintoraAllocationTest, FailedSetUpLeavesNoFrameSize) {
    OrvexGetSingleColor(0);
    const float r[3] = {1, 0, 0}, g[3] = {0, 1, 0}, b[3] = {0, 0, 1};
    OrvexSetColorCoeff(r, g, b);
    const int w = 41, h = 29;
    std::vector<unsigned char> src(w * h, 120);
    std::vector<unsigned char> dst(3 * w * h, 0xA5);
    for (int failFrom = 1; failFrom <= 6; ++failFrom) {
        CountAllocations([&] { EXPECT_EQ(OrvexRgbSetup(w, h), -1) << failFrom; }, failFrom);
        // No frame size: a region has nothing to sample.
        std::vector<unsigned char> rgb(3 * w * h, 255);
        EXPECT_EQ(OrvexWhiteBalanceRegion(0, 0, 4, 4, rgb.data()), 0);
    }
    CountAllocations([&] { EXPECT_EQ(OrvexMonoToRgb(w, h, 0, 0, 0, src.data(), dst.data()), -1); },
                     1);
    EXPECT_TRUE(std::all_of(dst.begin(), dst.end(), [](int v) { return v == 0xA5; }));
    // Memory back: the next conversion sets up and converts.
    EXPECT_EQ(OrvexMonoToRgb(w, h, 0, 0, 0, src.data(), dst.data()), 0);
    // Type 0 expands 120 to 224; the identity matrix gives 4 * 224 / 16.
    EXPECT_EQ(dst[0], 56);
}

}  // namespace
