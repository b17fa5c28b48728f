#pragma once

// The dialog templates of a notes window: its note panel (378: four multi-line panes, each
// under a title) and its navigation bar (379: previous and next note, number of panes).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> NotesWindowTemplates();
