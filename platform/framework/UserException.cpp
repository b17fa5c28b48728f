#include "platform/framework/UserException.h"

IMPLEMENT_DYNAMIC(CUserException, CException)
