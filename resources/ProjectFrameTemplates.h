#pragma once

// The dialog templates of the project window's bars: the group bar (30048: the "Record Group"
// and "Play Group" tabs with the Record and Play buttons and a picture) and the project's
// control panel (30088: the page tabs and a picture).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> ProjectFrameTemplates();
