#include "platform/com/Variant.h"

#include "platform/com/IDispatch.h"
#include "platform/wintypes/CLocale.h"

#include <cmath>
#include <limits>

namespace {

bool IsKnownScalar(VARTYPE vt) {
    switch (vt) {
        case VT_EMPTY:
        case VT_NULL:
        case VT_I2:
        case VT_I4:
        case VT_R4:
        case VT_R8:
        case VT_BSTR:
        case VT_DISPATCH:
        case VT_ERROR:
        case VT_BOOL:
        case VT_UNKNOWN:
        case VT_UI1:
            return true;
        default:
            return false;
    }
}

bool IsKnownType(VARTYPE vt) {
    if (vt & VT_BYREF) {
        const VARTYPE base = vt & ~VT_BYREF;
        if (base & VT_ARRAY)
            return IsKnownScalar(base & ~VT_ARRAY);
        return base == VT_VARIANT || (IsKnownScalar(base) && base != VT_EMPTY && base != VT_NULL);
    }
    if (vt & VT_ARRAY)
        return IsKnownScalar(vt & ~VT_ARRAY);
    return IsKnownScalar(vt);
}

bool IsNumeric(VARTYPE vt) {
    return vt == VT_I2 || vt == VT_I4 || vt == VT_R4 || vt == VT_R8 || vt == VT_UI1 ||
           vt == VT_BOOL || vt == VT_EMPTY;
}

double NumericValue(const VARIANT& v) {
    switch (v.vt) {
        case VT_I2:
            return v.iVal;
        case VT_I4:
            return v.lVal;
        case VT_R4:
            return v.fltVal;
        case VT_R8:
            return v.dblVal;
        case VT_UI1:
            return v.bVal;
        case VT_BOOL:
            return v.boolVal ? -1.0 : 0.0;
        default:
            return 0.0;
    }
}

// A number written in the C locale, surrounded by blanks at most.
bool ParseNumber(const QString& text, double* value) {
    const QByteArray bytes = text.toLatin1();
    int consumed = -1;
    if (text.isEmpty() || ScanC(bytes.constData(), " %lf %n", value, &consumed) != 1)
        return false;
    return consumed == bytes.size() && std::isfinite(*value);
}

// Integers round half to even, as automation converts; false outside [low, high].
bool ToInteger(double value, double low, double high, int64_t* out) {
    if (std::isnan(value))
        return false;
    const double rounded = std::nearbyint(value);  // Default rounding mode: half to even.
    if (rounded < low || rounded > high)
        return false;
    *out = static_cast<int64_t>(rounded);
    return true;
}

HRESULT NumberTo(double value, VARTYPE vt, VARIANT* out) {
    int64_t n = 0;
    switch (vt) {
        case VT_I2:
            if (!ToInteger(value, INT16_MIN, INT16_MAX, &n))
                return DISP_E_OVERFLOW;
            out->iVal = static_cast<int16_t>(n);
            break;
        case VT_I4:
            if (!ToInteger(value, INT32_MIN, INT32_MAX, &n))
                return DISP_E_OVERFLOW;
            out->lVal = static_cast<LONG>(n);
            break;
        case VT_UI1:
            if (!ToInteger(value, 0, UINT8_MAX, &n))
                return DISP_E_OVERFLOW;
            out->bVal = static_cast<BYTE>(n);
            break;
        case VT_R4:
            if (std::fabs(value) > std::numeric_limits<float>::max())
                return DISP_E_OVERFLOW;
            out->fltVal = static_cast<float>(value);
            break;
        case VT_R8:
            out->dblVal = value;
            break;
        case VT_BOOL:
            out->boolVal = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        default:
            return DISP_E_TYPEMISMATCH;
    }
    out->vt = vt;
    return S_OK;
}

QString NumberText(const VARIANT& v, uint16_t flags) {
    switch (v.vt) {
        case VT_R4:
            return QFormatC("%.7g", static_cast<double>(v.fltVal));
        case VT_R8:
            return QFormatC("%.15g", v.dblVal);
        case VT_BOOL:
            if (flags & VARIANT_ALPHABOOL)
                return v.boolVal ? QStringLiteral("True") : QStringLiteral("False");
            return v.boolVal ? QStringLiteral("-1") : QStringLiteral("0");
        case VT_EMPTY:
            return QString();
        default:
            return QString::number(static_cast<qlonglong>(NumericValue(v)));
    }
}

HRESULT StringTo(BSTR text, VARTYPE vt, VARIANT* out) {
    const QString s = QStringFromBstr(text).trimmed();
    if (vt == VT_BOOL) {
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return NumberTo(1, vt, out);
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return NumberTo(0, vt, out);
    }
    double value = 0;
    if (!ParseNumber(s, &value))
        return DISP_E_TYPEMISMATCH;
    return NumberTo(value, vt, out);
}

// Converts a value that is not by reference into a fresh VARIANT.
HRESULT Convert(const VARIANT& source, VARTYPE vt, uint16_t flags, VARIANT* out) {
    if (source.vt == vt)
        return VariantCopy(out, &source);
    if (vt == VT_EMPTY)
        return S_OK;
    if ((source.vt & VT_ARRAY) || (vt & VT_ARRAY) || source.vt == VT_NULL || vt == VT_NULL ||
        source.vt == VT_ERROR || vt == VT_ERROR)
        return DISP_E_TYPEMISMATCH;
    if (vt == VT_DISPATCH || vt == VT_UNKNOWN) {
        if (source.vt != VT_DISPATCH && source.vt != VT_UNKNOWN)
            return DISP_E_TYPEMISMATCH;
        out->vt = vt;
        if (!source.punkVal) {
            out->punkVal = nullptr;
            return S_OK;
        }
        const IID& iid = vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown;
        void* object = nullptr;
        const HRESULT hr = source.punkVal->QueryInterface(iid, &object);
        if (FAILED(hr)) {
            out->vt = VT_EMPTY;
            return DISP_E_TYPEMISMATCH;
        }
        out->punkVal = static_cast<IUnknown*>(object);
        return S_OK;
    }
    if (vt == VT_BSTR) {
        if (!IsNumeric(source.vt))
            return DISP_E_TYPEMISMATCH;
        out->bstrVal = SysAllocQString(NumberText(source, flags));
        if (!out->bstrVal)
            return E_OUTOFMEMORY;
        out->vt = VT_BSTR;
        return S_OK;
    }
    if (source.vt == VT_BSTR)
        return StringTo(source.bstrVal, vt, out);
    if (!IsNumeric(source.vt))
        return DISP_E_TYPEMISMATCH;
    return NumberTo(NumericValue(source), vt, out);
}

}  // namespace

void VariantInit(VARIANT* v) {
    v->vt = VT_EMPTY;
    v->m_payload = 0;
}

HRESULT VariantClear(VARIANT* v) {
    if (!v)
        return E_INVALIDARG;
    if (!IsKnownType(v->vt))
        return DISP_E_BADVARTYPE;
    if ((v->vt & VT_ARRAY) && !(v->vt & VT_BYREF)) {
        const HRESULT hr = SafeArrayDestroy(v->parray);
        if (FAILED(hr))
            return hr;
    } else if (v->vt == VT_BSTR) {
        SysFreeString(v->bstrVal);
    } else if ((v->vt == VT_DISPATCH || v->vt == VT_UNKNOWN) && v->punkVal) {
        v->punkVal->Release();
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* source) {
    if (!dest || !source)
        return E_INVALIDARG;
    if (!IsKnownType(source->vt))
        return DISP_E_BADVARTYPE;
    if (dest == source)
        return S_OK;
    VARIANT copy = *source;
    if ((source->vt & VT_ARRAY) && !(source->vt & VT_BYREF)) {
        const HRESULT hr = SafeArrayCopy(source->parray, &copy.parray);
        if (FAILED(hr))
            return hr;
    } else if (source->vt == VT_BSTR && source->bstrVal) {
        copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
        if (!copy.bstrVal)
            return E_OUTOFMEMORY;
    } else if ((source->vt == VT_DISPATCH || source->vt == VT_UNKNOWN) && source->punkVal) {
        source->punkVal->AddRef();
    }
    const HRESULT hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *dest = copy;
    return S_OK;
}

HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* source) {
    if (!dest || !source)
        return E_INVALIDARG;
    if (!(source->vt & VT_BYREF))
        return VariantCopy(dest, source);
    if (!IsKnownType(source->vt))
        return DISP_E_BADVARTYPE;
    if (!source->pvarVal)
        return E_INVALIDARG;
    const VARTYPE base = source->vt & ~VT_BYREF;
    if (base == VT_VARIANT)
        return VariantCopyInd(dest, source->pvarVal);
    VARIANT value;
    value.vt = base;
    if (base & VT_ARRAY) {
        value.parray = *source->pparray;
    } else {
        switch (base) {
            case VT_I2:
                value.iVal = *source->piVal;
                break;
            case VT_I4:
            case VT_ERROR:
                value.lVal = *source->plVal;
                break;
            case VT_R4:
                value.fltVal = *source->pfltVal;
                break;
            case VT_R8:
                value.dblVal = *source->pdblVal;
                break;
            case VT_BOOL:
                value.boolVal = *source->pboolVal;
                break;
            case VT_UI1:
                value.bVal = *source->pbVal;
                break;
            case VT_BSTR:
                value.bstrVal = *source->pbstrVal;
                break;
            default:  // VT_DISPATCH, VT_UNKNOWN
                value.punkVal = *source->ppunkVal;
                break;
        }
    }
    return VariantCopy(dest, &value);
}

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* source, uint16_t flags, VARTYPE vt) {
    if (!dest || !source)
        return E_INVALIDARG;
    if (!IsKnownType(source->vt) || !IsKnownType(vt) || (vt & VT_BYREF))
        return DISP_E_BADVARTYPE;
    VARIANT value;
    HRESULT hr = VariantCopyInd(&value, source);
    if (FAILED(hr))
        return hr;
    VARIANT converted;
    hr = Convert(value, vt, flags, &converted);
    VariantClear(&value);
    if (FAILED(hr))
        return hr;
    hr = VariantClear(dest);
    if (FAILED(hr)) {
        VariantClear(&converted);
        return hr;
    }
    *dest = converted;
    return S_OK;
}
