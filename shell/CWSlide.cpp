#include "shell/CWSlide.h"

#include "platform/com/DispatchCall.h"
#include "platform/com/Variant.h"
#include "platform/controls/SlideControl.h"

IMPLEMENT_DYNCREATE(CCWSlide, COutsideControlWnd)

namespace {

HRESULT TakeDispatch(HRESULT hr, const CComVariant& result, CComPtr<IDispatch>* out) {
    if (FAILED(hr))
        return hr;
    if (result.vt != VT_DISPATCH || !result.pdispVal)
        return DISP_E_TYPEMISMATCH;
    *out = CComPtr<IDispatch>(result.pdispVal);
    return S_OK;
}

HRESULT ReadDouble(IDispatch* object, DISPID id, double* value) {
    CComVariant read;
    HRESULT hr = DispatchGet(object, id, &read);
    if (FAILED(hr))
        return hr;
    CComVariant number;
    hr = VariantChangeType(&number, &read, 0, VT_R8);
    if (SUCCEEDED(hr))
        *value = number.dblVal;
    return hr;
}

}  // namespace

CLSID CCWSlide::GetClsid() const {
    return CSlideControl::kClsid;
}

HRESULT CCWSlide::GetAxis(CComPtr<IDispatch>* axis) {
    CComVariant result;
    const HRESULT hr = GetProperty(kDispAxis, &result);
    return TakeDispatch(hr, result, axis);
}

HRESULT CCWSlide::GetPointers(CComPtr<IDispatch>* pointers) {
    CComVariant result;
    const HRESULT hr = GetProperty(kDispPointers, &result);
    return TakeDispatch(hr, result, pointers);
}

HRESULT CCWSlide::GetPointer(int index, CComPtr<IDispatch>* pointer) {
    CComPtr<IDispatch> pointers;
    HRESULT hr = GetPointers(&pointers);
    if (FAILED(hr))
        return hr;
    CComVariant result;
    hr = DispatchInvoke(pointers.Get(), kDispPointerItem, DISPATCH_METHOD,
                        {CComVariant(LONG(index))}, &result);
    return TakeDispatch(hr, result, pointer);
}

HRESULT CCWSlide::GetPointerValue(int index, double* value) {
    CComPtr<IDispatch> pointer;
    const HRESULT hr = GetPointer(index, &pointer);
    return FAILED(hr) ? hr : ReadDouble(pointer.Get(), kDispPointerValue, value);
}

HRESULT CCWSlide::SetPointerValue(int index, double value) {
    CComPtr<IDispatch> pointer;
    const HRESULT hr = GetPointer(index, &pointer);
    return FAILED(hr) ? hr : DispatchPut(pointer.Get(), kDispPointerValue, CComVariant(value));
}

HRESULT CCWSlide::GetRange(double* minimum, double* maximum) {
    CComPtr<IDispatch> axis;
    HRESULT hr = GetAxis(&axis);
    if (SUCCEEDED(hr))
        hr = ReadDouble(axis.Get(), kDispAxisMinimum, minimum);
    if (SUCCEEDED(hr))
        hr = ReadDouble(axis.Get(), kDispAxisMaximum, maximum);
    return hr;
}

HRESULT CCWSlide::SetRange(double minimum, double maximum) {
    CComPtr<IDispatch> axis;
    HRESULT hr = GetAxis(&axis);
    if (SUCCEEDED(hr))
        hr = DispatchPut(axis.Get(), kDispAxisMinimum, CComVariant(minimum));
    if (SUCCEEDED(hr))
        hr = DispatchPut(axis.Get(), kDispAxisMaximum, CComVariant(maximum));
    return hr;
}

HRESULT CCWSlide::SetStep(double step) {
    CComPtr<IDispatch> axis;
    const HRESULT hr = GetAxis(&axis);
    return FAILED(hr) ? hr : DispatchPut(axis.Get(), kDispAxisStep, CComVariant(step));
}
