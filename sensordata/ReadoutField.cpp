#include "sensordata/ReadoutField.h"

#include "platform/wintypes/CLocale.h"
#include "sensordata/CachedPanelStyle.h"

#include <QLineEdit>

#include <algorithm>
#include <charconv>
#include <cmath>

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

QString CReadoutField::FixedText(double value, int width) {
    char digits[32];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 4);
    // Infinities, NaNs and numbers too long for the buffer read as printf writes them.
    if (!std::isfinite(value) || error != std::errc())
        return QFormatC("%*.4f", width, value);
    const int length = static_cast<int>(end - digits);
    QString text(std::max(width - length, 0), QLatin1Char(' '));
    text += QLatin1String(digits, length);
    return text;
}
