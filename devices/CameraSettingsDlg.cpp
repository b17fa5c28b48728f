#include "devices/CameraSettingsDlg.h"

#include "devices/core/Device.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"
#include "platform/wintypes/CLocale.h"

#include <QStringList>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CCameraSettingsDlg, CDialog)

namespace {

// The trigger types in the order of the trigger list.
const char* const kTriggerNames[] = {"Software", "DIO Input", "Video Trigger"};
// A second of exposure: no camera of ours exposes longer.
constexpr double kMaxExposureUs = 1e6;

// Index of value in list, appended when the camera's list lacks it.
template <class T>
int IndexIn(std::vector<T>& list, const T& value) {
    const auto found = std::find(list.begin(), list.end(), value);
    if (found != list.end())
        return static_cast<int>(found - list.begin());
    list.push_back(value);
    return static_cast<int>(list.size()) - 1;
}

}  // namespace

CCameraSettingsDlg::CCameraSettingsDlg(CDevice& device, CWnd* pParentWnd)
    : CDialog(kTemplate, pParentWnd), m_device(device) {}

void CCameraSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kRate, m_rateList);
    DDX_Control(pDX, kResolution, m_sizeList);
    DDX_Control(pDX, kTrigger, m_triggerList);
    DDX_CBIndex(pDX, kRate, m_rateIndex);
    DDX_CBIndex(pDX, kResolution, m_sizeIndex);
    DDX_CBIndex(pDX, kTrigger, m_trigger);
    DDX_Text(pDX, kExposure, m_exposureUs);
    DDV_MinMaxDouble(pDX, m_exposureUs, 0.0, kMaxExposureUs);
    DDX_Text(pDX, kPostTrigger, m_postTrigger);
    // No more frames after the trigger than the memory holds: the camera could not arm.
    DDV_MinMaxInt(pDX, m_postTrigger, 0, m_values.m_maxFrames > 0 ? m_values.m_maxFrames : INT_MAX);
}

BOOL CCameraSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const char* name : kTriggerNames)
        m_triggerList.AddString(QString::fromLatin1(name));
    ShowDeviceValues();
    return TRUE;
}

void CCameraSettingsDlg::ShowDeviceValues() {
    m_values.ReadFrom(m_device);
    m_rates.clear();
    m_sizes.clear();
    if (IDriverDevice* driver = m_device.Driver()) {
        driver->GetRateList(&m_rates);
        driver->GetResolutionList(&m_sizes);
    }
    m_rateIndex = IndexIn(m_rates, m_values.m_recordRate);
    m_sizeIndex = IndexIn(m_sizes, std::make_pair(m_values.m_width, m_values.m_height));
    m_rateList.ResetContent();
    for (double rate : m_rates)
        m_rateList.AddString(QFormatC("%g", rate));
    m_sizeList.ResetContent();
    for (const auto& [width, height] : m_sizes)
        m_sizeList.AddString(QFormatC("%d x %d", width, height));
    m_trigger = std::clamp(m_values.m_triggerType, 0, int(std::size(kTriggerNames)) - 1);
    m_exposureUs = static_cast<double>(m_values.m_exposureNs) / 1000.0;
    m_postTrigger = m_values.m_postTriggerFrames;
    SetDlgItemText(kMemory, QFormatC("Frames in memory: %d", m_values.m_maxFrames));
    UpdateData(FALSE);
}

void CCameraSettingsDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    CDlgOptionsBaseTab_Camera wanted;
    wanted.CopyFrom(m_values);
    if (m_rateIndex >= 0)
        wanted.m_recordRate = m_rates[static_cast<size_t>(m_rateIndex)];
    if (m_sizeIndex >= 0) {
        wanted.m_width = m_sizes[static_cast<size_t>(m_sizeIndex)].first;
        wanted.m_height = m_sizes[static_cast<size_t>(m_sizeIndex)].second;
    }
    wanted.m_exposureNs = std::llround(m_exposureUs * 1000.0);
    wanted.m_triggerType = m_trigger;
    wanted.m_postTriggerFrames = m_postTrigger;
    wanted.ApplyTo(m_device);

    CDlgOptionsBaseTab_Camera taken;
    taken.ReadFrom(m_device);
    QStringList refused;
    if (taken.m_recordRate != wanted.m_recordRate)
        refused << QStringLiteral("record rate");
    if (taken.m_width != wanted.m_width || taken.m_height != wanted.m_height)
        refused << QStringLiteral("resolution");
    // Cameras keep exposures to their own step; within a microsecond it is taken.
    if (std::llabs(taken.m_exposureNs - wanted.m_exposureNs) >= 1000)
        refused << QStringLiteral("exposure");
    if (taken.m_triggerType != wanted.m_triggerType ||
        taken.m_postTriggerFrames != wanted.m_postTriggerFrames)
        refused << QStringLiteral("trigger");
    if (!refused.isEmpty()) {
        AfxMessageBox(QStringLiteral("The camera did not take these settings: %1.\nIt keeps the "
                                     "values shown now.")
                          .arg(refused.join(QStringLiteral(", "))),
                      MB_OK | MB_ICONWARNING);
        ShowDeviceValues();
        return;
    }
    EndDialog(IDOK);
}
