#include "tracking/MImage.h"

#include "tracking/TrackingErrors.h"

#include "frames/Dib.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cstring>
#include <limits>

IMPLEMENT_DYNAMIC(CMImage, CObject)

namespace {

const char kErrorCaption[] = "Error";

void ShowError(const char* text) {
    TrackingMessageBox(QString::fromLatin1(text), QString::fromLatin1(kErrorCaption), MB_OK);
}

// The integer mean of the colour channels of one pixel, alpha left out.
template <typename T>
int MeanOf(const T* p, int channels) {
    if (channels == 1)
        return static_cast<int>(p[0]);
    return (static_cast<int>(p[0]) + static_cast<int>(p[1]) + static_cast<int>(p[2])) / 3;
}

}  // namespace

CMImage::CMImage() : m_pixels(std::make_unique<cv::Mat>()) {}

CMImage::~CMImage() = default;

void CMImage::Serialize(CArchive&) {}

bool CMImage::HasImage() const {
    return !m_pixels->empty();
}

int CMImage::GetWidth() const {
    return HasImage() ? m_pixels->cols : -1;
}

int CMImage::GetHeight() const {
    return HasImage() ? m_pixels->rows : -1;
}

int CMImage::GetChannels() const {
    return HasImage() ? m_pixels->channels() : 0;
}

int CMImage::GetDepth() const {
    if (!HasImage())
        return 0;
    switch (m_pixels->depth()) {
        case CV_8U:
            return 8;
        case CV_16U:
            return 16;
        default:
            return 32;
    }
}

void CMImage::AllocateAs(int width, int height, int type) {
    if (width <= 0 || height <= 0)
        return;
    DeleteRoi();
    try {
        m_pixels->create(height, width, type);
        m_pixels->setTo(cv::Scalar::all(0));
    } catch (const cv::Exception&) {
        m_pixels->release();
        ShowError("Failed to allocate image memory.");
    }
}

void CMImage::Allocate(int width, int height) {
    AllocateAs(width, height, CV_8UC1);
}

void CMImage::AllocateFloat(int width, int height) {
    AllocateAs(width, height, CV_32FC1);
}

void CMImage::ReleaseImage() {
    m_pixels->release();
    m_hasRoi = false;
}

void CMImage::Free() {
    ReleaseImage();
}

void CMImage::CopyFrom(const CMImage& source) {
    if (&source == this || !source.HasImage())
        return;
    source.m_pixels->copyTo(*m_pixels);
    m_hasRoi = source.m_hasRoi;
    m_roi = source.m_roi;
}

bool CMImage::LoadFromDib(const BITMAPINFOHEADER& header, const BYTE* bits, const CRect* rect) {
    const int width = header.biWidth;
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const int bitCount = header.biBitCount;
    int type = -1;
    switch (bitCount) {
        case 8:
            type = CV_8UC1;
            break;
        case 16:
            type = CV_16UC1;
            break;
        case 24:
            type = CV_8UC3;
            break;
        case 32:
            type = CV_8UC4;
            break;
    }
    const bool plain =
        header.biCompression == BI_RGB || (header.biCompression == BI_BITFIELDS && bitCount >= 16);
    if (type < 0 || !plain || bits == nullptr || width <= 0 || height <= 0) {
        ShowError("Failed to convert DIB to image format.");
        return false;
    }
    // The inclusive rectangle in 64 bits: stored corners near the ends of int would overflow.
    // A region larger than the bitmap cannot come from it and is refused with the rest.
    const int64_t regionWidth = rect ? int64_t{rect->right} + 1 - rect->left : width;
    const int64_t regionHeight = rect ? int64_t{rect->bottom} + 1 - rect->top : height;
    const bool cornerFits = !rect || (rect->right < std::numeric_limits<LONG>::max() &&
                                      rect->bottom < std::numeric_limits<LONG>::max());
    if (!cornerFits || regionWidth <= 0 || regionHeight <= 0 || regionWidth > width ||
        regionHeight > height) {
        ShowError("Failed to convert DIB to image format.");
        return false;
    }
    const CRect region = rect ? CRect(rect->left, rect->top, rect->right + 1, rect->bottom + 1)
                              : CRect(0, 0, width, height);
    if (region.Width() <= 0 || region.Height() <= 0) {
        ShowError("Failed to convert DIB to image format.");
        return false;
    }

    const bool reuse = m_pixels->type() == CV_8UC1 && m_pixels->cols == region.Width() &&
                       m_pixels->rows == region.Height();
    DeleteRoi();
    try {
        if (!reuse)
            m_pixels->create(region.Height(), region.Width(), type);
        const int outType = m_pixels->type();
        const size_t stride = DibRowBytes(width, static_cast<WORD>(bitCount));
        const int bytes = bitCount / 8;
        // The clamped part of the region lands at the top-left; the rest stays 0.
        const int x0 = std::max<int>(0, region.left);
        const int y0 = std::max<int>(0, region.top);
        // A region that starts beyond the bitmap keeps nothing of it.
        const int w = std::max(0, std::min<int>(region.Width(), width - std::min(x0, width)));
        const int h = std::max(0, std::min<int>(region.Height(), height - std::min(y0, height)));
        if (w < region.Width() || h < region.Height())
            m_pixels->setTo(cv::Scalar::all(0));
        for (int r = 0; r < h; ++r) {
            const int row = header.biHeight > 0 ? height - 1 - (y0 + r) : y0 + r;
            const BYTE* in =
                bits + static_cast<size_t>(row) * stride + static_cast<size_t>(x0) * bytes;
            uint8_t* out = m_pixels->ptr<uint8_t>(r);
            if (outType == type) {
                std::memcpy(out, in, static_cast<size_t>(w) * bytes);
                continue;
            }
            // Into a grey image that is being reused.
            for (int x = 0; x < w; ++x, in += bytes) {
                if (bitCount == 16)
                    out[x] = in[1];
                else
                    out[x] = static_cast<uint8_t>(MeanOf(in, bytes == 1 ? 1 : 3));
            }
        }
    } catch (const cv::Exception&) {
        m_pixels->release();
        ShowError("Failed to convert DIB to image format.");
        return false;
    }
    return true;
}

bool CMImage::LoadFromDib(const CDib& dib, const CRect* rect) {
    if (!dib.GetHeader() || !dib.GetBits()) {
        ShowError("Failed to convert DIB to image format.");
        return false;
    }
    return LoadFromDib(*dib.GetHeader(), dib.GetBits(), rect);
}

void CMImage::SetRoi(const CRect& inclusive) {
    if (!HasImage())
        return;
    const int x = std::clamp<int>(inclusive.left, 0, m_pixels->cols);
    const int y = std::clamp<int>(inclusive.top, 0, m_pixels->rows);
    const int w = std::clamp<int>(inclusive.right - inclusive.left + 1, 0, m_pixels->cols - x);
    const int h = std::clamp<int>(inclusive.bottom - inclusive.top + 1, 0, m_pixels->rows - y);
    m_roi = CRect(x, y, x + w, y + h);
    m_hasRoi = true;
}

void CMImage::DeleteRoi() {
    m_hasRoi = false;
}

bool CMImage::HasRoi() const {
    return m_hasRoi;
}

CRect CMImage::GetRoiRect() const {
    if (m_hasRoi)
        return CRect(m_roi.left, m_roi.top, m_roi.right - 1, m_roi.bottom - 1);
    return CRect(0, 0, GetWidth() - 1, GetHeight() - 1);
}

cv::Mat CMImage::RoiPixels() const {
    if (!m_hasRoi || !HasImage())
        return *m_pixels;
    return (*m_pixels)(cv::Rect(m_roi.left, m_roi.top, m_roi.Width(), m_roi.Height()));
}

int CMImage::GetPixel(int x, int y) const {
    if (!HasImage() || x < 0 || y < 0 || x >= m_pixels->cols || y >= m_pixels->rows)
        return 0;
    const int channels = m_pixels->channels();
    switch (m_pixels->depth()) {
        case CV_8U:
            return MeanOf(m_pixels->ptr<uint8_t>(y) + x * channels, channels);
        case CV_16U:
            return MeanOf(m_pixels->ptr<uint16_t>(y) + x * channels, channels);
        case CV_32F:
            return static_cast<int>(m_pixels->ptr<float>(y)[x]);
    }
    return 0;
}

void CMImage::PutPixel(int x, int y, int value) {
    if (!HasImage() || x < 0 || y < 0 || x >= m_pixels->cols || y >= m_pixels->rows)
        return;
    const int channels = m_pixels->channels();
    for (int c = 0; c < channels; ++c) {
        switch (m_pixels->depth()) {
            case CV_8U:
                m_pixels->ptr<uint8_t>(y)[x * channels + c] = static_cast<uint8_t>(value);
                break;
            case CV_16U:
                m_pixels->ptr<uint16_t>(y)[x * channels + c] = static_cast<uint16_t>(value);
                break;
            case CV_32F:
                m_pixels->ptr<float>(y)[x] = static_cast<float>(value);
                break;
        }
    }
}

void CMImage::FindPeak(PeakInfo& info) const {
    const CRect r = GetRoiRect();
    if (!HasImage() || r.right < r.left || r.bottom < r.top)
        return;
    info.MaxValue = info.MinValue = GetPixel(r.left, r.top);
    info.MaxX = info.MinX = r.left;
    info.MaxY = info.MinY = r.top;
    const bool grey8 = m_pixels->type() == CV_8UC1;
    for (int x = r.left; x <= r.right; ++x) {
        for (int y = r.top; y <= r.bottom; ++y) {
            const int v = grey8 ? m_pixels->ptr<uint8_t>(y)[x] : GetPixel(x, y);
            if (v > info.MaxValue) {
                info.MaxValue = v;
                info.MaxX = x;
                info.MaxY = y;
            } else if (v < info.MinValue) {
                info.MinValue = v;
                info.MinX = x;
                info.MinY = y;
            }
        }
    }
}

void CMImage::FindPeakFloat(PeakInfoFloat& info) const {
    const CRect r = GetRoiRect();
    if (!HasImage() || r.right < r.left || r.bottom < r.top)
        return;
    const bool isFloat = m_pixels->type() == CV_32FC1;
    auto at = [&](int x, int y) { return isFloat ? m_pixels->ptr<float>(y)[x] : 0.0f; };
    info.MaxValue = info.MinValue = at(r.left, r.top);
    info.MaxX = info.MinX = r.left;
    info.MaxY = info.MinY = r.top;
    for (int x = r.left; x <= r.right; ++x) {
        for (int y = r.top; y <= r.bottom; ++y) {
            const float v = at(x, y);
            if (v > info.MaxValue) {
                info.MaxValue = v;
                info.MaxX = x;
                info.MaxY = y;
            } else if (v < info.MinValue) {
                info.MinValue = v;
                info.MinX = x;
                info.MinY = y;
            }
        }
    }
}

void CMImage::MaskOutsideCircle(int cx, int cy, double radius) {
    if (!HasImage())
        return;
    if (cx < 0)
        cx = m_pixels->cols / 2;
    if (cy < 0)
        cy = m_pixels->rows / 2;
    if (radius == 0.0)
        radius = 0.5 * std::min(m_pixels->cols, m_pixels->rows);
    const double limit = radius * radius;
    for (int y = 0; y < m_pixels->rows; ++y) {
        for (int x = 0; x < m_pixels->cols; ++x) {
            const double dx = x - cx;
            const double dy = y - cy;
            if (dx * dx + dy * dy > limit)
                PutPixel(x, y, 0);
        }
    }
}

void CMImage::MaskOutsideEllipse(int cx, int cy, double rx, double ry) {
    if (!HasImage())
        return;
    if (cx < 0)
        cx = m_pixels->cols / 2;
    if (cy < 0)
        cy = m_pixels->rows / 2;
    if (rx == 0.0)
        rx = 0.5 * m_pixels->cols;
    if (ry == 0.0)
        ry = 0.5 * m_pixels->rows;
    for (int y = 0; y < m_pixels->rows; ++y) {
        for (int x = 0; x < m_pixels->cols; ++x) {
            const double dx = x - cx;
            const double dy = y - cy;
            if (dx * dx / (rx * rx) + dy * dy / (ry * ry) > 1.0)
                PutPixel(x, y, 0);
        }
    }
}
