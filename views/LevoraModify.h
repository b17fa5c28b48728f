#pragma once

// CLevoraModify: the program's window wrapper of the look-up-table editor control, which lives
// in the Levora module and is created by class id at run time (the program never links it).
// Its methods call the control's dispatch methods; a failed call itself is raised as a
// COleDispatchException. User-interface thread only.

#include "platform/com/Guid.h"
#include "platform/com/OleDispatchDriver.h"
#include "platform/framework/Wnd.h"

class CLevoraModify : public CWnd {
    DECLARE_DYNCREATE(CLevoraModify)

public:
    static constexpr CLSID kClsid = GuidLiteral("{39E67147-0012-4E2B-8C89-1DBB393F54FB}");
    // The control's event BLMCParamsChanged (no arguments).
    static constexpr DISPID kEventParamsChanged = 1;

    CLevoraModify() = default;
    ~CLevoraModify() override;

    // Creates the control as a child of parent with id nID at rect. FALSE when the module is not
    // registered, cannot be loaded or gives no window; GetCreateError tells which.
    BOOL CreateControl(const CRect& rect, CWnd* parent, UINT nID);
    HRESULT GetCreateError() const { return m_createError; }
    // The control's events go to sink until the control is released.
    HRESULT AdviseEvents(IDispatch* sink);
    // Stops the events and releases the control; its window goes with it.
    void ReleaseControl();
    BOOL DestroyWindow() override;

    // The caller owns the three references returned.
    LONG BLMCGetParamsLutsAndState(IDispatch** colour, IDispatch** bw, IDispatch** state);
    LONG BLMCSetParamsLutsAndState(IDispatch* colour, IDispatch* bw, IDispatch* state);
    LONG BLMCSetEnabled(LONG enable);

private:
    COleDispatchDriver m_driver;
    DWORD m_cookie = 0;
    HRESULT m_createError = S_OK;
};
