#include "platform/com/MemorySettingsStore.h"

HRESULT CMemorySettingsStore::GetSetting(const QString& key, VARIANT* out, int index) {
    if (!out)
        return E_FAIL;
    const auto found = m_values.constFind({key, index});
    if (found == m_values.constEnd())
        return E_FAIL;
    VARIANT copy;
    if (FAILED(VariantCopy(&copy, &found.value())))
        return E_FAIL;
    *out = copy;
    return S_OK;
}

HRESULT CMemorySettingsStore::SetSetting(const QString& key, VARIANT value, int index) {
    CComVariant copy;
    if (FAILED(VariantCopy(&copy, &value)))
        return E_FAIL;
    m_values.insert({key, index}, copy);
    return S_OK;
}
