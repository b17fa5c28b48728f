#pragma once

// CCameraChoicePage: the capture wizard's first page. For Camera 1 and Camera 2 the user picks
// a camera family, scans it and picks a camera; Next opens both cameras and takes their live
// video, which the later pages show and capture.

#include "devices/WizardPage.h"
#include "devices/core/DeviceId.h"
#include "frames/FrameSourcePtr.h"
#include "platform/framework/ComboBox.h"

#include <QStringList>

#include <vector>

class CFrameImage;

class CCameraChoicePage : public CWizardPage {
    DECLARE_DYNAMIC(CCameraChoicePage)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT IDD = 30090;
    enum Control : int {
        kMessage = 2193,
        kFamily1 = 2194,
        kScan1 = 2195,
        kCamera1 = 2196,
        kFamily2 = 2197,
        kScan2 = 2198,
        kCamera2 = 2034,
    };
    static constexpr int kCameras = 2;

    CCameraChoicePage();

    // Checks both choices in order, then opens both cameras; every refusal is told and keeps
    // the page.
    int OnWizardNext() override;
    int OnWizardBack() override { return 0; }
    int UpdateNextButton(CWnd* button) override { return Enable(button); }
    int UpdateBackButton(CWnd* button) override { return Disable(button); }
    int UpdateFinishButton(CWnd* button) override { return Disable(button); }
    int UpdateCancelButton(CWnd* button) override { return Enable(button); }

    // Scans the chosen family of camera 0 or 1 into its camera list.
    void OnScan(int camera);
    // Empties and disables the camera list of camera 0 or 1 after a new family choice.
    void OnFamilyChanged(int camera);

    // The current frame of camera 0 or 1 as opened by Next: TRUE with image filled, FALSE
    // when the camera is not open or gives no frame.
    BOOL GetCameraFrame(int camera, CFrameImage* image);
    // The camera list of camera 0 or 1 in the order of its rows after "< Select Camera >".
    const std::vector<CDeviceId>& GetScannedCameras(int camera) const {
        return m_cameras[camera].devices;
    }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnScan1() { OnScan(0); }
    void OnScan2() { OnScan(1); }
    void OnFamily1Changed() { OnFamilyChanged(0); }
    void OnFamily2Changed() { OnFamilyChanged(1); }

private:
    struct Camera {
        CComboBox family;
        CComboBox camera;
        std::vector<CDeviceId> devices;
        CFrameSourcePtr live;
    };
    // Fills the camera list of camera c with the scanned rows, its selection at row.
    void FillCameras(int c, const QStringList& names, int row);

    Camera m_cameras[kCameras];
    // The families in the order of the family lists' rows after "< Select Camera Family >".
    std::vector<CDeviceId> m_families;
    QStringList m_familyNames;
    // The scanned names of each camera, for refilling a list.
    QStringList m_cameraNames[kCameras];
};
