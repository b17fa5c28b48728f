#include "colorlib/SampleMap.h"

#include "colorlib/CpuFeatures.h"

#include <algorithm>
#include <bit>
#include <cstring>

#ifdef TINTORA_AVX2
#include <immintrin.h>
#endif

namespace {

int ExpandSample(int type, int a) {
    switch (type) {
        case 0:
            if (a < 64)
                return a;
            if (a < 96)
                return 2 * a - 64;
            if (a < 192)
                return 4 * a - 256;
            return 8 * a - 1024;
        case 1:
        case 7:
            return a;
        case 2:
            return 2 * a;
        case 3:
            return 4 * a;
        case 6:
            if (a < 128)
                return a;
            if (a < 192)
                return 2 * a - 128;
            return 4 * a - 512;
        default:
            return 0;
    }
}

}  // namespace

void BuildInputTable(int type, InputTable& table) {
    for (int a = 0; a < 256; ++a)
        table[a] = static_cast<std::uint16_t>(ExpandSample(type, a));
}

InputRamps DescribeInputTable(const InputTable& table) {
    // Each change of slope starts a ramp whose weight is the change; slopes are taken modulo
    // 2^16, so the ramps add up to every entry exactly.
    const auto slopeAt = [&table](int a) {
        return static_cast<int>(static_cast<std::int16_t>(table[a + 1] - table[a]));
    };
    InputRamps ramps;
    ramps.offset = table[0];
    int slope = 0;
    for (int a = 0; a < 255; ++a) {
        const int next = slopeAt(a);
        if (a > 0 && next == slope)
            continue;
        if (ramps.count == InputRamps::kMax || next - slope < -64 || next - slope > 64)
            return {};
        ramps.start[ramps.count] = static_cast<std::uint8_t>(a);
        ramps.weight[ramps.count] = static_cast<std::int8_t>(next - slope);
        ++ramps.count;
        slope = next;
    }
    return ramps;
}

namespace {

#ifdef TINTORA_AVX2
// GCC 12's AVX-512 headers start some vectors from themselves ("undefined" values the
// instructions then overwrite), which its flow analysis takes for uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

// The 256-entry table for 32 samples: each pair of registers holds 64 entries, picked by the low
// six bits; the top two bits choose the pair.
TINTORA_AVX512_TARGET std::size_t ExpandSamplesAvx512(const InputTable& table,
                                                      const std::uint8_t* src, std::size_t count,
                                                      std::uint8_t* mosaic) {
    __m512i part[8];
    for (int k = 0; k < 8; ++k)
        part[k] = _mm512_loadu_si512(table.data() + 32 * k);
    std::size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m512i index =
            _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)));
        const __m512i q0 = _mm512_permutex2var_epi16(part[0], index, part[1]);
        const __m512i q1 = _mm512_permutex2var_epi16(part[2], index, part[3]);
        const __m512i q2 = _mm512_permutex2var_epi16(part[4], index, part[5]);
        const __m512i q3 = _mm512_permutex2var_epi16(part[6], index, part[7]);
        const __mmask32 second = _mm512_test_epi16_mask(index, _mm512_set1_epi16(0x40));
        const __mmask32 upper = _mm512_test_epi16_mask(index, _mm512_set1_epi16(0x80));
        const __m512i low = _mm512_mask_blend_epi16(second, q0, q1);
        const __m512i high = _mm512_mask_blend_epi16(second, q2, q3);
        _mm512_storeu_si512(mosaic + 2 * i, _mm512_mask_blend_epi16(upper, low, high));
    }
    return i;
}

#pragma GCC diagnostic pop
#endif

}  // namespace

namespace sample_map {

#ifdef TINTORA_AVX2
namespace {

// 32 samples a step, the last step going over the final 32 again (count >= 32). The ramps beyond
// the first come from saturating byte subtractions; byte pairs (a, ramp 1) and (ramp 2, ramp 3)
// then meet their weights in one multiply-add each. With weights within -64 ... 64 a pair's sum
// stays within 2 * 255 * 64 < 2^15, so the multiply-add never saturates and the sums are exact
// modulo 2^16. kOffset: the table does not start at 0.
template <bool kOffset>
__attribute__((target("avx2"))) void ExpandSamples32Avx2(const InputRamps& ramps,
                                                         const std::uint8_t* src, std::size_t count,
                                                         std::uint8_t* mosaic) {
    // Weight pairs as the bytes of 16-bit lanes, low byte first.
    const auto pair = [&ramps](int k) {
        return static_cast<short>(static_cast<std::uint8_t>(ramps.weight[k]) |
                                  static_cast<std::uint8_t>(ramps.weight[k + 1]) << 8);
    };
    const __m256i w01 = _mm256_set1_epi16(pair(0));
    const __m256i w23 = _mm256_set1_epi16(pair(2));
    const __m256i s1 = _mm256_set1_epi8(static_cast<char>(ramps.start[1]));
    const __m256i s2 = _mm256_set1_epi8(static_cast<char>(ramps.start[2]));
    const __m256i s3 = _mm256_set1_epi8(static_cast<char>(ramps.start[3]));
    const __m256i offset = _mm256_set1_epi16(static_cast<short>(ramps.offset));
    for (std::size_t next = 0; next < count;) {
        const std::size_t i = std::min(next, count - 32);
        // Samples 0-7 16-23 | 8-15 24-31, so that the unpacks below give 0-15 and 16-31.
        const __m256i a = _mm256_permute4x64_epi64(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i)), 0xD8);
        const __m256i r1 = _mm256_subs_epu8(a, s1);
        const __m256i r2 = _mm256_subs_epu8(a, s2);
        const __m256i r3 = _mm256_subs_epu8(a, s3);
        __m256i low = _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_unpacklo_epi8(a, r1), w01),
                                       _mm256_maddubs_epi16(_mm256_unpacklo_epi8(r2, r3), w23));
        __m256i high = _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_unpackhi_epi8(a, r1), w01),
                                        _mm256_maddubs_epi16(_mm256_unpackhi_epi8(r2, r3), w23));
        if constexpr (kOffset) {
            low = _mm256_add_epi16(low, offset);
            high = _mm256_add_epi16(high, offset);
        }
        __m256i* out = reinterpret_cast<__m256i*>(mosaic + 2 * i);
        _mm256_storeu_si256(out, low);
        _mm256_storeu_si256(out + 1, high);
        next = i + 32;
    }
}

}  // namespace

__attribute__((target("avx2"))) std::size_t ExpandSamplesAvx2(const InputRamps& ramps,
                                                              const std::uint8_t* src,
                                                              std::size_t count,
                                                              std::uint8_t* mosaic) {
    if (ramps.count == 0 || count < 32 || !HasAvx2())
        return 0;
    if (ramps.offset != 0)
        ExpandSamples32Avx2<true>(ramps, src, count, mosaic);
    else
        ExpandSamples32Avx2<false>(ramps, src, count, mosaic);
    return count;
}
#else
std::size_t ExpandSamplesAvx2(const InputRamps&, const std::uint8_t*, std::size_t, std::uint8_t*) {
    return 0;
}
#endif

}  // namespace sample_map

void ExpandSamples(const InputTable& table, const InputRamps& ramps, const std::uint8_t* src,
                   std::size_t count, std::uint8_t* mosaic) {
    std::size_t i = 0;
#ifdef TINTORA_AVX2
    if (HasAvx512())
        i = ExpandSamplesAvx512(table, src, count, mosaic);
    else
        i = sample_map::ExpandSamplesAvx2(ramps, src, count, mosaic);
#else
    (void)ramps;
#endif
    // Four samples per store on little-endian machines: the stores dominate otherwise.
    for (; std::endian::native == std::endian::little && i + 4 <= count; i += 4) {
        const std::uint64_t four =
            std::uint64_t{table[src[i]]} | std::uint64_t{table[src[i + 1]]} << 16 |
            std::uint64_t{table[src[i + 2]]} << 32 | std::uint64_t{table[src[i + 3]]} << 48;
        std::memcpy(mosaic + 2 * i, &four, sizeof four);
    }
    for (; i < count; ++i) {
        const std::uint16_t v = table[src[i]];
        std::memcpy(mosaic + 2 * i, &v, sizeof v);
    }
}

std::uint8_t MapTo8Bit(int type, int x) {
    x = std::clamp(x, 0, 1023);
    int y = 0;
    switch (type) {
        case 0:
            if (x <= 63)
                y = x;
            else if (x <= 127)
                y = x / 2 + 32;
            else if (x <= 511)
                y = x / 4 + 64;
            else
                y = x / 8 + 128;
            break;
        case 6:
        case 7:
            // Type 6 expands up to 508: keeping only the low byte would turn bright pixels dark.
            y = std::min(x, 255);
            break;
        case 1:
            y = std::min(x, 255);
            break;
        case 2:
            y = x <= 511 ? x / 2 : 255;
            break;
        case 3:
            y = x / 4;
            break;
        default:
            y = 0;
            break;
    }
    return static_cast<std::uint8_t>(y);
}
