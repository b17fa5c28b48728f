#pragma once

// IIndexedValues: a small indexed store of pointer-sized values that passes two operations on
// to a delegate. The main frame, the feature-tracking set's store and their peers offer it, so
// lower layers reach them without knowing their classes. Values are pointer-sized because
// callers keep pointers in them.

#include "platform/wintypes/WinError.h"

#include <cstdint>

// The object an indexed-values store passes its two delegated operations to.
class IIndexedValuesDelegate {
public:
    virtual HRESULT First(intptr_t value) = 0;
    virtual HRESULT Second(intptr_t argument, intptr_t* value) = 0;

protected:
    ~IIndexedValuesDelegate() = default;
};

class IIndexedValues {
public:
    // The delegate is not owned; null removes it.
    virtual HRESULT SetDelegate(IIndexedValuesDelegate* pDelegate) = 0;
    // The delegate's first operation, or E_FAIL without a delegate.
    virtual HRESULT DelegateFirst(intptr_t value) = 0;
    // E_FAIL for a negative index; grows the store up to the index, each implementation with
    // its own fill value.
    virtual HRESULT SetAt(int index, intptr_t value) = 0;
    // E_FAIL (and -1 in *value when given) outside the store; E_FAIL for a null out-pointer.
    virtual HRESULT GetAt(int index, intptr_t* value) = 0;
    // The delegate's second operation, or E_FAIL (and 0 in *value when given) without one.
    virtual HRESULT DelegateSecond(intptr_t argument, intptr_t* value) = 0;

protected:
    ~IIndexedValues() = default;
};
