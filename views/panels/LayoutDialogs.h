#pragma once

// CLayoutDialogs: the hidden layout dialogs of a layout host (a dialog or a dialog bar) and which
// of them is active. It owns the dialogs and deletes them when it goes.

#include "platform/framework/Dialog.h"

#include <vector>

class CLayoutDialogs {
public:
    CLayoutDialogs() = default;
    CLayoutDialogs(const CLayoutDialogs&) = delete;
    CLayoutDialogs& operator=(const CLayoutDialogs&) = delete;
    ~CLayoutDialogs();

    // The active layout, or null; a layout whose window was destroyed is forgotten here.
    CDialog* GetActive();
    void SetActive(CDialog* dialog) { m_active = dialog; }
    // The position of the active layout in the list, or -1.
    int GetActiveIndex();
    // The layout at index, or null when index names none.
    CDialog* GetAt(int index) const;
    // Makes a hidden layout dialog from the template as a child of host and returns its index,
    // or -1 when the host has no window or the template cannot be made.
    int Add(UINT nIDTemplate, CWnd* host);
    void RemoveAll();

    int GetCount() const { return static_cast<int>(m_dialogs.size()); }

private:
    CDialog* m_active = nullptr;
    std::vector<CDialog*> m_dialogs;
};
