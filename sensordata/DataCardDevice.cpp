#include "sensordata/DataCardDevice.h"

#include "devices/core/DriverLoader.h"
#include "platform/framework/IPrompter.h"
#include "platform/wintypes/WinError.h"

CDataCardDevice::CDataCardDevice(const CDeviceDescriptor& descriptor,
                                 std::unique_ptr<IDriverDevice> driver)
    : CDevice(descriptor, std::move(driver)) {}

QString CDataCardDevice::WindowNotAvailableText() {
    return QStringLiteral("The live acquisition window is not available yet.");
}

int CDataCardDevice::ShowAcquisitionWindow() {
    AfxMessageBox(WindowNotAvailableText(), MB_ICONINFORMATION);
    return E_NOTIMPL;
}

void InstallDataCardFactory() {
    DriverLoader::SetDeviceFactory(kDeviceTypeDataCard, [](const CDeviceId& id) -> CDevice* {
        CDeviceDescriptor descriptor(id);
        std::unique_ptr<IDriverDevice> driver = DriverLoader::OpenDriverDevice(id, &descriptor);
        if (!driver)
            return nullptr;
        return new CDataCardDevice(descriptor, std::move(driver));
    });
}
