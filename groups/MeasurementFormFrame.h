#pragma once

// CMeasurementFormFrame: the window of one play group, hosted in a project's view or in the
// main window. It holds the group view and owns the panels that act on the group's playbacks:
// the group and view toolbars, the group's control-panel bar with its "Playback" and "Analysis"
// pages, the play-control page and measurement palette, which go into the project's control
// panel when the group is hosted in a project, the calibration panel of the group's active video
// and two advanced video-trigger pages.

#include "groups/ICalibrationPanel.h"
#include "groups/IControlPanelPages.h"
#include "platform/framework/ToolBar.h"
#include "shell/DlgMeasure.h"
#include "shell/ViewChildedFrame.h"
#include "views/panels/AnalysisTab.h"
#include "views/panels/ControlPanelBar.h"
#include "views/panels/LutColorAdjustDlg.h"
#include "views/panels/PlayControlTab.h"
#include "views/panels/PlaybackTab.h"
#include "views/panels/VideoTriggerAdvTab.h"

#include <functional>
#include <memory>

class CPlaybackView;
class IPlayGroupMembers;

inline constexpr UINT kGroupToolBarResource = 155;
inline constexpr UINT kViewToolBarResource = 356;
inline constexpr UINT ID_TOGGLE_PLAY_CONTROLS = 32839;
inline constexpr UINT ID_VIEW_PLAY_CONTROLS = 32912;

class CMeasurementFormFrame : public CViewChildedFrame, public IControlPanelPages {
    DECLARE_DYNCREATE(CMeasurementFormFrame)
    DECLARE_MESSAGE_MAP()

public:
    // Makes the calibration panel of each new frame; installed by the program (the panel
    // belongs to a layer above the groups). Without one the frame has no calibration page.
    using CalibrationPanelFactory = std::function<ICalibrationPanel*()>;
    static void SetCalibrationPanelFactory(CalibrationPanelFactory factory);

    CMeasurementFormFrame();
    ~CMeasurementFormFrame() override;

    // Without sizing border, system menu and dialog frame when the bare-frame flag is set.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    // The play-control page gets the active view as its owner. Negative codes are a project's
    // word on the control-panel bar: -1 shows it (as the show-bar flag says), -2 and -3 hide
    // it, -4 hides it when it floats; other codes activate the frame, and so does -1 when the
    // frame stands alone (not hosted in a view) or has no bar.
    void ActivateFrame(int nCmdShow = -1) override;

    // Puts the play-control page, the calibration page, the measurement palette and the
    // analysis page into a project's control panel as "Playback", "Calibration", "Measurement"
    // and "Analysis"; inside a record controller's project they are made but stay hidden.
    void AttachToControlPanel(CControlPanelBar* bar) override;

    // The member list of the group view, or null when the active view is not a group view.
    IPlayGroupMembers* GetGroupMembers() const;
    // The group view's active playback view, or null.
    CPlaybackView* GetActivePlaybackView() const;

    // Set by whoever creates the frame, before its window exists.
    void SetShowBar(BOOL bShow) { m_bShowBar = bShow; }
    void SetMaximize(BOOL bMaximize) { m_bMaximize = bMaximize; }
    void SetBareFrame(BOOL bBare) { m_bBareFrame = bBare; }

    // Program-wide: 1 for the only play-group frame alive at its creation.
    int GetFrameSerial() const { return m_serial; }
    CPlayControlTab& GetPlayControlTab() { return m_playControlTab; }
    CPlaybackTab& GetPlaybackTab() { return m_playbackTab; }
    CAnalysisTab& GetAnalysisTab() { return m_analysisTab; }
    CLutColorAdjustDlg& GetLutDialog() { return m_lutDialog; }
    CDlgMeasure& GetMeasurePalette() { return m_measurePalette; }
    // The colour-adjustment page reloads from the group's active view.
    void RefreshLutDialog();
    CToolBar& GetGroupToolBar() { return m_groupToolBar; }
    CToolBar& GetViewToolBar() { return m_viewToolBar; }
    CControlPanelBar& GetControlPanelBar() { return m_controlPanelBar; }
    // The calibration panel, or null when the frame has none.
    ICalibrationPanel* GetCalibrationPanel() const { return m_calibrationPanel.get(); }
    // Hands the calibration panel the analysis objects of the group's active video; while the
    // window in front is no video of the group the panel keeps its video. The group view
    // calls it whenever a member comes forward or moves.
    void AttachCalibrationToActiveVideo();
    // Shows the control panel with the calibration page in front; FALSE without the page.
    BOOL ShowCalibrationPanel();

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnDestroy();
    void OnPlayControlsCommand();
    void OnUpdatePlayControls(CCmdUI* pCmdUI);
    void OnUpdateFileClose(CCmdUI* pCmdUI);

private:
    BOOL CreateToolBar(CToolBar& bar, UINT nIDResource);
    // Whether the frame is hosted in a project that holds a record controller.
    BOOL IsInsideRecordController() const;
    // The group's own control panel with its two pages.
    void CreateControlPanel();
    // The pages reach the group view's playback list, and the play control shows on the page.
    void BindPages();
    // Moves the calibration page into bar as "Calibration"; hidden, it gets no tab.
    void AttachCalibrationPage(CControlPanelBar* bar, BOOL hidden);
    // Moves the analysis page into bar as "Analysis"; hidden, it gets no tab.
    void AttachAnalysisPage(CControlPanelBar* bar, BOOL hidden);

    static int s_frameCount;

    CPlayControlTab m_playControlTab;
    CPlaybackTab m_playbackTab;
    CAnalysisTab m_analysisTab;
    CLutColorAdjustDlg m_lutDialog;
    CVideoTriggerAdvTab m_videoTriggerAdvTabs[2];
    CDlgMeasure m_measurePalette;
    CToolBar m_groupToolBar;
    CToolBar m_viewToolBar;
    CControlPanelBar m_controlPanelBar;
    BOOL m_bShowBar = TRUE;
    BOOL m_bFirstActivation = FALSE;
    BOOL m_bMaximize = FALSE;
    BOOL m_bBareFrame = FALSE;
    int m_serial = 0;
    // The tab of the group's own control panel that holds the play-control page, -1 for none.
    int m_playControlTabIndex = -1;
    // The same for the analysis page.
    int m_analysisTabIndex = -1;
    // The project's control panel that shows this group's pages, while its frame lives, and the
    // tabs they stand in there (-1 for none).
    CControlPanelBar* m_projectBar = nullptr;
    std::weak_ptr<bool> m_projectBarLife;
    int m_projectTabs[3] = {-1, -1, -1};
    // Made after the bar, so that it goes before the bar that shows it.
    std::unique_ptr<ICalibrationPanel> m_calibrationPanel;
    // The bar that shows the calibration page (the group's own, or a project's) and its tab.
    CControlPanelBar* m_calibrationBar = nullptr;
    int m_calibrationTabIndex = -1;
};
