#include "shell/StaticLink.h"

#include "platform/framework/IPrompter.h"
#include "platform/framework/Shell.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

IMPLEMENT_DYNAMIC(CStaticLink, CStatic)

BEGIN_MESSAGE_MAP(CStaticLink, CStatic)
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

void CStaticLink::PreSubclassWindow() {
    CStatic::PreSubclassWindow();
    Decorate();
}

void CStaticLink::Decorate() {
    QWidget* widget = GetQWidget();
    if (!widget)
        return;
    QFont font = widget->font();
    font.setUnderline(true);
    widget->setFont(font);
    QPalette palette = widget->palette();
    const COLORREF color = GetTextColor();
    palette.setColor(QPalette::WindowText,
                     QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
    widget->setPalette(palette);
    // Qt shows the hand while the pointer is over the link and the arrow once it leaves.
    widget->setCursor(Qt::PointingHandCursor);
}

void CStaticLink::OnLButtonUp(UINT, CPoint) {
    OnClicked();
}

void CStaticLink::OnClicked() {
    const QString target = m_link.isEmpty() ? GetWindowText() : m_link;
    if (target.isEmpty())
        return;
    if (!m_message.isEmpty())
        AfxMessageBox(m_message, MB_ICONINFORMATION);
    if (AfxShellOpen(target)) {
        m_bVisited = TRUE;
        Decorate();
    } else {
        QApplication::beep();
    }
}
