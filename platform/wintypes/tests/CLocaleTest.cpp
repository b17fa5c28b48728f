#include "platform/wintypes/CLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

// Runs the checks under a German locale, where the C library's own printf writes a comma.
class CLocaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::setlocale(LC_ALL, nullptr);
        m_old = old ? old : "C";
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
            << "the de_DE.UTF-8 locale is missing; test.sh generates it";
        char probe[32];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        ASSERT_STREQ(probe, "1,5");
    }
    void TearDown() override { std::setlocale(LC_ALL, m_old.c_str()); }

private:
    std::string m_old;
};

TEST_F(CLocaleTest, FormatsWithDecimalPoint) {
    struct Case {
        const char* format;
        double value;
        const char* expected;
    };
    const Case cases[] = {{"%.4g", 3.14159, "3.142"},
                          {"%.4g", 1234567.0, "1.235e+06"},
                          {"%8.6f", 2.5, "2.500000"},
                          {"%.2f", -0.125, "-0.12"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatC(c.format, c.value), c.expected) << c.format;
    EXPECT_EQ(QFormatC("%.4g mm", 0.5), QString("0.5 mm"));
}

TEST_F(CLocaleTest, LongOutputIsNotTruncated) {
    const std::string longText(1000, 'x');
    EXPECT_EQ(FormatC("%s%.1f", longText.c_str(), 1.5), longText + "1.5");
}

TEST_F(CLocaleTest, ParsesWithDecimalPoint) {
    float f = 0;
    EXPECT_EQ(ScanC("3.25", "%f", &f), 1);
    EXPECT_FLOAT_EQ(f, 3.25f);
    int i = 0;
    double d = 0;
    EXPECT_EQ(ScanC("7 0.5", "%d %lf", &i, &d), 2);
    EXPECT_EQ(i, 7);
    EXPECT_DOUBLE_EQ(d, 0.5);
}
