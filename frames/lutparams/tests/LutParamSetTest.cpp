#include "frames/lutparams/LutParamSet.h"

#include <gtest/gtest.h>

#include <cstring>

// Compiled once per build of the set (see CMakeLists.txt); build-specific cases are marked.

TEST(LutParamSetTest, ChannelAccessChecksChannelAndPointer) {
    CLutParamSet set;
    LONG value = 42;
    double gamma = 7.0;
    for (LONG channel : {-1, 3}) {
        EXPECT_EQ(set.GetBrightness(channel, &value), E_FAIL);
        EXPECT_EQ(set.SetContrast(channel, 5), E_FAIL);
        EXPECT_EQ(set.GetGamma(channel, &gamma), E_FAIL);
    }
    EXPECT_EQ(value, 42);
    EXPECT_EQ(gamma, 7.0);
    EXPECT_EQ(set.GetExpLog(1, nullptr), E_POINTER);
    EXPECT_EQ(set.GetLabel(nullptr), E_POINTER);
    EXPECT_EQ(set.GetRGBScale(&value, nullptr, &value), E_POINTER);
    EXPECT_EQ(set.GetNumberChannels(nullptr), E_POINTER);

    EXPECT_EQ(set.SetGamma(2, 2.5), S_OK);
    EXPECT_EQ(set.GetGamma(2, &gamma), S_OK);
    EXPECT_EQ(gamma, 2.5);
}

TEST(LutParamSetTest, ScalesClampAndDefaultsKeepLabel) {
    CLutParamSet set;
    set.SetRGBScale(300, -5, 128);
    LONG r = 0, g = 0, b = 0;
    set.GetRGBScale(&r, &g, &b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 128);

    set.SetLabel(7);
    set.SetType1(3);
    set.SetBrightness(0, 12);
    set.SetReverse(2, 1);
    set.SetColor2BW(1);
    set.SetDefaults();
    LONG label = 0, type = 0;
    set.GetLabel(&label);
    set.GetType1(&type);
    EXPECT_EQ(label, 7);
    EXPECT_EQ(type, 3);
    EXPECT_TRUE(set.Equals(CLutParamSet()));
    EXPECT_EQ(set.Color2BW(), 0);
    EXPECT_EQ(set.RedScale(), 255);
}

TEST(LutParamSetTest, EqualityIgnoresLabelTypeAndFlag) {
    CLutParamSet a;
    CLutParamSet b;
    b.SetLabel(9);
    b.SetType1(4);
    b.SetColor2BW(1);
    EXPECT_TRUE(a.Equals(b));
    BYTE equal = 0;
    EXPECT_EQ(a.IsEqualTo(&b, &equal), S_OK);
    EXPECT_EQ(equal, 1);

    struct Change {
        const char* what;
        void (*apply)(CLutParamSet&);
    };
    const Change changes[] = {
        {"brightness", [](CLutParamSet& s) { s.SetBrightness(2, 1); }},
        {"contrast", [](CLutParamSet& s) { s.SetContrast(1, -1); }},
        {"gamma", [](CLutParamSet& s) { s.SetGamma(0, 1.0000001); }},
        {"exp/log", [](CLutParamSet& s) { s.SetExpLog(2, 3); }},
        {"reverse", [](CLutParamSet& s) { s.SetReverse(0, 1); }},
        {"scale", [](CLutParamSet& s) { s.SetRGBScale(255, 254, 255); }},
    };
    for (const auto& change : changes) {
        CLutParamSet c;
        change.apply(c);
        EXPECT_FALSE(a.Equals(c)) << change.what;
        EXPECT_EQ(a.IsEqualTo(&c, &equal), S_OK);
        EXPECT_EQ(equal, 0) << change.what;
    }
    EXPECT_EQ(a.IsEqualTo(nullptr, &equal), E_POINTER);
    EXPECT_EQ(a.IsEqualTo(&b, nullptr), E_POINTER);
#if !RM_LUT_REFCOUNTED
    EXPECT_FALSE(a == b);  // the program's equality also looks at the colour-to-B&W flag
    b.SetColor2BW(0);
    EXPECT_TRUE(a == b);
#endif
}

TEST(LutParamSetTest, CopiesTakeEveryValue) {
    CLutParamSet source;
    source.SetLabel(5);
    source.SetType1(6);
    source.SetColor2BW(1);
    source.SetRGBScale(10, 20, 30);
    for (LONG c = 0; c < 3; ++c) {
        source.SetBrightness(c, 1 + c);
        source.SetContrast(c, -2 - c);
        source.SetGamma(c, 1.5 + c);
        source.SetExpLog(c, 7 * c);
        source.SetReverse(c, c % 2);
    }
    CLutParamSet viaCopyFrom;
    EXPECT_EQ(viaCopyFrom.CopyFrom(&source), S_OK);
    const CLutParamSet viaConstructor(source);
    CLutParamSet viaAssignment;
    viaAssignment = source;
    BYTE expected[CLutParamSet::kRecordBytes];
    source.WriteRecord(expected);
    for (const CLutParamSet* copy : std::initializer_list<const CLutParamSet*>{
             &viaCopyFrom, &viaConstructor, &viaAssignment}) {
        BYTE record[CLutParamSet::kRecordBytes];
        copy->WriteRecord(record);
        EXPECT_EQ(0, std::memcmp(record, expected, sizeof record));
    }
    EXPECT_EQ(viaCopyFrom.CopyFrom(nullptr), E_POINTER);
}

TEST(LutParamSetTest, RecordImage) {
    CLutParamSet set;
    set.SetLabel(0x01020304);
    set.SetType1(2);
    set.SetBrightness(0, -1);
    set.SetContrast(2, 0x11);
    set.SetGamma(1, 2.0);
    set.SetExpLog(2, 0x22);
    set.SetReverse(1, 1);
    set.SetColor2BW(1);
    set.SetRGBScale(3, 2, 1);
    BYTE record[CLutParamSet::kRecordBytes];
    set.WriteRecord(record);

#if RM_LUT_REFCOUNTED
    constexpr int kBase = 4;  // the reference count sits before the label
    constexpr int kGamma = 48;
#else
    constexpr int kBase = 0;
    constexpr int kGamma = 40;
#endif
    static_assert(CLutParamSet::kRecordBytes == (RM_LUT_REFCOUNTED ? 104 : 96));
    EXPECT_EQ(record[kBase + 4], 0x04);  // label, little-endian
    EXPECT_EQ(record[kBase + 7], 0x01);
    EXPECT_EQ(record[kBase + 8], 2);      // type
    EXPECT_EQ(record[kBase + 16], 0xFF);  // brightness 0 = -1
    EXPECT_EQ(record[kBase + 19], 0xFF);
    EXPECT_EQ(record[kBase + 28 + 8], 0x11);   // contrast 2
    EXPECT_EQ(record[kGamma + 8 + 7], 0x40);   // gamma 1 = 2.0: 0x4000...
    EXPECT_EQ(record[kGamma + 7], 0x3F);       // gamma 0 = 1.0: 0x3FF0...
    EXPECT_EQ(record[kGamma + 24 + 8], 0x22);  // exp/log 2
    EXPECT_EQ(record[kGamma + 36 + 4], 1);     // reverse 1
    EXPECT_EQ(record[kGamma + 48], 1);         // colour-to-B&W flag
    EXPECT_EQ(record[kGamma + 52], 1);         // blue scale
    EXPECT_EQ(record[kGamma + 53], 2);         // green
    EXPECT_EQ(record[kGamma + 54], 3);         // red
    EXPECT_EQ(kGamma + 56, CLutParamSet::kRecordBytes);

    CLutParamSet back;
    back.ReadRecord(record);
    BYTE again[CLutParamSet::kRecordBytes];
    back.WriteRecord(again);
    EXPECT_EQ(0, std::memcmp(record, again, sizeof record));
}

#if RM_LUT_REFCOUNTED
TEST(LutParamSetTest, CountedSetDeletesItselfAtZero) {
    auto* set = new CLutParamSet;
    EXPECT_EQ(set->AddRef(), 1);
    EXPECT_EQ(set->AddRef(), 2);
    EXPECT_EQ(set->Release(), 1);
    EXPECT_EQ(set->Release(), 0);  // deleted: the leak checker would report it otherwise
}
#else
TEST(LutParamSetTest, OwnedSetIgnoresCounting) {
    CLutParamSet set;
    EXPECT_EQ(set.AddRef(), 0);
    EXPECT_EQ(set.Release(), 0);
    EXPECT_EQ(set.Release(), 0);  // a member set survives any number of releases
    LONG label = -1;
    EXPECT_EQ(set.GetLabel(&label), S_OK);
}
#endif
