// The entry points of the Levora module; everything else in it is hidden.

#include "lutcontrol/LevoraModule.h"

extern "C" HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return levora::Server().GetClassObject(clsid, iid, object);
}

extern "C" HRESULT DllCanUnloadNow() {
    return levora::Server().CanUnloadNow();
}

extern "C" HRESULT DllRegisterServer() {
    return levora::RegisterModule();
}

extern "C" HRESULT DllUnregisterServer() {
    return levora::UnregisterModule();
}
