#include "sensordata/AcqSettings.h"

#include "platform/wintypes/CLocale.h"
#include "sensordata/SensorRegistry.h"

#include <algorithm>

namespace {

const QString kAcquisitionKey = kSensorBaseKey + QStringLiteral("\\Acquisition");

}  // namespace

CAcqSettings::CAcqSettings() {
    m_mode.fill(kRse);
    m_lower.fill(-10.0);
    m_upper.fill(10.0);
    m_rowChannel.fill(-1);
}

void CAcqSettings::SetChannelCount(int n) {
    m_nChannels = std::clamp(n, 0, kMaxChannelCount);
}

int CAcqSettings::ChannelsOn() const {
    return static_cast<int>(std::count(m_on.begin(), m_on.begin() + ChannelNumbers(), 1));
}

void CAcqSettings::UpdateMaxChannelRate() {
    const int on = ChannelsOn();
    m_nMaxChannelRate = on > 0 ? m_nMaxAggregateRate / on : m_nMaxAggregateRate;
}

bool CAcqSettings::IsUsable(int channel, int connector) {
    return connector == kAllChannels || !IsHighChannel(channel);
}

bool CAcqSettings::IsTakenByPartner(int channel) const {
    if (!IsHighChannel(channel) || channel < 8 || channel >= kMaxChannelNumbers)
        return false;
    const int low = channel - 8;
    return m_on[low] && m_mode[low] == kDiff;
}

void SaveAcquisitionSettings(const CAcqSettings& settings) {
    const int n = settings.GetChannelCount();
    if (n < 1)
        return;
    WithMachineKey(kAcquisitionKey, true, [&](HKEY key) {
        RegSetDword(key, QStringLiteral("Device"), DWORD(settings.m_nDevice));
        RegSetDword(key, QStringLiteral("DAQ Connector"), DWORD(settings.m_nConnector));
        RegSetDword(key, QStringLiteral("Adapter Flag"), DWORD(settings.m_nAdapter));
        return true;
    });
    const auto perChannel = [&](const char* name, const auto& set) {
        WithMachineKey(kAcquisitionKey + QStringLiteral("\\") + QLatin1String(name), true,
                       [&](HKEY key) {
                           for (int c = 0; c < n; ++c)
                               set(key, c);
                           return true;
                       });
    };
    perChannel("ChannelOn", [&](HKEY key, int c) {
        RegSetDword(key, ChannelValueName(c), DWORD(settings.m_on[c]));
    });
    perChannel("Input Mode", [&](HKEY key, int c) {
        RegSetDword(key, ChannelValueName(c), DWORD(settings.m_mode[c]));
    });
    perChannel("Lower Limit", [&](HKEY key, int c) {
        RegSetString(key, ChannelValueName(c), QFormatC("%.4f", settings.m_lower[c]));
    });
    perChannel("Upper Limit", [&](HKEY key, int c) {
        RegSetString(key, ChannelValueName(c), QFormatC("%.4f", settings.m_upper[c]));
    });
}
