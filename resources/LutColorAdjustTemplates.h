#pragma once

// The dialog templates of the two colour-adjustment pages (30049 of the play group, 30100 of
// the project's "Image Process" page): the place of the look-up-table editor control (1014)
// and, hidden, the notice shown instead when the control cannot be created (1015).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> LutColorAdjustTemplates();
