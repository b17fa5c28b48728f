#pragma once

// CCameraColorProcessor: a live camera's colour processor as the colour adjustment window drives
// it. It reaches the camera through the camera window's link on every call, so a camera that
// has gone does nothing.

#include "views/IBayerColorProcessor.h"

class CDevice;
class CDeviceLink;

class CCameraColorProcessor : public IBayerColorProcessor {
public:
    // The link stays the caller's and must outlive the processor.
    explicit CCameraColorProcessor(const CDeviceLink& link) : m_link(link) {}

    QString GetName() const override;
    QStringList GetPresetNames() const override;
    bool GetPreset(int index, float rows[3][3]) const override;
    void GetCoefficients(float rows[3][3], bool factory) const override;
    void SetCoefficients(const float rows[3][3]) override;
    // The camera keeps the rows last set itself; base is not needed.
    void ApplyGains(const float base[3][3], const int gains[3], float rows[3][3]) override;
    bool Balance(const CRect& region, const float current[3][3], int means[3],
                 float rows[3][3]) override;
    // A camera shows its colour image only.
    bool CanShowMosaic() const override { return false; }
    bool IsShowingColor() const override { return true; }
    void ShowColor(bool) override {}

private:
    CDevice* Device() const;

    const CDeviceLink& m_link;
};
