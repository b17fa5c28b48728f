#include "frames/FrameImage.h"

#include "frames/Dib.h"
#include "platform/com/ComVariant.h"
#include "platform/framework/DC.h"
#include "platform/media/AviGetFrame.h"
#include "platform/media/AviStreamFunctions.h"

#include <QPaintEngine>
#include <QPainter>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

using namespace imaging;

namespace {

#if defined(__x86_64__)
bool HasByteShuffles() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512bw") != 0 &&
               __builtin_cpu_supports("avx512vbmi") != 0;
    }();
    return has;
}

// GCC 12's AVX-512 headers start some vectors from themselves ("undefined" values the
// instructions then overwrite), which its flow analysis takes for uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#define RM_BYTE_SHUFFLES __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// Looks up the scaled rows of an opaque 8-bit image 64 pixels at a time with byte shuffles
// instead of one load and store per pixel. Each block of 64 output pixels picks its source bytes
// in four runs of 16 from 128-byte windows of the row (a run spanning more leaves the block to
// the plain loop), in the order the interleaving of the colour bytes then puts back in place:
// byte 16 L + 4 j + d of the block holds pixel 16 j + 4 L + d.
class ScaledRowShuffler {
public:
    ScaledRowShuffler(const std::vector<int>& columns, int rowBytes, const QRgb* table)
        : m_blocks(columns.size() / 64) {
        for (int k = 0; k < 256; ++k) {
            m_blue[k] = static_cast<uint8_t>(qBlue(table[k]));
            m_green[k] = static_cast<uint8_t>(qGreen(table[k]));
            m_red[k] = static_cast<uint8_t>(qRed(table[k]));
        }
        m_runs.resize(m_blocks * 4);
        for (size_t b = 0; b < m_blocks; ++b) {
            for (int j = 0; j < 4; ++j) {
                Run& run = m_runs[b * 4 + static_cast<size_t>(j)];
                const int* part = columns.data() + b * 64 + static_cast<size_t>(16 * j);
                run.base = part[0];
                run.usable = part[15] - part[0] < 128 && part[15] >= part[0];
                const int available = std::max(0, rowBytes - run.base);
                run.low = available >= 64 ? ~uint64_t{0} : (uint64_t{1} << available) - 1;
                run.high = available >= 128  ? ~uint64_t{0}
                           : available <= 64 ? 0
                                             : (uint64_t{1} << (available - 64)) - 1;
                for (int L = 0; L < 4; ++L) {
                    for (int d = 0; d < 4; ++d)
                        run.index[16 * L + 4 * j + d] =
                            static_cast<uint8_t>(part[4 * L + d] - run.base);
                }
            }
        }
    }

    size_t Blocks() const { return m_blocks; }
    bool Usable(size_t block) const {
        const Run* runs = &m_runs[block * 4];
        return runs[0].usable && runs[1].usable && runs[2].usable && runs[3].usable;
    }

    // The 64 pixels of block of row into out.
    RM_BYTE_SHUFFLES void Block(const uchar* row, size_t block, QRgb* out) const {
        const Run* runs = &m_runs[block * 4];
        __m512i indices = _mm512_setzero_si512();
        for (int j = 0; j < 4; ++j) {
            const Run& run = runs[j];
            const __m512i low = _mm512_maskz_loadu_epi8(run.low, row + run.base);
            const __m512i high = _mm512_maskz_loadu_epi8(run.high, row + run.base + 64);
            const __mmask64 mine = uint64_t{0x000F000F000F000F} << (4 * j);
            indices = _mm512_mask_blend_epi8(
                mine, indices, _mm512_permutex2var_epi8(low, _mm512_loadu_si512(run.index), high));
        }
        const __m512i blue = Look(m_blue, indices);
        const __m512i green = Look(m_green, indices);
        const __m512i red = Look(m_red, indices);
        const __m512i alpha = _mm512_set1_epi8(static_cast<char>(0xFF));
        const __m512i blueGreenLow = _mm512_unpacklo_epi8(blue, green);
        const __m512i blueGreenHigh = _mm512_unpackhi_epi8(blue, green);
        const __m512i redAlphaLow = _mm512_unpacklo_epi8(red, alpha);
        const __m512i redAlphaHigh = _mm512_unpackhi_epi8(red, alpha);
        _mm512_storeu_si512(out, _mm512_unpacklo_epi16(blueGreenLow, redAlphaLow));
        _mm512_storeu_si512(out + 16, _mm512_unpackhi_epi16(blueGreenLow, redAlphaLow));
        _mm512_storeu_si512(out + 32, _mm512_unpacklo_epi16(blueGreenHigh, redAlphaHigh));
        _mm512_storeu_si512(out + 48, _mm512_unpackhi_epi16(blueGreenHigh, redAlphaHigh));
    }

private:
    struct Run {
        alignas(64) uint8_t index[64] = {};
        int base = 0;
        bool usable = false;
        uint64_t low = 0;  // Bytes of the two windows that lie inside the row.
        uint64_t high = 0;
    };

    // The 256-entry byte table for 64 indices: the low seven bits pick from a half, the top
    // bit the half.
    RM_BYTE_SHUFFLES static __m512i Look(const uint8_t* table, __m512i indices) {
        const __m512i lower = _mm512_permutex2var_epi8(_mm512_loadu_si512(table), indices,
                                                       _mm512_loadu_si512(table + 64));
        const __m512i upper = _mm512_permutex2var_epi8(_mm512_loadu_si512(table + 128), indices,
                                                       _mm512_loadu_si512(table + 192));
        return _mm512_mask_blend_epi8(_mm512_movepi8_mask(indices), lower, upper);
    }

    size_t m_blocks;
    std::vector<Run> m_runs;
    alignas(64) uint8_t m_blue[256];
    alignas(64) uint8_t m_green[256];
    alignas(64) uint8_t m_red[256];
};

#pragma GCC diagnostic pop

bool HasAvx2() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

#define RM_AVX2 __attribute__((target("avx2")))

// Looks up the scaled rows of an opaque 8-bit image eight pixels at a time with AVX2: each half
// of a block of eight picks its four source bytes from one 16-byte load with a byte shuffle
// (a half spanning more, or a row shorter than a load, leaves the block to the plain loop). A grey
// table whose entry k is k in every colour needs no lookup: the shuffle copies each byte into the
// three colour bytes. Other tables are gathered. The blocks up to the first one the shuffle cannot
// do run in a loop without tests, as the row's pixels are many and the lookup is short. A row whose
// width is no multiple of eight ends with one more block over its last eight pixels, overlapping
// the one before, which writes the shared pixels again alike.
class ScaledRowGather {
public:
    ScaledRowGather(const std::vector<int>& columns, int rowBytes, const QRgb* table)
        : m_blocks(columns.size() / 8), m_table(table) {
        m_grey = true;
        for (int k = 0; k < 256; ++k)
            m_grey = m_grey && table[k] == (0xFF000000u | static_cast<QRgb>(k) * 0x010101u);
        m_tailAt = columns.size() % 8 != 0 && m_blocks > 0 ? columns.size() - 8 : 0;
        const size_t blocks = m_blocks + (m_tailAt != 0 ? 1 : 0);
        m_shuffles.resize(blocks);
        m_bases.resize(blocks);
        m_usable.resize(blocks);
        m_leading = m_blocks;
        for (size_t b = 0; b < blocks; ++b) {
            const size_t first = b < m_blocks ? b * 8 : m_tailAt;
            bool usable = true;
            uint64_t bases = 0;
            for (int half = 0; half < 2; ++half) {
                const int* part = columns.data() + first + static_cast<size_t>(4 * half);
                // A load that would pass the row's end ends with it instead.
                const int start = rowBytes >= 16 ? std::min(part[0], rowBytes - 16) : part[0];
                bases |= uint64_t{static_cast<uint32_t>(start)} << (32 * half);
                usable =
                    usable && part[3] - start < 16 && part[3] >= part[0] && start + 16 <= rowBytes;
                for (int d = 0; d < 4; ++d) {
                    const auto at = static_cast<uint8_t>(part[d] - start);
                    uint8_t* bytes = m_shuffles[b].bytes + 16 * half + 4 * d;
                    bytes[0] = at;
                    bytes[1] = m_grey ? at : 0x80;
                    bytes[2] = m_grey ? at : 0x80;
                    bytes[3] = 0x80;
                }
            }
            m_bases[b] = bases;
            m_usable[b] = usable;
            if (!usable && m_leading == m_blocks && b < m_blocks)
                m_leading = b;
        }
        if (!columns.empty()) {
            m_firstLine = columns.front() & ~63;
            m_lines = static_cast<size_t>((columns.back() >> 6) - (columns.front() >> 6) + 1);
            m_fetchEvery = std::max<size_t>(1, m_blocks / m_lines);
            m_fetchGroups = std::min(m_leading / m_fetchEvery, m_lines);
        }
    }

    // The pixels of row that whole blocks cover into out; returns how many. The cache lines of
    // ahead, a row drawn later, that the columns cover are fetched along the way, one every few
    // blocks: asked for all at once, they would stall the row's stores until memory answers.
    RM_AVX2 size_t Row(const uchar* row, const int* columns, QRgb* out, const uchar* ahead) const {
        const char* fetch = reinterpret_cast<const char*>(ahead) + m_firstLine;
        const char* const fetchEnd = fetch + 64 * m_lines;
        size_t block = m_grey ? Leading<true>(row, out, &fetch) : Leading<false>(row, out, &fetch);
        for (; fetch < fetchEnd; fetch += 64)
            _mm_prefetch(fetch, _MM_HINT_T0);
        for (; block < m_blocks; ++block) {
            if (!m_usable[block]) {
                for (size_t k = 8 * block; k < 8 * block + 8; ++k)
                    out[k] = m_table[row[columns[k]]];
                continue;
            }
            WriteAny(row, block, out + 8 * block);
        }
        if (m_tailAt == 0 || !m_usable[m_blocks])
            return 8 * m_blocks;
        WriteAny(row, m_blocks, out + m_tailAt);
        return m_tailAt + 8;
    }

private:
    // The blocks before the first one the shuffle cannot do, in a loop without tests, with a
    // fetch of the next line of the row ahead every few blocks; returns how many.
    template <bool kGrey>
    RM_AVX2 size_t Leading(const uchar* row, QRgb* out, const char** fetch) const {
        // Held in locals: the vector stores may alias any member.
        const uint64_t* bases = m_bases.data();
        const Shuffle* shuffles = m_shuffles.data();
        const size_t leading = m_leading;
        const size_t every = m_fetchEvery;
        const size_t groups = m_fetchGroups;
        const char* next = *fetch;
        // Whole groups of blocks, each after one fetch, while lines are left to fetch; then
        // the rest without.
        size_t block = 0;
        for (size_t group = 0; group < groups; ++group, next += 64) {
            _mm_prefetch(next, _MM_HINT_T0);
            for (const size_t end = block + every; block < end; ++block)
                Write<kGrey>(row, bases, shuffles, block, out + 8 * block);
        }
        for (; block < leading; ++block)
            Write<kGrey>(row, bases, shuffles, block, out + 8 * block);
        *fetch = next;
        return block;
    }

    struct Shuffle {
        alignas(32) uint8_t bytes[32] = {};
    };

    // The source bytes of block, each in the low byte of its pixel (in all three colour bytes
    // for a grey table).
    RM_AVX2 static __m256i Picked(const uchar* row, const uint64_t* bases, const Shuffle* shuffles,
                                  size_t block) {
        // Both halves' starts come in one load: the loop is bound by its loads.
        const uint64_t starts = bases[block];
        const __m256i bytes = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(
                reinterpret_cast<const __m128i*>(row + static_cast<uint32_t>(starts)))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + (starts >> 32))), 1);
        return _mm256_shuffle_epi8(
            bytes, _mm256_load_si256(reinterpret_cast<const __m256i*>(shuffles[block].bytes)));
    }
    // Block's pixels into to.
    template <bool kGrey>
    RM_AVX2 void Write(const uchar* row, const uint64_t* bases, const Shuffle* shuffles,
                       size_t block, QRgb* to) const {
        const __m256i picked = Picked(row, bases, shuffles, block);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(to),
                            kGrey ? Grey(picked) : Gathered(picked));
    }
    // The same, the table's kind asked at each block.
    RM_AVX2 void WriteAny(const uchar* row, size_t block, QRgb* to) const {
        if (m_grey)
            Write<true>(row, m_bases.data(), m_shuffles.data(), block, to);
        else
            Write<false>(row, m_bases.data(), m_shuffles.data(), block, to);
    }
    RM_AVX2 static __m256i Grey(__m256i picked) {
        return _mm256_or_si256(picked, _mm256_set1_epi32(static_cast<int>(0xFF000000u)));
    }
    RM_AVX2 __m256i Gathered(__m256i picked) const {
        return _mm256_i32gather_epi32(reinterpret_cast<const int*>(m_table), picked, 4);
    }

    size_t m_blocks;      // whole blocks from the row's start
    size_t m_tailAt = 0;  // first pixel of the last eight when a block ends there, else 0
    size_t m_leading;     // blocks before the first one the shuffle cannot do
    int m_firstLine = 0;  // start of the cache line of the first column
    size_t m_lines = 0;   // cache lines from the first column's to the last one's
    size_t m_fetchEvery = 1;
    size_t m_fetchGroups = 0;  // groups of m_fetchEvery leading blocks that start with a fetch
    const QRgb* m_table;
    bool m_grey = false;
    std::vector<Shuffle> m_shuffles;
    std::vector<uint64_t> m_bases;  // where each half's load starts, the first in the low half
    std::vector<uint8_t> m_usable;
};
#endif

// The column tables of a scaled drawing: which source column each target column shows, and
// the lookups built from them. Playback draws frame after frame of one size with one palette
// into the same place, so each thread keeps the last few and derives them again only when the
// place, the frame's width or its colours change.
struct ScaledColumns {
    int sourceWidth = 0;
    qsizetype rowBytes = 0;
    int toLeft = 0;
    int toWidth = 0;
    int left = 0;
    int right = -1;
    QList<QRgb> table;
    bool opaque = false;
    std::vector<int> columns;
#if defined(__x86_64__)
    std::optional<ScaledRowShuffler> shuffler;
    std::optional<ScaledRowGather> gather;
#endif
};

// The tables for drawing columns left to right of `to` from source, with colours table; null
// when a colour is not opaque.
const ScaledColumns* ColumnsFor(const QImage& source, const QList<QRgb>& table, const QRect& to,
                                int left, int right) {
    constexpr int kChunk = 2048;
    constexpr double kFixed = 65536.0;
    constexpr size_t kKept = 4;
    thread_local std::array<std::unique_ptr<ScaledColumns>, kKept> kept;
    thread_local size_t next = 0;
    for (const auto& entry : kept) {
        if (entry && entry->sourceWidth == source.width() &&
            entry->rowBytes == source.bytesPerLine() && entry->toLeft == to.x() &&
            entry->toWidth == to.width() && entry->left == left && entry->right == right &&
            entry->table == table)
            return entry->opaque ? entry.get() : nullptr;
    }
    auto entry = std::make_unique<ScaledColumns>();
    entry->sourceWidth = source.width();
    entry->rowBytes = source.bytesPerLine();
    entry->toLeft = to.x();
    entry->toWidth = to.width();
    entry->left = left;
    entry->right = right;
    entry->table = table;
    entry->opaque =
        std::all_of(table.begin(), table.end(), [](QRgb c) { return qAlpha(c) == 255; });
    if (entry->opaque) {
        // The painter's mapping from the target back into the image, nudged by 1/65536 so that
        // positions landing exactly on a pixel edge round the same way; stepped in 16.16 fixed
        // point from where the drawn part starts, every kChunk pixels afresh.
        const double forward = static_cast<double>(to.width()) / source.width();
        const double scale = 1.0 / forward;
        const double shift = -(to.x() + forward / kFixed) / forward;
        const int step = static_cast<int>(scale * kFixed);
        const int lastColumn = source.width() - 1;
        std::vector<int>& columns = entry->columns;
        columns.resize(static_cast<size_t>(right - left + 1));
        for (int x = left; x <= right; x += kChunk) {
            int fx = static_cast<int>((scale * (x + 0.5) + shift) * kFixed);
            const int end = std::min(x + kChunk, right + 1);
            for (int i = x; i < end; ++i, fx += step)
                columns[static_cast<size_t>(i - left)] = std::clamp(fx >> 16, 0, lastColumn);
        }
#if defined(__x86_64__)
        const int rowBytes = static_cast<int>(source.bytesPerLine());
        if (HasByteShuffles() && columns.size() >= 64)
            entry->shuffler.emplace(columns, rowBytes, entry->table.constData());
        else if (HasAvx2() && columns.size() >= 8)
            entry->gather.emplace(columns, rowBytes, entry->table.constData());
#endif
    }
    std::unique_ptr<ScaledColumns>& slot = kept[next];
    next = (next + 1) % kKept;
    slot = std::move(entry);
    return slot->opaque ? slot.get() : nullptr;
}

// Draws an opaque 8-bit image scaled into rectangle `to` of a 32-bit image, nearest pixel,
// picking the same source pixels as the painter's unsmoothed scaling: source positions of pixel
// centres in 16.16 fixed point, stepped along each row from where its part inside bounds starts
// (see ColumnsFor). to, bounds and clip are in the drawing's coordinates, which are
// the target's moved by shift: the pixels are picked as if bounds were the whole target, and
// only those inside clip are written. Only that part is touched, so a window showing a corner of
// a large frame looks up only what it shows, on this thread, without first converting the whole
// frame to 32 bits. False when the image is not one it can draw this way.
bool ScaleIndexedInto(const QImage& source, const QRect& to, const QRect& bounds,
                      const QRegion& clip, const QPoint& shift, QImage* target) {
    constexpr double kFixed = 65536.0;
    // Beyond this enlargement or reduction the painter steps differently; such drawing is left
    // to it.
    constexpr int kMaxZoom = 32;
    if (source.format() != QImage::Format_Indexed8 || target->format() != QImage::Format_RGB32 ||
        to.isEmpty() || source.colorCount() != 256 || to.width() > kMaxZoom * source.width() ||
        to.height() > kMaxZoom * source.height() || source.width() > kMaxZoom * to.width() ||
        source.height() > kMaxZoom * to.height())
        return false;
    const QRect visible = to.intersected(bounds);
    const QRegion written = clip.intersected(target->rect().translated(-shift));
    if (visible.isEmpty() || written.isEmpty())
        return true;
    const QList<QRgb> table = source.colorTable();
    const ScaledColumns* tables = ColumnsFor(source, table, to, visible.left(), visible.right());
    if (!tables)
        return false;
    const std::vector<int>& columns = tables->columns;
    // Usually the clip is one rectangle as wide as the visible part, whose rows are written
    // whole; otherwise row by row where the clip allows.
    const QRect single = written.rectCount() == 1 ? written.boundingRect() : QRect();
    const bool wide = single.left() <= visible.left() && single.right() >= visible.right();
    // The rows as the columns: the painter's mapping back into the image.
    const double forwardY = static_cast<double>(to.height()) / source.height();
    const double scaleY = 1.0 / forwardY;
    const double shiftY = -(to.y() + forwardY / kFixed) / forwardY;
    const int lastRow = source.height() - 1;
#if defined(__x86_64__)
    const std::optional<ScaledRowShuffler>& shuffler = tables->shuffler;
    const std::optional<ScaledRowGather>& gather = tables->gather;
#endif
    uchar* const bits = target->bits();
    const qsizetype stride = target->bytesPerLine();
    const auto rowOut = [bits, stride, &shift, &visible](int y) {
        return reinterpret_cast<QRgb*>(bits + (y + shift.y()) * stride) + visible.left() +
               shift.x();
    };
    const uchar* const sourceBits = source.constBits();
    const qsizetype sourceStride = source.bytesPerLine();
    const auto sourceRow = [ sourceBits, sourceStride, scaleY, shiftY, lastRow ](int y)
        __attribute__((always_inline)) {
        const int fy = static_cast<int>((scaleY * (y + 0.5) + shiftY) * kFixed);
        return sourceBits + std::clamp(fy >> 16, 0, lastRow) * sourceStride;
    };
    for (int y = visible.top(); y <= visible.bottom(); ++y) {
        const uchar* row = sourceRow(y);
        if (!wide || y < single.top() || y > single.bottom()) {
            for (const QRect& part : written) {
                if (y < part.top() || y > part.bottom())
                    continue;
                QRgb* out = rowOut(y);
                const int first = std::max(part.left(), visible.left()) - visible.left();
                const int last = std::min(part.right(), visible.right()) - visible.left();
                for (int k = first; k <= last; ++k)
                    out[k] = table[row[columns[static_cast<size_t>(k)]]];
            }
            continue;
        }
        QRgb* out = rowOut(y);
        size_t i = 0;
#if defined(__x86_64__)
        for (size_t block = 0; shuffler && block < shuffler->Blocks(); ++block) {
            if (shuffler->Usable(block)) {
                shuffler->Block(row, block, out + 64 * block);
            } else {
                for (size_t k = 64 * block; k < 64 * block + 64; ++k)
                    out[k] = table[row[columns[k]]];
            }
            i = 64 * block + 64;
        }
        if (gather) {
            // The row after next is on its way from memory while this one is looked up.
            i = gather->Row(row, columns.data(), out, sourceRow(y + 2));
        }
#endif
        for (; i < columns.size(); ++i)
            out[i] = table[row[columns[i]]];
    }
    return true;
}

// The image a painter on a widget draws into (its window's backing store, when Qt paints the
// window into an image) and the part of it this painting may touch; null for other painters.
QImage* WidgetImage(QPainter* painter, QRegion* allowed) {
    QPaintEngine* engine = painter->paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !painter->device() ||
        painter->device()->devType() != QInternal::Widget)
        return nullptr;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    *allowed = engine->systemClip();
    return allowed->isEmpty() ? nullptr : static_cast<QImage*>(device);
}

std::function<ISettingsStore*()>& SettingsStoreProvider() {
    static std::function<ISettingsStore*()> provider;
    return provider;
}

// Copies the rows of an 8- or 24-bit DIB (either row order) into a bitmap of the same size and
// format, keeping its memory; false, with the bitmap untouched, when they do not match.
bool RowsIntoBitmap(const BITMAPINFOHEADER& header, const BYTE* bits, Bitmap* bitmap) {
    const int width = header.biWidth;
    const int height = std::abs(header.biHeight);
    const PixelFormat format = header.biBitCount == 8    ? PixelFormat8bppIndexed
                               : header.biBitCount == 24 ? PixelFormat24bppRGB
                                                         : 0;
    if (!bitmap || !bits || width <= 0 || height <= 0 || format == 0 ||
        bitmap->GetPixelFormat() != format || bitmap->GetWidth() != static_cast<UINT>(width) ||
        bitmap->GetHeight() != static_cast<UINT>(height))
        return false;
    const auto stride = static_cast<int32_t>(DibRowBytes(width, header.biBitCount));
    const bool bottomUp = header.biHeight > 0;
    const BYTE* top = bottomUp ? bits + static_cast<size_t>(height - 1) * stride : bits;
    return bitmap->SetRows(bottomUp ? -stride : stride, top) == Ok;
}

// An upright bitmap over the rows of a DIB (either row order); 32-bit rows become 24-bit.
std::unique_ptr<Bitmap> BitmapFromRows(const BITMAPINFOHEADER& header, const BYTE* bits) {
    const int width = header.biWidth;
    const int height = std::abs(header.biHeight);
    if (!bits || width <= 0 || height <= 0)
        return nullptr;
    PixelFormat format = 0;
    switch (header.biBitCount) {
        case 8:
            format = PixelFormat8bppIndexed;
            break;
        case 24:
            format = PixelFormat24bppRGB;
            break;
        case 32:
            format = PixelFormat32bppRGB;
            break;
        default:
            return nullptr;
    }
    const auto stride = static_cast<int32_t>(DibRowBytes(width, header.biBitCount));
    const bool bottomUp = header.biHeight > 0;
    const BYTE* top = bottomUp ? bits + static_cast<size_t>(height - 1) * stride : bits;
    auto bitmap = std::make_unique<Bitmap>(width, height, bottomUp ? -stride : stride, format, top);
    if (bitmap->GetWidth() == 0)
        return nullptr;
    if (format == PixelFormat32bppRGB)
        return bitmap->Clone(0, 0, width, height, PixelFormat24bppRGB);
    return bitmap;
}

// Writes the colours of a DIB colour table into the first palette entries.
void TakeColours(const RGBQUAD* table, DWORD used, ColorPalette* palette) {
    const DWORD count = std::min<DWORD>(used, kMaxPaletteEntries);
    for (DWORD i = 0; i < count; ++i)
        palette->Entries[i] = MakeARGB(0xFF, table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue);
}

int ZoomMode() {
    const auto& provider = SettingsStoreProvider();
    ISettingsStore* store = provider ? provider() : nullptr;
    if (!store)
        return 0;
    CComVariant value;
    if (store->GetSetting("Video:ZoomMode", &value) != S_OK)
        return 0;
    VARIANT number;
    VariantInit(&number);
    if (VariantChangeType(&number, &value, 0, VT_I4) != S_OK)
        return 0;
    return number.lVal;
}

}  // namespace

CFrameImage::CFrameImage()
    : m_bitmap(std::make_unique<Bitmap>(1, 1, PixelFormat8bppIndexed)), m_palette(GreyPalette()) {
    SetPaletteOnBitmap();
}

CFrameImage::~CFrameImage() = default;

void CFrameImage::SetSettingsStoreProvider(std::function<ISettingsStore*()> provider) {
    SettingsStoreProvider() = std::move(provider);
}

void CFrameImage::SetPaletteOnBitmap() {
    if (m_bitmap && m_bitmap->GetPixelFormat() == PixelFormat8bppIndexed)
        m_bitmap->SetPalette(&m_palette);
}

void CFrameImage::TakeBitmap(std::unique_ptr<Bitmap> bitmap) {
    m_bitmap = std::move(bitmap);
    m_bufferSize = -1;
    SetPaletteOnBitmap();
}

int CFrameImage::FillFromStream(IAVIStream* stream, LONG n, bool checkSize) {
    PGETFRAME reader = AVIStreamGetFrameOpen(stream, nullptr);
    if (!reader)
        return 0;
    const int result = FillFromReader(reader, stream, n, checkSize);
    AVIStreamGetFrameClose(reader);
    return result;
}

int CFrameImage::FillFromReader(CAviGetFrame* reader, IAVIStream* stream, LONG n, bool checkSize,
                                bool mapped) {
    if (!reader || !stream)
        return 0;
    const LONG length = AVIStreamLength(stream);
    n = std::clamp<LONG>(n, 0, std::max<LONG>(length - 1, 0));
    if (checkSize) {
        // An 8-bit format with its colour table fits on the stack: playback checks every frame.
        std::array<BYTE, kBitmapInfoHeaderBytes + 4 * 256> small;
        std::vector<BYTE> large;
        auto frameSize = [stream, &small, &large](LONG position, LONG* width, LONG* height) {
            LONG size = 0;
            if (AVIStreamReadFormat(stream, position, nullptr, &size) != AVIERR_OK ||
                size < kBitmapInfoHeaderBytes)
                return false;
            BYTE* format = small.data();
            if (static_cast<size_t>(size) > small.size()) {
                large.resize(static_cast<size_t>(size));
                format = large.data();
            }
            if (AVIStreamReadFormat(stream, position, format, &size) != AVIERR_OK)
                return false;
            BITMAPINFOHEADER header;
            std::memcpy(&header, format, sizeof header);
            *width = header.biWidth;
            *height = std::abs(header.biHeight);
            return true;
        };
        LONG w0 = 0, h0 = 0, wn = 0, hn = 0;
        if (!frameSize(0, &w0, &h0) || !frameSize(n, &wn, &hn) || w0 != wn || h0 != hn)
            return 0;
    }
    if (mapped) {
        const BYTE* top = nullptr;
        ptrdiff_t stride = 0;
        std::shared_ptr<const void> keeper;
        if (const BITMAPINFOHEADER* dib = reader->GetMappedFrame(n, &top, &stride, &keeper)) {
            const PixelFormat format = dib->biBitCount == 8    ? PixelFormat8bppIndexed
                                       : dib->biBitCount == 24 ? PixelFormat24bppRGB
                                                               : 0;
            const int height = std::abs(dib->biHeight);
            // The held bitmap object goes on serving, now over the file's rows.
            auto bitmap =
                m_bitmap || format == 0 ? nullptr : std::make_unique<Bitmap>(1, 1, format);
            Bitmap* into = m_bitmap ? m_bitmap.get() : bitmap.get();
            if (into && into->ShowExternalRows(dib->biWidth, height, static_cast<int32_t>(stride),
                                               format, top, std::move(keeper)) == Ok) {
                if (dib->biBitCount == 8)
                    TakeColours(reinterpret_cast<const RGBQUAD*>(
                                    reinterpret_cast<const BYTE*>(dib) + dib->biSize),
                                dib->biClrUsed, &m_palette);
                if (bitmap)
                    TakeBitmap(std::move(bitmap));
                m_bufferSize = -1;
                SetPaletteOnBitmap();
                return 1;
            }
        }
    }
    // Frames of 8 and 24 bits are read straight into a bitmap: the held one when the frame has
    // its size and format (playback reads frame after frame of one size), else a new one that
    // replaces it only once the frame is read, so that a failed read leaves the held picture.
    std::unique_ptr<Bitmap> fresh;
    Bitmap* locked = nullptr;
    BitmapData rows;
    const auto target = [this, &fresh, &locked, &rows](const BITMAPINFOHEADER& header,
                                                       ptrdiff_t* stride) -> BYTE* {
        const PixelFormat format = header.biBitCount == 8    ? PixelFormat8bppIndexed
                                   : header.biBitCount == 24 ? PixelFormat24bppRGB
                                                             : 0;
        if (format == 0)
            return nullptr;
        const auto width = static_cast<UINT>(header.biWidth);
        const auto height = static_cast<UINT>(std::abs(header.biHeight));
        Bitmap* into = m_bitmap.get();
        // Rows another image or a file shows are not written into: a new bitmap takes the
        // frame.
        if (!into || into->RowsShared() || into->GetPixelFormat() != format ||
            into->GetWidth() != width || into->GetHeight() != height) {
            fresh = std::make_unique<Bitmap>(static_cast<int32_t>(width),
                                             static_cast<int32_t>(height), format);
            if (fresh->GetWidth() == 0) {
                fresh.reset();
                return nullptr;
            }
            into = fresh.get();
        }
        if (into->LockBits(nullptr, ImageLockModeWrite, format, &rows) != Ok)
            return nullptr;
        locked = into;
        *stride = rows.Stride;
        return static_cast<BYTE*>(rows.Scan0);
    };
    const BITMAPINFOHEADER* dib = reader->GetFrame(n, target);
    if (locked)
        locked->UnlockBits(&rows);
    std::unique_ptr<Bitmap> bitmap;
    bool reused = false;
    if (dib) {
        const auto* table =
            reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) + dib->biSize);
        if (locked) {
            reused = locked == m_bitmap.get();
            bitmap = std::move(fresh);
        } else {
            // A frame of another depth comes packed after its header.
            const auto* bits = reinterpret_cast<const BYTE*>(table + dib->biClrUsed);
            reused = RowsIntoBitmap(*dib, bits, m_bitmap.get());
            if (!reused)
                bitmap = BitmapFromRows(*dib, bits);
        }
        if ((reused || bitmap) && dib->biBitCount == 8)
            TakeColours(table, dib->biClrUsed, &m_palette);
    }
    if (reused) {
        m_bufferSize = -1;
        SetPaletteOnBitmap();
        return 1;
    }
    if (!bitmap)
        return 0;
    TakeBitmap(std::move(bitmap));
    return 1;
}

bool CFrameImage::FillFromDib(const CDib* dib) {
    if (!dib || !dib->GetHeader())
        return false;
    const bool reused = RowsIntoBitmap(*dib->GetHeader(), dib->GetBits(), m_bitmap.get());
    std::unique_ptr<Bitmap> bitmap;
    if (!reused) {
        bitmap = BitmapFromRows(*dib->GetHeader(), dib->GetBits());
        if (!bitmap)
            return false;
    }
    if (dib->GetHeader()->biBitCount == 8 && dib->GetColourTable())
        TakeColours(dib->GetColourTable(), static_cast<DWORD>(dib->GetColourCount()), &m_palette);
    if (reused) {
        m_bufferSize = -1;
        SetPaletteOnBitmap();
    } else {
        TakeBitmap(std::move(bitmap));
    }
    return true;
}

int CFrameImage::CopyFrom(const CFrameImage& other, const RGBQUAD* colours) {
    if (&other == this)
        return m_bitmap ? 1 : 0;
    if (!other.m_bitmap)
        return 0;
    const Bitmap& source = *other.m_bitmap;
    const auto takePalette = [this, &other, colours, &source] {
        m_palette = other.m_palette;
        if (colours && source.GetPixelFormat() == PixelFormat8bppIndexed) {
            TakeColours(colours, kMaxPaletteEntries, &m_palette);
            m_palette.Count = kMaxPaletteEntries;
        }
    };
    if (m_bitmap && m_bitmap->GetPixelFormat() == source.GetPixelFormat() &&
        m_bitmap->GetWidth() == source.GetWidth() && m_bitmap->GetHeight() == source.GetHeight() &&
        m_bitmap->CopyPixels(source) == Ok) {
        takePalette();
        m_bufferSize = -1;
        SetPaletteOnBitmap();
        return 1;
    }
    auto clone = source.Clone();
    if (!clone)
        return 0;
    takePalette();
    TakeBitmap(std::move(clone));
    return 1;
}

int CFrameImage::TakeFrom(CFrameImage& other, const RGBQUAD* colours) {
    if (&other == this)
        return m_bitmap ? 1 : 0;
    if (!other.m_bitmap)
        return 0;
    // Each bitmap keeps its record of whether Create made it, so that both go on being reused.
    std::swap(m_bitmap, other.m_bitmap);
    std::swap(m_bufferSize, other.m_bufferSize);
    m_palette = other.m_palette;
    if (colours && m_bitmap->GetPixelFormat() == PixelFormat8bppIndexed) {
        TakeColours(colours, kMaxPaletteEntries, &m_palette);
        m_palette.Count = kMaxPaletteEntries;
    }
    SetPaletteOnBitmap();
    return 1;
}

int CFrameImage::ShareFrom(const CFrameImage& other) {
    if (&other == this)
        return m_bitmap ? 1 : 0;
    if (!other.m_bitmap)
        return 0;
    auto bitmap = m_bitmap ? nullptr : std::make_unique<Bitmap>(1, 1, PixelFormat8bppIndexed);
    Bitmap* into = m_bitmap ? m_bitmap.get() : bitmap.get();
    if (into->ShareRowsOf(*other.m_bitmap) != Ok)
        return 0;
    if (bitmap)
        m_bitmap = std::move(bitmap);
    m_palette = other.m_palette;
    m_bufferSize = -1;
    SetPaletteOnBitmap();
    return 1;
}

bool CFrameImage::CopySubImage(const Bitmap* source, int x, int y, int width, int height) {
    m_bitmap.reset();
    m_bufferSize = -1;
    if (!source)
        return false;
    m_bitmap = source->Clone(x, y, width, height, PixelFormatDontCare);
    return m_bitmap != nullptr;
}

bool CFrameImage::CopySubImage(const CFrameImage* source, int x, int y, int width, int height) {
    if (source == this) {
        auto piece = m_bitmap ? m_bitmap->Clone(x, y, width, height, PixelFormatDontCare) : nullptr;
        TakeBitmap(std::move(piece));
        return m_bitmap != nullptr;
    }
    m_bitmap.reset();
    m_bufferSize = -1;
    if (!source || !source->m_bitmap)
        return false;
    auto piece = source->m_bitmap->Clone(x, y, width, height, PixelFormatDontCare);
    if (!piece)
        return false;
    m_palette = source->m_palette;
    TakeBitmap(std::move(piece));
    return true;
}

bool CFrameImage::Create(int width, int height, PixelFormat format, bool release) {
    if (release) {
        // The bitmap owns its pixels, so letting go of the buffer leaves nothing dangling.
        m_bufferSize = -1;
        if (!m_bitmap)
            TakeBitmap(std::make_unique<Bitmap>(1, 1, PixelFormat8bppIndexed));
        return true;
    }
    int bits = 0;
    if (format == PixelFormat8bppIndexed)
        bits = 8;
    else if (format == PixelFormat24bppRGB)
        bits = 24;
    if (bits == 0 || width <= 0 || height <= 0)
        return false;
    const int64_t imageBytes = int64_t{DibRowBytes(width, static_cast<WORD>(bits))} * height;
    if (imageBytes > 0x7FFFFFFF)
        return false;
    if (m_bitmap && m_bufferSize == imageBytes && m_bitmap->GetPixelFormat() == format &&
        m_bitmap->GetWidth() == static_cast<UINT>(width) &&
        m_bitmap->GetHeight() == static_cast<UINT>(height))
        return true;
    auto bitmap = std::make_unique<Bitmap>(width, height, format);
    if (bitmap->GetWidth() == 0)
        return false;
    TakeBitmap(std::move(bitmap));
    m_bufferSize = static_cast<int>(imageBytes);
    return true;
}

bool CFrameImage::LockBits(const Rect* rect, UINT flags, PixelFormat format, BitmapData* data) {
    return m_bitmap && m_bitmap->LockBits(rect, flags, format, data) == Ok;
}

bool CFrameImage::UnlockBits(BitmapData* data) {
    return m_bitmap && m_bitmap->UnlockBits(data) == Ok;
}

bool CFrameImage::RotateFlip(RotateFlipType type) {
    return m_bitmap && m_bitmap->RotateFlip(type) == Ok;
}

void CFrameImage::Draw(CDC* dc, int x, int y, int width, int height) const {
    if (!dc || !m_bitmap)
        return;
    QPainter* painter = dc->GetPainter();
    const QImage image = m_bitmap->AsQImage();
    if (!painter || image.isNull())
        return;
    // Qt offers two filters: none, and a smooth one (bilinear when enlarging, area-averaging
    // when reducing) that stands in for every smoothing mode. Qt maps pixel centres at +0.5.
    const int mode = ZoomMode();
    const bool smooth = mode >= 1 && mode <= 4;
    const QTransform device = painter->deviceTransform();
    const QPoint shift(static_cast<int>(device.dx()), static_cast<int>(device.dy()));
    if (!smooth && !painter->hasClipping() && device.type() <= QTransform::TxTranslate &&
        device.dx() == shift.x() && device.dy() == shift.y() && painter->opacity() == 1.0 &&
        painter->compositionMode() == QPainter::CompositionMode_SourceOver) {
        if (QImage* target = dc->GetImage()) {
            const QRect rect = QRect(x, y, width, height).translated(shift);
            if (ScaleIndexedInto(image, rect, target->rect(), target->rect(), QPoint(), target))
                return;
        } else if (QRegion clip; (target = WidgetImage(painter, &clip))) {
            // A widget's pixels go straight into its window's image, inside the part this
            // painting may touch, the same as through an image of the widget's size.
            const QRect widget(0, 0, painter->device()->width(), painter->device()->height());
            if (ScaleIndexedInto(image, QRect(x, y, width, height), widget, clip.translated(-shift),
                                 shift, target))
                return;
        }
    }
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter->drawImage(QRect(x, y, width, height), image);
    painter->restore();
}

HRESULT GetPixelFormatBytes(PixelFormat format, int* bytes) {
    if (!bytes)
        return E_POINTER;
    switch (format) {
        case PixelFormat8bppIndexed:
            *bytes = 1;
            return S_OK;
        case PixelFormat16bppRGB555:
        case PixelFormat16bppRGB565:
            *bytes = 2;
            return S_OK;
        case PixelFormat24bppRGB:
            *bytes = 3;
            return S_OK;
        case PixelFormat32bppRGB:
            *bytes = 4;
            return S_OK;
        default:
            return E_INVALIDARG;
    }
}

int GetEncoderClsid(const char16_t* mimeType, CodecId* clsid) {
    if (!mimeType || !clsid)
        return -1;
    UINT count = 0;
    UINT size = 0;
    if (GetImageEncodersSize(&count, &size) != Ok || size == 0)
        return -1;
    std::vector<BYTE> storage(size);
    auto* encoders = reinterpret_cast<ImageCodecInfo*>(storage.data());
    if (GetImageEncoders(count, size, encoders) != Ok)
        return -1;
    const std::u16string_view wanted(mimeType);
    for (UINT i = 0; i < count; ++i) {
        if (encoders[i].MimeType && wanted == encoders[i].MimeType) {
            *clsid = encoders[i].Clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}
