#pragma once

// CResourceModuleScope: switches the resource look-ups to one module of the chain for as long
// as it lives, as windows whose templates must come from a given library need: while it exists,
// that module is searched before every other, so its templates win over same-numbered ones of
// the program. The module searched first before it is restored when it ends, on every exit path.
// Scopes nest. User-interface thread only.

#include <QString>

struct CResourceModule;

class CResourceModuleScope {
public:
    // Looks the module up by name in the chain; without such a module nothing changes.
    explicit CResourceModuleScope(const QString& moduleName);
    ~CResourceModuleScope();
    CResourceModuleScope(const CResourceModuleScope&) = delete;
    CResourceModuleScope& operator=(const CResourceModuleScope&) = delete;

    // FALSE when the chain had no module of that name.
    bool IsActive() const { return m_active; }

private:
    const CResourceModule* m_saved = nullptr;
    bool m_active = false;
};
