#pragma once

// CPropertyPage: one page of a property sheet or wizard, a child dialog made from its template
// when the sheet first shows it. The sheet asks the page before it leaves (OnKillActive
// validates by default) and as it arrives (OnSetActive), and in wizard mode which page Back and
// Next go to and whether Finish may end the sheet.

#include "platform/framework/Dialog.h"
#include "platform/framework/ResourceChain.h"

#include <memory>

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)

public:
    // nIDCaption names a string-table entry for the tab text; 0 takes the template caption.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    CPropertySheet* GetSheet() const { return m_pSheet; }
    QString GetCaption() const;

    // TRUE lets the page show; in a wizard a page that answers FALSE is passed over.
    virtual BOOL OnSetActive();
    // TRUE lets the page go; the default takes the controls' values (UpdateData(TRUE)).
    virtual BOOL OnKillActive();
    // 0 goes to the previous (next) page, -1 stays, any other value names the template id of
    // the page to go to.
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    // TRUE lets Finish end the wizard.
    virtual BOOL OnWizardFinish();
    // OK, Finish or Apply of the sheet: OnApply calls OnOK and answers TRUE.
    virtual BOOL OnApply();
    void OnOK() override;
    void OnCancel() override;
    void SetModified(BOOL bChanged = TRUE);
    BOOL IsModified() const { return m_bModified; }

private:
    friend class CPropertySheet;
    CPropertySheet* m_pSheet = nullptr;
    UINT m_nIDCaption = 0;
    // The page's template made a child window of the sheet, whatever its own style says.
    std::unique_ptr<DialogTemplate> m_childTemplate;
    BOOL m_bModified = FALSE;
};
