// Fuzz target of the mdat reader: the bytes are opened as a ".mdat" file.

#include "fuzz/SensorDataFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzSensorDataFile(data, size, QStringLiteral("mdat"));
}
