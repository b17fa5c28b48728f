#include "sensordata/StandardRates.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<float, kStandardRateCount> kRates = {
    2,      4,      5,      8,      10,     16,     20,     25,     32,      40,     50,
    64,     80,     100,    125,    128,    160,    200,    250,    256,     320,    400,
    500,    625,    640,    800,    1000,   1250,   1280,   1600,   2000,    2500,   3125,
    3200,   4000,   5000,   6250,   6400,   8000,   10000,  12500,  15625,   16000,  20000,
    25000,  31250,  32000,  40000,  50000,  62500,  78125,  80000,  100000,  125000, 156250,
    160000, 200000, 250000, 312500, 400000, 500000, 625000, 800000, 1000000, 1250000};

}  // namespace

int GetStandardRateCount() {
    return kStandardRateCount;
}

void GetStandardRates(int* rates, int* count) {
    if (!rates || !count || *count <= 0)
        return;
    const int copied = std::min(*count, kStandardRateCount);
    for (int i = 0; i < copied; ++i)
        rates[i] = static_cast<int>(kRates[static_cast<size_t>(i)]);
    *count = copied;
}

int IsStandardRate(int rate) {
    return std::any_of(kRates.begin(), kRates.end(),
                       [rate](float entry) { return static_cast<int>(entry) == rate; })
               ? 1
               : 0;
}

int StandardRate(int index) {
    return static_cast<int>(
        kRates[static_cast<size_t>(std::clamp(index, 0, kStandardRateCount - 1))]);
}
