#include "frames/MessagePoster.h"

#include "platform/framework/MessageQueue.h"

HRESULT CMessagePoster::QueryInterfaceById(int id, void** out) {
    HRESULT result = E_FAIL;
    if (AnswerCommonQuery(id, out, &result))
        return result;
    if (id == kIdMessagePoster) {
        *out = static_cast<IMessagePoster*>(this);
        return S_OK;
    }
    return E_FAIL;
}

HRESULT CMessagePoster::SetWindow(HWND window) {
    m_window = window;
    return S_OK;
}

HRESULT CMessagePoster::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    ::PostMessage(m_window, message, wParam, lParam);
    return S_OK;
}
