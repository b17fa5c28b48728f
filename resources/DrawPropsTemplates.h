#pragma once

// The drawing-object properties dialogs: 324 "Annotation Properties", 386 "Length Calibration
// Properties" (with its calibration scale), 30104 and 30106 "Goto Frame-Note Properties" (with
// the off-frame transparency). All share the control ids of the basic properties. Also the
// box 163 shown while the dialogs gather the font names.

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> DrawPropsTemplates();
