#pragma once

#include "platform/framework/ResourceChain.h"

#include <vector>

// The recording dialogs and bars: record options, the recording-busy box, the Auto-Record
// Controller, the sensor page of the record panels, the record dialog bar and the simple play
// bar.
std::vector<DialogTemplate> RecordTemplates();
