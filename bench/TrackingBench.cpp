// Points tracked per second by the template matcher for a 21 x 21 template in a 61 x 61 search
// window, against bare OpenCV normalised cross-correlation over the same windows in the same
// run (as they are, and padded as the matcher pads them); the matcher's rate is printed as a
// fraction of OpenCV's.

#include "bench/RatioReporter.h"
#include "tracking/ImageOps.h"
#include "tracking/MImage.h"
#include "tracking/TemplateMatcher.h"

#include <benchmark/benchmark.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include "bench/RatioReporter.h"

#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <string>

namespace {

constexpr int kFrames = 8;
constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kSide = 21;
// Template radius 0.5 sqrt(22^2 + 22^2) = 15.56; x 1.95 gives a window side of 61.
constexpr double kSearchScale = 1.95;
// Predicted top-left that puts the 61 x 61 window at (120, 90).
constexpr int kPredictedX = 139;
constexpr int kPredictedY = 109;

// Frames of noise with a bright square near (150, 120) that moves a little each frame.
struct Scene {
    Scene() {
        std::mt19937 random(3);
        std::uniform_int_distribution<int> grain(0, 30);
        for (int f = 0; f < kFrames; ++f) {
            frames[static_cast<size_t>(f)].Allocate(kWidth, kHeight);
            for (int y = 0; y < kHeight; ++y) {
                for (int x = 0; x < kWidth; ++x) {
                    const bool inside =
                        std::abs(x - 150 - f % 3) <= 5 && std::abs(y - 120 - f % 2) <= 5;
                    frames[static_cast<size_t>(f)].PutPixel(x, y, inside ? 200 : grain(random));
                }
            }
        }
        CImageOps ops;
        ops.CopyRegion(frames[0], patch, CRect(140, 110, 160, 130));
    }

    std::array<CMImage, kFrames> frames;
    CMImage patch;
};

const Scene& TheScene() {
    static const Scene scene;
    return scene;
}

void TrackPoints(benchmark::State& state, bool rotationSearch) {
    const Scene& scene = TheScene();
    CTemplateMatcher matcher;
    matcher.Reset();
    const double values[] = {rotationSearch ? 1.0 : 0.0, kSearchScale};
    matcher.SetSettings(CTemplateMatcher::kSetRotationSearch | CTemplateMatcher::kSetSearchScale,
                        values);
    matcher.SetTemplate(scene.patch, CRect(140, 110, 160, 130));
    matcher.SetActive(1);
    size_t frame = 0;
    for (auto _ : state) {
        const CMImage& image = scene.frames[frame];
        matcher.SetPrediction(&image, kPredictedX, kPredictedY, 0);
        matcher.MatchFrame(image);
        int status = 0;
        double x = 0.0;
        double y = 0.0;
        matcher.GetResult(2, &status, &x, &y, nullptr);
        benchmark::DoNotOptimize(x);
        frame = (frame + 1) % kFrames;
    }
    if (matcher.GetWindow().Width() != 61)
        state.SkipWithError("the search window is not 61 pixels wide");
    state.SetItemsProcessed(state.iterations());
}

void BareMatchTemplate(benchmark::State& state) {
    const Scene& scene = TheScene();
    const cv::Rect window(120, 90, 61, 61);
    cv::Mat result;
    size_t frame = 0;
    for (auto _ : state) {
        cv::matchTemplate(scene.frames[frame].Pixels()(window), scene.patch.Pixels(), result,
                          cv::TM_CCORR_NORMED);
        benchmark::DoNotOptimize(result.data);
        frame = (frame + 1) % kFrames;
    }
    state.SetItemsProcessed(state.iterations());
}

// The same correlation over the window padded with zeros by half the template, which gives a
// result of the window's size: the form the matcher computes.
void PaddedMatchTemplate(benchmark::State& state) {
    const Scene& scene = TheScene();
    const cv::Rect window(120, 90, 61, 61);
    cv::Mat padded;
    cv::Mat result;
    size_t frame = 0;
    for (auto _ : state) {
        cv::copyMakeBorder(scene.frames[frame].Pixels()(window), padded, kSide / 2, kSide / 2,
                           kSide / 2, kSide / 2, cv::BORDER_CONSTANT, cv::Scalar::all(0));
        cv::matchTemplate(padded, scene.patch.Pixels(), result, cv::TM_CCORR_NORMED);
        benchmark::DoNotOptimize(result.data);
        frame = (frame + 1) % kFrames;
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

int main(int argc, char** argv) {
    cv::setNumThreads(1);
    benchmark::RegisterBenchmark("matcher/no_rotation", TrackPoints, false)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("matcher/rotation", TrackPoints, true)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("opencv/match_template", BareMatchTemplate)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("opencv/match_template_padded", PaddedMatchTemplate)
        ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRate("tracking, no rotation", "matcher/no_rotation", "opencv/match_template",
                       0.75);
    benchmark::Shutdown();
    return 0;
}
