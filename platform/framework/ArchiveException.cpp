#include "platform/framework/ArchiveException.h"

IMPLEMENT_DYNAMIC(CArchiveException, CException)

bool CArchiveException::GetErrorMessage(QString& message) const {
    const QString name =
        m_strFileName.isEmpty() ? QStringLiteral("an unnamed file") : m_strFileName;
    switch (m_cause) {
        case readOnly:
            message =
                QStringLiteral("An attempt was made to write to %1 while reading it.").arg(name);
            break;
        case endOfFile:
            message = QStringLiteral("An attempt was made to read %1 past its end.").arg(name);
            break;
        case writeOnly:
            message = QStringLiteral("An attempt was made to read %1 while writing it.").arg(name);
            break;
        case badIndex:
            message = QStringLiteral("%1 has an invalid format.").arg(name);
            break;
        case badClass:
            message = QStringLiteral("%1 contains an unexpected object.").arg(name);
            break;
        case badSchema:
            message = QStringLiteral("%1 contains an object of an unknown version.").arg(name);
            break;
        default:
            message = QStringLiteral("An unexpected error occurred while accessing %1.").arg(name);
            break;
    }
    return true;
}
