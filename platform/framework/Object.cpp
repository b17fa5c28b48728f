#include "platform/framework/Object.h"

#include <cstring>
#include <vector>

namespace {

std::vector<const CRuntimeClass*>& Registry() {
    static std::vector<const CRuntimeClass*> classes;
    return classes;
}

}  // namespace

const CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF,
                                             nullptr, nullptr};

static const CRuntimeClassRegistration s_registerCObject(&CObject::classCObject);

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass) {
        if (c == base)
            return true;
    }
    return false;
}

const CRuntimeClass* CRuntimeClass::FromName(const char* className) {
    for (const CRuntimeClass* c : Registry()) {
        if (std::strcmp(c->m_lpszClassName, className) == 0)
            return c;
    }
    return nullptr;
}

CObject* CRuntimeClass::CreateObject(const char* className) {
    const CRuntimeClass* c = FromName(className);
    return c ? c->CreateObject() : nullptr;
}

CRuntimeClassRegistration::CRuntimeClassRegistration(const CRuntimeClass* cls) {
    Registry().push_back(cls);
}
