// Sectioned files against plain buffered I/O of the same bytes, and the marker search.

#include "tracking/records/TrackPoint.h"
#include "tracking/records/TrackRegion.h"
#include "tracking/sectioned/CheckedFile.h"
#include "tracking/sectioned/SectionedList.h"
#include "tracking/sectioned/StoredString.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int kFeatures = 10;
constexpr int kFrames = 100000;

template <class Item>
CSectionedList<Item> TrackedList(const char* name, Item (*make)(int, int)) {
    CSectionedList<Item> list;
    list.SetName(name);
    list.SetHeaderValue(0);
    list.Init(1, kFrames, kFeatures, Item{});
    for (int i = 0; i < kFeatures; ++i)
        for (int f = 0; f < kFrames; ++f)
            list.SetItem(f, i, make(f, i));
    return list;
}

CTrackPoint MakePoint(int f, int i) {
    CTrackPoint p;
    p.SetPosition(f + 1, i + 1);
    p.SetWord1(2);
    return p;
}

CTrackRegion MakeRegion(int f, int i) {
    CTrackRegion r;
    r.SetRect(f, i, f + 20, i + 20);
    r.SetValue7(2);
    return r;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The same records as plain buffered stdio writes and reads: index words, then the image.
double PlainRoundTrip(const QByteArray& path, int64_t records, int recordBytes) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<char> record(static_cast<size_t>(recordBytes + 8), 'r');
    FILE* out = std::fopen(path.constData(), "wb");
    for (int64_t n = 0; n < records; ++n)
        std::fwrite(record.data(), 1, record.size(), out);
    std::fclose(out);
    FILE* in = std::fopen(path.constData(), "rb");
    for (int64_t n = 0; n < records; ++n)
        benchmark::DoNotOptimize(std::fread(record.data(), 1, record.size(), in));
    std::fclose(in);
    return Seconds(start);
}

void BM_TrackingFileVsPlainIO(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tracking.bin");
    const auto fc = TrackedList<CTrackPoint>("FC", MakePoint);
    const auto fr = TrackedList<CTrackRegion>("FR", MakeRegion);
    double sectioned = 0;
    double plain = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        {
            CFile f(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
            fc.WriteToFile(f, 0, kFrames - 1, 0);
            fr.WriteToFile(f, 0, kFrames - 1, 0);
            f.Close();
        }
        CCheckedFile f;
        f.Open(path, CFile::modeRead | CFile::typeBinary);
        CSectionedList<CTrackPoint> fcBack;
        fcBack.SetName("FC");
        CSectionedList<CTrackRegion> frBack;
        frBack.SetName("FR");
        benchmark::DoNotOptimize(fcBack.ReadFromFile(f));
        benchmark::DoNotOptimize(frBack.ReadFromFile(f));
        f.Close();
        sectioned += Seconds(start);

        const QByteArray plainPath = QFile::encodeName(dir.filePath("plain.bin"));
        plain += PlainRoundTrip(plainPath, int64_t{kFeatures} * kFrames, CTrackPoint::kRecordSize) +
                 PlainRoundTrip(plainPath, int64_t{kFeatures} * kFrames, CTrackRegion::kRecordSize);
    }
    state.counters["sectioned_s"] = benchmark::Counter(sectioned / state.iterations());
    state.counters["plain_s"] = benchmark::Counter(plain / state.iterations());
    state.counters["ratio"] = benchmark::Counter(plain > 0 ? sectioned / plain : 0);
}
BENCHMARK(BM_TrackingFileVsPlainIO)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MarkerSearch50MB(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("big.bin");
    {
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        const QByteArray block(1 << 20, 'x');
        for (int i = 0; i < 50; ++i)
            out.write(block);
        out.write(QByteArray("!SECTION=FO!", 13));
    }
    CCheckedFile f;
    f.Open(path, CFile::modeRead | CFile::typeBinary);
    for (auto _ : state) {
        int64_t offset = 0;
        benchmark::DoNotOptimize(FindBinaryStoredStringInFile(f, "!SECTION=FO!", &offset));
    }
}
BENCHMARK(BM_MarkerSearch50MB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
