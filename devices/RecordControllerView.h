#pragma once

// CRecordControllerView: the client area of a record controller. It hosts the embedded camera
// and data windows of the controller's devices, arranges them, refuses to let one close while
// its device still plays from memory or while the group records, carries the commands that
// add devices, and polls the group so that the end of a recording is noticed.

#include "devices/core/IRecordGroupOwner.h"
#include "groups/FrameParentingView.h"
#include "groups/IProjectRecordState.h"

class CCmdUI;
class CMenu;
class CDevice;
class CRecordControllerDoc;
class CRecordGroup;

class CRecordControllerView : public CFrameParentingView,
                              public IProjectRecordState,
                              public IRecordGroupOwner {
    DECLARE_DYNCREATE(CRecordControllerView)
    DECLARE_MESSAGE_MAP()

public:
    enum Command : UINT {
        kAddDevice = 32801,
        kOpenCamera = 32815,
        kOpenDataCard = 32816,
        kOneStepSaveOptions = 32860,
        kArrangeWindows = 32891,
        kAutoArrangeWindows = 32892,
        kArrangeIfAuto = 32952,
        // Two rows of 16 buttons for the same 16 open devices.
        kQuickDeviceFirst = 1125,
        kQuickDeviceSecondRow = 1141,
        kQuickDeviceLast = 1156,
        // A window of the program's first document kind, embedded here.
        kNewEmbeddedWindow = 1225,
        // The device windows refreshed, then a plain panel window over the upper-left quarter.
        kNewPanelWindow = 1226,
        kNoAction = 1228,
    };
    // The private poll message and the timer that sends it.
    static constexpr UINT kPollMessage = 0x638;
    static constexpr UINT_PTR kPollTimer = 0x638;
    static constexpr UINT kPollMs = 100;

    CRecordControllerView();
    ~CRecordControllerView() override;

    CRecordControllerDoc* GetControllerDocument() const;
    CRecordGroup* GetRecordGroup() const;

    // Once: becomes the group's owner, reloads the document's device set and starts polling
    // the group.
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    // The open device at the quick-toolbar id's index: id - 1125, or id - 1141 in the second
    // row; -1 outside the buttons.
    static int QuickDeviceIndex(UINT nID);

    // Asked by an embedded frame before it closes: 0 refuses (the user was told why).
    virtual BOOL CanCloseChildFrame(CWnd* pFrame);
    // The base activation, then the control panel shows the pages of the activated device.
    virtual LRESULT OnChildFrameActivated(CWnd* pFrame, LPARAM lParam);
    LRESULT OnChildFrameClose(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnChildFrameActivate(WPARAM wParam, LPARAM lParam) override;

    // The embedded window of the device with that handle whose view is of kind (3 camera,
    // 2 data sensor); the top-most match, or null.
    CView* FindDeviceWindow(int handle, int kind) override;

    // Lays the device windows out now.
    void ArrangeDeviceFrames();
    // After a window was added: arranges when auto-arrange is on.
    void TileDeviceFrames();
    // Brings an embedded frame to the top and shows it as the active one.
    void ActivateDeviceFrame(CWnd* pFrame);

    // The view's own commands on its background, as a context menu.
    static void BuildContextMenu(CMenu& menu);
    BOOL IsAutoArrange() const { return m_autoArrange; }
    // Whether activating a device window selects its pages in the control panel.
    void SetSingleRecord(BOOL on) { m_singleRecord = on; }

    // IRecordGroupOwner: lets the user choose a device of kind (3 camera, 2 data card, 0 any)
    // and adds it.
    void AddDeviceOfKind(int kind) override;

    // IProjectRecordState
    int GetRecordGroupState() const override;
    // The controller's own listener: its document.
    IRecordGroupListener* GetGroupListener() override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnPoll(WPARAM wParam, LPARAM lParam);
    void OnArrangeWindows();
    void OnAutoArrangeWindows();
    void OnUpdateAutoArrangeWindows(CCmdUI* pCmdUI);
    void OnArrangeIfAuto();
    void OnAddDevice();
    void OnOpenCamera();
    void OnOpenDataCard();
    void OnOneStepSaveOptions();
    void OnQuickDevice(UINT nID);
    void OnNoAction() {}
    void OnNewEmbeddedWindow();
    void OnNewPanelWindow();
    void OnContextMenu(CWnd* pWnd, CPoint point);

private:
    // Takes devices that are gone out of the group; without any device left the group idles.
    void RefreshGroup();

    BOOL m_initialUpdateDone = FALSE;
    BOOL m_autoArrange = TRUE;
    BOOL m_singleRecord = TRUE;
    BOOL m_maximizeParent = FALSE;
};
