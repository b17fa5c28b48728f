#pragma once

// The dialogs of saving: the video compression assistant (214), the number question with a
// slider that asks for the JPEG quality (1555) and the options panel of the save-video file
// dialog (1576).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> SaveDialogTemplates();
