#pragma once

// IHostedControl: how a dialog hosts a control object created by class id from another module.
// The control gives its widget inside the dialog's widget and sends its events to a dispatch
// sink of the dialog (event dispatch ids as the control documents them).

#include "platform/com/IDispatch.h"

class QWidget;

class IHostedControl : public IUnknown {
public:
    static constexpr IID kIid = GuidLiteral("{5C0E3D1A-7B42-4F8E-9A61-2D9B4E7C1F30}");
    using BaseInterface = IUnknown;

    // Creates the control's widget as a child of parent, known there by controlId, and returns
    // it. The widget belongs to parent (Qt ownership) and is destroyed with it; the object does
    // not outlive its use by the dialog. E_POINTER for a null parent or widget; E_UNEXPECTED when
    // the widget was already created.
    virtual HRESULT CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) = 0;
    // Sends the control's events to sink until UnadviseEvents(*cookie) (a reference is kept).
    virtual HRESULT AdviseEvents(IDispatch* sink, DWORD* cookie) = 0;
    // CONNECT_E_NOCONNECTION for an unknown cookie.
    virtual HRESULT UnadviseEvents(DWORD cookie) = 0;

protected:
    ~IHostedControl() = default;
};

inline constexpr IID IID_IHostedControl = IHostedControl::kIid;
