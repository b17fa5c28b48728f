#pragma once

// CDataSensorView: the view of a live sensor window of the first family: the live data of a
// data card, drawn in the data display of its sensor panel with the card's own format
// settings while the card acquires. It holds the card through a device link (never a
// pointer); while it is active the card is the current data device. Its context menu renames
// the device, shows its information and its test-trigger window.

#include "devices/core/DeviceLink.h"
#include "devices/core/DeviceManager.h"
#include "sensordata/SensorPanelHost.h"
#include "views/MView.h"

class CDataAcqWnd;
class CDataSensorDoc;
class CDevice;
class CMenu;

class CDataSensorView : public CMView {
    DECLARE_DYNCREATE(CDataSensorView)
    DECLARE_MESSAGE_MAP()

public:
    // Commands of the context menu.
    static constexpr UINT kChangeDeviceName = 32865;
    static constexpr UINT kShowTestTrigger = 32955;
    static constexpr UINT kDeviceInformation = 32956;

    CDataSensorView();
    ~CDataSensorView() override;

    CDataSensorDoc* GetSensorDocument() const;
    // The data device the view's link holds, or null.
    CDevice* GetDevice() const;
    CDeviceLink& GetLink() { return m_link; }
    CSensorPanelHost& GetPanelHost() { return m_panelHost; }
    // "Change Device Name", "Device Information", "Show Test Trigger Dialog", in that order.
    static void BuildContextMenu(CMenu& menu);

    // Opens the document's device, binds the settings to it, builds the panel with the data
    // display that the card draws its live data in, and starts the card's acquisition.
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    // The card becomes the current data device (its linked data device when it has one); -1
    // when the view is deactivated.
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void OnContextMenu(CWnd* pWnd, CPoint point);
    // Asks "Please enter the device name." in a box titled "Device Name".
    void OnChangeDeviceName();
    void OnDeviceInformation();
    void OnShowTestTrigger();

private:
    class CSensorLink : public CDeviceLink {
    public:
        explicit CSensorLink(CDataSensorView& view) : m_view(view) {}
        void OnDeviceClosed() override;
        void OnDeviceUpdate() override;

    private:
        CDataSensorView& m_view;
    };
    // The panel's data and settings are the card's.
    class LiveSource;

    CDataAcqWnd* GetCard() const;
    // The card draws in its own window's display again when it drew in this view's.
    void ReleaseCardDisplay();

    // The link's provider. The application keeps a manager of its own for the whole run, so
    // the last window of a device closing does not close the device with it.
    CDeviceManager m_manager;
    CSensorLink m_link;
    CSensorPanelHost m_panelHost;
};
