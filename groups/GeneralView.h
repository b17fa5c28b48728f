#pragma once

// CGeneralView: the view of a project. It hosts the project's play group and record group as
// frames, fills the project at its first update, keeps the group bar's mode and the project
// title in step with the window the user works in, decides which group shows its tools,
// routes play-control commands to the groups, lets the record controller veto the closing of
// hosted frames, and arranges the groups side by side.

#include "groups/FrameParentingView.h"

inline constexpr UINT ID_WINDOW_CASCADE_CHILDREN = 32870;
inline constexpr UINT ID_WINDOW_TILE_CHILDREN_HORZ = 32871;
inline constexpr UINT ID_WINDOW_TILE_CHILDREN_VERT = 32968;
inline constexpr UINT ID_WINDOW_ARRANGE_GROUPS = 32891;
inline constexpr UINT ID_WINDOW_AUTO_ARRANGE = 32892;
inline constexpr UINT ID_ARRANGE_IF_AUTO = 32952;
inline constexpr UINT ID_ADD_PLAY_GROUP = 32803;
inline constexpr UINT kAddPlayGroupButton = 1355;
inline constexpr UINT kAddVideoOrDeviceButton = 1356;
inline constexpr UINT kReloadImageProcessButton = 1358;
inline constexpr UINT kProjectViewQuery = 0x638;
inline constexpr UINT ID_ZERO_BRACKET_SAVE_REARM = 32852;
inline constexpr UINT ID_CLOSE_PLAYBACKS_REARM = 32856;

// ActivateFrame codes by which a project tells its group frames whether to show their tools.
inline constexpr int kGroupToolsShow = -1;
inline constexpr int kGroupToolsHideDocked = -2;
inline constexpr int kGroupToolsHide = -3;
inline constexpr int kGroupToolsHideFloating = -4;

class CGeneralFrame;

class CGeneralView : public CFrameParentingView {
    DECLARE_DYNCREATE(CGeneralView)
    DECLARE_MESSAGE_MAP()

public:
    // Reads the start-maximised and dock-panels settings.
    CGeneralView();

    void OnInitialUpdate() override;
    // The hint is the group mode to select (kRecordGroupHint, kPlayGroupHint).
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnDraw(CDC* pDC) override;
    // Play-control commands go to the groups first; everything else to the base routing
    // first, then to the play group's frame and the record controller's frame.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // The record controller decides; the play group hears of the close only when it goes ahead.
    LRESULT OnChildFrameClose(WPARAM wParam, LPARAM lParam) override;
    // Also switches the group mode to the group of the window the user activated.
    LRESULT OnChildFrameActivate(WPARAM wParam, LPARAM lParam) override;

    // Tells the group frames whether their tools are shown, by the project frame's group mode
    // when activating; all hide them when deactivating.
    void ShowGroupFramesForMode(BOOL bActivating);
    // The groups side by side over the full height of the view.
    void ArrangeGroups();

    BOOL IsAutoArrange() const { return m_bAutoArrange; }
    BOOL StartsMaximized() const { return m_bStartMaximized; }
    BOOL DocksPanels() const { return m_bDockPanels; }

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnCascade();
    void OnTileHorizontally();
    void OnTileVertically();
    void OnArrangeGroups();
    void OnAutoArrange();
    void OnUpdateAutoArrange(CCmdUI* pCmdUI);
    void OnArrangeIfAuto();
    void OnAddPlayGroup();
    // Asks for video files or a live device: a device (or a record configuration) becomes the
    // project's record group, a file its play group.
    void OnAddVideoOrDevice();
    void OnReloadImageProcess();
    void OnUpdatePlayButton(CCmdUI* pCmdUI);
    void OnUpdateRecordButton(CCmdUI* pCmdUI);
    LRESULT OnAnswerOne(WPARAM wParam, LPARAM lParam);
    // The play group zeroes (brackets and saves as it is set to); with "record after save" on,
    // its playbacks close and the project turns back to its record group.
    void OnZeroBracketSaveRearm();
    // The same without zeroing, and only with "record after save" on.
    void OnClosePlaybacksRearm();

private:
    CGeneralFrame* GetProjectFrame() const;
    // The play group's playbacks close; the project turns to its record group.
    void CloseGroupPlaybacksAndRearm();
    CView* PlayGroupView() const;
    CView* RecordGroupView() const;
    // The group mode the view on top inside the activated frame stands for, -1 for none.
    static int GroupModeOfFrame(CFrameWnd* frame);

    BOOL m_bStartMaximized = FALSE;
    BOOL m_bDockPanels = FALSE;
    BOOL m_bAutoArrange = FALSE;
    // The window of the top-most hosted frame's first child when a frame was last activated.
    HWND m_lastTopWindow = nullptr;
};
