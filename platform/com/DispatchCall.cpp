#include "platform/com/DispatchCall.h"

void ClearExcepInfo(EXCEPINFO* info) {
    if (!info)
        return;
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    *info = EXCEPINFO();
}

HRESULT DispatchInvoke(IDispatch* object, DISPID member, WORD flags,
                       const std::vector<CComVariant>& args, VARIANT* result, EXCEPINFO* excepInfo,
                       UINT* argErr) {
    if (!object)
        return E_POINTER;
    // Shallow copies in reverse order: the arguments stay owned by args.
    std::vector<VARIANTARG> reversed(args.rbegin(), args.rend());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params;
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && !reversed.empty()) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    if (result)
        VariantClear(result);
    UINT faulty = params.cArgs;  // Stays out of range unless the server names an argument.
    const HRESULT hr = object->Invoke(member, flags, &params, result, excepInfo, &faulty);
    if (argErr &&
        (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND || hr == DISP_E_OVERFLOW) &&
        faulty < params.cArgs)
        *argErr = params.cArgs - 1 - faulty;
    return hr;
}
