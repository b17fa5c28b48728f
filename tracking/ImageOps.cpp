#include "tracking/ImageOps.h"

#include "tracking/LaneDft.h"
#include "tracking/MImage.h"
#include "tracking/TrackingErrors.h"

#include <opencv2/core.hpp>
#include <opencv2/core/hal/hal.hpp>
#include <opencv2/imgproc.hpp>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

namespace {

// The zero-padded normalised cross-correlation, computed in exactly the arithmetic of
// cv::matchTemplate on the padded window (one spectral block, single-precision transforms of the
// same size, the same normalisation), so its values are the same to the bit. What it saves: the
// template's spectrum and the transform plans are kept while template and sizes stay, the
// transforms run eight at a time in vector lanes (CLaneDft; OpenCV's own where a size is not
// planned there), the window goes straight into the transforms instead of a padded copy, and the
// window energies come from an integer table instead of a double integral image.
class PaddedCorrelator {
public:
    // false when the window needs more than one block; the caller then pads and matches.
    bool Correlate(const cv::Mat& window, const cv::Mat& pattern, cv::Mat& correlation);

private:
    // A window of rows rows fits one block: the transforms read its rows plus the template's
    // and give back its rows.
    void Plan(int width, int height, int rows, const cv::Mat& pattern);
    void TakeTemplate(const cv::Mat& pattern);

    int m_width = 0;  // Transform size.
    int m_height = 0;
    int m_rows = 0;  // Window rows.
    cv::Size m_patternSize;
    cv::Ptr<cv::hal::DFT2D> m_templateForward;
    cv::Ptr<cv::hal::DFT2D> m_forward;
    cv::Ptr<cv::hal::DFT2D> m_inverse;
    cv::Mat m_pattern;  // The template whose spectrum is held; empty when none is.
    cv::Mat m_templateSpectrum;
    cv::Mat m_spectrum;
    CLaneDft m_lanes;
    cv::Mat m_sums;  // The correlation sums of the lane transforms.
    double m_templateNorm = 0.0;
    std::vector<int64_t> m_energy;    // Summed-area table of the window's squared pixels.
    std::vector<double> m_rowEnergy;  // The energies of one row's windows.
};

// The share of a window's energy below which matchTemplate takes it for black: 10 x FLT_EPSILON,
// a float, as the normalisation multiplies it with the energy.
constexpr double kBlackFraction = 10 * FLT_EPSILON;

#if defined(__x86_64__)
bool HasAvx512() {
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") != 0;
    }();
    return has;
}

// GCC 12's AVX-512 headers start some vectors from themselves ("undefined" values the
// instructions then overwrite), which its flow analysis takes for uninitialised reads.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

// NormaliseRow's arithmetic eight pixels a step: the same double operations, each exactly
// rounded, with the branches as masks. Returns where it stopped.
__attribute__((target("avx512f"))) int NormaliseRowAvx512(const float* sums, const double* energies,
                                                          double templateNorm, float* out,
                                                          int count) {
    const __m512d half = _mm512_set1_pd(0.5);
    const __m512d fraction = _mm512_set1_pd(kBlackFraction);
    const __m512d scale = _mm512_set1_pd(templateNorm);
    const __m512d margin = _mm512_set1_pd(1.125);
    const __m512d zero = _mm512_setzero_pd();
    const __m512d one = _mm512_set1_pd(1.0);
    const __m512d minusOne = _mm512_set1_pd(-1.0);
    int x = 0;
    for (; x + 8 <= count; x += 8) {
        const __m512d energy = _mm512_loadu_pd(energies + x);
        // std::min(0.5, f): f unless f < 0.5 fails; the two agree wherever they are equal.
        const __m512d guard = _mm512_min_pd(_mm512_mul_pd(fraction, energy), half);
        const __mmask8 black = _mm512_cmp_pd_mask(energy, guard, _CMP_LE_OQ);
        const __m512d norm =
            _mm512_mask_blend_pd(black, _mm512_mul_pd(_mm512_sqrt_pd(energy), scale), zero);
        const __m512d value = _mm512_cvtps_pd(_mm256_loadu_ps(sums + x));
        const __m512d size = _mm512_abs_pd(value);
        const __mmask8 inside = _mm512_cmp_pd_mask(size, norm, _CMP_LT_OQ);
        const __mmask8 near =
            _mm512_cmp_pd_mask(size, _mm512_mul_pd(norm, margin), _CMP_LT_OQ) & ~inside;
        const __mmask8 positive = _mm512_cmp_pd_mask(value, zero, _CMP_GT_OQ);
        __m512d result =
            _mm512_mask_blend_pd(near, zero, _mm512_mask_blend_pd(positive, minusOne, one));
        result = _mm512_mask_div_pd(result, inside, value, norm);
        _mm256_storeu_ps(out + x, _mm512_cvtpd_ps(result));
    }
    return x;
}

#pragma GCC diagnostic pop
#endif

// One row of the correlation from its sums: each over the root of its window's energy times the
// template's norm, with matchTemplate's guards.
void NormaliseRow(const float* sums, const double* energies, double templateNorm, float* out,
                  int count);

// cv::matchTemplate's block side for a template side and result side.
int BlockSide(int templateSide, int resultSide) {
    const int side = std::max(cvRound(templateSide * 4.5), 256 - templateSide + 1);
    return std::min(side, resultSide);
}

bool PaddedCorrelator::Correlate(const cv::Mat& window, const cv::Mat& pattern,
                                 cv::Mat& correlation) {
    const int cols = window.cols;
    const int rows = window.rows;
    const int width =
        std::max(cv::getOptimalDFTSize(BlockSide(pattern.cols, cols) + pattern.cols - 1), 2);
    const int height = cv::getOptimalDFTSize(BlockSide(pattern.rows, rows) + pattern.rows - 1);
    if (width - pattern.cols + 1 < cols || height - pattern.rows + 1 < rows)
        return false;
    if (width != m_width || height != m_height || rows != m_rows || pattern.size() != m_patternSize)
        Plan(width, height, rows, pattern);
    if (m_pattern.empty() || cv::norm(m_pattern, pattern, cv::NORM_INF) != 0.0)
        TakeTemplate(pattern);

    const int left = pattern.cols / 2;
    const int top = pattern.rows / 2;
    const cv::Mat* sums = &m_sums;
    if (m_lanes.HasPlan()) {
        m_lanes.Correlate(window, left, top, m_sums);
    } else {
        m_spectrum.setTo(cv::Scalar::all(0));
        cv::Mat target = m_spectrum(cv::Rect(left, top, cols, rows));
        window.convertTo(target, CV_32F);
        m_forward->apply(m_spectrum.data, m_spectrum.step, m_spectrum.data, m_spectrum.step);
        cv::mulSpectrums(m_spectrum, m_templateSpectrum, m_spectrum, 0, true);
        m_inverse->apply(m_spectrum.data, m_spectrum.step, m_spectrum.data, m_spectrum.step);
        sums = &m_spectrum;
    }

    const size_t stride = static_cast<size_t>(cols) + 1;
    m_energy.assign(stride * (rows + 1), 0);
    for (int y = 0; y < rows; ++y) {
        const uint8_t* in = window.ptr<uint8_t>(y);
        const int64_t* above = &m_energy[stride * y];
        int64_t* row = &m_energy[stride * (y + 1)];
        int64_t run = 0;
        for (int x = 0; x < cols; ++x) {
            run += in[x] * in[x];
            row[x + 1] = above[x + 1] + run;
        }
    }
    correlation.create(rows, cols, CV_32F);
    m_rowEnergy.resize(static_cast<size_t>(cols));
    for (int y = 0; y < rows; ++y) {
        const size_t y0 = static_cast<size_t>(std::max(0, y - top));
        const size_t y1 = static_cast<size_t>(std::min(rows, y - top + pattern.rows));
        for (int x = 0; x < cols; ++x) {
            const size_t x0 = static_cast<size_t>(std::max(0, x - left));
            const size_t x1 = static_cast<size_t>(std::min(cols, x - left + pattern.cols));
            m_rowEnergy[static_cast<size_t>(x)] =
                static_cast<double>(m_energy[stride * y1 + x1] - m_energy[stride * y0 + x1] -
                                    m_energy[stride * y1 + x0] + m_energy[stride * y0 + x0]);
        }
        NormaliseRow(sums->ptr<float>(y), m_rowEnergy.data(), m_templateNorm,
                     correlation.ptr<float>(y), cols);
    }
    return true;
}

void NormaliseRow(const float* sums, const double* energies, double templateNorm, float* out,
                  int count) {
    int x = 0;
#if defined(__x86_64__)
    if (HasAvx512())
        x = NormaliseRowAvx512(sums, energies, templateNorm, out, count);
#endif
    for (; x < count; ++x) {
        const double energy = energies[x];
        // matchTemplate's guards: a black neighbourhood gives 0, rounding beyond 1 gives 1.
        const double norm = energy <= std::min(0.5, kBlackFraction * energy)
                                ? 0.0
                                : std::sqrt(energy) * templateNorm;
        double value = sums[x];
        if (std::fabs(value) < norm)
            value /= norm;
        else if (std::fabs(value) < norm * 1.125)
            value = value > 0 ? 1.0 : -1.0;
        else
            value = 0.0;
        out[x] = static_cast<float>(value);
    }
}

void PaddedCorrelator::Plan(int width, int height, int rows, const cv::Mat& pattern) {
    m_width = width;
    m_height = height;
    m_rows = rows;
    m_patternSize = pattern.size();
    m_pattern.release();
    const int inPlace = CV_HAL_DFT_IS_INPLACE;
    m_templateForward = cv::hal::DFT2D::create(width, height, CV_32F, 1, 1, inPlace, pattern.rows);
    m_templateSpectrum.create(height, width, CV_32F);
    if (m_lanes.Plan(width, height)) {
        m_forward.reset();
        m_inverse.reset();
        m_spectrum.release();
        return;
    }
    m_forward =
        cv::hal::DFT2D::create(width, height, CV_32F, 1, 1, inPlace, rows + pattern.rows - 1);
    m_inverse = cv::hal::DFT2D::create(width, height, CV_32F, 1, 1,
                                       inPlace | CV_HAL_DFT_INVERSE | CV_HAL_DFT_SCALE, rows);
    m_spectrum.create(height, width, CV_32F);
}

void PaddedCorrelator::TakeTemplate(const cv::Mat& pattern) {
    pattern.copyTo(m_pattern);
    // Rows below the template are left as they are: the transform treats them as zero.
    cv::Mat part = m_templateSpectrum(cv::Rect(0, 0, pattern.cols, pattern.rows));
    pattern.convertTo(part, CV_32F);
    if (m_width > pattern.cols)
        m_templateSpectrum(cv::Rect(pattern.cols, 0, m_width - pattern.cols, pattern.rows))
            .setTo(cv::Scalar::all(0));
    m_templateForward->apply(m_templateSpectrum.data, m_templateSpectrum.step,
                             m_templateSpectrum.data, m_templateSpectrum.step);
    if (m_lanes.HasPlan())
        m_lanes.SetTemplateSpectrum(m_templateSpectrum);
    cv::Scalar mean;
    cv::Scalar deviation;
    cv::meanStdDev(pattern, mean, deviation);
    // As matchTemplate derives it: sqrt(mean square) / sqrt(1 / area).
    const double meanSquare = deviation[0] * deviation[0] + mean[0] * mean[0];
    m_templateNorm = std::sqrt(meanSquare) / std::sqrt(1.0 / (double(pattern.rows) * pattern.cols));
}

}  // namespace

struct CImageOps::Scratch {
    cv::Mat grey;
    cv::Mat greyTemplate;
    cv::Mat padded;
    cv::Mat correlation;
    cv::Mat upper;
    cv::Mat work;
    PaddedCorrelator correlator;
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
        if (!m_scratch->correlator.Correlate(window, pattern, m_scratch->correlation)) {
            const int left = pattern.cols / 2;
            const int top = pattern.rows / 2;
            cv::copyMakeBorder(window, m_scratch->padded, top, pattern.rows - 1 - top, left,
                               pattern.cols - 1 - left, cv::BORDER_CONSTANT, cv::Scalar::all(0));
            cv::matchTemplate(m_scratch->padded, pattern, m_scratch->correlation,
                              cv::TM_CCORR_NORMED);
        }
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
