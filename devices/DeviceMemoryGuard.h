#pragma once

// DeviceMemoryGuard: a recording a camera or data card holds in its memory is the user's work
// until it is saved; every close that would drop it asks first.

#include <vector>

class CDevice;

namespace DeviceMemoryGuard {

// For each device that holds an unsaved recording (CDevice::HoldsUnsavedRecording), in order,
// asks whether to save it: Yes saves it through the save dialog of its kind (a camera's video,
// a card's data file), No lets it go, Cancel keeps it and ends the questions. true when the
// close may go on: every such recording was saved or let go. Null devices are skipped.
bool MayDropRecordings(const std::vector<CDevice*>& devices);

}  // namespace DeviceMemoryGuard
