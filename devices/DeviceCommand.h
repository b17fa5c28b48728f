#pragma once

// SendDeviceCommand: how the record pages send one command for a device through their link to
// the device's record group: the code as VT_I4, the values a one-element array of valueType
// (VT_R8 or VT_I4) holding value, or no values at all for VT_EMPTY. Returns the link's answer;
// *status (when asked) gets the low 16 bits of the status, *result (when asked) the result, which
// the caller then clears.

#include "platform/com/Variant.h"

class CDeviceLink;

int SendDeviceCommand(CDeviceLink& link, int handle, int subtype, int code, VARTYPE valueType,
                      double value, int* status = nullptr, VARIANT* result = nullptr);
