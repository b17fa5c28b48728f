#pragma once

// The frame sources a device hands out. The latest recording is a CFrameSource over the camera's
// memory, marked as coming from a device; the device keeps it as its first frame-source
// reference, so every window that asks gets the same source until the camera records again.

#include "frames/FrameSourcePtr.h"

class CDevice;

namespace DeviceFrameSources {

// The frame source of the recording the device holds (mode 2, at least one frame): frame 0 is
// the oldest frame, the trigger frame is frame number 0, the rate is the record rate. Empty for
// no device, a device without video, or one that holds no recording.
CFrameSourcePtr GetLatestRecording(CDevice* device);

// A new frame source over the device's live video: its one frame is the picture due when it is
// read (read it with force). Empty for no device or one that gives no live video.
CFrameSourcePtr OpenLiveVideo(CDevice* device);

}  // namespace DeviceFrameSources
