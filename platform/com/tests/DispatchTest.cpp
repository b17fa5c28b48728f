#include "platform/com/ComPtr.h"
#include "platform/com/DispArgs.h"
#include "platform/com/DispatchCall.h"
#include "platform/com/EventSource.h"
#include "platform/com/IClassFactory.h"
#include "platform/com/IHostedControl.h"
#include "platform/com/MemorySettingsStore.h"
#include "platform/com/tests/CountedObject.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A dispatch object whose member 1 reads its arguments with CDispArgs as
// (long, double, BSTR, IDispatch*, long* out, double* out) and writes the outs.
class CProbe : public CComObject<IDispatch> {
public:
    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override {
        CDispArgs args(params, argErr);
        if (member == 2 && (flags & DISPATCH_PROPERTYPUT)) {
            HRESULT hr = args.Expect(1);
            return SUCCEEDED(hr) ? args.GetString(0, &text) : hr;
        }
        if (member == 2 && (flags & DISPATCH_PROPERTYGET)) {
            HRESULT hr = args.Expect(0);
            if (SUCCEEDED(hr) && result) {
                result->vt = VT_BSTR;
                result->bstrVal = SysAllocQString(text);
            }
            return hr;
        }
        if (member == 3 && excepInfo) {
            excepInfo->wCode = 1001;
            excepInfo->bstrSource = SysAllocQString(QStringLiteral("Probe"));
            excepInfo->bstrDescription = SysAllocQString(QStringLiteral("It went wrong."));
            excepInfo->scode = E_FAIL;
            return DISP_E_EXCEPTION;
        }
        if (member != 1 || !(flags & DISPATCH_METHOD))
            return DISP_E_MEMBERNOTFOUND;
        LONG* longOut = nullptr;
        double* doubleOut = nullptr;
        HRESULT hr = args.Expect(6);
        if (SUCCEEDED(hr))
            hr = args.GetLong(0, &number);
        if (SUCCEEDED(hr))
            hr = args.GetDouble(1, &real);
        if (SUCCEEDED(hr))
            hr = args.GetString(2, &text);
        if (SUCCEEDED(hr))
            hr = args.GetDispatch(3, &dispatch);
        if (SUCCEEDED(hr))
            hr = args.GetLongRef(4, &longOut);
        if (SUCCEEDED(hr))
            hr = args.GetDoubleRef(5, &doubleOut);
        if (FAILED(hr))
            return hr;
        if (!longOut || !doubleOut)
            return E_POINTER;
        *longOut = number * 2;
        *doubleOut = real / 2;
        if (result) {
            result->vt = VT_I4;
            result->lVal = 0;
        }
        return S_OK;
    }

    LONG number = 0;
    double real = 0;
    QString text;
    IDispatch* dispatch = nullptr;
};

class DispatchTest : public ::testing::Test {
protected:
    DispatchTest() {
        m_probe.Attach(new CProbe);
        m_probe->AddRef();
        m_other.Attach(new CCountedObject);
        m_other->AddRef();
    }

    CComPtr<CProbe> m_probe;
    CComPtr<CCountedObject> m_other;
};

TEST_F(DispatchTest, ArgumentsArriveInDeclarationOrderAndOutValuesReturn) {
    LONG longOut = 0;
    double doubleOut = 0;
    CComVariant result;
    ASSERT_EQ(DispatchInvoke(
                  m_probe.Get(), 1, DISPATCH_METHOD,
                  {CComVariant(LONG{21}), CComVariant(5.0), CComVariant(QStringLiteral("name")),
                   CComVariant(static_cast<IDispatch*>(m_other.Get())),
                   CComVariant::ByRef(&longOut), CComVariant::ByRef(&doubleOut)},
                  &result),
              S_OK);
    EXPECT_EQ(m_probe->number, 21);
    EXPECT_EQ(m_probe->real, 5.0);
    EXPECT_EQ(m_probe->text, QStringLiteral("name"));
    EXPECT_EQ(m_probe->dispatch, m_other.Get());
    EXPECT_EQ(longOut, 42);
    EXPECT_EQ(doubleOut, 2.5);
    EXPECT_EQ(result.vt, VT_I4);

    // Values convert as automation does; out-values may come as VARIANT references.
    CComVariant longSlot(QStringLiteral("previous text is freed"));
    CComVariant doubleSlot;
    ASSERT_EQ(DispatchInvoke(m_probe.Get(), 1, DISPATCH_METHOD,
                             {CComVariant(QStringLiteral("7")), CComVariant(LONG{3}),
                              CComVariant(LONG{12}), CComVariant(static_cast<IDispatch*>(nullptr)),
                              CComVariant::ByRef(static_cast<VARIANT*>(&longSlot)),
                              CComVariant::ByRef(static_cast<VARIANT*>(&doubleSlot))},
                             nullptr),
              S_OK);
    EXPECT_EQ(m_probe->number, 7);
    EXPECT_EQ(m_probe->text, QStringLiteral("12"));
    EXPECT_EQ(m_probe->dispatch, nullptr);
    EXPECT_EQ(longSlot.vt, VT_I4);
    EXPECT_EQ(longSlot.lVal, 14);
    EXPECT_EQ(doubleSlot.vt, VT_R8);
    EXPECT_EQ(doubleSlot.dblVal, 1.5);
}

TEST_F(DispatchTest, FaultyCallsGiveTheirCodeAndArgument) {
    LONG longOut = 0;
    double doubleOut = 0;
    const auto good = [&] {
        return std::vector<CComVariant>{CComVariant(LONG{1}),
                                        CComVariant(1.0),
                                        CComVariant(QStringLiteral("t")),
                                        CComVariant(static_cast<IDispatch*>(nullptr)),
                                        CComVariant::ByRef(&longOut),
                                        CComVariant::ByRef(&doubleOut)};
    };
    struct Case {
        const char* name;
        std::function<void(std::vector<CComVariant>&)> change;
        DISPID member;
        HRESULT hr;
        int argErr;  // -1: not reported
    };
    const Case cases[] = {
        {"too few", [](auto& a) { a.pop_back(); }, 1, DISP_E_BADPARAMCOUNT, -1},
        {"too many", [](auto& a) { a.push_back(CComVariant(LONG{0})); }, 1, DISP_E_BADPARAMCOUNT,
         -1},
        {"none", [](auto& a) { a.clear(); }, 1, DISP_E_BADPARAMCOUNT, -1},
        {"text for long", [](auto& a) { a[0] = CComVariant(QStringLiteral("x")); }, 1,
         DISP_E_TYPEMISMATCH, 0},
        {"object for double",
         [&](auto& a) { a[1] = CComVariant(static_cast<IDispatch*>(m_other.Get())); }, 1,
         DISP_E_TYPEMISMATCH, 1},
        {"number for object", [](auto& a) { a[3] = CComVariant(LONG{5}); }, 1, DISP_E_TYPEMISMATCH,
         3},
        {"value for out", [](auto& a) { a[4] = CComVariant(LONG{5}); }, 1, DISP_E_TYPEMISMATCH, 4},
        {"wrong out type", [&](auto& a) { a[5] = CComVariant::ByRef(&longOut); }, 1,
         DISP_E_TYPEMISMATCH, 5},
        {"overflow", [](auto& a) { a[0] = CComVariant(1e12); }, 1, DISP_E_OVERFLOW, 0},
        {"left out", [](auto& a) { a[2] = CComVariant::Missing(); }, 1, DISP_E_PARAMNOTFOUND, 2},
        {"null out", [](auto& a) { a[4] = CComVariant::ByRef(static_cast<LONG*>(nullptr)); }, 1,
         E_POINTER, -1},
        {"unknown member", [](auto&) {}, 99, DISP_E_MEMBERNOTFOUND, -1},
    };
    for (const Case& c : cases) {
        std::vector<CComVariant> args = good();
        c.change(args);
        UINT argErr = 1000;
        EXPECT_EQ(DispatchInvoke(m_probe.Get(), c.member, DISPATCH_METHOD, args, nullptr, nullptr,
                                 &argErr),
                  c.hr)
            << c.name;
        EXPECT_EQ(argErr, c.argErr < 0 ? 1000u : static_cast<UINT>(c.argErr)) << c.name;
    }
    EXPECT_EQ(DispatchInvoke(nullptr, 1, DISPATCH_METHOD, good(), nullptr), E_POINTER);
}

TEST_F(DispatchTest, PropertyPutPassesItsValueAsTheNamedArgument) {
    ASSERT_EQ(DispatchPut(m_probe.Get(), 2, CComVariant(QStringLiteral("caption"))), S_OK);
    EXPECT_EQ(m_probe->text, QStringLiteral("caption"));
    CComVariant value(LONG{3});  // The old value is cleared by the call.
    ASSERT_EQ(DispatchGet(m_probe.Get(), 2, &value), S_OK);
    EXPECT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(QStringFromBstr(value.bstrVal), QStringLiteral("caption"));

    // Named arguments other than the put value are refused.
    CComVariant arg(LONG{1});
    DISPID named = 7;
    DISPPARAMS params;
    params.rgvarg = &arg;
    params.cArgs = 1;
    params.rgdispidNamedArgs = &named;
    params.cNamedArgs = 1;
    EXPECT_EQ(m_probe->Invoke(2, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
              DISP_E_NONAMEDARGS);
}

TEST_F(DispatchTest, ServerExceptionReachesTheCallerWhoFreesIt) {
    EXCEPINFO info;
    EXPECT_EQ(DispatchInvoke(m_probe.Get(), 3, DISPATCH_METHOD, {}, nullptr, &info),
              DISP_E_EXCEPTION);
    EXPECT_EQ(info.wCode, 1001);
    EXPECT_EQ(QStringFromBstr(info.bstrSource), QStringLiteral("Probe"));
    EXPECT_EQ(QStringFromBstr(info.bstrDescription), QStringLiteral("It went wrong."));
    EXPECT_EQ(info.scode, E_FAIL);
    ClearExcepInfo(&info);
    EXPECT_EQ(info.bstrDescription, nullptr);
    ClearExcepInfo(nullptr);
}

// A dual interface of the kind automation objects have: a dispatch interface with an id of its own.
class IDerived : public IDispatch {
public:
    static constexpr IID kIid = GuidLiteral("{6B1D2E3F-4A5B-4C6D-8E7F-9A0B1C2D3E4F}");
    using BaseInterface = IDispatch;
    virtual LONG Answer() = 0;

protected:
    ~IDerived() = default;
};

class CDerived : public CComObject<IDerived, IHostedControl> {
public:
    HRESULT Invoke(DISPID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return S_OK; }
    LONG Answer() override { return 42; }
    HRESULT CreateControlWidget(QWidget*, int, QWidget**) override { return E_NOTIMPL; }
    HRESULT AdviseEvents(IDispatch*, DWORD*) override { return E_NOTIMPL; }
    HRESULT UnadviseEvents(DWORD) override { return E_NOTIMPL; }
};

TEST(ComObjectTest, AnswersEachInterfaceAndItsParentsWithOneIdentity) {
    IUnknown* identity = nullptr;
    ASSERT_EQ(CreateComObject<CDerived>(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    CComPtr<IUnknown> object;
    object.Attach(identity);
    EXPECT_EQ(RefCount(identity), 1u);

    CComPtr<IDerived> derived;
    ASSERT_EQ(object.QueryInterface(&derived), S_OK);
    EXPECT_EQ(derived->Answer(), 42);
    CComPtr<IDispatch> dispatch;
    ASSERT_EQ(object.QueryInterface(&dispatch), S_OK);
    EXPECT_EQ(dispatch.Get(), static_cast<IDispatch*>(derived.Get()));
    CComPtr<IHostedControl> hosted;
    ASSERT_EQ(object.QueryInterface(&hosted), S_OK);
    EXPECT_EQ(RefCount(identity), 4u);

    // Every interface leads back to the same IUnknown.
    CComPtr<IUnknown> fromHosted;
    ASSERT_EQ(hosted.QueryInterface(&fromHosted), S_OK);
    EXPECT_EQ(fromHosted.Get(), identity);

    CComPtr<IClassFactory> none;
    EXPECT_EQ(object.QueryInterface(&none), E_NOINTERFACE);
    EXPECT_FALSE(none);
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    // Asking for an interface the object lacks deletes it again.
    void* lacking = reinterpret_cast<void*>(&none);
    EXPECT_EQ(CreateComObject<CDerived>(IID_IClassFactory, &lacking), E_NOINTERFACE);
    EXPECT_EQ(lacking, nullptr);
}

// A sink that records the events it receives and can run an action on one.
class CRecordingSink : public CComObject<IDispatch> {
public:
    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                   UINT*) override {
        CDispArgs args(params, nullptr);
        LONG value = -1;
        if (args.Count() == 1)
            args.GetLong(0, &value);
        events.push_back({member, flags, value});
        if (onEvent)
            onEvent();
        return S_OK;
    }
    struct Event {
        DISPID member;
        WORD flags;
        LONG value;
    };
    std::vector<Event> events;
    std::function<void()> onEvent;
};

TEST(EventSourceTest, FiresAtAdvisedSinksUntilUnadvised) {
    CEventSource source;
    CComPtr<CRecordingSink> first;
    first.Attach(new CRecordingSink);
    first->AddRef();
    CComPtr<CRecordingSink> second;
    second.Attach(new CRecordingSink);
    second->AddRef();
    const ULONG base = RefCount(first.Get());

    DWORD firstCookie = 0;
    DWORD secondCookie = 0;
    ASSERT_EQ(source.Advise(first.Get(), &firstCookie), S_OK);
    ASSERT_EQ(source.Advise(second.Get(), &secondCookie), S_OK);
    EXPECT_NE(firstCookie, secondCookie);
    EXPECT_EQ(RefCount(first.Get()), base + 1);

    source.Fire(1, {CComVariant(LONG{5})});
    ASSERT_EQ(first->events.size(), 1u);
    EXPECT_EQ(first->events[0].member, 1);
    EXPECT_EQ(first->events[0].flags, DISPATCH_METHOD);
    EXPECT_EQ(first->events[0].value, 5);
    EXPECT_EQ(second->events.size(), 1u);

    EXPECT_EQ(source.Unadvise(firstCookie), S_OK);
    EXPECT_EQ(RefCount(first.Get()), base);
    EXPECT_EQ(source.Unadvise(firstCookie), CONNECT_E_NOCONNECTION);
    source.Fire(2);
    EXPECT_EQ(first->events.size(), 1u);
    EXPECT_EQ(second->events.size(), 2u);

    EXPECT_EQ(source.Advise(nullptr, &firstCookie), E_POINTER);
}

TEST(EventSourceTest, SinkMayUnadviseOthersWhileAnEventIsDelivered) {
    CEventSource source;
    CComPtr<CRecordingSink> first;
    first.Attach(new CRecordingSink);
    first->AddRef();
    CComPtr<CRecordingSink> second;
    second.Attach(new CRecordingSink);
    second->AddRef();
    DWORD firstCookie = 0;
    DWORD secondCookie = 0;
    source.Advise(first.Get(), &firstCookie);
    source.Advise(second.Get(), &secondCookie);
    first->onEvent = [&] {
        source.Unadvise(firstCookie);
        source.Unadvise(secondCookie);
    };
    second.Release();  // The source holds the only reference now.
    source.Fire(1);
    EXPECT_EQ(first->events.size(), 1u);
    EXPECT_EQ(source.SinkCount(), 0u);
}

TEST(MemorySettingsStoreTest, AnswersStoredValuesAsCopies) {
    CMemorySettingsStore store;
    CComVariant number(LONG{42});
    CComVariant text(QStringLiteral("folder"));
    ASSERT_EQ(store.SetSetting(QStringLiteral("Video:ZoomMode"), number, -1), S_OK);
    ASSERT_EQ(store.SetSetting(QStringLiteral("SK:sDir"), text, 0), S_OK);
    text = CComVariant(QStringLiteral("changed by the caller"));

    VARIANT out;
    VariantInit(&out);
    ASSERT_EQ(store.GetSetting(QStringLiteral("Video:ZoomMode"), &out), S_OK);
    EXPECT_EQ(out.vt, VT_I4);
    EXPECT_EQ(out.lVal, 42);
    ASSERT_EQ(store.GetSetting(QStringLiteral("SK:sDir"), &out, 0), S_OK);
    EXPECT_EQ(out.vt, VT_BSTR);
    EXPECT_EQ(QStringFromBstr(out.bstrVal), QStringLiteral("folder"));
    VariantClear(&out);

    // Unknown keys, other indices and other spellings give E_FAIL and leave out alone.
    out.vt = VT_I4;
    out.lVal = 7;
    EXPECT_EQ(store.GetSetting(QStringLiteral("SK:sDir"), &out, 1), E_FAIL);
    EXPECT_EQ(store.GetSetting(QStringLiteral("video:zoommode"), &out), E_FAIL);
    EXPECT_EQ(store.GetSetting(QStringLiteral("Video:Unknown"), &out), E_FAIL);
    EXPECT_EQ(out.vt, VT_I4);
    EXPECT_EQ(out.lVal, 7);
    EXPECT_EQ(store.GetSetting(QStringLiteral("Video:ZoomMode"), nullptr), E_FAIL);
}

}  // namespace
