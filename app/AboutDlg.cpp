#include "app/AboutDlg.h"

#include "platform/framework/ResourceChain.h"
#include "shell/VidraFrameWnd.h"

namespace {

constexpr int IDC_ABOUT_NAME = 1005;
constexpr int IDC_ABOUT_VERSION = 1006;
constexpr int IDC_ABOUT_SUPPORT = 1007;
constexpr int IDC_ABOUT_ADDRESS = 1008;
constexpr int IDC_ABOUT_MAIL = 1009;
constexpr int IDC_ABOUT_WEB = 1010;

QString String(UINT nID) {
    QString text;
    LoadString(nID, text);
    return text;
}

}  // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::SetItemText(int nID, const QString& text) {
    if (CWnd* item = GetDlgItem(nID))
        item->SetWindowText(text);
}

BOOL CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const QString title = QString::fromLatin1(kMainTitle);
    SetWindowText(QStringLiteral("About ") + title);
    SetItemText(IDC_ABOUT_NAME, title);
    SetItemText(IDC_ABOUT_VERSION,
                QStringLiteral("Version 5.0.0.3 ") + QStringLiteral("-- Player"));
    SetItemText(IDC_ABOUT_SUPPORT, String(16384));
    SetItemText(IDC_ABOUT_ADDRESS, String(16385));
    if (GetDlgItem(IDC_ABOUT_MAIL) && m_mailLink.SubclassDlgItem(IDC_ABOUT_MAIL, this)) {
        const QString mail = String(16386);
        m_mailLink.SetWindowText(mail);
        m_mailLink.m_link = QStringLiteral("mailto:") + mail;
    }
    if (GetDlgItem(IDC_ABOUT_WEB) && m_webLink.SubclassDlgItem(IDC_ABOUT_WEB, this))
        m_webLink.SetWindowText(String(16395));
    return TRUE;
}
