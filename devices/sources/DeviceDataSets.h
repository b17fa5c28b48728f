#pragma once

// The data set a data card's memory gives: the recording the card holds, copied into a new
// CSensorDataSet that the play group then owns like a data file's.

#include "frames/SharedRef.h"
#include "sensordata/model/SensorDataSet.h"

class CDevice;

namespace DeviceDataSets {

// A new data set of the recording the data card holds (mode 2, at least one scan): one stored
// channel per card channel (at most 64), the volts of each scan oldest first, the card's scan
// rate, one scan per frame and the trigger scan as the zero point. Empty for no device, a
// device that is no data card, one that holds no recording, or a card whose samples cannot be
// read.
CSharedRef<CSensorDataSet> CopyMemory(CDevice* device);

}  // namespace DeviceDataSets
