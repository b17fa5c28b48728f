#include "views/OverlayHost.h"

#include "platform/framework/Wnd.h"
#include "views/OverlayListener.h"

#include <cstddef>

COverlayHost::~COverlayHost() {
    for (COverlayListener* listener : m_listeners)
        if (listener)
            listener->Attach(nullptr, nullptr);
}

HRESULT COverlayHost::SetWindow(HWND hWnd) {
    m_hWnd = hWnd;
    return S_OK;
}

HRESULT COverlayHost::GetWindow(HWND* phWnd) {
    if (phWnd)
        *phWnd = m_hWnd;
    return S_OK;
}

HRESULT COverlayHost::Add(COverlayListener* pListener) {
    if (!pListener)
        return S_OK;
    COverlayHost* previous = nullptr;
    pListener->GetAttachment(nullptr, &previous);
    if (previous) {
        // The old window is repainted while the listener still knows it.
        pListener->Invalidate();
        previous->Remove(pListener);
    }
    m_listeners.push_back(pListener);
    pListener->SetIndex(m_nextIndex++);
    pListener->Attach(m_hWnd, this);
    return S_OK;
}

HRESULT COverlayHost::Remove(COverlayListener* pListener) {
    if (!pListener)
        return S_OK;
    int index = -1;
    pListener->GetIndex(&index);
    for (auto it = m_listeners.begin(); it != m_listeners.end(); ++it) {
        int own = -1;
        if (*it)
            (*it)->GetIndex(&own);
        if (own >= 0 && own == index) {
            m_listeners.erase(it);
            break;
        }
    }
    // A removed listener no longer names this host: it must not reach back into it once the
    // host is gone.
    COverlayHost* host = nullptr;
    pListener->GetAttachment(nullptr, &host);
    if (host == this)
        pListener->Attach(nullptr, nullptr);
    return S_OK;
}

HRESULT COverlayHost::IsVisible(BOOL* pVisible) {
    CWnd* wnd = m_hWnd ? CWnd::FromHandle(m_hWnd) : nullptr;
    if (!wnd) {
        if (pVisible)
            *pVisible = FALSE;
        return E_FAIL;
    }
    if (pVisible)
        *pVisible = wnd->IsWindowVisible();
    return S_OK;
}

HRESULT COverlayHost::Broadcast(intptr_t v1, intptr_t v2, intptr_t v3, intptr_t v4, intptr_t v5) {
    for (std::size_t i = 0; i < m_listeners.size(); ++i)
        if (m_listeners[i])
            m_listeners[i]->Forward(v1, v2, v3, v4, v5);
    return S_OK;
}
