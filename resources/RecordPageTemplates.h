#pragma once

// The dialog templates of the record group's control-panel pages: the devices (173), analysis
// (182), trigger-adjust (207), data-trigger (179), video-trigger (180, and 30084 without its
// data-trigger group), advanced video-trigger (30111) and record (340) pages.

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> RecordPageTemplates();
