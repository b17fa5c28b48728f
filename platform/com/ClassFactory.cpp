#include "platform/com/ClassFactory.h"

HRESULT CClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return m_create(iid, object);
}

HRESULT CClassFactory::LockServer(BOOL lock) {
    if (lock)
        ComModuleLock();
    else
        ComModuleUnlock();
    return S_OK;
}
