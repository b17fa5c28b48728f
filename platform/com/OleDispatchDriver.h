#pragma once

// COleDispatchDriver: the client side of a dispatch object the way wrapper classes call it:
// a method by dispatch id with arguments in declaration order and a long result. A failed call
// is raised as a COleDispatchException carrying its HRESULT; callers that must go on catch it.

#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"
#include "platform/com/IDispatch.h"

#include <exception>
#include <vector>

class COleDispatchException : public std::exception {
public:
    explicit COleDispatchException(HRESULT hr, DISPID member) : m_hr(hr), m_member(member) {}
    HRESULT Error() const { return m_hr; }
    DISPID Member() const { return m_member; }
    const char* what() const noexcept override { return "dispatch call failed"; }

private:
    HRESULT m_hr;
    DISPID m_member;
};

class COleDispatchDriver {
public:
    COleDispatchDriver() = default;
    // Takes the caller's reference (autoRelease) or adds one of its own.
    explicit COleDispatchDriver(IDispatch* object, bool autoRelease = true) {
        AttachDispatch(object, autoRelease);
    }

    void AttachDispatch(IDispatch* object, bool autoRelease = true);
    // Gives the reference back to the caller (nullptr when none).
    IDispatch* DetachDispatch() { return m_object.Detach(); }
    void ReleaseDispatch() { m_object.Release(); }
    IDispatch* GetDispatch() const { return m_object.Get(); }

    // DISPATCH_METHOD member with args; the result converted to a long. Throws
    // COleDispatchException for a null object, a failed call or a result that is no number.
    LONG InvokeLong(DISPID member, const std::vector<CComVariant>& args) const;

private:
    CComPtr<IDispatch> m_object;
};
