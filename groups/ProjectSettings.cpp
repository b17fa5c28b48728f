#include "groups/ProjectSettings.h"

#include "platform/com/ISettingsStore.h"
#include "platform/com/Variant.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"

bool ProjectFlagSetting(const QString& key) {
    auto* store = dynamic_cast<ISettingsStore*>(AfxGetMainWnd());
    VARIANT value;
    if (!store || FAILED(store->GetSetting(key, &value, -1)))
        return false;
    VARIANT number;
    const bool ok = SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I4));
    VariantClear(&value);
    return ok && number.lVal != 0;
}
