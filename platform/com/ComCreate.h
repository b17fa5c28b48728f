#pragma once

// Creating objects of other modules by class id or ProgID: the class is looked up under
// HKEY_CLASSES_ROOT ("<ProgID>\CLSID", "CLSID\{clsid}\InprocServer32"), its module loaded once
// with dlopen and asked for a class factory through DllGetClassObject. UI thread only.

#include "platform/com/IClassFactory.h"

#include <QString>

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_ALL = 0x17;

// The class id registered for a ProgID: CO_E_CLASSSTRING for an unknown ProgID or one whose
// class id is unreadable.
HRESULT CLSIDFromProgID(const QString& progId, CLSID* clsid);

// The class object (usually IClassFactory) of clsid. Errors: REGDB_E_CLASSNOTREG (no in-process
// server registered, or clsContext without CLSCTX_INPROC_SERVER), CO_E_DLLNOTFOUND (the
// registered module file is missing), CO_E_ERRORINDLL (it cannot be loaded or has no
// DllGetClassObject), else what the module answers (CLASS_E_CLASSNOTAVAILABLE, E_NOINTERFACE).
HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsContext, REFIID iid, void** object);

// A new object of clsid, its interface iid in *object (a reference the caller owns; nullptr on
// failure). Errors as CoGetClassObject, then the factory's (CLASS_E_NOAGGREGATION, E_NOINTERFACE).
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsContext, REFIID iid,
                         void** object);

// Unloads the loaded modules whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();
