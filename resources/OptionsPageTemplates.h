#pragma once

// The pages of the Program Options dialog that show under its tabs: General Settings (30099),
// Video (30114) and Update (30113).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> OptionsPageTemplates();
