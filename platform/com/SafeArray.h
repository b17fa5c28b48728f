#pragma once

// SAFEARRAY: a counted array of one or two dimensions with lower bounds, carried in VARIANTs.
// Elements are plain numbers (VT_UI1, VT_I2, VT_I4, VT_R4, VT_R8). In memory the first index
// runs fastest, as automation servers expect. Use the functions, not the fields.

#include "platform/com/VarType.h"
#include "platform/wintypes/WinError.h"

struct SAFEARRAYBOUND {
    ULONG cElements = 0;
    LONG lLbound = 0;
};

inline constexpr UINT kSafeArrayMaxDims = 2;

struct SAFEARRAY {
    uint16_t cDims = 0;
    VARTYPE vt = VT_EMPTY;
    ULONG cbElements = 0;
    ULONG cLocks = 0;
    void* pvData = nullptr;
    SAFEARRAYBOUND rgsabound[kSafeArrayMaxDims];  // In dimension order 1, 2.
};

// A zeroed array of vt with dims dimensions; nullptr for an unsupported element type or
// dimension count, or when the size does not fit in memory. Free with SafeArrayDestroy.
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements);
// DISP_E_ARRAYISLOCKED while the data is accessed; S_OK for null.
HRESULT SafeArrayDestroy(SAFEARRAY* array);
// A deep copy in *copy (nullptr for a null array); E_OUTOFMEMORY when it cannot be made.
HRESULT SafeArrayCopy(const SAFEARRAY* array, SAFEARRAY** copy);

UINT SafeArrayGetDim(const SAFEARRAY* array);
UINT SafeArrayGetElemsize(const SAFEARRAY* array);
HRESULT SafeArrayGetVartype(const SAFEARRAY* array, VARTYPE* vt);
// dim counts from 1; DISP_E_BADINDEX outside 1..dims.
HRESULT SafeArrayGetLBound(const SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetUBound(const SAFEARRAY* array, UINT dim, LONG* bound);
// The product over the dimensions of (upper bound - lower bound + 1).
ULONG SafeArrayGetElementCount(const SAFEARRAY* array);

// Direct access to the elements; every Access must be paired with an Unaccess.
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);

// One element by its indices (one per dimension, in dimension order); DISP_E_BADINDEX outside
// the bounds. value points to an element of the array's type.
HRESULT SafeArrayPutElement(SAFEARRAY* array, const LONG* indices, const void* value);
HRESULT SafeArrayGetElement(const SAFEARRAY* array, const LONG* indices, void* value);
