// A numbered ".jpg" file opened as an image sequence and every frame read.

#include "fuzz/ImageSequenceFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzImageSequenceFile(data, size, QStringLiteral("jpg"));
}
