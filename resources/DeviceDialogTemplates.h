#pragma once

// The dialogs of the device layer: Device Selection (133).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> DeviceDialogTemplates();
