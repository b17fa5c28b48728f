#pragma once

// An owning BSTR for our own code.

#include "platform/com/Bstr.h"

#include <utility>

class CComBSTR {
public:
    CComBSTR() = default;
    explicit CComBSTR(const QString& text) : m_text(SysAllocQString(text)) {}
    CComBSTR(const CComBSTR& other)
        : m_text(other.m_text ? SysAllocStringLen(other.m_text, other.Length()) : nullptr) {}
    CComBSTR(CComBSTR&& other) noexcept : m_text(std::exchange(other.m_text, nullptr)) {}
    CComBSTR& operator=(CComBSTR other) noexcept {
        std::swap(m_text, other.m_text);
        return *this;
    }
    ~CComBSTR() { SysFreeString(m_text); }

    BSTR Get() const { return m_text; }
    UINT Length() const { return SysStringLen(m_text); }
    QString ToQString() const { return QStringFromBstr(m_text); }

    // Adopts a BSTR the caller owns / gives the string to the caller.
    void Attach(BSTR text) {
        SysFreeString(m_text);
        m_text = text;
    }
    BSTR Detach() { return std::exchange(m_text, nullptr); }
    // A copy for an out-value or result, owned by its receiver.
    BSTR Copy() const { return m_text ? SysAllocStringLen(m_text, Length()) : nullptr; }
    // The out-slot for functions that return a new BSTR.
    BSTR* Receive() {
        Attach(nullptr);
        return &m_text;
    }

private:
    BSTR m_text = nullptr;
};
