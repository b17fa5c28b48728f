#pragma once

// VARIANT: a tagged value passed through dispatch calls and settings. Ownership: a VARIANT owns
// its BSTR, its SAFEARRAY and one reference of its interface pointer; VariantClear frees them.
// VT_BYREF values point to storage the VARIANT does not own.

#include "platform/com/Bstr.h"
#include "platform/com/SafeArray.h"
#include "platform/com/VarType.h"
#include "platform/wintypes/WinError.h"

class IUnknown;
class IDispatch;

struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    union {
        LONG lVal;
        int16_t iVal;
        BYTE bVal;
        float fltVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        BYTE* pbVal;
        int16_t* piVal;
        LONG* plVal;
        float* pfltVal;
        double* pdblVal;
        VARIANT_BOOL* pboolVal;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
        int64_t m_payload = 0;  // Zeroes the whole value.
    };
};
using VARIANTARG = VARIANT;

// VariantChangeType flag: booleans become "True"/"False" rather than "-1"/"0".
inline constexpr uint16_t VARIANT_ALPHABOOL = 0x2;

// Makes an uninitialised VARIANT empty without freeing anything.
void VariantInit(VARIANT* v);
// Frees what v owns and makes it VT_EMPTY. DISP_E_BADVARTYPE for a type tag we do not know
// (nothing is freed then).
HRESULT VariantClear(VARIANT* v);
// Clears dest, then makes it a deep copy of source (a new BSTR, a new SAFEARRAY, one more
// reference). A by-reference source is copied as the same reference.
HRESULT VariantCopy(VARIANT* dest, const VARIANT* source);
// Like VariantCopy, but a by-reference source gives the value it points to.
HRESULT VariantCopyInd(VARIANT* dest, const VARIANT* source);
// dest = source converted to vt (dest may be source). Scalars convert among VT_EMPTY, VT_I2,
// VT_I4, VT_R4, VT_R8, VT_BOOL, VT_UI1 and VT_BSTR (numbers as C-locale text; booleans as -1/0
// or "True"/"False"); VT_DISPATCH and VT_UNKNOWN convert into each other through
// QueryInterface. Errors: DISP_E_TYPEMISMATCH (no such conversion or unreadable text),
// DISP_E_OVERFLOW (out of range), DISP_E_BADVARTYPE; dest is left untouched then.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* source, uint16_t flags, VARTYPE vt);
