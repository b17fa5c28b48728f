#pragma once

// Readers of the still-image files that numbered image sequences are made of, giving their
// pixels in the layouts the sequence stream builds its frames from. Every reader works on the
// file's bytes already in memory, refuses sides above 65 535 and pictures the bytes could not
// hold, and never writes beyond the buffer it is given.

#include "platform/wintypes/BitmapInfo.h"

#include <QByteArray>

#include <cstddef>
#include <functional>
#include <vector>

namespace imaging {

// The frame format of a JPEG file: size 40, width, positive height (rows bottom-up), 1 plane,
// 8 bits per channel (8 for grey, 24 for colour), uncompressed, 256 colours used for grey and
// 0 otherwise. False (header untouched) when the bytes are no readable JPEG image.
bool ReadJpegHeader(const QByteArray& bytes, BITMAPINFOHEADER* header);
// Decodes the JPEG into dst as the bitmap ReadJpegHeader describes: rows bottom-up, each
// padded to four bytes, grey levels or blue-green-red. False when the picture does not fit in
// dstBytes or the data is damaged.
bool ReadJpegImage(const QByteArray& bytes, BYTE* dst, size_t dstBytes);

// The rows a TIFF frame file gives: 8-bit levels with their colours (grey ramp, inverted ramp
// or the file's colour map), 16-bit grey samples in host order, or blue-green-red bytes.
enum class TiffRowLayout { kIndexed8, kGrey16, kBgr24 };

struct TiffFrameInfo {
    int width = 0;
    int height = 0;
    TiffRowLayout layout = TiffRowLayout::kIndexed8;
    std::vector<RGBQUAD> colours;  // kIndexed8: the 256 colours of the levels
};

// The first image's size and row layout: 8-bit grey and 8-bit palette images as kIndexed8,
// 16-bit grey as kGrey16, every other kind libtiff can show (RGB of any depth, tiles, other
// photometrics) as kBgr24. False when libtiff cannot read it.
bool ReadTiffFrameInfo(const QByteArray& bytes, TiffFrameInfo* info);
// Hands every row of the first image to row(y, pixels), y counted from the top of the picture
// as it is meant to be seen (the file's orientation applied), in the layout of info. False
// when the pixels cannot be decoded; rows already handed out stay handed out.
bool ReadTiffFrameRows(const QByteArray& bytes, const TiffFrameInfo& info,
                       const std::function<void(int y, const BYTE* pixels)>& row);

}  // namespace imaging
