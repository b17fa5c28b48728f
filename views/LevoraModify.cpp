#include "views/LevoraModify.h"

#include "platform/com/ComCreate.h"
#include "platform/com/IHostedControl.h"

#include <QWidget>

IMPLEMENT_DYNCREATE(CLevoraModify, CWnd)

namespace {

constexpr DISPID kGetParamsLutsAndState = 4;
constexpr DISPID kSetParamsLutsAndState = 5;
constexpr DISPID kSetEnabled = 10;

}  // namespace

CLevoraModify::~CLevoraModify() {
    ReleaseControl();
}

BOOL CLevoraModify::CreateControl(const CRect& rect, CWnd* parent, UINT nID) {
    m_createError = E_UNEXPECTED;
    if (!parent || !parent->GetQWidget() || m_driver.GetDispatch())
        return FALSE;
    IDispatch* object = nullptr;
    m_createError = CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                     reinterpret_cast<void**>(&object));
    if (FAILED(m_createError))
        return FALSE;
    m_driver.AttachDispatch(object);
    CComPtr<IHostedControl> hosted;
    QWidget* widget = nullptr;
    m_createError = object->QueryInterface(IID_IHostedControl, hosted.ReceiveVoid());
    if (SUCCEEDED(m_createError))
        m_createError =
            hosted->CreateControlWidget(parent->GetQWidget(), static_cast<int>(nID), &widget);
    if (FAILED(m_createError) || !widget || !Attach(widget)) {
        if (SUCCEEDED(m_createError))
            m_createError = E_FAIL;
        m_driver.ReleaseDispatch();
        return FALSE;
    }
    SetDlgCtrlID(static_cast<int>(nID));
    widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    widget->show();
    return TRUE;
}

HRESULT CLevoraModify::AdviseEvents(IDispatch* sink) {
    CComPtr<IHostedControl> hosted;
    IDispatch* object = m_driver.GetDispatch();
    if (!object || FAILED(object->QueryInterface(IID_IHostedControl, hosted.ReceiveVoid())))
        return E_UNEXPECTED;
    if (m_cookie)
        hosted->UnadviseEvents(m_cookie);
    m_cookie = 0;
    return hosted->AdviseEvents(sink, &m_cookie);
}

void CLevoraModify::ReleaseControl() {
    IDispatch* object = m_driver.GetDispatch();
    if (!object)
        return;
    CComPtr<IHostedControl> hosted;
    if (m_cookie && SUCCEEDED(object->QueryInterface(IID_IHostedControl, hosted.ReceiveVoid())))
        hosted->UnadviseEvents(m_cookie);
    m_cookie = 0;
    hosted.Release();
    // The control deletes its own window with itself: this object must not hold it then.
    Detach();
    m_driver.ReleaseDispatch();
}

BOOL CLevoraModify::DestroyWindow() {
    ReleaseControl();
    return TRUE;
}

LONG CLevoraModify::BLMCGetParamsLutsAndState(IDispatch** colour, IDispatch** bw,
                                              IDispatch** state) {
    return m_driver.InvokeLong(
        kGetParamsLutsAndState,
        {CComVariant::ByRef(colour), CComVariant::ByRef(bw), CComVariant::ByRef(state)});
}

LONG CLevoraModify::BLMCSetParamsLutsAndState(IDispatch* colour, IDispatch* bw, IDispatch* state) {
    return m_driver.InvokeLong(kSetParamsLutsAndState,
                               {CComVariant(colour), CComVariant(bw), CComVariant(state)});
}

LONG CLevoraModify::BLMCSetEnabled(LONG enable) {
    return m_driver.InvokeLong(kSetEnabled, {CComVariant(enable)});
}
