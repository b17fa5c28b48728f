#pragma once

// CUserException: ends an operation the user has already been told about (a field that failed
// its check); callers stop quietly.

#include "platform/framework/Exception.h"

class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};
