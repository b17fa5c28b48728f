#pragma once

// IClassFactory: what a module hands out per class id to create objects of that class.

#include "platform/com/IUnknown.h"

class IClassFactory : public IUnknown {
public:
    static constexpr IID kIid = GuidLiteral("{00000001-0000-0000-C000-000000000046}");
    using BaseInterface = IUnknown;

    // A new object's interface iid in *object (a reference the caller owns).
    // CLASS_E_NOAGGREGATION for a non-null outer: our objects are never aggregated.
    virtual HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) = 0;
    // Keeps the module loaded while locked (counted).
    virtual HRESULT LockServer(BOOL lock) = 0;

protected:
    ~IClassFactory() = default;
};

inline constexpr IID IID_IClassFactory = IClassFactory::kIid;
