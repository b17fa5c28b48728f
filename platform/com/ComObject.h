#pragma once

// Shared implementation of IUnknown for our objects: reference counting, QueryInterface over the
// listed interfaces and their parents, and the module lock that keeps the code loaded.

#include "platform/com/ComModule.h"
#include "platform/com/IUnknown.h"

#include <type_traits>
#include <utility>

template <class... Interfaces>
class CComObject : public Interfaces... {
public:
    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown) {
            *object = static_cast<IUnknown*>(static_cast<First*>(this));
        } else {
            (void)(FindInterface<Interfaces>(iid, object) || ...);
        }
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG AddRef() override { return ++m_refCount; }
    ULONG Release() override {
        const ULONG count = --m_refCount;
        if (count == 0)
            delete this;
        return count;
    }

protected:
    // Starts with no reference: the creator takes the first one through QueryInterface or AddRef.
    CComObject() { ComModuleLock(); }
    virtual ~CComObject() { ComModuleUnlock(); }
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

private:
    template <class First0, class...>
    struct Front {
        using Type = First0;
    };
    using First = typename Front<Interfaces...>::Type;

    template <class Interface>
    bool FindInterface(REFIID iid, void** object) {
        if constexpr (std::is_same_v<Interface, IUnknown>) {
            return false;
        } else {
            if (!Matches<Interface>(iid))
                return false;
            *object = static_cast<Interface*>(this);
            return true;
        }
    }
    template <class Interface>
    static bool Matches(REFIID iid) {
        if constexpr (std::is_same_v<Interface, IUnknown>)
            return false;
        else
            return iid == Interface::kIid || Matches<typename Interface::BaseInterface>(iid);
    }

    ULONG m_refCount = 0;
};

// Creates an object of type T with arguments and returns interface iid of it; the object is
// deleted again when it has not got that interface.
template <class T, class... Args>
HRESULT CreateComObject(REFIID iid, void** object, Args&&... args) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    T* created = new T(std::forward<Args>(args)...);
    created->AddRef();
    const HRESULT hr = created->QueryInterface(iid, object);
    created->Release();
    return hr;
}
