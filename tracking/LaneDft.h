#pragma once

// CLaneDft: the sums of the zero-padded cross-correlation by way of the spectra, in exactly the
// arithmetic of OpenCV's single-precision transforms and cv::mulSpectrums: the same
// mixed-radix passes, twiddle tables, permutations, packed spectrum layout and operation order,
// so that every sum equals OpenCV's (a zero may differ in its sign, which no other value depends
// on). What differs is the pace: the 1-D transforms of a pass run eight at a time, one in each
// lane of a vector register, and the spectrum stays in that form between the passes.
//
// The lanes are AVX2's: elsewhere nothing is planned. Plan compares its sizes once per process
// with OpenCV's own transforms on a probe and refuses sizes where they differ, so the caller can
// fall back to OpenCV itself.

#include <opencv2/core.hpp>

#include <memory>

struct LaneDftPlan;

class CLaneDft {
public:
    CLaneDft();
    ~CLaneDft();
    CLaneDft(const CLaneDft&) = delete;
    CLaneDft& operator=(const CLaneDft&) = delete;

    // Whether this processor has the lanes.
    static bool Available();
    // Transforms of width x height. false without the lanes, when a side has a prime factor
    // above 5 or the lane transforms do not give this OpenCV's values; the object then holds no
    // plan.
    bool Plan(int width, int height);
    bool HasPlan() const;

    // The template's spectrum as cv::dft gives it (height x width floats, packed layout).
    void SetTemplateSpectrum(const cv::Mat& spectrum);
    // sums (window's size, floats) = the top-left of the inverse scaled transform of the
    // spectrum of the image that holds window (8-bit) at (left, top) and zeros elsewhere,
    // multiplied by the conjugate template spectrum: what cv::dft (nonzero rows top +
    // window.rows), cv::mulSpectrums (conjugate) and cv::dft (DFT_INVERSE | DFT_SCALE, nonzero
    // rows window.rows) give.
    void Correlate(const cv::Mat& window, int left, int top, cv::Mat& sums);

private:
    std::unique_ptr<LaneDftPlan> m_plan;
};
