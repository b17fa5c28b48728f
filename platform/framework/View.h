#pragma once

// CView: a window that shows a document inside a frame. It joins its document when created
// (from the frame's CCreateContext) and leaves it when deleted, paints through OnDraw with a
// CDC, hears of document changes through OnUpdate, and gets commands before its document.
// Views delete themselves when their window is destroyed.

#include "platform/framework/Wnd.h"

class CDC;
class CDocument;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
    DECLARE_MESSAGE_MAP()

public:
    CView();
    // Leaves the document, which closes when this was its last view.
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // Once the frame is complete; the default calls OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();
    // The document changed; the default repaints the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // Paints the document: every paint of the view comes here.
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC);
    // The frame made this view active (or another one); the default takes the focus.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    // Routes the command to the view's own map, then to its document.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;

    friend class CDocument;
};
