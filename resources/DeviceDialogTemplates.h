#pragma once

// The dialogs of the device layer: Device Selection (133), the Connection Assistant (228), Set
// Active Area (218), Camera Settings (30120) and a data card's acquisition window (1590).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> DeviceDialogTemplates();
