#pragma once

// CFileException: a failed file operation, with the framework's cause codes.

#include "platform/framework/Exception.h"

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)

public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, long osError = -1, const QString& fileName = {})
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    bool GetErrorMessage(QString& message) const override;

    int m_cause;
    long m_lOsError;
    QString m_strFileName;
};
