#include "platform/com/ComCreate.h"

#include "platform/com/ComServer.h"
#include "platform/registry/Registry.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <dlfcn.h>

namespace {

// A loaded server module.
struct LoadedModule {
    void* handle = nullptr;
    DllGetClassObjectFunction getClassObject = nullptr;
    DllCanUnloadNowFunction canUnloadNow = nullptr;
};

// Keyed by the canonical path, so a module registered under two spellings loads once.
QMap<QString, LoadedModule>& Modules() {
    static QMap<QString, LoadedModule> modules;
    return modules;
}

// The default value of HKEY_CLASSES_ROOT\path, or false.
bool ReadDefault(const QString& path, QString* value) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    const bool ok = RegQueryString(key, QString(), value) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

HRESULT LoadModule(const QString& path, LoadedModule** module) {
    const QFileInfo file(path);
    if (!file.isFile())
        return CO_E_DLLNOTFOUND;
    const QString canonical = file.canonicalFilePath();
    auto found = Modules().find(canonical);
    if (found != Modules().end()) {
        *module = &found.value();
        return S_OK;
    }
    void* handle = dlopen(QFile::encodeName(canonical).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return CO_E_ERRORINDLL;
    LoadedModule loaded;
    loaded.handle = handle;
    loaded.getClassObject =
        reinterpret_cast<DllGetClassObjectFunction>(dlsym(handle, "DllGetClassObject"));
    loaded.canUnloadNow =
        reinterpret_cast<DllCanUnloadNowFunction>(dlsym(handle, "DllCanUnloadNow"));
    if (!loaded.getClassObject) {
        dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    *module = &Modules().insert(canonical, loaded).value();
    return S_OK;
}

}  // namespace

HRESULT CLSIDFromProgID(const QString& progId, CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    QString text;
    // A backslash would reach into another key.
    if (progId.isEmpty() || progId.contains(QLatin1Char('\\')) ||
        !ReadDefault(progId + QStringLiteral("\\CLSID"), &text))
        return CO_E_CLASSSTRING;
    return CLSIDFromString(text, clsid);
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsContext, REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!(clsContext & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    QString path;
    if (!ReadDefault(
            QStringLiteral("CLSID\\") + StringFromCLSID(clsid) + QStringLiteral("\\InprocServer32"),
            &path) ||
        path.isEmpty())
        return REGDB_E_CLASSNOTREG;
    LoadedModule* module = nullptr;
    const HRESULT hr = LoadModule(path, &module);
    if (FAILED(hr))
        return hr;
    return module->getClassObject(clsid, iid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsContext, REFIID iid,
                         void** object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr =
        CoGetClassObject(clsid, clsContext, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr))
        return hr;
    hr = factory->CreateInstance(outer, iid, object);
    factory->Release();
    return hr;
}

void CoFreeUnusedLibraries() {
    auto& modules = Modules();
    for (auto it = modules.begin(); it != modules.end();) {
        if (it->canUnloadNow && it->canUnloadNow() == S_OK) {
            dlclose(it->handle);
            it = modules.erase(it);
        } else {
            ++it;
        }
    }
}
