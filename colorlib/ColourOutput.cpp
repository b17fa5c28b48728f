#include "colorlib/ColourOutput.h"

#include "colorlib/CpuFeatures.h"
#include "colorlib/DemosaicAvx2.h"
#include "colorlib/SmoothingAvx2.h"

#include <algorithm>
#include <bit>
#include <cstring>

#ifdef TINTORA_AVX2
#include <immintrin.h>
#endif

#ifdef TINTORA_AVX2
namespace {

// One matrix row for eight pixels as 32-bit lanes of trunc(s) / 16, s the row sum. Capping s at
// 16 * 255 before truncating and letting the byte packing saturate what is below 0 gives the
// byte of MatrixByte: s / 16 only scales by a power of two; a NaN stays in the min() with the cap
// first and converts, like any s beyond the 32-bit range below, to the most negative integer.
// With kScaled the coefficients come divided by 16 and every sum lies well inside the 32-bit
// range (see ScalesExactly), so the lanes hold trunc(s / 16) and the packing saturates both ways.
template <bool kScaled>
__attribute__((target("avx2"))) inline __m256i RowLevelsAvx2(const __m256* coeff, __m256 f1,
                                                             __m256 f2, __m256 f3) {
    const __m256 sum =
        _mm256_add_ps(_mm256_add_ps(_mm256_mul_ps(coeff[0], f1), _mm256_mul_ps(coeff[1], f2)),
                      _mm256_mul_ps(coeff[2], f3));
    if constexpr (kScaled)
        return _mm256_cvttps_epi32(sum);
    const __m256 capped = _mm256_min_ps(_mm256_set1_ps(16 * 255), sum);
    return _mm256_srai_epi32(_mm256_cvttps_epi32(capped), 4);
}

// Masks and byte orders that interleave 32 blue, green and red bytes into 96 output bytes: per
// 128-bit lane, output chunk k (16 bytes of the lane's 48) takes at byte j channel (k + j) % 3,
// and shuffling channel c by order[c] puts the byte it owes there at j, for every k at once.
struct InterleaveAvx2 {
    __m256i order[3];
    __m256i channel[3];  // byte j is 0xFF where j % 3 == c
};

__attribute__((target("avx2"))) InterleaveAvx2 MakeInterleaveAvx2() {
    alignas(32) std::int8_t order[3][32];
    alignas(32) std::int8_t channel[3][32];
    for (int c = 0; c < 3; ++c) {
        for (int b = 0; b < 32; ++b) {
            const int j = b % 16;
            const int k = ((c - j) % 3 + 3) % 3;
            order[c][b] = static_cast<std::int8_t>((16 * k + j - c) / 3);
            channel[c][b] = static_cast<std::int8_t>(j % 3 == c ? -1 : 0);
        }
    }
    InterleaveAvx2 v;
    for (int c = 0; c < 3; ++c) {
        v.order[c] = _mm256_load_si256(reinterpret_cast<const __m256i*>(order[c]));
        v.channel[c] = _mm256_load_si256(reinterpret_cast<const __m256i*>(channel[c]));
    }
    return v;
}

// 96 bytes B G R at out from the blue, green and red bytes of 32 pixels in pixel order.
__attribute__((target("avx2"))) inline void StoreInterleavedAvx2(const __m256i* bytes,
                                                                 const InterleaveAvx2& il,
                                                                 std::uint8_t* out) {
    __m256i s[3];
    for (int c = 0; c < 3; ++c)
        s[c] = _mm256_shuffle_epi8(bytes[c], il.order[c]);
    const __m256i* m = il.channel;
    const __m256i c0 = _mm256_blendv_epi8(_mm256_blendv_epi8(s[0], s[1], m[1]), s[2], m[2]);
    const __m256i c1 = _mm256_blendv_epi8(_mm256_blendv_epi8(s[0], s[1], m[0]), s[2], m[1]);
    const __m256i c2 = _mm256_blendv_epi8(_mm256_blendv_epi8(s[0], s[1], m[2]), s[2], m[0]);
    __m256i* o = reinterpret_cast<__m256i*>(out);
    _mm256_storeu_si256(o, _mm256_permute2x128_si256(c0, c1, 0x20));
    _mm256_storeu_si256(o + 1, _mm256_permute2x128_si256(c2, c0, 0x30));
    _mm256_storeu_si256(o + 2, _mm256_permute2x128_si256(c1, c2, 0x31));
}

// The steps below need nearly every vector register for the pixels, so they read the
// coefficients from memory where they use them: the empty asm statement makes the pointer opaque,
// which stops the compiler from holding the coefficients in registers and spilling the pixels
// instead.
__attribute__((target("avx2"))) inline const __m256 (
    *FreshCoefficients(const __m256 (*coeff)[3]))[3] {
    asm volatile("" : "+r"(coeff));
    return coeff;
}

// 32 pixels from i on: 96 bytes B G R at out.
template <bool kScaled>
__attribute__((target("avx2"))) inline void Store32Avx2(const std::int16_t* const* planes,
                                                        std::size_t i, const __m256 (*coeff)[3],
                                                        const InterleaveAvx2& il,
                                                        std::uint8_t* out) {
    __m256i words[2][3];
    for (int h = 0; h < 2; ++h) {
        __m256i level[2][3];
        for (int q = 0; q < 2; ++q) {
            __m256 f[3];
            for (int p = 0; p < 3; ++p) {
                const __m128i v = _mm_loadu_si128(
                    reinterpret_cast<const __m128i*>(planes[p] + i + 16 * h + 8 * q));
                f[p] = _mm256_cvtepi32_ps(_mm256_cvtepu16_epi32(v));
            }
            coeff = FreshCoefficients(coeff);
            for (int c = 0; c < 3; ++c)
                level[q][c] = RowLevelsAvx2<kScaled>(coeff[c], f[0], f[1], f[2]);
        }
        // 32-bit groups of four pixels: 0 2 | 1 3 after the packs.
        for (int c = 0; c < 3; ++c)
            words[h][c] = _mm256_packs_epi32(level[0][c], level[1][c]);
    }
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    __m256i bytes[3];
    for (int c = 0; c < 3; ++c) {
        bytes[c] =
            _mm256_permutevar8x32_epi32(_mm256_packus_epi16(words[0][c], words[1][c]), order);
    }
    StoreInterleavedAvx2(bytes, il, out);
}

// Half h of each plane's values v[p][h] as 32-bit floats: pixels 0-3 | 8-11 in f[p][0] and 4-7 |
// 12-15 in f[p][1].
__attribute__((target("avx2"))) inline void PlaneFloatsAvx2(const __m256i (&v)[3][2], int h,
                                                            __m256 (&f)[3][2]) {
    const __m256i zero = _mm256_setzero_si256();
    for (int p = 0; p < 3; ++p) {
        f[p][0] = _mm256_cvtepi32_ps(_mm256_unpacklo_epi16(v[p][h], zero));
        f[p][1] = _mm256_cvtepi32_ps(_mm256_unpackhi_epi16(v[p][h], zero));
    }
}

// 32 pixels from the red, green and blue values v[p][0] of the first sixteen and v[p][1] of the
// others (0 ... 32767): 96 bytes B G R at out.
template <bool kScaled>
__attribute__((target("avx2"))) inline void StoreValues32Avx2(const __m256i (&v)[3][2],
                                                              const __m256 (*coeff)[3],
                                                              const InterleaveAvx2& il,
                                                              std::uint8_t* out) {
    __m256i words[2][3];
#pragma GCC unroll 2
    for (int h = 0; h < 2; ++h) {
        __m256 f[3][2];
        PlaneFloatsAvx2(v, h, f);
        coeff = FreshCoefficients(coeff);
        // The packs put the two halves back in pixel order.
        for (int c = 0; c < 3; ++c) {
            words[h][c] =
                _mm256_packs_epi32(RowLevelsAvx2<kScaled>(coeff[c], f[0][0], f[1][0], f[2][0]),
                                   RowLevelsAvx2<kScaled>(coeff[c], f[0][1], f[1][1], f[2][1]));
        }
    }
    // Pixels 0-7 16-23 | 8-15 24-31 after the packs, in order after the permute.
    __m256i bytes[3];
    for (int c = 0; c < 3; ++c) {
        bytes[c] = _mm256_permute4x64_epi64(_mm256_packus_epi16(words[0][c], words[1][c]), 0xD8);
    }
    StoreInterleavedAvx2(bytes, il, out);
}

// Byte orders that put four pixels B G R into the first twelve bytes of each 128-bit lane, from
// the bytes a pack of blue and green words with red words leaves there: blue at i and green at
// 4 + i for pixel i, red at 8 + i (kRedHigh false) or 12 + i (true). The last four bytes are zero.
template <bool kRedHigh>
__attribute__((target("avx2"))) inline __m256i PieceOrderAvx2() {
    constexpr auto kOrder = [] {
        struct {
            alignas(32) std::int8_t at[32];
        } t{};
        for (int b = 0; b < 32; ++b) {
            const int j = b % 16;
            const int i = j / 3;
            const int c = j % 3;
            t.at[b] = static_cast<std::int8_t>(j >= 12  ? -128
                                               : c == 2 ? (kRedHigh ? 12 : 8) + i
                                                        : 4 * c + i);
        }
        return t;
    }();
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(kOrder.at));
}

// StoreValues32Avx2's bytes, stored as eight pieces of four pixels: each piece a 16-byte store
// whose last four bytes are overwritten by the next piece; those of the last piece fall on the
// two pixels after the 32, which the caller must write afterwards.
template <bool kScaled>
__attribute__((target("avx2"))) inline void StoreValuesInPieces32Avx2(const __m256i (&v)[3][2],
                                                                      const __m256 (*coeff)[3],
                                                                      std::uint8_t* out) {
#pragma GCC unroll 2
    for (int h = 0; h < 2; ++h) {
        __m256 f[3][2];
        PlaneFloatsAvx2(v, h, f);
        coeff = FreshCoefficients(coeff);
        __m256i level[2][3];
        for (int q = 0; q < 2; ++q) {
            for (int c = 0; c < 3; ++c)
                level[q][c] = RowLevelsAvx2<kScaled>(coeff[c], f[0][q], f[1][q], f[2][q]);
        }
        // Per 128-bit lane: four blue and four green words of each half, the red words of both.
        const __m256i red = _mm256_packs_epi32(level[0][2], level[1][2]);
        const __m256i low = _mm256_shuffle_epi8(
            _mm256_packus_epi16(_mm256_packs_epi32(level[0][0], level[0][1]), red),
            PieceOrderAvx2<false>());
        const __m256i high = _mm256_shuffle_epi8(
            _mm256_packus_epi16(_mm256_packs_epi32(level[1][0], level[1][1]), red),
            PieceOrderAvx2<true>());
        // Pixels 0-3 | 8-11 in low, 4-7 | 12-15 in high.
        std::uint8_t* const o = out + 48 * h;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm256_castsi256_si128(low));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 12), _mm256_castsi256_si128(high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 24), _mm256_extracti128_si256(low, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 36), _mm256_extracti128_si256(high, 1));
    }
}

// A step's 32 pixels from their plane values: in pieces (StoreValuesInPieces32Avx2) or whole
// (StoreValues32Avx2).
template <bool kScaled, bool kInPieces>
__attribute__((target("avx2"))) inline void StoreStep32Avx2(const __m256i (&v)[3][2],
                                                            const __m256 (*coeff)[3],
                                                            const InterleaveAvx2& il,
                                                            std::uint8_t* out) {
    if constexpr (kInPieces)
        StoreValuesInPieces32Avx2<kScaled>(v, coeff, out);
    else
        StoreValues32Avx2<kScaled>(v, coeff, il, out);
}

// What a run of smoothing steps 32 pixels apart hands on, for each plane: the column sums of the
// next step's columns x ... x + 15, and of x - 8 ... x + 7. The sums either side of a step then
// come from registers instead of loads that straddle cache lines.
struct SmoothingCarryAvx2 {
    __m256i sums[3];
    __m256i across[3];
};

// A carry's second vector for a step at x, from the column sums of columns x - 1 ... x + 14.
__attribute__((target("avx2"))) inline __m256i CarriedAcrossAvx2(__m256i left) {
    // Word 7 of each 128-bit lane is what the carry holds there: column x - 1 and x + 7.
    return _mm256_bslli_epi128(left, 14);
}

// 32 pixels from x on, each plane smoothed first (see SmoothedAvx2) from its row and the rows up
// and down elements away: 96 bytes B G R at out. With kCarried the sums of columns x - 1 ... x + 15
// come from carry, which takes the ones of the step 32 pixels on (the rows then must hold columns
// up to x + 47), and the bytes go out in pieces (see StoreValuesInPieces32Avx2): a carried step
// always has another after it; else the rows must hold columns x - 1 ... x + 32.
template <bool kScaled, bool kCarried>
__attribute__((target("avx2"))) inline void StoreSmoothed32Avx2(
    const std::int16_t* const* planes, std::ptrdiff_t up, std::ptrdiff_t down, std::size_t x,
    SmoothingCarryAvx2& carry, const __m256 (*coeff)[3], const InterleaveAvx2& il,
    std::uint8_t* out) {
    const auto at = static_cast<std::ptrdiff_t>(x);
    __m256i v[3][2];
    for (int p = 0; p < 3; ++p) {
        const std::int16_t* mid = planes[p];
        const auto sums =
            [ mid, up, down, at ](std::ptrdiff_t d) __attribute__((always_inline, target("avx2"))) {
            return ColumnSumsAvx2(mid + up, mid, mid + down, at + d);
        };
        // Columns x ... x + 15, x + 16 ... x + 31, and their neighbours on either side.
        __m256i first;
        __m256i left;
        if constexpr (kCarried) {
            first = carry.sums[p];
            left = _mm256_alignr_epi8(first, carry.across[p], 14);
        } else {
            first = sums(0);
            left = sums(-1);
        }
        const __m256i second = sums(16);
        // Columns 8 ... 23.
        const __m256i across = _mm256_permute2x128_si256(first, second, 0x21);
        __m256i right;
        if constexpr (kCarried) {
            const __m256i next = sums(32);
            const __m256i nextAcross = _mm256_permute2x128_si256(second, next, 0x21);
            right = _mm256_alignr_epi8(nextAcross, second, 2);
            carry.sums[p] = next;
            carry.across[p] = nextAcross;
        } else {
            right = sums(17);
        }
        const __m256i box0 =
            _mm256_add_epi16(_mm256_add_epi16(left, first), _mm256_alignr_epi8(across, first, 2));
        const __m256i box1 = _mm256_add_epi16(
            _mm256_add_epi16(_mm256_alignr_epi8(second, across, 14), second), right);
        v[p][0] = SmoothedAvx2(LoadPlaneAvx2(mid, at), box0);
        v[p][1] = SmoothedAvx2(LoadPlaneAvx2(mid, at + 16), box1);
    }
    StoreStep32Avx2<kScaled, kCarried>(v, coeff, il, out);
}

// Whether the matrix may be divided by 16 ahead: with every coefficient 0 or of a magnitude in
// [2^-90, 2^18], every product of a plane value (below 2^16) and every partial sum stays a
// normal float or an exact zero both ways, and rounding commutes with scaling by a power of two
// there, so each scaled intermediate is the unscaled one / 16 and the bytes are the same; the
// scaled sums also stay below 3 * 2^14 * 2^16 / 16 < 2^31 in magnitude.
bool ScalesExactly(const CColorMatrix::Rows& matrix) {
    // On the magnitudes' bit patterns, which order like the magnitudes; a NaN lies above 2^18.
    constexpr std::uint32_t kLow = std::bit_cast<std::uint32_t>(0x1p-90f);
    constexpr std::uint32_t kHigh = std::bit_cast<std::uint32_t>(0x1p18f);
    bool exact = true;
    for (const CColorMatrix::Row& row : matrix) {
        for (float c : row) {
            const std::uint32_t m = std::bit_cast<std::uint32_t>(c) & 0x7FFFFFFFu;
            exact &= m == 0 || (m >= kLow && m <= kHigh);
        }
    }
    return exact;
}

template <bool kScaled>
__attribute__((target("avx2"))) void SetCoefficientsAvx2(const CColorMatrix::Rows& matrix,
                                                         __m256 (*coeff)[3]) {
    for (int k = 0; k < 3; ++k) {
        for (int j = 0; j < 3; ++j)
            coeff[k][j] = _mm256_set1_ps(kScaled ? matrix[2 - k][j] / 16 : matrix[2 - k][j]);
    }
}

template <bool kScaled>
__attribute__((target("avx2"))) void WriteColour32Avx2(const std::int16_t* const* planes,
                                                       const CColorMatrix::Rows& matrix,
                                                       std::uint8_t* dst, std::size_t count) {
    __m256 coeff[3][3];
    SetCoefficientsAvx2<kScaled>(matrix, coeff);
    const InterleaveAvx2 il = MakeInterleaveAvx2();
    // Local copies: the byte stores could otherwise alias the pointer array and force reloads.
    const std::int16_t* const p[3] = {planes[0], planes[1], planes[2]};
    // Each step stores where its pixels fall: a first step that moved the later stores onto
    // 32-byte boundaries cost more here than the cache-line splits it saved.
    for (std::size_t next = 0; next < count;) {
        const std::size_t i = std::min(next, count - 32);
        Store32Avx2<kScaled>(p, i, coeff, il, dst + 3 * i);
        next = i + 32;
    }
}

// Pixels 1 ... count - 2 32 a step, the last step going over the final 32 of them again; the first
// and last pixels, which keep their values, as the first two of one more step.
template <bool kScaled>
__attribute__((target("avx2"))) void WriteSmoothedColour32Avx2(
    const std::int16_t* const* planes, std::ptrdiff_t up, std::ptrdiff_t down,
    const CColorMatrix::Rows& matrix, std::uint8_t* dst, std::size_t count, bool withEnds) {
    __m256 coeff[3][3];
    SetCoefficientsAvx2<kScaled>(matrix, coeff);
    const InterleaveAvx2 il = MakeInterleaveAvx2();
    // Local copies: the byte stores could otherwise alias the pointer array and force reloads.
    const std::int16_t* const p[3] = {planes[0], planes[1], planes[2]};
    const std::size_t end = count - 1;
    // Steps that hand their column sums on while the next step's columns lie within the row, then
    // the rest on their own.
    SmoothingCarryAvx2 carry{};
    std::size_t next = 1;
    if (next + 47 <= end) {
        for (int k = 0; k < 3; ++k) {
            carry.sums[k] = ColumnSumsAvx2(p[k] + up, p[k], p[k] + down, 1);
            carry.across[k] = CarriedAcrossAvx2(ColumnSumsAvx2(p[k] + up, p[k], p[k] + down, 0));
        }
        for (; next + 47 <= end; next += 32)
            StoreSmoothed32Avx2<kScaled, true>(p, up, down, next, carry, coeff, il, dst + 3 * next);
    }
    while (next < end) {
        const std::size_t x = std::min(next, end - 32);
        StoreSmoothed32Avx2<kScaled, false>(p, up, down, x, carry, coeff, il, dst + 3 * x);
        next = x + 32;
    }
    if (!withEnds)
        return;
    alignas(32) std::int16_t ends[3][32] = {};
    for (int k = 0; k < 3; ++k) {
        ends[k][0] = p[k][0];
        ends[k][1] = p[k][count - 1];
    }
    const std::int16_t* const e[3] = {ends[0], ends[1], ends[2]};
    alignas(32) std::uint8_t bytes[96];
    Store32Avx2<kScaled>(e, 0, coeff, il, bytes);
    std::memcpy(dst, bytes, 3);
    std::memcpy(dst + 3 * (count - 1), bytes + 3, 3);
}

// 32 pixels from x on of a row with rows above and below, demosaiced (see DemosaicAvx2) from the
// expanded mosaic rows[0 ... 2]: 96 bytes B G R at out. kRedSites: the row's sites are red. With
// kInPieces the bytes go out in pieces (see StoreValuesInPieces32Avx2).
template <bool kScaled, bool kRedSites, bool kInPieces>
__attribute__((target("avx2"))) inline void StoreDemosaiced32Avx2(const std::uint8_t* const* rows,
                                                                  int x, __m256i site,
                                                                  const __m256 (*coeff)[3],
                                                                  const InterleaveAvx2& il,
                                                                  std::uint8_t* out) {
    __m256i v[3][2];
    for (int h = 0; h < 2; ++h) {
        const DemosaicedAvx2 d = DemosaicAvx2(rows[0], rows[1], rows[2], x + 16 * h, site);
        v[kRedSites ? 0 : 2][h] = d.site;
        v[1][h] = d.green;
        v[kRedSites ? 2 : 0][h] = d.other;
    }
    StoreStep32Avx2<kScaled, kInPieces>(v, coeff, il, out);
}

// Pixels 1 ... count - 2 32 a step, the last step going over the final 32 of them again. Steps
// store in pieces while the two pixels after them lie within, so that a later step overwrites
// what their last piece leaves there.
template <bool kScaled, bool kRedSites>
__attribute__((target("avx2"))) void WriteDemosaicedColour32Avx2(const std::uint8_t* const* rows,
                                                                 bool siteFirst,
                                                                 const CColorMatrix::Rows& matrix,
                                                                 std::uint8_t* dst,
                                                                 std::size_t count) {
    __m256 coeff[3][3];
    SetCoefficientsAvx2<kScaled>(matrix, coeff);
    const InterleaveAvx2 il = MakeInterleaveAvx2();
    const std::uint8_t* const r[3] = {rows[0], rows[1], rows[2]};
    const int end = static_cast<int>(count) - 1;
    // Sites alternate from pixel 1 on.
    const auto siteLanes = [siteFirst](int x) __attribute__((always_inline, target("avx2"))) {
        return SiteLanesAvx2(((x - 1) % 2 == 0) == siteFirst);
    };
    int next = 1;
    for (; next + 34 <= end; next += 32) {
        StoreDemosaiced32Avx2<kScaled, kRedSites, true>(r, next, siteLanes(next), coeff, il,
                                                        dst + 3 * next);
    }
    while (next < end) {
        const int x = std::min(next, end - 32);
        StoreDemosaiced32Avx2<kScaled, kRedSites, false>(r, x, siteLanes(x), coeff, il,
                                                         dst + 3 * x);
        next = x + 32;
    }
}

}  // namespace

namespace colour_output {

// 32 pixels a step, the last step going over the final 32 pixels again.
std::size_t WriteColourAvx2(const std::int16_t* const* planes, std::size_t count,
                            const CColorMatrix::Rows& matrix, std::uint8_t* dst) {
    if (!HasAvx2() || count < 32)
        return 0;
    if (ScalesExactly(matrix))
        WriteColour32Avx2<true>(planes, matrix, dst, count);
    else
        WriteColour32Avx2<false>(planes, matrix, dst, count);
    return count;
}

std::size_t WriteSmoothedColourAvx2(const std::int16_t* const* planes, std::ptrdiff_t up,
                                    std::ptrdiff_t down, std::size_t count,
                                    const CColorMatrix::Rows& matrix, std::uint8_t* dst,
                                    bool withEnds) {
    if (!HasAvx2() || count < 34)
        return 0;
    if (ScalesExactly(matrix))
        WriteSmoothedColour32Avx2<true>(planes, up, down, matrix, dst, count, withEnds);
    else
        WriteSmoothedColour32Avx2<false>(planes, up, down, matrix, dst, count, withEnds);
    return count;
}

std::size_t WriteDemosaicedColourAvx2(const std::uint8_t* const* rows, bool redSites,
                                      bool siteFirst, std::size_t count,
                                      const CColorMatrix::Rows& matrix, std::uint8_t* dst) {
    if (!HasAvx2() || count < 34 || count > kMaxDemosaicedRow)
        return 0;
    const bool scaled = ScalesExactly(matrix);
    if (scaled && redSites)
        WriteDemosaicedColour32Avx2<true, true>(rows, siteFirst, matrix, dst, count);
    else if (scaled)
        WriteDemosaicedColour32Avx2<true, false>(rows, siteFirst, matrix, dst, count);
    else if (redSites)
        WriteDemosaicedColour32Avx2<false, true>(rows, siteFirst, matrix, dst, count);
    else
        WriteDemosaicedColour32Avx2<false, false>(rows, siteFirst, matrix, dst, count);
    return count;
}

}  // namespace colour_output

namespace {

// GCC 12's AVX-512 headers start some vectors from themselves ("undefined" values the
// instructions then overwrite), which its flow analysis takes for uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

// One matrix row for sixteen pixels, in the arithmetic of RowBytesAvx2 (vectors by pointer: the
// rest of the library is built without AVX-512).
TINTORA_AVX512_TARGET inline void RowBytesAvx512(const __m512* coeff, const __m512* f,
                                                 __m512i* bytes) {
    const __m512 sum =
        _mm512_add_ps(_mm512_add_ps(_mm512_mul_ps(coeff[0], f[0]), _mm512_mul_ps(coeff[1], f[1])),
                      _mm512_mul_ps(coeff[2], f[2]));
    const __m512 clamped =
        _mm512_min_ps(_mm512_max_ps(sum, _mm512_setzero_ps()), _mm512_set1_ps(16 * 255));
    *bytes = _mm512_srli_epi32(_mm512_cvttps_epi32(clamped), 4);
}

// The mode-0 output sixteen pixels a step; the last step loads and stores only what is left.
TINTORA_AVX512_TARGET void WriteColourAvx512(const std::int16_t* const* planes,
                                             const CColorMatrix::Rows& matrix, std::uint8_t* dst,
                                             std::size_t count) {
    __m512 coeff[3][3];
    for (int k = 0; k < 3; ++k) {
        for (int j = 0; j < 3; ++j)
            coeff[k][j] = _mm512_set1_ps(matrix[2 - k][j]);
    }
    // Sixteen B G R 0 words packed into the first 48 bytes.
    alignas(64) std::uint8_t order[64];
    for (int b = 0; b < 64; ++b)
        order[b] = static_cast<std::uint8_t>(b < 48 ? 4 * (b / 3) + b % 3 : 0);
    const __m512i pack = _mm512_load_si512(order);
    for (std::size_t i = 0; i < count; i += 16) {
        const std::size_t left = std::min<std::size_t>(16, count - i);
        const __mmask16 lanes = static_cast<__mmask16>((1u << left) - 1);
        __m512 f[3];
        for (int p = 0; p < 3; ++p) {
            const __m256i v = _mm256_maskz_loadu_epi16(lanes, planes[p] + i);
            f[p] = _mm512_cvtepi32_ps(_mm512_cvtepu16_epi32(v));
        }
        __m512i blue, green, red;
        RowBytesAvx512(coeff[0], f, &blue);
        RowBytesAvx512(coeff[1], f, &green);
        RowBytesAvx512(coeff[2], f, &red);
        const __m512i words = _mm512_or_si512(
            blue, _mm512_or_si512(_mm512_slli_epi32(green, 8), _mm512_slli_epi32(red, 16)));
        const __mmask64 bytes = (std::uint64_t{1} << (3 * left)) - 1;
        _mm512_mask_storeu_epi8(dst + 3 * i, bytes, _mm512_permutexvar_epi8(pack, words));
    }
}

#pragma GCC diagnostic pop

}  // namespace
#endif

namespace colour_output {

void WriteColourPlain(const std::int16_t* const* planes, std::size_t count,
                      const CColorMatrix::Rows& matrix, std::uint8_t* dst) {
    for (std::size_t i = 0; i < count; ++i) {
        const int p1 = planes[0][i];
        const int p2 = planes[1][i];
        const int p3 = planes[2][i];
        dst[3 * i] = MatrixByte(matrix[2], p1, p2, p3);
        dst[3 * i + 1] = MatrixByte(matrix[1], p1, p2, p3);
        dst[3 * i + 2] = MatrixByte(matrix[0], p1, p2, p3);
    }
}

#ifndef TINTORA_AVX2
std::size_t WriteColourAvx2(const std::int16_t* const*, std::size_t, const CColorMatrix::Rows&,
                            std::uint8_t*) {
    return 0;
}

std::size_t WriteSmoothedColourAvx2(const std::int16_t* const*, std::ptrdiff_t, std::ptrdiff_t,
                                    std::size_t, const CColorMatrix::Rows&, std::uint8_t*, bool) {
    return 0;
}

std::size_t WriteDemosaicedColourAvx2(const std::uint8_t* const*, bool, bool, std::size_t,
                                      const CColorMatrix::Rows&, std::uint8_t*) {
    return 0;
}
#endif

}  // namespace colour_output

void WriteColour(const std::int16_t* const* planes, std::size_t count,
                 const CColorMatrix::Rows& matrix, std::uint8_t* dst) {
#ifdef TINTORA_AVX2
    if (HasAvx512()) {
        WriteColourAvx512(planes, matrix, dst, count);
        return;
    }
#endif
    const std::size_t done = colour_output::WriteColourAvx2(planes, count, matrix, dst);
    if (done < count)
        colour_output::WriteColourPlain(planes, count, matrix, dst);
}
