// A record controller configuration given to the program: the controller file and its numbered
// device files, loaded as the controller loads them (each device file read for the device it
// names, which is then opened), and the same bytes as the text of a device launch path.

#include "devices/RecordControllerDoc.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = [] {
        FuzzInit();
        SimDriverConfig config;
        config.cameras = 2;
        config.cards = 1;
        DriverLoader::RegisterDriver("sim", MakeSimFamilies(config, DriverLoader::HostServices()));
        return true;
    }();
    (void)registered;
    const QString controller = FuzzFile(data, size, QStringLiteral("rig.recc"));
    FuzzFile(data, size, QStringLiteral("rig_dev1.devset"));
    FuzzFile(data, size / 2, QStringLiteral("rig_dev2.devset"));
    {
        CRecordControllerDoc doc;
        if (doc.OnOpenDocument(controller))
            doc.LoadDeviceSet();
        const QString text =
            QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
        doc.LoadDeviceSet(QStringLiteral("__launchXXXdevice") + text);
    }
    OpenDevices::DestroyAll();
    return 0;
}
