#include "frames/Dib.h"

#include "platform/framework/Archive.h"
#include "platform/framework/File.h"
#include "platform/framework/IPrompter.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

IMPLEMENT_DYNCREATE(CDib, CObject)

namespace {

constexpr int kHeaderBytes = kBitmapInfoHeaderBytes;
constexpr int kFileHeaderBytes = kBitmapFileHeaderBytes;
constexpr int kLargestHeaderBytes = 124;  // the fifth version of the header
constexpr int kMaskBytes = 12;
// Larger images are refused: no recording frame comes near it, and sizes stay in 32 bits.
constexpr uint64_t kMaxImageBytes = uint64_t{1} << 31;

uint32_t Le32(const BYTE* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

uint16_t Le16(const BYTE* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void Put32(BYTE* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<BYTE>(v >> (8 * i));
}

void Put16(BYTE* p, uint16_t v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}

bool IsDepth(int bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

int DefaultColours(int bitCount) {
    return bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
}

// A header block of new BYTE[] with room for colours entries behind the header.
BITMAPINFOHEADER* NewHeaderBlock(int colours) {
    BYTE* block = new BYTE[kHeaderBytes + 4 * static_cast<size_t>(colours)]();
    auto* header = new (block) BITMAPINFOHEADER;
    new (block + kHeaderBytes) RGBQUAD[colours];
    return header;
}

void DeleteHeaderBlock(BITMAPINFOHEADER* header) {
    delete[] reinterpret_cast<BYTE*>(header);
}

void SerializeHeader(const BITMAPINFOHEADER& h, BYTE* out) {
    Put32(out, h.biSize);
    Put32(out + 4, static_cast<uint32_t>(h.biWidth));
    Put32(out + 8, static_cast<uint32_t>(h.biHeight));
    Put16(out + 12, h.biPlanes);
    Put16(out + 14, h.biBitCount);
    Put32(out + 16, h.biCompression);
    Put32(out + 20, h.biSizeImage);
    Put32(out + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
    Put32(out + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
    Put32(out + 32, h.biClrUsed);
    Put32(out + 36, h.biClrImportant);
}

BITMAPINFOHEADER ParseHeader(const BYTE* in) {
    BITMAPINFOHEADER h;
    h.biSize = Le32(in);
    h.biWidth = static_cast<LONG>(Le32(in + 4));
    h.biHeight = static_cast<LONG>(Le32(in + 8));
    h.biPlanes = Le16(in + 12);
    h.biBitCount = Le16(in + 14);
    h.biCompression = Le32(in + 16);
    h.biSizeImage = Le32(in + 20);
    h.biXPelsPerMeter = static_cast<LONG>(Le32(in + 24));
    h.biYPelsPerMeter = static_cast<LONG>(Le32(in + 28));
    h.biClrUsed = Le32(in + 32);
    h.biClrImportant = Le32(in + 36);
    return h;
}

// Bit fields that say what BI_RGB means anyway are accepted; others are not drawn here.
bool StandardMasks(const BYTE* masks, int bitCount) {
    const uint32_t r = Le32(masks), g = Le32(masks + 4), b = Le32(masks + 8);
    if (bitCount == 16)
        return r == 0x7C00 && g == 0x03E0 && b == 0x001F;
    if (bitCount == 32)
        return r == 0xFF0000 && g == 0x00FF00 && b == 0x0000FF;
    return false;
}

}  // namespace

CDib::~CDib() {
    Free();
}

int CDib::ColourCountOf(const BITMAPINFOHEADER& header) {
    if (header.biClrUsed != 0)
        return static_cast<int>(std::min<DWORD>(header.biClrUsed, 256));
    return DefaultColours(header.biBitCount);
}

uint64_t CDib::ImageSizeOf(const BITMAPINFOHEADER& header) {
    if (header.biSizeImage != 0)
        return header.biSizeImage;
    const uint64_t rows = header.biHeight < 0 ? -int64_t{header.biHeight} : header.biHeight;
    return rows * DibRowBytes(header.biWidth, header.biBitCount);
}

void CDib::Free() {
    if (m_headerOwnership == kAllocated && m_header)
        DeleteHeaderBlock(m_header);
    if (m_ownsBits)
        delete[] m_bits;
    m_colourTable = nullptr;
    m_bits = nullptr;
    m_header = nullptr;
    m_headerOwnership = kBorrowed;
    m_ownsBits = false;
    m_imageSize = 0;
    m_colourCount = 0;
    m_palette.clear();
}

bool CDib::Create(const BYTE* src, int width, int height, int bitCount) {
    Free();
    if (width <= 0 || height <= 0 || !IsDepth(bitCount))
        return false;
    const uint64_t rowBytes = DibRowBytes(width, static_cast<WORD>(bitCount));
    const uint64_t imageSize = rowBytes * static_cast<uint64_t>(height);
    if (imageSize > kMaxImageBytes)
        return false;
    const int colours = DefaultColours(bitCount);
    m_header = NewHeaderBlock(colours);
    m_headerOwnership = kAllocated;
    m_header->biWidth = width;
    m_header->biHeight = height;
    m_header->biBitCount = static_cast<WORD>(bitCount);
    m_header->biClrUsed = m_header->biClrImportant = static_cast<DWORD>(colours);
    m_colourTable = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(m_header) + kHeaderBytes);
    m_colourCount = colours;
    for (int k = 0; k < colours; ++k) {
        const auto level = static_cast<BYTE>(k);
        m_colourTable[k] = {level, level, level, 0};
    }
    m_imageSize = static_cast<DWORD>(imageSize);
    m_header->biSizeImage = m_imageSize;
    m_bits = new BYTE[m_imageSize]();
    m_ownsBits = true;
    if (src) {
        const uint64_t packedRow = (uint64_t{static_cast<uint32_t>(bitCount)} * width + 7) / 8;
        for (int y = 0; y < height; ++y)
            std::memcpy(m_bits + y * rowBytes, src + y * packedRow, packedRow);
    }
    CreatePalette();
    return true;
}

bool CDib::Copy(const CDib& other) {
    if (!other.m_header || &other == this)
        return other.m_header != nullptr;
    const int colours = other.m_colourCount;
    const DWORD imageSize = other.m_imageSize;
    Free();
    m_header = NewHeaderBlock(colours);
    m_headerOwnership = kAllocated;
    *m_header = *other.m_header;
    m_header->biSize = kHeaderBytes;
    m_colourTable = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(m_header) + kHeaderBytes);
    std::copy_n(other.m_colourTable, colours, m_colourTable);
    m_colourCount = colours;
    m_imageSize = imageSize;
    m_bits = new BYTE[m_imageSize]();
    m_ownsBits = true;
    if (other.m_bits)
        std::memcpy(m_bits, other.m_bits, m_imageSize);
    CreatePalette();
    return true;
}

bool CDib::Attach(BITMAPINFOHEADER* header, bool takeOwnership) {
    if (!header)
        return false;
    Free();
    m_header = header;
    m_headerOwnership = takeOwnership ? kAllocated : kBorrowed;
    m_colourCount = ColourCountOf(*header);
    m_colourTable = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(header) + header->biSize);
    m_bits = reinterpret_cast<BYTE*>(m_colourTable + m_colourCount);
    m_imageSize = static_cast<DWORD>(std::min(ImageSizeOf(*header), kMaxImageBytes));
    CreatePalette();
    return true;
}

void CDib::GetSize(CSize* size) const {
    if (!size)
        return;
    *size = m_header ? CSize(m_header->biWidth, m_header->biHeight) : CSize();
}

bool CDib::CreatePalette() {
    if (!m_colourTable || m_colourCount <= 0)
        return false;
    m_palette.clear();
    m_palette.reserve(m_colourCount);
    for (int i = 0; i < m_colourCount; ++i)
        m_palette.append(
            qRgb(m_colourTable[i].rgbRed, m_colourTable[i].rgbGreen, m_colourTable[i].rgbBlue));
    return true;
}

void CDib::ToRgb24(BYTE* dst, bool padRows) const {
    if (!m_header || !m_bits)
        return;
    const int bitCount = m_header->biBitCount;
    if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return;
    const int width = m_header->biWidth;
    const int height = m_header->biHeight < 0 ? -m_header->biHeight : m_header->biHeight;
    const uint64_t srcRow = DibRowBytes(width, static_cast<WORD>(bitCount));
    const uint64_t dstRow = padRows ? DibRowBytes(width, 24) : uint64_t{3} * width;
    for (int y = 0; y < height; ++y) {
        const BYTE* s = m_bits + y * srcRow;
        BYTE* d = dst + y * dstRow;
        for (int x = 0; x < width; ++x, d += 3) {
            switch (bitCount) {
                case 8:
                    d[0] = d[1] = d[2] = s[x];
                    break;
                case 16: {
                    const unsigned p = s[2 * x] | (s[2 * x + 1] << 8);
                    d[0] = static_cast<BYTE>((p & 31) * 8);
                    d[1] = static_cast<BYTE>(((p >> 5) & 31) * 8);
                    d[2] = static_cast<BYTE>(((p >> 10) & 31) * 8);
                    break;
                }
                case 24:
                    std::memcpy(d, s + 3 * x, 3);
                    break;
                default:
                    std::memcpy(d, s + 4 * x, 3);
                    break;
            }
        }
    }
}

void CDib::WriteBmp(CFile& file) const {
    if (!m_header)
        return;
    BYTE fileHeader[kFileHeaderBytes] = {'B', 'M'};
    Put32(fileHeader + 10,
          static_cast<uint32_t>(kFileHeaderBytes + kHeaderBytes + 4 * m_colourCount));
    file.Write(fileHeader, kFileHeaderBytes);
    BITMAPINFOHEADER header = *m_header;
    header.biSize = kHeaderBytes;
    std::vector<BYTE> info(kHeaderBytes + 4 * static_cast<size_t>(m_colourCount));
    SerializeHeader(header, info.data());
    for (int i = 0; i < m_colourCount; ++i) {
        BYTE* entry = info.data() + kHeaderBytes + 4 * i;
        entry[0] = m_colourTable[i].rgbBlue;
        entry[1] = m_colourTable[i].rgbGreen;
        entry[2] = m_colourTable[i].rgbRed;
        entry[3] = m_colourTable[i].rgbReserved;
    }
    file.Write(info.data(), static_cast<UINT>(info.size()));
    if (m_imageSize)
        file.Write(m_bits, m_imageSize);
}

bool CDib::ReadBmp(CFile& file) {
    Free();
    bool ok = false;
    try {
        ok = ReadBmpBody(file);
    } catch (const CFileException&) {
        ok = false;
    }
    if (!ok) {
        Free();
        AfxMessageBox("Read error");
    }
    return ok;
}

bool CDib::ReadBmpBody(CFile& file) {
    const uint64_t start = file.GetPosition();
    const uint64_t length = file.GetLength();
    BYTE fileHeader[kFileHeaderBytes];
    if (file.Read(fileHeader, kFileHeaderBytes) != kFileHeaderBytes)
        return false;
    if (fileHeader[0] != 'B' || fileHeader[1] != 'M')
        return false;
    const uint64_t available = length - std::min(length, start + kFileHeaderBytes);
    const uint64_t offBits = Le32(fileHeader + 10);
    if (offBits < kFileHeaderBytes + kHeaderBytes || offBits - kFileHeaderBytes > available)
        return false;

    // Header and colour table, as much as lies before the pixels (bounded by the file).
    std::vector<BYTE> info(offBits - kFileHeaderBytes);
    if (file.Read(info.data(), static_cast<UINT>(info.size())) != info.size())
        return false;
    const BITMAPINFOHEADER h = ParseHeader(info.data());
    if (h.biSize < kHeaderBytes || h.biSize > kLargestHeaderBytes || h.biSize > info.size())
        return false;
    if (h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == std::numeric_limits<LONG>::min() ||
        !IsDepth(h.biBitCount))
        return false;

    uint64_t tableStart = h.biSize;
    if (h.biCompression == BI_BITFIELDS) {
        // The masks follow a 40-byte header, or sit inside a larger one at the same place.
        if (info.size() < kHeaderBytes + kMaskBytes ||
            !StandardMasks(info.data() + kHeaderBytes, h.biBitCount))
            return false;
        if (h.biSize == kHeaderBytes)
            tableStart += kMaskBytes;
    } else if (h.biCompression != BI_RGB) {
        return false;
    }
    const uint64_t colours = h.biClrUsed ? h.biClrUsed : DefaultColours(h.biBitCount);
    if (colours > 256 || tableStart + 4 * colours > info.size())
        return false;

    if (h.biHeight == std::numeric_limits<LONG>::min())
        return false;  // no row count to turn bottom-up
    const bool topDown = h.biHeight < 0;
    const LONG rows = topDown ? -h.biHeight : h.biHeight;
    // Widths whose row length does not fit 32 bits are refused: DibRowBytes would wrap and every
    // later user of the header would walk past the pixels.
    const uint64_t width = h.biWidth < 0 ? uint64_t{0} - static_cast<uint64_t>(h.biWidth)
                                         : static_cast<uint64_t>(h.biWidth);
    const uint64_t rowBytes = ((width * h.biBitCount + 31) / 32) * 4;
    if (rowBytes != DibRowBytes(h.biWidth, h.biBitCount))
        return false;
    const uint64_t imageSize = rowBytes * static_cast<uint64_t>(rows);
    if (imageSize == 0 || imageSize > kMaxImageBytes ||
        imageSize > available - (offBits - kFileHeaderBytes))
        return false;

    m_header = NewHeaderBlock(static_cast<int>(colours));
    m_headerOwnership = kAllocated;
    *m_header = h;
    m_header->biSize = kHeaderBytes;
    m_header->biHeight = rows;
    m_header->biCompression = BI_RGB;
    m_header->biSizeImage = static_cast<DWORD>(imageSize);
    m_header->biClrUsed = static_cast<DWORD>(colours);
    m_colourCount = static_cast<int>(colours);
    m_colourTable = reinterpret_cast<RGBQUAD*>(reinterpret_cast<BYTE*>(m_header) + kHeaderBytes);
    for (uint64_t i = 0; i < colours; ++i) {
        const BYTE* entry = info.data() + tableStart + 4 * i;
        m_colourTable[i] = {entry[0], entry[1], entry[2], entry[3]};
    }

    m_imageSize = static_cast<DWORD>(imageSize);
    m_bits = new BYTE[m_imageSize];
    m_ownsBits = true;
    file.Seek(static_cast<int64_t>(start + offBits), CFile::begin);
    if (file.Read(m_bits, m_imageSize) != m_imageSize)
        return false;
    if (topDown) {
        std::vector<BYTE> row(rowBytes);
        for (LONG y = 0; y < rows / 2; ++y) {
            BYTE* a = m_bits + y * rowBytes;
            BYTE* b = m_bits + (rows - 1 - y) * rowBytes;
            std::memcpy(row.data(), a, rowBytes);
            std::memcpy(a, b, rowBytes);
            std::memcpy(b, row.data(), rowBytes);
        }
    }
    CreatePalette();
    return true;
}

void CDib::Serialize(CArchive& ar) {
    ar.Flush();
    if (ar.IsLoading())
        ReadBmp(*ar.GetFile());
    else
        WriteBmp(*ar.GetFile());
}
