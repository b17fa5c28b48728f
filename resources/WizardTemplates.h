#pragma once

// The wizards of the device layer: the wizard shell (219), its default page (30053), the eight
// pages of the 3-D capture wizard (30090 to 30097) and the page of the conversion wizard (348).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> WizardTemplates();
