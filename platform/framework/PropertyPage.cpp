#include "platform/framework/PropertyPage.h"

#include "platform/framework/PropertySheet.h"
#include "platform/framework/ResourceChain.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CDialog(nIDTemplate), m_nIDCaption(nIDCaption) {}

QString CPropertyPage::GetCaption() const {
    QString caption;
    if (m_nIDCaption && LoadString(m_nIDCaption, caption))
        return caption;
    const DialogTemplate* tmpl =
        m_lpTemplate ? m_lpTemplate : CResourceChain::FindDialog(m_nIDTemplate);
    return tmpl ? tmpl->caption : QString();
}

BOOL CPropertyPage::OnSetActive() {
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

LRESULT CPropertyPage::OnWizardBack() {
    return 0;
}

LRESULT CPropertyPage::OnWizardNext() {
    return 0;
}

BOOL CPropertyPage::OnWizardFinish() {
    return TRUE;
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnOK() {
    m_bModified = FALSE;
}

void CPropertyPage::OnCancel() {}

void CPropertyPage::SetModified(BOOL bChanged) {
    m_bModified = bChanged;
    if (m_pSheet)
        m_pSheet->PageModified();
}
