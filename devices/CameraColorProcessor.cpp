#include "devices/CameraColorProcessor.h"

#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"

#include <cstring>

namespace {

void ToRows(const DriverColourCoefficients& from, float rows[3][3]) {
    std::memcpy(rows, from.rows, sizeof from.rows);
}

DriverColourCoefficients FromRows(const float rows[3][3]) {
    DriverColourCoefficients to;
    std::memcpy(to.rows, rows, sizeof to.rows);
    return to;
}

}  // namespace

CDevice* CCameraColorProcessor::Device() const {
    return m_link.GetDevice();
}

QString CCameraColorProcessor::GetName() const {
    CDeviceDescriptor descriptor;
    if (CDevice* device = Device())
        device->GetDescriptor(&descriptor);
    return descriptor.m_name;
}

QStringList CCameraColorProcessor::GetPresetNames() const {
    QStringList names;
    if (CDevice* device = Device())
        device->GetColourPresets(&names);
    return names;
}

bool CCameraColorProcessor::GetPreset(int index, float rows[3][3]) const {
    CDevice* device = Device();
    DriverColourCoefficients preset;
    if (!device || device->GetColourPreset(index, &preset) != 0)
        return false;
    ToRows(preset, rows);
    return true;
}

void CCameraColorProcessor::GetCoefficients(float rows[3][3], bool factory) const {
    DriverColourCoefficients coefficients;
    if (CDevice* device = Device()) {
        if (factory)
            device->GetFactoryColourCoefficients(&coefficients);
        else
            device->GetColourCoefficients(&coefficients);
    }
    ToRows(coefficients, rows);
}

void CCameraColorProcessor::SetCoefficients(const float rows[3][3]) {
    if (CDevice* device = Device())
        device->SetColourCoefficients(FromRows(rows));
}

void CCameraColorProcessor::ApplyGains(const float base[3][3], const int gains[3],
                                       float rows[3][3]) {
    CDevice* device = Device();
    DriverColourCoefficients scaled = FromRows(base);
    if (device && device->ApplyColourGains(gains[0], gains[1], gains[2], &scaled) != 0)
        device->GetColourCoefficients(&scaled);
    ToRows(scaled, rows);
}

bool CCameraColorProcessor::Balance(const CRect& region, const float current[3][3], int means[3],
                                    float rows[3][3]) {
    CDevice* device = Device();
    int red = 0;
    int green = 0;
    int blue = 0;
    if (!device || device->BalanceColourRegion(region.left, region.top, region.right, region.bottom,
                                               &red, &green, &blue) != 0)
        return false;
    means[0] = blue;
    means[1] = green;
    means[2] = red;
    DriverColourCoefficients balanced = FromRows(current);
    device->GetColourCoefficients(&balanced);
    ToRows(balanced, rows);
    return true;
}
