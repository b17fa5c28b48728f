#include "platform/com/ComServer.h"

#include "platform/registry/Registry.h"

#include <QFileInfo>

#include <dlfcn.h>

namespace {

const int s_moduleAnchor = 0;

QString ClassKey(REFCLSID clsid) {
    return QStringLiteral("CLSID\\") + StringFromCLSID(clsid);
}

bool SetDefault(const QString& path, const QString& value, const QString& name = QString()) {
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_CLASSES_ROOT, path, KEY_WRITE, &key) != ERROR_SUCCESS)
        return false;
    const bool ok = RegSetString(key, name, value) == ERROR_SUCCESS;
    return RegCloseKey(key) == ERROR_SUCCESS && ok;
}

// The default value of a key under HKEY_CLASSES_ROOT, empty when missing.
QString ReadDefault(const QString& path) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return QString();
    QString value;
    if (RegQueryString(key, QString(), &value) != ERROR_SUCCESS)
        value.clear();
    RegCloseKey(key);
    return value;
}

bool DeleteTree(const QString& path) {
    const long result = RegDeleteTree(HKEY_CLASSES_ROOT, path);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool HasSubKeysOrValues(const QString& path) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    QString name;
    DWORD type = 0;
    DWORD bytes = 0;
    const bool used = RegEnumKeyEx(key, 0, &name) == ERROR_SUCCESS ||
                      RegEnumValue(key, 0, &name, &type, nullptr, &bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    return used;
}

}  // namespace

HRESULT CComServer::GetClassObject(REFCLSID clsid, REFIID iid, void** object) const {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (const ComClassEntry& entry : m_classes) {
        if (entry.clsid == clsid)
            return CreateComObject<CClassFactory>(iid, object, entry.create);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CComServer::CanUnloadNow() const {
    return ComModuleLockCount() == 0 ? S_OK : S_FALSE;
}

HRESULT CComServer::RegisterServer() const {
    const QString path = ModulePath();
    if (path.isEmpty())
        return SELFREG_E_CLASS;
    for (const ComClassEntry& entry : m_classes) {
        const QString classKey = ClassKey(entry.clsid);
        const QString description = QString::fromUtf8(entry.description);
        bool ok = SetDefault(classKey, description) &&
                  SetDefault(classKey + QStringLiteral("\\InprocServer32"), path) &&
                  SetDefault(classKey + QStringLiteral("\\InprocServer32"),
                             QStringLiteral("Apartment"), QStringLiteral("ThreadingModel"));
        if (ok && entry.progId) {
            const QString progId = QString::fromUtf8(entry.progId);
            ok = SetDefault(classKey + QStringLiteral("\\ProgID"), progId) &&
                 SetDefault(progId, description) &&
                 SetDefault(progId + QStringLiteral("\\CLSID"), StringFromCLSID(entry.clsid));
        }
        if (!ok)
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT CComServer::UnregisterServer() const {
    bool ok = true;
    for (const ComClassEntry& entry : m_classes) {
        if (entry.progId) {
            const QString progId = QString::fromUtf8(entry.progId);
            CLSID registered;
            if (GUIDFromString(ReadDefault(progId + QStringLiteral("\\CLSID")), &registered) &&
                registered == entry.clsid)
                ok = DeleteTree(progId) && ok;
        }
        ok = DeleteTree(ClassKey(entry.clsid)) && ok;
    }
    if (ok && !HasSubKeysOrValues(QStringLiteral("CLSID")))
        ok = DeleteTree(QStringLiteral("CLSID"));
    return ok ? S_OK : SELFREG_E_CLASS;
}

QString CComServer::ModulePath() {
    Dl_info info{};
    if (!dladdr(&s_moduleAnchor, &info) || !info.dli_fname)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalFilePath();
}
