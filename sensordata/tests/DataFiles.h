#pragma once

// Small sensor-data files for the data windows' tests: channels 0 .. channels-1 on, each sample
// the channel's number times 1000 plus its scan index.

#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"

#include <QString>

struct DataFileShape {
    int channels = 2;
    int scans = 500;
    int rate = 1000;
    int scansPerFrame = 10;
    int zeroPoint = 0;
    int secondOrigin = 0;
};

// The data set of shape, held by the caller.
inline CSensorDataSet* MakeDataSet(const DataFileShape& shape) {
    auto* set = new CSensorDataSet;
    set->Init(shape.channels, shape.scans, shape.scansPerFrame, shape.rate, shape.zeroPoint);
    CVidraData& data = *set->GetData();
    data.m_nSecondOrigin = shape.secondOrigin;
    for (int k = 0; k < shape.channels; ++k)
        for (int s = 0; s < shape.scans; ++s)
            data.m_channels[size_t(k)][size_t(s)] = float(k * 1000 + s);
    return set;
}

// Writes the binary data file, or the ".au2" text file when path ends so; true on success.
inline bool WriteSensorFile(const QString& path, const DataFileShape& shape = {}) {
    CSensorDataSet* set = MakeDataSet(shape);
    const bool text = path.endsWith(QLatin1String(".au2"));
    const bool written = SUCCEEDED(text ? set->ExportText(path) : set->Save(path));
    delete set;
    return written;
}
