#pragma once

// The sensor-resource library's tables: the dialog templates, bitmaps and icons of the sensor
// windows. Built once, alive as long as the library is mapped.

#include "platform/framework/ResourceChain.h"

const CResourceModule& SondrelModule();

// The entry point the program's resource chain calls (see kResourceEntryPoint).
extern "C" __attribute__((visibility("default"))) const CResourceModule* RmResourceModule();
