#include "frames/ChangedFrameMeasView.h"

CChangedFrameMeasView::CChangedFrameMeasView(IMeasViewSync* view) : m_view(view) {}

HRESULT CChangedFrameMeasView::OnFrameChanged(int, int) {
    return m_view ? S_OK : E_POINTER;
}

HRESULT CChangedFrameMeasView::CFFrameChanges_withIDs(int frame, int dt, int id, int, int) {
    if (!m_view)
        return E_POINTER;
    m_view->SynchronizeToFrame(frame, dt, id, 1);
    return S_OK;
}
