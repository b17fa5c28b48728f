#pragma once

// IDispatch: late-bound calls by dispatch id with VARIANT arguments, the way the program drives
// objects that live in other modules and the way controls fire their events.

#include "platform/com/IUnknown.h"
#include "platform/com/Variant.h"

inline constexpr WORD DISPATCH_METHOD = 0x1;
inline constexpr WORD DISPATCH_PROPERTYGET = 0x2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;

// Arguments of one call. rgvarg holds them in reverse order: rgvarg[0] is the last argument.
// A property put passes its value as the one named argument DISPID_PROPERTYPUT.
struct DISPPARAMS {
    VARIANTARG* rgvarg = nullptr;
    DISPID* rgdispidNamedArgs = nullptr;
    UINT cArgs = 0;
    UINT cNamedArgs = 0;
};

// What a server reports with DISP_E_EXCEPTION. The caller frees the strings (ClearExcepInfo in
// DispatchCall.h).
struct EXCEPINFO {
    WORD wCode = 0;
    BSTR bstrSource = nullptr;
    BSTR bstrDescription = nullptr;
    SCODE scode = 0;
};

class IDispatch : public IUnknown {
public:
    static constexpr IID kIid = GuidLiteral("{00020400-0000-0000-C000-000000000046}");
    using BaseInterface = IUnknown;

    // Calls member id with params (never changed except through by-reference arguments).
    // result (optional) receives the return value, owned by the caller. Errors:
    // DISP_E_MEMBERNOTFOUND for an unknown id or a kind (flags) the member does not have,
    // DISP_E_BADPARAMCOUNT, DISP_E_TYPEMISMATCH / DISP_E_PARAMNOTFOUND with *argErr = the
    // index in rgvarg of the faulty argument, DISP_E_NONAMEDARGS, DISP_E_EXCEPTION with
    // *excepInfo filled.
    virtual HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* excepInfo, UINT* argErr) = 0;

protected:
    ~IDispatch() = default;
};

inline constexpr IID IID_IDispatch = IDispatch::kIid;
