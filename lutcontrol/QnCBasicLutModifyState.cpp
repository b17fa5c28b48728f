#include "lutcontrol/QnCBasicLutModifyState.h"

#include "lutcontrol/LevoraIds.h"
#include "platform/com/ComPtr.h"
#include "platform/com/DispArgs.h"
#include "platform/com/DispatchCall.h"

HRESULT CQnCBasicLutModifyState::Invoke(DISPID member, WORD flags, DISPPARAMS* params,
                                        VARIANT* result, EXCEPINFO*, UINT* argErr) {
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    CDispArgs args(params, argErr);
    LONG code = 0;
    HRESULT hr = args.Expect(1);
    if (member >= 1 && member <= 2 * LutEditState::kFlagCount) {
        const int flag = (member - 1) / 2;
        if (member % 2 == 1) {
            LONG* out = nullptr;
            if (SUCCEEDED(hr) && SUCCEEDED(hr = args.GetLongRef(0, &out))) {
                if (out)
                    *out = m_state.Flag(flag);
                else
                    code = E_POINTER;
            }
        } else {
            LONG value = 0;
            if (SUCCEEDED(hr) && SUCCEEDED(hr = args.GetLong(0, &value)))
                m_state.Flag(flag) = value;
        }
    } else if (member == levora::kBLMSSet) {
        IDispatch* source = nullptr;
        if (SUCCEEDED(hr) && SUCCEEDED(hr = args.GetDispatch(0, &source)))
            code = BLMSSet(source);
    } else {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (FAILED(hr))
        return hr;
    if (result) {
        VariantClear(result);
        result->vt = VT_I4;
        result->lVal = code;
    }
    return S_OK;
}

LONG CQnCBasicLutModifyState::BLMSSet(IDispatch* source) {
    if (!source)
        return E_POINTER;
    const CComPtr<IDispatch> held(source);
    for (int flag = 0; flag < LutEditState::kFlagCount; ++flag) {
        LONG value = m_state.Flag(flag);
        DispatchInvoke(source, 2 * flag + 1, DISPATCH_METHOD, {CComVariant::ByRef(&value)},
                       nullptr);
        m_state.Flag(flag) = value;
    }
    return 0;
}

HRESULT CreateModifyState(REFIID iid, void** object) {
    return CreateComObject<CQnCBasicLutModifyState>(iid, object);
}
