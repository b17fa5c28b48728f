#include "frames/SampleRecording.h"

#include "frames/CfgFileInfo.h"
#include "frames/FileNames.h"

#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

void CSampleRecording::DiscCentre(int n, double* x, double* y) {
    // One slow loop of a figure of eight over the whole recording.
    const double t = 2.0 * std::numbers::pi * n / kFrames;
    *x = kWidth / 2.0 + (kWidth / 2.0 - 2.0 * kDiscRadius) * std::sin(t);
    *y = kHeight / 2.0 + (kHeight / 2.0 - 2.0 * kDiscRadius) * std::sin(2.0 * t) / 1.5;
}

int CSampleRecording::Level(int n, int x, int y) {
    double distance = 1e9;  // frame -1: the background alone
    if (n >= 0) {
        double cx = 0, cy = 0;
        DiscCentre(n, &cx, &cy);
        distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
    }
    if (distance <= kDiscRadius)
        return 240;
    // A fixed texture: a soft weave plus a little grain, in the lower half of the levels.
    const unsigned grain =
        (static_cast<unsigned>(x) * 73856093u) ^ (static_cast<unsigned>(y) * 19349663u);
    const double weave = 60.0 + 25.0 * std::sin(x * 0.21) * std::cos(y * 0.17);
    const double edge = distance < kDiscRadius + 2 ? (kDiscRadius + 2 - distance) * 60.0 : 0.0;
    return static_cast<int>(weave + (grain % 17) + edge);
}

bool CSampleRecording::Write(const QString& rawPath) {
    constexpr int kHeaderBytes = 72;
    QByteArray header(kHeaderBytes, '\0');
    const auto put = [&header](int at, int32_t value) {
        for (int i = 0; i < 4; ++i)
            header[at + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
    };
    header.replace(0, 4, "OP05");
    put(8, kFrames);
    put(12, kWidth);
    put(16, kHeight);
    put(20, kFirstFrame);
    put(24, kHeaderBytes);
    put(28, 8);
    put(68, kRate);

    QSaveFile file(rawPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(header) != header.size())
        return false;
    // The texture stays; only the pixels around the disc change from frame to frame.
    std::vector<char> background(static_cast<size_t>(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            background[static_cast<size_t>(y) * kWidth + x] = static_cast<char>(Level(-1, x, y));
    constexpr int kReach = kDiscRadius + 3;
    for (int n = 0; n < kFrames; ++n) {
        std::vector<char> frame = background;
        double cx = 0, cy = 0;
        DiscCentre(n, &cx, &cy);
        for (int y = std::max(0, static_cast<int>(cy) - kReach);
             y < std::min(kHeight, static_cast<int>(cy) + kReach); ++y)
            for (int x = std::max(0, static_cast<int>(cx) - kReach);
                 x < std::min(kWidth, static_cast<int>(cx) + kReach); ++x)
                frame[static_cast<size_t>(y) * kWidth + x] = static_cast<char>(Level(n, x, y));
        if (file.write(frame.data(), static_cast<qint64>(frame.size())) !=
            static_cast<qint64>(frame.size()))
            return false;
    }
    if (!file.commit())
        return false;

    CCfgFileInfo info;
    info.m_rate = kRate;
    info.m_rateHz = kRate;
    info.m_firstFrame = kFirstFrame;
    info.m_exposureNs = 1000000000 / (2 * kRate);
    info.m_hasTimeStamp = 1;
    info.m_year = 2026;
    info.m_month = 1;
    info.m_day = 15;
    info.m_msOfDay = 10 * 3600000 + 30 * 60000;
    info.m_refFrame = kFirstFrame;
    return info.Save(GetConfigStem(rawPath) + ".cfg") == 1;
}
