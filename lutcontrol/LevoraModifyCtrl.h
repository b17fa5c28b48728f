#pragma once

// CLevoraModifyCtrl: the look-up-table editor control (coclass LevoraModify). Its window is
// the editor panel (CLutEditDialog), which it gives to the host through IHostedControl; the
// host reads and writes the two parameter sets and the state as automation objects by dispatch
// id and hears BLMCParamsChanged after every user change. The control computes no table.
// User-interface thread only.

#include "frames/lutparams/LutParamSet.h"
#include "lutcontrol/LevoraIds.h"
#include "lutcontrol/LutEditDialog.h"
#include "lutcontrol/LutEditState.h"
#include "platform/com/ComObject.h"
#include "platform/com/EventSource.h"
#include "platform/com/IDispatch.h"
#include "platform/com/IHostedControl.h"

#include <QPointer>
#include <QString>

class QWidget;

class CLevoraModifyCtrl : public CComObject<IDispatch, IHostedControl> {
public:
    CLevoraModifyCtrl();
    ~CLevoraModifyCtrl() override;

    // The object's own dispatch interface id answers its IDispatch.
    HRESULT QueryInterface(REFIID iid, void** object) override {
        return CComObject::QueryInterface(iid == levora::kModifyDispatchIid ? IID_IDispatch : iid,
                                          object);
    }
    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;

    // Creates the control's window with the editor panel filling it; the window belongs to
    // parent, but is destroyed with the control at the latest (the module's code must not
    // outlive its objects).
    HRESULT CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) override;
    HRESULT AdviseEvents(IDispatch* sink, DWORD* cookie) override;
    HRESULT UnadviseEvents(DWORD cookie) override;

    // For tests inside the module: the panel, nullptr before the window is made.
    CLutEditDialog* Dialog() const { return m_dialog; }
    bool IsModified() const { return m_modified; }

protected:
    // Which object GetParamsLutsAndState makes.
    enum class Handed { Colour, Bw, State };
    // Makes one handed-out object as a copy of the control's values (tests fail it on purpose).
    virtual HRESULT MakeObject(Handed which, IDispatch** object);

private:
    // The change callback the panel calls: fires BLMCParamsChanged while the panel lives.
    static LONG FireParamsChanged(void* context);

    // The dispatch methods; each answers the long its caller receives.
    LONG GetParamsLutsAndState(IDispatch** colour, IDispatch** bw, IDispatch** state);
    LONG SetParamsLutsAndState(IDispatch* colour, IDispatch* bw, IDispatch* state);

    CLutParamSet m_colour;
    CLutParamSet m_bw;
    LutEditState m_state;
    bool m_enabled = true;
    bool m_modified = false;
    QString m_basePath;
    QPointer<QWidget> m_window;
    QPointer<CLutEditDialog> m_dialog;
    CEventSource m_events;
};

HRESULT CreateLevoraModifyCtrl(REFIID iid, void** object);
