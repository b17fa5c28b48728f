#pragma once

// QnCBasicLutParams: the automation object that carries one look-up-table parameter set
// ("Levora.QnCBasicLutParams"). Every method answers a long: the code of the set's operation.

#include "frames/lutparams/LutParamSet.h"
#include "lutcontrol/LevoraIds.h"
#include "platform/com/ComObject.h"
#include "platform/com/IDispatch.h"

class CQnCBasicLutParams : public CComObject<IDispatch> {
public:
    CQnCBasicLutParams() = default;
    explicit CQnCBasicLutParams(const CLutParamSet& set) : m_set(set) {}

    // The object's own dispatch interface id answers its IDispatch.
    HRESULT QueryInterface(REFIID iid, void** object) override {
        return CComObject::QueryInterface(iid == levora::kLutParamsIid ? IID_IDispatch : iid,
                                          object);
    }
    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;

    // Copies every value of another parameter object, read through its dispatch methods:
    // E_POINTER without source; the source's channel-count error is passed on.
    LONG BLPSet(IDispatch* source);

    CLutParamSet& Set() { return m_set; }

private:
    CLutParamSet m_set;
};

HRESULT CreateLutParams(REFIID iid, void** object);
