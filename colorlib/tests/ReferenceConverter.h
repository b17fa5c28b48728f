#pragma once

// A slow, literal model of the conversion, pixel by pixel in the stated arithmetic (double
// smoothing, float matrix products), to hold the optimised library against.

#include <array>
#include <cstdint>
#include <vector>

namespace reference {

using Matrix = std::array<std::array<float, 3>, 3>;

struct Frame {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> samples;
};

// The colour (0 red, 1 green, 2 blue) of the sample at (y, x) for a variant.
int ColourAt(int variant, int y, int x);

int ExpandSample(int type, int a);

// Demosaic planes (red, green, blue) at four times the expanded scale.
std::array<std::vector<int>, 3> Demosaic(const Frame& frame, int type, int variant);

std::array<std::vector<int>, 3> Smooth(const std::array<std::vector<int>, 3>& planes, int width,
                                       int height);

// The bytes the conversion writes in mode (empty for a mode that writes nothing).
std::vector<std::uint8_t> Convert(const Frame& frame, int type, int variant, bool skipFilter,
                                  int mode, const Matrix& matrix);

}  // namespace reference
