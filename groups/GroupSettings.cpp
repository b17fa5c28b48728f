#include "groups/GroupSettings.h"

#include "platform/com/Bstr.h"
#include "platform/com/ISettingsStore.h"
#include "platform/com/Variant.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"

int GroupIntegerSetting(const QString& key, int fallback) {
    auto* store = dynamic_cast<ISettingsStore*>(AfxGetMainWnd());
    VARIANT value;
    VariantInit(&value);
    if (!store || FAILED(store->GetSetting(key, &value, -1)))
        return fallback;
    VARIANT number;
    VariantInit(&number);
    const bool ok = SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I4));
    VariantClear(&value);
    return ok ? static_cast<int>(number.lVal) : fallback;
}

bool GroupFlagSetting(const QString& key) {
    return GroupIntegerSetting(key, 0) != 0;
}

QString GroupTextSetting(const QString& key, int index) {
    auto* store = dynamic_cast<ISettingsStore*>(AfxGetMainWnd());
    VARIANT value;
    VariantInit(&value);
    if (!store || FAILED(store->GetSetting(key, &value, index)))
        return {};
    const QString text = value.vt == VT_BSTR ? QStringFromBstr(value.bstrVal) : QString();
    VariantClear(&value);
    return text;
}
