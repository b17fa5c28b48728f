#pragma once

// The sample scales of the input types: how an 8-bit camera sample expands to the 10-bit
// working scale, and how a working value folds back to one output byte.

#include <array>
#include <cstdint>

using InputTable = std::array<std::uint16_t, 256>;

// Fills table with the expanded value of every 8-bit sample for input type.
void BuildInputTable(int type, InputTable& table);

// Folds a 10-bit working value back to 8 bits for input type; never above 255.
std::uint8_t MapTo8Bit(int type, int x);
