// Numbered image sequences as the program opens and reads them, against what it stands on:
// - CFrameSource::Open of a 10 000-file sequence, against listing its folder once (the goal is
//   a fixed time; the listing is shown beside it);
// - CFrameSource::GetFrame frame after frame through a sequence of 640 x 480 8-bit BMP files,
//   against reading the same files' bytes in the same order.

#include "bench/RatioReporter.h"
#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "frames/tests/SequenceFiles.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

constexpr int kOpenFiles = 10000;
constexpr int kReadFiles = 120;

QString Numbered(const QString& folder, const char* stem, int n) {
    return folder + QString("/%1%2.bmp").arg(QLatin1String(stem)).arg(n, 5, 10, QChar('0'));
}

// Writes count copies of one picture, each with its own first pixel.
void WriteSet(const QString& folder, const char* stem, int count, int width, int height) {
    QByteArray bytes = SequenceImageBytes(SequenceImageKind::kBmp8, width, height, 0);
    const int pixels = static_cast<int>(bytes.size()) - width * height;
    for (int n = 1; n <= count; ++n) {
        bytes[pixels] = static_cast<char>(n);
        QFile file(Numbered(folder, stem, n));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
}

struct Folders {
    QTemporaryDir open;
    QTemporaryDir read;
    Folders() {
        WriteSet(open.path(), "take", kOpenFiles, 64, 48);
        WriteSet(read.path(), "shot", kReadFiles, 640, 480);
    }
};

Folders& Data() {
    static Folders folders;
    return folders;
}

void SourceOpen(benchmark::State& state) {
    const QString first = Numbered(Data().open.path(), "take", 1);
    for (auto _ : state) {
        CFrameSource source;
        if (!source.Open(first) || source.GetFrameCount() != kOpenFiles)
            state.SkipWithError("the sequence did not open");
        benchmark::DoNotOptimize(source.GetFrameCount());
    }
}

void ListFolder(benchmark::State& state) {
    for (auto _ : state) {
        int names = 0;
        QDirIterator listing(Data().open.path(), QDir::Files);
        while (listing.hasNext()) {
            listing.next();
            names += !listing.fileName().isEmpty();
        }
        benchmark::DoNotOptimize(names);
    }
}

void SourceGetFrame(benchmark::State& state) {
    CFrameSource source;
    if (!source.Open(Numbered(Data().read.path(), "shot", 1)))
        state.SkipWithError("the sequence did not open");
    CFrameImage image;
    int n = 0;
    for (auto _ : state) {
        if (!source.GetFrame(n, &image, 0))
            state.SkipWithError("a frame did not read");
        n = (n + 1) % kReadFiles;
    }
}

void ReadFileBytes(benchmark::State& state) {
    int n = 0;
    for (auto _ : state) {
        QFile file(Numbered(Data().read.path(), "shot", n + 1));
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("a file did not open");
        benchmark::DoNotOptimize(file.readAll().size());
        n = (n + 1) % kReadFiles;
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Data();
    benchmark::RegisterBenchmark("source/open_sequence_10000", SourceOpen)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("qt/list_folder_10000", ListFolder)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("source/get_frame_sequence", SourceGetFrame)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(kReadFiles);
    benchmark::RegisterBenchmark("qt/read_file_bytes", ReadFileBytes)
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(kReadFiles);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintWithin("CFrameSource::Open, 10 000-file sequence", "source/open_sequence_10000",
                         "qt/list_folder_10000", 500.0);
    reporter.PrintRatio("CFrameSource::GetFrame, BMP sequence", "source/get_frame_sequence",
                        "qt/read_file_bytes", 1.5);
    benchmark::Shutdown();
    return 0;
}
