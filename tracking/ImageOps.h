#pragma once

// CImageOps: the two-image operations of the tracker (copy, region copy, normalised
// cross-correlation, threshold, rotation). It keeps scratch buffers between calls, so each user
// holds its own instance and steady tracking allocates nothing.

#include "platform/wintypes/Rect.h"

#include <memory>

namespace cv {
class Mat;
}

class CMImage;

class CImageOps {
public:
    CImageOps();
    ~CImageOps();
    CImageOps(const CImageOps&) = delete;
    CImageOps& operator=(const CImageOps&) = delete;

    // destination.CopyFrom(source).
    void Copy(const CMImage& source, CMImage& destination);
    // destination becomes an 8-bit grey image of the inclusive rectangle's size without region
    // of interest, holding source's pixels of that rectangle clamped as CMImage::SetRoi clamps
    // it: the clamped part lands at the top-left and the rest is 0. Colour and 16-bit sources
    // are turned grey (ToGrey8). Nothing when source has no image or the rectangle no area.
    void CopyRegion(const CMImage& source, CMImage& destination, const CRect& inclusive);
    // result becomes an 8-bit image of search's region-of-interest size whose pixel (x, y)
    // holds 255 x the normalised cross-correlation of templ centred there (its pixel (w/2,
    // h/2) on (x, y)) with the search image, zero outside the search image. Nothing unless
    // both inputs hold images.
    void NormCrossCorr(const CMImage& search, const CMImage& templ, CMImage& result);
    // low and high are clamped to 0..255; low == high < 255 makes the band [low, low + 1).
    // high 255: 255 where source >= low, else 0; otherwise 255 inside [low, high). Then with
    // binarise and 0 < value < 255 the 255s become value; without binarise the band keeps the
    // source's values.
    void Threshold(const CMImage& source, CMImage& destination, int low, int high, bool binarise,
                   int value);
    // destination (source's size and format) = source turned by angleDeg counter-clockwise on
    // screen about (cx, cy) in pixel coordinates; negative cx or cy mean the image's centre.
    // interpolation 0 nearest, 1 linear, 2 cubic; uncovered pixels are 0.
    void Rotate(const CMImage& source, CMImage& destination, double angleDeg, double cx, double cy,
                int interpolation);

    // 8-bit grey from any image of the tracker: the integer mean of the colour channels (alpha
    // left out), 16-bit samples by their high byte, floats saturated.
    static void ToGrey8(const cv::Mat& source, cv::Mat& destination);

private:
    struct Scratch;

    void Threshold8(const cv::Mat& in, cv::Mat& out, int low, int high, bool binarise, int value);

    std::unique_ptr<Scratch> m_scratch;
};
