#pragma once

// IQnCBasicLutParamsDriver: the program's dispatch driver of a look-up-table parameter object
// ("Levora.QnCBasicLutParams"). Each method returns the object's long result; a failed call
// itself is raised as a COleDispatchException.

#include "platform/com/OleDispatchDriver.h"

class IQnCBasicLutParamsDriver : public COleDispatchDriver {
public:
    using COleDispatchDriver::COleDispatchDriver;

    LONG BLPGetBrightness(LONG channel, LONG* value) { return Get(1, channel, value); }
    LONG BLPSetBrightness(LONG channel, LONG value) { return Set(2, channel, value); }
    LONG BLPGetContrast(LONG channel, LONG* value) { return Get(3, channel, value); }
    LONG BLPSetContrast(LONG channel, LONG value) { return Set(4, channel, value); }
    LONG BLPGetExpLog(LONG channel, LONG* value) { return Get(5, channel, value); }
    LONG BLPSetExpLog(LONG channel, LONG value) { return Set(6, channel, value); }
    LONG BLPGetNumberChannels(LONG* value) { return InvokeLong(7, {CComVariant::ByRef(value)}); }
    LONG BLPGetGamma(LONG channel, double* value) {
        return InvokeLong(8, {CComVariant(channel), CComVariant::ByRef(value)});
    }
    LONG BLPSetGamma(LONG channel, double value) {
        return InvokeLong(9, {CComVariant(channel), CComVariant(value)});
    }
    LONG BLPGetReverse(LONG channel, LONG* value) { return Get(10, channel, value); }
    LONG BLPSetReverse(LONG channel, LONG value) { return Set(11, channel, value); }
    LONG BLPGetLabel(LONG* value) { return InvokeLong(12, {CComVariant::ByRef(value)}); }
    LONG BLPSetLabel(LONG value) { return InvokeLong(13, {CComVariant(value)}); }
    LONG BLPGetColor2BW(LONG* value) { return InvokeLong(14, {CComVariant::ByRef(value)}); }
    LONG BLPSetColor2BW(LONG value) { return InvokeLong(15, {CComVariant(value)}); }
    LONG BLPGetRGBScale(LONG* red, LONG* green, LONG* blue) {
        return InvokeLong(
            16, {CComVariant::ByRef(red), CComVariant::ByRef(green), CComVariant::ByRef(blue)});
    }
    LONG BLPSetRGBScale(LONG red, LONG green, LONG blue) {
        return InvokeLong(17, {CComVariant(red), CComVariant(green), CComVariant(blue)});
    }
    LONG BLPGetType1(LONG* value) { return InvokeLong(18, {CComVariant::ByRef(value)}); }
    LONG BLPSetType1(LONG value) { return InvokeLong(19, {CComVariant(value)}); }

private:
    LONG Get(DISPID member, LONG channel, LONG* value) {
        return InvokeLong(member, {CComVariant(channel), CComVariant::ByRef(value)});
    }
    LONG Set(DISPID member, LONG channel, LONG value) {
        return InvokeLong(member, {CComVariant(channel), CComVariant(value)});
    }
};
