#pragma once

// CDlgOptionsBaseTab_Camera: the "Camera" page of a device settings sheet: record rate,
// resolution, exposure, trigger, frame limit and the on-state of every device feature. Kept in
// the sheet's option file only; it answers no named key.

#include "devices/core/Device.h"
#include "shell/DlgOptionsBaseTab.h"

#include <array>
#include <cstdint>

class CDlgOptionsBaseTab_Camera : public CDlgOptionsBaseTab {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Camera)

public:
    static constexpr int kSchema = 1;

    explicit CDlgOptionsBaseTab_Camera(CWnd* pParentWnd = nullptr);

    void LoadFromRegistry() override {}
    void SaveToRegistry() override {}
    void CopyFrom(const CDlgOptionsBaseTab& page) override;
    VARIANT GetValue(const QString& key, int index) override;
    BOOL SetValue(const QString& key, const VARIANT& value, int index) override;
    // The schema, rate (double), width, height, exposure in ns (64 bits), trigger type,
    // post-trigger count, maximum frames, then the feature flags. Loading stops at a schema it
    // does not know.
    void Serialize(CArchive& ar) override;

    // Takes the values from the device; a value the device cannot give stays as it is.
    void ReadFrom(const CDevice& device);
    // Gives the device the values it can take; values no camera could have (a rate or size not
    // above 0, a negative exposure) are not offered.
    void ApplyTo(CDevice& device) const;

    double m_recordRate = 0.0;
    int m_width = 0;
    int m_height = 0;
    int64_t m_exposureNs = 0;
    int m_triggerType = 0;
    int m_postTriggerFrames = 0;
    int m_maxFrames = 0;
    std::array<int, CDevice::kFeatureCount> m_featureOn{};
};
