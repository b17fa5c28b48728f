#include "frames/ChangedFrameDataView.h"

#include "platform/framework/MessageQueue.h"
#include "platform/framework/Wnd.h"

CChangedFrameDataView::CChangedFrameDataView(CWnd* view) : m_view(view) {}

HRESULT CChangedFrameDataView::OnFrameChanged(int, int) {
    if (!m_view)
        return E_POINTER;
    ::PostMessage(m_view->GetSafeHwnd(), kMsgDataFrameChanged, 0, 0);
    return S_OK;
}
