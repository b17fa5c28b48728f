#pragma once

// The outgoing side of an object's events: keeps the advised dispatch sinks and fires an event
// (dispatch id and arguments) at each of them.

#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"
#include "platform/com/IDispatch.h"

#include <vector>

class CEventSource {
public:
    // Keeps a reference to sink until Unadvise; *cookie identifies the connection.
    // E_POINTER for a null sink or cookie.
    HRESULT Advise(IDispatch* sink, DWORD* cookie);
    // CONNECT_E_NOCONNECTION for a cookie that is not advised.
    HRESULT Unadvise(DWORD cookie);
    // Releases every sink (the object's destruction).
    void UnadviseAll();
    size_t SinkCount() const { return m_sinks.size(); }

    // Calls DISPATCH_METHOD event on every sink with args in declaration order. A sink may
    // unadvise (itself or others) while the event is delivered; sinks' answers are ignored.
    void Fire(DISPID event, const std::vector<CComVariant>& args = {});

private:
    struct Sink {
        DWORD cookie;
        CComPtr<IDispatch> sink;
    };
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
};
