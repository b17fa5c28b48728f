#pragma once

// CCameraSettingsDlg: "Camera Settings" (template 30120): a camera's record rate and resolution
// from the lists the camera offers, its exposure, its trigger and the frames it records after a
// trigger. The values are read from the camera when the dialog opens and given to it on OK; a
// value the camera refuses is named, the camera's own values are shown again and the dialog
// stays open.

#include "devices/DlgOptionsBaseTab_Camera.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/Dialog.h"

#include <utility>
#include <vector>

class CDevice;

class CCameraSettingsDlg : public CDialog {
    DECLARE_DYNAMIC(CCameraSettingsDlg)

public:
    static constexpr UINT kTemplate = 30120;
    enum : int {
        kRate = 1001,
        kResolution = 1002,
        kExposure = 1003,
        kTrigger = 1004,
        kPostTrigger = 1005,
        kMemory = 1006,
    };

    // device must stay open while the dialog runs.
    CCameraSettingsDlg(CDevice& device, CWnd* pParentWnd = nullptr);

    void OnOK() override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // Takes the camera's present values and fills the controls with them.
    void ShowDeviceValues();

    CDevice& m_device;
    CDlgOptionsBaseTab_Camera m_values;
    std::vector<double> m_rates;
    std::vector<std::pair<int, int>> m_sizes;
    CComboBox m_rateList;
    CComboBox m_sizeList;
    CComboBox m_triggerList;
    int m_rateIndex = -1;
    int m_sizeIndex = -1;
    int m_trigger = 0;
    double m_exposureUs = 0.0;
    int m_postTrigger = 0;
};
