#pragma once

// An owning VARIANT for our own code: what it holds is freed by its destructor. It is a VARIANT,
// so its address can be passed wherever a VARIANT* is expected.

#include "platform/com/Variant.h"

#include <QString>

class CComVariant : public VARIANT {
public:
    CComVariant() = default;
    CComVariant(int16_t value);
    CComVariant(LONG value);
    CComVariant(float value);
    CComVariant(double value);
    // VT_BOOL with VARIANT_TRUE / VARIANT_FALSE.
    CComVariant(bool value);
    CComVariant(const QString& value);
    CComVariant(const char16_t* value) : CComVariant(QString::fromUtf16(value)) {}
    // One new reference to the object (a null pointer makes a null VT_DISPATCH / VT_UNKNOWN).
    CComVariant(IDispatch* value);
    CComVariant(IUnknown* value);
    // Takes ownership of a SAFEARRAY of the given element type (VT_ARRAY | its type).
    static CComVariant FromArray(SAFEARRAY* array);
    // An argument left out of a call (VT_ERROR with DISP_E_PARAMNOTFOUND).
    static CComVariant Missing();
    // By-reference out-value slots; the storage stays the caller's.
    static CComVariant ByRef(LONG* value);
    static CComVariant ByRef(double* value);
    static CComVariant ByRef(BSTR* value);
    static CComVariant ByRef(IDispatch** value);
    static CComVariant ByRef(VARIANT* value);

    CComVariant(const VARIANT& other);
    CComVariant(const CComVariant& other) : CComVariant(static_cast<const VARIANT&>(other)) {}
    CComVariant(CComVariant&& other) noexcept;
    CComVariant& operator=(const CComVariant& other);
    CComVariant& operator=(CComVariant&& other) noexcept;
    ~CComVariant();

    HRESULT Clear() { return VariantClear(this); }
    // In-place conversion; the value is kept when it fails.
    HRESULT ChangeType(VARTYPE vt, uint16_t flags = 0) {
        return VariantChangeType(this, this, flags, vt);
    }
    // Adopts a VARIANT the caller owns (leaving source empty) / hands the value over.
    void Attach(VARIANT* source);
    void Detach(VARIANT* dest);

    // The value converted for reading; fallback when it cannot be converted.
    LONG ToLong(LONG fallback = 0) const;
    double ToDouble(double fallback = 0) const;
    QString ToQString() const;
};
