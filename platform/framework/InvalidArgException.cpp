#include "platform/framework/InvalidArgException.h"

IMPLEMENT_DYNAMIC(CInvalidArgException, CException)

bool CInvalidArgException::GetErrorMessage(QString& message) const {
    message = QStringLiteral("An invalid argument was passed.");
    return true;
}

void AfxThrowInvalidArgException() {
    throw CInvalidArgException();
}
