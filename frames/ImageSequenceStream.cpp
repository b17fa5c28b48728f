#include "frames/ImageSequenceStream.h"

#include "frames/BitWindow.h"
#include "frames/FileNames.h"
#include "frames/TiffCameraHeader.h"
#include "platform/imaging/FrameFiles.h"
#include "platform/media/OpenFileRegistry.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <tuple>

namespace {

// The sequence rate the streams report: every frame 1/25 s.
constexpr DWORD kSequenceScale = 1;
constexpr DWORD kSequenceRate = 25;
constexpr int kMaxSide = 0xFFFF;
constexpr int kMaxColours = 256;
// What a still image file may hold beside the pixels of the largest frame: headers, tables,
// tags, and pictures that compress badly.
constexpr int64_t kMaxFileOverhead = int64_t{1} << 24;

enum FileKind { kBmpFile = 1, kTiffFile, kJpegFile };

FileKind KindOfPath(const QString& path) {
    const QString tail = path.right(3).toLower();
    return tail == "tif" ? kTiffFile : tail == "jpg" ? kJpegFile : kBmpFile;
}

uint32_t Le(const BYTE* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

void PutGreyRamp(std::vector<BYTE>* format, int colours) {
    for (int i = 0; i < colours; ++i) {
        BYTE* entry = format->data() + kBitmapInfoHeaderBytes + 4 * i;
        entry[0] = entry[1] = entry[2] = static_cast<BYTE>(i);
        entry[3] = 0;
    }
}

std::vector<BYTE> FormatOf(const BITMAPINFOHEADER& header, int colours) {
    std::vector<BYTE> format(kBitmapInfoHeaderBytes + 4 * static_cast<size_t>(colours));
    std::memcpy(format.data(), &header, sizeof header);
    return format;
}

BITMAPINFOHEADER HeaderOf(const std::vector<BYTE>& format) {
    BITMAPINFOHEADER header;
    std::memcpy(&header, format.data(), sizeof header);
    return header;
}

int64_t FrameBytes(const BITMAPINFOHEADER& header) {
    const int64_t height = header.biHeight < 0 ? -int64_t{header.biHeight} : header.biHeight;
    return height * DibRowBytes(header.biWidth, header.biBitCount);
}

// The format of a BMP file from its bytes (head: at least its headers and colour table) and its
// size: its header (made a plain 40-byte one) and colour table, and where its pixels begin.
// Every size is checked against the file before it is used.
HRESULT BmpFormat(const QByteArray& head, int64_t fileSize, std::vector<BYTE>* format,
                  int64_t* pixelsAt) {
    const auto* p = reinterpret_cast<const BYTE*>(head.constData());
    const int64_t size = head.size();
    if (size < kBitmapFileHeaderBytes + kBitmapInfoHeaderBytes)
        return size >= 2 && (p[0] != 'B' || p[1] != 'M') ? AVIERR_BADFORMAT : AVIERR_FILEREAD;
    if (p[0] != 'B' || p[1] != 'M')
        return AVIERR_BADFORMAT;
    const int64_t pixelOffset = Le(p + 10, 4);
    const BYTE* info = p + kBitmapFileHeaderBytes;
    const int64_t infoSize = Le(info, 4);
    BITMAPINFOHEADER header;
    header.biWidth = static_cast<LONG>(Le(info + 4, 4));
    header.biHeight = static_cast<LONG>(Le(info + 8, 4));
    header.biPlanes = static_cast<WORD>(Le(info + 12, 2));
    header.biBitCount = static_cast<WORD>(Le(info + 14, 2));
    header.biCompression = Le(info + 16, 4);
    header.biClrUsed = Le(info + 32, 4);
    const int bits = header.biBitCount;
    const int64_t height = header.biHeight < 0 ? -int64_t{header.biHeight} : header.biHeight;
    // 16-bit BMP pixels are 5-5-5 colour, which the frame reader would take for grey samples.
    const bool depth = bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
    if (infoSize < kBitmapInfoHeaderBytes || !depth || header.biCompression != BI_RGB ||
        header.biWidth <= 0 || header.biWidth > kMaxSide || height == 0 || height > kMaxSide)
        return AVIERR_BADFORMAT;
    const int full = bits <= 8 ? 1 << bits : 0;
    const int colours = full == 0              ? 0
                        : header.biClrUsed > 0 ? std::min<int64_t>(header.biClrUsed, full)
                                               : full;
    const int64_t tableAt = kBitmapFileHeaderBytes + infoSize;
    if (tableAt + 4 * colours > pixelOffset || pixelOffset > fileSize)
        return AVIERR_BADFORMAT;
    if (tableAt + 4 * colours > size)
        return AVIERR_FILEREAD;
    header.biClrUsed = static_cast<DWORD>(colours);
    header.biSizeImage = static_cast<DWORD>(FrameBytes(header));
    if (pixelOffset + FrameBytes(header) > fileSize)
        return AVIERR_FILEREAD;
    *format = FormatOf(header, colours);
    std::memcpy(format->data() + kBitmapInfoHeaderBytes, p + tableAt, 4 * size_t(colours));
    *pixelsAt = pixelOffset;
    return AVIERR_OK;
}

// Reads bytes from fd at offset into out: false unless every byte arrived.
bool ReadAt(int fd, int64_t offset, BYTE* out, size_t bytes) {
    size_t got = 0;
    while (got < bytes) {
        const ssize_t read = ::pread(fd, out + got, bytes - got,
                                     static_cast<off_t>(offset + static_cast<int64_t>(got)));
        if (read <= 0)
            return false;
        got += static_cast<size_t>(read);
    }
    return true;
}

HRESULT TiffFormat(const QByteArray& bytes, int sixteenTo24, std::vector<BYTE>* format) {
    imaging::TiffFrameInfo tiff;
    if (!imaging::ReadTiffFrameInfo(bytes, &tiff))
        return AVIERR_FILEOPEN;
    const bool indexed = tiff.layout == imaging::TiffRowLayout::kIndexed8 ||
                         (tiff.layout == imaging::TiffRowLayout::kGrey16 && !sixteenTo24);
    BITMAPINFOHEADER header;
    header.biWidth = tiff.width;
    header.biHeight = tiff.height;
    header.biBitCount = indexed ? 8 : 24;
    header.biClrUsed = indexed ? kMaxColours : 0;
    header.biSizeImage = static_cast<DWORD>(FrameBytes(header));
    *format = FormatOf(header, indexed ? kMaxColours : 0);
    if (tiff.layout == imaging::TiffRowLayout::kIndexed8)
        std::memcpy(format->data() + kBitmapInfoHeaderBytes, tiff.colours.data(),
                    4 * size_t{kMaxColours});
    else if (indexed)
        PutGreyRamp(format, kMaxColours);
    return AVIERR_OK;
}

HRESULT JpegFormat(const QByteArray& bytes, std::vector<BYTE>* format) {
    BITMAPINFOHEADER header;
    if (!imaging::ReadJpegHeader(bytes, &header))
        return AVIERR_BADFORMAT;
    const int colours = static_cast<int>(header.biClrUsed);
    *format = FormatOf(header, colours);
    PutGreyRamp(format, colours);
    return AVIERR_OK;
}

// Draws text black on white at the top left of the frame as it is seen.
void StampText(const BITMAPINFOHEADER& header, void* pixels, const QString& text) {
    const int bits = header.biBitCount;
    const QImage::Format qtFormat = bits == 8    ? QImage::Format_Grayscale8
                                    : bits == 24 ? QImage::Format_BGR888
                                    : bits == 32 ? QImage::Format_RGB32
                                                 : QImage::Format_Invalid;
    if (qtFormat == QImage::Format_Invalid)
        return;
    const int width = header.biWidth;
    const int height = std::abs(header.biHeight);
    const qsizetype stride = DibRowBytes(header.biWidth, header.biBitCount);
    auto* bytes = static_cast<uchar*>(pixels);
    // Bottom-up rows are turned over, drawn on and turned back.
    const bool bottomUp = header.biHeight > 0;
    QImage image(bytes, width, height, stride, qtFormat);
    QImage shown = bottomUp ? image.mirrored(false, true) : image.copy();
    {
        QPainter painter(&shown);
        const QRect box =
            painter.fontMetrics().boundingRect(text).translated(0, painter.fontMetrics().ascent());
        painter.fillRect(box.adjusted(0, 0, 2, 2), Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(1, painter.fontMetrics().ascent(), text);
    }
    if (bottomUp)
        shown = shown.mirrored(false, true);
    for (int y = 0; y < height; ++y)
        std::memcpy(bytes + y * stride, shown.constScanLine(y),
                    static_cast<size_t>(std::min<qsizetype>(stride, shown.bytesPerLine())));
}

// The pattern of a frame not downloaded yet: black, with the top-left and the bottom-right
// quarters of the frame as it is seen grey (128).
void StampBlank(const BITMAPINFOHEADER& header, BYTE* pixels) {
    const int width = header.biWidth;
    const int height = std::abs(header.biHeight);
    const auto stride = static_cast<size_t>(DibRowBytes(header.biWidth, header.biBitCount));
    const int bytesPerPixel = header.biBitCount / 8;
    std::memset(pixels, 0, stride * static_cast<size_t>(height));
    if (bytesPerPixel < 1)
        return;
    for (int y = 0; y < height; ++y) {
        const bool upper = y < height / 2;
        const int from = upper ? 0 : width / 2;
        const int to = upper ? width / 2 : width;
        const int stored = header.biHeight > 0 ? height - 1 - y : y;
        BYTE* row = pixels + static_cast<size_t>(stored) * stride;
        for (int x = from; x < to; ++x)
            for (int c = 0; c < std::min(bytesPerPixel, 3); ++c)
                row[x * bytesPerPixel + c] = 128;
    }
}

}  // namespace

QString SequenceNameBase(const QString& title) {
    int i = static_cast<int>(title.size()) - 1;
    while (i > 0) {
        const QChar c = title[i];
        if (c >= '0' && c <= '9') {
            --i;
            continue;
        }
        if (c == '-')
            return title.left(i);
        break;
    }
    return title.left(i + 1);
}

CImageSequenceStream::~CImageSequenceStream() = default;

HRESULT CImageSequenceStream::Create(LPARAM frameCount, LPARAM size) {
    m_frameCount = static_cast<int>(frameCount);
    m_width = static_cast<int>(size & 0xFFFF);
    m_height = static_cast<int>((size >> 16) & 0xFFFF);
    m_refCount = 1;
    return AVIERR_OK;
}

HRESULT CImageSequenceStream::Info(AviStreamInfo* info, LONG size) {
    if (!info || size < static_cast<LONG>(sizeof(AviStreamInfo)))
        return AVIERR_BUFFERTOOSMALL;
    *info = {};
    info->fccType = streamtypeVIDEO;
    info->fccHandler = MakeFourCC('D', 'I', 'B', ' ');
    info->scale = kSequenceScale;
    info->rate = kSequenceRate;
    info->length = static_cast<DWORD>(m_frameCount);
    if (m_batch)
        info->frame = CRect(0, 0, m_width, m_height);
    const char16_t name[] = u"Image sequence";
    std::memcpy(info->name, name, sizeof name);
    return AVIERR_OK;
}

int CImageSequenceStream::MemberOfFrame(LONG frame, bool* missing) const {
    *missing = false;
    if (frame < 0 || frame >= m_frameCount || m_members.empty())
        return -1;
    if (m_fileListMode)
        return frame;
    const int64_t number = m_firstNumber + frame;
    const auto it = std::lower_bound(
        m_members.begin(), m_members.end(), number,
        [](const Member& member, int64_t wanted) { return member.number < wanted; });
    if (it != m_members.end() && it->number == number)
        return static_cast<int>(it - m_members.begin());
    *missing = true;
    // The nearest file before the number, else the one after it.
    if (it != m_members.begin())
        return static_cast<int>(it - m_members.begin()) - 1;
    return it != m_members.end() ? static_cast<int>(it - m_members.begin()) : -1;
}

HRESULT CImageSequenceStream::LoadMember(int member) {
    if (member == m_cachedMember)
        return AVIERR_OK;
    m_cachedMember = -1;
    m_cachedBytes.clear();
    const QString& path = m_members[static_cast<size_t>(member)].path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return AVIERR_FILEOPEN;
    // The whole file in one read, into the buffer the previous file had: one more read or a
    // fresh buffer per frame costs more than the pixels' copy.
    const int64_t size = file.size();
    if (size > int64_t{kMaxSide} * kMaxSide * 4 + kMaxFileOverhead)
        return AVIERR_BADFORMAT;
    try {
        m_fileBytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return AVIERR_MEMORY;
    }
    if (!ReadAt(file.handle(), 0, m_fileBytes.data(), m_fileBytes.size()))
        return AVIERR_FILEREAD;
    file.close();
    m_cachedBytes = QByteArray::fromRawData(reinterpret_cast<const char*>(m_fileBytes.data()),
                                            static_cast<qsizetype>(m_fileBytes.size()));
    m_cachedKind = KindOfPath(path);
    HRESULT result = AVIERR_OK;
    switch (m_cachedKind) {
        case kTiffFile:
            result = TiffFormat(m_cachedBytes, m_sixteenTo24, &m_cachedFormat);
            if (m_bitShift < 0)
                m_bitShift = 0;
            break;
        case kJpegFile:
            result = JpegFormat(m_cachedBytes, &m_cachedFormat);
            break;
        default:
            result = BmpFormat(m_cachedBytes, size, &m_cachedFormat, &m_cachedPixelsAt);
            break;
    }
    if (result == AVIERR_OK)
        m_cachedMember = member;
    return result;
}

const std::vector<BYTE>* CImageSequenceStream::FormatOfFrame(LONG frame, HRESULT* error) {
    bool missing = false;
    const int member = MemberOfFrame(frame, &missing);
    *error = AVIERR_OK;
    if (member < 0) {
        *error = AVIERR_BADPARAM;
        return nullptr;
    }
    // A frame not downloaded yet touches no file; every frame has the first one's size. The
    // first file's format stays the one read at the open: readers ask for it beside every
    // frame's, and compare the two.
    if ((missing && m_notDownloaded) || member == 0)
        return &m_firstFormat;
    *error = LoadMember(member);
    return *error == AVIERR_OK ? &m_cachedFormat : nullptr;
}

HRESULT CImageSequenceStream::ReadFormat(LONG position, void* format, LONG* size) {
    if (!size)
        return AVIERR_BADPARAM;
    std::lock_guard lock(m_cacheMutex);
    HRESULT error = AVIERR_OK;
    const std::vector<BYTE>* found = FormatOfFrame(position, &error);
    if (!found)
        return error;
    const auto needed = static_cast<LONG>(found->size());
    if (!format || *size == 0) {
        *size = needed;
        return AVIERR_OK;
    }
    if (*size < needed)
        return AVIERR_BUFFERTOOSMALL;
    std::memcpy(format, found->data(), found->size());
    *size = needed;
    return AVIERR_OK;
}

HRESULT CImageSequenceStream::ReadRows(LONG start, BYTE* first, ptrdiff_t step) {
    bool missing = false;
    const int member = MemberOfFrame(start, &missing);
    if (member < 0)
        return AVIERR_BADPARAM;
    // Stamped frames and the decoded kinds go through Read.
    if (missing || m_stampFileName)
        return AVIERR_UNSUPPORTED;
    std::lock_guard lock(m_cacheMutex);
    if (HRESULT loaded = LoadMember(member); loaded != AVIERR_OK)
        return loaded;
    // The first file's format was handed out as read at the open: a file changed since then
    // would not fit the rows the caller made room for.
    if (member == 0 && m_cachedFormat != m_firstFormat)
        return AVIERR_BADFORMAT;
    if (m_cachedKind != kBmpFile)
        return AVIERR_UNSUPPORTED;
    const BITMAPINFOHEADER header = HeaderOf(m_cachedFormat);
    const auto rowBytes = static_cast<size_t>(DibRowBytes(header.biWidth, header.biBitCount));
    const LONG height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    // The caller's rows are at least a padded row apart: the padding is read with the row.
    if (std::abs(step) < static_cast<ptrdiff_t>(rowBytes))
        return AVIERR_UNSUPPORTED;
    const BYTE* pixels = m_fileBytes.data() + m_cachedPixelsAt;
    for (LONG row = 0; row < height; ++row)
        std::memcpy(first + row * step, pixels + static_cast<size_t>(row) * rowBytes, rowBytes);
    return AVIERR_OK;
}

HRESULT CImageSequenceStream::ReadPixels(const BITMAPINFOHEADER& header, BYTE* out,
                                         int64_t frameBytes) {
    if (m_cachedKind == kBmpFile) {
        std::memcpy(out, m_fileBytes.data() + m_cachedPixelsAt, static_cast<size_t>(frameBytes));
        return AVIERR_OK;
    }
    if (m_cachedKind == kJpegFile)
        return imaging::ReadJpegImage(m_cachedBytes, out, static_cast<size_t>(frameBytes))
                   ? AVIERR_OK
                   : AVIERR_BADFORMAT;
    imaging::TiffFrameInfo tiff;
    if (!imaging::ReadTiffFrameInfo(m_cachedBytes, &tiff))
        return AVIERR_FILEOPEN;
    const size_t stride = DibRowBytes(header.biWidth, header.biBitCount);
    const int height = header.biHeight;
    const bool grey16 = tiff.layout == imaging::TiffRowLayout::kGrey16;
    // The layout must be the one the format was built for: the width and depth of every row
    // below depend on it.
    if (tiff.width != header.biWidth || tiff.height != height ||
        (header.biBitCount == 8) !=
            (tiff.layout == imaging::TiffRowLayout::kIndexed8 || (grey16 && !m_sixteenTo24)))
        return AVIERR_BADFORMAT;
    const int shift = m_bitShift;
    const bool to24 = m_sixteenTo24 != 0;
    const int width = tiff.width;
    const bool ok = imaging::ReadTiffFrameRows(m_cachedBytes, tiff, [&](int y, const BYTE* pixels) {
        if (y < 0 || y >= height)
            return;
        BYTE* row = out + static_cast<size_t>(height - 1 - y) * stride;
        if (!grey16) {
            std::memcpy(row, pixels, static_cast<size_t>(width) * (header.biBitCount / 8));
            return;
        }
        for (int x = 0; x < width; ++x) {
            uint16_t sample;
            std::memcpy(&sample, pixels + 2 * x, 2);
            if (!to24) {
                row[x] = BitWindowLevel(sample, shift);
                continue;
            }
            row[3 * x] = static_cast<BYTE>((sample & 0x1F) * 8);
            row[3 * x + 1] = static_cast<BYTE>(((sample >> 5) & 0x1F) * 8);
            row[3 * x + 2] = static_cast<BYTE>(((sample >> 10) & 0x1F) * 8);
        }
    });
    return ok ? AVIERR_OK : AVIERR_FILEREAD;
}

HRESULT CImageSequenceStream::Read(LONG start, LONG, void* buffer, LONG bufferSize, LONG* bytesRead,
                                   LONG* samplesRead) {
    bool missing = false;
    const int member = MemberOfFrame(start, &missing);
    if (member < 0)
        return AVIERR_BADPARAM;
    std::lock_guard lock(m_cacheMutex);
    const bool blank = missing && m_notDownloaded;
    if (!blank) {
        if (HRESULT loaded = LoadMember(member); loaded != AVIERR_OK)
            return loaded;
        if (member == 0 && m_cachedFormat != m_firstFormat)
            return AVIERR_BADFORMAT;
    }
    const BITMAPINFOHEADER header = HeaderOf(blank ? m_firstFormat : m_cachedFormat);
    const int64_t frameBytes = FrameBytes(header);
    if (frameBytes > std::numeric_limits<LONG>::max())
        return AVIERR_BADFORMAT;
    if (buffer && bufferSize != 0) {
        if (bufferSize < frameBytes)
            return AVIERR_BUFFERTOOSMALL;
        auto* out = static_cast<BYTE*>(buffer);
        if (blank) {
            StampBlank(header, out);
        } else {
            if (HRESULT read = ReadPixels(header, out, frameBytes); read != AVIERR_OK)
                return read;
            if (missing)
                StampText(header, out, QStringLiteral("Missing Frame"));
            else if (m_stampFileName)
                StampText(header, out,
                          QFileInfo(m_members[static_cast<size_t>(member)].path).fileName());
        }
        if (samplesRead)
            *samplesRead = 1;
    }
    if (bytesRead)
        *bytesRead = static_cast<LONG>(frameBytes);
    return AVIERR_OK;
}

IAVIStream* OpenImageSequence(const QString& path, int fileListMode, int lowest, int highest,
                              int sixteenTo24) {
    const QFileInfo opened(path);
    const QString extension = GetFileExtension(path);
    const QString base = SequenceNameBase(GetFileTitle(path, false));
    const bool bounded = lowest != -1 && highest != -1;
    std::vector<CImageSequenceStream::Member> members;
    QDirIterator listing(opened.absolutePath(), QDir::Files | QDir::Hidden);
    while (listing.hasNext()) {
        listing.next();
        const QString name = listing.fileName();
        if (GetFileExtension(name).compare(extension, Qt::CaseInsensitive) != 0)
            continue;
        const QString title = GetFileTitle(name, false);
        const QString own = SequenceNameBase(title);
        if (own.compare(base, Qt::CaseInsensitive) != 0)
            continue;
        const QStringView digits = QStringView(title).mid(own.size());
        const QStringView number = digits.startsWith('-') ? digits.mid(1) : digits;
        bool ok = number.isEmpty();
        const int64_t value = ok ? 0 : number.toLongLong(&ok);
        if (!ok || value > std::numeric_limits<int>::max())
            continue;
        if (bounded && (value < lowest || value > highest))
            continue;
        members.push_back({value, listing.filePath()});
    }
    // One file per number, whatever its padding: take0007 before take07 before take7.
    std::sort(members.begin(), members.end(), [](const auto& a, const auto& b) {
        return a.number != b.number ? a.number < b.number : a.path < b.path;
    });
    members.erase(std::unique(members.begin(), members.end(),
                              [](const auto& a, const auto& b) { return a.number == b.number; }),
                  members.end());
    if (members.empty())
        return nullptr;
    const int64_t first = bounded ? lowest : members.front().number;
    const int64_t last = bounded ? highest : members.back().number;
    const int64_t frames = fileListMode ? static_cast<int64_t>(members.size()) : last - first + 1;
    if (frames <= 0 || frames > std::numeric_limits<LONG>::max())
        return nullptr;

    return CImageSequenceStream::Make(std::move(members), fileListMode ? 1 : 0, first,
                                      static_cast<int>(frames), sixteenTo24, false);
}

IAVIStream* CImageSequenceStream::Make(std::vector<Member> members, int fileListMode,
                                       int64_t firstNumber, int frames, int sixteenTo24,
                                       bool batch) {
    auto* stream = new CImageSequenceStream;
    stream->m_members = std::move(members);
    stream->m_fileListMode = fileListMode;
    stream->m_sixteenTo24 = sixteenTo24;
    stream->m_firstNumber = firstNumber;
    stream->m_batch = batch;
    std::vector<BYTE> format;
    {
        std::lock_guard lock(stream->m_cacheMutex);
        if (stream->LoadMember(0) != AVIERR_OK) {
            delete stream;
            return nullptr;
        }
        format = stream->m_cachedFormat;
        stream->m_firstFormat = format;
    }
    QStringList paths;
    paths.reserve(static_cast<qsizetype>(stream->m_members.size()));
    for (const Member& member : stream->m_members)
        paths.push_back(member.path);
    stream->m_inUse = std::make_unique<COpenFileEntries>(paths);
    const BITMAPINFOHEADER header = HeaderOf(format);
    stream->Create(static_cast<LPARAM>(frames),
                   (LPARAM{std::abs(header.biHeight)} << 16) | header.biWidth);
    return stream;
}

IAVIStream* OpenBatchSequence(const QString& path, std::vector<int>* batchStarts) {
    // shot[2of3]_0017.tif: batch 2 of 3, its image 17. The set is every file of the folder
    // with the same name before the '[' and the same count of batches.
    static const QRegularExpression kBatchTail(QStringLiteral("^(\\d+)of(\\d+)\\](?:_(\\d+))?$"),
                                               QRegularExpression::CaseInsensitiveOption);
    const QString title = GetFileTitle(path, false);
    const qsizetype open = title.lastIndexOf('[');
    const QRegularExpressionMatch own = kBatchTail.match(QStringView(title).mid(open + 1));
    if (open < 0 || !own.hasMatch())
        return nullptr;
    const QString prefix = title.left(open + 1);
    const QString batches = own.captured(2);
    const QString extension = GetFileExtension(path);
    struct Found {
        int64_t batch;
        int64_t number;
        QString path;
    };
    std::vector<Found> found;
    QDirIterator listing(QFileInfo(path).absolutePath(), QDir::Files | QDir::Hidden);
    while (listing.hasNext()) {
        listing.next();
        const QString name = listing.fileName();
        if (GetFileExtension(name).compare(extension, Qt::CaseInsensitive) != 0 ||
            !name.startsWith(prefix, Qt::CaseInsensitive))
            continue;
        const QString other = GetFileTitle(name, false);
        const QRegularExpressionMatch m = kBatchTail.match(QStringView(other).mid(prefix.size()));
        if (!m.hasMatch() || m.captured(2).toLongLong() != batches.toLongLong())
            continue;
        found.push_back(
            {m.captured(1).toLongLong(), m.captured(3).toLongLong(), listing.filePath()});
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return std::tie(a.batch, a.number, a.path) < std::tie(b.batch, b.number, b.path);
    });
    if (found.empty() || found.size() > size_t{std::numeric_limits<LONG>::max()})
        return nullptr;
    std::vector<CImageSequenceStream::Member> members;
    batchStarts->clear();
    for (size_t i = 0; i < found.size(); ++i) {
        if (i == 0 || found[i].batch != found[i - 1].batch)
            batchStarts->push_back(static_cast<int>(i));
        members.push_back({found[i].number, found[i].path});
    }
    const int64_t first = found.front().number;
    const auto frames = static_cast<int>(members.size());
    return CImageSequenceStream::Make(std::move(members), 1, first, frames, 0, true);
}

bool CImageSequenceStream::GetCameraHeader(LONG frame, TiffCameraHeader* header) {
    bool missing = false;
    const int member = MemberOfFrame(frame, &missing);
    if (member < 0 || missing)
        return false;
    const QString& path = m_members[static_cast<size_t>(member)].path;
    if (KindOfPath(path) != kTiffFile)
        return false;
    // The block lies within the first 128 + 65 words + 1024 bytes.
    constexpr qint64 kHeadBytes = 128 + 65 * 4 + 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return ReadTiffCameraHeader(file.read(kHeadBytes), header);
}

bool GetImageSequenceCameraHeader(IAVIStream* stream, TiffCameraHeader* header) {
    auto* sequence = dynamic_cast<CImageSequenceStream*>(stream);
    return sequence && sequence->GetCameraHeader(0, header);
}

int64_t GetImageSequenceFirstNumber(IAVIStream* stream) {
    auto* sequence = dynamic_cast<CImageSequenceStream*>(stream);
    return sequence ? sequence->FirstNumber() : 0;
}
