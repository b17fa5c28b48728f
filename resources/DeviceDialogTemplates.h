#pragma once

// The dialogs of the device layer: Device Selection (133) and the Connection Assistant (228).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> DeviceDialogTemplates();
