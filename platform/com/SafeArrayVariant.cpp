#include "platform/com/SafeArrayVariant.h"

#include "platform/com/Variant.h"

#include <cstring>

HRESULT CSafeArrayVariant::CreateOneDim(VARTYPE vt, ULONG count, const void* source,
                                        LONG lowerBound) {
    VariantClear(this);
    if (vt & (VT_ARRAY | VT_BYREF))
        return E_INVALIDARG;
    SAFEARRAY* array = SafeArrayCreateVector(vt, lowerBound, count);
    if (!array)
        return count == 0 ? E_INVALIDARG : E_OUTOFMEMORY;
    if (source && count > 0) {
        void* data = nullptr;
        if (FAILED(SafeArrayAccessData(array, &data))) {
            SafeArrayDestroy(array);
            return E_UNEXPECTED;
        }
        std::memcpy(data, source, size_t(count) * SafeArrayGetElemsize(array));
        SafeArrayUnaccessData(array);
    }
    static_cast<CComVariant&>(*this) = FromArray(array);
    return S_OK;
}

HRESULT CSafeArrayVariant::CreateOneDim(const QByteArray& bytes) {
    return CreateOneDim(VT_UI1, ULONG(bytes.size()), bytes.constData());
}

ULONG CSafeArrayVariant::GetElementCount() const {
    return (vt & VT_ARRAY) && parray ? SafeArrayGetElementCount(parray) : 0;
}
