#pragma once

// CDeviceSelectionDlg: the Device Selection dialog. The user picks a hardware family, scans it
// and chooses one of its available devices; the caller reads the chosen CDeviceId.

#include "devices/DeviceScan.h"
#include "devices/core/DeviceId.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/ListBox.h"

#include <functional>
#include <memory>
#include <vector>

inline constexpr UINT IDD_DEVICE_SELECTION = 133;

class CDeviceSelectionDlg : public CDialog {
    DECLARE_DYNAMIC(CDeviceSelectionDlg)
    DECLARE_MESSAGE_MAP()

public:
    enum Control : int {
        kDeviceList = 1001,
        kFamilyList = 1002,
        kButton1 = 1003,
        kScan = 1008,
        kOpenPlayback = 2043,
        kRemember = 2270,
    };
    static constexpr const char* kAttachedSuffix = DeviceScan::kAttachedSuffix;
    static constexpr const char* kNoName = DeviceScan::kNoName;
    // Said whenever a window is refused a device another one has attached.
    static constexpr const char* kDeviceInUse =
        "This device is currently in use.  You cannot select an already attached device.";

    explicit CDeviceSelectionDlg(CWnd* pParentWnd = nullptr);
    ~CDeviceSelectionDlg() override;

    // The kind of device the caller wants (3 camera, 2 data card); kept for the caller only.
    void SetDeviceKind(int kind) { m_deviceKind = kind; }
    int GetDeviceKind() const { return m_deviceKind; }
    void GetDeviceId(CDeviceId* id) const {
        if (id)
            *id = m_chosen;
    }
    int GetSelection() const { return m_chosenRow; }
    int GetOpenPlayback() const { return m_openPlayback; }

    // Scans the selected family for its available devices under a progress dialog that can be
    // cancelled between devices.
    void OnScan();
    // Select: ends with IDOK when an available device row is selected.
    void OnOK() override;
    void OnCancel() override;
    // The dialog's end: IDOK, IDCANCEL, or -1 while it runs.
    int GetResult() const { return m_result; }

    // Called after each scanned device with the progress dialog (tests press Cancel in it).
    using ScanObserver = DeviceScan::Observer;
    static void SetScanObserver(ScanObserver observer);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnCheckClicked();
    void OnButton1() {}

private:
    void ClearDevices();
    void ClearFamilies();

    CListBox m_familyList;
    CListBox m_deviceList;
    std::vector<std::unique_ptr<CDeviceId>> m_familyIds;
    std::vector<std::unique_ptr<CDeviceId>> m_deviceIds;
    std::vector<int> m_rowValues;
    int m_chosenRow = -1;
    CDeviceId m_chosen;
    int m_deviceKind = 0;
    int m_openPlayback = 0;
    int m_remember = 0;
    int m_openPlaybackDefault = 1;
    int m_result = -1;
};
