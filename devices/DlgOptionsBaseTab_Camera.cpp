#include "devices/DlgOptionsBaseTab_Camera.h"

#include "platform/framework/Archive.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Camera, CDlgOptionsBaseTab)

CDlgOptionsBaseTab_Camera::CDlgOptionsBaseTab_Camera(CWnd* pParentWnd)
    : CDlgOptionsBaseTab(0, pParentWnd) {}

void CDlgOptionsBaseTab_Camera::CopyFrom(const CDlgOptionsBaseTab& page) {
    const auto* camera = dynamic_cast<const CDlgOptionsBaseTab_Camera*>(&page);
    if (!camera)
        return;
    m_recordRate = camera->m_recordRate;
    m_width = camera->m_width;
    m_height = camera->m_height;
    m_exposureNs = camera->m_exposureNs;
    m_triggerType = camera->m_triggerType;
    m_postTriggerFrames = camera->m_postTriggerFrames;
    m_maxFrames = camera->m_maxFrames;
    m_featureOn = camera->m_featureOn;
}

VARIANT CDlgOptionsBaseTab_Camera::GetValue(const QString&, int) {
    return VARIANT{};
}

BOOL CDlgOptionsBaseTab_Camera::SetValue(const QString&, const VARIANT&, int) {
    return FALSE;
}

void CDlgOptionsBaseTab_Camera::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << kSchema << m_recordRate << m_width << m_height << static_cast<long long>(m_exposureNs)
           << m_triggerType << m_postTriggerFrames << m_maxFrames;
        for (int on : m_featureOn)
            ar << on;
        return;
    }
    int schema = 0;
    ar >> schema;
    if (schema != kSchema)
        return;
    long long exposureNs = 0;
    ar >> m_recordRate >> m_width >> m_height >> exposureNs;
    m_exposureNs = exposureNs;
    ar >> m_triggerType >> m_postTriggerFrames >> m_maxFrames;
    for (int& on : m_featureOn)
        ar >> on;
}

void CDlgOptionsBaseTab_Camera::ReadFrom(const CDevice& device) {
    double rate = 0.0;
    if (device.GetRecordRate(&rate) == 0)
        m_recordRate = rate;
    int width = 0;
    int height = 0;
    if (device.GetResolution(&width, &height) == 0) {
        m_width = width;
        m_height = height;
    }
    if (IDriverDevice* driver = device.Driver()) {
        double seconds = 0.0;
        if (driver->GetExposure(&seconds) == 0 && std::isfinite(seconds))
            m_exposureNs = std::llround(seconds * 1e9);
        DriverTriggerSetting trigger;
        if (driver->GetTriggerSetting(&trigger) == 0) {
            m_triggerType = trigger.type;
            m_postTriggerFrames = trigger.postTriggerFrames;
        }
        int maxFrames = 0;
        if (driver->GetMaxFrames(&maxFrames) == 0)
            m_maxFrames = maxFrames;
    }
    for (int i = 0; i < CDevice::kFeatureCount; ++i)
        device.GetFeatureOn(i, &m_featureOn[static_cast<size_t>(i)]);
}

void CDlgOptionsBaseTab_Camera::ApplyTo(CDevice& device) const {
    if (IDriverDevice* driver = device.Driver()) {
        if (std::isfinite(m_recordRate) && m_recordRate > 0.0)
            driver->SetRecordRate(m_recordRate);
        if (m_exposureNs >= 0)
            driver->SetExposure(static_cast<double>(m_exposureNs) / 1e9);
        DriverTriggerSetting trigger;
        driver->GetTriggerSetting(&trigger);
        trigger.type = m_triggerType;
        trigger.postTriggerFrames = m_postTriggerFrames;
        driver->SetTriggerSetting(trigger);
    }
    for (int i = 0; i < CDevice::kFeatureCount; ++i)
        device.SetFeatureOn(i, m_featureOn[static_cast<size_t>(i)]);
    // After the features: the reduced-live switch decides what a resolution means.
    if (m_width > 0 && m_height > 0)
        device.SetResolution(m_width, m_height);
}
