#include "views/PleaseWaitDlg.h"

#include <QFont>
#include <QPalette>
#include <QWidget>

CPleaseWaitDlg::CPleaseWaitDlg() : CDialog(kTemplate, nullptr) {}

CPleaseWaitDlg::~CPleaseWaitDlg() {
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CPleaseWaitDlg::Show(CWnd* parent) {
    if (!GetSafeHwnd() && !Create(kTemplate, parent))
        return FALSE;
    ShowWindow(SW_SHOW);
    if (QWidget* widget = GetQWidget())
        widget->repaint();
    return TRUE;
}

BOOL CPleaseWaitDlg::OnInitDialog() {
    const BOOL result = CDialog::OnInitDialog();
    if (CWnd* message = GetDlgItem(kMessage); message && message->GetQWidget()) {
        QWidget* text = message->GetQWidget();
        QFont font(QStringLiteral("Helvetica"));
        font.setPixelSize(kMessagePixels);
        font.setBold(true);
        text->setFont(font);
        QPalette palette = text->palette();
        palette.setColor(QPalette::WindowText,
                         QColor(GetRValue(kMessageColour), GetGValue(kMessageColour),
                                GetBValue(kMessageColour)));
        text->setPalette(palette);
    }
    return result;
}
