#include "platform/com/ComVariant.h"

#include "platform/com/IDispatch.h"

#include <utility>

CComVariant::CComVariant(int16_t value) {
    vt = VT_I2;
    iVal = value;
}

CComVariant::CComVariant(LONG value) {
    vt = VT_I4;
    lVal = value;
}

CComVariant::CComVariant(float value) {
    vt = VT_R4;
    fltVal = value;
}

CComVariant::CComVariant(double value) {
    vt = VT_R8;
    dblVal = value;
}

CComVariant::CComVariant(bool value) {
    vt = VT_BOOL;
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

CComVariant::CComVariant(const QString& value) {
    vt = VT_BSTR;
    bstrVal = SysAllocQString(value);
}

CComVariant::CComVariant(IDispatch* value) {
    vt = VT_DISPATCH;
    pdispVal = value;
    if (value)
        value->AddRef();
}

CComVariant::CComVariant(IUnknown* value) {
    vt = VT_UNKNOWN;
    punkVal = value;
    if (value)
        value->AddRef();
}

CComVariant CComVariant::FromArray(SAFEARRAY* array) {
    CComVariant v;
    VARTYPE element = VT_EMPTY;
    if (SUCCEEDED(SafeArrayGetVartype(array, &element))) {
        v.vt = VT_ARRAY | element;
        v.parray = array;
    }
    return v;
}

CComVariant CComVariant::Missing() {
    CComVariant v;
    v.vt = VT_ERROR;
    v.scode = DISP_E_PARAMNOTFOUND;
    return v;
}

CComVariant CComVariant::ByRef(LONG* value) {
    CComVariant v;
    v.vt = VT_BYREF | VT_I4;
    v.plVal = value;
    return v;
}

CComVariant CComVariant::ByRef(double* value) {
    CComVariant v;
    v.vt = VT_BYREF | VT_R8;
    v.pdblVal = value;
    return v;
}

CComVariant CComVariant::ByRef(BSTR* value) {
    CComVariant v;
    v.vt = VT_BYREF | VT_BSTR;
    v.pbstrVal = value;
    return v;
}

CComVariant CComVariant::ByRef(IDispatch** value) {
    CComVariant v;
    v.vt = VT_BYREF | VT_DISPATCH;
    v.ppdispVal = value;
    return v;
}

CComVariant CComVariant::ByRef(VARIANT* value) {
    CComVariant v;
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = value;
    return v;
}

CComVariant::CComVariant(const VARIANT& other) {
    VariantCopy(this, &other);
}

CComVariant::CComVariant(CComVariant&& other) noexcept : VARIANT(other) {
    VariantInit(&other);
}

CComVariant& CComVariant::operator=(const CComVariant& other) {
    if (this != &other)
        VariantCopy(this, &other);
    return *this;
}

CComVariant& CComVariant::operator=(CComVariant&& other) noexcept {
    if (this != &other) {
        VariantClear(this);
        static_cast<VARIANT&>(*this) = other;
        VariantInit(&other);
    }
    return *this;
}

CComVariant::~CComVariant() {
    VariantClear(this);
}

void CComVariant::Attach(VARIANT* source) {
    VariantClear(this);
    static_cast<VARIANT&>(*this) = *source;
    VariantInit(source);
}

void CComVariant::Detach(VARIANT* dest) {
    VariantClear(dest);
    *dest = *this;
    VariantInit(this);
}

LONG CComVariant::ToLong(LONG fallback) const {
    VARIANT v;
    if (FAILED(VariantChangeType(&v, this, 0, VT_I4)))
        return fallback;
    return v.lVal;
}

double CComVariant::ToDouble(double fallback) const {
    VARIANT v;
    if (FAILED(VariantChangeType(&v, this, 0, VT_R8)))
        return fallback;
    return v.dblVal;
}

QString CComVariant::ToQString() const {
    VARIANT v;
    if (FAILED(VariantChangeType(&v, this, 0, VT_BSTR)))
        return QString();
    const QString text = QStringFromBstr(v.bstrVal);
    VariantClear(&v);
    return text;
}
