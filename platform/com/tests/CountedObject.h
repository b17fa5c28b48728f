#pragma once

// A dispatch object for tests that shows its reference count and answers every call with S_OK.

#include "platform/com/ComObject.h"
#include "platform/com/IDispatch.h"

class CCountedObject : public CComObject<IDispatch> {
public:
    HRESULT Invoke(DISPID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return S_OK; }
};

// The current reference count of object.
inline ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}
