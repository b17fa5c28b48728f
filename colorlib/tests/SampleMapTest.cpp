#include "colorlib/SampleMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::uint8_t kGuard = 0xA5;

// Every sample value in random order, repeated up to count samples.
std::vector<std::uint8_t> Samples(std::size_t count, std::mt19937& random) {
    std::vector<std::uint8_t> all(256);
    std::iota(all.begin(), all.end(), 0);
    std::vector<std::uint8_t> samples;
    while (samples.size() < count) {
        std::shuffle(all.begin(), all.end(), random);
        samples.insert(samples.end(), all.begin(), all.end());
    }
    samples.resize(count);
    return samples;
}

// Expands through the vector path (or, with vector false, the dispatching one) into a buffer
// one byte off alignment, and checks every value against the table and the bytes beyond.
void ExpectExpandsLikeTable(const InputTable& table, bool vector, const char* what) {
    const InputRamps ramps = DescribeInputTable(table);
    std::mt19937 random(1020);
    for (std::size_t count : {std::size_t{31}, std::size_t{32}, std::size_t{33}, std::size_t{63},
                              std::size_t{273}, std::size_t{1000}}) {
        const auto src = Samples(count, random);
        std::vector<std::uint8_t> out(1 + 2 * count + 32, kGuard);
        if (vector) {
            const std::size_t done =
                sample_map::ExpandSamplesAvx2(ramps, src.data(), count, out.data() + 1);
            if (count < 32) {
                EXPECT_EQ(done, 0u);
                continue;
            }
            if (done == 0)
                GTEST_SKIP() << "no AVX2 on this processor";
            ASSERT_EQ(done, count);
        } else {
            ExpandSamples(table, ramps, src.data(), count, out.data() + 1);
        }
        for (std::size_t i = 0; i < count; ++i) {
            std::uint16_t v;
            std::memcpy(&v, out.data() + 1 + 2 * i, sizeof v);
            ASSERT_EQ(v, table[src[i]]) << what << ", sample " << int{src[i]} << " of " << count;
        }
        EXPECT_EQ(out[0], kGuard);
        for (std::size_t i = 1 + 2 * count; i < out.size(); ++i)
            ASSERT_EQ(out[i], kGuard) << what << ": byte " << i << " beyond the samples";
    }
}

TEST(SampleMapTest, EveryInputTypeExpandsOnTheVectorPathAsItsTable) {
    for (int type : {0, 1, 2, 3, 6, 7, 4, -1}) {
        InputTable table;
        BuildInputTable(type, table);
        EXPECT_GT(DescribeInputTable(table).count, 0) << "type " << type;
        const std::string what = "type " + std::to_string(type);
        ExpectExpandsLikeTable(table, true, what.c_str());
        ExpectExpandsLikeTable(table, false, what.c_str());
    }
}

TEST(SampleMapTest, RampsFollowAnyScaleTheyCanDescribe) {
    struct Case {
        const char* what;
        int (*value)(int a);
        bool describable;
    };
    const Case cases[] = {
        // Falling slopes, the largest weights either way and values that wrap modulo 2^16.
        {"falling and wrapping",
         [](int a) { return 65000 - 3 * a + 64 * std::max(a - 10, 0) - 64 * std::max(a - 200, 0); },
         true},
        {"four ramps from an offset",
         [](int a) {
             return 7 + 2 * a + std::max(a - 1, 0) - 5 * std::max(a - 128, 0) +
                    9 * std::max(a - 254, 0);
         },
         true},
        {"weight beyond 64", [](int a) { return 65 * a; }, false},
        {"five ramps",
         [](int a) {
             return a + std::max(a - 50, 0) + std::max(a - 100, 0) + std::max(a - 150, 0) +
                    std::max(a - 200, 0);
         },
         false},
        {"a step", [](int a) { return a < 100 ? a : a + 1; }, true},
        {"a curve", [](int a) { return a * a / 64; }, false},
    };
    for (const Case& c : cases) {
        InputTable table;
        for (int a = 0; a < 256; ++a)
            table[a] = static_cast<std::uint16_t>(c.value(a));
        EXPECT_EQ(DescribeInputTable(table).count > 0, c.describable) << c.what;
        if (c.describable)
            ExpectExpandsLikeTable(table, true, c.what);
        ExpectExpandsLikeTable(table, false, c.what);
    }
}

}  // namespace
