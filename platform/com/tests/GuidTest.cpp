#include "platform/com/Guid.h"

#include <gtest/gtest.h>

namespace {

constexpr GUID kSample = GuidLiteral("{39E67147-0012-4E2B-8C89-1DBB393F54FB}");

TEST(GuidTest, LiteralSplitsFieldsAsWritten) {
    EXPECT_EQ(kSample.Data1, 0x39E67147u);
    EXPECT_EQ(kSample.Data2, 0x0012u);
    EXPECT_EQ(kSample.Data3, 0x4E2Bu);
    const uint8_t data4[8] = {0x8C, 0x89, 0x1D, 0xBB, 0x39, 0x3F, 0x54, 0xFB};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(kSample.Data4[i], data4[i]) << i;
}

TEST(GuidTest, TextRoundTripsInUpperCase) {
    struct Case {
        const char* text;
        const char* printed;
    };
    const Case cases[] = {
        {"{39E67147-0012-4E2B-8C89-1DBB393F54FB}", "{39E67147-0012-4E2B-8C89-1DBB393F54FB}"},
        {"{ce368290-b189-487e-a841-8d79013351ce}", "{CE368290-B189-487E-A841-8D79013351CE}"},
        {"{00000000-0000-0000-0000-000000000000}", "{00000000-0000-0000-0000-000000000000}"},
        {"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}", "{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"},
        {"{00020400-0000-0000-C000-000000000046}", "{00020400-0000-0000-C000-000000000046}"},
    };
    for (const Case& c : cases) {
        GUID guid;
        ASSERT_TRUE(GUIDFromString(QString::fromLatin1(c.text), &guid)) << c.text;
        EXPECT_EQ(StringFromGUID(guid), QString::fromLatin1(c.printed));
        GUID again;
        ASSERT_TRUE(GUIDFromString(StringFromGUID(guid), &again));
        EXPECT_EQ(again, guid) << c.text;
    }
    EXPECT_EQ(StringFromGUID(GUID_NULL), QStringLiteral("{00000000-0000-0000-0000-000000000000}"));
}

TEST(GuidTest, MalformedTextIsRejectedAndLeavesOutputAlone) {
    const char* cases[] = {
        "",
        "{}",
        "39E67147-0012-4E2B-8C89-1DBB393F54FB",     // no braces
        "{39E67147-0012-4E2B-8C89-1DBB393F54FB",    // no closing brace
        "39E67147-0012-4E2B-8C89-1DBB393F54FB}",    // no opening brace
        "(39E67147-0012-4E2B-8C89-1DBB393F54FB)",   // wrong brackets
        "{39E67147-0012-4E2B-8C89-1DBB393F54F}",    // one digit short
        "{39E67147-0012-4E2B-8C89-1DBB393F54FB0}",  // one digit more
        "{39E6714-70012-4E2B-8C89-1DBB393F54FB}",   // hyphen misplaced
        "{39E67147_0012-4E2B-8C89-1DBB393F54FB}",   // wrong separator
        "{39E67147-0012-4E2B-8C891DBB393F54FB0}",   // missing hyphen
        "{39E6714G-0012-4E2B-8C89-1DBB393F54FB}",   // not hex
        "{39E67147-0012-4E2B-8C89-1DBB393F54F }",   // blank
        "{+9E67147-0012-4E2B-8C89-1DBB393F54FB}",   // sign
        " {39E67147-0012-4E2B-8C89-1DBB393F54FB}",  // leading blank
        "{39E67147-0012-4E2B-8C89-1DBB393F54FB} ",  // trailing blank
    };
    for (const char* text : cases) {
        GUID guid = kSample;
        EXPECT_FALSE(GUIDFromString(QString::fromLatin1(text), &guid)) << '"' << text << '"';
        EXPECT_EQ(guid, kSample) << text;
        CLSID clsid = kSample;
        EXPECT_EQ(CLSIDFromString(QString::fromLatin1(text), &clsid), CO_E_CLASSSTRING) << text;
        EXPECT_EQ(clsid, kSample);
    }
    // Digits outside Latin-1 are no hex digits either.
    GUID guid;
    EXPECT_FALSE(
        GUIDFromString(QStringLiteral("{39E67147-0012-4E2B-8C89-1DBB393F54F\u0661}"), &guid));
}

TEST(GuidTest, ClsidFromStringReportsMissingOutput) {
    CLSID clsid;
    EXPECT_EQ(CLSIDFromString(QStringLiteral("{39E67147-0012-4E2B-8C89-1DBB393F54FB}"), &clsid),
              S_OK);
    EXPECT_EQ(clsid, kSample);
    EXPECT_EQ(CLSIDFromString(QStringLiteral("{39E67147-0012-4E2B-8C89-1DBB393F54FB}"), nullptr),
              E_POINTER);
}

}  // namespace
