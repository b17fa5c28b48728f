#pragma once

// CProgramResources: the program's own resource tables (dialog templates, menus, accelerators,
// toolbars, strings, bitmaps and icons by the ids the program names), put first in the
// framework's resource chain at start-up so that libraries added later only fill in what the
// program does not have. Registering also makes the chain the source of the framework's menus,
// accelerator tables and document strings.

#include "platform/framework/ResourceChain.h"

class CProgramResources {
public:
    // The program's module; it lives as long as the program.
    static const CResourceModule& Module();
    // Puts the program's module into the chain (once; later calls change nothing) and
    // installs the chain's menu, accelerator and document-string loaders.
    static void Register();
};
