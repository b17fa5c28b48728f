#include "sensordata/QnVidraData.h"

#include "platform/com/DispArgs.h"

namespace {

HRESULT ReturnLong(VARIANT* result, LONG value) {
    if (result) {
        VariantClear(result);
        result->vt = VT_I4;
        result->lVal = value;
    }
    return S_OK;
}

}  // namespace

HRESULT CQnVidraData::Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO*, UINT* argErr) {
    if (!(flags & DISPATCH_METHOD) || (member != kDispOpen && member != kDispSave))
        return DISP_E_MEMBERNOTFOUND;
    CDispArgs args(params, argErr);
    QString path;
    HRESULT hr = args.Expect(1);
    if (SUCCEEDED(hr))
        hr = args.GetString(0, &path);
    if (FAILED(hr))
        return hr;
    const HRESULT done = member == kDispOpen ? m_data.Open(path) : m_data.Save(path);
    return ReturnLong(result, SUCCEEDED(done) ? 0 : 1);
}

HRESULT CQnVidraData::CreateByProgId(const QString& progId, IDispatch** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (progId != QLatin1String(kProgId))
        return CO_E_CLASSSTRING;
    return CreateComObject<CQnVidraData>(IID_IDispatch, reinterpret_cast<void**>(out));
}
