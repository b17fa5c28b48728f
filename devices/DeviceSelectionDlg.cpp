#include "devices/DeviceSelectionDlg.h"

#include "devices/DeviceScan.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "platform/com/ComVariant.h"
#include "platform/com/ISettingsStore.h"
#include "platform/framework/Button.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/WinApp.h"
#include "shell/DlgOptionsBaseTab_Cameras.h"

IMPLEMENT_DYNAMIC(CDeviceSelectionDlg, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CDeviceSelectionDlg, CDialog)
    ON_BN_CLICKED(CDeviceSelectionDlg::kScan, OnScan)
    ON_LBN_DBLCLK(CDeviceSelectionDlg::kFamilyList, OnScan)
    ON_LBN_DBLCLK(CDeviceSelectionDlg::kDeviceList, OnOK)
    ON_BN_CLICKED(CDeviceSelectionDlg::kOpenPlayback, OnCheckClicked)
    ON_BN_CLICKED(CDeviceSelectionDlg::kRemember, OnCheckClicked)
    ON_BN_CLICKED(CDeviceSelectionDlg::kButton1, OnButton1)
END_MESSAGE_MAP()
// clang-format on

namespace {

// Per-family switches of the settings; the program's own drivers are listed whatever they say.
constexpr auto& kFamilyCheckKeys = CDlgOptionsBaseTab_Cameras::kFamilyCheckKeys;
constexpr const char* kOpenPlaybackKey = CDlgOptionsBaseTab_Cameras::kOpenPlaybackKey;

CDeviceSelectionDlg::ScanObserver& Observer() {
    static CDeviceSelectionDlg::ScanObserver observer;
    return observer;
}

ISettingsStore* Store() {
    return dynamic_cast<ISettingsStore*>(AfxGetMainWnd());
}

void Inform(const char* text, UINT icon) {
    AfxMessageBox(QString::fromLatin1(text), MB_OK | icon);
}

}  // namespace

CDeviceSelectionDlg::CDeviceSelectionDlg(CWnd* pParentWnd)
    : CDialog(IDD_DEVICE_SELECTION, pParentWnd) {}

CDeviceSelectionDlg::~CDeviceSelectionDlg() = default;

void CDeviceSelectionDlg::SetScanObserver(ScanObserver observer) {
    Observer() = std::move(observer);
}

void CDeviceSelectionDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kFamilyList, m_familyList);
    DDX_Control(pDX, kDeviceList, m_deviceList);
    DDX_Check(pDX, kOpenPlayback, m_openPlayback);
    DDX_Check(pDX, kRemember, m_remember);
}

BOOL CDeviceSelectionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (ISettingsStore* store = Store()) {
        for (const char* key : kFamilyCheckKeys) {
            CComVariant answer;
            store->GetSetting(QString::fromLatin1(key), &answer, -1);
        }
        CComVariant openPlayback;
        store->GetSetting(QString::fromLatin1(kOpenPlaybackKey), &openPlayback, -1);
        if (openPlayback.vt != VT_EMPTY && openPlayback.ChangeType(VT_I4) == S_OK)
            m_openPlaybackDefault = openPlayback.lVal;
    }
    ClearFamilies();
    for (const DriverFamilyInfo& family : DriverLoader::ListFamilies()) {
        const int row = m_familyList.AddString(family.name);
        m_familyIds.push_back(std::make_unique<CDeviceId>(family.type, family.subtype, -1));
        m_familyList.SetItemData(row, reinterpret_cast<uintptr_t>(m_familyIds.back().get()));
    }
    if (m_familyList.GetCount() > 0)
        m_familyList.SetCurSel(0);
    return TRUE;
}

void CDeviceSelectionDlg::ClearFamilies() {
    if (m_familyList.GetSafeHwnd())
        m_familyList.ResetContent();
    m_familyIds.clear();
}

void CDeviceSelectionDlg::ClearDevices() {
    if (m_deviceList.GetSafeHwnd())
        m_deviceList.ResetContent();
    m_deviceIds.clear();
    m_rowValues.clear();
}

void CDeviceSelectionDlg::OnCheckClicked() {
    UpdateData(TRUE);
}

void CDeviceSelectionDlg::OnScan() {
    ClearDevices();
    const int familyRow = m_familyList.GetCurSel();
    if (familyRow < 0) {
        // Without a driver no family is listed, and so no device can be found.
        if (m_familyList.GetCount() == 0)
            Inform("No available devices found.", MB_ICONINFORMATION);
        return;
    }
    const auto* family = reinterpret_cast<const CDeviceId*>(m_familyList.GetItemData(familyRow));
    for (const ScannedDevice& device : DeviceScan::ScanFamily(*family, Observer())) {
        const int row = m_deviceList.AddString(device.text);
        m_rowValues.push_back(-1);
        m_deviceIds.push_back(std::make_unique<CDeviceId>(device.id));
        m_deviceList.SetItemData(row, reinterpret_cast<uintptr_t>(m_deviceIds.back().get()));
    }
    if (m_deviceList.GetCount() == 0) {
        Inform("No available devices found.", MB_ICONINFORMATION);
        return;
    }
    const bool playbackFamily = family->m_subtype == 19 || family->m_subtype == 21;
    if (playbackFamily) {
        m_openPlayback = m_openPlaybackDefault;
    } else {
        m_openPlayback = 0;
        m_remember = 0;
    }
    for (int id : {kOpenPlayback, kRemember})
        if (CWnd* check = GetDlgItem(id))
            check->EnableWindow(playbackFamily);
    UpdateData(FALSE);
}

void CDeviceSelectionDlg::OnOK() {
    m_chosenRow = -1;
    const int row = m_deviceList.GetCurSel();
    if (row < 0) {
        Inform("You must select a hardware family and available device before proceeding.",
               MB_ICONINFORMATION);
        return;
    }
    m_chosenRow = m_rowValues[static_cast<size_t>(row)];
    m_chosen = *reinterpret_cast<const CDeviceId*>(m_deviceList.GetItemData(row));
    if (OpenDevices::GetOwnerFlagById(m_chosen) > 0) {
        Inform(kDeviceInUse, MB_ICONWARNING);
        return;
    }
    UpdateData(TRUE);
    ClearDevices();
    ClearFamilies();
    if (m_remember)
        if (ISettingsStore* store = Store())
            store->SetSetting(QString::fromLatin1(kOpenPlaybackKey),
                              CComVariant(LONG(m_openPlayback)), -1);
    m_result = IDOK;
    EndDialog(IDOK);
}

void CDeviceSelectionDlg::OnCancel() {
    ClearDevices();
    ClearFamilies();
    m_result = IDCANCEL;
    EndDialog(IDCANCEL);
}
