#include "frames/ListenerArray.h"

#include <algorithm>
#include <limits>

namespace {

// Lists are changed on the user-interface thread only.
int s_lastCookie = 0;

}  // namespace

int CListenerArray::NextCookie() {
    s_lastCookie = s_lastCookie >= std::numeric_limits<int>::max() ? 1 : s_lastCookie + 1;
    return s_lastCookie;
}

void CListenerArray::StepCookieBack() {
    // After a wrap the last cookie is 1: stepping back to 0 makes the next one 1 again.
    if (s_lastCookie > 0)
        --s_lastCookie;
}

void CListenerArray::SetLastCookie(int cookie) {
    s_lastCookie = cookie > 0 ? cookie : 0;
}

HRESULT CListenerArray::QueryInterfaceById(int id, void** out) {
    HRESULT result = E_FAIL;
    if (AnswerCommonQuery(id, out, &result))
        return result;
    if (id == kIdListenerList) {
        *out = static_cast<IListenerList*>(this);
        return S_OK;
    }
    return E_FAIL;
}

HRESULT CListenerArray::Advise(IIdUnknown* listener, int* cookie) {
    const int newCookie = NextCookie();
    m_cookies.push_back(newCookie);
    m_listeners.push_back(listener);
    if (cookie)
        *cookie = newCookie;
    return S_OK;
}

HRESULT CListenerArray::Unadvise(int cookie) {
    const auto it = std::find(m_cookies.begin(), m_cookies.end(), cookie);
    if (it == m_cookies.end())
        return E_FAIL;
    const auto index = it - m_cookies.begin();
    m_cookies.erase(it);
    m_listeners.erase(m_listeners.begin() + index);
    return S_OK;
}

HRESULT CListenerArray::RemoveAll() {
    m_cookies.clear();
    m_listeners.clear();
    return S_OK;
}

HRESULT CListenerArray::GetCount(int* count) {
    if (count)
        *count = static_cast<int>(m_listeners.size());
    return S_OK;
}

HRESULT CListenerArray::GetItem(int index, IIdUnknown** listener, int* cookie) {
    if (index < 0 || index >= static_cast<int>(m_listeners.size()) || !listener)
        return E_FAIL;
    *listener = m_listeners[index];
    if (cookie)
        *cookie = m_cookies[index];
    return S_OK;
}
