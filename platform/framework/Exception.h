#pragma once

// CException: base of the framework's exceptions. They are thrown by value and caught by
// reference (catch (const CException& e)), so no caller has to delete them.

#include "platform/framework/Object.h"

#include <QString>

class CException : public CObject {
    DECLARE_DYNAMIC(CException)

public:
    // The text shown to the user; false when the exception has none.
    virtual bool GetErrorMessage(QString& message) const;
    QString ErrorMessage() const;
};
