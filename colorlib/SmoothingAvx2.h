#pragma once

// The smoothing of the planes in 16-bit AVX2 lanes, shared by the smoothing of whole rows and by
// the colour output that smooths as it writes.

#include "colorlib/CpuFeatures.h"

#include <cstddef>
#include <cstdint>

#ifdef TINTORA_AVX2
#include <immintrin.h>

// The largest plane value: four times the largest expanded sample (1020, input type 3). Every
// plane value is a sum of four samples, or a mean of a few brought to the same scale.
inline constexpr int kMaxPlane = 4080;

__attribute__((target("avx2"))) inline __m256i LoadPlaneAvx2(const std::int16_t* row,
                                                             std::size_t col) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + col));
}

// The sums of the rows above, at and below of sixteen columns from col on.
__attribute__((target("avx2"))) inline __m256i ColumnSumsAvx2(const std::int16_t* up,
                                                              const std::int16_t* mid,
                                                              const std::int16_t* down,
                                                              std::ptrdiff_t col) {
    return _mm256_add_epi16(_mm256_add_epi16(LoadPlaneAvx2(up, col), LoadPlaneAvx2(mid, col)),
                            LoadPlaneAvx2(down, col));
}

// The smoothed values of sixteen pixels from their centres c and 3x3 boxes: 0.75 c + (box - c) /
// 32 truncated, that is (3 c + (box - c) / 8) / 4 with both divisions truncating, is
// (24 c + box - c) / 32 rounded down, which is c + floor((box - 9 c) / 32). With plane values
// within 0 ... kMaxPlane, box - 9 c stays within +-8 kMaxPlane, inside the signed 16-bit range,
// and the value, a weighted mean of the nine, within the planes' range.
__attribute__((target("avx2"))) inline __m256i SmoothedAvx2(__m256i centre, __m256i box) {
    static_assert(8 * kMaxPlane < 32768);
    // One multiply from memory: the compiler would otherwise make it a shift and an add, and the
    // smoothing runs where the vector units, not the loads, are the limit.
    alignas(32) static constexpr std::int16_t kNine[16] = {9, 9, 9, 9, 9, 9, 9, 9,
                                                           9, 9, 9, 9, 9, 9, 9, 9};
    __m256i c9;
    asm("vpmullw %2, %1, %0" : "=x"(c9) : "x"(centre), "m"(kNine));
    return _mm256_add_epi16(centre, _mm256_srai_epi16(_mm256_sub_epi16(box, c9), 5));
}
#endif
