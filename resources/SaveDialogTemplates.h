#pragma once

// The dialogs of saving: the video compression assistant (214) and the number question with a
// slider that asks for the JPEG quality (1555).

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> SaveDialogTemplates();
