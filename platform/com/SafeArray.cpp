#include "platform/com/SafeArray.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

ULONG ElementSize(VARTYPE vt) {
    switch (vt) {
        case VT_UI1:
            return 1;
        case VT_I2:
            return 2;
        case VT_I4:
        case VT_R4:
            return 4;
        case VT_R8:
            return 8;
        default:
            return 0;
    }
}

// Total element count, or false when it overflows what one allocation can hold.
bool CountElements(UINT dims, const SAFEARRAYBOUND* bounds, ULONG elementSize, size_t* count) {
    size_t total = 1;
    for (UINT d = 0; d < dims; ++d) {
        const size_t n = bounds[d].cElements;
        if (n != 0 && total > std::numeric_limits<uint32_t>::max() / elementSize / n)
            return false;
        total *= n;
    }
    *count = total;
    return true;
}

// Offset in elements of the given indices, or false outside the bounds.
bool Offset(const SAFEARRAY* array, const LONG* indices, size_t* offset) {
    size_t result = 0;
    size_t stride = 1;
    for (UINT d = 0; d < array->cDims; ++d) {
        const SAFEARRAYBOUND& b = array->rgsabound[d];
        const int64_t i = int64_t{indices[d]} - b.lLbound;
        if (i < 0 || i >= int64_t{b.cElements})
            return false;
        result += static_cast<size_t>(i) * stride;
        stride *= b.cElements;
    }
    *offset = result;
    return true;
}

}  // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds) {
    const ULONG size = ElementSize(vt);
    if (size == 0 || dims < 1 || dims > kSafeArrayMaxDims || !bounds)
        return nullptr;
    size_t count = 0;
    if (!CountElements(dims, bounds, size, &count))
        return nullptr;
    auto* array = new (std::nothrow) SAFEARRAY;
    if (!array)
        return nullptr;
    array->cDims = static_cast<uint16_t>(dims);
    array->vt = vt;
    array->cbElements = size;
    for (UINT d = 0; d < dims; ++d)
        array->rgsabound[d] = bounds[d];
    if (count > 0) {
        array->pvData = std::calloc(count, size);
        if (!array->pvData) {
            delete array;
            return nullptr;
        }
    }
    return array;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
    const SAFEARRAYBOUND bound{elements, lowerBound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
    if (!array)
        return S_OK;
    if (array->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    std::free(array->pvData);
    delete array;
    return S_OK;
}

HRESULT SafeArrayCopy(const SAFEARRAY* array, SAFEARRAY** copy) {
    if (!copy)
        return E_POINTER;
    *copy = nullptr;
    if (!array)
        return S_OK;
    SAFEARRAY* result = SafeArrayCreate(array->vt, array->cDims, array->rgsabound);
    if (!result)
        return E_OUTOFMEMORY;
    if (array->pvData)
        std::memcpy(result->pvData, array->pvData,
                    size_t{SafeArrayGetElementCount(array)} * array->cbElements);
    *copy = result;
    return S_OK;
}

UINT SafeArrayGetDim(const SAFEARRAY* array) {
    return array ? array->cDims : 0;
}

UINT SafeArrayGetElemsize(const SAFEARRAY* array) {
    return array ? array->cbElements : 0;
}

HRESULT SafeArrayGetVartype(const SAFEARRAY* array, VARTYPE* vt) {
    if (!array || !vt)
        return E_INVALIDARG;
    *vt = array->vt;
    return S_OK;
}

HRESULT SafeArrayGetLBound(const SAFEARRAY* array, UINT dim, LONG* bound) {
    if (!array || !bound)
        return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims)
        return DISP_E_BADINDEX;
    *bound = array->rgsabound[dim - 1].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(const SAFEARRAY* array, UINT dim, LONG* bound) {
    if (!array || !bound)
        return E_INVALIDARG;
    if (dim < 1 || dim > array->cDims)
        return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = array->rgsabound[dim - 1];
    *bound = static_cast<LONG>(int64_t{b.lLbound} + int64_t{b.cElements} - 1);
    return S_OK;
}

ULONG SafeArrayGetElementCount(const SAFEARRAY* array) {
    if (!array || array->cDims == 0)
        return 0;
    ULONG count = 1;
    for (UINT d = 0; d < array->cDims; ++d)
        count *= array->rgsabound[d].cElements;
    return count;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    if (!array || !data)
        return E_INVALIDARG;
    ++array->cLocks;
    *data = array->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
    if (!array)
        return E_INVALIDARG;
    if (array->cLocks == 0)
        return E_UNEXPECTED;
    --array->cLocks;
    return S_OK;
}

HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices, const void* value) {
    if (!array || !indices || !value)
        return E_INVALIDARG;
    size_t offset = 0;
    if (!Offset(array, indices, &offset))
        return DISP_E_BADINDEX;
    std::memcpy(static_cast<char*>(array->pvData) + offset * array->cbElements, value,
                array->cbElements);
    return S_OK;
}

HRESULT SafeArrayGetElement(const SAFEARRAY* array, const LONG* indices, void* value) {
    if (!array || !indices || !value)
        return E_INVALIDARG;
    size_t offset = 0;
    if (!Offset(array, indices, &offset))
        return DISP_E_BADINDEX;
    std::memcpy(value, static_cast<const char*>(array->pvData) + offset * array->cbElements,
                array->cbElements);
    return S_OK;
}
