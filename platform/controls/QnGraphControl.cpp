#include "platform/controls/QnGraphControl.h"

#include "platform/com/DispArgs.h"
#include "platform/com/SafeArray.h"
#include "platform/controls/GraphWidget.h"

#include <vector>

namespace {

HRESULT ReturnLong(VARIANT* result, LONG value) {
    if (result) {
        VariantClear(result);
        result->vt = VT_I4;
        result->lVal = value;
    }
    return S_OK;
}

// The floats of a one-dimensional VT_R4 array; false for anything else.
bool ReadFloats(const VARIANT* value, std::vector<float>* out) {
    if (!value || value->vt != (VT_ARRAY | VT_R4) || !value->parray ||
        SafeArrayGetDim(value->parray) != 1)
        return false;
    SAFEARRAY* array = value->parray;
    const ULONG count = SafeArrayGetElementCount(array);
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data)))
        return false;
    const auto* floats = static_cast<const float*>(data);
    out->assign(floats, floats + count);
    SafeArrayUnaccessData(array);
    return true;
}

}  // namespace

CQnGraphControl::CQnGraphControl() = default;

CQnGraphControl::~CQnGraphControl() = default;

HRESULT CQnGraphControl::Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO*, UINT* argErr) {
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    CDispArgs args(params, argErr);
    CGraphWidget* graph = m_widget;
    switch (member) {
        case kDispPlotXY: {
            HRESULT hr = args.Expect(4);
            LONG plot = 0;
            LONG color = 0;
            const VARIANT* x = nullptr;
            const VARIANT* y = nullptr;
            if (SUCCEEDED(hr))
                hr = args.GetLong(0, &plot);
            if (SUCCEEDED(hr))
                hr = args.GetVariant(1, &x);
            if (SUCCEEDED(hr))
                hr = args.GetVariant(2, &y);
            if (SUCCEEDED(hr))
                hr = args.GetLong(3, &color);
            if (FAILED(hr))
                return hr;
            std::vector<float> xs;
            std::vector<float> ys;
            if (!ReadFloats(x, &xs) || !ReadFloats(y, &ys))
                return DISP_E_TYPEMISMATCH;
            if (!graph || plot < 1 || xs.size() != ys.size())
                return ReturnLong(result, -1);
            while (graph->PlotCount() < plot)
                graph->SetPlotFlag(graph->AddPlot(), true);
            graph->SetPlotColor(plot, static_cast<COLORREF>(color));
            graph->PlotXY(plot, xs.data(), static_cast<int>(xs.size()), ys.data(),
                          static_cast<int>(ys.size()));
            return ReturnLong(result, plot);
        }
        case kDispMouseMode:
        case kDispCursorIndex:
        case kDispPlotAreaColor: {
            HRESULT hr = args.Expect(1);
            LONG value = 0;
            if (SUCCEEDED(hr))
                hr = args.GetLong(0, &value);
            if (FAILED(hr))
                return hr;
            if (member == kDispMouseMode) {
                if (value != 1 && value != 3 && value != 6)
                    return E_INVALIDARG;
                if (graph)
                    graph->SetMouseMode(static_cast<GraphMouseMode>(value));
                return ReturnLong(result, 0);
            }
            if (member == kDispPlotAreaColor) {
                if (graph)
                    graph->SetPlotAreaColor(static_cast<COLORREF>(value));
                return ReturnLong(result, 0);
            }
            if (!graph)
                return ReturnLong(result, -1);
            if (graph->CursorCount() == 0)
                graph->SetCursorEnabled(graph->AddCursor(), true);
            graph->SetCursorIndex(1, value);
            return ReturnLong(result, graph->GetCursorIndex(1));
        }
        case kDispXCaption: {
            HRESULT hr = args.Expect(1);
            QString caption;
            if (SUCCEEDED(hr))
                hr = args.GetString(0, &caption);
            if (FAILED(hr))
                return hr;
            if (graph)
                graph->SetAxisCaption(GraphAxis::X, caption);
            return ReturnLong(result, 0);
        }
        case kDispClear: {
            const HRESULT hr = args.Expect(0);
            if (FAILED(hr))
                return hr;
            if (graph) {
                graph->RemoveAllPlots();
                graph->RemoveAllCursors();
            }
            return ReturnLong(result, 0);
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT CQnGraphControl::CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) {
    if (!parent || !widget)
        return E_POINTER;
    if (m_widget)
        return E_UNEXPECTED;
    m_widget = new CGraphWidget(parent);
    m_widget->setProperty("controlId", controlId);
    *widget = m_widget;
    return S_OK;
}

HRESULT CQnGraphControl::AdviseEvents(IDispatch*, DWORD*) {
    return E_NOTIMPL;
}

HRESULT CQnGraphControl::UnadviseEvents(DWORD) {
    return CONNECT_E_NOCONNECTION;
}

HRESULT CreateQnGraphControl(REFIID iid, void** object) {
    return CreateComObject<CQnGraphControl>(iid, object);
}
