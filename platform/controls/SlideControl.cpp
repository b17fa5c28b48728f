#include "platform/controls/SlideControl.h"

#include "platform/com/ComPtr.h"
#include "platform/com/DispArgs.h"
#include "platform/controls/SlideWidget.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsGet(WORD flags) {
    return (flags & DISPATCH_PROPERTYGET) != 0;
}
bool IsPut(WORD flags) {
    return (flags & DISPATCH_PROPERTYPUT) != 0;
}

HRESULT ReturnDouble(const CDispArgs& args, VARIANT* result, double value) {
    const HRESULT hr = args.Expect(0);
    if (FAILED(hr))
        return hr;
    if (result) {
        VariantClear(result);
        result->vt = VT_R8;
        result->dblVal = value;
    }
    return S_OK;
}

HRESULT ReadDouble(const CDispArgs& args, double* value) {
    HRESULT hr = args.Expect(1);
    if (SUCCEEDED(hr))
        hr = args.GetDouble(0, value);
    if (SUCCEEDED(hr) && !std::isfinite(*value))
        hr = E_INVALIDARG;
    return hr;
}

// Hands out a new dispatch object as the call's result.
HRESULT ReturnDispatch(VARIANT* result, IDispatch* object) {
    const CComPtr<IDispatch> keep(object);
    if (result) {
        VariantClear(result);
        result->vt = VT_DISPATCH;
        result->pdispVal = keep.Get();
        result->pdispVal->AddRef();
    }
    return S_OK;
}

// One pointer of the slide, by its 1-based index.
class CSlidePointer : public CComObject<IDispatch> {
public:
    CSlidePointer(CSlideControl* control, int index) : m_control(control), m_index(index) {}

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                   UINT* argErr) override {
        if (member != CSlideControl::kDispPointerValue)
            return DISP_E_MEMBERNOTFOUND;
        CDispArgs args(params, argErr);
        if (IsPut(flags)) {
            double value = 0.0;
            const HRESULT hr = ReadDouble(args, &value);
            if (FAILED(hr))
                return hr;
            m_control->SetPointerValue(m_index, value);
            return S_OK;
        }
        if (IsGet(flags))
            return ReturnDouble(args, result, m_control->PointerValue(m_index));
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    CComPtr<CSlideControl> m_control;
    int m_index;
};

// The pointer collection: its item (1-based index) is a pointer object.
class CSlidePointers : public CComObject<IDispatch> {
public:
    explicit CSlidePointers(CSlideControl* control) : m_control(control) {}

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                   UINT* argErr) override {
        if (member != DISPID_VALUE && member != CSlideControl::kDispItem)
            return DISP_E_MEMBERNOTFOUND;
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            return DISP_E_MEMBERNOTFOUND;
        CDispArgs args(params, argErr);
        LONG index = 0;
        HRESULT hr = args.Expect(1);
        if (SUCCEEDED(hr))
            hr = args.GetLong(0, &index);
        if (FAILED(hr))
            return hr;
        if (index < 1 || index > CSlideControl::kPointerCount)
            return DISP_E_BADINDEX;
        return ReturnDispatch(result, new CSlidePointer(m_control.Get(), static_cast<int>(index)));
    }

private:
    CComPtr<CSlideControl> m_control;
};

// The value axis: its two range ends and its step.
class CSlideAxis : public CComObject<IDispatch> {
public:
    explicit CSlideAxis(CSlideControl* control) : m_control(control) {}

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                   UINT* argErr) override {
        CDispArgs args(params, argErr);
        void (CSlideControl::*setter)(double) = nullptr;
        double value = 0.0;
        switch (member) {
            case CSlideControl::kDispAxisMinimum:
                value = m_control->Minimum();
                setter = &CSlideControl::SetMinimum;
                break;
            case CSlideControl::kDispAxisMaximum:
                value = m_control->Maximum();
                setter = &CSlideControl::SetMaximum;
                break;
            case CSlideControl::kDispAxisStep:
                value = m_control->Step();
                setter = &CSlideControl::SetStep;
                break;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
        if (IsPut(flags)) {
            const HRESULT hr = ReadDouble(args, &value);
            if (FAILED(hr))
                return hr;
            (m_control.Get()->*setter)(value);
            return S_OK;
        }
        if (IsGet(flags))
            return ReturnDouble(args, result, value);
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    CComPtr<CSlideControl> m_control;
};

}  // namespace

CSlideControl::CSlideControl() = default;

CSlideControl::~CSlideControl() {
    m_events.UnadviseAll();
    if (m_widget)
        m_widget->DetachControl();
}

HRESULT CSlideControl::Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO*, UINT* argErr) {
    if (member != kDispAxis && member != kDispPointers)
        return DISP_E_MEMBERNOTFOUND;
    if (!IsGet(flags))
        return DISP_E_MEMBERNOTFOUND;
    CDispArgs args(params, argErr);
    const HRESULT hr = args.Expect(0);
    if (FAILED(hr))
        return hr;
    if (member == kDispAxis)
        return ReturnDispatch(result, new CSlideAxis(this));
    return ReturnDispatch(result, new CSlidePointers(this));
}

HRESULT CSlideControl::CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) {
    if (!parent || !widget)
        return E_POINTER;
    if (m_widget)
        return E_UNEXPECTED;
    m_widget = new CSlideWidget(this, parent);
    m_widget->setProperty("controlId", controlId);
    *widget = m_widget;
    return S_OK;
}

HRESULT CSlideControl::AdviseEvents(IDispatch* sink, DWORD* cookie) {
    return m_events.Advise(sink, cookie);
}

HRESULT CSlideControl::UnadviseEvents(DWORD cookie) {
    return m_events.Unadvise(cookie);
}

void CSlideControl::SetMinimum(double value) {
    m_minimum = value;
    ClampPointers();
}

void CSlideControl::SetMaximum(double value) {
    m_maximum = value;
    ClampPointers();
}

void CSlideControl::SetStep(double step) {
    m_step = std::fabs(step);
    ClampPointers();
}

double CSlideControl::PointerValue(int index) const {
    if (index < 1 || index > kPointerCount)
        return 0.0;
    return m_values[static_cast<size_t>(index - 1)];
}

bool CSlideControl::SetPointerValue(int index, double value) {
    if (index < 1 || index > kPointerCount)
        return false;
    m_values[static_cast<size_t>(index - 1)] = Coerce(value);
    Repaint();
    return true;
}

double CSlideControl::Coerce(double value) const {
    const double low = std::min(m_minimum, m_maximum);
    const double high = std::max(m_minimum, m_maximum);
    if (m_step > 0.0) {
        // Steps count from the minimum; the last step may end short of the maximum.
        value = m_minimum + std::round((value - m_minimum) / m_step) * m_step;
        if (value > high)
            value -= m_step;
        if (value < low)
            value += m_step;
    }
    return std::clamp(value, low, high);
}

void CSlideControl::FireEvent(DISPID event, const std::vector<CComVariant>& args) {
    m_events.Fire(event, args);
}

void CSlideControl::ClampPointers() {
    for (double& value : m_values)
        value = Coerce(value);
    Repaint();
}

void CSlideControl::Repaint() {
    if (m_widget)
        m_widget->update();
}

HRESULT CreateSlideControl(REFIID iid, void** object) {
    return CreateComObject<CSlideControl>(iid, object);
}
