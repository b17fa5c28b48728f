// Tintora's mode-0 conversion, with and without its filter, against the bare Bayer-to-BGR
// conversion of OpenCV on the same frame, and against an OpenCV chain of the same stages:
// 8-to-16-bit table, Bayer to BGR, 3x3 smoothing, 3x3 colour matrix; single thread. Prints
// Tintora's time as a ratio to each.

#include "bench/RatioReporter.h"
#include "colorlib/Tintora.h"

#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include "bench/RatioReporter.h"

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;
constexpr int kType = 0;

const std::vector<unsigned char>& Frame() {
    static const std::vector<unsigned char> frame = [] {
        std::vector<unsigned char> f(kWidth * kHeight);
        std::mt19937 random(1280);
        std::uniform_int_distribution<int> sample(0, 255);
        for (auto& s : f)
            s = static_cast<unsigned char>(sample(random));
        return f;
    }();
    return frame;
}

void TintoraMode0(benchmark::State& state, bool skipFilter) {
    const float zero[3] = {0, 0, 0};
    OrvexSetColorCoeff(zero, zero, zero);  // the default matrix
    OrvexGetSingleColor(0);
    std::vector<unsigned char> dst(3 * kWidth * kHeight);
    for (auto _ : state) {
        OrvexMonoToRgb(kWidth, kHeight, kType, 0, skipFilter, Frame().data(), dst.data());
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}

void OpenCvChain(benchmark::State& state, bool skipFilter) {
    // The same knee table as input type 0.
    cv::Mat table(1, 256, CV_16U);
    for (int a = 0; a < 256; ++a) {
        table.at<std::uint16_t>(a) = static_cast<std::uint16_t>(a < 64    ? a
                                                                : a < 96  ? 2 * a - 64
                                                                : a < 192 ? 4 * a - 256
                                                                          : 8 * a - 1024);
    }
    cv::Mat kernel(3, 3, CV_32F, cv::Scalar(1.0 / 32));
    kernel.at<float>(1, 1) = 0.75f;
    float zero[3] = {0, 0, 0};
    OrvexSetColorCoeff(zero, zero, zero);
    float r[3], g[3], b[3];
    OrvexGetColorCoeff(r, g, b);
    // BGR in, BGR out; the planes of the chain are on a 1x scale, Tintora's on 4x before / 16.
    cv::Matx33f matrix(b[2], b[1], b[0], g[2], g[1], g[0], r[2], r[1], r[0]);
    matrix *= 0.25f;

    const cv::Mat src(kHeight, kWidth, CV_8U, const_cast<unsigned char*>(Frame().data()));
    cv::Mat mapped, bgr, smoothed, out;
    for (auto _ : state) {
        cv::LUT(src, table, mapped);
        cv::cvtColor(mapped, bgr, cv::COLOR_BayerBG2BGR);
        if (skipFilter) {
            cv::transform(bgr, out, matrix);
        } else {
            cv::filter2D(bgr, smoothed, -1, kernel);
            cv::transform(smoothed, out, matrix);
        }
        benchmark::DoNotOptimize(out.data);
        benchmark::ClobberMemory();
    }
}

void OpenCvBayer(benchmark::State& state) {
    const cv::Mat src(kHeight, kWidth, CV_8U, const_cast<unsigned char*>(Frame().data()));
    cv::Mat bgr;
    for (auto _ : state) {
        cv::cvtColor(src, bgr, cv::COLOR_BayerBG2BGR);
        benchmark::DoNotOptimize(bgr.data);
        benchmark::ClobberMemory();
    }
}

}  // namespace

int main(int argc, char** argv) {
    cv::setNumThreads(1);
    benchmark::RegisterBenchmark("tintora_mode0/filter", TintoraMode0, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("opencv_chain/filter", OpenCvChain, false)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("tintora_mode0/no_filter", TintoraMode0, true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("opencv_chain/no_filter", OpenCvChain, true)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("opencv/bayer_to_bgr", OpenCvBayer)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("Tintora conversion, filter off", "tintora_mode0/no_filter",
                        "opencv/bayer_to_bgr", 1.5);
    reporter.PrintRatio("Tintora conversion, filter on", "tintora_mode0/filter",
                        "opencv/bayer_to_bgr", 2.0);
    reporter.PrintRatio("Tintora, filter off, against the chain", "tintora_mode0/no_filter",
                        "opencv_chain/no_filter", 1.0);
    reporter.PrintRatio("Tintora, filter on, against the chain", "tintora_mode0/filter",
                        "opencv_chain/filter", 1.5);
    benchmark::Shutdown();
    return 0;
}
