#pragma once

// The class factory of one class of a module, creating its objects through a function.

#include "platform/com/ComObject.h"
#include "platform/com/IClassFactory.h"

// Creates a new object and returns its interface iid (a reference the caller owns).
using ComCreateFunction = HRESULT (*)(REFIID iid, void** object);

class CClassFactory : public CComObject<IClassFactory> {
public:
    explicit CClassFactory(ComCreateFunction create) : m_create(create) {}

    HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT LockServer(BOOL lock) override;

private:
    ComCreateFunction m_create;
};
