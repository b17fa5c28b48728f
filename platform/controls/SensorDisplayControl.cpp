#include "platform/controls/SensorDisplayControl.h"

#include "platform/com/ComPtr.h"
#include "platform/com/DispArgs.h"
#include "platform/com/SafeArray.h"

#include <QPainter>

namespace {

class CSensorDisplayWidget : public QWidget {
public:
    // The widget keeps its control alive: it reads the control's values as it paints.
    CSensorDisplayWidget(CSensorDisplayControl* control, QWidget* parent)
        : QWidget(parent), m_control(control) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().base());
        const int line = fontMetrics().height() + 2;
        const std::vector<double>& values = m_control->Values();
        for (size_t i = 0; i < values.size(); ++i) {
            const int y = 2 + int(i) * line;
            painter.drawText(4, y, width() / 2 - 4, line, Qt::AlignLeft | Qt::AlignVCenter,
                             QStringLiteral("Ch %1").arg(i + 1));
            painter.drawText(width() / 2, y, width() / 2 - 4, line,
                             Qt::AlignRight | Qt::AlignVCenter, QString::number(values[i], 'g', 6));
        }
    }

private:
    CComPtr<CSensorDisplayControl> m_control;
};

void Answer(VARIANT* result, LONG value) {
    if (!result)
        return;
    VariantClear(result);
    result->vt = VT_I4;
    result->lVal = value;
}

// The doubles of a one-dimensional VT_R8 array; false for anything else.
bool ReadValues(const VARIANT* array, std::vector<double>* values) {
    if (!array || array->vt != (VT_ARRAY | VT_R8) || !array->parray ||
        SafeArrayGetDim(array->parray) != 1)
        return false;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array->parray, &data)))
        return false;
    const ULONG count = SafeArrayGetElementCount(array->parray);
    const auto* doubles = static_cast<const double*>(data);
    values->assign(doubles, doubles + count);
    SafeArrayUnaccessData(array->parray);
    return true;
}

}  // namespace

HRESULT CSensorDisplayControl::Invoke(DISPID member, WORD flags, DISPPARAMS* params,
                                      VARIANT* result, EXCEPINFO*, UINT* argErr) {
    if (!(flags & DISPATCH_METHOD) || (member != kDispSetChannelCount && member != kDispSetValues))
        return DISP_E_MEMBERNOTFOUND;
    CDispArgs args(params, argErr);
    HRESULT hr = args.Expect(1);
    if (FAILED(hr))
        return hr;
    if (member == kDispSetChannelCount) {
        LONG count = 0;
        hr = args.GetLong(0, &count);
        if (FAILED(hr))
            return hr;
        if (count < 0 || count > kMaxChannels) {
            Answer(result, -1);
            return S_OK;
        }
        m_values.assign(size_t(count), 0.0);
        Answer(result, 0);
    } else {
        const VARIANT* array = nullptr;
        hr = args.GetVariant(0, &array);
        if (FAILED(hr))
            return hr;
        std::vector<double> values;
        if (!ReadValues(array, &values)) {
            Answer(result, -1);
            return S_OK;
        }
        const size_t taken = std::min(values.size(), m_values.size());
        std::copy_n(values.begin(), taken, m_values.begin());
        Answer(result, LONG(taken));
    }
    if (m_widget)
        m_widget->update();
    return S_OK;
}

HRESULT CSensorDisplayControl::CreateControlWidget(QWidget* parent, int controlId,
                                                   QWidget** widget) {
    if (!parent || !widget)
        return E_POINTER;
    if (m_widget)
        return E_UNEXPECTED;
    m_widget = new CSensorDisplayWidget(this, parent);
    m_widget->setProperty("controlId", controlId);
    *widget = m_widget;
    return S_OK;
}

HRESULT CSensorDisplayControl::AdviseEvents(IDispatch* sink, DWORD* cookie) {
    return m_events.Advise(sink, cookie);
}

HRESULT CSensorDisplayControl::UnadviseEvents(DWORD cookie) {
    return m_events.Unadvise(cookie);
}

HRESULT CreateSensorDisplayControl(REFIID iid, void** object) {
    return CreateComObject<CSensorDisplayControl>(iid, object);
}
