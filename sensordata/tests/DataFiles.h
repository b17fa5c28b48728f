#pragma once

// Small sensor-data files for the data windows' tests: channels 0 .. channels-1 on, each sample
// the channel's number times 1000 plus its scan index.

#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"

#include <QString>

struct DataFileSpec {
    int channels = 2;
    int scans = 500;
    int rate = 1000;
    int scansPerFrame = 10;
    int zeroPoint = 0;
    int secondOrigin = 0;
};

// The data set of spec, held by the caller.
inline CSensorDataSet* MakeDataSet(const DataFileSpec& spec) {
    auto* set = new CSensorDataSet;
    set->Init(spec.channels, spec.scans, spec.scansPerFrame, spec.rate, spec.zeroPoint);
    CVidraData& data = *set->GetData();
    data.m_nSecondOrigin = spec.secondOrigin;
    for (int k = 0; k < spec.channels; ++k)
        for (int s = 0; s < spec.scans; ++s)
            data.m_channels[size_t(k)][size_t(s)] = float(k * 1000 + s);
    return set;
}

// Writes the binary data file, or the ".au2" text file when path ends so; true on success.
inline bool WriteSensorFile(const QString& path, const DataFileSpec& spec = {}) {
    CSensorDataSet* set = MakeDataSet(spec);
    const bool text = path.endsWith(QLatin1String(".au2"));
    const bool written = SUCCEEDED(text ? set->ExportText(path) : set->Save(path));
    delete set;
    return written;
}
