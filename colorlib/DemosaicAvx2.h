#pragma once

// The demosaic of sixteen interior pixels in 16-bit AVX2 lanes, shared by the demosaic of whole
// rows and by the colour output that demosaics as it writes.

#include "colorlib/CpuFeatures.h"

#include <cstdint>

#ifdef TINTORA_AVX2
#include <immintrin.h>

// Sixteen samples of an expanded mosaic row (16-bit, little-endian, at any byte address) from
// col on.
__attribute__((target("avx2"))) inline __m256i LoadMosaicAvx2(const std::uint8_t* row, int col) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 2 * col));
}

// Lanes whose pixel is a site of the row's colour, for sixteen pixels from one that is
// (siteFirst) or is not; sites alternate.
__attribute__((target("avx2"))) inline __m256i SiteLanesAvx2(bool siteFirst) {
    return siteFirst ? _mm256_set1_epi32(0x0000FFFF) : _mm256_set1_epi32(-65536);
}

// The three planes of sixteen pixels of a row with rows above and below: the row's site colour
// (red in rows of red sites, else blue), green, and the other colour.
struct DemosaicedAvx2 {
    __m256i site;
    __m256i green;
    __m256i other;
};

// Pixels col ... col + 15, none of them on the row's first or last column: at a site its own
// sample, the four neighbours across for green and the four diagonal ones for the other colour;
// at a green sample its own, the two beside for the site colour and the two above and below for
// the other; all at four times the sample scale.
__attribute__((target("avx2"))) inline DemosaicedAvx2 DemosaicAvx2(const std::uint8_t* up,
                                                                   const std::uint8_t* mid,
                                                                   const std::uint8_t* down,
                                                                   int col, __m256i site) {
    const __m256i c = LoadMosaicAvx2(mid, col);
    const __m256i horizontal =
        _mm256_add_epi16(LoadMosaicAvx2(mid, col - 1), LoadMosaicAvx2(mid, col + 1));
    const __m256i vertical = _mm256_add_epi16(LoadMosaicAvx2(up, col), LoadMosaicAvx2(down, col));
    const __m256i diagonal = _mm256_add_epi16(
        _mm256_add_epi16(LoadMosaicAvx2(up, col - 1), LoadMosaicAvx2(up, col + 1)),
        _mm256_add_epi16(LoadMosaicAvx2(down, col - 1), LoadMosaicAvx2(down, col + 1)));
    const __m256i own = _mm256_slli_epi16(c, 2);
    return {_mm256_blendv_epi8(_mm256_add_epi16(horizontal, horizontal), own, site),
            _mm256_blendv_epi8(own, _mm256_add_epi16(horizontal, vertical), site),
            _mm256_blendv_epi8(_mm256_add_epi16(vertical, vertical), diagonal, site)};
}
#endif
