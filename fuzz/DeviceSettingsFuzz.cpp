// A device settings file (".devset", ".camset", ".devdflt") loaded into the settings sheets of a
// simulated camera and of a simulated data card, as their documents open them, then saved again.

#include "devices/DlgCameraOptions.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/sim/SimDriver.h"
#include "fuzz/FuzzSupport.h"
#include "sensordata/DataAcqWnd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        SimDriverConfig config;
        config.cameras = 1;
        config.cards = 1;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, DriverLoader::HostServices()));
        InstallDataCardFactory();
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
    CDeviceLink cardLink;
    cardLink.SetProvider(&manager);
    if (CDevice* card = DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 1, 0))) {
        int handle = -1;
        card->GetHandle(&handle);
        cardLink.SetHandle(handle);
    }
    CDlgCameraOptions cardSheet;
    cardSheet.Bind(&cardLink);
    cardSheet.Load(path);
    cardSheet.Save(FuzzFile(nullptr, 0, QStringLiteral("card.devset")));
    CDlgDeviceOptions defaults;
    defaults.LoadFromFile(path);
    return 0;
}
