#include "devices/sources/DeviceDataSets.h"

#include "devices/core/Device.h"
#include "sensordata/model/VidraData.h"

#include <algorithm>
#include <vector>

namespace DeviceDataSets {

CSharedRef<CSensorDataSet> CopyMemory(CDevice* device) {
    int type = 0;
    if (!device || device->GetType(&type) != 0 || type != kDeviceTypeDataCard)
        return CSharedRef<CSensorDataSet>();
    IDriverDevice* driver = device->Driver();
    int channels = 0;
    int scans = 0;
    double rate = 0;
    if (!driver || driver->GetMode() != kModeStopped || driver->GetChannelCount(&channels) != 0 ||
        driver->GetRecordedFrames(&scans) != 0 || driver->GetRecordRate(&rate) != 0 ||
        channels < 1 || scans < 1)
        return CSharedRef<CSensorDataSet>();
    int triggerIndex = -1;
    if (driver->GetTriggerIndex(&triggerIndex) != 0 || triggerIndex < 0)
        triggerIndex = 0;
    const int kept = std::min(channels, CVidraData::kChannelSlots);
    CSharedRef<CSensorDataSet> set(new CSensorDataSet);
    set->Init(kept, scans, 1, rate, triggerIndex);
    CVidraData& data = *set->GetData();
    // In blocks, so that a long recording never needs all its (time, volts) pairs at once.
    constexpr int kBlockScans = 1 << 14;
    std::vector<double> values;
    for (int first = 0; first < scans; first += kBlockScans) {
        const int count = std::min(kBlockScans, scans - first);
        if (driver->ReadSamples(first, count, &values) != 0 ||
            values.size() != static_cast<size_t>(count) * channels * 2)
            return CSharedRef<CSensorDataSet>();
        for (int c = 0; c < kept; ++c) {
            std::vector<float>& samples = data.m_channels[static_cast<size_t>(c)];
            for (int i = 0; i < count; ++i)
                samples[static_cast<size_t>(first + i)] =
                    static_cast<float>(values[(static_cast<size_t>(i) * channels + c) * 2 + 1]);
        }
    }
    return set;
}

}  // namespace DeviceDataSets
