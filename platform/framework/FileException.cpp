#include "platform/framework/FileException.h"

IMPLEMENT_DYNAMIC(CFileException, CException)

bool CFileException::GetErrorMessage(QString& message) const {
    const QString name =
        m_strFileName.isEmpty() ? QStringLiteral("an unnamed file") : m_strFileName;
    switch (m_cause) {
        case fileNotFound:
            message = QStringLiteral("%1 was not found.").arg(name);
            break;
        case badPath:
            message = QStringLiteral("%1 contains an invalid path.").arg(name);
            break;
        case accessDenied:
            message = QStringLiteral("Access to %1 was denied.").arg(name);
            break;
        case badSeek:
            message = QStringLiteral("An error occurred while setting the file position for %1.")
                          .arg(name);
            break;
        case diskFull:
            message = QStringLiteral("There was not enough space on the disk for %1.").arg(name);
            break;
        case endOfFile:
            message = QStringLiteral("An attempt was made to access %1 past its end.").arg(name);
            break;
        case hardIO:
            message =
                QStringLiteral("A hardware I/O error was reported while accessing %1.").arg(name);
            break;
        default:
            message = QStringLiteral("An unexpected error occurred while accessing %1.").arg(name);
            break;
    }
    return true;
}
