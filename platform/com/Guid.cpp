#include "platform/com/Guid.h"

QString StringFromGUID(REFGUID guid) {
    QString text = QStringLiteral("{%1-%2-%3-")
                       .arg(guid.Data1, 8, 16, QLatin1Char('0'))
                       .arg(guid.Data2, 4, 16, QLatin1Char('0'))
                       .arg(guid.Data3, 4, 16, QLatin1Char('0'));
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            text += QLatin1Char('-');
        text += QStringLiteral("%1").arg(guid.Data4[i], 2, 16, QLatin1Char('0'));
    }
    text += QLatin1Char('}');
    return text.toUpper();
}

bool GUIDFromString(const QString& text, GUID* out) {
    GUID parsed;
    const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                                   static_cast<size_t>(text.size()));
    if (!guid_detail::Parse(view, &parsed))
        return false;
    *out = parsed;
    return true;
}

HRESULT CLSIDFromString(const QString& text, CLSID* clsid) {
    if (!clsid)
        return E_POINTER;
    return GUIDFromString(text, clsid) ? S_OK : CO_E_CLASSSTRING;
}
