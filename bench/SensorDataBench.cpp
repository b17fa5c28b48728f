// The sensor-data files against what they stand on: saving and opening 16 channels of
// 1 000 000 scans as a binary data file, against writing and reading the same bytes with
// buffered stdio; and the ".au2" text export against a bare snprintf loop formatting the same
// numbers into memory. Prints our time as a ratio to theirs.

#include "bench/RatioReporter.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kChannels = 16;
constexpr int kScans = 1000000;
constexpr int kTextScans = 100000;

QTemporaryDir& Dir() {
    static QTemporaryDir dir;
    return dir;
}

QString PathOf(const char* name) {
    return Dir().filePath(QString::fromLatin1(name));
}

CSensorDataSet& Set(int scans) {
    static CSensorDataSet* big = nullptr;
    static CSensorDataSet* small = nullptr;
    CSensorDataSet*& set = scans == kScans ? big : small;
    if (!set) {
        set = new CSensorDataSet;
        set->Init(kChannels, scans, 10, 10000.0, 100);
        std::mt19937 random(16);
        std::uniform_real_distribution<float> value(-10.0f, 10.0f);
        for (std::vector<float>& samples : set->GetData()->m_channels)
            for (float& s : samples)
                s = value(random);
        for (int c = 0; c < kChannels; ++c)
            set->GetData()->m_factors[c] = 0.5f + c;
    }
    return *set;
}

void Save(benchmark::State& state) {
    CSensorDataSet& set = Set(kScans);
    for (auto _ : state)
        benchmark::DoNotOptimize(set.Save(PathOf("ours.mdat")));
}

void PlainWrite(benchmark::State& state) {
    const QByteArray path = QFile::encodeName(PathOf("plain.bin"));
    const CVidraData& d = *Set(kScans).GetData();
    for (auto _ : state) {
        std::FILE* f = std::fopen(path.constData(), "wb");
        for (const std::vector<float>& samples : d.m_channels)
            std::fwrite(samples.data(), sizeof(float), samples.size(), f);
        std::fclose(f);
    }
}

void Open(benchmark::State& state) {
    Set(kScans).Save(PathOf("read.mdat"));
    // A play group opens each data file into a new set.
    for (auto _ : state) {
        CSensorDataSet set;
        benchmark::DoNotOptimize(set.Open(PathOf("read.mdat")));
    }
}

void PlainRead(benchmark::State& state) {
    Set(kScans).Save(PathOf("read.mdat"));
    const QByteArray path = QFile::encodeName(PathOf("read.mdat"));
    for (auto _ : state) {
        // Fresh memory each time, as the set that opens the file has.
        std::vector<std::vector<float>> channels(kChannels);
        std::FILE* f = std::fopen(path.constData(), "rb");
        for (std::vector<float>& samples : channels) {
            samples.resize(kScans);
            benchmark::DoNotOptimize(std::fread(samples.data(), sizeof(float), samples.size(), f));
        }
        std::fclose(f);
    }
}

void ExportText(benchmark::State& state) {
    CSensorDataSet& set = Set(kTextScans);
    for (auto _ : state)
        benchmark::DoNotOptimize(set.ExportText(PathOf("ours.au2")));
}

void PlainSnprintf(benchmark::State& state) {
    const CVidraData& d = *Set(kTextScans).GetData();
    std::vector<char> out(size_t(kTextScans) * (kChannels * 14 + 20));
    for (auto _ : state) {
        char* p = out.data();
        for (int s = 0; s < kTextScans; ++s) {
            const int index = s - d.m_nZP;
            p += std::snprintf(p, 32, "%-7d\t%9.7f\t", index, index * (1.0 / d.m_nScanRate));
            for (int k = 0; k < kChannels; ++k)
                p += std::snprintf(
                    p, 24, "%-e\t",
                    d.m_channels[size_t(k)][size_t(s)] * d.m_factors[k] + d.m_offsets[k]);
            *p++ = '\n';
        }
        benchmark::DoNotOptimize(out.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("sensordata/save", Save)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("stdio/fwrite", PlainWrite)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("sensordata/open", Open)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("stdio/fread", PlainRead)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("sensordata/export_au2", ExportText)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("snprintf/loop", PlainSnprintf)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("CSensorDataSet::Save, 16 channels x 1M scans", "sensordata/save",
                        "stdio/fwrite", 1.5);
    reporter.PrintRatio("CSensorDataSet::Open, the same file", "sensordata/open", "stdio/fread",
                        1.5);
    reporter.PrintRatio("text export (.au2), 100k scans", "sensordata/export_au2", "snprintf/loop",
                        1.3);
    benchmark::Shutdown();
    return 0;
}
