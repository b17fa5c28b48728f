#include "devices/CameraChoicePage.h"

#include "devices/DeviceScan.h"
#include "devices/core/DriverLoader.h"
#include "devices/sources/DeviceFrameSources.h"
#include "frames/FrameImage.h"
#include "platform/com/ComVariant.h"
#include "platform/com/ISettingsStore.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/WinApp.h"
#include "shell/DlgOptionsBaseTab_Cameras.h"

IMPLEMENT_DYNAMIC(CCameraChoicePage, CWizardPage)

// clang-format off
BEGIN_MESSAGE_MAP(CCameraChoicePage, CWizardPage)
    ON_BN_CLICKED(CCameraChoicePage::kScan1, OnScan1)
    ON_BN_CLICKED(CCameraChoicePage::kScan2, OnScan2)
    ON_CBN_SELCHANGE(CCameraChoicePage::kFamily1, OnFamily1Changed)
    ON_CBN_SELCHANGE(CCameraChoicePage::kFamily2, OnFamily2Changed)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr const char* kIntroduction =
    "This wizard will guide you through the process of acquiring calibration and measurement "
    "images for use in the 3-D Manager of Trakora.\r\n\r\nThe first step requires opening of two "
    "cameras.  Select two cameras to open below.";
constexpr const char* kSelectFamily = "< Select Camera Family >";
constexpr const char* kSelectCamera = "< Select Camera >";

QString Text(const char* text) {
    return QString::fromLatin1(text);
}

}  // namespace

CCameraChoicePage::CCameraChoicePage() : CWizardPage(IDD) {}

void CCameraChoicePage::DoDataExchange(CDataExchange* pDX) {
    CWizardPage::DoDataExchange(pDX);
    DDX_Control(pDX, kFamily1, m_cameras[0].family);
    DDX_Control(pDX, kCamera1, m_cameras[0].camera);
    DDX_Control(pDX, kFamily2, m_cameras[1].family);
    DDX_Control(pDX, kCamera2, m_cameras[1].camera);
}

BOOL CCameraChoicePage::OnInitDialog() {
    CWizardPage::OnInitDialog();
    WrapText(kMessage);
    SetDlgItemText(kMessage, Text(kIntroduction));
    for (Camera& camera : m_cameras) {
        camera.camera.EnableWindow(FALSE);
        camera.camera.ResetContent();
        camera.devices.clear();
    }
    m_families.clear();
    m_familyNames.clear();
    // The per-family switches of the settings are asked for; every family of the drivers is
    // offered whatever they say.
    if (auto* store = dynamic_cast<ISettingsStore*>(AfxGetMainWnd())) {
        for (const char* key : CDlgOptionsBaseTab_Cameras::kFamilyCheckKeys) {
            CComVariant answer;
            store->GetSetting(Text(key), &answer, -1);
        }
    }
    for (const DriverFamilyInfo& family : DriverLoader::ListFamilies()) {
        if (family.type != kDeviceTypeCamera)
            continue;
        m_families.emplace_back(family.type, family.subtype, -1);
        m_familyNames << family.name;
    }
    for (Camera& camera : m_cameras) {
        camera.family.ResetContent();
        camera.family.AddString(Text(kSelectFamily));
        for (const QString& name : m_familyNames)
            camera.family.AddString(name);
        camera.family.SetCurSel(0);
    }
    return TRUE;
}

void CCameraChoicePage::OnFamilyChanged(int c) {
    Camera& camera = m_cameras[c];
    camera.camera.ResetContent();
    camera.camera.EnableWindow(FALSE);
    camera.devices.clear();
    m_cameraNames[c].clear();
}

void CCameraChoicePage::FillCameras(int c, const QStringList& names, int row) {
    CComboBox& list = m_cameras[c].camera;
    list.ResetContent();
    list.AddString(Text(kSelectCamera));
    for (const QString& name : names)
        list.AddString(name);
    list.SetCurSel(row >= 0 && row < list.GetCount() ? row : 0);
    list.EnableWindow(TRUE);
}

void CCameraChoicePage::OnScan(int c) {
    Camera& camera = m_cameras[c];
    const int familyRow = camera.family.GetCurSel();
    if (familyRow <= 0 || familyRow > static_cast<int>(m_families.size())) {
        Message(QStringLiteral("Please select a camera family."), MB_OK | MB_ICONINFORMATION);
        return;
    }
    camera.devices.clear();
    m_cameraNames[c].clear();
    for (const ScannedDevice& device :
         DeviceScan::ScanFamily(m_families[static_cast<size_t>(familyRow - 1)])) {
        camera.devices.push_back(device.id);
        m_cameraNames[c] << device.text.trimmed();
    }
    if (camera.devices.empty()) {
        camera.camera.ResetContent();
        camera.camera.EnableWindow(FALSE);
        Message(QStringLiteral("No cameras found of that family."), MB_OK | MB_ICONINFORMATION);
        return;
    }
    FillCameras(c, m_cameraNames[c], 0);
    // The other camera chooses from the same family's list, keeping its choice.
    const int other = 1 - c;
    if (m_cameras[other].family.GetCurSel() == familyRow) {
        m_cameras[other].devices = camera.devices;
        m_cameraNames[other] = m_cameraNames[c];
        FillCameras(other, m_cameraNames[other], m_cameras[other].camera.GetCurSel());
    }
}

int CCameraChoicePage::OnWizardNext() {
    for (int c = 0; c < kCameras; ++c) {
        const QString number = QString::number(c + 1);
        if (m_cameras[c].family.GetCurSel() <= 0) {
            Message(QStringLiteral("Please select a camera family for Camera %1.").arg(number),
                    MB_OK | MB_ICONINFORMATION);
            return 0;
        }
        const int row = m_cameras[c].camera.GetCurSel();
        if (row <= 0 || row > static_cast<int>(m_cameras[c].devices.size())) {
            Message(QStringLiteral("Please select an available camera for Camera %1.").arg(number),
                    MB_OK | MB_ICONINFORMATION);
            return 0;
        }
    }
    if (m_cameras[0].family.GetCurSel() == m_cameras[1].family.GetCurSel() &&
        m_cameras[0].camera.GetCurSel() == m_cameras[1].camera.GetCurSel()) {
        Message(QStringLiteral("You have selected the same camera for Camera 1 and Camera 2.\nYou "
                               "must select different cameras for Camera 1 and Camera 2."),
                MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    for (int c = 0; c < kCameras; ++c) {
        Camera& camera = m_cameras[c];
        const CDeviceId& id = camera.devices[static_cast<size_t>(camera.camera.GetCurSel() - 1)];
        camera.live = DeviceFrameSources::OpenLiveVideo(DriverLoader::OpenById(id));
        if (camera.live.IsEmpty()) {
            Message(QStringLiteral("Unable to open Camera %1.").arg(c + 1), MB_OK | MB_ICONSTOP);
            return 0;
        }
    }
    return 1;
}

BOOL CCameraChoicePage::GetCameraFrame(int c, CFrameImage* image) {
    if (c < 0 || c >= kCameras || !image)
        return FALSE;
    const CFrameSourcePtr& live = m_cameras[c].live;
    // The live video's one frame is read again: it is the picture due now.
    if (live.IsEmpty() || !live->MoveToFrame(0, 0, 1))
        return FALSE;
    return live->CopyFrameImage(0, image) ? TRUE : FALSE;
}
