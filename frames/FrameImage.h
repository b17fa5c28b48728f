#pragma once

// CFrameImage: one decoded frame as a bitmap, with the 256-entry palette of 8-bit frames. Frame
// sources decode into it, views draw it scaled, the saving side locks its pixels. It is the only
// image type passed between frame sources and views.

#include "platform/com/ISettingsStore.h"
#include "platform/imaging/Bitmap.h"
#include "platform/media/AviStream.h"
#include "platform/wintypes/BitmapInfo.h"

#include <functional>
#include <memory>

class CAviGetFrame;
class CDC;
class CDib;

class CFrameImage {
public:
    // Holds a 1 x 1 8-bit placeholder and the grey palette.
    CFrameImage();
    virtual ~CFrameImage();
    CFrameImage(const CFrameImage&) = delete;
    CFrameImage& operator=(const CFrameImage&) = delete;

    bool IsValid() const { return m_bitmap != nullptr; }

    // Decodes frame n (clamped to the stream) into a new upright bitmap: 1 on success, 0 when the
    // frame cannot be read or, with checkSize, when frame n differs in size from frame 0; the
    // held bitmap is untouched on failure. 8-bit frames bring their colour table into the
    // palette (a frame without colours keeps the palette it had); 32-bit frames become 24-bit.
    int FillFromStream(IAVIStream* stream, LONG n, bool checkSize);
    // The same through a frame reader of stream kept open by the caller, so that its buffer
    // serves frame after frame.
    // With mapped, a frame the stream can show from memory it shares with its file is not
    // copied: the bitmap reads it there (until the pixels are changed, which copies them), and
    // the image keeps that memory alive.
    int FillFromReader(CAviGetFrame* reader, IAVIStream* stream, LONG n, bool checkSize,
                       bool mapped = false);
    // The same from a bitmap in memory (8, 24 or 32 bits; either row order). False for a
    // missing or empty DIB or another depth.
    bool FillFromDib(const CDib* dib);
    // A copy of other's bitmap and palette: 1, or 0 (this unchanged) when other holds no bitmap
    // or the copy fails. colours, when given, stands for the palette of an 8-bit bitmap (256
    // entries).
    int CopyFrom(const CFrameImage& other, const RGBQUAD* colours = nullptr);
    // The same without copying the pixels: this takes other's bitmap and palette, and other
    // gets this image's former bitmap, its pixels left for other to overwrite.
    int TakeFrom(CFrameImage& other, const RGBQUAD* colours = nullptr);
    // Shows other's pixels and palette without copying them: both images read the same rows
    // until either changes its pixels, which copies them first. 1, or 0 (this unchanged) when
    // other holds no bitmap.
    int ShareFrom(const CFrameImage& other);
    // Replaces the bitmap with a rectangle of source in source's format; the palette stays.
    // False, with no bitmap held, when the rectangle cannot be cut out.
    bool CopySubImage(const imaging::Bitmap* source, int x, int y, int width, int height);
    // The same from another image, whose palette comes along; false, with no bitmap held, when
    // source is null, holds no bitmap or the rectangle cannot be cut out.
    bool CopySubImage(const CFrameImage* source, int x, int y, int width, int height);
    // A bitmap of that size (8-bit indexed or 24-bit) for callers to fill; an image that already
    // has that size and format keeps its bitmap. False for another format or a size <= 0. With
    // release the pixels are let go instead (a placeholder stays when nothing was held).
    bool Create(int width, int height, imaging::PixelFormat format, bool release);

    bool LockBits(const imaging::Rect* rect, UINT flags, imaging::PixelFormat format,
                  imaging::BitmapData* data);
    bool UnlockBits(imaging::BitmapData* data);
    UINT GetWidth() const { return m_bitmap ? m_bitmap->GetWidth() : 0; }
    UINT GetHeight() const { return m_bitmap ? m_bitmap->GetHeight() : 0; }
    bool RotateFlip(imaging::RotateFlipType type);

    // Draws the whole frame stretched into the rectangle with the smoothing of the setting
    // "Video:ZoomMode" (0 none, 1 bilinear, 2 bicubic, 3 and 4 their high-quality forms);
    // without a settings store, or for an unknown value, without smoothing. Nothing happens
    // for a null device context.
    void Draw(CDC* dc, int x, int y, int width, int height) const;

    imaging::Bitmap* GetBitmap() const { return m_bitmap.get(); }
    const imaging::ColorPalette& GetPalette() const { return m_palette; }

    // Where Draw finds the main window's settings store (null: none). Set by the main frame.
    static void SetSettingsStoreProvider(std::function<ISettingsStore*()> provider);

private:
    void TakeBitmap(std::unique_ptr<imaging::Bitmap> bitmap);
    void SetPaletteOnBitmap();

    std::unique_ptr<imaging::Bitmap> m_bitmap;
    int m_bufferSize = -1;  // bytes of the pixels Create made, -1 when Create made none
    imaging::ColorPalette m_palette;
};

// Bytes per pixel of the five bitmap formats: S_OK, or E_INVALIDARG with *bytes unchanged.
HRESULT GetPixelFormatBytes(imaging::PixelFormat format, int* bytes);

// The index of the image encoder for mimeType (exact match) with its class id in *clsid, or -1.
int GetEncoderClsid(const char16_t* mimeType, imaging::CodecId* clsid);
