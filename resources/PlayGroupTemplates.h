#pragma once

// The dialog templates of the play groups' own windows: the form view of a single video (343:
// the display's tab control over the whole view, with the tab controls, label and list the
// view binds but does not show) and the synchronized save list (366).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> PlayGroupTemplates();
