#pragma once

// CTabDlg: the base of the pages that control-panel tabs, record controllers and record panels
// host as modeless child dialogs: made as a child of its host from its own template, fitted
// into the host's client area, and refreshed through set-only-if-changed item helpers, so a
// page can be refreshed on every timer tick without flicker.

#include "views/panels/DlgLayout.h"

#include "platform/framework/ToolTipCtrl.h"

#include <cstdint>

class CTabDlg : public CDlgLayout {
    DECLARE_DYNAMIC(CTabDlg)

public:
    explicit CTabDlg(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Makes the page from its template as a child of pHostWnd; FALSE when that fails.
    virtual BOOL Create(CWnd* pHostWnd);
    // Refreshes the page's controls; hosts call it on every page in turn. The base has
    // nothing to refresh.
    virtual void UpdatePage();

    // Centres the page horizontally in the host's client area, widened by left and right
    // and moved down by top (bottom extends it). Needs a host with a window.
    void PlaceInHost(int left, int right, int top, int bottom);
    // Centres the page in the host's client area; without a host it stays where it is.
    void CenterInHost(int left, int right, int top, int bottom);

    CWnd* GetHostWnd() const { return m_pHostWnd; }
    UINT GetPageTemplate() const { return m_nPageTemplate; }

    // Item helpers: each does nothing without a page window or without the item, and touches
    // the item only when it does not have the wanted state yet. Invalid values show "NA".
    static void SetFieldInt(CWnd* page, int nID, int value, bool valid);
    static void SetFieldDouble(CWnd* page, int nID, double value, const char* format, bool valid);
    static void SetFieldTextIfChanged(CWnd* page, int nID, const QString& text, bool valid);
    // An indeterminate button counts as checked.
    static void SetCheckIfChanged(CWnd* page, int nID, bool checked);
    static void EnableItem(CWnd* page, int nID, bool enable);
    // show is a show command (SW_HIDE, SW_SHOW...), compared as a truth value.
    static void ShowItem(CWnd* page, int nID, int show);

protected:
    using CDialog::Create;

    // Gives the page's item a tool tip; nothing without a page window or the item.
    void AddItemTip(int nID, const QString& text);

    CWnd* m_pHostWnd = nullptr;
    UINT m_nPageTemplate = 0;
    // Page state kept for derived pages; the base only clears it.
    int32_t m_nPageState = 0;

private:
    CToolTipCtrl m_itemTips;
};
