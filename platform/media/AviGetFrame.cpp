#include "platform/media/AviGetFrame.h"

#include <algorithm>
#include <cstring>

CAviGetFrame::CAviGetFrame(IAVIStream* stream) : m_stream(stream) {
    m_stream->AddRef();
}

CAviGetFrame::~CAviGetFrame() {
    m_stream->Release();
}

bool CAviGetFrame::ReadLayout(LONG position, Layout* layout) {
    LONG formatBytes = 0;
    if (m_stream->ReadFormat(position, nullptr, &formatBytes) != AVIERR_OK ||
        formatBytes < kBitmapInfoHeaderBytes)
        return false;
    m_format.resize(static_cast<size_t>(formatBytes));
    if (m_stream->ReadFormat(position, m_format.data(), &formatBytes) != AVIERR_OK)
        return false;
    BITMAPINFOHEADER& in = layout->in;
    std::memcpy(&in, m_format.data(), sizeof in);
    const int bits = in.biBitCount;
    const bool knownDepth =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    if (in.biCompression != BI_RGB || !knownDepth || in.biWidth <= 0 || in.biHeight == 0 ||
        in.biSize < static_cast<DWORD>(kBitmapInfoHeaderBytes) ||
        in.biSize > static_cast<DWORD>(formatBytes))
        return false;
    const LONG width = in.biWidth;
    const LONG height = in.biHeight < 0 ? -in.biHeight : in.biHeight;

    const int outBits = bits < 8 || bits == 16 ? 8 : bits;
    int inColours = 0;
    if (bits <= 8) {
        const int full = 1 << bits;
        inColours = in.biClrUsed > 0 ? static_cast<int>(std::min<DWORD>(in.biClrUsed, full)) : full;
    }
    // A table shorter than the header says gives only the colours it holds: none at all lets
    // the reader keep the colours it had.
    layout->tableAt = in.biSize;
    layout->storedColours =
        std::min<size_t>(inColours, (static_cast<size_t>(formatBytes) - layout->tableAt) / 4);
    const int outColours = bits == 16 ? 256 : static_cast<int>(layout->storedColours);
    layout->outRow = static_cast<size_t>(DibRowBytes(width, static_cast<WORD>(outBits)));
    layout->tableBytes = 4 * static_cast<size_t>(outColours);
    layout->pixelBytes = layout->outRow * static_cast<size_t>(height);
    const size_t total = kBitmapInfoHeaderBytes + layout->tableBytes + layout->pixelBytes;
    if (layout->pixelBytes / layout->outRow != static_cast<size_t>(height) || total > 0x7FFFFFFF)
        return false;

    BITMAPINFOHEADER& out = layout->out;
    out = BITMAPINFOHEADER();
    out.biWidth = width;
    out.biHeight = in.biHeight;
    out.biBitCount = static_cast<WORD>(outBits);
    out.biCompression = BI_RGB;
    out.biSizeImage = static_cast<DWORD>(layout->pixelBytes);
    out.biXPelsPerMeter = in.biXPelsPerMeter;
    out.biYPelsPerMeter = in.biYPelsPerMeter;
    out.biClrUsed = static_cast<DWORD>(outColours);
    return true;
}

BITMAPINFOHEADER* CAviGetFrame::Pack(const Layout& layout, bool packed) {
    // Every byte is written by the caller; a frame of the same size reuses the buffer as it is.
    const size_t words =
        (kBitmapInfoHeaderBytes + layout.tableBytes + (packed ? layout.pixelBytes : 0) + 3) / 4;
    if (words > m_packed.capacity())
        ++m_allocations;
    m_packed.resize(words);
    auto* bytes = reinterpret_cast<BYTE*>(m_packed.data());
    std::memcpy(bytes, &layout.out, sizeof layout.out);
    BYTE* table = bytes + kBitmapInfoHeaderBytes;
    if (layout.in.biBitCount == 16) {
        for (int i = 0; i < 256; ++i) {
            table[4 * i] = table[4 * i + 1] = table[4 * i + 2] = static_cast<BYTE>(i);
            table[4 * i + 3] = 0;
        }
    } else {
        std::memcpy(table, m_format.data() + layout.tableAt, 4 * layout.storedColours);
    }
    return reinterpret_cast<BITMAPINFOHEADER*>(bytes);
}

BITMAPINFOHEADER* CAviGetFrame::GetMappedFrame(LONG position, const BYTE** top, ptrdiff_t* stride,
                                               std::shared_ptr<const void>* keeper) {
    Layout layout;
    if (!top || !stride || !keeper || !ReadLayout(position, &layout) ||
        layout.out.biBitCount != layout.in.biBitCount)
        return nullptr;
    const BYTE* rows = nullptr;
    ptrdiff_t step = 0;
    std::shared_ptr<const void> owner;
    if (m_stream->MapRows(position, &rows, &step, &owner) != AVIERR_OK || !rows || !owner ||
        step != static_cast<ptrdiff_t>(layout.outRow))
        return nullptr;
    BITMAPINFOHEADER* header = Pack(layout, false);
    *top = rows;
    *stride = step;
    *keeper = std::move(owner);
    return header;
}

BITMAPINFOHEADER* CAviGetFrame::GetFrame(LONG position, const RowTarget& target) {
    Layout layout;
    if (!ReadLayout(position, &layout))
        return nullptr;
    const BITMAPINFOHEADER& in = layout.in;
    const int bits = in.biBitCount;
    const int outBits = layout.out.biBitCount;
    const LONG width = in.biWidth;
    const LONG height = in.biHeight < 0 ? -in.biHeight : in.biHeight;
    const size_t outRow = layout.outRow;
    const size_t pixelBytes = layout.pixelBytes;
    ptrdiff_t targetStride = 0;
    BYTE* top = target ? target(layout.out, &targetStride) : nullptr;
    if (top && targetStride < static_cast<ptrdiff_t>(outRow))
        top = nullptr;

    BITMAPINFOHEADER* const result = Pack(layout, !top);
    BYTE* table = reinterpret_cast<BYTE*>(result) + kBitmapInfoHeaderBytes;
    const size_t tableBytes = layout.tableBytes;

    // Row i of the stream's order goes to first + i * step: packed after the table, or into
    // the caller's upright picture, bottom row first for a bottom-up stream.
    BYTE* first = table + tableBytes;
    auto step = static_cast<ptrdiff_t>(outRow);
    if (top) {
        const bool bottomUp = in.biHeight > 0;
        first = bottomUp ? top + (height - 1) * targetStride : top;
        step = bottomUp ? -targetStride : targetStride;
    }
    const size_t tight = (static_cast<size_t>(width) * bits + 7) / 8;
    if (top && outBits == bits) {
        const HRESULT read = m_stream->ReadRows(position, first, step);
        if (read == AVIERR_OK) {
            if (tight < outRow)
                for (LONG y = 0; y < height; ++y)
                    std::memset(first + y * step + tight, 0, outRow - tight);
            return result;
        }
        if (read != AVIERR_UNSUPPORTED)
            return nullptr;
    }

    LONG frameBytes = 0;
    if (m_stream->Read(position, 1, nullptr, 0, &frameBytes, nullptr) != AVIERR_OK ||
        frameBytes <= 0)
        return nullptr;
    if (!top && outBits == bits && static_cast<size_t>(frameBytes) == pixelBytes) {
        LONG bytesRead = 0;
        if (m_stream->Read(position, 1, first, frameBytes, &bytesRead, nullptr) != AVIERR_OK)
            return nullptr;
        return result;
    }

    m_read.resize(static_cast<size_t>(frameBytes));
    LONG bytesRead = 0;
    if (m_stream->Read(position, 1, m_read.data(), frameBytes, &bytesRead, nullptr) != AVIERR_OK)
        return nullptr;
    // The stream's rows are padded like a bitmap's, or packed without padding.
    const auto padded = static_cast<size_t>(DibRowBytes(width, static_cast<WORD>(bits)));
    const auto got = static_cast<size_t>(bytesRead);
    size_t inRow = 0;
    if (got >= padded * height)
        inRow = padded;
    else if (got >= tight * height)
        inRow = tight;
    else
        return nullptr;

    for (LONG y = 0; y < height; ++y) {
        const BYTE* src = m_read.data() + inRow * y;
        BYTE* dst = first + y * step;
        const size_t written = bits <= 16 ? static_cast<size_t>(width) : tight;
        std::memset(dst + written, 0, outRow - written);
        switch (bits) {
            case 1:
                for (LONG x = 0; x < width; ++x)
                    dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1;
                break;
            case 4:
                for (LONG x = 0; x < width; ++x)
                    dst[x] = (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4);
                break;
            case 16:
                for (LONG x = 0; x < width; ++x)
                    dst[x] = src[2 * x + 1];  // little-endian samples: the high byte
                break;
            default:
                std::memcpy(dst, src, tight);
                break;
        }
    }
    return result;
}

PGETFRAME AVIStreamGetFrameOpen(IAVIStream* stream, const BITMAPINFOHEADER* wanted) {
    if (!stream || wanted)
        return nullptr;
    return new CAviGetFrame(stream);
}

void* AVIStreamGetFrame(PGETFRAME reader, LONG position) {
    return reader ? reader->GetFrame(position) : nullptr;
}

HRESULT AVIStreamGetFrameClose(PGETFRAME reader) {
    if (!reader)
        return AVIERR_BADHANDLE;
    delete reader;
    return AVIERR_OK;
}
