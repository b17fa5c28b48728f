#pragma once

// CDeviceSelection: the device layer's answer to the main window's questions: the session type
// and the Device Selection dialog.

#include "shell/IDeviceSelection.h"

class CDeviceSelection : public IDeviceSelection {
public:
    int ChooseSession() override;
    int ChooseDevice(CDeviceId* id) override;
};
