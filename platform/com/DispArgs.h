#pragma once

// Reads the arguments of one IDispatch::Invoke call on the server side, in declaration order,
// converting values the way automation does and finding out-value slots; each failure gives the
// HRESULT Invoke must return and sets the caller's argErr to the faulty argument.

#include "platform/com/IDispatch.h"

#include <QString>

class CDispArgs {
public:
    // params and argErr come from Invoke (argErr may be null).
    CDispArgs(const DISPPARAMS* params, UINT* argErr);

    // DISP_E_BADPARAMCOUNT unless exactly count positional arguments came; DISP_E_NONAMEDARGS
    // for named arguments other than the value of a property put.
    HRESULT Expect(UINT count) const;
    UINT Count() const;

    // Argument index (0 = first declared) converted by value: DISP_E_TYPEMISMATCH or
    // DISP_E_OVERFLOW when it does not convert, DISP_E_PARAMNOTFOUND when left out.
    HRESULT GetLong(UINT index, LONG* value) const;
    HRESULT GetShort(UINT index, int16_t* value) const;
    HRESULT GetDouble(UINT index, double* value) const;
    HRESULT GetString(UINT index, QString* value) const;
    // A borrowed pointer (no reference added); null passes as null.
    HRESULT GetDispatch(UINT index, IDispatch** value) const;
    // The argument as it came, by-reference arguments resolved (borrowed).
    HRESULT GetVariant(UINT index, const VARIANT** value) const;

    // Out-value slots: a pointer to the caller's storage, null when the caller passed a null
    // reference. An argument passed as VT_BYREF | VT_VARIANT is cleared and typed for the slot.
    // DISP_E_TYPEMISMATCH when the argument is not a reference of that type.
    HRESULT GetLongRef(UINT index, LONG** slot) const;
    HRESULT GetDoubleRef(UINT index, double** slot) const;
    // *slot receives a new BSTR / a new reference owned by the caller; the callee frees or
    // releases what was there before.
    HRESULT GetStringRef(UINT index, BSTR** slot) const;
    HRESULT GetDispatchRef(UINT index, IDispatch*** slot) const;

private:
    // The VARIANT of argument index, or DISP_E_BADPARAMCOUNT.
    HRESULT Arg(UINT index, VARIANT** arg) const;
    HRESULT Fail(UINT index, HRESULT hr) const;
    HRESULT Convert(UINT index, VARTYPE vt, VARIANT* out) const;
    HRESULT Ref(UINT index, VARTYPE vt, void** slot) const;

    const DISPPARAMS* m_params;
    UINT* m_argErr;
};
