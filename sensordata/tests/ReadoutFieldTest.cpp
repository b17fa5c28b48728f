#include "sensordata/ReadoutField.h"

#include "platform/wintypes/CLocale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

// The read-outs' numbers are printf's: rounding at the fifth decimal (ties of exact binary
// values included), signs, padding, long numbers and what is not a number.
TEST(ReadoutFieldTest, FixedTextIsWhatPrintfWrites) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             -1.0,
                             0.03125,
                             0.09375,
                             -0.03125,
                             2.00005,
                             9.99995,
                             -9.99995,
                             0.00004999,
                             -0.00004,
                             123456.78905,
                             1e15,
                             -3.5e20,
                             1e300,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN(),
                             -std::numeric_limits<double>::quiet_NaN()};
    for (const int width : {0, 5, 6, 12}) {
        for (const double v : values)
            EXPECT_EQ(CReadoutField::FixedText(v, width), QFormatC("%*.4f", width, v))
                << width << " " << v;
    }
    std::mt19937 random(3);
    std::uniform_real_distribution<double> wide(-100.0, 100.0);
    for (int i = 0; i < 2000; ++i) {
        // Values at a quarter of the last decimal lie on ties in binary too.
        const double v = i % 2 ? wide(random) : std::round(wide(random) * 40000.0) / 40000.0;
        ASSERT_EQ(CReadoutField::FixedText(v, 6), QFormatC("%6.4f", v)) << v;
    }
}

}  // namespace
