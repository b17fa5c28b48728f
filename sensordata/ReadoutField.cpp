#include "sensordata/ReadoutField.h"

#include "sensordata/CachedPanelStyle.h"

#include <QLineEdit>

BOOL CReadoutField::Attach(int id, CWnd* parent) {
    if (!SubclassDlgItem(static_cast<UINT>(id), parent))
        return FALSE;
    if (qobject_cast<QLineEdit*>(GetQWidget()))
        CCachedPanelStyle::Install(GetQWidget());
    return TRUE;
}

void CReadoutField::SetText(const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(GetQWidget());
    if (!edit) {
        SetWindowText(text);
        return;
    }
    if (edit->text() != text)
        edit->setText(text);
}
