#pragma once

// CControlBar: the base of the bars along a frame's edges (toolbars, the status bar, bars of
// the program's own). A bar registers with its frame when created, docks at the sides its
// style allows, and has its items updated on idle through CCmdUI handlers routed from the
// frame. A bar of the program's own (made by Create here) lays out its own content; the frame
// gives it a strip as high (or, on the left and right, as wide) as CalcFixedLayout asks.

#include "platform/framework/Wnd.h"

#include <QPointer>

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

    // A bar of the program's own in pParentWnd's frame, at the side of dwStyle's
    // CBRS_ALIGN_ flag; visible with WS_VISIBLE.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // The size the bar needs: along its side when bStretch, its thickness across. The
    // default is the widget's own size hint.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    // The widget that docks in the frame and is shown or hidden with the bar: the bar's own
    // (toolbars, status bar) or the strip holding a bar of the program's own.
    QWidget* GetDockWidget() const;
    // Whether the bar is shown in its frame (whether or not the frame is visible now).
    BOOL IsVisible() const;
    // Sizes the strip of a bar of the program's own from CalcFixedLayout.
    void UpdateDockSize();
    // Brings the bar back into pFrame when it lives in another frame's window or list (a bar
    // docked in a frame other than its own), shown or hidden as it was, so that it goes when
    // pFrame goes and the other frame no longer lists it.
    void ReturnToFrame(CFrameWnd* pFrame);

    // Updates the bar's items through the handlers reached from pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

protected:
    // Joins the frame (the nearest frame at or above pParentWnd); called by Create of
    // derived bars once their window exists.
    void AttachToFrame(CWnd* pParentWnd);
    void PostNcDestroy() override;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    // The strip of a bar of the program's own; it goes with the bar's window (or earlier, with
    // the window it was docked in).
    QPointer<QWidget> m_host;
    CFrameWnd* m_pDockSite = nullptr;

    friend class CFrameWnd;
};
