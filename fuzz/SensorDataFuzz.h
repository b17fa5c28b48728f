#pragma once

// What the two sensor-data targets share: the bytes are opened as a data file of the given
// extension through CSensorDataSet::Open, and whatever is read must meet the model's invariants,
// hold no more than the file could, and save again.

#include "fuzz/FuzzSupport.h"
#include "sensordata/model/DataInvariants.h"
#include "sensordata/model/SensorDataSet.h"

#include <cstdlib>

inline int FuzzSensorDataFile(const uint8_t* data, size_t size, const QString& extension) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.") + extension);
    CSensorDataSet set;
    if (set.Open(path) == S_OK) {
        const CVidraData& read = *set.GetData();
        if (!MeetsDataInvariants(read))
            std::abort();
        if (read.m_channels.size() * size_t(read.m_nTotalScans) > size)
            std::abort();
        if (set.Save(FuzzFile(nullptr, 0, QStringLiteral("again.mdat"))) != S_OK)
            std::abort();
    }
    return 0;
}
