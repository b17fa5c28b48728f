#include "views/panels/PlayButtonIcons.h"

#include "platform/framework/CommandIcon.h"
#include "platform/framework/Wnd.h"

#include <QAbstractButton>

namespace {

// Fwd, Stop, Back, Rew, reverse Play, Play, FFwd.
constexpr int kPlayButtons[] = {2005, 2003, 2004, 2002, 2009, 2001, 2010};

}  // namespace

void CPlayButtonIcons::Apply(CWnd* page) {
    if (!page || !page->GetSafeHwnd())
        return;
    for (int id : kPlayButtons) {
        CWnd* control = page->GetDlgItem(id);
        auto* button = control ? qobject_cast<QAbstractButton*>(control->GetQWidget()) : nullptr;
        const QIcon icon = AfxCommandIcon(static_cast<UINT>(id));
        if (!button || icon.isNull())
            continue;
        button->setToolTip(button->text());
        button->setText(QString());
        button->setIcon(icon);
    }
}
