#pragma once

#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"
#include "testsupport/IsolatedTest.h"

#include <QByteArray>
#include <QFile>

#include <vector>

// The recording most tests use: channels 2 and 5 on, three scans, rate 1000, 10 scans per
// frame, ZP 1, TP 2, factors 2 and 1, offsets 0.5 and 0, "Force" in N and "Accel" in g.
inline void FillTwoChannels(CVidraData& d) {
    d.m_onFlags[2] = 1;
    d.m_onFlags[5] = 1;
    d.m_channels = {{0.5f, 1.25f, -2.0f}, {-1.0f, -3.5e-4f, 12345.678f}};
    d.m_nTotalScans = 3;
    d.m_nScanRate = 1000;
    d.m_nScansPerFrame = 10;
    d.m_nFrameCount = 0;
    d.m_nZP = 1;
    d.m_nTP = 2;
    d.m_factors[2] = 2.0f;
    d.m_offsets[2] = 0.5f;
    d.m_labels[2] = "Force";
    d.m_labels[5] = "Accel";
    d.m_units[2] = "N";
    d.m_units[5] = "g";
}

inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The binary form of a data set, to compare whole states.
inline QByteArray Snapshot(CSensorDataSet& set, const QString& path) {
    EXPECT_EQ(set.Save(path), S_OK);
    return ReadAll(path);
}

inline int32_t Le32At(const QByteArray& b, int at) {
    return int32_t(uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
                   uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24);
}

inline void SetLe32At(QByteArray& b, int at, int32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = char(uint32_t(v) >> (8 * i));
}
