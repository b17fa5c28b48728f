#include "tracking/ImageOps.h"

#include "tracking/MImage.h"
#include "tracking/TrackingErrors.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

struct CImageOps::Scratch {
    cv::Mat grey;
    cv::Mat greyTemplate;
    cv::Mat padded;
    cv::Mat correlation;
    cv::Mat upper;
    cv::Mat work;
};

namespace {

// An 8-bit grey view of image: the image itself when it is one, else converted into scratch.
const cv::Mat& Grey8(const cv::Mat& image, cv::Mat& scratch) {
    if (image.type() == CV_8UC1)
        return image;
    CImageOps::ToGrey8(image, scratch);
    return scratch;
}

}  // namespace

CImageOps::CImageOps() : m_scratch(std::make_unique<Scratch>()) {}

CImageOps::~CImageOps() = default;

void CImageOps::ToGrey8(const cv::Mat& source, cv::Mat& destination) {
    switch (source.type()) {
        case CV_8UC1:
            source.copyTo(destination);
            return;
        case CV_16UC1:
            destination.create(source.rows, source.cols, CV_8UC1);
            for (int y = 0; y < source.rows; ++y) {
                const uint16_t* in = source.ptr<uint16_t>(y);
                uint8_t* out = destination.ptr<uint8_t>(y);
                for (int x = 0; x < source.cols; ++x)
                    out[x] = static_cast<uint8_t>(in[x] >> 8);
            }
            return;
        case CV_8UC3:
        case CV_8UC4: {
            destination.create(source.rows, source.cols, CV_8UC1);
            const int channels = source.channels();
            for (int y = 0; y < source.rows; ++y) {
                const uint8_t* in = source.ptr<uint8_t>(y);
                uint8_t* out = destination.ptr<uint8_t>(y);
                for (int x = 0; x < source.cols; ++x, in += channels)
                    out[x] = static_cast<uint8_t>((in[0] + in[1] + in[2]) / 3);
            }
            return;
        }
        default:
            source.convertTo(destination, CV_8U);
            return;
    }
}

void CImageOps::Copy(const CMImage& source, CMImage& destination) {
    destination.CopyFrom(source);
}

void CImageOps::CopyRegion(const CMImage& source, CMImage& destination, const CRect& inclusive) {
    const int width = inclusive.right - inclusive.left + 1;
    const int height = inclusive.bottom - inclusive.top + 1;
    if (!source.HasImage() || width <= 0 || height <= 0)
        return;
    try {
        destination.DeleteRoi();
        cv::Mat& out = destination.Pixels();
        out.create(height, width, CV_8UC1);
        const cv::Mat& in = source.Pixels();
        const int x = std::clamp<int>(inclusive.left, 0, in.cols);
        const int y = std::clamp<int>(inclusive.top, 0, in.rows);
        const int w = std::min(width, in.cols - x);
        const int h = std::min(height, in.rows - y);
        if (w < width || h < height)
            out.setTo(cv::Scalar::all(0));
        if (w <= 0 || h <= 0)
            return;
        const cv::Mat part = in(cv::Rect(x, y, w, h));
        cv::Mat target = out(cv::Rect(0, 0, w, h));
        if (part.type() == CV_8UC1) {
            part.copyTo(target);
        } else {
            ToGrey8(part, m_scratch->grey);
            m_scratch->grey.copyTo(target);
        }
    } catch (const cv::Exception&) {
        destination.ReleaseImage();
    }
}

void CImageOps::NormCrossCorr(const CMImage& search, const CMImage& templ, CMImage& result) {
    if (!search.HasImage() || !templ.HasImage())
        return;
    try {
        const cv::Mat searchRoi = search.RoiPixels();
        const cv::Mat templateRoi = templ.RoiPixels();
        const cv::Mat& window = Grey8(searchRoi, m_scratch->grey);
        const cv::Mat& pattern = Grey8(templateRoi, m_scratch->greyTemplate);
        const int left = pattern.cols / 2;
        const int top = pattern.rows / 2;
        cv::copyMakeBorder(window, m_scratch->padded, top, pattern.rows - 1 - top, left,
                           pattern.cols - 1 - left, cv::BORDER_CONSTANT, cv::Scalar::all(0));
        cv::matchTemplate(m_scratch->padded, pattern, m_scratch->correlation, cv::TM_CCORR_NORMED);
        result.DeleteRoi();
        m_scratch->correlation.convertTo(result.Pixels(), CV_8U, 255.0);
    } catch (const cv::Exception&) {
        result.ReleaseImage();
    }
}

void CImageOps::Threshold(const CMImage& source, CMImage& destination, int low, int high,
                          bool binarise, int value) {
    if (!source.HasImage())
        return;
    low = std::clamp(low, 0, 255);
    high = std::clamp(high, 0, 255);
    if (low == high && high != 255)
        high = low + 1;
    try {
        const cv::Mat sourceRoi = source.RoiPixels();
        const cv::Mat& in = Grey8(sourceRoi, m_scratch->grey);
        destination.DeleteRoi();
        cv::Mat& out = destination.Pixels();
        if (&out == &source.Pixels()) {
            // In place: work from a copy of the source.
            in.copyTo(m_scratch->work);
            Threshold8(m_scratch->work, out, low, high, binarise, value);
        } else {
            Threshold8(in, out, low, high, binarise, value);
        }
    } catch (const cv::Exception&) {
        destination.ReleaseImage();
    }
}

void CImageOps::Threshold8(const cv::Mat& in, cv::Mat& out, int low, int high, bool binarise,
                           int value) {
    cv::compare(in, cv::Scalar(low), out, cv::CMP_GE);
    if (high != 255) {
        cv::compare(in, cv::Scalar(high), m_scratch->upper, cv::CMP_GE);
        cv::subtract(out, m_scratch->upper, out);
    }
    if (binarise) {
        if (value > 0 && value < 255)
            out.convertTo(out, CV_8U, value / 255.0);
    } else {
        cv::bitwise_and(out, in, out);
    }
}

void CImageOps::Rotate(const CMImage& source, CMImage& destination, double angleDeg, double cx,
                       double cy, int interpolation) {
    if (!source.HasImage())
        return;
    const cv::Mat& in = source.Pixels();
    if (cx < 0.0)
        cx = (in.cols - 1) * 0.5;
    if (cy < 0.0)
        cy = (in.rows - 1) * 0.5;
    const int flags = interpolation == 0   ? cv::INTER_NEAREST
                      : interpolation == 2 ? cv::INTER_CUBIC
                                           : cv::INTER_LINEAR;
    try {
        const double a = std::cos(angleDeg * CV_PI / 180.0);
        const double b = std::sin(angleDeg * CV_PI / 180.0);
        const cv::Matx23d turn(a, b, (1.0 - a) * cx - b * cy, -b, a, b * cx + (1.0 - a) * cy);
        destination.DeleteRoi();
        if (&destination == &source) {
            cv::warpAffine(in, m_scratch->work, turn, in.size(), flags, cv::BORDER_CONSTANT,
                           cv::Scalar::all(0));
            m_scratch->work.copyTo(destination.Pixels());
        } else {
            cv::warpAffine(in, destination.Pixels(), turn, in.size(), flags, cv::BORDER_CONSTANT,
                           cv::Scalar::all(0));
        }
    } catch (const cv::Exception&) {
        destination.ReleaseImage();
    }
}
