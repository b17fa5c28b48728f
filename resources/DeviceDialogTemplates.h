#pragma once

// The dialogs of the device layer: Device Selection (133), the Connection Assistant (228), Set
// Active Area (218) and Camera Settings (30120).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> DeviceDialogTemplates();
