#include "platform/wintypes/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252Test, HighBytesRoundTrip) {
    QByteArray all;
    for (int b = 0x80; b <= 0xFF; ++b)
        all.append(static_cast<char>(b));
    const QString text = Cp1252ToUnicode(all);
    ASSERT_EQ(text.size(), all.size());
    EXPECT_EQ(UnicodeToCp1252(text), all);
}

TEST(Cp1252Test, KnownCharacters) {
    struct Case {
        unsigned char byte;
        char16_t unicode;
    };
    const Case cases[] = {{0xB0, u'\u00B0'}, {0x80, u'\u20AC'}, {0x96, u'\u2013'},
                          {0x41, u'A'},      {0xFF, u'\u00FF'}, {0x9F, u'\u0178'}};
    for (const auto& c : cases) {
        const QByteArray b(1, static_cast<char>(c.byte));
        EXPECT_EQ(Cp1252ToUnicode(b), QString(QChar(c.unicode))) << int(c.byte);
        EXPECT_EQ(UnicodeToCp1252(QString(QChar(c.unicode))), b) << int(c.byte);
    }
}

TEST(Cp1252Test, UnmappableBecomesQuestionMark) {
    EXPECT_EQ(UnicodeToCp1252(QString::fromUtf8("a\u4e2db")), QByteArray("a?b"));
}
