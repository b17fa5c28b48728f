#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/WinTypes.h"

#include <gtest/gtest.h>

TEST(ColorRefTest, PacksAsBlueGreenRed) {
    static_assert(RGB(255, 0, 0) == 0x0000FF);
    static_assert(RGB(0, 255, 0) == 0x00FF00);
    static_assert(RGB(0, 0, 255) == 0xFF0000);
    constexpr COLORREF c = RGB(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    EXPECT_EQ(GetRValue(c), 0x12);
    EXPECT_EQ(GetGValue(c), 0x34);
    EXPECT_EQ(GetBValue(c), 0x56);
}

TEST(WinTypesTest, SignedMouseCoordinates) {
    const LPARAM lp = MAKELPARAM(static_cast<WORD>(-5), 300);
    EXPECT_EQ(GET_X_LPARAM(lp), -5);
    EXPECT_EQ(GET_Y_LPARAM(lp), 300);
}
