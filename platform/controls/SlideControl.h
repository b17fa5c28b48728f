#pragma once

// CSlideControl: the slide control that dialogs host by class id: a horizontal axis with three
// pointers (play position, in point, out point) that the user drags. Callers drive it only by
// dispatch id: the control's axis and pointer collection are dispatch objects of their own, and
// the control fires its value and mouse events at the sinks advised through IHostedControl.
// User-interface thread only.

#include "platform/com/ComObject.h"
#include "platform/com/EventSource.h"
#include "platform/com/Guid.h"
#include "platform/com/IDispatch.h"
#include "platform/com/IHostedControl.h"

#include <QPointer>

#include <array>

class CSlideWidget;

class CSlideControl : public CComObject<IDispatch, IHostedControl> {
public:
    static constexpr CLSID kClsid = GuidLiteral("{D940E4C8-6079-11CE-88CB-0020AF6845F6}");

    // Control properties (get): the axis object and the pointer collection.
    static constexpr DISPID kDispAxis = 258;
    static constexpr DISPID kDispPointers = 260;
    // Pointer collection: the pointer of a 1-based index (method or get). Both the value member
    // and member 1 answer, as callers use either.
    static constexpr DISPID kDispItem = 1;
    // Pointer: its value (get answers VT_R8; put takes any number).
    static constexpr DISPID kDispPointerValue = 1;
    // Axis: the range ends (get and put) and the step that pointer values snap to (0: none).
    static constexpr DISPID kDispAxisMaximum = 2;
    static constexpr DISPID kDispAxisMinimum = 3;
    static constexpr DISPID kDispAxisStep = 6;

    // Events: (pointer index VT_I4, value VT_R8) when a drag ends on a pointer, and while it
    // moves whenever the value changes; the stock click, double-click and mouse events
    // (button VT_I2, shift VT_I2, x VT_I4, y VT_I4).
    static constexpr DISPID kEventValueChanged = 1;
    static constexpr DISPID kEventValueChanging = 2;
    static constexpr DISPID kEventClick = -600;
    static constexpr DISPID kEventDblClick = -601;
    static constexpr DISPID kEventMouseDown = -605;
    static constexpr DISPID kEventMouseUp = -607;

    static constexpr int kPointerCount = 3;

    CSlideControl();
    ~CSlideControl() override;

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;

    HRESULT CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) override;
    HRESULT AdviseEvents(IDispatch* sink, DWORD* cookie) override;
    HRESULT UnadviseEvents(DWORD cookie) override;

    // The state that the axis and pointer objects and the widget read and change.
    double Minimum() const { return m_minimum; }
    double Maximum() const { return m_maximum; }
    double Step() const { return m_step; }
    // Changing an end keeps the other and brings every pointer back into the range.
    void SetMinimum(double value);
    void SetMaximum(double value);
    // Negative steps are taken as their size; 0 lets values move freely.
    void SetStep(double step);
    // index is 1-based; 0.0 for an index out of range.
    double PointerValue(int index) const;
    // The value is snapped to the step and kept inside the range; FALSE for a bad index.
    bool SetPointerValue(int index, double value);
    // The value a pointer would take for a wanted value (step and range applied).
    double Coerce(double value) const;

    // From the widget: fires an event at every advised sink.
    void FireEvent(DISPID event, const std::vector<CComVariant>& args);

private:
    void ClampPointers();
    void Repaint();

    double m_minimum = 0.0;
    double m_maximum = 10.0;
    double m_step = 0.0;
    std::array<double, kPointerCount> m_values{};
    CEventSource m_events;
    QPointer<CSlideWidget> m_widget;
};

// Creates a slide control and answers interface iid of it (the class factory's work).
HRESULT CreateSlideControl(REFIID iid, void** object);
