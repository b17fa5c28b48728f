#include "views/ZoomTransform.h"

#include "views/DoublePoint.h"

#include <algorithm>
#include <cmath>

namespace {

// The image-side shift of a mapping mode; false for a mode that maps nothing.
bool ModeShift(int mode, double& shift) {
    switch (mode) {
        case CZoomTransform::kCorner:
            shift = 0.0;
            return true;
        case CZoomTransform::kCentre:
            shift = 0.5;
            return true;
        case CZoomTransform::kFarCorner:
            shift = 1.0;
            return true;
        default:
            return false;
    }
}

void Put(double* out, double value) {
    if (out)
        *out = value;
}

}  // namespace

int CZoomTransform::AddRef() {
    return ++m_refCount;
}

int CZoomTransform::Release() {
    const int count = --m_refCount;
    if (count == 0)
        delete this;
    return count;
}

bool CZoomTransform::IsIdentity() const {
    return m_scale == -1.0 && m_offsetX == -1 && m_offsetY == -1;
}

bool CZoomTransform::IsCentred() const {
    const bool windowSet = !(m_windowWidth == -1 && m_windowHeight == -1);
    const bool imageSet = !(m_imageWidth == -1 && m_imageHeight == -1);
    return windowSet && imageSet;
}

double CZoomTransform::InverseScale() const {
    return 1.0 / (m_scale == 0.0 ? 1.0 : m_scale);
}

void CZoomTransform::ImageToWindow(double x, double y, int mode, double* outX, double* outY) const {
    double shift = 0.0;
    if (!ModeShift(mode, shift) || IsIdentity()) {
        Put(outX, x);
        Put(outY, y);
        return;
    }
    if (IsCentred()) {
        Put(outX, static_cast<double>(
                      TruncToInt((m_offsetX + x + shift - m_imageWidth * 0.5) * m_scale)) -
                      TruncToInt(m_windowWidth * -0.5));
        Put(outY, static_cast<double>(
                      TruncToInt((m_offsetY + y + shift - m_imageHeight * 0.5) * m_scale)) -
                      TruncToInt(m_windowHeight * -0.5));
    } else {
        Put(outX, TruncToInt((m_offsetX + x + shift) * m_scale));
        Put(outY, TruncToInt((m_offsetY + y + shift) * m_scale));
    }
}

void CZoomTransform::ImageToWindowExact(double x, double y, int mode, double* outX,
                                        double* outY) const {
    double shift = 0.0;
    if (!ModeShift(mode, shift) || IsIdentity()) {
        Put(outX, x);
        Put(outY, y);
        return;
    }
    if (IsCentred()) {
        Put(outX, (m_offsetX + x + shift - m_imageWidth * 0.5) * m_scale +
                      TruncToInt(m_windowWidth * 0.5));
        Put(outY, (m_offsetY + y + shift - m_imageHeight * 0.5) * m_scale +
                      TruncToInt(m_windowHeight * 0.5));
    } else {
        Put(outX, (m_offsetX + x + shift) * m_scale);
        Put(outY, (m_offsetY + y + shift) * m_scale);
    }
}

CPoint CZoomTransform::ImageToWindowPixel(double x, double y, int mode) const {
    double wx = 0;
    double wy = 0;
    ImageToWindowExact(x, y, mode, &wx, &wy);
    return CPoint(DrawingPixel(wx), DrawingPixel(wy));
}

int CZoomTransform::DrawingPixel(double v) {
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::lround(std::clamp<double>(v, -kFarPixel, kFarPixel)));
}

void CZoomTransform::WindowToImage(double x, double y, double* outX, double* outY) const {
    if (IsIdentity()) {
        Put(outX, x);
        Put(outY, y);
        return;
    }
    const double wx = TruncToInt(x);
    const double wy = TruncToInt(y);
    const double inverse = InverseScale();
    if (IsCentred()) {
        Put(outX, static_cast<double>(
                      TruncToInt((wx - m_windowWidth * 0.5) * inverse + m_imageWidth * 0.5)) -
                      m_offsetX);
        Put(outY, static_cast<double>(
                      TruncToInt((wy - m_windowHeight * 0.5) * inverse + m_imageHeight * 0.5)) -
                      m_offsetY);
    } else {
        Put(outX, static_cast<double>(TruncToInt(wx * inverse)) - m_offsetX);
        Put(outY, static_cast<double>(TruncToInt(wy * inverse)) - m_offsetY);
    }
}

void CZoomTransform::WindowToImageExact(double x, double y, double* outX, double* outY) const {
    if (IsIdentity()) {
        Put(outX, x);
        Put(outY, y);
        return;
    }
    const double inverse = InverseScale();
    if (IsCentred()) {
        Put(outX, (x - m_windowWidth * 0.5) * inverse + m_imageWidth * 0.5 - m_offsetX);
        Put(outY, (y - m_windowHeight * 0.5) * inverse + m_imageHeight * 0.5 - m_offsetY);
    } else {
        Put(outX, x * inverse - m_offsetX);
        Put(outY, y * inverse - m_offsetY);
    }
}

void CZoomTransform::GetOffset(double* x, double* y) const {
    Put(x, m_offsetX);
    Put(y, m_offsetY);
}

void CZoomTransform::GetScale(double* scale) const {
    Put(scale, m_scale);
}

void CZoomTransform::GetWindowSize(double* width, double* height) const {
    Put(width, m_windowWidth);
    Put(height, m_windowHeight);
}

void CZoomTransform::GetImageSize(double* width, double* height) const {
    Put(width, m_imageWidth);
    Put(height, m_imageHeight);
}

void CZoomTransform::CopyFrom(const CZoomTransform& other) {
    double x = 0.0;
    double y = 0.0;
    double scale = 0.0;
    other.GetOffset(&x, &y);
    SetOffset(x, y);
    other.GetScale(&scale);
    SetScale(scale);
    other.GetWindowSize(&x, &y);
    SetWindowSize(x, y);
    other.GetImageSize(&x, &y);
    SetImageSize(x, y);
}

void CZoomTransform::CopyValues(const CZoomTransform& other) {
    m_offsetX = other.m_offsetX;
    m_offsetY = other.m_offsetY;
    m_scale = other.m_scale;
    m_windowWidth = other.m_windowWidth;
    m_windowHeight = other.m_windowHeight;
    m_imageWidth = other.m_imageWidth;
    m_imageHeight = other.m_imageHeight;
}

void CZoomTransform::SetOffset(double x, double y) {
    m_offsetX = TruncToInt(x);
    m_offsetY = TruncToInt(y);
}

void CZoomTransform::SetScale(double scale) {
    m_scale = scale;
}

void CZoomTransform::SetWindowSize(double width, double height) {
    m_windowWidth = TruncToInt(width);
    m_windowHeight = TruncToInt(height);
}

void CZoomTransform::SetImageSize(double width, double height) {
    m_imageWidth = TruncToInt(width);
    m_imageHeight = TruncToInt(height);
}
