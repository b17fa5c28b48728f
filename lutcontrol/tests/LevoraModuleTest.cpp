#include "lutcontrol/LevoraIds.h"

#include "platform/com/ComCreate.h"
#include "platform/com/ComPtr.h"
#include "platform/com/DispatchCall.h"
#include "platform/com/IHostedControl.h"
#include "platform/registry/Registry.h"
#include "testsupport/IsolatedTest.h"

#include <QFileInfo>
#include <QProcess>
#include <QWidget>

#include <dlfcn.h>

using namespace levora;

namespace {

const QString kModulePath = QFileInfo(QStringLiteral(RM_LEVORA_MODULE)).canonicalFilePath();

int Regsvr(const QStringList& args, QString* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(RM_REGSVR), args);
    process.waitForFinished(60000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

void DumpKey(const QString& path, QStringList* lines) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    lines->append(path);
    QString name;
    for (DWORD i = 0;; ++i) {
        DWORD type = 0;
        BYTE data[2048];
        DWORD bytes = sizeof data;
        if (RegEnumValue(key, i, &name, &type, data, &bytes) != ERROR_SUCCESS)
            break;
        lines->append(
            path + QLatin1Char('|') + name + QLatin1Char('|') +
            QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(data), bytes).toHex()));
    }
    QStringList children;
    for (DWORD i = 0; RegEnumKeyEx(key, i, &name) == ERROR_SUCCESS; ++i)
        children.append(name);
    RegCloseKey(key);
    for (const QString& child : children)
        DumpKey(path.isEmpty() ? child : path + QLatin1Char('\\') + child, lines);
}

QStringList DumpClassesRoot() {
    QStringList lines;
    DumpKey(QString(), &lines);
    return lines;
}

QString ReadDefault(const QString& path) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return QStringLiteral("<missing>");
    QString value;
    RegQueryString(key, QString(), &value);
    RegCloseKey(key);
    return value;
}

class LevoraModuleTest : public IsolatedTest {
protected:
    void Register() {
        QString output;
        ASSERT_EQ(Regsvr({kModulePath}, &output), 0) << output.toStdString();
    }
    void TearDown() override {
        CoFreeUnusedLibraries();
        IsolatedTest::TearDown();
    }
};

TEST_F(LevoraModuleTest, RegisteringTwiceGivesOneSetAndUnregisteringRemovesIt) {
    Register();
    const QStringList once = DumpClassesRoot();
    Register();
    EXPECT_EQ(DumpClassesRoot(), once);

    const QString clsid = StringFromCLSID(kModifyCtrlClsid);
    const QString libid = StringFromGUID(kTypeLibId);
    const struct {
        QString key;
        QString value;
    } expected[] = {
        {"CLSID\\" + clsid, "LevoraModify Control"},
        {"CLSID\\" + clsid + "\\InprocServer32", kModulePath},
        {"CLSID\\" + clsid + "\\ProgID", "LEVORA.LevoraModifyCtrl.1"},
        {"CLSID\\" + clsid + "\\TypeLib", libid},
        {"CLSID\\" + clsid + "\\MiscStatus\\1", "131473"},
        {"Levora.QnCBasicLutParams\\CLSID", StringFromCLSID(kLutParamsClsid)},
        {"Levora.QnCBasicLutModifyState\\CLSID", StringFromCLSID(kModifyStateClsid)},
        {"LEVORA.Levora3PropPage.1\\CLSID", StringFromCLSID(kLevora3PropPageClsid)},
        {"TypeLib\\" + libid + "\\1.0", "LEVORALib"},
        {"TypeLib\\" + libid + "\\1.0\\0\\linux", kModulePath},
    };
    for (const auto& e : expected)
        EXPECT_EQ(ReadDefault(e.key), e.value) << e.key.toStdString();
    int classes = 0;
    for (const QString& line : once)
        classes += line.startsWith("CLSID\\") && line.count(QLatin1Char('\\')) == 1 &&
                           !line.contains(QLatin1Char('|'))
                       ? 1
                       : 0;
    EXPECT_EQ(classes, 8);

    QString output;
    ASSERT_EQ(Regsvr({QStringLiteral("-u"), kModulePath}, &output), 0) << output.toStdString();
    EXPECT_EQ(DumpClassesRoot(), QStringList{QString()})
        << DumpClassesRoot().join('\n').toStdString();
}

TEST_F(LevoraModuleTest, TheProgramCreatesTheControlAndBothObjectsFromTheRegisteredModule) {
    Register();
    CLSID paramsClsid;
    ASSERT_EQ(CLSIDFromProgID(QLatin1String(kLutParamsProgId), &paramsClsid), S_OK);
    CComPtr<IDispatch> params;
    ASSERT_EQ(CoCreateInstance(paramsClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               params.ReceiveVoid()),
              S_OK);
    double gamma = 0;
    CComVariant result;
    ASSERT_EQ(DispatchInvoke(params.Get(), kBLPGetGamma, DISPATCH_METHOD,
                             {CComVariant(LONG{1}), CComVariant::ByRef(&gamma)}, &result),
              S_OK);
    EXPECT_EQ(gamma, 1.0);
    LONG r = 0, g = 0, b = 0;
    ASSERT_EQ(
        DispatchInvoke(params.Get(), kBLPGetRGBScale, DISPATCH_METHOD,
                       {CComVariant::ByRef(&r), CComVariant::ByRef(&g), CComVariant::ByRef(&b)},
                       &result),
        S_OK);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(b, 255);

    CLSID stateClsid;
    ASSERT_EQ(CLSIDFromProgID(QLatin1String(kModifyStateProgId), &stateClsid), S_OK);
    CComPtr<IDispatch> state;
    ASSERT_EQ(CoCreateInstance(stateClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               state.ReceiveVoid()),
              S_OK);

    CComPtr<IDispatch> control;
    ASSERT_EQ(CoCreateInstance(kModifyCtrlClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                               control.ReceiveVoid()),
              S_OK);
    CComPtr<IHostedControl> hosted;
    ASSERT_EQ(control.QueryInterface(&hosted), S_OK);
    QWidget host;
    QWidget* widget = nullptr;
    ASSERT_EQ(hosted->CreateControlWidget(&host, 1014, &widget), S_OK);
    EXPECT_EQ(widget->parentWidget(), &host);
    ASSERT_EQ(DispatchInvoke(
                  control.Get(), kDispSetParamsLutsAndState, DISPATCH_METHOD,
                  {CComVariant(params.Get()), CComVariant(params.Get()), CComVariant(state.Get())},
                  &result),
              S_OK);
    EXPECT_EQ(result.lVal, 0);
    for (const CLSID& other : {kLevora2Clsid, kLevora3Clsid, kModifyPropPageClsid}) {
        CComPtr<IUnknown> object;
        EXPECT_EQ(CoCreateInstance(other, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   object.ReceiveVoid()),
                  S_OK);
    }
    hosted.Release();
    control.Release();
    EXPECT_EQ(host.findChildren<QWidget*>().size(), 0) << "the control took its window along";
}

TEST_F(LevoraModuleTest, ExportsOnlyItsEntryPointsAndUnloadsOnlyWhenNoObjectLives) {
    void* handle = dlopen(RM_LEVORA_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
    using CanUnloadNow = HRESULT (*)();
    auto getClassObject = reinterpret_cast<GetClassObject>(dlsym(handle, "DllGetClassObject"));
    auto canUnloadNow = reinterpret_cast<CanUnloadNow>(dlsym(handle, "DllCanUnloadNow"));
    ASSERT_TRUE(getClassObject && canUnloadNow);
    EXPECT_NE(dlsym(handle, "DllRegisterServer"), nullptr);
    EXPECT_NE(dlsym(handle, "DllUnregisterServer"), nullptr);
    EXPECT_EQ(dlsym(handle, "CreateLutParams"), nullptr);

    EXPECT_EQ(canUnloadNow(), S_OK);
    {
        CComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(kLutParamsClsid, IID_IClassFactory, factory.ReceiveVoid()), S_OK);
        EXPECT_EQ(canUnloadNow(), S_FALSE);
        CComPtr<IDispatch> object;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, object.ReceiveVoid()), S_OK);
        factory.Release();
        EXPECT_EQ(canUnloadNow(), S_FALSE) << "an object lives";
    }
    EXPECT_EQ(canUnloadNow(), S_OK);
    CComPtr<IClassFactory> none;
    EXPECT_EQ(getClassObject(GuidLiteral("{00000000-1111-2222-3333-444444444444}"),
                             IID_IClassFactory, none.ReceiveVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    dlclose(handle);

    QProcess nm;
    nm.start(QStringLiteral(RM_NM), {"-D", "--defined-only", "--format=posix", kModulePath});
    ASSERT_TRUE(nm.waitForFinished(30000));
    QStringList names;
    for (const QString& line : QString::fromLocal8Bit(nm.readAllStandardOutput()).split('\n')) {
        const QString name = line.section(' ', 0, 0);
        if (!name.isEmpty() && line.section(' ', 1, 1) == QLatin1String("T"))
            names << name;
    }
    names.sort();
    EXPECT_EQ(names, (QStringList{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                  "DllUnregisterServer"}));
}

}  // namespace
