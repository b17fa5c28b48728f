#pragma once

// The Levora module's class table and its registration: the eight classes, the type library
// LEVORALib and the control keys (Control, Insertable, MiscStatus, TypeLib, Version,
// ToolboxBitmap32) under HKEY_CLASSES_ROOT.

#include "platform/com/ComServer.h"

namespace levora {

const CComServer& Server();
// SELFREG_E_TYPELIB when the type library's keys cannot be written (nothing else is then
// done), SELFREG_E_CLASS when a class's cannot.
HRESULT RegisterModule();
HRESULT UnregisterModule();

}  // namespace levora
