// An in-process server module for the tests: one dispatch object that is also a hosted control,
// and one plain object.

#include "platform/com/tests/TestServer.h"

#include "platform/com/ComServer.h"
#include "platform/com/DispArgs.h"
#include "platform/com/EventSource.h"
#include "platform/com/IHostedControl.h"

#include <QLabel>
#include <QPointer>

using namespace test_server;

namespace {

class CTestCalc : public CComObject<IDispatch, IHostedControl> {
public:
    explicit CTestCalc(LONG value = 0) : m_value(value) {}
    ~CTestCalc() override { m_events.UnadviseAll(); }

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                   UINT* argErr) override {
        CDispArgs args(params, argErr);
        const bool isMethod = flags & DISPATCH_METHOD;
        switch (member) {
            case kAdd:
                return isMethod ? Add(args, result) : DISP_E_MEMBERNOTFOUND;
            case kScale:
                return isMethod ? Scale(args, result) : DISP_E_MEMBERNOTFOUND;
            case kGreet:
                return isMethod ? Greet(args, result) : DISP_E_MEMBERNOTFOUND;
            case kValue:
                if (flags & DISPATCH_PROPERTYGET)
                    return GetValue(args, result);
                if (flags & DISPATCH_PROPERTYPUT)
                    return PutValue(args);
                return DISP_E_MEMBERNOTFOUND;
            case kSum:
                return isMethod ? Sum(args, result) : DISP_E_MEMBERNOTFOUND;
            case kMakeCopy:
                return isMethod ? MakeCopy(args, result) : DISP_E_MEMBERNOTFOUND;
            default:
                return DISP_E_MEMBERNOTFOUND;
        }
    }

    HRESULT CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) override {
        if (!parent || !widget)
            return E_POINTER;
        if (m_label)
            return E_UNEXPECTED;
        m_label = new QLabel(QString::number(m_value), parent);
        m_label->setProperty("controlId", controlId);
        *widget = m_label;
        return S_OK;
    }
    HRESULT AdviseEvents(IDispatch* sink, DWORD* cookie) override {
        return m_events.Advise(sink, cookie);
    }
    HRESULT UnadviseEvents(DWORD cookie) override { return m_events.Unadvise(cookie); }

private:
    static void SetResult(VARIANT* result, LONG value) {
        if (result) {
            result->vt = VT_I4;
            result->lVal = value;
        }
    }

    HRESULT Add(const CDispArgs& args, VARIANT* result) {
        LONG a = 0;
        LONG b = 0;
        LONG* sum = nullptr;
        HRESULT hr = args.Expect(3);
        if (SUCCEEDED(hr))
            hr = args.GetLong(0, &a);
        if (SUCCEEDED(hr))
            hr = args.GetLong(1, &b);
        if (SUCCEEDED(hr))
            hr = args.GetLongRef(2, &sum);
        if (FAILED(hr))
            return hr;
        if (!sum)
            return E_POINTER;
        *sum = a + b;
        SetResult(result, 0);
        return S_OK;
    }

    HRESULT Scale(const CDispArgs& args, VARIANT* result) {
        double x = 0;
        double factor = 0;
        HRESULT hr = args.Expect(2);
        if (SUCCEEDED(hr))
            hr = args.GetDouble(0, &x);
        if (SUCCEEDED(hr))
            hr = args.GetDouble(1, &factor);
        if (FAILED(hr))
            return hr;
        if (result) {
            result->vt = VT_R8;
            result->dblVal = x * factor;
        }
        return S_OK;
    }

    HRESULT Greet(const CDispArgs& args, VARIANT* result) {
        QString name;
        BSTR* greeting = nullptr;
        HRESULT hr = args.Expect(2);
        if (SUCCEEDED(hr))
            hr = args.GetString(0, &name);
        if (SUCCEEDED(hr))
            hr = args.GetStringRef(1, &greeting);
        if (FAILED(hr))
            return hr;
        if (!greeting)
            return E_POINTER;
        const QString text = QStringLiteral("Hello, ") + name;
        SysFreeString(*greeting);
        *greeting = SysAllocQString(text);
        SetResult(result, static_cast<LONG>(text.size()));
        return S_OK;
    }

    HRESULT GetValue(const CDispArgs& args, VARIANT* result) {
        const HRESULT hr = args.Expect(0);
        if (FAILED(hr))
            return hr;
        SetResult(result, m_value);
        return S_OK;
    }

    HRESULT PutValue(const CDispArgs& args) {
        LONG value = 0;
        HRESULT hr = args.Expect(1);
        if (SUCCEEDED(hr))
            hr = args.GetLong(0, &value);
        if (FAILED(hr))
            return hr;
        m_value = value;
        if (m_label)
            m_label->setText(QString::number(value));
        m_events.Fire(kValueChanged, {CComVariant(value)});
        return S_OK;
    }

    HRESULT Sum(const CDispArgs& args, VARIANT* result) {
        const VARIANT* array = nullptr;
        HRESULT hr = args.Expect(1);
        if (SUCCEEDED(hr))
            hr = args.GetVariant(0, &array);
        if (FAILED(hr))
            return hr;
        if (array->vt != (VT_ARRAY | VT_R8))
            return DISP_E_TYPEMISMATCH;
        void* data = nullptr;
        hr = SafeArrayAccessData(array->parray, &data);
        if (FAILED(hr))
            return hr;
        double total = 0;
        const ULONG count = SafeArrayGetElementCount(array->parray);
        for (ULONG i = 0; i < count; ++i)
            total += static_cast<const double*>(data)[i];
        SafeArrayUnaccessData(array->parray);
        if (result) {
            result->vt = VT_R8;
            result->dblVal = total;
        }
        return S_OK;
    }

    HRESULT MakeCopy(const CDispArgs& args, VARIANT* result) {
        IDispatch** copy = nullptr;
        HRESULT hr = args.Expect(1);
        if (SUCCEEDED(hr))
            hr = args.GetDispatchRef(0, &copy);
        if (FAILED(hr))
            return hr;
        if (!copy)
            return E_POINTER;
        hr = CreateComObject<CTestCalc>(IID_IDispatch, reinterpret_cast<void**>(copy), m_value);
        if (FAILED(hr))
            return hr;
        SetResult(result, 0);
        return S_OK;
    }

    LONG m_value;
    QPointer<QLabel> m_label;
    CEventSource m_events;
};

class CTestPlain : public CComObject<IUnknown> {};

HRESULT CreateCalc(REFIID iid, void** object) {
    return CreateComObject<CTestCalc>(iid, object);
}

HRESULT CreatePlain(REFIID iid, void** object) {
    return CreateComObject<CTestPlain>(iid, object);
}

const ComClassEntry kClasses[] = {
    {kCalcClsid, kCalcProgId, "Reelmark test calculator", &CreateCalc},
    {kPlainClsid, nullptr, "Reelmark test plain object", &CreatePlain},
};

const CComServer s_server(kClasses);

}  // namespace

extern "C" HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return s_server.GetClassObject(clsid, iid, object);
}

extern "C" HRESULT DllCanUnloadNow() {
    return s_server.CanUnloadNow();
}

extern "C" HRESULT DllRegisterServer() {
    return s_server.RegisterServer();
}

extern "C" HRESULT DllUnregisterServer() {
    return s_server.UnregisterServer();
}
