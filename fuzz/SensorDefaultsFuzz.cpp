// A per-sensor defaults file (".sensdflt") read as the live sensor window of the second family
// opens it for a simulated data card, given to the card once bound, and saved again.

#include "app/SensorSettingsSheet.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceLink.h"
#include "devices/core/DeviceManager.h"
#include "devices/core/DriverLoader.h"
#include "devices/sim/SimDriver.h"
#include "fuzz/FuzzSupport.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataQNSensorDoc.h"

#include <QDir>
#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        SimDriverConfig config;
        config.cameras = 0;
        config.cards = 1;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, DriverLoader::HostServices()));
        InstallDataCardFactory();
        IDeviceSettingsSheet::SetFactory([] { return std::make_unique<CSensorSettingsSheet>(); });
        return true;
    }();
    (void)registered;
    const CDeviceId id(kDeviceTypeDataCard, 1, 0);
    const QString path =
        FuzzFile(data, size, QFileInfo(CDataQNSensorDoc::DefaultsPath(id)).fileName());
    // The defaults are found in the current folder, which is the caller's again afterwards.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QFileInfo(path).absolutePath());
    // The last manager closes the card again when it goes.
    CDeviceManager manager;
    CDeviceLink link;
    link.SetProvider(&manager);
    if (CDevice* card = DriverLoader::OpenById(id)) {
        int handle = -1;
        card->GetHandle(&handle);
        link.SetHandle(handle);
    }
    CDataQNSensorDoc doc;
    const QString sensor = QStringLiteral("sensorXXX") + id.ToString();
    if (doc.OnOpenDocument(sensor)) {
        doc.GetDeviceSettings()->Bind(&link);
        doc.OnSaveDocument(FuzzFile(nullptr, 0, QStringLiteral("saved.sensdflt")));
        doc.GetDeviceSettings()->Bind(nullptr);
    }
    QDir::setCurrent(before);
    return 0;
}
