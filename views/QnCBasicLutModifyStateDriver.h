#pragma once

// IQnCBasicLutModifyStateDriver: the program's dispatch driver of a look-up-table editor state
// object ("Levora.QnCBasicLutModifyState"): eight flags as getter/setter pairs, and BLMSSet,
// which copies another state object. A failed call itself is raised as a
// COleDispatchException.

#include "platform/com/OleDispatchDriver.h"

class IQnCBasicLutModifyStateDriver : public COleDispatchDriver {
public:
    using COleDispatchDriver::COleDispatchDriver;

    // Flags in the object's order: colour, red, green, blue, link brightness, link contrast,
    // link gamma, link exp/log.
    static constexpr int kFlagCount = 8;

    LONG GetState(int flag, LONG* value) {
        return InvokeLong(2 * flag + 1, {CComVariant::ByRef(value)});
    }
    LONG SetState(int flag, LONG value) { return InvokeLong(2 * flag + 2, {CComVariant(value)}); }
    LONG BLMSGetStateColor(LONG* value) { return GetState(0, value); }
    LONG BLMSSetStateColor(LONG value) { return SetState(0, value); }
    LONG BLMSSet(IDispatch* source) { return InvokeLong(17, {CComVariant(source)}); }
};
