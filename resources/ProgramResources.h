#pragma once

// CProgramResources: the program's own resource tables (dialog templates, menus, accelerators,
// toolbars, strings, bitmaps and icons by the ids the program names), put first in the
// framework's resource chain at start-up so that libraries added later only fill in what the
// program does not have.

#include "platform/framework/ResourceChain.h"

class CProgramResources {
public:
    // The program's module; it lives as long as the program.
    static const CResourceModule& Module();
    // Puts the program's module into the chain (once; later calls change nothing).
    static void Register();
};
