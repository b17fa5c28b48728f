#pragma once

// CGeneralFrame: the MDI child frame of a project. Around the project view it carries a group
// bar (tabs "Record Group" and "Play Group" with Record and Play buttons) whose selected tab
// says which group has its tools shown, and a docking control panel into which the groups put
// their pages. It refuses to close while the project's record group records.

#include "groups/LutColorAdjustDlg2.h"
#include "platform/framework/MDIChildWnd.h"
#include "platform/framework/ToolBar.h"
#include "views/panels/BitmapControlPanelBar.h"
#include "views/panels/ControlPanelBar.h"
#include "views/panels/IconControlPanelBar.h"

inline constexpr UINT kGroupBarTemplate = 30048;
inline constexpr UINT kProjectControlPanelTemplate = 30088;
inline constexpr int kGroupBarPicture = 2021;
inline constexpr int kControlPanelPicture = 2204;
// Posted to the frame itself when the group mode changed; wParam the mode.
inline constexpr UINT kGroupModeChanged = 0x6BC;
inline constexpr UINT kProjectFrameQuery = 0x5286;
inline constexpr UINT ID_VIEW_CONTROL_PANEL = 32911;
inline constexpr UINT ID_SHOW_CONTROL_PANEL = 32827;
inline constexpr UINT ID_HIDE_CONTROL_PANEL = 32829;
inline constexpr int kRecordGroupMode = 0;
inline constexpr int kPlayGroupMode = 1;

class CGeneralFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CGeneralFrame)
    DECLARE_MESSAGE_MAP()

public:
    // Reads whether project frames are made without caption buttons.
    CGeneralFrame();

    // Without caption buttons when the setting asks for it.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW,
                   CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;

    // Selects the group bar's tab mode and tells the frame (kGroupModeChanged) afterwards.
    void SetGroupMode(int mode);
    // The group bar's selected tab; -1 before the bar has its tab control.
    int GetGroupMode();

    // Lets a hosted group frame put its pages into the control panel; frames without pages
    // are left alone.
    void AttachGroupPages(CFrameWnd* groupFrame);

    CToolBar& GetToolBar() { return m_toolBar; }
    CIconControlPanelBar& GetGroupBar() { return m_groupBar; }
    CControlPanelBar& GetControlPanelBar() { return m_controlPanelBar; }
    CLutColorAdjustDlg2& GetImageProcessPage() { return m_imageProcessPage; }
    // Makes the "Image Process" page (once) and adds it to bar; the first tab stays selected.
    void ShowImageProcessPage(CControlPanelBar* bar);
    // The page loads the active video view's display tables again.
    void ReloadImageProcessPage();
    BOOL RemovesCaptionButtons() const { return m_bRemoveCaptionButtons; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnRecordButton();
    void OnPlayButton();
    LRESULT OnGroupModeChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnAnswerOne(WPARAM wParam, LPARAM lParam);
    void OnToggleControlPanel();
    void OnUpdateToggleControlPanel(CCmdUI* pCmdUI);
    void OnShowControlPanel();
    void OnUpdateShowControlPanel(CCmdUI* pCmdUI);
    void OnHideControlPanel();
    void OnUpdateHideControlPanel(CCmdUI* pCmdUI);

private:
    // New frames stand one caption lower and further right than the previous one, back at the
    // corner when the next would leave the client area.
    void PlaceInCascade();
    BOOL ControlPanelShown() const;

    static int s_cascadeIndex;

    CToolBar m_toolBar;
    CIconControlPanelBar m_groupBar;
    CBitmapControlPanelBar m_controlPanelBar;
    // The "Image Process" page the control panel always holds.
    CLutColorAdjustDlg2 m_imageProcessPage;
    BOOL m_bRemoveCaptionButtons = FALSE;
};
