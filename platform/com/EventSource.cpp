#include "platform/com/EventSource.h"

#include "platform/com/DispatchCall.h"

#include <algorithm>

HRESULT CEventSource::Advise(IDispatch* sink, DWORD* cookie) {
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = m_nextCookie++;
    m_sinks.push_back({*cookie, CComPtr<IDispatch>(sink)});
    return S_OK;
}

HRESULT CEventSource::Unadvise(DWORD cookie) {
    const auto found = std::find_if(m_sinks.begin(), m_sinks.end(),
                                    [cookie](const Sink& s) { return s.cookie == cookie; });
    if (found == m_sinks.end())
        return CONNECT_E_NOCONNECTION;
    m_sinks.erase(found);
    return S_OK;
}

void CEventSource::UnadviseAll() {
    m_sinks.clear();
}

void CEventSource::Fire(DISPID event, const std::vector<CComVariant>& args) {
    // A snapshot holding its own references, so sinks may change the list meanwhile.
    const std::vector<Sink> sinks = m_sinks;
    for (const Sink& s : sinks) {
        const bool stillAdvised =
            std::any_of(m_sinks.begin(), m_sinks.end(),
                        [&s](const Sink& current) { return current.cookie == s.cookie; });
        if (stillAdvised)
            DispatchInvoke(s.sink.Get(), event, DISPATCH_METHOD, args, nullptr);
    }
}
