#pragma once

// QnCBasicLutModifyState: the automation object that carries the editor's eight state flags
// ("Levora.QnCBasicLutModifyState"), all 1 when made.

#include "lutcontrol/LevoraIds.h"
#include "lutcontrol/LutEditState.h"
#include "platform/com/ComObject.h"
#include "platform/com/IDispatch.h"

class CQnCBasicLutModifyState : public CComObject<IDispatch> {
public:
    CQnCBasicLutModifyState() = default;
    explicit CQnCBasicLutModifyState(const LutEditState& flags) { m_state.CopyFlags(flags); }

    // The object's own dispatch interface id answers its IDispatch.
    HRESULT QueryInterface(REFIID iid, void** object) override {
        return CComObject::QueryInterface(iid == levora::kModifyStateIid ? IID_IDispatch : iid,
                                          object);
    }
    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;

    // Copies the eight flags of another state object through its getters; E_POINTER without
    // source.
    LONG BLMSSet(IDispatch* source);

    // Only the flags count; callback and context are never set here.
    const LutEditState& State() const { return m_state; }

private:
    LutEditState m_state;
};

HRESULT CreateModifyState(REFIID iid, void** object);
