#pragma once

// The dialogs of saving: the video compression assistant (214), the number question with a
// slider that asks for the JPEG quality (1555) and the panels of the save-video file dialog:
// the one below its own controls (1536) and the options panel inside that (1576); and the range
// panel of the data-file save dialog (30053).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> SaveDialogTemplates();
