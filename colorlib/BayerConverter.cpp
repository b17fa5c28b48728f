#include "colorlib/BayerConverter.h"

#include "colorlib/ColourOutput.h"
#include "colorlib/CpuFeatures.h"
#include "colorlib/DemosaicAvx2.h"
#include "colorlib/SmoothingAvx2.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>

#ifdef __SSE2__
#include <emmintrin.h>
#endif
#ifdef TINTORA_AVX2
#include <immintrin.h>
#endif

namespace {

constexpr int kMaxLevel = 4096;
constexpr int kMaxSide = 65535;

enum Colour { kRed = 0, kGreen = 1, kBlue = 2 };

// Filter colour of the sample at (y, x): phase 0 starts R G / G B, phase 1 starts G R / B G.
// Defined outside the frame too, so border code can ask about missing neighbours.
inline int ColourAt(int phase, int y, int x) {
    static constexpr int kPattern[2][2] = {{kRed, kGreen}, {kGreen, kBlue}};
    return kPattern[y & 1][(x + phase) & 1];
}

// The expanded mosaic lives in the caller's byte buffer, which need not be 2-byte aligned.
inline int LoadSample(const std::uint8_t* mosaic, std::size_t index) {
    std::uint16_t v;
    std::memcpy(&v, mosaic + 2 * index, sizeof v);
    return v;
}

inline std::int16_t ClampLevel(int v) {
    return static_cast<std::int16_t>(std::clamp(v, 0, kMaxLevel));
}

// The 3x3 smoothing 0.75 * centre + (sum of the 8 neighbours) / 32, truncated and capped at
// 4096. Plane values are never negative and at most 4096, so (24 c + s) / 32 is exact in
// floating point and its truncation equals the integer (3 c + s / 8) / 4.
inline int SmoothValue(int centre, int neighbours) {
    return std::min((3 * centre + (neighbours >> 3)) >> 2, kMaxLevel);
}

#ifdef TINTORA_AVX2
// The interior of a demosaiced row from x on, sixteen pixels a step, in the lane arithmetic of
// the SSE2 loop of CBayerConverter::DemosaicRow; siteFirst: pixel x is a site of the row's
// colour. Returns where it stopped.
__attribute__((target("avx2"))) int DemosaicRowAvx2(const std::uint8_t* up, const std::uint8_t* mid,
                                                    const std::uint8_t* down, bool siteFirst,
                                                    std::int16_t* sitePlane,
                                                    std::int16_t* greenPlane,
                                                    std::int16_t* otherPlane, int x, int end) {
    // Every step moves an even number of pixels.
    const __m256i site = SiteLanesAvx2(siteFirst);
    for (; x + 16 <= end; x += 16) {
        const DemosaicedAvx2 v = DemosaicAvx2(up, mid, down, x, site);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(sitePlane + x), v.site);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(greenPlane + x), v.green);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(otherPlane + x), v.other);
    }
    return x;
}

// DemosaicEdgeRow's values from x on, sixteen pixels a step: near is the one neighbouring row;
// siteFirst: pixel x is a site of the row's colour. The division by 3 is a multiply by
// ceil(2^16 / 3) and a shift, exact for the numerators here (at most 4 * 3 * 1020 + 1).
// Returns where it stopped.
__attribute__((target("avx2"))) int DemosaicEdgeRowAvx2(const std::uint8_t* mid,
                                                        const std::uint8_t* near, bool siteFirst,
                                                        std::int16_t* sitePlane,
                                                        std::int16_t* greenPlane,
                                                        std::int16_t* otherPlane, int x, int end) {
    // Every step moves an even number of pixels.
    const __m256i site = SiteLanesAvx2(siteFirst);
    const __m256i third = _mm256_set1_epi16(21846);
    const __m256i one = _mm256_set1_epi16(1);
    for (; x + 16 <= end; x += 16) {
        const __m256i own = _mm256_slli_epi16(LoadMosaicAvx2(mid, x), 2);
        const __m256i horizontal =
            _mm256_add_epi16(LoadMosaicAvx2(mid, x - 1), LoadMosaicAvx2(mid, x + 1));
        const __m256i vertical = LoadMosaicAvx2(near, x);
        const __m256i diagonal =
            _mm256_add_epi16(LoadMosaicAvx2(near, x - 1), LoadMosaicAvx2(near, x + 1));
        const __m256i across = _mm256_mulhi_epu16(
            _mm256_add_epi16(_mm256_slli_epi16(_mm256_add_epi16(horizontal, vertical), 2), one),
            third);
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(sitePlane + x),
            _mm256_blendv_epi8(_mm256_add_epi16(horizontal, horizontal), own, site));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(greenPlane + x),
                            _mm256_blendv_epi8(own, across, site));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(otherPlane + x),
                            _mm256_blendv_epi8(_mm256_slli_epi16(vertical, 2),
                                               _mm256_add_epi16(diagonal, diagonal), site));
    }
    return x;
}

// The interior of a smoothed row from x on, sixteen pixels a step. Most steps take the 3x3 box
// from column sums, as SmoothRowAvx512 does: the sums of the next sixteen columns are loaded once
// and shifted by a pixel either way. The values are SmoothValue's (see SmoothedAvx2), which never
// reach the cap. Returns where it stopped.
__attribute__((target("avx2"))) int SmoothRowAvx2(const std::int16_t* up, const std::int16_t* mid,
                                                  const std::int16_t* down, std::int16_t* out,
                                                  int x, int end) {
    static_assert(kMaxPlane <= kMaxLevel);
    // The column sums of the next sixteen pixels are loaded ahead.
    if (x + 32 <= end + 1) {
        __m256i centre = LoadPlaneAvx2(mid, x);
        __m256i sums = ColumnSumsAvx2(up, mid, down, x);
        __m256i left = ColumnSumsAvx2(up, mid, down, x - 1);
        for (; x + 32 <= end + 1; x += 16) {
            const __m256i nextCentre = LoadPlaneAvx2(mid, x + 16);
            const __m256i next =
                _mm256_add_epi16(_mm256_add_epi16(LoadPlaneAvx2(up, x + 16), nextCentre),
                                 LoadPlaneAvx2(down, x + 16));
            // Lanes of sums and next across the 128-bit halves: columns x + 8 ... x + 23.
            const __m256i across = _mm256_permute2x128_si256(sums, next, 0x21);
            const __m256i right = _mm256_alignr_epi8(across, sums, 2);
            const __m256i box = _mm256_add_epi16(_mm256_add_epi16(left, sums), right);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), SmoothedAvx2(centre, box));
            left = _mm256_alignr_epi8(next, across, 14);
            sums = next;
            centre = nextCentre;
        }
    }
    for (; x + 16 <= end; x += 16) {
        const __m256i box = _mm256_add_epi16(_mm256_add_epi16(ColumnSumsAvx2(up, mid, down, x - 1),
                                                              ColumnSumsAvx2(up, mid, down, x)),
                                             ColumnSumsAvx2(up, mid, down, x + 1));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x),
                            SmoothedAvx2(LoadPlaneAvx2(mid, x), box));
    }
    return x;
}

// GCC 12's AVX-512 headers start some vectors from themselves ("undefined" values the
// instructions then overwrite), which its flow analysis takes for uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

// The interior of a demosaiced row from x on, thirty-two pixels a step, in the lane arithmetic
// of the SSE2 loop of CBayerConverter::DemosaicRow. Returns where it stopped.
TINTORA_AVX512_TARGET int DemosaicRowAvx512(const std::uint8_t* up, const std::uint8_t* mid,
                                            const std::uint8_t* down, __mmask32 site,
                                            std::int16_t* sitePlane, std::int16_t* greenPlane,
                                            std::int16_t* otherPlane, int x, int end) {
    for (; x + 32 <= end; x += 32) {
        const __m512i c = _mm512_loadu_si512(mid + 2 * x);
        const __m512i horizontal = _mm512_add_epi16(_mm512_loadu_si512(mid + 2 * (x - 1)),
                                                    _mm512_loadu_si512(mid + 2 * (x + 1)));
        const __m512i vertical =
            _mm512_add_epi16(_mm512_loadu_si512(up + 2 * x), _mm512_loadu_si512(down + 2 * x));
        const __m512i diagonal =
            _mm512_add_epi16(_mm512_add_epi16(_mm512_loadu_si512(up + 2 * (x - 1)),
                                              _mm512_loadu_si512(up + 2 * (x + 1))),
                             _mm512_add_epi16(_mm512_loadu_si512(down + 2 * (x - 1)),
                                              _mm512_loadu_si512(down + 2 * (x + 1))));
        const __m512i own = _mm512_slli_epi16(c, 2);
        _mm512_storeu_si512(sitePlane + x,
                            _mm512_mask_blend_epi16(site, _mm512_slli_epi16(horizontal, 1), own));
        _mm512_storeu_si512(greenPlane + x, _mm512_mask_blend_epi16(
                                                site, own, _mm512_add_epi16(horizontal, vertical)));
        _mm512_storeu_si512(otherPlane + x, _mm512_mask_blend_epi16(
                                                site, _mm512_slli_epi16(vertical, 1), diagonal));
    }
    return x;
}

// The interior of a smoothed row from x on, thirty-two pixels a step, with the values of
// SmoothRowAvx2: the eight neighbours are the 3x3 box less the centre, which in 16-bit lanes
// wraps exactly as their sum does. Each step loads the column sums of the next 32 pixels
// once and shifts them by a pixel either way. Returns where it stopped.
TINTORA_AVX512_TARGET int SmoothRowAvx512(const std::int16_t* up, const std::int16_t* mid,
                                          const std::int16_t* down, std::int16_t* out, int x,
                                          int end) {
    // The column sums of the next 32 pixels are loaded ahead, so the loop stops a step early.
    if (x + 64 > end + 1)
        return x;
    alignas(64) std::int16_t leftOrder[32];
    alignas(64) std::int16_t rightOrder[32];
    for (int i = 0; i < 32; ++i) {
        leftOrder[i] = static_cast<std::int16_t>(i == 0 ? 31 : 31 + i);
        rightOrder[i] = static_cast<std::int16_t>(i + 1);
    }
    const __m512i toLeft = _mm512_load_si512(leftOrder);
    const __m512i toRight = _mm512_load_si512(rightOrder);
    const __m512i cap = _mm512_set1_epi16(kMaxLevel);
    __m512i centre = _mm512_loadu_si512(mid + x);
    __m512i sums = _mm512_add_epi16(_mm512_add_epi16(_mm512_loadu_si512(up + x), centre),
                                    _mm512_loadu_si512(down + x));
    __m512i left = _mm512_add_epi16(
        _mm512_add_epi16(_mm512_loadu_si512(up + x - 1), _mm512_loadu_si512(mid + x - 1)),
        _mm512_loadu_si512(down + x - 1));
    for (; x + 64 <= end + 1; x += 32) {
        const __m512i nextCentre = _mm512_loadu_si512(mid + x + 32);
        const __m512i next =
            _mm512_add_epi16(_mm512_add_epi16(_mm512_loadu_si512(up + x + 32), nextCentre),
                             _mm512_loadu_si512(down + x + 32));
        const __m512i right = _mm512_permutex2var_epi16(sums, toRight, next);
        const __m512i box = _mm512_add_epi16(_mm512_add_epi16(left, sums), right);
        const __m512i neighbours = _mm512_sub_epi16(box, centre);
        const __m512i c3 = _mm512_add_epi16(_mm512_add_epi16(centre, centre), centre);
        const __m512i v =
            _mm512_srli_epi16(_mm512_add_epi16(c3, _mm512_srli_epi16(neighbours, 3)), 2);
        _mm512_storeu_si512(out + x, _mm512_min_epi16(v, cap));
        left = _mm512_permutex2var_epi16(sums, toLeft, next);
        sums = next;
        centre = nextCentre;
    }
    return x;
}

#pragma GCC diagnostic pop
#endif

}  // namespace

CBayerConverter::~CBayerConverter() {
    FreePlanes();
}

void CBayerConverter::FreePlanes() {
    for (Planes* planes : {&m_demosaic, &m_filtered}) {
        for (std::int16_t*& plane : *planes) {
            delete[] plane;
            plane = nullptr;
        }
    }
}

int CBayerConverter::Setup(int width, int height) {
    const bool sizeOk = width >= 0 && height >= 0 && width <= kMaxSide && height <= kMaxSide;
    const std::uint32_t count =
        sizeOk ? static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height) : 0;
    if (sizeOk && (count != m_pixelCount || !HasPlanes())) {
        FreePlanes();
        for (Planes* planes : {&m_demosaic, &m_filtered}) {
            for (std::int16_t*& plane : *planes)
                plane = new (std::nothrow) std::int16_t[count];
        }
    }
    const bool allocated =
        std::none_of(m_demosaic.begin(), m_demosaic.end(), [](auto* p) { return p == nullptr; }) &&
        std::none_of(m_filtered.begin(), m_filtered.end(), [](auto* p) { return p == nullptr; });
    if (!sizeOk || !allocated) {
        FreePlanes();
        m_width = 0;
        m_height = 0;
        m_pixelCount = 0;
        return -1;
    }
    m_width = static_cast<std::uint16_t>(width);
    m_height = static_cast<std::uint16_t>(height);
    m_pixelCount = count;
    return 0;
}

void CBayerConverter::Deallocate() {
    FreePlanes();
}

int CBayerConverter::Convert(int width, int height, int type, int variant, bool skipFilter,
                             const std::uint8_t* src, std::uint8_t* dst,
                             const CColorMatrix::Rows& matrix) {
    if (!src || !dst)
        return -1;
    // A 480 x 640 frame after a 640 x 480 one needs the new shape, not only the new count.
    if (width != m_width || height != m_height || !HasPlanes()) {
        if (const int error = Setup(width, height))
            return error;
    }
    if (type != m_tableType) {
        BuildInputTable(type, m_table);
        m_ramps = DescribeInputTable(m_table);
        m_tableType = type;
    }
    if (m_mode < 0 || m_mode > 9 || m_pixelCount == 0)
        return 0;

    const int phase = variant == 0 ? 0 : 1;
    if (m_mode == 0 && m_height >= 3) {
        ConvertColourByRows(src, phase, skipFilter, matrix, dst);
        return 0;
    }
    ExpandSamples(m_table, m_ramps, src, m_pixelCount, dst);
    Demosaic(dst, phase);
    if (!skipFilter)
        Smooth();
    const Planes& planes = skipFilter ? m_demosaic : m_filtered;

    if (m_mode == 0)
        WriteColour(planes.data(), m_pixelCount, matrix, dst);
    else if (m_mode <= 3)
        WritePlane(m_demosaic[m_mode - 1], dst);
    else if (m_mode <= 6)
        WritePlane(planes[m_mode - 4], dst);
    else
        WriteGrey(planes, matrix[m_mode - 7], dst);
    return 0;
}

void CBayerConverter::ConvertColourByRows(const std::uint8_t* src, int phase, bool skipFilter,
                                          const CColorMatrix::Rows& matrix, std::uint8_t* dst) {
    const std::size_t w = m_width;
    const int h = m_height;
    // Rings of three rows near the start of the planes (the frame has at least three). Where
    // the plane has room, a ring starts so that the pixel where the vector steps of a row begin
    // lies on a cache line: loads and stores then straddle fewer lines. The demosaic stores from
    // pixel 1 on, the sample expansion from pixel 0.
    const auto ring = [&](std::int16_t* plane, int first) {
        const std::size_t shift =
            (64 - (reinterpret_cast<std::uintptr_t>(plane + first) % 64)) % 64 / 2;
        return m_pixelCount >= 3 * w + shift ? plane + shift : plane;
    };
    std::int16_t* const mosaicRing = ring(m_filtered[1], 0);
    const PlaneRows demosaicRing = {ring(m_demosaic[0], 1), ring(m_demosaic[1], 1),
                                    ring(m_demosaic[2], 1)};
    const auto mosaicRow = [&](int y) {
        return reinterpret_cast<std::uint8_t*>(mosaicRing + w * static_cast<std::size_t>(y % 3));
    };
    // Without the filter each demosaiced row is written out at once, so one row will do.
    const auto demosaicRows = [&](int y) -> PlaneRows {
        const std::size_t offset = skipFilter ? 0 : w * static_cast<std::size_t>(y % 3);
        return {demosaicRing[0] + offset, demosaicRing[1] + offset, demosaicRing[2] + offset};
    };
    std::int16_t* const smoothedRing = ring(m_filtered[0], 1);
    const PlaneRows smoothed = {smoothedRing, smoothedRing + w, smoothedRing + 2 * w};
    // The first and last pixels of the rows whose vector steps leave them out, taken sixteen rows
    // at a time through one colour step.
    constexpr int kEndRows = 16;
    struct {
        std::int16_t planes[3][2 * kEndRows] = {};
        std::uint8_t* out[kEndRows] = {};
        int rows = 0;
    } ends;
    const auto writeEnds = [&] {
        const std::int16_t* const planes[3] = {ends.planes[0], ends.planes[1], ends.planes[2]};
        std::uint8_t bytes[3 * 2 * kEndRows];
        WriteColour(planes, 2 * kEndRows, matrix, bytes);
        for (int k = 0; k < ends.rows; ++k) {
            std::memcpy(ends.out[k], bytes + 6 * k, 3);
            std::memcpy(ends.out[k] + 3 * (w - 1), bytes + 6 * k + 3, 3);
        }
        ends.rows = 0;
    };
    // Takes the first and last pixels of a row's planes, to be written at out.
    const auto addEnds = [&](const PlaneRows& planes, std::uint8_t* out) {
        for (int p = 0; p < 3; ++p) {
            ends.planes[p][2 * ends.rows] = planes[p][0];
            ends.planes[p][2 * ends.rows + 1] = planes[p][w - 1];
        }
        ends.out[ends.rows] = out;
        if (++ends.rows == kEndRows)
            writeEnds();
    };
    const auto smoothAndWrite = [&](int y) {
        std::uint8_t* const out = dst + 3 * w * static_cast<std::size_t>(y);
#ifdef TINTORA_AVX2
        // Interior rows smooth as they are written. The AVX-512 paths below are wider.
        if (y > 0 && y + 1 < h && !HasAvx512()) {
            const PlaneRows mid = demosaicRows(y);
            // The three planes' rings have the same layout.
            const std::ptrdiff_t up = demosaicRows(y - 1)[0] - mid[0];
            const std::ptrdiff_t down = demosaicRows(y + 1)[0] - mid[0];
            if (colour_output::WriteSmoothedColourAvx2(mid.data(), up, down, w, matrix, out,
                                                       false) == w) {
                addEnds(mid, out);
                return;
            }
        }
#endif
        for (int p = 0; p < 3; ++p) {
            SmoothRow(y > 0 ? demosaicRows(y - 1)[p] : nullptr, demosaicRows(y)[p],
                      y + 1 < h ? demosaicRows(y + 1)[p] : nullptr, smoothed[p]);
        }
        WriteColour(smoothed.data(), w, matrix, out);
    };

    const auto demosaicAndWrite = [&](const MosaicRows& rows, int y) {
        std::uint8_t* const out = dst + 3 * w * static_cast<std::size_t>(y);
        const PlaneRows planes = demosaicRows(y);
#ifdef TINTORA_AVX2
        // Interior rows go from the mosaic to the output in one pass but for their first and last
        // pixels. The AVX-512 paths below are wider.
        if (rows[0] && rows[2] && w >= 3 && !HasAvx512()) {
            const bool redSites = (y & 1) == 0;
            const bool siteFirst = ColourAt(phase, y, 1) != kGreen;
            if (colour_output::WriteDemosaicedColourAvx2(rows.data(), redSites, siteFirst, w,
                                                         matrix, out) == w) {
                DemosaicSidePixel(rows, phase, y, 0, planes);
                DemosaicSidePixel(rows, phase, y, static_cast<int>(w - 1), planes);
                addEnds(planes, out);
                return;
            }
        }
#endif
        DemosaicRow(rows, phase, y, planes);
        WriteColour(planes.data(), w, matrix, out);
    };

    ExpandSamples(m_table, m_ramps, src, w, mosaicRow(0));
    for (int y = 0; y < h; ++y) {
        if (y + 1 < h)
            ExpandSamples(m_table, m_ramps, src + w * static_cast<std::size_t>(y + 1), w,
                          mosaicRow(y + 1));
        const MosaicRows rows = {y > 0 ? mosaicRow(y - 1) : nullptr, mosaicRow(y),
                                 y + 1 < h ? mosaicRow(y + 1) : nullptr};
        if (skipFilter)
            demosaicAndWrite(rows, y);
        else {
            DemosaicRow(rows, phase, y, demosaicRows(y));
            if (y > 0)
                smoothAndWrite(y - 1);
        }
    }
    if (!skipFilter)
        smoothAndWrite(h - 1);
    if (ends.rows > 0)
        writeEnds();
}

void CBayerConverter::DemosaicBorderPixel(const MosaicRows& rows, int phase, int y, int x,
                                          const PlaneRows& out) const {
    static constexpr int kCross[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    static constexpr int kDiagonal[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    static constexpr int kRow[2][2] = {{0, -1}, {0, 1}};
    static constexpr int kColumn[2][2] = {{-1, 0}, {1, 0}};

    const int w = m_width;
    const int own = ColourAt(phase, y, x);
    for (int plane = 0; plane < 3; ++plane) {
        int value = 0;
        if (plane == own) {
            value = 4 * LoadSample(rows[1], static_cast<std::size_t>(x));
        } else {
            const int(*offsets)[2] = kDiagonal;
            int offsetCount = 4;
            if (plane == kGreen) {
                offsets = kCross;
            } else if (own == kGreen) {
                offsets = ColourAt(phase, y, x + 1) == plane ? kRow : kColumn;
                offsetCount = 2;
            }
            // Average what exists and bring it to the 4x level of an interior pixel.
            int sum = 0;
            int found = 0;
            for (int k = 0; k < offsetCount; ++k) {
                const std::uint8_t* row = rows[1 + offsets[k][0]];
                const int nx = x + offsets[k][1];
                if (!row || nx < 0 || nx >= w)
                    continue;
                sum += LoadSample(row, static_cast<std::size_t>(nx));
                ++found;
            }
            value = found ? (4 * sum + found / 2) / found : 0;
        }
        out[plane][x] = ClampLevel(value);
    }
}

void CBayerConverter::DemosaicSidePixel(const MosaicRows& rows, int phase, int y, int x,
                                        const PlaneRows& out) const {
    // DemosaicBorderPixel for a row with rows above and below: of the neighbours only the ones
    // beside on the outer side are missing.
    const int in = x == 0 ? 1 : -1;
    const auto at = [&rows, x](int dy, int dx) {
        return LoadSample(rows[1 + dy], static_cast<std::size_t>(x + dx));
    };
    const int own = ColourAt(phase, y, x);
    if (own != kGreen) {
        out[own][x] = ClampLevel(4 * at(0, 0));
        out[kGreen][x] = ClampLevel((4 * (at(0, in) + at(-1, 0) + at(1, 0)) + 1) / 3);
        out[2 - own][x] = ClampLevel((4 * (at(-1, in) + at(1, in)) + 1) / 2);
    } else {
        const int beside = ColourAt(phase, y, x + in);
        out[kGreen][x] = ClampLevel(4 * at(0, 0));
        out[beside][x] = ClampLevel(4 * at(0, in));
        out[2 - beside][x] = ClampLevel((4 * (at(-1, 0) + at(1, 0)) + 1) / 2);
    }
}

void CBayerConverter::DemosaicEdgeRow(const MosaicRows& rows, int phase, int y,
                                      const PlaneRows& out) const {
    // DemosaicBorderPixel with the missing row's neighbours left out: a site has three green
    // neighbours and two diagonal ones, a green sample its row's colour left and right and the
    // third colour only in the one neighbouring row.
    const int w = m_width;
    const bool redRow = (y & 1) == 0;
    std::int16_t* sitePlane = out[redRow ? kRed : kBlue];
    std::int16_t* greenPlane = out[kGreen];
    std::int16_t* otherPlane = out[redRow ? kBlue : kRed];
    const std::uint8_t* mid = rows[1];
    const std::uint8_t* near = rows[0] ? rows[0] : rows[2];
    int x = 1;
#ifdef TINTORA_AVX2
    if (HasAvx2()) {
        x = DemosaicEdgeRowAvx2(mid, near, ColourAt(phase, y, x) != kGreen, sitePlane, greenPlane,
                                otherPlane, x, w - 1);
        // The rest as one more step over the last sixteen interior pixels, some again.
        if (x < w - 1 && w - 17 >= 1)
            x = DemosaicEdgeRowAvx2(mid, near, ColourAt(phase, y, w - 17) != kGreen, sitePlane,
                                    greenPlane, otherPlane, w - 17, w - 1);
    }
#endif
    for (; x < w - 1; ++x) {
        const int c = LoadSample(mid, x);
        const int horizontal = LoadSample(mid, x - 1) + LoadSample(mid, x + 1);
        const int vertical = LoadSample(near, x);
        if (ColourAt(phase, y, x) != kGreen) {
            sitePlane[x] = ClampLevel(4 * c);
            greenPlane[x] = ClampLevel((4 * (horizontal + vertical) + 1) / 3);
            otherPlane[x] = ClampLevel(2 * (LoadSample(near, x - 1) + LoadSample(near, x + 1)));
        } else {
            sitePlane[x] = ClampLevel(2 * horizontal);
            greenPlane[x] = ClampLevel(4 * c);
            otherPlane[x] = ClampLevel(4 * vertical);
        }
    }
}

void CBayerConverter::Demosaic(const std::uint8_t* mosaic, int phase) {
    const std::size_t w = m_width;
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* mid = mosaic + 2 * w * y;
        const MosaicRows rows = {y > 0 ? mid - 2 * w : nullptr, mid,
                                 y + 1 < m_height ? mid + 2 * w : nullptr};
        DemosaicRow(rows, phase, y,
                    {m_demosaic[0] + w * y, m_demosaic[1] + w * y, m_demosaic[2] + w * y});
    }
}

void CBayerConverter::DemosaicRow(const MosaicRows& rows, int phase, int y,
                                  const PlaneRows& out) const {
    const int w = m_width;
    if ((!rows[0] && !rows[2]) || w < 3) {
        for (int x = 0; x < w; ++x)
            DemosaicBorderPixel(rows, phase, y, x, out);
        return;
    }
    if (!rows[0] || !rows[2]) {
        DemosaicBorderPixel(rows, phase, y, 0, out);
        DemosaicBorderPixel(rows, phase, y, w - 1, out);
        DemosaicEdgeRow(rows, phase, y, out);
        return;
    }
    DemosaicSidePixel(rows, phase, y, 0, out);
    DemosaicSidePixel(rows, phase, y, w - 1, out);

    // Interior: the site colour of this row (red in even rows, blue in odd ones) sits at the
    // non-green samples; at a green sample it lies left and right, the third colour above and
    // below.
    const bool redRow = (y & 1) == 0;
    std::int16_t* sitePlane = out[redRow ? kRed : kBlue];
    std::int16_t* greenPlane = out[kGreen];
    std::int16_t* otherPlane = out[redRow ? kBlue : kRed];
    const std::uint8_t* up = rows[0];
    const std::uint8_t* mid = rows[1];
    const std::uint8_t* down = rows[2];

    int x = 1;
#ifdef TINTORA_AVX2
    if (HasAvx512()) {
        // Site colours alternate, so lane i of every step is a site where pixel 1 + i is.
        const __mmask32 site = ColourAt(phase, y, 1) != kGreen ? 0x55555555u : 0xAAAAAAAAu;
        x = DemosaicRowAvx512(up, mid, down, site, sitePlane, greenPlane, otherPlane, x, w - 1);
    }
    if (HasAvx2()) {
        x = DemosaicRowAvx2(up, mid, down, ColourAt(phase, y, x) != kGreen, sitePlane, greenPlane,
                            otherPlane, x, w - 1);
        // The rest as one more step over the last sixteen interior pixels, some again.
        if (x < w - 1 && w - 17 >= 1)
            x = DemosaicRowAvx2(up, mid, down, ColourAt(phase, y, w - 17) != kGreen, sitePlane,
                                greenPlane, otherPlane, w - 17, w - 1);
    }
#endif
#ifdef __SSE2__
    // Set up only where the wider steps left eight pixels or more.
    if (x + 8 <= w - 1) {
        const auto lane = [&](int i) -> short {
            return ColourAt(phase, y, 1 + i) != kGreen ? -1 : 0;
        };
        const __m128i site =
            _mm_setr_epi16(lane(0), lane(1), lane(2), lane(3), lane(4), lane(5), lane(6), lane(7));
        const auto load = [](const std::uint8_t* row, int col) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * col));
        };
        const auto select = [&site](__m128i atSite, __m128i atGreen) {
            return _mm_or_si128(_mm_and_si128(site, atSite), _mm_andnot_si128(site, atGreen));
        };
        for (; x + 8 <= w - 1; x += 8) {
            const __m128i c = load(mid, x);
            const __m128i horizontal = _mm_add_epi16(load(mid, x - 1), load(mid, x + 1));
            const __m128i vertical = _mm_add_epi16(load(up, x), load(down, x));
            const __m128i diagonal =
                _mm_add_epi16(_mm_add_epi16(load(up, x - 1), load(up, x + 1)),
                              _mm_add_epi16(load(down, x - 1), load(down, x + 1)));
            const __m128i own = _mm_slli_epi16(c, 2);
            const auto store = [x](std::int16_t* plane, __m128i v) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(plane + x), v);
            };
            store(sitePlane, select(own, _mm_slli_epi16(horizontal, 1)));
            store(greenPlane, select(_mm_add_epi16(horizontal, vertical), own));
            store(otherPlane, select(diagonal, _mm_slli_epi16(vertical, 1)));
        }
    }
#endif
    for (; x < w - 1; ++x) {
        const int c = LoadSample(mid, x);
        const int horizontal = LoadSample(mid, x - 1) + LoadSample(mid, x + 1);
        const int vertical = LoadSample(up, x) + LoadSample(down, x);
        const int diagonal = LoadSample(up, x - 1) + LoadSample(up, x + 1) +
                             LoadSample(down, x - 1) + LoadSample(down, x + 1);
        const bool atSite = ColourAt(phase, y, x) != kGreen;
        sitePlane[x] = static_cast<std::int16_t>(atSite ? 4 * c : 2 * horizontal);
        greenPlane[x] = static_cast<std::int16_t>(atSite ? horizontal + vertical : 4 * c);
        otherPlane[x] = static_cast<std::int16_t>(atSite ? diagonal : 2 * vertical);
    }
}

void CBayerConverter::Smooth() {
    const std::size_t w = m_width;
    for (int p = 0; p < 3; ++p) {
        for (int y = 0; y < m_height; ++y) {
            const std::int16_t* mid = m_demosaic[p] + w * y;
            SmoothRow(y > 0 ? mid - w : nullptr, mid, y + 1 < m_height ? mid + w : nullptr,
                      m_filtered[p] + w * y);
        }
    }
}

void CBayerConverter::SmoothRow(const std::int16_t* up, const std::int16_t* mid,
                                const std::int16_t* down, std::int16_t* out) const {
    const int w = m_width;
    if (!up || !down || w < 3) {
        for (int x = 0; x < w; ++x)
            out[x] = ClampLevel(mid[x]);
        return;
    }
    out[0] = ClampLevel(mid[0]);
    out[w - 1] = ClampLevel(mid[w - 1]);
    int x = 1;
#ifdef TINTORA_AVX2
    if (HasAvx512())
        x = SmoothRowAvx512(up, mid, down, out, x, w - 1);
    if (HasAvx2()) {
        x = SmoothRowAvx2(up, mid, down, out, x, w - 1);
        // The rest as one more step over the last sixteen interior pixels, some again.
        if (x < w - 1 && w - 17 >= 1)
            x = SmoothRowAvx2(up, mid, down, out, w - 17, w - 1);
    }
#endif
#ifdef __SSE2__
    const auto load = [](const std::int16_t* r, int col) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(r + col));
    };
    const __m128i cap = _mm_set1_epi16(kMaxLevel);
    for (; x + 8 <= w - 1; x += 8) {
        const __m128i c = load(mid, x);
        const __m128i above =
            _mm_add_epi16(_mm_add_epi16(load(up, x - 1), load(up, x)), load(up, x + 1));
        const __m128i below =
            _mm_add_epi16(_mm_add_epi16(load(down, x - 1), load(down, x)), load(down, x + 1));
        const __m128i sides = _mm_add_epi16(load(mid, x - 1), load(mid, x + 1));
        const __m128i neighbours = _mm_add_epi16(_mm_add_epi16(above, below), sides);
        const __m128i c3 = _mm_add_epi16(_mm_add_epi16(c, c), c);
        const __m128i v = _mm_srli_epi16(_mm_add_epi16(c3, _mm_srli_epi16(neighbours, 3)), 2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_min_epi16(v, cap));
    }
#endif
    for (; x < w - 1; ++x) {
        const int neighbours = up[x - 1] + up[x] + up[x + 1] + mid[x - 1] + mid[x + 1] +
                               down[x - 1] + down[x] + down[x + 1];
        out[x] = static_cast<std::int16_t>(SmoothValue(mid[x], neighbours));
    }
}

void CBayerConverter::WritePlane(const std::int16_t* plane, std::uint8_t* dst) const {
    for (std::size_t i = 0; i < m_pixelCount; ++i)
        dst[i] = MapTo8Bit(m_tableType, plane[i] / 4);
}

void CBayerConverter::WriteGrey(const Planes& planes, const CColorMatrix::Row& row,
                                std::uint8_t* dst) const {
    for (std::size_t i = 0; i < m_pixelCount; ++i)
        dst[i] = MatrixByte(row, planes[0][i], planes[1][i], planes[2][i]);
}
