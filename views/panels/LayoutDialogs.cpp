#include "views/panels/LayoutDialogs.h"

CLayoutDialogs::~CLayoutDialogs() {
    RemoveAll();
}

CDialog* CLayoutDialogs::GetActive() {
    if (m_active && !m_active->GetSafeHwnd())
        m_active = nullptr;
    return m_active;
}

int CLayoutDialogs::GetActiveIndex() {
    CDialog* active = GetActive();
    if (!active)
        return -1;
    for (size_t i = 0; i < m_dialogs.size(); ++i) {
        if (m_dialogs[i]->GetSafeHwnd() == active->GetSafeHwnd())
            return static_cast<int>(i);
    }
    return -1;
}

CDialog* CLayoutDialogs::GetAt(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_dialogs[static_cast<size_t>(index)];
}

int CLayoutDialogs::Add(UINT nIDTemplate, CWnd* host) {
    if (!host->GetSafeHwnd())
        return -1;
    auto* dialog = new CDialog(nIDTemplate, host);
    if (!dialog->Create(nIDTemplate, host)) {
        delete dialog;
        return -1;
    }
    dialog->ShowWindow(SW_HIDE);
    m_dialogs.push_back(dialog);
    return GetCount() - 1;
}

void CLayoutDialogs::RemoveAll() {
    for (CDialog* dialog : m_dialogs)
        delete dialog;
    m_dialogs.clear();
    m_active = nullptr;
}
