#include "platform/framework/ScrollView.h"

#include <QScrollArea>
#include <QScrollBar>

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
ON_WM_DESTROY()
END_MESSAGE_MAP()

const CSize CScrollView::sizeDefault(0, 0);

CScrollView::CScrollView() = default;

QWidget* CScrollView::CreateWidget(QWidget* parent) {
    auto* area = new QScrollArea(parent);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    QWidget* content = CView::CreateWidget(nullptr);
    area->setWidget(content);
    return content;
}

QScrollArea* CScrollView::GetScrollArea() const {
    QWidget* w = GetQWidget();
    // The view's window sits in the area's viewport.
    return w && w->parentWidget() ? qobject_cast<QScrollArea*>(w->parentWidget()->parentWidget())
                                  : nullptr;
}

void CScrollView::SetScrollSizes(int nMapMode, CSize sizeTotal, const CSize& sizePage,
                                 const CSize& sizeLine) {
    m_nMapMode = nMapMode;
    m_totalLog = CSize(std::max<LONG>(sizeTotal.cx, 0), std::max<LONG>(sizeTotal.cy, 0));
    m_pageDev = sizePage;
    if (m_pageDev.cx <= 0)
        m_pageDev.cx = m_totalLog.cx / 10;
    if (m_pageDev.cy <= 0)
        m_pageDev.cy = m_totalLog.cy / 10;
    m_lineDev = sizeLine;
    if (m_lineDev.cx <= 0)
        m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy <= 0)
        m_lineDev.cy = m_pageDev.cy / 10;
    QScrollArea* area = GetScrollArea();
    if (!area)
        return;
    GetQWidget()->setMinimumSize(static_cast<int>(m_totalLog.cx), static_cast<int>(m_totalLog.cy));
    area->horizontalScrollBar()->setPageStep(std::max<int>(static_cast<int>(m_pageDev.cx), 1));
    area->verticalScrollBar()->setPageStep(std::max<int>(static_cast<int>(m_pageDev.cy), 1));
    area->horizontalScrollBar()->setSingleStep(std::max<int>(static_cast<int>(m_lineDev.cx), 1));
    area->verticalScrollBar()->setSingleStep(std::max<int>(static_cast<int>(m_lineDev.cy), 1));
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, CSize& sizeTotal, CSize& sizePage,
                                       CSize& sizeLine) const {
    nMapMode = m_nMapMode;
    sizeTotal = m_totalLog;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

CPoint CScrollView::GetScrollPosition() const {
    QScrollArea* area = GetScrollArea();
    if (!area)
        return CPoint(0, 0);
    return CPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
}

void CScrollView::ScrollToPosition(CPoint pt) {
    if (QScrollArea* area = GetScrollArea()) {
        area->horizontalScrollBar()->setValue(static_cast<int>(pt.x));
        area->verticalScrollBar()->setValue(static_cast<int>(pt.y));
    }
}

void CScrollView::OnDestroy() {
    if (QScrollArea* area = GetScrollArea()) {
        area->hide();
        area->deleteLater();
    }
    CView::OnDestroy();
}
