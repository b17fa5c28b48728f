#pragma once

// CArchiveException: a failed read or write of a framework archive, with the framework's cause
// codes and the archive's file name.

#include "platform/framework/Exception.h"

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)

public:
    enum Cause {
        none,
        genericException,
        readOnly,   // A write to an archive opened for loading.
        endOfFile,  // The data ends before what it announces.
        writeOnly,  // A read from an archive opened for storing.
        badIndex,   // An object or class tag that names nothing read so far.
        badClass,   // An unknown class, or one not of the kind the reader asked for.
        badSchema   // A class version the program cannot read.
    };

    explicit CArchiveException(int cause = none, const QString& archiveName = {})
        : m_cause(cause), m_strFileName(archiveName) {}

    bool GetErrorMessage(QString& message) const override;

    int m_cause;
    QString m_strFileName;
};
