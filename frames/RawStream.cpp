#include "frames/RawStream.h"

#include "frames/FileMapping.h"
#include "platform/framework/IPrompter.h"
#include "platform/media/OpenFileRegistry.h"
#include "platform/wintypes/BitmapInfo.h"

#include <QFile>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int kRateOffset = 68;  // inside the header extension
constexpr int kPaletteEntries = 256;
constexpr LONG kFormatBytes = kBitmapInfoHeaderBytes;
constexpr LONG kFormatBytes8 = kBitmapInfoHeaderBytes + 4 * kPaletteEntries;
constexpr int kMaxSide = 0xFFFF;  // width and height travel in 16 bits each

int32_t Le32(const BYTE* p) {
    return static_cast<int32_t>(uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) |
                                (uint32_t{p[3]} << 24));
}

// Reads exactly count bytes at offset; false on a short read or an error.
bool ReadAt(int fd, void* buffer, size_t count, int64_t offset) {
    auto* out = static_cast<BYTE*>(buffer);
    while (count > 0) {
        const ssize_t got = ::pread(fd, out, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        count -= static_cast<size_t>(got);
        offset += got;
    }
    return true;
}

}  // namespace

CRawStream::~CRawStream() {
    if (m_fd >= 0)
        ::close(m_fd);
}

int64_t CRawStream::FrameBytes() const {
    return int64_t{m_bitsPerPixel / 8} * m_width * m_height;
}

HRESULT CRawStream::Create(LPARAM frameCount, LPARAM size) {
    m_frameCount = static_cast<int>(frameCount);
    m_width = static_cast<int>(size & 0xFFFF);
    m_height = static_cast<int>((size >> 16) & 0xFFFF);
    m_refCount = 1;
    return AVIERR_OK;
}

HRESULT CRawStream::Info(AviStreamInfo* info, LONG size) {
    if (!info || size < static_cast<LONG>(sizeof(AviStreamInfo)))
        return AVIERR_BUFFERTOOSMALL;
    *info = {};
    info->fccType = streamtypeVIDEO;
    info->fccHandler = MakeFourCC('R', 'A', 'W', ' ');
    info->scale = 1;
    info->rate = static_cast<DWORD>(m_rate);
    info->length = static_cast<DWORD>(m_frameCount);
    info->suggestedBufferSize = 0;
    info->frame = CRect(0, 0, m_width, m_height);
    const char16_t name[] = u"RAW video";
    std::memcpy(info->name, name, sizeof name);
    return AVIERR_OK;
}

HRESULT CRawStream::ReadFormat(LONG position, void* format, LONG* size) {
    if (position < 0 || position > m_frameCount)
        return AVIERR_BADPARAM;
    if (!size)
        return AVIERR_BADPARAM;
    const LONG needed = m_bitsPerPixel == 8 ? kFormatBytes8 : kFormatBytes;
    if (!format || *size == 0) {
        *size = needed;
        return AVIERR_OK;
    }
    // The colour table of an 8-bit stream must fit as well, not only the header.
    if (*size < needed)
        return AVIERR_BUFFERTOOSMALL;
    BITMAPINFOHEADER header;
    header.biSize = kBitmapInfoHeaderBytes;
    header.biWidth = m_width;
    header.biHeight = -m_height;  // rows top to bottom
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(m_bitsPerPixel);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(FrameBytes());
    header.biClrUsed = m_bitsPerPixel == 8 ? kPaletteEntries : 0;
    std::memcpy(format, &header, sizeof header);
    if (m_bitsPerPixel == 8) {
        auto* entry = static_cast<BYTE*>(format) + kBitmapInfoHeaderBytes;
        for (int i = 0; i < kPaletteEntries; ++i, entry += 4)
            entry[0] = entry[1] = entry[2] = static_cast<BYTE>(i);
    }
    return AVIERR_OK;
}

HRESULT CRawStream::Read(LONG start, LONG samples, void* buffer, LONG bufferSize, LONG* bytesRead,
                         LONG* samplesRead) {
    (void)samples;  // one frame per call, whatever was asked
    const int64_t frameBytes = FrameBytes();
    if (start < 0 || start >= m_frameCount)
        return AVIERR_BADPARAM;
    if (!buffer || bufferSize == 0) {
        if (bytesRead)
            *bytesRead = static_cast<LONG>(frameBytes);
        return AVIERR_OK;
    }
    if (bufferSize < frameBytes)
        return AVIERR_BUFFERTOOSMALL;
    if (!ReadAt(m_fd, buffer, static_cast<size_t>(frameBytes), m_dataOffset + start * frameBytes))
        return AVIERR_FILEREAD;
    if (samplesRead)
        *samplesRead = 1;
    if (bytesRead)
        *bytesRead = static_cast<LONG>(frameBytes);
    return AVIERR_OK;
}

HRESULT CRawStream::ReadRows(LONG start, BYTE* first, ptrdiff_t step) {
    if (start < 0 || start >= m_frameCount || !first)
        return AVIERR_BADPARAM;
    const int64_t frameBytes = FrameBytes();
    const int64_t at = m_dataOffset + start * frameBytes;
    // A recording cut short fails its missing frames without touching the caller's rows.
    struct stat file;
    if (::fstat(m_fd, &file) != 0 || at + frameBytes > file.st_size)
        return AVIERR_FILEREAD;
    const auto row = static_cast<size_t>(frameBytes / m_height);
    if (step == static_cast<ptrdiff_t>(row))
        return ReadAt(m_fd, first, static_cast<size_t>(frameBytes), at) ? AVIERR_OK
                                                                        : AVIERR_FILEREAD;
    // Rows that do not follow each other in memory: one scattered read per batch of rows.
    std::vector<iovec> rows(static_cast<size_t>(std::min(m_height, IOV_MAX)));
    for (int y = 0; y < m_height;) {
        const int count = std::min<int>(m_height - y, static_cast<int>(rows.size()));
        for (int i = 0; i < count; ++i)
            rows[static_cast<size_t>(i)] = {first + (y + i) * step, row};
        const auto want = static_cast<ssize_t>(row * static_cast<size_t>(count));
        const int64_t offset = at + static_cast<int64_t>(row) * y;
        ssize_t got = 0;
        do {
            got = ::preadv(m_fd, rows.data(), count, static_cast<off_t>(offset));
        } while (got < 0 && errno == EINTR);
        // A short scattered read is finished row by row.
        if (got != want) {
            for (int i = 0; i < count; ++i)
                if (!ReadAt(m_fd, first + (y + i) * step, row,
                            offset + static_cast<int64_t>(row) * i))
                    return AVIERR_FILEREAD;
        }
        y += count;
    }
    return AVIERR_OK;
}

HRESULT CRawStream::MapRows(LONG start, const BYTE** top, ptrdiff_t* stride,
                            std::shared_ptr<const void>* keeper) {
    if (start < 0 || start >= m_frameCount || !top || !stride || !keeper)
        return AVIERR_BADPARAM;
    const int64_t frameBytes = FrameBytes();
    const int64_t row = frameBytes / m_height;
    // The rows are shown where they lie, so they must be laid out as a bitmap's: padded to four
    // bytes and starting on a four-byte boundary.
    if ((m_bitsPerPixel != 8 && m_bitsPerPixel != 24) || row % 4 != 0 || m_dataOffset % 4 != 0)
        return AVIERR_UNSUPPORTED;
    const int64_t at = m_dataOffset + start * frameBytes;
    // Checked on every frame: another process may have cut the file short since it was mapped.
    struct stat file;
    if (::fstat(m_fd, &file) != 0 || at + frameBytes > file.st_size)
        return AVIERR_FILEREAD;
    if (!m_mapping || at + frameBytes > m_mapping->Size()) {
        auto mapping = CFileMapping::Map(m_fd, file.st_size);
        if (!mapping)
            return AVIERR_UNSUPPORTED;
        m_mapping = std::move(mapping);
    }
    *top = m_mapping->Data() + at;
    *stride = static_cast<ptrdiff_t>(row);
    *keeper = m_mapping;
    return AVIERR_OK;
}

IAVIStream* OpenRawStream(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    BYTE header[CRawStream::kHeaderBytes + CRawStream::kExtensionBytes];
    if (!ReadAt(fd, header, sizeof header, 0)) {
        ::close(fd);
        return nullptr;
    }
    if (std::memcmp(header, "OP05", 4) != 0) {
        ::close(fd);
        AfxPrompter().MessageBox({"Unexpected header found in the RAW file.  Unable to open.",
                                  "File Error", MB_OK | MB_ICONSTOP, nullptr});
        return nullptr;
    }
    const int32_t frameCount = Le32(header + 8);
    const int32_t width = Le32(header + 12);
    const int32_t height = Le32(header + 16);
    const int32_t dataOffset = Le32(header + 24);
    const int32_t bitsPerPixel = Le32(header + 28);
    // A header that no camera writes would make every later size and offset meaningless; the
    // sides and depth are checked before they are multiplied.
    const bool sane =
        frameCount >= 0 && width > 0 && width <= kMaxSide && height > 0 && height <= kMaxSide &&
        dataOffset >= 0 &&
        (bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32);
    const int64_t frameBytes = sane ? int64_t{bitsPerPixel / 8} * width * height : 0;
    const off_t fileBytes = ::lseek(fd, 0, SEEK_END);
    // A recording cut short still opens (its missing frames fail to read), but one whose first
    // frame does not fit in the file is refused: each read would ask for memory the file cannot
    // fill.
    if (!sane || frameBytes > std::numeric_limits<LONG>::max() || fileBytes < 0 ||
        (frameCount > 0 && frameBytes > int64_t{fileBytes} - dataOffset)) {
        ::close(fd);
        return nullptr;
    }
    auto* stream = new CRawStream;
    stream->m_fd = fd;
    stream->Create(frameCount, (LPARAM{height} << 16) | width);
    stream->m_rate = Le32(header + kRateOffset);
    stream->m_bitsPerPixel = bitsPerPixel;
    stream->m_firstFrame = Le32(header + 20);
    stream->m_dataOffset = dataOffset;
    stream->m_entry = std::make_unique<COpenFileEntry>(path);
    return stream;
}

int GetRawFirstFrameNumber(IAVIStream* stream) {
    auto* raw = dynamic_cast<CRawStream*>(stream);
    return raw ? raw->FirstFrameNumber() : 0;
}

int GetRawFrameRate(IAVIStream* stream) {
    auto* raw = dynamic_cast<CRawStream*>(stream);
    return raw ? raw->FrameRate() : 0;
}
