#pragma once

// IUnknown: the reference counting and interface query every object of ours shares across
// module boundaries.

#include "platform/com/Guid.h"

// Each interface names its id as kIid and its parent interface as BaseInterface, so that one
// object can answer QueryInterface for the whole chain (see ComObject.h).
class IUnknown {
public:
    static constexpr IID kIid = GuidLiteral("{00000000-0000-0000-C000-000000000046}");

    // S_OK and *object set (with a reference the caller owns) when the object has the interface;
    // E_NOINTERFACE and *object = nullptr otherwise; E_POINTER for a null object.
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    // The new reference count (for diagnostics only).
    virtual ULONG AddRef() = 0;
    // The remaining reference count; the object deletes itself at zero.
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

inline constexpr IID IID_IUnknown = IUnknown::kIid;

// The id of an interface type, for templates: IidOf<IDispatch>().
template <class Interface>
constexpr REFIID IidOf() {
    return Interface::kIid;
}
