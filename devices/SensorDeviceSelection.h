#pragma once

// The live sensor-data side's use of Device Selection: the dialog runs without a device kind,
// and a chosen data card becomes the path of a live sensor document, "sensorXXX" followed by
// the text form of the card's id. Other devices give nothing.

#include "devices/core/DeviceId.h"

#include <QString>

class CWnd;

namespace SensorDeviceSelection {

// The document path of a data card.
QString SensorPath(const CDeviceId& id);
// The path of the data card the user chose; empty when the dialog was cancelled or the device
// chosen is no data card.
QString ChooseSensorPath(CWnd* owner);
// The path for the device chosen in a dialog that ended with result (IDOK to count).
QString PathOfChoice(int result, const CDeviceId& id);

}  // namespace SensorDeviceSelection
