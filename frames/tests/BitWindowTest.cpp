#include "frames/BitWindow.h"

#include <gtest/gtest.h>

TEST(BitWindowTest, Levels) {
    struct Case {
        uint16_t sample;
        int shift;
        int expected;
    };
    const Case cases[] = {
        {0xABCD, 0, 0xAB},  {0x00FF, 0, 0x00},  {0xFFFF, 0, 0xFF}, {0x0123, 4, 0x12},
        {0x1123, 4, 255},   {0x00FE, 8, 0xFE},  {0x01FE, 8, 255},  {0xABCD, 9, 0xAB},
        {0xABCD, 17, 0xCD}, {0xABCD, 13, 0xBC}, {0xABCD, 18, 0},   {0xABCD, -1, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BitWindowLevel(c.sample, c.shift), c.expected)
            << std::hex << c.sample << " " << c.shift;
    const BYTE samples[4] = {0xCD, 0xAB, 0x34, 0x12};
    BYTE levels[2] = {};
    BitWindowTo8(samples, levels, 2, 0);
    EXPECT_EQ(levels[0], 0xAB);
    EXPECT_EQ(levels[1], 0x12);
}
