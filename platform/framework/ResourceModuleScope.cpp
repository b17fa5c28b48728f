#include "platform/framework/ResourceModuleScope.h"

#include "platform/framework/ResourceChain.h"

CResourceModuleScope::CResourceModuleScope(const QString& moduleName) {
    if (const CResourceModule* module = CResourceChain::FindModule(moduleName)) {
        m_saved = CResourceChain::SetPreferredModule(module);
        m_active = true;
    }
}

CResourceModuleScope::~CResourceModuleScope() {
    if (m_active)
        CResourceChain::SetPreferredModule(m_saved);
}
