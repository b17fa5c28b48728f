#pragma once

// CDib: the device-independent bitmap in which a frame travels between the frame source, the
// display tables and the views: a BITMAPINFOHEADER with its colour table, and bottom-up pixel
// rows padded to four bytes, held in memory the object owns or borrows. Serialises as a plain
// ".bmp" byte stream.

#include "platform/framework/Object.h"
#include "platform/wintypes/BitmapInfo.h"
#include "platform/wintypes/Size.h"

#include <QList>
#include <QRgb>

#include <cstdint>

class CFile;

class CDib : public CObject {
    DECLARE_DYNCREATE(CDib)

public:
    CDib() = default;
    ~CDib() override;
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // Releases header and bits by their ownership and clears every field.
    void Free();
    // A new bitmap of 1, 4, 8, 16, 24 or 32 bits per pixel with a grey colour table (entry k =
    // k, k, k); when src is given its packed rows (no padding) are copied in. False for a size
    // or depth it cannot hold.
    bool Create(const BYTE* src, int width, int height, int bitCount);
    bool Create24(const BYTE* src, int width, int height) { return Create(src, width, height, 24); }
    // A deep copy of other; false (this unchanged) when other is empty.
    bool Copy(const CDib& other);
    // Uses header, its colour table and the bits directly behind it. With takeOwnership the
    // block must come from new BYTE[] and is deleted by Free; otherwise it must outlive the
    // bitmap. False for a null header.
    bool Attach(BITMAPINFOHEADER* header, bool takeOwnership);
    // Width and height, or 0, 0 when empty.
    void GetSize(CSize* size) const;
    // The display colour table from the colour-table entries; false when there are none.
    bool CreatePalette();
    // The image as 24-bit (blue, green, red) rows, padded to four bytes only with padRows.
    // 8-bit images give grey levels of the index; depths other than 8, 16, 24, 32 write nothing.
    void ToRgb24(BYTE* dst, bool padRows) const;

    // The file header, the header with its colour table and the pixels; throws what CFile throws.
    void WriteBmp(CFile& file) const;
    // Frees, then reads a ".bmp" (a 40-byte header, or a larger one located by its size;
    // top-down images are turned bottom-up). A short read, a wrong magic, a file error or a
    // header that does not fit what the file holds shows "Read error" and gives false.
    bool ReadBmp(CFile& file);
    void Serialize(CArchive& ar) override;

    BITMAPINFOHEADER* GetHeader() const { return m_header; }
    RGBQUAD* GetColourTable() const { return m_colourTable; }
    BYTE* GetBits() const { return m_bits; }
    DWORD GetImageSize() const { return m_imageSize; }
    int GetColourCount() const { return m_colourCount; }
    const QList<QRgb>& GetPalette() const { return m_palette; }

    // Entries in the colour table of a header: its colours-used field, else by depth.
    static int ColourCountOf(const BITMAPINFOHEADER& header);
    // Bytes of pixels: the size-image field when set, else rows x padded row length.
    static uint64_t ImageSizeOf(const BITMAPINFOHEADER& header);

private:
    enum Ownership { kBorrowed = 0, kAllocated = 1 };

    bool ReadBmpBody(CFile& file);

    RGBQUAD* m_colourTable = nullptr;
    BYTE* m_bits = nullptr;
    BITMAPINFOHEADER* m_header = nullptr;
    int m_headerOwnership = kBorrowed;
    bool m_ownsBits = false;
    DWORD m_imageSize = 0;
    int m_colourCount = 0;
    QList<QRgb> m_palette;
};
