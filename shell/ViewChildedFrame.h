#pragma once

// CViewChildedFrame: a document frame hosted inside a view (a video or data window inside a
// play group or project). It asks its hosting window before it closes and tells it when it
// becomes active, so the host can refuse a close and keep track of the current frame. Its
// window is a CHostedFrameWidget: inside the view it has a title bar and border of its own.

#include "platform/framework/FrameWnd.h"

class CView;

// Sent to the hosting window: wParam the frame's handle; the host answers 1 to let it close.
inline constexpr UINT WM_CHILDED_MAYCLOSE = 0x721;
// Sent to the hosting window: wParam the frame's handle, lParam one of the reasons below.
inline constexpr UINT WM_CHILDED_ACTIVATED = 0x722;
inline constexpr LPARAM kChildedActivatedByChildActivate = 10;
inline constexpr LPARAM kChildedActivatedByMouse = 20;

class CViewChildedFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CViewChildedFrame)
    DECLARE_MESSAGE_MAP()

public:
    CViewChildedFrame();

    // Makes pView's window the parent window of pFrame (none for nullptr) and remembers the
    // view; returns the previous parent window.
    static CWnd* AttachToParentView(CView* pView, CViewChildedFrame* pFrame);
    // The parent window, or the remembered view when there is none.
    CWnd* GetParentView() const;

    // The title bar's active look, which the host sets for its current frame (WM_NCACTIVATE
    // with wParam TRUE or FALSE does the same).
    void SetCaptionActive(BOOL bActive);
    BOOL IsCaptionActive() const;
    // The system menu of the title bar, and with it its buttons (shown until removed).
    void SetSystemMenu(BOOL bShown);
    BOOL HasSystemMenu() const;

    UINT GetSerialNumber() const { return m_serialNumber; }
    BOOL IsClosePending() const { return m_bClosePending; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void OnClose();
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnChildActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);

private:
    static UINT s_lastSerialNumber;

    UINT m_serialNumber = 0;
    BOOL m_bClosePending = FALSE;
    CView* m_pParentView = nullptr;
};
