#pragma once

// The sample scales of the input types: how an 8-bit camera sample expands to the 10-bit
// working scale, and how a working value folds back to one output byte.

#include <array>
#include <cstddef>
#include <cstdint>

using InputTable = std::array<std::uint16_t, 256>;

// Fills table with the expanded value of every 8-bit sample for input type.
void BuildInputTable(int type, InputTable& table);

// A table as a sum of ramps: sample a maps to offset + the sum over k of
// weight[k] * max(a - start[k], 0), modulo 2^16, with start[0] = 0. Every table of a continuous
// piecewise straight scale has this form; count is 0 when the table needs more than kMax ramps or
// a weight outside -64 ... 64.
struct InputRamps {
    static constexpr int kMax = 4;
    int count = 0;
    std::uint16_t offset = 0;
    std::array<std::uint8_t, kMax> start{};
    std::array<std::int8_t, kMax> weight{};
};

InputRamps DescribeInputTable(const InputTable& table);

// Expands count samples into 16-bit values through the table, stored little-endian at mosaic
// (which need not be 2-byte aligned), on the widest path the processor offers.
void ExpandSamples(const InputTable& table, const InputRamps& ramps, const std::uint8_t* src,
                   std::size_t count, std::uint8_t* mosaic);

namespace sample_map {

// The samples it expanded from the first on: all of them, or none where the processor lacks AVX2,
// the table has no ramps or there are fewer than 32 samples.
std::size_t ExpandSamplesAvx2(const InputRamps& ramps, const std::uint8_t* src, std::size_t count,
                              std::uint8_t* mosaic);

}  // namespace sample_map

// Folds a 10-bit working value back to 8 bits for input type; never above 255.
std::uint8_t MapTo8Bit(int type, int x);
