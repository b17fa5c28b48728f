#pragma once

// CDataCardDevice: the device part of a data card (device type 2). In the program's design the
// live acquisition window is this object; until that window exists the device drives its card
// through the driver like any other device, and says so plainly when its window is asked for.
// InstallDataCardFactory makes the driver layer open every type-2 device as one of these.

#include "devices/core/Device.h"

#include <QString>

class CDataCardDevice : public CDevice {
public:
    CDataCardDevice(const CDeviceDescriptor& descriptor, std::unique_ptr<IDriverDevice> driver);

    // "The live acquisition window is not available yet."
    static QString WindowNotAvailableText();
    // Shows the device's live acquisition window. There is none yet: the user is told so, and
    // the answer is E_NOTIMPL.
    int ShowAcquisitionWindow();
};

// Installs the type-2 factory of the driver layer; opening a data card then gives a
// CDataCardDevice over the card's driver device (null when no driver has the card).
void InstallDataCardFactory();
