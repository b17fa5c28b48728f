#include "views/LutParamsDispatch.h"

#include "views/QnCBasicLutParamsDriver.h"

#include <algorithm>

namespace {

// The object's channel count, at most the set's.
LONG ChannelCount(IQnCBasicLutParamsDriver& params) {
    LONG count = 0;
    if (params.BLPGetNumberChannels(&count) != 0)
        return 0;
    return std::clamp<LONG>(count, 0, CLutParamSet::kChannels);
}

}  // namespace

HRESULT CopyLutParamsToDispatch(const CLutParamSet& set, IDispatch* object) {
    if (!object)
        return E_FAIL;
    IQnCBasicLutParamsDriver params(object, false);
    try {
        const LONG channels = ChannelCount(params);
        for (LONG c = 0; c < channels; ++c) {
            params.BLPSetBrightness(c, set.Brightness(c));
            params.BLPSetContrast(c, set.Contrast(c));
            params.BLPSetExpLog(c, set.ExpLog(c));
            params.BLPSetGamma(c, set.Gamma(c));
            params.BLPSetReverse(c, set.Reverse(c));
        }
        CLutParamSet copy = set;
        LONG label = 0;
        LONG type1 = 0;
        copy.GetLabel(&label);
        copy.GetType1(&type1);
        params.BLPSetLabel(label);
        params.BLPSetColor2BW(set.Color2BW());
        params.BLPSetRGBScale(set.RedScale(), set.GreenScale(), set.BlueScale());
        params.BLPSetType1(type1);
    } catch (const COleDispatchException& e) {
        return e.Error();
    }
    return S_OK;
}

HRESULT CopyLutParamsFromDispatch(IDispatch* object, CLutParamSet* set) {
    if (!object || !set)
        return E_FAIL;
    IQnCBasicLutParamsDriver params(object, false);
    try {
        const LONG channels = ChannelCount(params);
        for (LONG c = 0; c < channels; ++c) {
            LONG value = 0;
            double gamma = 1.0;
            if (params.BLPGetBrightness(c, &value) == 0)
                set->SetBrightness(c, value);
            if (params.BLPGetContrast(c, &value) == 0)
                set->SetContrast(c, value);
            if (params.BLPGetExpLog(c, &value) == 0)
                set->SetExpLog(c, value);
            if (params.BLPGetGamma(c, &gamma) == 0)
                set->SetGamma(c, gamma);
            if (params.BLPGetReverse(c, &value) == 0)
                set->SetReverse(c, value);
        }
        LONG value = 0;
        if (params.BLPGetLabel(&value) == 0)
            set->SetLabel(value);
        if (params.BLPGetColor2BW(&value) == 0)
            set->SetColor2BW(value);
        LONG red = 255;
        LONG green = 255;
        LONG blue = 255;
        if (params.BLPGetRGBScale(&red, &green, &blue) == 0)
            set->SetRGBScale(red, green, blue);
        if (params.BLPGetType1(&value) == 0)
            set->SetType1(value);
    } catch (const COleDispatchException& e) {
        return e.Error();
    }
    return S_OK;
}
