#include "devices/WizardPage.h"

#include "devices/WizardSheet.h"
#include "shell/VidraFrameWnd.h"

#include <QLabel>

IMPLEMENT_DYNAMIC(CWizardPage, CDialog)

CWizardPage::CWizardPage(UINT nIDTemplate) : CDialog(nIDTemplate) {}

CWizardSheet* CWizardPage::GetSheet() const {
    CWnd* area = GetParent();
    return dynamic_cast<CWizardSheet*>(area ? area->GetParent() : nullptr);
}

int CWizardPage::Enable(CWnd* button) {
    if (button)
        button->EnableWindow(TRUE);
    return 1;
}

int CWizardPage::Disable(CWnd* button) {
    if (button)
        button->EnableWindow(FALSE);
    return 1;
}

void CWizardPage::WrapText(int nID) {
    CWnd* item = GetDlgItem(nID);
    if (auto* label = qobject_cast<QLabel*>(item ? item->GetQWidget() : nullptr)) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

int CWizardPage::Message(const QString& text, UINT type) {
    return MessageBox(text, QString::fromLatin1(kMainTitle), type);
}
