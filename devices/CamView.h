#pragma once

// CCamView: the view of a camera window. It shows the live video of the device its document
// names, reached only through its device link, and offers the device's commands in its
// context menu.

#include "devices/CXView.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DeviceManager.h"

#include <memory>

class CCamDoc;
class CDevice;
class CMenu;
class IColorAdjustment;

class CCamView : public CCXView {
    DECLARE_DYNCREATE(CCamView)
    DECLARE_MESSAGE_MAP()

public:
    // Sent to the view: it sends its device command 15.
    static constexpr UINT kDeviceCommandMessage = 1376;
    static constexpr int kCommandFromMessage = 15;
    static constexpr int kCommandOnDestroy = 19;
    static constexpr int kCommandRenamed = 22;
    static constexpr int kStandAloneWidth = 680;
    static constexpr int kStandAloneHeight = 560;

    enum Command : UINT {
        kReduceLiveResolution = 32796,
        kForceSoftwareTrigger = 32831,
        kChangeCameraName = 32865,
        kCameraColorAdjustment = 32913,
        kCameraSettings = 32916,
        kCameraInformation = 32956,
        kCameraReset = 32960,
        kCameraSelfTest = 32962,
        kSetActiveArea = 32969,
    };

    CCamView();
    ~CCamView() override;

    CCamDoc* GetCamDocument() const;
    CDeviceLink& GetLink() { return m_link; }
    // The shown device, null once it is gone.
    CDevice* GetDevice() const { return m_link.GetDevice(); }
    // Sends command code for the view's device; the command target's answer.
    int SendDeviceCommand(int code);
    // The device's colour adjustment window once the user opened it; the view keeps it.
    IColorAdjustment* GetColourAdjustment() const { return m_colourDialog.get(); }

    void OnInitialUpdate() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The context menu's items into menu; the sub-menus are built in the ones given, which
    // must live as long as menu.
    void BuildContextMenu(CMenu& menu, CMenu& view, CMenu& cameraView, CMenu& override);

protected:
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnFileClose();
    void OnChangeCameraName();
    void OnReduceLiveResolution();
    void OnUpdateReduceLiveResolution(CCmdUI* pCmdUI);
    void OnForceSoftwareTrigger();
    void OnCameraColorAdjustment();
    void OnUpdateCameraColorAdjustment(CCmdUI* pCmdUI);
    void OnCameraSettings();
    void OnUpdateCameraSettings(CCmdUI* pCmdUI);
    void OnCameraInformation();
    void OnCameraReset();
    void OnCameraSelfTest();
    void OnSetActiveArea();
    void OnUpdateSetActiveArea(CCmdUI* pCmdUI);

private:
    class CCamLink : public CDeviceLink {
    public:
        explicit CCamLink(CCamView& view) : m_view(view) {}
        void OnDeviceClosed() override;
        void OnDeviceRefresh() override;
        void OnDeviceUpdate() override;

    private:
        CCamView& m_view;
    };

    bool FeatureUsable(int index) const;
    // Plays the device's live video through a new frame source.
    void PlayDevice(CDevice& device);
    // Plays the live video again when the device's image size is no longer the one played.
    void FollowDeviceFormat();

    // The link's provider. The application keeps a manager of its own for the whole run, so
    // the last camera window closing does not close the devices with it.
    CDeviceManager m_manager;
    CCamLink m_link;
    std::unique_ptr<IColorAdjustment> m_colourDialog;
};
