// Downloading a held recording from a camera: 1000 frames of 1024 x 1024 read through the
// recording's frame source (CFrameSource::GetFrame, as saving and playback read it), against
// memcpy of the same bytes out of memory larger than the caches.

#include "RatioReporter.h"

#include "devices/core/Device.h"
#include "devices/sim/SimCamera.h"
#include "devices/sources/DeviceFrameSources.h"
#include "frames/FrameImage.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kSize = 1024;
constexpr int kFrames = 1000;
constexpr int64_t kFrameBytes = int64_t(kSize) * kSize;

struct HostClock {
    int64_t nowNs = 0;
    DriverHostServices services;
    HostClock() {
        services.now = [](void* self) { return static_cast<HostClock*>(self)->nowNs; };
        services.context = this;
    }
};

void DownloadRecording(benchmark::State& state) {
    HostClock clock;
    auto camera = std::make_unique<CSimCamera>(&clock.services, 1, 0, false, kFrames * kFrameBytes);
    camera->SetResolution(kSize, kSize);
    camera->SetRecordRate(1000);
    DriverTriggerSetting setting;
    setting.postTriggerFrames = kFrames / 2;
    camera->SetTriggerSetting(setting);
    camera->SetMode(kModeArmed);
    clock.nowNs = 700 * 1000000;
    camera->Trigger();
    clock.nowNs = 2000 * 1000000;
    CDevice device(CDeviceDescriptor(CDeviceId(kDeviceTypeCamera, 1, 0)), std::move(camera));
    CFrameSourcePtr source = DeviceFrameSources::GetLatestRecording(&device);
    if (source.IsEmpty() || source->GetFrameCount() != kFrames) {
        state.SkipWithError("no recording held");
        return;
    }
    CFrameImage frame;
    for (auto _ : state) {
        for (int i = 0; i < kFrames; ++i) {
            if (!source->GetFrame(i, &frame, 0)) {
                state.SkipWithError("frame not read");
                break;
            }
            benchmark::DoNotOptimize(frame.GetBitmap());
        }
    }
    state.SetBytesProcessed(state.iterations() * kFrames * kFrameBytes);
}

void MemcpyFrames(benchmark::State& state) {
    // 128 frames' worth of source: far beyond the caches, as device memory would be.
    constexpr int kSourceFrames = 128;
    std::vector<unsigned char> source(kSourceFrames * kFrameBytes, 0x5A);
    std::vector<unsigned char> frame(kFrameBytes);
    for (auto _ : state) {
        for (int i = 0; i < kFrames; ++i) {
            std::memcpy(frame.data(), source.data() + (i % kSourceFrames) * kFrameBytes,
                        kFrameBytes);
            benchmark::DoNotOptimize(frame.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * kFrames * kFrameBytes);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("device/download_1000", DownloadRecording)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("memcpy/1000_frames", MemcpyFrames)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("download of 1000 frames from a device recording", "device/download_1000",
                        "memcpy/1000_frames", 2.0);
    benchmark::Shutdown();
    return 0;
}
