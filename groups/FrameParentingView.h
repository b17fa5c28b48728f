#pragma once

// CFrameParentingView: a view whose client area hosts other document frames (childed frames
// attached with CViewChildedFrame::AttachToParentView). It walks them, hands commands it does
// not know to the top-most one, lays them out, shows, minimises, activates and closes them,
// paints the background between them, and keeps their captions looking active exactly along
// the active path through any depth of nesting. It never destroys a hosted frame itself.

#include "platform/framework/Bitmap.h"
#include "platform/framework/View.h"

class CFrameWnd;
class CViewChildedFrame;

// Posted up to the enclosing hosts when a hosted frame was activated inside a nested view.
inline constexpr LPARAM kChildedActivatedByNestedView = 30;
// The grey between the hosted frames when no background picture is loaded.
inline constexpr COLORREF kParentingBackground = 0x606060;

class CFrameParentingView : public CView {
    DECLARE_DYNCREATE(CFrameParentingView)
    DECLARE_MESSAGE_MAP()

public:
    CFrameParentingView();

    void OnDraw(CDC* pDC) override;

    // Walking in z-order from the top. The first call (empty cursor) gives the top-most hosted
    // frame; nullptr at the end, when the cursor becomes empty again. Non-frames are skipped.
    CFrameWnd* GetNextChildFrame();
    // Returns the previous cursor.
    CFrameWnd* SetChildFrameCursor(CFrameWnd* pFrame);
    // The frames from the cursor to the end; the cursor ends empty.
    int CountChildFrames();
    // The view of the top-most hosted frame (its first child window when it has no view), or
    // nullptr. The cursor is kept.
    CWnd* GetFirstChildView();
    // The active view of the first hosted frame from the top whose active view is of pClass
    // (any when null). Found: the cursor stays at that frame; else it is restored.
    CView* FindChildViewOfClass(const CRuntimeClass* pClass);

    // Routes File/Close past this view and its document; any command the view does not take is
    // offered to the top-most hosted frame.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Layouts. Only hosted frames move; the z-order is kept.
    void LayOutChildFramesSideBySide(int width, int height, BOOL bVisibleOnly);
    void CascadeChildFrames();
    void TileChildFramesHorizontally();
    void TileChildFramesVertically();
    // Band A across the top (frames of classA, or not of it when bInvertA), band B stacked
    // below (classB likewise), each in creation order; minimised and hidden frames stay out.
    void ArrangeChildFrames(const CRuntimeClass* pClassA, const CRuntimeClass* pClassB,
                            BOOL bInvertA, BOOL bInvertB);

    void MinimizeChildFrames(const CRuntimeClass* pClass);
    void ShowChildFramesOfClass(const CRuntimeClass* pClass, int nCmdShow);
    void ActivateChildFramesOfClass(const CRuntimeClass* pClass, int nCmdShow);
    // Sends WM_CLOSE to every visible hosted frame, top first.
    void CloseChildFrames();

    // Captions: pFrame's looks active and every other visible hosted frame's inactive; inside
    // the hosted frames the same is done one level down (the active frame's top-most child
    // active, nothing active inside the others). pFrame may be null: nothing looks active.
    void ShowActiveChildCaption(CWnd* pFrame);
    // The same with the top-most visible hosted frame shown active.
    void ShowTopChildCaptionActive();

    // A hosted frame asks whether it may close; 1 allows it.
    virtual LRESULT OnChildFrameClose(WPARAM wParam, LPARAM lParam);
    // A hosted frame was activated: a click brings it to the top of its siblings, its caption
    // looks active, and the enclosing hosts hear of it.
    virtual LRESULT OnChildFrameActivate(WPARAM wParam, LPARAM lParam);

    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnChildFrameCloseMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnChildFrameActivateMessage(WPARAM wParam, LPARAM lParam);

    // Stays empty unless a derived view loads a picture; drawn stretched over the view.
    CBitmap m_backgroundPicture;
    // Whether a resize lays the hosted frames out side by side (views that keep the frames where
    // the user left them clear it).
    BOOL m_bLayOutOnSize = TRUE;

private:
    // A hosted frame's rectangle in this view's client co-ordinates.
    CRect ChildRect(const CWnd* pFrame) const;
    // Tiles the visible, not minimised frames in floor(sqrt(n)) columns (rows when
    // !bByColumns), each filled before the next starts.
    void TileChildFrames(BOOL bByColumns);

    HWND m_childFrameCursor = nullptr;
};
