#pragma once

// Calling an IDispatch object from our own code: arguments in declaration order, packed the way
// servers expect them.

#include "platform/com/ComVariant.h"
#include "platform/com/IDispatch.h"

#include <vector>

// Frees the strings of info and resets it.
void ClearExcepInfo(EXCEPINFO* info);

// Calls member of object with flags (DISPATCH_METHOD, DISPATCH_PROPERTYGET, ...) and args in
// declaration order; for DISPATCH_PROPERTYPUT the last argument is the value put. result
// (optional, cleared first) receives the return value; argErr (optional) the index in args of a
// faulty argument. E_POINTER for a null object; otherwise what Invoke answers.
HRESULT DispatchInvoke(IDispatch* object, DISPID member, WORD flags,
                       const std::vector<CComVariant>& args, VARIANT* result,
                       EXCEPINFO* excepInfo = nullptr, UINT* argErr = nullptr);

inline HRESULT DispatchGet(IDispatch* object, DISPID member, VARIANT* result) {
    return DispatchInvoke(object, member, DISPATCH_PROPERTYGET, {}, result);
}

inline HRESULT DispatchPut(IDispatch* object, DISPID member, const CComVariant& value) {
    return DispatchInvoke(object, member, DISPATCH_PROPERTYPUT, {value}, nullptr);
}
