#pragma once

// CDlgOptionsBaseTab_Acquisition: the "Acquisition" page of a device settings sheet: a data
// card's acquisition settings record (device, channel count n, connector, adapter flag, and
// per channel number 0 .. 2n - 1 its on flag, input mode and limits). Kept in the sheet's
// option file only; it answers no named key. A camera's sheet keeps an empty record.

#include "sensordata/AcqSettings.h"
#include "shell/DlgOptionsBaseTab.h"

class CDevice;

class CDlgOptionsBaseTab_Acquisition : public CDlgOptionsBaseTab {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Acquisition)

public:
    static constexpr int kSchema = 1;

    explicit CDlgOptionsBaseTab_Acquisition(CWnd* pParentWnd = nullptr);

    void LoadFromRegistry() override {}
    void SaveToRegistry() override {}
    void CopyFrom(const CDlgOptionsBaseTab& page) override;
    VARIANT GetValue(const QString& key, int index) override;
    BOOL SetValue(const QString& key, const VARIANT& value, int index) override;
    // The schema, device, n, connector and adapter flag, then 2n times on flag, input mode,
    // lower and upper limit. Loading stops at a schema it does not know and at a channel count
    // no record can hold (0 .. 32), keeping the fields from there on.
    void Serialize(CArchive& ar) override;

    // Takes the record of a data card; other devices leave the page as it is.
    void ReadFrom(const CDevice& device);
    // Gives a data card the record and applies the card's parameters again.
    void ApplyTo(CDevice& device) const;

    CAcqSettings m_settings;
};
