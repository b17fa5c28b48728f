#include "lutcontrol/QnCBasicLutParams.h"

#include "lutcontrol/LevoraIds.h"
#include "platform/com/ComPtr.h"
#include "platform/com/DispArgs.h"
#include "platform/com/DispatchCall.h"

using namespace levora;

namespace {

// Calls a method of source that answers a long; an error of the call itself counts as E_FAIL.
LONG CallLong(IDispatch* source, DISPID member, const std::vector<CComVariant>& args) {
    CComVariant result;
    if (FAILED(DispatchInvoke(source, member, DISPATCH_METHOD, args, &result)))
        return E_FAIL;
    return result.ToLong(E_FAIL);
}

}  // namespace

HRESULT CQnCBasicLutParams::Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT* argErr) {
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    CDispArgs args(params, argErr);
    LONG code = 0;
    HRESULT hr = S_OK;
    LONG channel = 0;
    LONG value = 0;
    LONG* out = nullptr;
    double number = 0;
    double* numberOut = nullptr;

    // Getters (channel, long*) and setters (channel, long) of the per-channel integers.
    using Getter = HRESULT (CLutParamSet::*)(LONG, LONG*);
    using Setter = HRESULT (CLutParamSet::*)(LONG, LONG);
    auto channelGet = [&](Getter getter) {
        if (SUCCEEDED(hr = args.Expect(2)) && SUCCEEDED(hr = args.GetLong(0, &channel)) &&
            SUCCEEDED(hr = args.GetLongRef(1, &out)))
            code = (m_set.*getter)(channel, out);
    };
    auto channelSet = [&](Setter setter) {
        if (SUCCEEDED(hr = args.Expect(2)) && SUCCEEDED(hr = args.GetLong(0, &channel)) &&
            SUCCEEDED(hr = args.GetLong(1, &value)))
            code = (m_set.*setter)(channel, value);
    };
    using WholeGetter = HRESULT (CLutParamSet::*)(LONG*);
    using WholeSetter = HRESULT (CLutParamSet::*)(LONG);
    auto wholeGet = [&](WholeGetter getter) {
        if (SUCCEEDED(hr = args.Expect(1)) && SUCCEEDED(hr = args.GetLongRef(0, &out)))
            code = (m_set.*getter)(out);
    };
    auto wholeSet = [&](WholeSetter setter) {
        if (SUCCEEDED(hr = args.Expect(1)) && SUCCEEDED(hr = args.GetLong(0, &value)))
            code = (m_set.*setter)(value);
    };

    switch (member) {
        case kBLPGetBrightness:
            channelGet(&CLutParamSet::GetBrightness);
            break;
        case kBLPSetBrightness:
            channelSet(&CLutParamSet::SetBrightness);
            break;
        case kBLPGetContrast:
            channelGet(&CLutParamSet::GetContrast);
            break;
        case kBLPSetContrast:
            channelSet(&CLutParamSet::SetContrast);
            break;
        case kBLPGetExpLog:
            channelGet(&CLutParamSet::GetExpLog);
            break;
        case kBLPSetExpLog:
            channelSet(&CLutParamSet::SetExpLog);
            break;
        case kBLPGetNumberChannels:
            wholeGet(&CLutParamSet::GetNumberChannels);
            break;
        case kBLPGetGamma:
            if (SUCCEEDED(hr = args.Expect(2)) && SUCCEEDED(hr = args.GetLong(0, &channel)) &&
                SUCCEEDED(hr = args.GetDoubleRef(1, &numberOut)))
                code = m_set.GetGamma(channel, numberOut);
            break;
        case kBLPSetGamma:
            if (SUCCEEDED(hr = args.Expect(2)) && SUCCEEDED(hr = args.GetLong(0, &channel)) &&
                SUCCEEDED(hr = args.GetDouble(1, &number)))
                code = m_set.SetGamma(channel, number);
            break;
        case kBLPGetReverse:
            channelGet(&CLutParamSet::GetReverse);
            break;
        case kBLPSetReverse:
            channelSet(&CLutParamSet::SetReverse);
            break;
        case kBLPGetLabel:
            wholeGet(&CLutParamSet::GetLabel);
            break;
        case kBLPSetLabel:
            wholeSet(&CLutParamSet::SetLabel);
            break;
        case kBLPGetColor2BW:
            wholeGet(&CLutParamSet::GetColor2BW);
            break;
        case kBLPSetColor2BW:
            wholeSet(&CLutParamSet::SetColor2BW);
            break;
        case kBLPGetRGBScale: {
            LONG* red = nullptr;
            LONG* green = nullptr;
            LONG* blue = nullptr;
            if (SUCCEEDED(hr = args.Expect(3)) && SUCCEEDED(hr = args.GetLongRef(0, &red)) &&
                SUCCEEDED(hr = args.GetLongRef(1, &green)) &&
                SUCCEEDED(hr = args.GetLongRef(2, &blue)))
                code = m_set.GetRGBScale(red, green, blue);
            break;
        }
        case kBLPSetRGBScale: {
            LONG red = 0;
            LONG green = 0;
            LONG blue = 0;
            if (SUCCEEDED(hr = args.Expect(3)) && SUCCEEDED(hr = args.GetLong(0, &red)) &&
                SUCCEEDED(hr = args.GetLong(1, &green)) && SUCCEEDED(hr = args.GetLong(2, &blue)))
                code = m_set.SetRGBScale(red, green, blue);
            break;
        }
        case kBLPGetType1:
            wholeGet(&CLutParamSet::GetType1);
            break;
        case kBLPSetType1:
            wholeSet(&CLutParamSet::SetType1);
            break;
        case kBLPDefaultParameters:
            if (SUCCEEDED(hr = args.Expect(0)))
                code = m_set.SetDefaults();
            break;
        case kBLPSet: {
            IDispatch* source = nullptr;
            if (SUCCEEDED(hr = args.Expect(1)) && SUCCEEDED(hr = args.GetDispatch(0, &source)))
                code = BLPSet(source);
            break;
        }
        default:
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

LONG CQnCBasicLutParams::BLPSet(IDispatch* source) {
    if (!source)
        return E_POINTER;
    const CComPtr<IDispatch> held(source);
    LONG count = 0;
    const LONG countCode = CallLong(source, kBLPGetNumberChannels, {CComVariant::ByRef(&count)});
    if (countCode != 0)
        return countCode;
    for (LONG channel = 0; channel < count && channel < CLutParamSet::kChannels; ++channel) {
        LONG brightness = 0;
        LONG contrast = 0;
        LONG expLog = 0;
        double gamma = 1.0;
        LONG reverse = 0;
        m_set.GetBrightness(channel, &brightness);
        m_set.GetContrast(channel, &contrast);
        m_set.GetExpLog(channel, &expLog);
        m_set.GetGamma(channel, &gamma);
        m_set.GetReverse(channel, &reverse);
        const CComVariant which(channel);
        CallLong(source, kBLPGetBrightness, {which, CComVariant::ByRef(&brightness)});
        CallLong(source, kBLPGetContrast, {which, CComVariant::ByRef(&contrast)});
        CallLong(source, kBLPGetExpLog, {which, CComVariant::ByRef(&expLog)});
        CallLong(source, kBLPGetGamma, {which, CComVariant::ByRef(&gamma)});
        CallLong(source, kBLPGetReverse, {which, CComVariant::ByRef(&reverse)});
        m_set.SetBrightness(channel, brightness);
        m_set.SetContrast(channel, contrast);
        m_set.SetExpLog(channel, expLog);
        m_set.SetGamma(channel, gamma);
        m_set.SetReverse(channel, reverse);
    }
    LONG label = 0;
    LONG color2bw = 0;
    LONG red = 255;
    LONG green = 255;
    LONG blue = 255;
    LONG type1 = 0;
    m_set.GetLabel(&label);
    m_set.GetColor2BW(&color2bw);
    m_set.GetRGBScale(&red, &green, &blue);
    m_set.GetType1(&type1);
    CallLong(source, kBLPGetLabel, {CComVariant::ByRef(&label)});
    CallLong(source, kBLPGetColor2BW, {CComVariant::ByRef(&color2bw)});
    CallLong(source, kBLPGetRGBScale,
             {CComVariant::ByRef(&red), CComVariant::ByRef(&green), CComVariant::ByRef(&blue)});
    CallLong(source, kBLPGetType1, {CComVariant::ByRef(&type1)});
    m_set.SetLabel(label);
    m_set.SetColor2BW(color2bw);
    m_set.SetRGBScale(red, green, blue);
    m_set.SetType1(type1);
    return 0;
}

HRESULT CreateLutParams(REFIID iid, void** object) {
    return CreateComObject<CQnCBasicLutParams>(iid, object);
}
