#pragma once

// CRecordControllerFrame: the frame of a record controller, hosted in a project. It carries the
// record toolbars, a three-pane status bar (the active device's mode, the group's state), the
// bar with the group's record buttons that View/Control Bar toggles, the play-control bar at the
// bottom that "Toggle Play Controls" makes and removes, and the recording-busy box. It refuses
// to close while its group records. Its record pages ("Record", "Smart Trigger", "Auto-Record")
// join the project's control panel.

#include "devices/AutoRecordPage.h"
#include "devices/IDeviceViewFinder.h"
#include "devices/RecordDialogBar.h"
#include "devices/RecordTab.h"
#include "devices/RecordingBusyDlg.h"
#include "devices/SingleRecordPage.h"
#include "devices/VideoTriggerTab.h"
#include "devices/core/DeviceLink.h"
#include "groups/IControlPanelPages.h"
#include "platform/framework/StatusBar.h"
#include "platform/framework/ToolBar.h"
#include "shell/ViewChildedFrame.h"

#include <QString>

class CCmdUI;
class CControlPanelBar;
class CRecordControllerDoc;
class CRecordControllerView;
class CRecordGroup;

class CRecordControllerFrame : public CViewChildedFrame,
                               public IControlPanelPages,
                               public IDeviceViewFinder,
                               public IDeviceCommandTargetProvider,
                               public IAutoDownloadOptionsProvider {
    DECLARE_DYNCREATE(CRecordControllerFrame)
    DECLARE_MESSAGE_MAP()

public:
    enum Command : UINT {
        kToggleControlBar = 32774,
        kToggleControlPanel = 32795,
        kTogglePlayControls = 32839,
    };
    // Status panes: the device's mode, a spacer, the group's state.
    static constexpr UINT kModePane = 59142;
    static constexpr UINT kSpacerPane = 59143;
    static constexpr UINT kStatePane = 59144;
    static constexpr UINT kRecordToolBar = 150;
    static constexpr UINT kViewToolBar = 356;
    static constexpr UINT kBusyTemplate = 30074;
    static constexpr UINT kPlayBarId = 30047;
    static constexpr UINT kControlBarId = 30048;
    // The record buttons of the control bar and of the play-control bar.
    static constexpr UINT kControlBarTabTemplate = 30072;
    static constexpr UINT kPlayBarTabTemplate = 30046;
    // ActivateFrame's private codes, as a project uses them.
    static constexpr int kShowBars = -1;
    static constexpr int kHideDocked = -2;
    static constexpr int kHideBoth = -3;
    static constexpr int kHideFloating = -4;

    CRecordControllerFrame();
    ~CRecordControllerFrame() override;

    // The bars by the private codes above; other codes activate the frame.
    void ActivateFrame(int nCmdShow = -1) override;

    // IControlPanelPages: the record pages go into the project's control panel (null: the panel
    // is going).
    void AttachToControlPanel(CControlPanelBar* bar) override;
    // Makes the record pages ("Record", "Smart Trigger", "Auto-Record") inside bar, bound to
    // this frame's group and its automatic download, and selects the "Record" tab.
    void SetupRecordPages(CControlPanelBar* bar);
    // The control panel that shows this controller's pages (null before one was given).
    CControlPanelBar* GetRecordControlPanel() const { return m_controlPanel; }

    // IDeviceViewFinder: the view of the active embedded device window, and the embedded
    // window of a device.
    CView* GetActiveDeviceView(int* kind, CDevice** device) override;
    CView* FindDeviceWindow(int handle, int kind) override;
    // For a data playback view: the first embedded camera window whose camera holds a data link
    // to the data set the playback shows; null otherwise.
    CCamView* FindCameraViewForDataView(CView* dataView) override;
    // IDeviceCommandTargetProvider: the record group of the frame's document, so that the
    // pages' commands reach it.
    IDeviceCommandTarget* GetCommandTarget() override;
    // IAutoDownloadOptionsProvider: the options of the automatic download of the frame's
    // document, which the "Auto-Record" page edits.
    IAutoDownloadOptions* GetAutoDownloadOptions() override;
    CSingleRecordPage& GetRecordPage() { return m_recordPage; }
    CVideoTriggerTab& GetSmartTriggerPage() { return m_smartTriggerPage; }
    CAutoRecordPage& GetAutoRecordPage() { return m_autoRecordPage; }

    // mode -1: the next state; 0 shows the play controls, 1 removes them. With findDockSite
    // the bar docks in the frame of the window the frame is created in, when there is one.
    void SetupPlayControls(int mode, BOOL findDockSite);
    // 0 while the play controls are shown, 1 while they are not.
    int GetPlayControlState() const { return m_playControlState; }
    CRecordDialogBar* GetPlayControlBar() { return m_playBar.GetSafeHwnd() ? &m_playBar : nullptr; }
    CRecordDialogBar& GetControlBar() { return m_controlBar; }
    // The record buttons in the control bar and in the play-control bar (the latter exists only
    // while the play controls are shown).
    CRecordTab& GetControlBarTab() { return m_controlBarTab; }
    CRecordTab& GetPlayBarTab() { return m_playBarTab; }
    CRecordingBusyDlg& GetBusyBox() { return m_busy; }
    CStatusBar& GetStatusBar() { return m_statusBar; }
    CToolBar& GetRecordToolBar() { return m_recordToolBar; }
    void SetMaximizeOnCreate(BOOL on) { m_maximizeOnCreate = on; }
    int GetInstanceNumber() const { return m_instance; }
    static int GetFrameCount() { return s_frameCount; }

    CRecordControllerDoc* GetControllerDocument();
    CRecordGroup* GetRecordGroup();

    // The status panes' texts, as the update handlers set them.
    QString ModeText();
    QString StateText();
    // Shows the busy box exactly while the group records with a device open, unless the
    // recording settings turn it off ("Record:RecordBusyDlg" 0).
    void UpdateBusyBox();

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnClose();
    void OnDestroy();
    void OnToggleControlBar();
    void OnUpdateControlBar(CCmdUI* pCmdUI);
    void OnToggleControlPanel();
    void OnUpdateControlPanel(CCmdUI* pCmdUI);
    void OnTogglePlayControls();
    void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
    void OnUpdateModePane(CCmdUI* pCmdUI);
    void OnUpdateStatePane(CCmdUI* pCmdUI);

private:
    CRecordControllerView* GetControllerView();
    CWnd* FindDockSite();
    // Makes tab inside the bar's page item, bound to the frame's group.
    void CreateRecordTab(CRecordDialogBar& bar, CRecordTab& tab);
    bool BusyBoxWanted();

    static int s_frameCount;

    CRecordDialogBar m_playBar;
    CRecordingBusyDlg m_busy;
    QString m_lastStatus;
    CRecordDialogBar m_controlBar;
    CControlPanelBar* m_controlPanel = nullptr;
    CSingleRecordPage m_recordPage;
    CVideoTriggerTab m_smartTriggerPage;
    CAutoRecordPage m_autoRecordPage;
    CRecordTab m_controlBarTab{kControlBarTabTemplate};
    CRecordTab m_playBarTab{kPlayBarTabTemplate};
    CToolBar m_recordToolBar;
    CToolBar m_viewToolBar;
    CStatusBar m_statusBar;
    CFrameWnd* m_dockSite = nullptr;
    int m_playControlState = 1;
    BOOL m_maximizeOnCreate = FALSE;
    int m_instance = 0;
};
