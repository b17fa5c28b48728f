#pragma once

// CInvalidArgException: the framework's exception for a bad argument, such as an index that
// lies outside a container. Thrown by value, caught by const reference.

#include "platform/framework/Exception.h"

class CInvalidArgException : public CException {
    DECLARE_DYNAMIC(CInvalidArgException)

public:
    bool GetErrorMessage(QString& message) const override;
};

[[noreturn]] void AfxThrowInvalidArgException();
