#pragma once

// CSensorDisplayControl: the sensor read-out ("QNSensA") beside a live data graph: one line
// per channel with its name and latest value. Callers drive it by dispatch id: method 1 takes
// the channel count (0 to 64, anything else answers -1), method 9 a VT_R8 array of the latest
// value of each channel (answers the number of values taken, -1 for a bad array). Both answer
// VT_I4. Channel names are "Ch 1", "Ch 2"... User-interface thread only.

#include "platform/com/ComObject.h"
#include "platform/com/EventSource.h"
#include "platform/com/Guid.h"
#include "platform/com/IDispatch.h"
#include "platform/com/IHostedControl.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class CSensorDisplayControl : public CComObject<IDispatch, IHostedControl> {
public:
    static constexpr CLSID kClsid = GuidLiteral("{765B94C5-73C4-452E-863A-5C471A7E2909}");
    static constexpr DISPID kDispSetChannelCount = 1;
    static constexpr DISPID kDispSetValues = 9;
    static constexpr int kMaxChannels = 64;

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;
    HRESULT CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) override;
    HRESULT AdviseEvents(IDispatch* sink, DWORD* cookie) override;
    HRESULT UnadviseEvents(DWORD cookie) override;

    const std::vector<double>& Values() const { return m_values; }

private:
    std::vector<double> m_values;
    CEventSource m_events;
    QPointer<QWidget> m_widget;
};

HRESULT CreateSensorDisplayControl(REFIID iid, void** object);
