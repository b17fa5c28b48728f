#include "platform/com/ComBSTR.h"
#include "platform/com/ComCreate.h"
#include "platform/com/ComPtr.h"
#include "platform/com/DispArgs.h"
#include "platform/com/DispatchCall.h"
#include "platform/com/IHostedControl.h"
#include "platform/com/tests/CountedObject.h"
#include "platform/com/tests/TestServer.h"
#include "platform/registry/Registry.h"
#include "testsupport/IsolatedTest.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QWidget>

#include <dlfcn.h>

#include <functional>

using namespace test_server;

// Readable failure messages for QString comparisons.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QString kServerPath = QFileInfo(QStringLiteral(RM_TEST_SERVER)).canonicalFilePath();
const QString kCalcKey = QStringLiteral("CLSID\\") + StringFromCLSID(kCalcClsid);
const QString kPlainKey = QStringLiteral("CLSID\\") + StringFromCLSID(kPlainClsid);

struct RegsvrRun {
    int exitCode = -1;
    QString output;
};

RegsvrRun Regsvr(const QStringList& args) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(RM_REGSVR), args);
    process.waitForFinished(60000);
    RegsvrRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromLocal8Bit(process.readAll());
    return run;
}

// Every key and value under HKEY_CLASSES_ROOT\path as "key|name|type|data" lines, in order.
void DumpKey(HKEY parent, const QString& path, QStringList* lines) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(parent, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    lines->append(path);
    QString name;
    for (DWORD i = 0;; ++i) {
        DWORD type = 0;
        BYTE data[1024];
        DWORD bytes = sizeof data;
        if (RegEnumValue(key, i, &name, &type, data, &bytes) != ERROR_SUCCESS)
            break;
        lines->append(QStringLiteral("%1|%2|%3|%4")
                          .arg(path, name)
                          .arg(type)
                          .arg(QString::fromLatin1(
                              QByteArray(reinterpret_cast<const char*>(data), bytes).toHex())));
    }
    QStringList children;
    for (DWORD i = 0; RegEnumKeyEx(key, i, &name) == ERROR_SUCCESS; ++i)
        children.append(name);
    RegCloseKey(key);
    for (const QString& child : children)
        DumpKey(parent, path.isEmpty() ? child : path + QLatin1Char('\\') + child, lines);
}

QStringList DumpClassesRoot() {
    QStringList lines;
    DumpKey(HKEY_CLASSES_ROOT, QString(), &lines);
    return lines;
}

void SetDefault(const QString& path, const QString& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, path, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegSetString(key, QString(), value), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

QString ReadDefault(const QString& path, const QString& name = QString()) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return QStringLiteral("<no key>");
    QString value;
    if (RegQueryString(key, name, &value) != ERROR_SUCCESS)
        value = QStringLiteral("<no value>");
    RegCloseKey(key);
    return value;
}

bool ModuleLoaded(const QString& path) {
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}

// Records the events a control sends.
class CEventSink : public CComObject<IDispatch> {
public:
    HRESULT Invoke(DISPID member, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                   UINT* argErr) override {
        CDispArgs args(params, argErr);
        LONG value = 0;
        const HRESULT hr = args.GetLong(0, &value);
        events.append({member, args.Count(), value});
        return hr;
    }
    struct Event {
        DISPID member;
        UINT argCount;
        LONG value;
        bool operator==(const Event&) const = default;
    };
    QList<Event> events;
};

class ComServerTest : public IsolatedTest {
protected:
    void Register() {
        const RegsvrRun run = Regsvr({kServerPath});
        ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(QStringLiteral("registered"))) << run.output.toStdString();
    }
    void Unregister() {
        const RegsvrRun run = Regsvr({QStringLiteral("-u"), kServerPath});
        ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    }
    CComPtr<IDispatch> CreateCalc() {
        CComPtr<IDispatch> calc;
        EXPECT_EQ(CoCreateInstance(kCalcClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   calc.ReceiveVoid()),
                  S_OK);
        return calc;
    }
    void TearDown() override {
        CoFreeUnusedLibraries();
        IsolatedTest::TearDown();
    }
};

TEST_F(ComServerTest, RegistrationWritesTheClassAndProgIdKeysAndRemovesExactlyThem) {
    // Someone else's class and ProgID stay as they are.
    SetDefault(QStringLiteral("CLSID\\{11111111-2222-3333-4444-555555555555}\\InprocServer32"),
               QStringLiteral("/usr/lib/other.so"));
    SetDefault(QStringLiteral("Other.Thing\\CLSID"),
               QStringLiteral("{11111111-2222-3333-4444-555555555555}"));
    const QStringList before = DumpClassesRoot();

    Register();
    EXPECT_EQ(ReadDefault(kCalcKey), QStringLiteral("Reelmark test calculator"));
    EXPECT_EQ(ReadDefault(kCalcKey + QStringLiteral("\\InprocServer32")), kServerPath);
    EXPECT_EQ(ReadDefault(kCalcKey + QStringLiteral("\\InprocServer32"),
                          QStringLiteral("ThreadingModel")),
              QStringLiteral("Apartment"));
    EXPECT_EQ(ReadDefault(kCalcKey + QStringLiteral("\\ProgID")), QString::fromLatin1(kCalcProgId));
    EXPECT_EQ(ReadDefault(QString::fromLatin1(kCalcProgId)),
              QStringLiteral("Reelmark test calculator"));
    EXPECT_EQ(ReadDefault(QString::fromLatin1(kCalcProgId) + QStringLiteral("\\CLSID")),
              StringFromCLSID(kCalcClsid));
    EXPECT_EQ(ReadDefault(kPlainKey + QStringLiteral("\\InprocServer32")), kServerPath);
    EXPECT_EQ(ReadDefault(kPlainKey + QStringLiteral("\\ProgID")), QStringLiteral("<no key>"));

    // Registering again leaves one set of entries.
    const QStringList registered = DumpClassesRoot();
    Register();
    EXPECT_EQ(DumpClassesRoot(), registered);

    Unregister();
    EXPECT_EQ(DumpClassesRoot(), before);
    // Unregistering what is not there is no error.
    Unregister();
}

TEST_F(ComServerTest, UnregisteringFromAFreshRegistryLeavesItEmpty) {
    Register();
    Unregister();
    EXPECT_EQ(DumpClassesRoot(), QStringList{QString()});  // Only the root itself.
}

TEST_F(ComServerTest, CreatedByClassIdAndByProgIdUntilUnregistered) {
    Register();
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(QString::fromLatin1(kCalcProgId), &clsid), S_OK);
    EXPECT_EQ(clsid, kCalcClsid);
    ASSERT_EQ(CLSIDFromProgID(QStringLiteral("reelmark.testcalc"), &clsid), S_OK);

    CComPtr<IDispatch> byId = CreateCalc();
    CComPtr<IDispatch> byProgId;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IDispatch, byProgId.ReceiveVoid()),
              S_OK);
    ASSERT_TRUE(byId);
    ASSERT_TRUE(byProgId);
    EXPECT_NE(byId.Get(), byProgId.Get());
    CComPtr<IUnknown> plain;
    EXPECT_EQ(CoCreateInstance(kPlainClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               plain.ReceiveVoid()),
              S_OK);
    CComPtr<IDispatch> noDispatch;
    EXPECT_EQ(plain.QueryInterface(&noDispatch), E_NOINTERFACE);
    EXPECT_FALSE(noDispatch);
    byId.Release();
    byProgId.Release();
    plain.Release();

    Unregister();
    IDispatch* object = reinterpret_cast<IDispatch*>(this);
    EXPECT_EQ(CoCreateInstance(kCalcClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(&object)),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CLSIDFromProgID(QString::fromLatin1(kCalcProgId), &clsid), CO_E_CLASSSTRING);
}

TEST_F(ComServerTest, DrivenByDispatchIdWithValuesAndOutValues) {
    Register();
    CComPtr<IDispatch> calc = CreateCalc();
    ASSERT_TRUE(calc);

    LONG sum = 0;
    CComVariant result;
    ASSERT_EQ(DispatchInvoke(
                  calc.Get(), kAdd, DISPATCH_METHOD,
                  {CComVariant(LONG{40}), CComVariant(LONG{2}), CComVariant::ByRef(&sum)}, &result),
              S_OK);
    EXPECT_EQ(sum, 42);
    EXPECT_EQ(result.vt, VT_I4);

    ASSERT_EQ(DispatchInvoke(calc.Get(), kScale, DISPATCH_METHOD,
                             {CComVariant(1.5), CComVariant(QStringLiteral("4"))}, &result),
              S_OK);
    EXPECT_EQ(result.vt, VT_R8);
    EXPECT_EQ(result.dblVal, 6.0);

    CComBSTR greeting(QStringLiteral("freed by the server"));
    BSTR out = greeting.Detach();
    ASSERT_EQ(
        DispatchInvoke(calc.Get(), kGreet, DISPATCH_METHOD,
                       {CComVariant(QStringLiteral("Ada")), CComVariant::ByRef(&out)}, &result),
        S_OK);
    greeting.Attach(out);
    EXPECT_EQ(greeting.ToQString(), QStringLiteral("Hello, Ada"));
    EXPECT_EQ(result.lVal, 10);

    SAFEARRAY* values = SafeArrayCreateVector(VT_R8, 0, 4);
    for (LONG i = 0; i < 4; ++i) {
        const double v = 0.5 * (i + 1);
        SafeArrayPutElement(values, &i, &v);
    }
    ASSERT_EQ(DispatchInvoke(calc.Get(), kSum, DISPATCH_METHOD, {CComVariant::FromArray(values)},
                             &result),
              S_OK);
    EXPECT_EQ(result.dblVal, 5.0);

    ASSERT_EQ(DispatchPut(calc.Get(), kValue, CComVariant(LONG{17})), S_OK);
    ASSERT_EQ(DispatchGet(calc.Get(), kValue, &result), S_OK);
    EXPECT_EQ(result.lVal, 17);

    // An object handed out through an out-value belongs to the caller.
    IDispatch* copy = nullptr;
    ASSERT_EQ(DispatchInvoke(calc.Get(), kMakeCopy, DISPATCH_METHOD, {CComVariant::ByRef(&copy)},
                             nullptr),
              S_OK);
    ASSERT_NE(copy, nullptr);
    CComPtr<IDispatch> owned;
    owned.Attach(copy);
    ASSERT_EQ(DispatchGet(owned.Get(), kValue, &result), S_OK);
    EXPECT_EQ(result.lVal, 17);
}

TEST_F(ComServerTest, FaultyDispatchCallsGiveTheirCode) {
    Register();
    CComPtr<IDispatch> calc = CreateCalc();
    ASSERT_TRUE(calc);
    LONG sum = 0;
    struct Case {
        const char* name;
        DISPID member;
        WORD flags;
        std::vector<CComVariant> args;
        HRESULT hr;
        int argErr;  // -1: none
    };
    const Case cases[] = {
        {"two of three",
         kAdd,
         DISPATCH_METHOD,
         {CComVariant(LONG{1}), CComVariant(LONG{2})},
         DISP_E_BADPARAMCOUNT,
         -1},
        {"four of three",
         kAdd,
         DISPATCH_METHOD,
         {CComVariant(LONG{1}), CComVariant(LONG{2}), CComVariant::ByRef(&sum),
          CComVariant(LONG{4})},
         DISP_E_BADPARAMCOUNT,
         -1},
        {"text for a number",
         kAdd,
         DISPATCH_METHOD,
         {CComVariant(LONG{1}), CComVariant(QStringLiteral("two")), CComVariant::ByRef(&sum)},
         DISP_E_TYPEMISMATCH,
         1},
        {"value for an out-value",
         kAdd,
         DISPATCH_METHOD,
         {CComVariant(LONG{1}), CComVariant(LONG{2}), CComVariant(LONG{3})},
         DISP_E_TYPEMISMATCH,
         2},
        {"no array", kSum, DISPATCH_METHOD, {CComVariant(2.0)}, DISP_E_TYPEMISMATCH, -1},
        {"unknown id", 99, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND, -1},
        {"method as property", kAdd, DISPATCH_PROPERTYGET, {}, DISP_E_MEMBERNOTFOUND, -1},
        {"get with an argument",
         kValue,
         DISPATCH_PROPERTYGET,
         {CComVariant(LONG{1})},
         DISP_E_BADPARAMCOUNT,
         -1},
    };
    for (const Case& c : cases) {
        UINT argErr = 1000;
        EXPECT_EQ(DispatchInvoke(calc.Get(), c.member, c.flags, c.args, nullptr, nullptr, &argErr),
                  c.hr)
            << c.name;
        EXPECT_EQ(argErr, c.argErr < 0 ? 1000u : static_cast<UINT>(c.argErr)) << c.name;
    }
    EXPECT_EQ(sum, 0);
}

TEST_F(ComServerTest, HostedControlGivesItsWidgetAndSendsEventsToTheSink) {
    Register();
    CComPtr<IDispatch> calc = CreateCalc();
    ASSERT_TRUE(calc);
    CComPtr<IHostedControl> control;
    ASSERT_EQ(calc.QueryInterface(&control), S_OK);

    QWidget dialog;
    QWidget* widget = nullptr;
    ASSERT_EQ(control->CreateControlWidget(&dialog, 1014, &widget), S_OK);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->parentWidget(), &dialog);
    EXPECT_EQ(widget->property("controlId").toInt(), 1014);
    QWidget* again = nullptr;
    EXPECT_EQ(control->CreateControlWidget(&dialog, 1014, &again), E_UNEXPECTED);
    EXPECT_EQ(control->CreateControlWidget(nullptr, 1014, &again), E_POINTER);

    CComPtr<CEventSink> sink;
    sink.Attach(new CEventSink);
    sink->AddRef();
    DWORD cookie = 0;
    ASSERT_EQ(control->AdviseEvents(sink.Get(), &cookie), S_OK);
    ASSERT_EQ(DispatchPut(calc.Get(), kValue, CComVariant(LONG{9})), S_OK);
    ASSERT_EQ(sink->events.size(), 1);
    EXPECT_EQ(sink->events[0], (CEventSink::Event{kValueChanged, 1, 9}));
    EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(), QStringLiteral("9"));

    ASSERT_EQ(control->UnadviseEvents(cookie), S_OK);
    EXPECT_EQ(control->UnadviseEvents(cookie), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(DispatchPut(calc.Get(), kValue, CComVariant(LONG{10})), S_OK);
    EXPECT_EQ(sink->events.size(), 1);

    // A sink still advised when the control goes away is released with it.
    ASSERT_EQ(control->AdviseEvents(sink.Get(), &cookie), S_OK);
    control.Release();
    calc.Release();
    EXPECT_EQ(RefCount(sink.Get()), 1u);
}

TEST_F(ComServerTest, ModuleStaysLoadedWhileItsObjectsLive) {
    Register();
    ASSERT_FALSE(ModuleLoaded(kServerPath));
    CComPtr<IDispatch> calc = CreateCalc();
    ASSERT_TRUE(calc);
    EXPECT_TRUE(ModuleLoaded(kServerPath));
    CComPtr<IDispatch> second = CreateCalc();  // The loaded module is used again.

    CoFreeUnusedLibraries();
    EXPECT_TRUE(ModuleLoaded(kServerPath));
    calc.Release();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(ModuleLoaded(kServerPath));
    second.Release();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(ModuleLoaded(kServerPath));

    // And loads again on demand; a locked server stays loaded without objects.
    CComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(kCalcClsid, CLSCTX_INPROC_SERVER, IID_IClassFactory,
                               factory.ReceiveVoid()),
              S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Release();
    CoFreeUnusedLibraries();
    EXPECT_TRUE(ModuleLoaded(kServerPath));
    ASSERT_EQ(CoGetClassObject(kCalcClsid, CLSCTX_INPROC_SERVER, IID_IClassFactory,
                               factory.ReceiveVoid()),
              S_OK);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Release();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(ModuleLoaded(kServerPath));
}

TEST(ComServerModuleTest, ExportsOnlyItsFourEntryPoints) {
    void* handle = dlopen(QFile::encodeName(kServerPath).constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    for (const char* entry :
         {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer"})
        EXPECT_NE(dlsym(handle, entry), nullptr) << entry;
    // The module's own copy of this layer stays inside it.
    for (const char* hidden : {"_Z18ComModuleLockCountv", "_Z14SysAllocStringPKDs"})
        EXPECT_EQ(dlsym(handle, hidden), nullptr) << hidden;
    dlclose(handle);
}

TEST_F(ComServerTest, EachCreationFailureGivesItsCode) {
    const CLSID kOther = GuidLiteral("{0BADC0DE-0000-4000-8000-000000000001}");
    const QString otherKey = QStringLiteral("CLSID\\") + StringFromCLSID(kOther);
    const QString junk = WorkPath(QStringLiteral("junk.so"));
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is no module");
    }
    struct Case {
        const char* name;
        std::function<void()> setUp;
        CLSID clsid;
        DWORD context;
        bool aggregate;
        IID iid;
        HRESULT hr;
    };
    const Case cases[] = {
        {"not registered", [] {}, kOther, CLSCTX_INPROC_SERVER, false, IID_IUnknown,
         REGDB_E_CLASSNOTREG},
        {"no in-process server key", [&] { SetDefault(otherKey, QStringLiteral("Other")); }, kOther,
         CLSCTX_INPROC_SERVER, false, IID_IUnknown, REGDB_E_CLASSNOTREG},
        {"empty module path",
         [&] { SetDefault(otherKey + QStringLiteral("\\InprocServer32"), QString()); }, kOther,
         CLSCTX_INPROC_SERVER, false, IID_IUnknown, REGDB_E_CLASSNOTREG},
        {"missing module",
         [&] {
             SetDefault(otherKey + QStringLiteral("\\InprocServer32"),
                        WorkPath(QStringLiteral("gone.so")));
         },
         kOther, CLSCTX_INPROC_SERVER, false, IID_IUnknown, CO_E_DLLNOTFOUND},
        {"unloadable module",
         [&] { SetDefault(otherKey + QStringLiteral("\\InprocServer32"), junk); }, kOther,
         CLSCTX_INPROC_SERVER, false, IID_IUnknown, CO_E_ERRORINDLL},
        {"module without entry point",
         [&] {
             SetDefault(otherKey + QStringLiteral("\\InprocServer32"),
                        QStringLiteral(RM_NOENTRY_MODULE));
         },
         kOther, CLSCTX_INPROC_SERVER, false, IID_IUnknown, CO_E_ERRORINDLL},
        {"class the module does not serve",
         [&] { SetDefault(otherKey + QStringLiteral("\\InprocServer32"), kServerPath); }, kOther,
         CLSCTX_INPROC_SERVER, false, IID_IUnknown, CLASS_E_CLASSNOTAVAILABLE},
        {"out-of-process only", [&] { Register(); }, kCalcClsid, CLSCTX_LOCAL_SERVER, false,
         IID_IUnknown, REGDB_E_CLASSNOTREG},
        {"aggregation", [&] { Register(); }, kCalcClsid, CLSCTX_INPROC_SERVER, true, IID_IUnknown,
         CLASS_E_NOAGGREGATION},
        {"interface the object lacks", [&] { Register(); }, kPlainClsid, CLSCTX_INPROC_SERVER,
         false, IID_IDispatch, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        c.setUp();
        IUnknown* object = reinterpret_cast<IUnknown*>(this);
        IUnknown* outer = c.aggregate ? reinterpret_cast<IUnknown*>(this) : nullptr;
        EXPECT_EQ(
            CoCreateInstance(c.clsid, outer, c.context, c.iid, reinterpret_cast<void**>(&object)),
            c.hr)
            << c.name;
        EXPECT_EQ(object, nullptr) << c.name;
    }

    CLSID clsid = kOther;
    SetDefault(QStringLiteral("Broken.ProgId\\CLSID"), QStringLiteral("{not a class id}"));
    EXPECT_EQ(CLSIDFromProgID(QStringLiteral("Broken.ProgId"), &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(QStringLiteral("No.Such.ProgId"), &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(QString(), &clsid), CO_E_CLASSSTRING);
    SetDefault(QStringLiteral("Outer\\Inner\\CLSID"), StringFromCLSID(kCalcClsid));
    EXPECT_EQ(CLSIDFromProgID(QStringLiteral("Outer\\Inner"), &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(clsid, kOther);
}

TEST_F(ComServerTest, RegsvrExitStatusTellsWhatFailed) {
    const QString junk = WorkPath(QStringLiteral("junk.so"));
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("this is no module");
    }
    struct Case {
        QStringList args;
        int exitCode;
    };
    const Case cases[] = {
        {{}, 1},
        {{QStringLiteral("-u")}, 1},
        {{QStringLiteral("-x"), kServerPath}, 1},
        {{kServerPath, kServerPath}, 1},
        {{WorkPath(QStringLiteral("gone.so"))}, 2},
        {{junk}, 2},
        {{QStringLiteral(RM_NOENTRY_MODULE)}, 3},
        {{QStringLiteral("-u"), QStringLiteral(RM_NOENTRY_MODULE)}, 3},
        {{kServerPath}, 0},
        {{QStringLiteral("-u"), kServerPath}, 0},
    };
    for (const Case& c : cases) {
        const RegsvrRun run = Regsvr(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_EQ(run.output.count(QLatin1Char('\n')), 1) << run.output.toStdString();
    }

    // A registry that cannot be written makes DllRegisterServer fail.
    const QString notADirectory = WorkPath(QStringLiteral("registry-file"));
    {
        QFile file(notADirectory);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    qputenv("REELMARK_REGISTRY_DIR", QFile::encodeName(notADirectory));
    const RegsvrRun run = Regsvr({kServerPath});
    EXPECT_EQ(run.exitCode, 4) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("0x80040201"))) << run.output.toStdString();
}

}  // namespace
