#include "resources/ProgramResources.h"

const CResourceModule& CProgramResources::Module() {
    static const CResourceModule module = [] {
        CResourceModule m;
        m.name = QStringLiteral("Reelmark");
        return m;
    }();
    return module;
}

void CProgramResources::Register() {
    CResourceChain::AddModule(&Module());
}
