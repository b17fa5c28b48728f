#pragma once

// The root of the integer-id object model through which views, frame sources, play groups and
// record controllers reach one another: interfaces are asked for by a plain integer id. Every
// object inherits IIdUnknown as a virtual base, so a root pointer identifies the object.
// Objects are destroyed through the root's virtual destructor; there is no reference count.

#include "platform/wintypes/WinError.h"

// Interface ids: the complete set.
inline constexpr int kIdUnknown = 1;
inline constexpr int kIdFrameChangeListener = 2;
inline constexpr int kIdListenerList = 3;
inline constexpr int kIdNotifier = 4;
inline constexpr int kIdNotifier2 = 5;  // a second notifier of the same object
inline constexpr int kIdMessagePoster = 6;
inline constexpr int kIdRegion = 7;
inline constexpr int kIdDataChannel = 8;
inline constexpr int kIdTriggerSettings = 11;
inline constexpr int kIdPlayGroup = 12;
inline constexpr int kIdDevice = 13;
inline constexpr int kIdRegionDrawing = 33;

class IIdUnknown {
public:
    static constexpr int kId = kIdUnknown;

    // S_OK with *out set to the interface of that id; E_POINTER for a null out; E_FAIL with
    // *out unchanged for an unknown id. An object with an outer hands every query to it and
    // answers S_OK whatever the outer did: callers null their out-pointer first and test it.
    virtual HRESULT QueryInterfaceById(int id, void** out) = 0;
    virtual ~IIdUnknown() = default;
};

// The interface T (asked for by id, T's own id by default) of object, or nullptr: tests both
// the result and the out-pointer so no caller can forget one of them.
template <class T>
T* QueryId(IIdUnknown* object, int id = T::kId) {
    if (!object)
        return nullptr;
    void* out = nullptr;
    if (object->QueryInterfaceById(id, &out) != S_OK)
        return nullptr;
    return static_cast<T*>(out);
}
