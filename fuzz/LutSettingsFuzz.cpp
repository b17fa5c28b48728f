// A ".lut" settings file of the look-up-table editor read: every value it gives lies in the
// editor's ranges, and writing it gives bytes that read back to the same values.

#include "fuzz/FuzzSupport.h"
#include "lutcontrol/LutSettingsFile.h"

#include <cmath>
#include <cstdlib>

namespace {

bool InRange(const CLutParamSet& set) {
    for (int c = 0; c < CLutParamSet::kChannels; ++c) {
        for (LONG v : {set.Brightness(c), set.Contrast(c), set.ExpLog(c)})
            if (v < lut_settings::kMinValue || v > lut_settings::kMaxValue)
                return false;
        if (!std::isfinite(set.Gamma(c)) || set.Gamma(c) < lut_settings::kMinGamma ||
            set.Gamma(c) > lut_settings::kMaxGamma)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LutSettings read;
    if (!lut_settings::Read(FuzzFile(data, size, QStringLiteral("input.lut")), &read))
        return 0;
    if (!InRange(read.colour) || !InRange(read.bw))
        std::abort();
    const QString again = FuzzFile(nullptr, 0, QStringLiteral("again.lut"));
    LutSettings back;
    if (!lut_settings::Write(again, read) || !lut_settings::Read(again, &back) ||
        !back.colour.Equals(read.colour) || !back.bw.Equals(read.bw) ||
        back.colour.Color2BW() != read.colour.Color2BW())
        std::abort();
    return 0;
}
