// A ".clr" colour-coefficient file read, and what was read written and read back unchanged.

#include "frames/ColorCoefficientFile.h"
#include "fuzz/FuzzSupport.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ColorCoefficients read;
    if (!ReadColorCoefficients(FuzzFile(data, size, QStringLiteral("input.clr")), &read))
        return 0;
    for (const auto& row : read.rows)
        for (float value : row)
            if (!std::isfinite(value))
                std::abort();
    const QString again = FuzzFile(nullptr, 0, QStringLiteral("again.clr"));
    ColorCoefficients back;
    if (!WriteColorCoefficients(again, read) || !ReadColorCoefficients(again, &back) ||
        std::memcmp(back.rows, read.rows, sizeof read.rows) != 0)
        std::abort();
    return 0;
}
