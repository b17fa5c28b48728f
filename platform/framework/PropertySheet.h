#pragma once

// CPropertySheet: pages under a row of tabs with OK, Cancel and Apply, or in wizard mode one
// page at a time with Back, Next (or Finish) and Cancel. Pages are made from their templates
// when first shown and laid out in one page area as large as the largest page. The window is
// a plain QWidget with Qt::Dialog flags; the tabs are a QTabBar and the buttons QPushButtons
// with the ids below.

#include "platform/framework/Wnd.h"

#include <vector>

class CPropertyPage;
class QEventLoop;

inline constexpr UINT ID_APPLY_NOW = 0x3021;
inline constexpr UINT ID_WIZBACK = 0x3023;
inline constexpr UINT ID_WIZNEXT = 0x3024;
inline constexpr UINT ID_WIZFINISH = 0x3025;
inline constexpr UINT AFX_IDC_TAB_CONTROL = 0x3020;

inline constexpr DWORD PSWIZB_BACK = 0x1;
inline constexpr DWORD PSWIZB_NEXT = 0x2;
inline constexpr DWORD PSWIZB_FINISH = 0x4;
inline constexpr DWORD PSWIZB_DISABLEDFINISH = 0x8;

inline constexpr int PSBTN_BACK = 0;
inline constexpr int PSBTN_NEXT = 1;
inline constexpr int PSBTN_FINISH = 2;
inline constexpr int PSBTN_OK = 3;
inline constexpr int PSBTN_APPLYNOW = 4;
inline constexpr int PSBTN_CANCEL = 5;

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
    DECLARE_MESSAGE_MAP()

public:
    explicit CPropertySheet(const QString& caption = QString(), CWnd* pParentWnd = nullptr,
                            UINT iSelectPage = 0);
    ~CPropertySheet() override;

    // The sheet does not own its pages.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(const CPropertyPage* pPage) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return m_active; }
    // Leaves the current page (it may refuse) and shows that one; FALSE when it did not change.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }

    void SetWizardMode() { m_bWizard = true; }
    BOOL IsWizard() const { return m_bWizard; }
    // PSWIZB_ flags: Back and Next enabled; FINISH shows Finish (enabled) in Next's place,
    // DISABLEDFINISH shows it disabled.
    void SetWizardButtons(DWORD dwFlags);
    // As if the user pressed that button (PSBTN_); the press is handled after the caller
    // returns to the message loop.
    BOOL PressButton(int nButton);

    // Shows the sheet modally: IDOK or IDCANCEL, ID_WIZFINISH for a finished wizard, -1 when
    // it cannot be made.
    virtual INT_PTR DoModal();
    // A modeless sheet.
    BOOL Create(CWnd* pParentWnd = nullptr);
    void EndDialog(int nResult);

    // A page changed (SetModified): Apply follows.
    void PageModified();

protected:
    void OnWizBack();
    void OnWizNext();
    void OnWizFinish();
    void OnSheetOK();
    void OnSheetCancel();
    void OnApplyNow();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    BOOL BuildWindow(CWnd* pParentWnd);
    // Shows page nPage, making it first; FALSE when it cannot be made or refuses.
    bool ShowPage(int nPage);
    // From the current page in direction step, the first page that accepts activation.
    bool MoveTo(int nPage, int step);
    int IndexOfTemplate(UINT nIDTemplate) const;
    void UpdateButtons();

    QString m_caption;
    CWnd* m_pParentWnd;
    UINT m_iSelectPage;
    std::vector<CPropertyPage*> m_pages;
    int m_active = -1;
    bool m_bWizard = false;
    DWORD m_wizardButtons = PSWIZB_BACK | PSWIZB_NEXT;
    CRect m_pageArea;
    bool m_bModal = false;
    int m_nModalResult = -1;
    bool m_ended = false;
    QEventLoop* m_loop = nullptr;
};
