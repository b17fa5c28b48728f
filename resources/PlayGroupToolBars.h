#pragma once

// The play group's toolbars: the group toolbar (155: Add Video, Add Data, Import Play Project)
// and the view toolbar (356: actual size, fit, pan, zoom, reticle, ruler).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<ToolBarTemplate> PlayGroupToolBars();
