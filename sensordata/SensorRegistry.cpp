#include "sensordata/SensorRegistry.h"

#include "platform/wintypes/CLocale.h"

#include <QByteArray>

QString ChannelValueName(int channel) {
    return QStringLiteral("Channel %1").arg(channel + 1);
}

bool WithMachineKey(const QString& path, bool create, const std::function<bool(HKEY)>& body) {
    HKEY key = nullptr;
    const long opened =
        create ? RegCreateKeyEx(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS, &key, nullptr)
               : RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key);
    if (opened != ERROR_SUCCESS)
        return false;
    const bool ok = body(key);
    return RegCloseKey(key) == ERROR_SUCCESS && ok;
}

double AtofC(const QString& text) {
    double value = 0.0;
    const QByteArray bytes = text.toLatin1();
    return ScanC(bytes.constData(), "%lf", &value) == 1 ? value : 0.0;
}
