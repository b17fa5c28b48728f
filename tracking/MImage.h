#pragma once

// CMImage: one image of the tracker (8-bit or 16-bit grey, 8-bit BGR or BGRA, or 32-bit float
// grey) with an optional region of interest. The pixels live in an OpenCV matrix that only the
// tracking sources see; the buffer is kept and reused while size and format stay the same.

#include "tracking/PeakInfo.h"

#include "platform/framework/Object.h"
#include "platform/wintypes/BitmapInfo.h"
#include "platform/wintypes/Rect.h"

#include <memory>

namespace cv {
class Mat;
}

class CDib;

class CMImage : public CObject {
    DECLARE_DYNAMIC(CMImage)

public:
    CMImage();
    ~CMImage() override;
    CMImage(const CMImage&) = delete;
    CMImage& operator=(const CMImage&) = delete;

    // The tracker's images are scratch: nothing is stored.
    void Serialize(CArchive& ar) override;

    bool HasImage() const;
    // The size, or -1 without an image.
    int GetWidth() const;
    int GetHeight() const;
    // 1, 3 or 4; 0 without an image.
    int GetChannels() const;
    // Bits per channel: 8, 16 or 32 (float); 0 without an image.
    int GetDepth() const;

    // A zeroed 8-bit grey (Allocate) or float grey (AllocateFloat) image; nothing when a side is
    // not positive. The buffer is kept when it already has that size and format. A failed
    // allocation shows "Failed to allocate image memory." and leaves no image.
    void Allocate(int width, int height);
    void AllocateFloat(int width, int height);
    // Forgets the image and its region of interest.
    void ReleaseImage();
    void Free();

    // Makes this a copy of source's pixels and region of interest, reusing the buffer when the
    // two agree (same size and format). A source without image leaves this unchanged.
    void CopyFrom(const CMImage& source);

    // Loads a device-independent bitmap (bottom-up or top-down rows padded to four bytes) of 8
    // (grey levels, the colour table is not applied), 16 (grey), 24 or 32 bits per pixel,
    // uncompressed. With rect (inclusive) only that part is taken, its size kept even where it
    // passes the bitmap's edge (the missing part is 0). An existing 8-bit grey image of the
    // target size is reused and receives the mean of the colour channels. Anything else shows
    // "Failed to convert DIB to image format." and returns false.
    bool LoadFromDib(const BITMAPINFOHEADER& header, const BYTE* bits, const CRect* rect = nullptr);
    // The same from a frame bitmap; an empty bitmap is refused with the same message.
    bool LoadFromDib(const CDib& dib, const CRect* rect = nullptr);

    // Sets the region of interest from an inclusive rectangle, clamped to the image: negative
    // offsets become 0, then width and height are cut at the far edges (so a rectangle that
    // starts left of the image keeps its full width from x 0). Nothing without an image.
    void SetRoi(const CRect& inclusive);
    void DeleteRoi();
    bool HasRoi() const;
    // The region of interest as an inclusive rectangle; the whole image when there is none.
    CRect GetRoiRect() const;

    // The integer mean of the colour channels (alpha is not counted); 0 outside the image.
    int GetPixel(int x, int y) const;
    // Writes value to every channel; nothing outside the image.
    void PutPixel(int x, int y, int value);

    // Extremes of the region of interest, scanned column by column (x outer, y inner) from its
    // top-left pixel; a strictly greater (smaller) value replaces the maximum (minimum). Call
    // only on an image with pixels; FindPeakFloat reads float images (others count as 0).
    void FindPeak(PeakInfo& info) const;
    void FindPeakFloat(PeakInfoFloat& info) const;

    // Sets every pixel outside the circle (outside the ellipse) to 0 in all channels. Negative
    // cx or cy mean the image's centre (integer halves); radius 0 means half the smaller side;
    // rx or ry 0 mean half the width or height.
    void MaskOutsideCircle(int cx, int cy, double radius);
    void MaskOutsideEllipse(int cx, int cy, double rx, double ry);

    // The whole matrix, for the tracking sources that work on it with OpenCV.
    cv::Mat& Pixels() { return *m_pixels; }
    const cv::Mat& Pixels() const { return *m_pixels; }
    // The region of interest (or the whole image) as a matrix that shares the pixels.
    cv::Mat RoiPixels() const;

private:
    void AllocateAs(int width, int height, int type);

    std::unique_ptr<cv::Mat> m_pixels;
    bool m_hasRoi = false;
    CRect m_roi;  // x, y, right and bottom exclusive, within the image.
};
