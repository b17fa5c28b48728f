#pragma once

// CControlBar: the base of the bars along a frame's edges (toolbars, the status bar). A bar
// registers with its frame when created, docks at the sides its style allows, and has its
// items updated on idle through CCmdUI handlers routed from the frame.

#include "platform/framework/Wnd.h"

class CFrameWnd;

inline constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
inline constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
inline constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
inline constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
inline constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
inline constexpr DWORD CBRS_TOOLTIPS = 0x0010;
inline constexpr DWORD CBRS_FLYBY = 0x0800;
inline constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0400;
inline constexpr DWORD CBRS_GRIPPER = 0x00400000;
inline constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP;
inline constexpr DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM;
inline constexpr DWORD CBRS_LEFT = CBRS_ALIGN_LEFT;
inline constexpr DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)

public:
    CControlBar();
    // Leaves its frame's list.
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    // The sides (CBRS_ALIGN_ flags) the bar may be docked at; 0: none (it stays put).
    virtual void EnableDocking(DWORD dwDockStyle);
    DWORD GetDockingStyle() const { return m_dwDockStyle; }
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }

    // Updates the bar's items through the handlers reached from pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

protected:
    // Joins the frame (the nearest frame at or above pParentWnd); called by Create of
    // derived bars once their window exists.
    void AttachToFrame(CWnd* pParentWnd);
    void PostNcDestroy() override;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;

    friend class CFrameWnd;
};
