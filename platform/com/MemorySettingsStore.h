#pragma once

// A settings store kept in memory, standing in for the main window's store where no main window
// exists (tests, tools). It answers as the main window does: any key can be set; an unknown key
// gives E_FAIL and leaves *out untouched.

#include "platform/com/ComVariant.h"
#include "platform/com/ISettingsStore.h"

#include <QMap>
#include <QPair>

class CMemorySettingsStore : public ISettingsStore {
public:
    // Copies the stored value into *out (a new BSTR for a string, owned by the caller); the
    // previous content of *out is overwritten, not cleared.
    HRESULT GetSetting(const QString& key, VARIANT* out, int index = -1) override;
    // Keeps a copy of value; E_FAIL for a value that cannot be copied.
    HRESULT SetSetting(const QString& key, VARIANT value, int index) override;

private:
    QMap<QPair<QString, int>, CComVariant> m_values;
};
