// Fuzz target of the au2 reader: the bytes are opened as a ".au2" file.

#include "fuzz/SensorDataFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzSensorDataFile(data, size, QStringLiteral("au2"));
}
