#pragma once

// CWizardPage: one page of a wizard sheet. Each page decides whether it may be left in each
// direction and how the sheet's Back, Next, Finish and Cancel buttons look while it is
// current.

#include "platform/framework/Dialog.h"

class CWizardSheet;

inline constexpr UINT IDD_WIZARD_PAGE = 30053;

class CWizardPage : public CDialog {
    DECLARE_DYNAMIC(CWizardPage)

public:
    explicit CWizardPage(UINT nIDTemplate = IDD_WIZARD_PAGE);

    // Nonzero when the page may be left by the sheet's Next, Back, Finish or Cancel.
    virtual int OnWizardNext() { return 1; }
    virtual int OnWizardBack() { return 1; }
    virtual int OnWizardFinish() { return 1; }
    virtual int OnWizardCancel() { return 1; }
    // Each may enable or disable the sheet's button and returns nonzero when it decided; the
    // sheet enables a button the page leaves undecided.
    virtual int UpdateNextButton(CWnd*) { return 0; }
    virtual int UpdateBackButton(CWnd*) { return 0; }
    virtual int UpdateFinishButton(CWnd*) { return 0; }
    virtual int UpdateCancelButton(CWnd*) { return 0; }
    // Told by the sheet each time it shows or hides the page.
    virtual void OnShowPage(BOOL) {}

    // The sheet holding the page (page, page area, sheet), or null outside a sheet.
    CWizardSheet* GetSheet() const;

    // The two decided answers of the Update operations.
    static int Enable(CWnd* button);
    static int Disable(CWnd* button);

protected:
    // A page is left through the sheet's buttons only, never ended by itself.
    void OnOK() override {}
    void OnCancel() override {}
    // Lets long texts of a static control wrap inside it.
    void WrapText(int nID);
    // A message box of the wizards, owned by the page.
    int Message(const QString& text, UINT type);
};
