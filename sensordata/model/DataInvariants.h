#pragma once

// The invariants every CVidraData the program reads must meet, for the readers' fuzz targets
// and tests: as many stored arrays as on channels, every array total-scans long, 64 labels and
// units.

#include "sensordata/model/VidraData.h"

inline bool MeetsDataInvariants(const CVidraData& data) {
    if (static_cast<int>(data.m_channels.size()) != data.GetActiveChannelCount())
        return false;
    if (data.m_nTotalScans < 0 || data.m_labels.size() != CVidraData::kChannelSlots ||
        data.m_units.size() != CVidraData::kChannelSlots)
        return false;
    for (const std::vector<float>& samples : data.m_channels) {
        if (samples.size() != static_cast<size_t>(data.m_nTotalScans))
            return false;
    }
    return true;
}
