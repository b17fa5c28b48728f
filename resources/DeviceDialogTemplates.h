#pragma once

// The dialogs of the device layer: Device Selection (133), the Connection Assistant (228) and
// Set Active Area (218).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> DeviceDialogTemplates();
