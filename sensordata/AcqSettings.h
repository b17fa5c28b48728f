#pragma once

// CAcqSettings: the acquisition settings record of a data device, which the "Data Acquisition
// Settings" dialog edits in place: the device, the channel count n (the record offers the 2n
// channel numbers 0 .. 2n - 1), the connector, the adapter flag and per channel its on flag,
// input mode and limits; and the card's rate limits. Labels, units, factors and offsets are the
// format settings' (CFormatSettingsDlg).
//
// Channels come in blocks of 16: channel c with c mod 16 below 8 is a "low" channel with all
// three input modes, c + 8 its "high" partner, which has no differential mode and is taken
// while its low partner is on in that mode.

#include <array>

class CAcqSettings {
public:
    // Every channel number of the record fits the 64 channels of the data model.
    static constexpr int kMaxChannelNumbers = 64;
    static constexpr int kMaxChannelCount = kMaxChannelNumbers / 2;
    enum InputMode { kDiff = 0, kRse = 1, kNrse = 2 };
    // The connector on which every channel is usable, and the one with only the low channels.
    enum Connector { kLowChannelsOnly = 0, kAllChannels = 1 };

    CAcqSettings();

    // n, kept within 0 .. kMaxChannelCount.
    void SetChannelCount(int n);
    int GetChannelCount() const { return m_nChannels; }
    // 2n: the channel numbers the record offers.
    int ChannelNumbers() const { return 2 * m_nChannels; }
    // The number of on flags equal to 1.
    int ChannelsOn() const;
    // The aggregate maximum divided by the channels on, or the aggregate itself when none is on.
    void UpdateMaxChannelRate();

    static bool IsHighChannel(int channel) { return channel % 16 >= 8; }
    // Whether the connector lets the channel be used.
    static bool IsUsable(int channel, int connector);
    // A high channel whose low partner is on in differential mode.
    bool IsTakenByPartner(int channel) const;

    int m_nDevice = 0;
    int m_nConnector = kAllChannels;
    int m_nAdapter = 0;
    std::array<int, kMaxChannelNumbers> m_on{};
    std::array<int, kMaxChannelNumbers> m_mode{};
    std::array<double, kMaxChannelNumbers> m_lower{};
    std::array<double, kMaxChannelNumbers> m_upper{};
    // The channel each row of the settings dialog's list shows; -1 past the rows.
    std::array<int, kMaxChannelNumbers> m_rowChannel{};
    // Scans per second over all channels together, and per channel.
    int m_nMaxAggregateRate = 0;
    int m_nMaxChannelRate = 0;

private:
    int m_nChannels = 0;
};

// Writes the record under HKEY_LOCAL_MACHINE "Software\Tolvar\Vidra\Acquisition" (nothing reads
// it back): "Device", "DAQ Connector" and "Adapter Flag", then per channel 1 .. n its on flag
// and input mode and its limits as "%.4f". Nothing is written for a record without channels;
// failures are ignored.
void SaveAcquisitionSettings(const CAcqSettings& settings);
