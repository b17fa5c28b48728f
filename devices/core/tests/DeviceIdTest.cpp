#include "devices/core/DeviceId.h"

#include <gtest/gtest.h>

#include <random>

TEST(DeviceIdTest, TextFormRoundTripsAndKeepsMissingFields) {
    struct Case {
        const char* text;
        int type, subtype, index;
    };
    // Start from a default id: 0, -1, -1.
    const Case cases[] = {
        {"#3#-1#-1#", 3, -1, -1},
        {"#1#2#7#", 1, 2, 7},
        {"#1#2#7#junk#99#", 1, 2, 7},
        {"#5#6", 5, 6, -1},  // the pieces found, atoi of each
        {"#5", 5, -1, -1},
        {"#", 0, -1, -1},
        {"", 0, -1, -1},
        {"no hash", 0, -1, -1},
        {"x#12abc#  4#z#", 12, 4, 0},  // atoi: leading number, blanks, nothing
        {"##8#", 0, 8, -1},
    };
    for (const Case& c : cases) {
        CDeviceId id;
        id.FromString(QString::fromLatin1(c.text));
        EXPECT_EQ(id, CDeviceId(c.type, c.subtype, c.index)) << c.text;
    }
    const CDeviceId id(3, -1, -1);
    EXPECT_EQ(id.ToString(), QStringLiteral("#3#-1#-1#"));
    CDeviceId back;
    back.FromString(id.ToString());
    EXPECT_EQ(back, id);
}

TEST(DeviceIdTest, RandomTextsNeverReadPastTheirEnd) {
    // Run under the address sanitiser: every text is its own allocation of its own length.
    std::mt19937 random(43);
    const char alphabet[] = "#-0123456789 x+";
    for (int i = 0; i < 3000; ++i) {
        QString text;
        const int length = static_cast<int>(random() % 24);
        for (int j = 0; j < length; ++j)
            text.append(QLatin1Char(alphabet[random() % (sizeof(alphabet) - 1)]));
        CDeviceId id;
        id.FromString(text);
        if (text.count(QLatin1Char('#')) == 0) {
            EXPECT_EQ(id, CDeviceId()) << text.toStdString();
        }
    }
}

TEST(DeviceIdTest, DescriptorDefaultsAndCopies) {
    const CDeviceDescriptor plain;
    EXPECT_EQ(plain.m_model, QStringLiteral("no model"));
    EXPECT_EQ(plain.m_name, QStringLiteral("no name"));
    EXPECT_EQ(plain.m_driver, QStringLiteral("no driver"));
    const CDeviceDescriptor fromId(CDeviceId(1, 2, 3));
    EXPECT_TRUE(fromId.m_model.isEmpty());
    EXPECT_TRUE(fromId.m_name.isEmpty());
    CDeviceDescriptor copy;
    CDeviceDescriptor source(CDeviceId(4, 5, 6));
    source.m_flags = 9;
    source.m_name = QStringLiteral("A");
    copy = source;
    EXPECT_EQ(copy, CDeviceId(4, 5, 6));
    EXPECT_EQ(copy.m_flags, 9);
    EXPECT_EQ(copy.m_name, QStringLiteral("A"));
    EXPECT_TRUE(CDeviceId().IsNone());
}
