#pragma once

// CQnSensA: the wrapper of the sensor read-out control ("QNSensA"): methods 1 and 9, each with
// one argument, answer VT_I4. Every call answers E_FAIL when the control is missing.

#include "shell/OutsideControlWnd.h"

class CQnSensA : public COutsideControlWnd {
    DECLARE_DYNCREATE(CQnSensA)

public:
    CLSID GetClsid() const override;

    HRESULT Method1(const CComVariant& argument, LONG* answer);
    HRESULT Method9(const CComVariant& argument, LONG* answer);
};
