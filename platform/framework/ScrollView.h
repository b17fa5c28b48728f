#pragma once

// CScrollView: a view larger than its window, scrolled by scroll bars. The view's window is
// the whole scrolled area inside a QScrollArea, so OnDraw paints in the view's own
// co-ordinates (MM_TEXT: pixels) and Qt shows the part in sight. GetClientRect therefore
// gives the whole area (at least the visible size); GetScrollPosition says which part shows.

#include "platform/framework/View.h"

class QScrollArea;

inline constexpr int MM_TEXT = 1;

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
    DECLARE_MESSAGE_MAP()

public:
    static const CSize sizeDefault;

    CScrollView();

    // The scrolled size in pixels (only MM_TEXT is known); a page and a line default to a
    // tenth of the size and of the page.
    void SetScrollSizes(int nMapMode, CSize sizeTotal, const CSize& sizePage = sizeDefault,
                        const CSize& sizeLine = sizeDefault);
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, CSize& sizeTotal, CSize& sizePage,
                              CSize& sizeLine) const;
    // The point of the view at the top-left corner of the visible part.
    CPoint GetScrollPosition() const;
    CPoint GetDeviceScrollPosition() const { return GetScrollPosition(); }
    void ScrollToPosition(CPoint pt);
    // The scroll area around the view's window, or nullptr without a window.
    QScrollArea* GetScrollArea() const;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    // The scroll area goes with the view.
    void OnDestroy();

    int m_nMapMode = MM_TEXT;
    CSize m_totalLog;
    CSize m_pageDev;
    CSize m_lineDev;
};
