#pragma once

// The colour output: blue, green and red bytes of pixels from the red, green and blue planes
// through the colour matrix.

#include "colorlib/ColorMatrix.h"

#include <cstddef>
#include <cstdint>

// One output byte from a matrix row: the products with the planes in 32-bit floats, summed left
// to right, / 16, truncated and held to 0 ... 255 (a NaN gives 0).
inline std::uint8_t MatrixByte(const CColorMatrix::Row& row, int p1, int p2, int p3) {
    const float v = (row[0] * static_cast<float>(p1) + row[1] * static_cast<float>(p2) +
                     row[2] * static_cast<float>(p3)) /
                    16;
    if (v > 255)
        return 255;
    if (!(v > 0))  // also a NaN from a degenerate matrix
        return 0;
    return static_cast<std::uint8_t>(static_cast<int>(v));
}

// count pixels as B G R at dst, byte c of a pixel being MatrixByte(matrix[2 - c], ...) of its
// plane values (0 ... 32767), on the widest path the processor offers.
void WriteColour(const std::int16_t* const* planes, std::size_t count,
                 const CColorMatrix::Rows& matrix, std::uint8_t* dst);

// The paths one by one, so that each can be held against the plain one.
namespace colour_output {

void WriteColourPlain(const std::int16_t* const* planes, std::size_t count,
                      const CColorMatrix::Rows& matrix, std::uint8_t* dst);
// The pixels it wrote from the first on: all of them, or none where the processor lacks AVX2 or
// there are fewer than 32.
std::size_t WriteColourAvx2(const std::int16_t* const* planes, std::size_t count,
                            const CColorMatrix::Rows& matrix, std::uint8_t* dst);

// count pixels as B G R at dst, each plane (red, green, blue) smoothed first as the converter's
// filter does, from its row at planes[p] and the rows up and down elements away; the first and
// last pixels keep their values, and without withEnds are left to the caller. Plane values must
// lie within 0 ... 4080, as the converter's do. Returns count, or 0 (nothing written) where the
// processor lacks AVX2 or there are fewer than 34 pixels.
std::size_t WriteSmoothedColourAvx2(const std::int16_t* const* planes, std::ptrdiff_t up,
                                    std::ptrdiff_t down, std::size_t count,
                                    const CColorMatrix::Rows& matrix, std::uint8_t* dst,
                                    bool withEnds = true);

// The longest row WriteDemosaicedColourAvx2 takes, so that its pixel positions fit an int.
inline constexpr std::size_t kMaxDemosaicedRow = 65535;

// Pixels 1 ... count - 2 of a row as B G R from dst + 3 on, each demosaiced first as the
// converter does, from the expanded mosaic rows above, at and below it (rows[0 ... 2]: 16-bit
// samples, little-endian, at any byte address; samples within 0 ... 1020): at a site of the row's
// colour four times its sample, the four neighbours across for green and the four diagonal ones
// for the third colour; at a green sample four times its own, twice the two beside for the row's
// colour and twice the two above and below for the third. redSites: the row's sites are red, else
// blue; siteFirst: pixel 1 is one. The first and last pixels are left to the caller. Returns
// count, or 0 (nothing written) where the processor lacks AVX2 or count lies outside
// 34 ... kMaxDemosaicedRow.
std::size_t WriteDemosaicedColourAvx2(const std::uint8_t* const* rows, bool redSites,
                                      bool siteFirst, std::size_t count,
                                      const CColorMatrix::Rows& matrix, std::uint8_t* dst);

}  // namespace colour_output
