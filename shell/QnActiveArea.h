#pragma once

// CQnActiveArea: the wrapper of the active-area control: integer properties 2-5 and 8-16,
// boolean properties 6 and 7, method 17 (no arguments) and method 18 (a picture). Every call
// answers E_FAIL when the control is missing.

#include "platform/com/SafeArrayVariant.h"
#include "shell/OutsideControlWnd.h"

class CQnActiveArea : public COutsideControlWnd {
    DECLARE_DYNCREATE(CQnActiveArea)

public:
    CLSID GetClsid() const override;

    // Property 2-5 or 8-16 (E_INVALIDARG for another id).
    HRESULT SetProperty(DISPID id, LONG value);
    // Property 6 or 7 (E_INVALIDARG for another id).
    HRESULT SetFlag(DISPID id, BOOL value);

    HRESULT SetProperty2(LONG v) { return SetProperty(2, v); }
    HRESULT SetProperty3(LONG v) { return SetProperty(3, v); }
    HRESULT SetProperty4(LONG v) { return SetProperty(4, v); }
    HRESULT SetProperty5(LONG v) { return SetProperty(5, v); }
    HRESULT SetProperty6(BOOL v) { return SetFlag(6, v); }
    HRESULT SetProperty7(BOOL v) { return SetFlag(7, v); }
    HRESULT SetProperty8(LONG v) { return SetProperty(8, v); }
    HRESULT SetProperty9(LONG v) { return SetProperty(9, v); }
    HRESULT SetProperty10(LONG v) { return SetProperty(10, v); }
    HRESULT SetProperty11(LONG v) { return SetProperty(11, v); }
    HRESULT SetProperty12(LONG v) { return SetProperty(12, v); }
    HRESULT SetProperty13(LONG v) { return SetProperty(13, v); }
    HRESULT SetProperty14(LONG v) { return SetProperty(14, v); }
    HRESULT SetProperty15(LONG v) { return SetProperty(15, v); }
    HRESULT SetProperty16(LONG v) { return SetProperty(16, v); }

    HRESULT Method17();
    // A picture: position and size, bits per pixel, the bytes (a VT_UI1 array); the
    // control's answer in *answer.
    HRESULT Method18(LONG left, LONG top, LONG width, LONG height, int16_t bitsPerPixel,
                     const CSafeArrayVariant& bytes, LONG* answer);
};
