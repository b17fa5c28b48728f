#include "devices/core/DeviceId.h"

#include <cstdlib>
#include <string>

void CDeviceId::FromString(const QString& text) {
    const std::string bytes = text.toStdString();
    // The pieces between the first four '#': each ends at the next '#' or at the text's end.
    int* fields[3] = {&m_type, &m_subtype, &m_index};
    size_t hash = bytes.find('#');
    for (int* field : fields) {
        if (hash == std::string::npos)
            return;
        const size_t next = bytes.find('#', hash + 1);
        const std::string piece =
            bytes.substr(hash + 1, next == std::string::npos ? std::string::npos : next - hash - 1);
        if (next == std::string::npos && piece.empty())
            return;
        *field = std::atoi(piece.c_str());
        hash = next;
    }
}

QString CDeviceId::ToString() const {
    return QStringLiteral("#%1#%2#%3#").arg(m_type).arg(m_subtype).arg(m_index);
}
