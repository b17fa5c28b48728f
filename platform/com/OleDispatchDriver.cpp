#include "platform/com/OleDispatchDriver.h"

#include "platform/com/DispatchCall.h"

void COleDispatchDriver::AttachDispatch(IDispatch* object, bool autoRelease) {
    if (autoRelease)
        m_object.Attach(object);
    else
        m_object = CComPtr<IDispatch>(object);
}

LONG COleDispatchDriver::InvokeLong(DISPID member, const std::vector<CComVariant>& args) const {
    if (!m_object)
        throw COleDispatchException(E_POINTER, member);
    CComVariant result;
    const HRESULT hr = DispatchInvoke(m_object.Get(), member, DISPATCH_METHOD, args, &result);
    if (FAILED(hr))
        throw COleDispatchException(hr, member);
    if (FAILED(result.ChangeType(VT_I4)))
        throw COleDispatchException(DISP_E_TYPEMISMATCH, member);
    return result.lVal;
}
