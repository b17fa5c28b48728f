#include "shell/OutsideControlWnd.h"

#include "platform/com/DispatchCall.h"
#include "platform/com/IHostedControl.h"
#include "platform/controls/OutsideControls.h"

#include <QVBoxLayout>
#include <QWidget>

IMPLEMENT_DYNAMIC(COutsideControlWnd, CWnd)

COutsideControlWnd::~COutsideControlWnd() = default;

BOOL COutsideControlWnd::CreateControl(CWnd* pParentWnd, UINT nID, const CRect& rect,
                                       DWORD dwStyle) {
    if (!Create(nullptr, QString(), dwStyle | WS_CHILD, rect, pParentWnd, nID))
        return FALSE;
    MakeControl();
    return TRUE;
}

void COutsideControlWnd::PreSubclassWindow() {
    CWnd::PreSubclassWindow();
    MakeControl();
}

void COutsideControlWnd::MakeControl() {
    QWidget* host = GetQWidget();
    if (!host || m_control)
        return;
    CComPtr<IDispatch> control;
    CComPtr<IHostedControl> hosted;
    QWidget* widget = nullptr;
    if (FAILED(CreateOutsideControl(GetClsid(), IID_IDispatch, control.ReceiveVoid())) ||
        FAILED(control.QueryInterface(&hosted)) ||
        FAILED(hosted->CreateControlWidget(host, GetDlgCtrlID(), &widget)) || !widget)
        return;
    // A placeholder's own text would show through the control.
    host->setProperty("text", QString());
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(widget);
    widget->show();
    m_control = control;
    m_controlWidget = widget;
}

HRESULT COutsideControlWnd::AdviseEvents(IDispatch* sink, DWORD* cookie) {
    CComPtr<IHostedControl> hosted;
    if (!m_control || FAILED(m_control.QueryInterface(&hosted)))
        return E_FAIL;
    return hosted->AdviseEvents(sink, cookie);
}

HRESULT COutsideControlWnd::UnadviseEvents(DWORD cookie) {
    CComPtr<IHostedControl> hosted;
    if (!m_control || FAILED(m_control.QueryInterface(&hosted)))
        return E_FAIL;
    return hosted->UnadviseEvents(cookie);
}

HRESULT COutsideControlWnd::PutProperty(DISPID id, const CComVariant& value) {
    return m_control ? DispatchPut(m_control.Get(), id, value) : E_FAIL;
}

HRESULT COutsideControlWnd::GetProperty(DISPID id, VARIANT* result) {
    return m_control ? DispatchGet(m_control.Get(), id, result) : E_FAIL;
}

HRESULT COutsideControlWnd::CallMethod(DISPID id, const std::vector<CComVariant>& args,
                                       VARIANT* result) {
    return m_control ? DispatchInvoke(m_control.Get(), id, DISPATCH_METHOD, args, result) : E_FAIL;
}

HRESULT COutsideControlWnd::CallLongMethod(DISPID id, const std::vector<CComVariant>& args,
                                           LONG* answer) {
    CComVariant result;
    const HRESULT hr = CallMethod(id, args, &result);
    if (FAILED(hr))
        return hr;
    if (result.vt != VT_I4)
        return DISP_E_TYPEMISMATCH;
    if (answer)
        *answer = result.lVal;
    return S_OK;
}
