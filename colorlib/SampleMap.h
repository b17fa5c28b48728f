#pragma once

// The sample scales of the input types: how an 8-bit camera sample expands to the 10-bit
// working scale, and how a working value folds back to one output byte.

#include <array>
#include <cstdint>

using InputTable = std::array<std::uint16_t, 256>;

// Fills table with the expanded value of every 8-bit sample for input type.
void BuildInputTable(int type, InputTable& table);

// A table as straight pieces: sample a maps to offset[k] + slope[k] * a modulo 2^16, k the last
// piece with start[k] <= a; start[0] is 0. count is 0 when the table needs more than kMax pieces.
struct InputPieces {
    static constexpr int kMax = 4;
    int count = 0;
    std::array<int, kMax> start{};
    std::array<std::uint16_t, kMax> slope{};
    std::array<std::uint16_t, kMax> offset{};
};

InputPieces DescribeInputTable(const InputTable& table);

// Folds a 10-bit working value back to 8 bits for input type; never above 255.
std::uint8_t MapTo8Bit(int type, int x);
