#include "platform/framework/Exception.h"

IMPLEMENT_DYNAMIC(CException, CObject)

bool CException::GetErrorMessage(QString& message) const {
    message.clear();
    return false;
}

QString CException::ErrorMessage() const {
    QString message;
    GetErrorMessage(message);
    return message;
}
