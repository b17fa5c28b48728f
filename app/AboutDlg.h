#pragma once

// CAboutDlg: the About box: the program's name and version and how to reach technical
// support, the mail address and web page as links.

#include "platform/framework/Dialog.h"
#include "shell/StaticLink.h"

inline constexpr UINT IDD_ABOUTBOX = 100;

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;

private:
    // Sets a control's text when the template has the control.
    void SetItemText(int nID, const QString& text);

    CStaticLink m_mailLink;
    CStaticLink m_webLink;
};
