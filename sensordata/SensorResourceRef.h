#pragma once

// CSensorResourceRef: the program's own kind of CSensorResource, which the sensor record holder
// keeps on the heap so that the sensor-resource library stays bound while it exists. It adds
// nothing.

#include "sensorres/SensorResource.h"

class CSensorResourceRef : public CSensorResource {};
