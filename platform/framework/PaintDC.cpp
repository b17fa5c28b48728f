#include "platform/framework/PaintDC.h"

#include "platform/framework/Wnd.h"

IMPLEMENT_DYNAMIC(CPaintDC, CDC)

CPaintDC::CPaintDC(CWnd* wnd) : CDC(wnd ? wnd->GetQWidget() : nullptr) {
    if (!wnd)
        return;
    const QRect bounds = wnd->GetPaintRegion().boundingRect();
    if (!bounds.isEmpty())
        m_ps.rcPaint.SetRect(bounds.left(), bounds.top(), bounds.left() + bounds.width(),
                             bounds.top() + bounds.height());
}
