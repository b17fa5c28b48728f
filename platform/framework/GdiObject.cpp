#include "platform/framework/GdiObject.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)

BOOL CGdiObject::DeleteObject() {
    if (!m_created)
        return FALSE;
    m_created = false;
    Reset();
    return TRUE;
}
