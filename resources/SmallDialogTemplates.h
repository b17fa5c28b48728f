#pragma once

#include "platform/framework/ResourceChain.h"

#include <vector>

// The small common dialogs: update check, session choice, number and text entry, format
// selection, device information, the measurement palette, recorded parameters and the
// labelled slider.
std::vector<DialogTemplate> SmallDialogTemplates();
