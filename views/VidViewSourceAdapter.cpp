#include "views/VidViewSourceAdapter.h"

#include "frames/IListenerList.h"

CVidViewSourceAdapter::CVidViewSourceAdapter() : m_listener(this) {}

CVidViewSourceAdapter::~CVidViewSourceAdapter() {
    Release();
}

HRESULT CVidViewSourceAdapter::SetHost(IFrameWindowAdapter* host) {
    m_host = host;
    return S_OK;
}

HRESULT CVidViewSourceAdapter::Release() {
    // Held here until the end: the object goes with the source, and must not go while it is
    // being detached.
    const CFrameSourcePtr derived = m_source;
    if (m_link) {
        if (!derived.IsEmpty())
            if (INotifier* notifier = derived->GetNotifier())
                notifier->DisconnectAll();
        ForgetChannel(m_channel);
        m_link->SetOwner(nullptr);
        m_link->SetSource(CFrameSourcePtr());
    }
    m_channel = nullptr;
    m_channelDrawing = nullptr;
    m_link = nullptr;
    m_source = CFrameSourcePtr(new CFrameSource);
    return S_OK;
}

void CVidViewSourceAdapter::ForgetChannel(IIdUnknown*) {}

HRESULT CVidViewSourceAdapter::HasChannel(int* out) {
    if (!out)
        return E_FAIL;
    *out = m_madeChannel ? 1 : 0;
    return S_OK;
}

HRESULT CVidViewSourceAdapter::GetListener(IOverlayRedraw** out) {
    if (!out)
        return E_POINTER;
    *out = &m_listener;
    return S_OK;
}

HRESULT CVidViewSourceAdapter::Draw(CDC* dc, const CRect& area) {
    if (m_channelDrawing)
        m_channelDrawing->Draw(dc, area);
    return S_OK;
}

CFrameSourcePtr CVidViewSourceAdapter::GetDerivedSource() const {
    return m_channel ? m_source : CFrameSourcePtr();
}

void CVidViewSourceAdapter::Keep(CFrameSource* source, IIdUnknown* object, IOverlayDraw* drawing,
                                 IDerivedSourceLink* link, IIdUnknown** out) {
    CFrameSourcePtr made(source);
    Release();
    m_source = made;
    m_channel = object;
    m_channelDrawing = drawing;
    m_link = link;
    m_madeChannel = true;
    m_link->SetSource(m_source);
    if (out)
        *out = m_channel;
    m_listener.Invalidate();
}
