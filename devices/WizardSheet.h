#pragma once

// CWizardSheet: the modal shell of the wizards. A two-part heading sits above the page area,
// in which one page at a time shows; "<< Back" and "Next >>" move between the pages, "Finish"
// and "Cancel" end the wizard. The current page decides whether it may be left and how each
// button looks.

#include "platform/framework/Dialog.h"

#include <memory>
#include <vector>

class CWizardPage;
class QTextEdit;

inline constexpr UINT IDD_WIZARD_SHEET = 219;

class CWizardSheet : public CDialog {
    DECLARE_DYNAMIC(CWizardSheet)
    DECLARE_MESSAGE_MAP()

public:
    enum Control : int {
        kHeading = 2186,
        kPageArea = 1661,
        kBack = 2184,
        kNext = 2187,
        kFinish = IDOK,
        kCancel = IDCANCEL,
    };

    explicit CWizardSheet(CWnd* pParentWnd = nullptr);
    ~CWizardSheet() override;

    // The heading: the title on a line of its own in bold 15 point, the description below it
    // in 10 point.
    void SetHeading(const QString& title, const QString& description);
    QTextEdit* GetHeading() const;

    // Next and Back ask the current page, then move to the neighbouring page; nothing moves
    // past either end. Cancel asks the current page, then ends the wizard with IDCANCEL.
    void OnNext();
    void OnBack();
    void OnCancel() override;

    // After a page change: each existing button is updated for the page.
    virtual void OnPageChanged(int index, CWizardPage* page);
    // Asks the page; a button the page leaves undecided (or without a page) is enabled.
    virtual void UpdateBackButton(CWnd* button, CWizardPage* page);
    virtual void UpdateNextButton(CWnd* button, CWizardPage* page);
    virtual void UpdateFinishButton(CWnd* button, CWizardPage* page);
    virtual void UpdateCancelButton(CWnd* button, CWizardPage* page);

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CWizardPage* GetPage(int index) const;
    int GetCurrentIndex() const { return m_current; }
    CWizardPage* GetCurrentPage() const { return GetPage(m_current); }

    // Hides every page, shows the page at index and makes it current.
    void ShowOnlyPage(int index);

    // A message box of the wizards, owned by the sheet.
    int Message(const QString& text, UINT type);

protected:
    BOOL OnInitDialog() override;
    // Creates the page from its template inside the page area, hidden, and appends it (the
    // sheet does not own it). FALSE when the page cannot be made.
    BOOL AddPage(CWizardPage* page);
    // Shows or hides a page and tells it.
    static void ShowPage(CWizardPage* page, BOOL show);
    // Whether the sheet's button is there and enabled.
    BOOL IsButtonEnabled(int nID) const;

private:
    void MoveBy(int step);

    std::unique_ptr<CWnd> m_heading;
    std::vector<CWizardPage*> m_pages;
    int m_current = -1;
};
