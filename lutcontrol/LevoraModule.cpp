#include "lutcontrol/LevoraModule.h"

#include "lutcontrol/LevoraIds.h"
#include "lutcontrol/LevoraModifyCtrl.h"
#include "lutcontrol/LevoraPropPage.h"
#include "lutcontrol/LevoraSkeletonCtrl.h"
#include "lutcontrol/QnCBasicLutModifyState.h"
#include "lutcontrol/QnCBasicLutParams.h"
#include "platform/registry/Registry.h"

namespace levora {

namespace {

// Activate when visible, set client site first, inside-out, cannot link inside, recompose on
// resize.
constexpr DWORD kMiscStatus = 0x20191;

const ComClassEntry kClasses[] = {
    {kModifyCtrlClsid, "LEVORA.LevoraModifyCtrl.1", "LevoraModify Control",
     &CreateLevoraModifyCtrl},
    {kLevora2Clsid, "LEVORA.Levora2Ctrl.1", "Levora2 Control", &CreateLevora2Ctrl},
    {kLevora3Clsid, "LEVORA.Levora3Ctrl.1", "Levora3 Control", &CreateLevora3Ctrl},
    {kModifyPropPageClsid, "LEVORA.LevoraModifyPropPage.1", "LevoraModify Property Page",
     &CreateLevoraPropPage},
    {kLevora2PropPageClsid, "LEVORA.Levora2PropPage.1", "Levora2 Property Page",
     &CreateLevoraPropPage},
    {kLevora3PropPageClsid, "LEVORA.Levora3PropPage.1", "Levora3 Property Page",
     &CreateLevoraPropPage},
    {kLutParamsClsid, kLutParamsProgId, "QnCBasicLutParams", &CreateLutParams},
    {kModifyStateClsid, kModifyStateProgId, "QnCBasicLutModifyState", &CreateModifyState},
};

struct ControlKeys {
    CLSID clsid;
    int bitmap;
};
const ControlKeys kControls[] = {{kModifyCtrlClsid, 1}, {kLevora2Clsid, 2}, {kLevora3Clsid, 3}};

const CComServer s_server(kClasses);

bool SetValue(const QString& path, const QString& name, const QString& value) {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, path, KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetString(key, name, value) == ERROR_SUCCESS;
    return RegCloseKey(key) == ERROR_SUCCESS && ok;
}

bool DeleteTree(const QString& path) {
    const long result = RegDeleteTree(HKEY_CLASSES_ROOT, path);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool IsEmptyKey(const QString& path) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    QString name;
    DWORD type = 0;
    DWORD bytes = 0;
    const bool empty = RegEnumKeyEx(key, 0, &name) != ERROR_SUCCESS &&
                       RegEnumValue(key, 0, &name, &type, nullptr, &bytes) != ERROR_SUCCESS;
    RegCloseKey(key);
    return empty;
}

QString TypeLibKey() {
    return QStringLiteral("TypeLib\\") + StringFromGUID(kTypeLibId);
}

bool RegisterTypeLib(const QString& modulePath) {
    const QString version = TypeLibKey() + QLatin1Char('\\') + QLatin1String(kTypeLibVersion);
    return SetValue(version, QString(), QLatin1String(kTypeLibName)) &&
           SetValue(version + QStringLiteral("\\0\\linux"), QString(), modulePath) &&
           SetValue(version + QStringLiteral("\\FLAGS"), QString(), QStringLiteral("0"));
}

bool RegisterControlKeys(const ControlKeys& control, const QString& modulePath) {
    const QString key = QStringLiteral("CLSID\\") + StringFromCLSID(control.clsid);
    return SetValue(key + QStringLiteral("\\Control"), QString(), QString()) &&
           SetValue(key + QStringLiteral("\\Insertable"), QString(), QString()) &&
           SetValue(key + QStringLiteral("\\MiscStatus"), QString(), QStringLiteral("0")) &&
           SetValue(key + QStringLiteral("\\MiscStatus\\1"), QString(),
                    QString::number(kMiscStatus)) &&
           SetValue(key + QStringLiteral("\\TypeLib"), QString(), StringFromGUID(kTypeLibId)) &&
           SetValue(key + QStringLiteral("\\Version"), QString(), QLatin1String(kTypeLibVersion)) &&
           SetValue(key + QStringLiteral("\\ToolboxBitmap32"), QString(),
                    modulePath + QStringLiteral(", ") + QString::number(control.bitmap));
}

}  // namespace

const CComServer& Server() {
    return s_server;
}

HRESULT RegisterModule() {
    const QString path = CComServer::ModulePath();
    if (path.isEmpty() || !RegisterTypeLib(path))
        return SELFREG_E_TYPELIB;
    const HRESULT hr = s_server.RegisterServer();
    if (FAILED(hr))
        return hr;
    for (const ControlKeys& control : kControls) {
        if (!RegisterControlKeys(control, path))
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT UnregisterModule() {
    if (!DeleteTree(TypeLibKey()))
        return SELFREG_E_TYPELIB;
    if (IsEmptyKey(QStringLiteral("TypeLib")) && !DeleteTree(QStringLiteral("TypeLib")))
        return SELFREG_E_TYPELIB;
    return s_server.UnregisterServer();
}

}  // namespace levora
