#pragma once

// COutsideControlWnd: the window of a hosted control made by class id, the base of the thin
// wrappers that turn each of a control's properties and methods into one dispatch call. The
// wrapper takes a dialog item's place (DDX_Control or SubclassDlgItem on the template's
// placeholder) or is created in code; the control's widget then fills the window, so moving,
// enabling and showing the window act on the control. A control that cannot be made leaves
// the wrapper empty: IsEmpty answers TRUE and every call answers E_FAIL.

#include "platform/com/ComPtr.h"
#include "platform/com/ComVariant.h"
#include "platform/com/Guid.h"
#include "platform/com/IDispatch.h"
#include "platform/framework/Wnd.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class COutsideControlWnd : public CWnd {
    DECLARE_DYNAMIC(COutsideControlWnd)

public:
    ~COutsideControlWnd() override;

    // Creates a child window at rect in pParentWnd and the control inside it.
    BOOL CreateControl(CWnd* pParentWnd, UINT nID, const CRect& rect,
                       DWORD dwStyle = WS_CHILD | WS_VISIBLE);
    BOOL IsEmpty() const { return !m_control; }
    IDispatch* GetControl() const { return m_control.Get(); }
    // The control's own widget inside this window, or null.
    QWidget* GetControlWidget() const { return m_controlWidget; }
    // Sends the control's events to sink until UnadviseEvents (E_FAIL when empty).
    HRESULT AdviseEvents(IDispatch* sink, DWORD* cookie);
    HRESULT UnadviseEvents(DWORD cookie);

    virtual CLSID GetClsid() const = 0;

protected:
    void PreSubclassWindow() override;

    HRESULT PutProperty(DISPID id, const CComVariant& value);
    HRESULT GetProperty(DISPID id, VARIANT* result);
    HRESULT CallMethod(DISPID id, const std::vector<CComVariant>& args, VARIANT* result);
    // A method that answers VT_I4: its answer in *answer.
    HRESULT CallLongMethod(DISPID id, const std::vector<CComVariant>& args, LONG* answer);

private:
    // Makes the control and its widget inside this window.
    void MakeControl();

    CComPtr<IDispatch> m_control;
    QPointer<QWidget> m_controlWidget;
};
