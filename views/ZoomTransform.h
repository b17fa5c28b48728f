#pragma once

// CZoomTransform: maps between the image pixels of a shown frame and the window pixels of the
// view that shows it zoomed and panned; the drawing objects map their points through it.
//
// Fresh, it is the identity (scale -1.0, offsets -1). With a window and an image size it is
// centred: the window centre shows the image centre shifted by the offset; otherwise image
// (0, 0) sits at the window's corner before the offset. Every float-to-integer step truncates
// toward zero. Out pointers may be null.

#include "platform/wintypes/Point.h"

class CZoomTransform {
public:
    // Where in an image pixel ImageToWindow maps: its top-left corner, centre or far corner.
    enum Mode { kCorner = 0, kCentre = 1, kFarCorner = 2 };

    CZoomTransform() = default;
    ~CZoomTransform() = default;
    CZoomTransform(const CZoomTransform&) = delete;
    CZoomTransform& operator=(const CZoomTransform&) = delete;

    // Counted use by holders. Release deletes the object when the count drops from 1, so only
    // heap objects may be released; objects on the stack or embedded are never released.
    int AddRef();
    int Release();

    // Image to window with truncation to whole window pixels; a mode other than 0..2 returns
    // the input unchanged.
    void ImageToWindow(double x, double y, int mode, double* outX, double* outY) const;
    void ImageToWindowExact(double x, double y, int mode, double* outX, double* outY) const;
    // ImageToWindowExact rounded to the pixels a drawing uses (see DrawingPixel).
    CPoint ImageToWindowPixel(double x, double y, int mode = kCorner) const;
    // A window position rounded to a pixel and held within kFarPixel of the window, far outside
    // anything shown, so that sizes and offsets worked out from positions a file gives cannot
    // overflow; NaN gives 0.
    static constexpr int kFarPixel = 1 << 24;
    static int DrawingPixel(double v);
    // Window to image; the integer form truncates the window point first and subtracts the
    // offset after truncating, so the offset applies in whole pixels. A scale of 0 counts as 1.
    void WindowToImage(double x, double y, double* outX, double* outY) const;
    void WindowToImageExact(double x, double y, double* outX, double* outY) const;

    void GetOffset(double* x, double* y) const;
    // -1.0 while unset.
    void GetScale(double* scale) const;
    void GetWindowSize(double* width, double* height) const;
    void GetImageSize(double* width, double* height) const;

    // Takes the other's values through its getters; the count stays.
    void CopyFrom(const CZoomTransform& other);
    void CopyValues(const CZoomTransform& other);

    void SetOffset(double x, double y);
    void SetScale(double scale);
    void SetWindowSize(double width, double height);
    void SetImageSize(double width, double height);

    bool IsIdentity() const;

private:
    bool IsCentred() const;
    double InverseScale() const;

    int m_refCount = 0;
    int m_offsetX = -1;
    int m_offsetY = -1;
    double m_scale = -1.0;
    int m_windowWidth = -1;
    int m_windowHeight = -1;
    int m_imageWidth = -1;
    int m_imageHeight = -1;
};
