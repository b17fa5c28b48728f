// A device settings file (".devset", ".camset", ".devdflt") loaded into a camera's settings sheet
// bound to a simulated camera, as a camera document opens it, then saved again.

#include "devices/DlgCameraOptions.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/sim/SimDriver.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        SimDriverConfig config;
        config.cameras = 1;
        config.cards = 0;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, DriverLoader::HostServices()));
        return true;
    }();
    (void)registered;
    const QString path = FuzzFile(data, size, QStringLiteral("input.devset"));
    // The last manager closes the camera again when it goes.
    CDeviceManager manager;
    CDeviceLink link;
    link.SetProvider(&manager);
    if (CDevice* device = DriverLoader::OpenById(CDeviceId(kDeviceTypeCamera, 1, 0))) {
        int handle = -1;
        device->GetHandle(&handle);
        link.SetHandle(handle);
    }
    CDlgCameraOptions sheet;
    sheet.Bind(&link);
    sheet.Load(path);
    sheet.Save(FuzzFile(nullptr, 0, QStringLiteral("saved.devset")));
    CDlgDeviceOptions defaults;
    defaults.LoadFromFile(path);
    return 0;
}
