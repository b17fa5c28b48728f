#include "platform/controls/QnGraphDlg.h"

#include "platform/com/ComVariant.h"
#include "platform/com/DispatchCall.h"
#include "platform/com/IHostedControl.h"
#include "platform/com/SafeArray.h"
#include "platform/controls/QnGraphControl.h"

#include <cstring>

namespace {

// A one-dimensional VT_R4 array of the values (lower bound 0); an empty variant when the array
// cannot be made.
CComVariant FloatArray(const std::vector<float>& values) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_R4, 0, static_cast<ULONG>(values.size()));
    if (!array)
        return CComVariant();
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) {
        SafeArrayDestroy(array);
        return CComVariant();
    }
    if (!values.empty())
        std::memcpy(data, values.data(), values.size() * sizeof(float));
    SafeArrayUnaccessData(array);
    return CComVariant::FromArray(array);
}

}  // namespace

CQnGraphDlg::CQnGraphDlg() = default;

CQnGraphDlg::~CQnGraphDlg() = default;

bool CQnGraphDlg::Create(QWidget* parent, const QRect& rect, int controlId) {
    if (m_control || !parent)
        return false;
    CComPtr<IDispatch> control;
    CComPtr<IHostedControl> hosted;
    QWidget* widget = nullptr;
    if (FAILED(CreateQnGraphControl(IID_IDispatch, control.ReceiveVoid())) ||
        FAILED(control.QueryInterface(&hosted)) ||
        FAILED(hosted->CreateControlWidget(parent, controlId, &widget)) || !widget)
        return false;
    widget->setObjectName(QStringLiteral("QNGraph"));
    widget->setGeometry(rect);
    widget->show();
    m_control = control;
    m_widget = widget;
    return true;
}

void CQnGraphDlg::EnableWindow(bool enable) {
    if (m_widget)
        m_widget->setEnabled(enable);
}

void CQnGraphDlg::ShowWindow(bool show) {
    if (m_widget)
        m_widget->setVisible(show);
}

LONG CQnGraphDlg::Call(DISPID member, const std::vector<CComVariant>& args) const {
    if (!m_control)
        return -1;
    CComVariant result;
    if (FAILED(DispatchInvoke(m_control.Get(), member, DISPATCH_METHOD, args, &result)) ||
        result.vt != VT_I4)
        return -1;
    return result.lVal;
}

LONG CQnGraphDlg::PlotXY(LONG plot, const std::vector<float>& x, const std::vector<float>& y,
                         COLORREF color) {
    const CComVariant xs = FloatArray(x);
    const CComVariant ys = FloatArray(y);
    if (xs.vt == VT_EMPTY || ys.vt == VT_EMPTY)
        return -1;
    return Call(CQnGraphControl::kDispPlotXY,
                {CComVariant(plot), xs, ys, CComVariant(static_cast<LONG>(color))});
}

LONG CQnGraphDlg::SetMouseMode(LONG mode) {
    return Call(CQnGraphControl::kDispMouseMode, {CComVariant(mode)});
}

LONG CQnGraphDlg::Clear() {
    return Call(CQnGraphControl::kDispClear, {});
}

LONG CQnGraphDlg::SetXCaption(const QString& caption) {
    return Call(CQnGraphControl::kDispXCaption, {CComVariant(caption)});
}

LONG CQnGraphDlg::SetCursorIndex(LONG index) {
    return Call(CQnGraphControl::kDispCursorIndex, {CComVariant(index)});
}

LONG CQnGraphDlg::SetPlotAreaColor(COLORREF color) {
    return Call(CQnGraphControl::kDispPlotAreaColor, {CComVariant(static_cast<LONG>(color))});
}
