#pragma once

// CMView: a view that remembers where its frame window sits, on screen and inside the frame's
// own parent, so that the play group that hosts the frame can restore the placement later.

#include "platform/framework/View.h"
#include "platform/wintypes/Rect.h"

class CMView : public CView {
    DECLARE_DYNCREATE(CMView)
    DECLARE_MESSAGE_MAP()

public:
    CMView();
    ~CMView() override;

    void OnDraw(CDC* pDC) override;
    // Records the frame's placement once the frame is complete.
    void OnInitialUpdate() override;

    // The frame's rectangle in the client co-ordinates of the frame's parent.
    void GetParentRect(CRect* rect) const;
    void SetScreenRect(int left, int top, int right, int bottom);
    void SetParentRect(int left, int top, int right, int bottom);

protected:
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnDestroy();
    // Stores the parent frame's window rectangle as the screen rectangle and, in the client
    // co-ordinates of the frame's parent (the screen for a top-level frame), as the parent
    // rectangle; nothing without a frame window.
    void RecordFrameRect();

    CRect m_screenRect;
    CRect m_parentRect;
};
