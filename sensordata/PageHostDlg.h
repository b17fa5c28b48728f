#pragma once

// CPageHostDlg: a dialog that hosts pages made from other templates as hidden children and
// shows one of them at a time, sized to it. User-interface thread only.

#include "platform/framework/Dialog.h"

#include <memory>
#include <vector>

class CPageHostDlg : public CDialog {
    DECLARE_DYNAMIC(CPageHostDlg)

public:
    explicit CPageHostDlg(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);
    ~CPageHostDlg() override;

    // A plain page dialog from the template, a hidden child of this window, appended to the
    // pages; null when it cannot be made.
    CDialog* AddPage(UINT nIDTemplate);
    // Makes the page current (a page whose window has gone counts as none), sizes this window
    // to it and moves this window's own controls that share an id with one of the page's
    // controls to that control's place.
    void ShowPage(CDialog* page);
    CDialog* GetCurrentPage() const;
    // Matched by window handle; -1 when no page is shown.
    int GetCurrentPageIndex() const;
    CDialog* GetPage(int index) const;
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }

private:
    CDialog* m_pCurrentPage = nullptr;
    std::vector<std::unique_ptr<CDialog>> m_pages;
};
