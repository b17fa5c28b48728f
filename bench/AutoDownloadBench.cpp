// One automatic download (CAutoDownloadWnd::Download, as the cycle runs it when a recording has
// ended) of a camera holding 1000 frames of 1024 x 1024 8-bit, saved as a BMP sequence, against
// writing the same BMP files with plain buffered I/O: each frame rendered as the camera hands it
// out, turned bottom-up behind a header and grey palette, and written with fwrite.

#include "bench/RatioReporter.h"
#include "devices/AutoDownloadWnd.h"
#include "devices/core/Device.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "devices/sim/SimCamera.h"
#include "shell/SaveController.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kSide = 1024;
constexpr int kFrames = 1000;
constexpr int64_t kFrameBytes = int64_t{kSide} * kSide;

struct HostClock {
    int64_t nowNs = 0;
    DriverHostServices services;
    HostClock() {
        services.now = [](void* self) { return static_cast<HostClock*>(self)->nowNs; };
        services.context = this;
    }
};

QTemporaryDir& Folder() {
    static QTemporaryDir dir;
    return dir;
}

// A camera that holds a recording of 1000 frames, 600 of them before the trigger.
struct Recording {
    HostClock clock;
    CDeviceManager manager;
    CRecordGroup group;
    CSimCamera* camera = nullptr;

    Recording() {
        auto driver =
            std::make_unique<CSimCamera>(&clock.services, 1, 0, false, kFrames * kFrameBytes);
        camera = driver.get();
        camera->SetResolution(kSide, kSide);
        camera->SetRecordRate(1000);
        DriverTriggerSetting setting;
        setting.postTriggerFrames = 400;
        camera->SetTriggerSetting(setting);
        camera->SetMode(kModeArmed);
        clock.nowNs = int64_t{700} * 1000000;
        camera->Trigger();
        clock.nowNs = int64_t{2000} * 1000000;
        auto* device =
            new CDevice(CDeviceDescriptor(CDeviceId(kDeviceTypeCamera, 1, 0)), std::move(driver));
        OpenDevices::Add(device);
        int handle = -1;
        device->GetHandle(&handle);
        group.AddDevice(handle);
    }
};

Recording& TheRecording() {
    static Recording recording;
    return recording;
}

void OursDownload(benchmark::State& state) {
    Recording& recording = TheRecording();
    if (recording.camera->GetMode() != kModeStopped) {
        state.SkipWithError("no recording held");
        return;
    }
    const QString out = Folder().filePath(QStringLiteral("ours"));
    QDir().mkpath(out);
    CAutoDownloadWnd download(&recording.group);
    download.GetOptionStore().m_snapkeepValue.m_dirs = {out};
    download.GetOptionStore().m_snapkeepValue.m_format = QStringLiteral("BMP");
    download.GetOptionStore().m_snapkeepValue.m_baseName = QStringLiteral("bench");
    download.GetOptionStore().m_snapkeepValue.m_rangeOption = 0;
    download.LoadSettings();
    for (auto _ : state) {
        if (download.Download() != S_OK)
            state.SkipWithError("download failed");
    }
    state.SetBytesProcessed(state.iterations() * kFrames * kFrameBytes);
    QDir(out).removeRecursively();
}

void PlainBmp(benchmark::State& state) {
    Recording& recording = TheRecording();
    const QString out = Folder().filePath(QStringLiteral("plain"));
    QDir().mkpath(out);
    std::vector<unsigned char> frame(static_cast<size_t>(kFrameBytes));
    std::vector<unsigned char> file(14 + 40 + 1024 + static_cast<size_t>(kFrameBytes));
    const auto put32 = [&file](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 14 + 40 + 1024);
    put32(14, 40);
    put32(18, kSide);
    put32(22, kSide);
    file[26] = 1;
    file[28] = 8;
    put32(34, static_cast<uint32_t>(kFrameBytes));
    put32(46, 256);
    for (int i = 0; i < 256; ++i)
        put32(54 + 4 * static_cast<size_t>(i), static_cast<uint32_t>(i * 0x010101));
    const std::vector<int64_t>& held = recording.camera->HeldFrames();
    for (auto _ : state) {
        for (int n = 0; n < kFrames; ++n) {
            CSimCamera::RenderFrame(held[static_cast<size_t>(n)], kSide, kSide, kSide, false,
                                    frame.data());
            for (int y = 0; y < kSide; ++y)
                std::memcpy(&file[1078 + static_cast<size_t>(kSide - 1 - y) * kSide],
                            &frame[static_cast<size_t>(y) * kSide], kSide);
            const QByteArray name =
                QFile::encodeName(out + QStringLiteral("/plain_%1.bmp").arg(n, 3, 10, QChar('0')));
            std::FILE* f = std::fopen(name.constData(), "wb");
            if (!f || std::fwrite(file.data(), 1, file.size(), f) != file.size())
                state.SkipWithError("write failed");
            if (f)
                std::fclose(f);
        }
    }
    state.SetBytesProcessed(state.iterations() * kFrames * kFrameBytes);
    QDir(out).removeRecursively();
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CSaveController::Install();
    benchmark::RegisterBenchmark("download/bmp_sequence_1000", OursDownload)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("plain/bmp_fwrite_1000", PlainBmp)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("automatic download of 1000 frames as BMP sequence",
                        "download/bmp_sequence_1000", "plain/bmp_fwrite_1000", 1.5);
    benchmark::Shutdown();
    return 0;
}
