#include "views/OverlayListener.h"

#include "platform/framework/Wnd.h"
#include "views/OverlayHost.h"

COverlayListener::~COverlayListener() {
    if (m_pHost)
        m_pHost->Remove(this);
}

HRESULT COverlayListener::Attach(HWND hWnd, COverlayHost* pHost) {
    m_hWnd = hWnd;
    m_pHost = pHost;
    return S_OK;
}

HRESULT COverlayListener::GetAttachment(HWND* phWnd, COverlayHost** ppHost) {
    if (phWnd)
        *phWnd = m_hWnd;
    if (ppHost)
        *ppHost = m_pHost;
    return S_OK;
}

HRESULT COverlayListener::SetSink(IOverlaySink* pSink) {
    m_pSink = pSink;
    return S_OK;
}

HRESULT COverlayListener::Forward(intptr_t v1, intptr_t v2, intptr_t v3, intptr_t v4, intptr_t v5) {
    if (m_pSink)
        m_pSink->OnOverlayEvent(v1, v2, v3, v4, v5);
    return S_OK;
}

HRESULT COverlayListener::Invalidate() {
    // Qt queues the paint of an invalidated widget, which is the posted paint message.
    if (CWnd* wnd = CWnd::FromHandle(m_hWnd))
        wnd->Invalidate(FALSE);
    return S_OK;
}

HRESULT COverlayListener::SetIndex(int index) {
    m_index = index;
    return S_OK;
}

HRESULT COverlayListener::GetIndex(int* index) {
    if (index)
        *index = m_index;
    return S_OK;
}

HRESULT COverlayListener::GetTag(int* tag) {
    if (tag)
        *tag = m_tag;
    return S_OK;
}
