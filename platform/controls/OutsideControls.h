#pragma once

// CreateOutsideControl: makes a hosted control by its class id: the controls this program
// carries itself first (slide, active area, sensor display), then any class registered
// under HKEY_CLASSES_ROOT. REGDB_E_CLASSNOTREG and the like when there is none.

#include "platform/com/Guid.h"
#include "platform/com/IUnknown.h"

HRESULT CreateOutsideControl(REFCLSID clsid, REFIID iid, void** object);
