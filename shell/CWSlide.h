#pragma once

// CCWSlide: the wrapper of the slide control (a horizontal axis with pointers). The axis and
// the pointer collection are dispatch objects of their own; the helpers below make the
// calls the program's slide bars use. Every call answers E_FAIL when the control is missing.

#include "shell/OutsideControlWnd.h"

class CCWSlide : public COutsideControlWnd {
    DECLARE_DYNCREATE(CCWSlide)

public:
    static constexpr DISPID kDispAxis = 258;
    static constexpr DISPID kDispPointers = 260;
    static constexpr DISPID kDispPointerItem = 0;  // DISPID_VALUE of the collection
    static constexpr DISPID kDispPointerValue = 1;
    static constexpr DISPID kDispAxisMaximum = 2;
    static constexpr DISPID kDispAxisMinimum = 3;
    static constexpr DISPID kDispAxisStep = 6;

    CLSID GetClsid() const override;

    HRESULT GetAxis(CComPtr<IDispatch>* axis);
    HRESULT GetPointers(CComPtr<IDispatch>* pointers);
    // index as the control counts its pointers (from 1).
    HRESULT GetPointer(int index, CComPtr<IDispatch>* pointer);

    HRESULT GetPointerValue(int index, double* value);
    HRESULT SetPointerValue(int index, double value);
    // The two ends of the axis.
    HRESULT GetRange(double* minimum, double* maximum);
    HRESULT SetRange(double minimum, double maximum);
    HRESULT SetStep(double step);
};
