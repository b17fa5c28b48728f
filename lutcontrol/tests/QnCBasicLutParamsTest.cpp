#include "lutcontrol/LevoraIds.h"
#include "lutcontrol/QnCBasicLutModifyState.h"
#include "lutcontrol/QnCBasicLutParams.h"

#include "platform/com/ComPtr.h"
#include "platform/com/DispatchCall.h"
#include "testsupport/IsolatedTest.h"

using namespace levora;

namespace {

class QnCBasicLutParamsTest : public IsolatedTest {};

CComPtr<IDispatch> MakeParams() {
    CComPtr<IDispatch> object;
    EXPECT_EQ(CreateLutParams(IID_IDispatch, object.ReceiveVoid()), S_OK);
    return object;
}

LONG Call(IDispatch* object, DISPID member, const std::vector<CComVariant>& args) {
    CComVariant result;
    const HRESULT hr = DispatchInvoke(object, member, DISPATCH_METHOD, args, &result);
    EXPECT_EQ(hr, S_OK) << "dispid " << member;
    EXPECT_EQ(result.vt, VT_I4) << "dispid " << member;
    return result.lVal;
}

TEST_F(QnCBasicLutParamsTest, EveryDispatchIdReachesItsValue) {
    CComPtr<IDispatch> params = MakeParams();
    struct ChannelCase {
        DISPID get, set;
        LONG value;
    };
    for (const ChannelCase& c : {ChannelCase{kBLPGetBrightness, kBLPSetBrightness, -7},
                                 ChannelCase{kBLPGetContrast, kBLPSetContrast, 33},
                                 ChannelCase{kBLPGetExpLog, kBLPSetExpLog, 12},
                                 ChannelCase{kBLPGetReverse, kBLPSetReverse, 1}}) {
        EXPECT_EQ(Call(params.Get(), c.set, {CComVariant(LONG{2}), CComVariant(c.value)}), 0);
        LONG got = 0;
        EXPECT_EQ(Call(params.Get(), c.get, {CComVariant(LONG{2}), CComVariant::ByRef(&got)}), 0);
        EXPECT_EQ(got, c.value) << "dispid " << c.get;
        got = 99;
        EXPECT_EQ(Call(params.Get(), c.get, {CComVariant(LONG{3}), CComVariant::ByRef(&got)}),
                  E_FAIL);
        EXPECT_EQ(got, 99);
        EXPECT_EQ(Call(params.Get(), c.set, {CComVariant(LONG{-1}), CComVariant(c.value)}), E_FAIL);
    }
    struct WholeCase {
        DISPID get, set;
        LONG value;
    };
    for (const WholeCase& c :
         {WholeCase{kBLPGetLabel, kBLPSetLabel, 42}, WholeCase{kBLPGetColor2BW, kBLPSetColor2BW, 1},
          WholeCase{kBLPGetType1, kBLPSetType1, 5}}) {
        EXPECT_EQ(Call(params.Get(), c.set, {CComVariant(c.value)}), 0);
        LONG got = 0;
        EXPECT_EQ(Call(params.Get(), c.get, {CComVariant::ByRef(&got)}), 0);
        EXPECT_EQ(got, c.value) << "dispid " << c.get;
    }
    double gamma = 0;
    EXPECT_EQ(Call(params.Get(), kBLPGetGamma, {CComVariant(LONG{0}), CComVariant::ByRef(&gamma)}),
              0);
    EXPECT_EQ(gamma, 1.0);
    EXPECT_EQ(Call(params.Get(), kBLPSetGamma, {CComVariant(LONG{1}), CComVariant(2.5)}), 0);
    EXPECT_EQ(Call(params.Get(), kBLPGetGamma, {CComVariant(LONG{1}), CComVariant::ByRef(&gamma)}),
              0);
    EXPECT_EQ(gamma, 2.5);
    LONG count = 0;
    EXPECT_EQ(Call(params.Get(), kBLPGetNumberChannels, {CComVariant::ByRef(&count)}), 0);
    EXPECT_EQ(count, 3);

    LONG r = 0, g = 0, b = 0;
    const auto rgb = std::vector<CComVariant>{CComVariant::ByRef(&r), CComVariant::ByRef(&g),
                                              CComVariant::ByRef(&b)};
    EXPECT_EQ(Call(params.Get(), kBLPGetRGBScale, rgb), 0);
    EXPECT_EQ(r + g + b, 3 * 255);
    EXPECT_EQ(Call(params.Get(), kBLPSetRGBScale,
                   {CComVariant(LONG{300}), CComVariant(LONG{-5}), CComVariant(LONG{128})}),
              0);
    EXPECT_EQ(Call(params.Get(), kBLPGetRGBScale, rgb), 0);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 128);

    // A null out-value and a missing source.
    EXPECT_EQ(Call(params.Get(), kBLPGetLabel, {CComVariant::ByRef(static_cast<LONG*>(nullptr))}),
              E_POINTER);
    EXPECT_EQ(Call(params.Get(), kBLPSet, {CComVariant(static_cast<IDispatch*>(nullptr))}),
              E_POINTER);

    // Another object takes every value; defaults restore all but label and type.
    CComPtr<IDispatch> copy = MakeParams();
    EXPECT_EQ(Call(copy.Get(), kBLPSet, {CComVariant(params.Get())}), 0);
    auto* copied = static_cast<CQnCBasicLutParams*>(copy.Get());
    auto* original = static_cast<CQnCBasicLutParams*>(params.Get());
    EXPECT_TRUE(copied->Set().Equals(original->Set()));
    EXPECT_EQ(copied->Set().Color2BW(), 1);
    LONG label = 0;
    copied->Set().GetLabel(&label);
    EXPECT_EQ(label, 42);
    EXPECT_EQ(Call(copy.Get(), kBLPDefaultParameters, {}), 0);
    EXPECT_EQ(copied->Set().Brightness(2), 0);
    copied->Set().GetLabel(&label);
    EXPECT_EQ(label, 42);

    CComPtr<IUnknown> byOwnId;
    EXPECT_EQ(params->QueryInterface(kLutParamsIid, byOwnId.ReceiveVoid()), S_OK);
    EXPECT_EQ(byOwnId.Get(), static_cast<IUnknown*>(params.Get()));

    CComVariant result;
    EXPECT_EQ(DispatchInvoke(params.Get(), 22, DISPATCH_METHOD, {}, &result),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(DispatchInvoke(params.Get(), kBLPSetLabel, DISPATCH_METHOD, {}, &result),
              DISP_E_BADPARAMCOUNT);
}

TEST_F(QnCBasicLutParamsTest, StateObjectPairsGettersAndSettersOfTheEightFlags) {
    CComPtr<IDispatch> state;
    ASSERT_EQ(CreateModifyState(IID_IDispatch, state.ReceiveVoid()), S_OK);
    for (int flag = 0; flag < 8; ++flag) {
        LONG value = -1;
        EXPECT_EQ(Call(state.Get(), 2 * flag + 1, {CComVariant::ByRef(&value)}), 0);
        EXPECT_EQ(value, 1) << "flags start at 1";
        EXPECT_EQ(Call(state.Get(), 2 * flag + 2, {CComVariant(LONG{flag * 10})}), 0);
    }
    for (int flag = 0; flag < 8; ++flag) {
        LONG value = -1;
        Call(state.Get(), 2 * flag + 1, {CComVariant::ByRef(&value)});
        EXPECT_EQ(value, flag * 10);
    }
    EXPECT_EQ(Call(state.Get(), 1, {CComVariant::ByRef(static_cast<LONG*>(nullptr))}), E_POINTER);

    CComPtr<IDispatch> copy;
    ASSERT_EQ(CreateModifyState(IID_IDispatch, copy.ReceiveVoid()), S_OK);
    EXPECT_EQ(Call(copy.Get(), kBLMSSet, {CComVariant(state.Get())}), 0);
    EXPECT_EQ(static_cast<CQnCBasicLutModifyState*>(copy.Get())->State().stateLinkExpLog, 70);
    EXPECT_EQ(Call(copy.Get(), kBLMSSet, {CComVariant(static_cast<IDispatch*>(nullptr))}),
              E_POINTER);
}

}  // namespace
