#pragma once

// The in-process server side of a module: its table of classes, the class factories it hands
// out and the registry keys that make its classes creatable by class id and ProgID.
//
// A module keeps one CComServer and exports exactly these four functions, forwarding to it
// (rm_com_server_module() in CMake hides everything else):
//   extern "C" HRESULT DllGetClassObject(REFCLSID, REFIID, void**);
//   extern "C" HRESULT DllCanUnloadNow();
//   extern "C" HRESULT DllRegisterServer();
//   extern "C" HRESULT DllUnregisterServer();

#include "platform/com/ClassFactory.h"

#include <QString>

#include <span>

// One creatable class of a module.
struct ComClassEntry {
    CLSID clsid;
    const char* progId;       // nullptr for a class created by class id only.
    const char* description;  // The class's name in the registry.
    ComCreateFunction create;
};

using DllGetClassObjectFunction = HRESULT (*)(REFCLSID clsid, REFIID iid, void** object);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();

class CComServer {
public:
    explicit CComServer(std::span<const ComClassEntry> classes) : m_classes(classes) {}

    // The class factory of clsid; CLASS_E_CLASSNOTAVAILABLE for a class not in the table.
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) const;
    // S_OK when no object of the module is alive and no LockServer holds it; else S_FALSE.
    HRESULT CanUnloadNow() const;
    // Writes, under HKEY_CLASSES_ROOT, for every class: "CLSID\{clsid}" = description,
    // "CLSID\{clsid}\InprocServer32" = the module's absolute path (ThreadingModel "Apartment"),
    // and with a ProgID "CLSID\{clsid}\ProgID" = ProgID, "<ProgID>" = description,
    // "<ProgID>\CLSID" = "{clsid}". Registering again gives the same keys.
    // SELFREG_E_CLASS when a key cannot be written.
    HRESULT RegisterServer() const;
    // Removes the keys RegisterServer writes (a ProgID only while it names our class, and the
    // "CLSID" container when it is left empty). Missing keys are no error; SELFREG_E_CLASS when
    // a key cannot be removed.
    HRESULT UnregisterServer() const;

    // The absolute path of the module this code is linked into.
    static QString ModulePath();

private:
    std::span<const ComClassEntry> m_classes;
};
