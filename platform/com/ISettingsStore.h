#pragma once

// ISettingsStore: every subsystem reads and writes its user settings by name ("Section:Key")
// through this interface of the main window, integers and flags as VT_I4, strings as VT_BSTR.

#include "platform/com/Variant.h"

#include <QString>

class ISettingsStore {
public:
    // The value of key (element index of a list key, -1 for a plain key) in *out. E_FAIL for a
    // null out; how an unknown key answers is the implementation's (see each one).
    virtual HRESULT GetSetting(const QString& key, VARIANT* out, int index = -1) = 0;
    // Stores value under key; the value (and its BSTR) stays the caller's.
    virtual HRESULT SetSetting(const QString& key, VARIANT value, int index) = 0;

protected:
    ~ISettingsStore() = default;
};
