#pragma once

// CSafeArrayVariant: a VARIANT that owns a one-dimensional SAFEARRAY, the form in which
// pictures and value blocks travel to hosted controls.

#include "platform/com/ComVariant.h"
#include "platform/com/SafeArray.h"

#include <QByteArray>

class CSafeArrayVariant : public CComVariant {
public:
    CSafeArrayVariant() = default;

    // An array of count elements of vt from lowerBound, the first count elements of source
    // copied in (zeros without a source). E_INVALIDARG for an unsupported element type,
    // E_OUTOFMEMORY when the array cannot be made; the variant is then empty.
    HRESULT CreateOneDim(VARTYPE vt, ULONG count, const void* source = nullptr,
                         LONG lowerBound = 0);
    // The bytes as a VT_UI1 array.
    HRESULT CreateOneDim(const QByteArray& bytes);

    // The number of elements over all dimensions; 0 for an empty variant.
    ULONG GetElementCount() const;
};
