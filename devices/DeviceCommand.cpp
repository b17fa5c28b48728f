#include "devices/DeviceCommand.h"

#include "devices/core/DeviceLink.h"
#include "platform/com/SafeArray.h"

int SendDeviceCommand(CDeviceLink& link, int handle, int subtype, int code, VARTYPE valueType,
                      double value, int* status, VARIANT* result) {
    VARIANT codeValue{};
    codeValue.vt = VT_I4;
    codeValue.lVal = code;
    VARIANT values{};
    if (valueType != VT_EMPTY) {
        values.vt = static_cast<VARTYPE>(VT_ARRAY | valueType);
        values.parray = SafeArrayCreateVector(valueType, 0, 1);
        LONG first = 0;
        if (valueType == VT_I4) {
            LONG number = static_cast<LONG>(value);
            SafeArrayPutElement(values.parray, &first, &number);
        } else {
            SafeArrayPutElement(values.parray, &first, &value);
        }
    }
    VARIANT statusValue{};
    VARIANT resultValue{};
    const int answer =
        link.SendCommand(handle, subtype, codeValue, values, &statusValue, &resultValue);
    if (status) {
        VARIANT converted{};
        *status = SUCCEEDED(VariantChangeType(&converted, &statusValue, 0, VT_I4))
                      ? static_cast<int>(converted.lVal & 0xFFFF)
                      : 0;
    }
    if (result)
        *result = resultValue;
    else
        VariantClear(&resultValue);
    VariantClear(&statusValue);
    VariantClear(&values);
    return answer;
}
