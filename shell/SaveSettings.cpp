#include "shell/SaveSettings.h"

#include "platform/com/Bstr.h"
#include "platform/com/ComVariant.h"
#include "platform/com/ISettingsStore.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"

namespace {

std::optional<CComVariant> Setting(const char* key) {
    auto* store = dynamic_cast<ISettingsStore*>(AfxGetMainWnd());
    if (!store)
        return std::nullopt;
    CComVariant value;
    if (store->GetSetting(QString::fromLatin1(key), &value) != S_OK || value.vt == VT_EMPTY)
        return std::nullopt;
    return value;
}

std::optional<int> IntSetting(const char* key) {
    std::optional<CComVariant> value = Setting(key);
    if (!value || value->ChangeType(VT_I4) != S_OK)
        return std::nullopt;
    return static_cast<int>(value->lVal);
}

}  // namespace

std::optional<int> SaveAfterZeroSetting() {
    return IntSetting("AppBehave:bSaveAfterZero");
}

std::optional<QString> SaveFilePrefixSetting() {
    std::optional<CComVariant> value = Setting("AppBehave:szSaveFilePrefix");
    if (!value || value->vt != VT_BSTR)
        return std::nullopt;
    return QStringFromBstr(value->bstrVal);
}

std::optional<int> JpegQualitySetting() {
    return IntSetting("AppBehave:lJPEGLossyQuality");
}
