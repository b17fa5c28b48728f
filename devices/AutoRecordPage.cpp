#include "devices/AutoRecordPage.h"

#include "devices/AutoDownloadWnd.h"
#include "platform/framework/Button.h"
#include "shell/DlgOptionsBase.h"

IMPLEMENT_DYNAMIC(CAutoRecordPage, CDlgOptionsBaseTab_AutoDown)

namespace {

// The store the download keeps its options in; null without a download.
CDlgOptionsBase* OptionStore(IAutoDownloadOptions* options) {
    ISettingsStore* store = nullptr;
    if (!options || FAILED(options->GetSettingsStore(&store)))
        return nullptr;
    return dynamic_cast<CDlgOptionsBase*>(store);
}

}  // namespace

CAutoRecordPage::CAutoRecordPage(CWnd* pParentWnd) : CDlgOptionsBaseTab_AutoDown(pParentWnd) {}

BOOL CAutoRecordPage::Create(CWnd* pHostWnd) {
    // The controls report their first contents as changes: nothing is handed back meanwhile.
    m_showing = true;
    const BOOL created = CDialog::Create(kTemplate, pHostWnd);
    m_showing = false;
    if (!created)
        return FALSE;
    ShowOptions();
    return TRUE;
}

void CAutoRecordPage::ShowOptions() {
    CDlgOptionsBase* store =
        OptionStore(m_provider ? m_provider->GetAutoDownloadOptions() : nullptr);
    if (!store)
        return;
    for (const OptionField& field : Fields()) {
        if (!field.key)
            continue;
        const QString key = QString::fromLatin1(field.key);
        VARIANT value = store->GetValue(key, -1);
        if (value.vt != VT_EMPTY)
            SetValue(key, value, -1);
        VariantClear(&value);
    }
    if (!GetSafeHwnd())
        return;
    // Filling the controls raises their change notifications: nothing is handed back meanwhile.
    m_showing = true;
    UpdateData(FALSE);
    UpdateControls();
    m_showing = false;
}

BOOL CAutoRecordPage::OnCommand(WPARAM wParam, LPARAM lParam) {
    const BOOL handled = CDlgOptionsBaseTab_AutoDown::OnCommand(wParam, lParam);
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    // Only the page's own controls change options (a menu command carries no control).
    if (m_showing || lParam == 0 || (code != BN_CLICKED && code != EN_CHANGE))
        return handled;
    // The page itself takes its choices and counts; these two checks and the re-arm delay are
    // taken here.
    if (code == BN_CLICKED && (id == kDelayedRearmId || id == kSelfTriggerId)) {
        VARIANT checked;
        checked.vt = VT_I4;
        checked.lVal = IsDlgButtonChecked(id) ? 1 : 0;
        SetValue(
            QString::fromLatin1(id == kDelayedRearmId ? "ADL:bDelayedRearm" : "ADL:bSelfTrigger"),
            checked, -1);
    } else if (code == EN_CHANGE && id == kRearmTimeId) {
        TakeNumber(id);
    }
    CommitOptions();
    return handled;
}

void CAutoRecordPage::CommitOptions() {
    IAutoDownloadOptions* options = m_provider ? m_provider->GetAutoDownloadOptions() : nullptr;
    CDlgOptionsBase* store = OptionStore(options);
    if (!store)
        return;
    for (const OptionField& field : Fields()) {
        if (!field.key)
            continue;
        const QString key = QString::fromLatin1(field.key);
        VARIANT value = GetValue(key, -1);
        store->SetValue(key, value, -1);
        VariantClear(&value);
    }
    store->SaveOptionFile();
    options->LoadSettings();
}
