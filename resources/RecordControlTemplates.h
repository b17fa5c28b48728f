#pragma once

// The record control page (1592, and 1595 with the same controls) and the single-record page
// (30087: the same controls with places for the device list, the device's own page and the
// record buttons) with its record buttons (30089).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> RecordControlTemplates();
