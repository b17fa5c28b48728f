#pragma once

// An owning interface pointer for our own code: holds one reference and releases it.

#include "platform/com/IUnknown.h"

#include <utility>

template <class T>
class CComPtr {
public:
    CComPtr() = default;
    // Takes a new reference to p.
    CComPtr(T* p) : m_p(p) {
        if (m_p)
            m_p->AddRef();
    }
    CComPtr(const CComPtr& other) : CComPtr(other.m_p) {}
    CComPtr(CComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CComPtr& operator=(CComPtr other) noexcept {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~CComPtr() { Release(); }

    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    void Release() {
        if (m_p)
            std::exchange(m_p, nullptr)->Release();
    }
    // Adopts a reference the caller already owns.
    void Attach(T* p) {
        Release();
        m_p = p;
    }
    // Gives up the reference to the caller.
    T* Detach() { return std::exchange(m_p, nullptr); }
    // The out-slot for functions that return a new reference (QueryInterface, creation).
    T** Receive() {
        Release();
        return &m_p;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

    // The interface U of the held object, or E_NOINTERFACE / E_POINTER.
    template <class U>
    HRESULT QueryInterface(CComPtr<U>* out) const {
        if (!m_p)
            return E_POINTER;
        return m_p->QueryInterface(U::kIid, out->ReceiveVoid());
    }

private:
    T* m_p = nullptr;
};
