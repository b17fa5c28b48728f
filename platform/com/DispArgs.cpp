#include "platform/com/DispArgs.h"

namespace {

// Where a by-reference argument of type VT_BYREF | vt points.
void* PointedStorage(const VARIANT& v, VARTYPE vt) {
    switch (vt) {
        case VT_I4:
            return v.plVal;
        case VT_R8:
            return v.pdblVal;
        case VT_BSTR:
            return v.pbstrVal;
        default:
            return v.ppdispVal;
    }
}

// The member of v that holds a value of type vt.
void* OwnStorage(VARIANT* v, VARTYPE vt) {
    switch (vt) {
        case VT_I4:
            return &v->lVal;
        case VT_R8:
            return &v->dblVal;
        case VT_BSTR:
            return &v->bstrVal;
        default:
            return &v->pdispVal;
    }
}

}  // namespace

CDispArgs::CDispArgs(const DISPPARAMS* params, UINT* argErr) : m_params(params), m_argErr(argErr) {}

UINT CDispArgs::Count() const {
    return m_params ? m_params->cArgs : 0;
}

HRESULT CDispArgs::Expect(UINT count) const {
    const UINT named = m_params ? m_params->cNamedArgs : 0;
    for (UINT i = 0; i < named; ++i) {
        if (!m_params->rgdispidNamedArgs || m_params->rgdispidNamedArgs[i] != DISPID_PROPERTYPUT)
            return DISP_E_NONAMEDARGS;
    }
    if (Count() != count || (Count() > 0 && !m_params->rgvarg))
        return DISP_E_BADPARAMCOUNT;
    return S_OK;
}

HRESULT CDispArgs::Arg(UINT index, VARIANT** arg) const {
    if (index >= Count() || !m_params->rgvarg)
        return DISP_E_BADPARAMCOUNT;
    // The last declared argument comes first; a property put's value (the one named argument)
    // stays first, as the last declared argument.
    *arg = &m_params->rgvarg[Count() - 1 - index];
    return S_OK;
}

HRESULT CDispArgs::Fail(UINT index, HRESULT hr) const {
    if (m_argErr && index < Count())
        *m_argErr = Count() - 1 - index;
    return hr;
}

HRESULT CDispArgs::Convert(UINT index, VARTYPE vt, VARIANT* out) const {
    VARIANT* arg = nullptr;
    HRESULT hr = Arg(index, &arg);
    if (FAILED(hr))
        return hr;
    VARIANT value;
    hr = VariantCopyInd(&value, arg);
    if (FAILED(hr))
        return Fail(index, DISP_E_TYPEMISMATCH);
    if (value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND)
        return Fail(index, DISP_E_PARAMNOTFOUND);
    hr = VariantChangeType(out, &value, 0, vt);
    VariantClear(&value);
    if (FAILED(hr))
        return Fail(index, hr == DISP_E_OVERFLOW ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH);
    return S_OK;
}

HRESULT CDispArgs::GetLong(UINT index, LONG* value) const {
    VARIANT v;
    const HRESULT hr = Convert(index, VT_I4, &v);
    if (SUCCEEDED(hr))
        *value = v.lVal;
    return hr;
}

HRESULT CDispArgs::GetShort(UINT index, int16_t* value) const {
    VARIANT v;
    const HRESULT hr = Convert(index, VT_I2, &v);
    if (SUCCEEDED(hr))
        *value = v.iVal;
    return hr;
}

HRESULT CDispArgs::GetDouble(UINT index, double* value) const {
    VARIANT v;
    const HRESULT hr = Convert(index, VT_R8, &v);
    if (SUCCEEDED(hr))
        *value = v.dblVal;
    return hr;
}

HRESULT CDispArgs::GetString(UINT index, QString* value) const {
    VARIANT v;
    const HRESULT hr = Convert(index, VT_BSTR, &v);
    if (SUCCEEDED(hr)) {
        *value = QStringFromBstr(v.bstrVal);
        VariantClear(&v);
    }
    return hr;
}

HRESULT CDispArgs::GetDispatch(UINT index, IDispatch** value) const {
    VARIANT* arg = nullptr;
    HRESULT hr = Arg(index, &arg);
    if (FAILED(hr))
        return hr;
    if (arg->vt == (VT_BYREF | VT_VARIANT) && arg->pvarVal)
        arg = arg->pvarVal;
    if (arg->vt == VT_DISPATCH) {
        *value = arg->pdispVal;
        return S_OK;
    }
    if (arg->vt == (VT_BYREF | VT_DISPATCH) && arg->ppdispVal) {
        *value = *arg->ppdispVal;
        return S_OK;
    }
    return Fail(index, DISP_E_TYPEMISMATCH);
}

HRESULT CDispArgs::GetVariant(UINT index, const VARIANT** value) const {
    VARIANT* arg = nullptr;
    const HRESULT hr = Arg(index, &arg);
    if (FAILED(hr))
        return hr;
    if (arg->vt == (VT_BYREF | VT_VARIANT)) {
        if (!arg->pvarVal)
            return Fail(index, DISP_E_TYPEMISMATCH);
        arg = arg->pvarVal;
    }
    *value = arg;
    return S_OK;
}

HRESULT CDispArgs::Ref(UINT index, VARTYPE vt, void** slot) const {
    VARIANT* arg = nullptr;
    HRESULT hr = Arg(index, &arg);
    if (FAILED(hr))
        return hr;
    if (arg->vt == (VT_BYREF | vt)) {
        *slot = PointedStorage(*arg, vt);
        return S_OK;
    }
    if (arg->vt == (VT_BYREF | VT_VARIANT) && arg->pvarVal) {
        VARIANT* target = arg->pvarVal;
        if (FAILED(VariantClear(target)))
            return Fail(index, DISP_E_TYPEMISMATCH);
        target->vt = vt;
        *slot = OwnStorage(target, vt);
        return S_OK;
    }
    return Fail(index, DISP_E_TYPEMISMATCH);
}

HRESULT CDispArgs::GetLongRef(UINT index, LONG** slot) const {
    return Ref(index, VT_I4, reinterpret_cast<void**>(slot));
}

HRESULT CDispArgs::GetDoubleRef(UINT index, double** slot) const {
    return Ref(index, VT_R8, reinterpret_cast<void**>(slot));
}

HRESULT CDispArgs::GetStringRef(UINT index, BSTR** slot) const {
    return Ref(index, VT_BSTR, reinterpret_cast<void**>(slot));
}

HRESULT CDispArgs::GetDispatchRef(UINT index, IDispatch*** slot) const {
    return Ref(index, VT_DISPATCH, reinterpret_cast<void**>(slot));
}
