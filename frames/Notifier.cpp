#include "frames/Notifier.h"

#include "frames/IFrameChangeListener.h"
#include "frames/ListenerArray.h"

#include <utility>
#include <vector>

CNotifier::CNotifier() : m_list(std::make_unique<CListenerArray>()) {}

CNotifier::~CNotifier() {
    DisconnectAll();
}

HRESULT CNotifier::QueryInterfaceById(int id, void** out) {
    HRESULT result = E_FAIL;
    if (AnswerCommonQuery(id, out, &result))
        return result;
    if (id == kIdListenerList) {
        *out = static_cast<IListenerList*>(this);
        return S_OK;
    }
    if (id == kIdNotifier) {
        *out = static_cast<INotifier*>(this);
        return S_OK;
    }
    return E_FAIL;
}

HRESULT CNotifier::Advise(IIdUnknown* listener, int* cookie) {
    return m_list->Advise(listener, cookie);
}

HRESULT CNotifier::Unadvise(int cookie) {
    return m_list->Unadvise(cookie);
}

HRESULT CNotifier::RemoveAll() {
    return m_list->RemoveAll();
}

HRESULT CNotifier::GetCount(int* count) {
    return m_list->GetCount(count);
}

HRESULT CNotifier::GetItem(int index, IIdUnknown** listener, int* cookie) {
    return m_list->GetItem(index, listener, cookie);
}

HRESULT CNotifier::Connect(INotifier* other) {
    if (!other)
        return E_POINTER;
    Advise(static_cast<IIdUnknown*>(other), nullptr);
    CListenerArray::StepCookieBack();
    other->Advise(static_cast<IIdUnknown*>(this), nullptr);
    return S_OK;
}

HRESULT CNotifier::DisconnectAll() {
    int count = 0;
    while (GetCount(&count) == S_OK && count > 0) {
        IIdUnknown* item = nullptr;
        int cookie = 0;
        GetItem(0, &item, &cookie);
        if (INotifier* peer = QueryId<INotifier>(item, kIdNotifier))
            peer->Unadvise(cookie);
        // Entry 0 goes in any case: a peer that is this notifier has removed it already.
        Unadvise(cookie);
    }
    return S_OK;
}

void NotifyFrameChanged(IListenerList* list, int frame, int flag) {
    if (!list)
        return;
    int count = 0;
    list->GetCount(&count);
    std::vector<std::pair<IIdUnknown*, int>> snapshot;
    snapshot.reserve(count);
    for (int index = 0; index < count; ++index) {
        IIdUnknown* item = nullptr;
        int cookie = 0;
        if (list->GetItem(index, &item, &cookie) == S_OK && item)
            snapshot.emplace_back(item, cookie);
    }
    const auto stillAdvised = [list](IIdUnknown* item, int cookie) {
        int n = 0;
        list->GetCount(&n);
        for (int i = 0; i < n; ++i) {
            IIdUnknown* current = nullptr;
            int currentCookie = 0;
            if (list->GetItem(i, &current, &currentCookie) == S_OK && current == item &&
                currentCookie == cookie)
                return true;
        }
        return false;
    };
    for (const auto& [item, cookie] : snapshot) {
        if (!stillAdvised(item, cookie))
            continue;
        if (auto* listener = QueryId<IFrameChangeListener>(item))
            listener->OnFrameChanged(frame, flag);
    }
}
