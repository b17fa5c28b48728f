#include "tracking/records/CalibrationData.h"
#include "tracking/records/FeatureStyle.h"
#include "tracking/records/TrackFeature.h"
#include "tracking/records/TrackPoint.h"
#include "tracking/records/TrackRegion.h"
#include "tracking/records/TrackSample.h"
#include "tracking/sectioned/LittleEndian.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

namespace {

template <class R>
std::array<uint8_t, R::kRecordSize> Image(const R& record) {
    std::array<uint8_t, R::kRecordSize> bytes{};
    bytes.fill(0xCC);  // Shows any byte the record fails to write.
    record.StoreRecord(bytes);
    return bytes;
}

template <class R>
R FromImage(const std::array<uint8_t, R::kRecordSize>& bytes) {
    R record;
    record.LoadRecord(bytes);
    return record;
}

// A record whose image has one int32 changed at offset, as a file written elsewhere may hold.
template <class R>
R WithWord(const R& record, size_t offset, int32_t value) {
    auto bytes = Image(record);
    PutInt32(bytes.data() + offset, value);
    return FromImage<R>(bytes);
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(TrackRecords, DefaultsOfEveryRecord) {
    double x = -1;
    double y = -1;
    LONG word = -1;
    CTrackPoint point;
    point.GetPosition(&x, &y);
    point.GetWord4(&word);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    EXPECT_EQ(word, 0);

    CFeatureStyle style;
    COLORREF colour = 0;
    LONG width = 0;
    LONG size = 0;
    LONG style8 = 0;
    QString font;
    style.GetColour(&colour);
    style.GetWidth(&width);
    style.GetFontSize(&size);
    style.GetStyle8(&style8);
    style.GetFontName(&font);
    EXPECT_EQ(colour, 255u);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(size, 16);
    EXPECT_EQ(style8, 1);
    EXPECT_EQ(font, QString("Arial"));
    style.GetTextColour(&colour);
    EXPECT_EQ(colour, 255u);

    CTrackFeature feature;
    BYTE flag2 = 0;
    LONG linkA = 0;
    LONG linkB = 0;
    feature.GetFlag2(&flag2);
    feature.GetLinkA(&linkA);
    feature.GetLinkB(&linkB);
    EXPECT_EQ(flag2, 1);
    EXPECT_EQ(linkA, -1);
    EXPECT_EQ(linkB, -1);

    CCalibrationData calibration;
    double distance = 0;
    int units = 0;
    calibration.GetDistance(&distance);
    calibration.GetUnits(&units);
    EXPECT_EQ(distance, 1.0);
    EXPECT_EQ(units, -1);
    const std::pair<std::function<HRESULT(double*, double*)>, std::pair<double, double>> points[] =
        {{[&](double* a, double* b) { return calibration.GetOrigin(a, b); }, {0, 0}},
         {[&](double* a, double* b) { return calibration.GetPositiveX(a, b); }, {200, 0}},
         {[&](double* a, double* b) { return calibration.GetFirstPoint(a, b); }, {0, 0}},
         {[&](double* a, double* b) { return calibration.GetSecondPoint(a, b); }, {0, 1}}};
    for (const auto& [get, expected] : points) {
        EXPECT_EQ(get(&x, &y), S_OK);
        EXPECT_EQ(x, expected.first);
        EXPECT_EQ(y, expected.second);
    }
    // PositiveY has no accessor; its default shows in the record image.
    const auto image = Image(calibration);
    EXPECT_EQ(GetInt32(image.data() + 84), 0);
    EXPECT_EQ(GetInt32(image.data() + 88), 200);
}

TEST(TrackRecords, GettersIgnoreNullOutPointers) {
    EXPECT_EQ(CTrackPoint().GetPosition(nullptr, nullptr), S_OK);
    EXPECT_EQ(CTrackRegion().GetRect(nullptr, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(CFeatureStyle().GetFontName(nullptr), S_OK);
    EXPECT_EQ(CTrackFeature().GetName(nullptr), S_OK);
    EXPECT_EQ(CTrackSample().GetFlag5(nullptr), S_OK);
    EXPECT_EQ(CCalibrationData().GetTilt(nullptr), S_OK);
    EXPECT_EQ(CCalibrationData().GetUnitName(2, nullptr, TRUE), S_OK);
}

TEST(TrackRecords, PositionsTruncateTowardZeroAndSaturate) {
    struct Case {
        double in;
        double out;
    };
    const Case cases[] = {{10.9, 10},
                          {-3.7, -3},
                          {0.999, 0},
                          {kNaN, 0},
                          {1e12, 2147483647.0},
                          {-1e12, -2147483648.0},
                          {-2147483648.0, -2147483648.0}};
    for (const auto& c : cases) {
        CTrackPoint point;
        point.SetPosition(c.in, c.in);
        double x = 1;
        double y = 1;
        point.GetPosition(&x, &y);
        EXPECT_EQ(x, c.out) << c.in;
        EXPECT_EQ(y, c.out) << c.in;
        CTrackRegion region;
        region.SetRect(c.in, 0, 0, c.in);
        double l = 1;
        double b = 1;
        region.GetRect(&l, nullptr, nullptr, &b);
        EXPECT_EQ(l, c.out) << c.in;
        EXPECT_EQ(b, c.out) << c.in;
    }
}

TEST(TrackRecords, EqualityFollowsEachRecordsRules) {
    struct Case {
        const char* name;
        std::function<bool()> equal;
        bool expected;
    };
    const CTrackPoint point;
    const CTrackRegion region;
    const CFeatureStyle style;
    const CTrackFeature feature;
    const CTrackSample sample;
    const CCalibrationData calibration;
    auto changed = [](auto record, auto change) {
        change(record);
        return record;
    };
    const Case cases[] = {
        {"point word3", [&] { return point == changed(point, [](auto& r) { r.SetWord3(1); }); },
         false},
        {"point type word", [&] { return point == WithWord(point, 0, 77); }, true},
        {"region right side",
         [&] { return region == changed(region, [](auto& r) { r.SetRect(0, 0, 1, 0); }); }, false},
        {"region value11",
         [&] { return region == changed(region, [](auto& r) { r.SetValue11(2); }); }, false},
        {"style font name",
         [&] { return style == changed(style, [](auto& r) { r.SetFontName("arial"); }); }, false},
        {"style10", [&] { return style == changed(style, [](auto& r) { r.SetStyle10(1); }); },
         false},
        {"feature name, trailing blanks",
         [&] {
             return changed(feature, [](auto& r) { r.SetName("Ball"); }) ==
                    changed(feature, [](auto& r) { r.SetName("Ball \t "); });
         },
         true},
        {"feature name, case",
         [&] {
             return changed(feature, [](auto& r) { r.SetName("Ball"); }) ==
                    changed(feature, [](auto& r) { r.SetName("ball"); });
         },
         false},
        {"feature param3 (no accessor)", [&] { return feature == WithWord(feature, 16, 5); },
         false},
        {"feature spare", [&] { return feature == WithWord(feature, 24, 5); }, true},
        {"feature extra bytes", [&] { return feature == WithWord(feature, 300, 5); }, true},
        {"feature linkB",
         [&] { return feature == changed(feature, [](auto& r) { r.SetLinkB(0); }); }, false},
        {"sample value7",
         [&] { return sample == changed(sample, [](auto& r) { r.SetValue7(1e-9); }); }, false},
        {"sample flag6", [&] { return sample == changed(sample, [](auto& r) { r.SetFlag6(1); }); },
         false},
        {"sample NaN equals nothing, not even itself",
         [&] {
             const auto nan = changed(sample, [](auto& r) { r.SetValue2(kNaN); });
             return nan == nan;
         },
         false},
        {"calibration type",
         [&] { return calibration == changed(calibration, [](auto& r) { r.SetType(1); }); }, true},
        {"calibration coord nature",
         [&] { return calibration == changed(calibration, [](auto& r) { r.SetCoordNature(1); }); },
         true},
        {"calibration positive Y", [&] { return calibration == WithWord(calibration, 84, 9); },
         true},
        {"calibration units",
         [&] { return calibration == changed(calibration, [](auto& r) { r.SetUnits(3); }); },
         false},
        {"calibration distance",
         [&] { return calibration == changed(calibration, [](auto& r) { r.SetDistance(2); }); },
         false},
        {"calibration NaN distance",
         [&] {
             const auto nan = changed(calibration, [](auto& r) { r.SetDistance(kNaN); });
             return nan == nan;
         },
         false},
        {"calibration origin",
         [&] { return calibration == changed(calibration, [](auto& r) { r.SetOrigin(1, 0); }); },
         false},
        {"calibration second point word",
         [&] { return calibration == WithWord(calibration, 152, 2); }, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.equal(), c.expected) << c.name;
}

TEST(TrackRecords, CopyFromCopiesTheAccessibleFields) {
    CTrackPoint point;
    point.SetPosition(-4, 9);
    point.SetWord1(2);
    point.SetWord4(-8);
    CTrackPoint pointCopy;
    EXPECT_EQ(pointCopy.CopyFrom(point), S_OK);
    EXPECT_EQ(pointCopy, point);

    CTrackRegion region;
    region.SetRect(1, 2, 30, 40);
    region.SetValue7(2);
    region.SetValue11(-1);
    CTrackRegion regionCopy;
    regionCopy.CopyFrom(region);
    EXPECT_EQ(regionCopy, region);

    CFeatureStyle style;
    style.SetStyle1(3);
    style.SetColour(0x00FF00);
    style.SetFontName("Courier New");
    style.SetStyle9(4);
    CFeatureStyle styleCopy;
    styleCopy.CopyFrom(style);
    EXPECT_EQ(styleCopy, style);

    CTrackSample sample;
    sample.SetEnabled(1);
    sample.SetValue1(0.25);
    sample.SetValue7(1e-3);
    sample.SetCount(12);
    sample.SetFlag3(1);
    sample.SetFlag5(1);
    CTrackSample sampleCopy;
    sampleCopy.CopyFrom(sample);
    EXPECT_EQ(sampleCopy, sample);
    EXPECT_EQ(Image(sampleCopy), Image(sample));

    // Param3, the spares and the extra bytes have no accessor: the target keeps its own.
    CTrackFeature feature = WithWord(CTrackFeature(), 16, 3);
    feature.SetName("Wheel");
    feature.SetFlag1(1);
    feature.SetFlag2(0);
    feature.SetParam6(1);
    feature.SetLinkA(12);
    CTrackFeature featureCopy = WithWord(WithWord(CTrackFeature(), 16, 7), 300, 5);
    featureCopy.CopyFrom(feature);
    QString name;
    featureCopy.GetName(&name);
    EXPECT_EQ(name, QString("Wheel"));
    EXPECT_EQ(GetInt32(Image(featureCopy).data() + 16), 7);
    EXPECT_EQ(GetInt32(Image(featureCopy).data() + 300), 5);
    EXPECT_FALSE(featureCopy == feature);  // Param3 differs.
    EXPECT_EQ(WithWord(featureCopy, 16, 3), feature);

    // PositiveY is not copied.
    CCalibrationData calibration = WithWord(CCalibrationData(), 88, 55);
    calibration.SetDistance(2.5);
    calibration.SetUnits(3);
    calibration.SetType(1);
    calibration.SetCoordNature(1);
    calibration.SetOrigin(5, 6);
    calibration.SetPositiveX(105, 6);
    calibration.SetFirstPoint(1, 2);
    calibration.SetSecondPoint(31, 42);
    CCalibrationData calibrationCopy;
    calibrationCopy.CopyFrom(calibration);
    EXPECT_EQ(calibrationCopy, calibration);
    int type = 0;
    int nature = 0;
    calibrationCopy.GetType(&type);
    calibrationCopy.GetCoordNature(&nature);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(nature, 1);
    EXPECT_EQ(GetInt32(Image(calibrationCopy).data() + 88), 200);
}

TEST(TrackRecords, RecordImagesHoldFieldsAtFixedOffsets) {
    CTrackPoint point;
    point.SetPosition(0x11, 0x22);
    point.SetWord1(0x33);
    point.SetWord4(0x66);
    CTrackRegion region;
    region.SetRect(1, 2, 3, 4);
    region.SetValue1(0x51);
    region.SetValue11(0x5B);
    CFeatureStyle style;
    style.SetStyle3(0x13);
    style.SetStyle4(0x14);
    style.SetStyle10(0x1A);
    style.SetTextColour(0x123456);
    CTrackFeature feature;
    feature.SetFlag1(1);
    feature.SetParam1(0x71);
    feature.SetParam5(0x75);
    feature.SetFlag3(1);
    feature.SetName("AB");
    CTrackSample sample;
    sample.SetEnabled(1);
    sample.SetCount(0x44);
    sample.SetFlag4(1);
    sample.SetFlag5(1);
    CCalibrationData calibration;
    calibration.SetUnits(4);
    calibration.SetCoordNature(1);
    calibration.SetSecondPoint(9, 10);

    struct Field {
        const char* name;
        std::function<int64_t()> read;
        int64_t expected;
    };
    const auto pi = Image(point);
    const auto ri = Image(region);
    const auto si = Image(style);
    const auto fi = Image(feature);
    const auto ti = Image(sample);
    const auto ci = Image(calibration);
    const Field fields[] = {
        {"point X", [&] { return GetInt32(&pi[4]); }, 0x11},
        {"point Y", [&] { return GetInt32(&pi[8]); }, 0x22},
        {"point Word1", [&] { return GetInt32(&pi[12]); }, 0x33},
        {"point Word4", [&] { return GetInt32(&pi[24]); }, 0x66},
        {"region bottom", [&] { return GetInt32(&ri[16]); }, 4},
        {"region Value1", [&] { return GetInt32(&ri[20]); }, 0x51},
        {"region Value11", [&] { return GetInt32(&ri[60]); }, 0x5B},
        {"style Style3", [&] { return GetInt32(&si[12]); }, 0x13},
        {"style Colour", [&] { return GetInt32(&si[16]); }, 255},
        {"style Width", [&] { return GetInt32(&si[20]); }, 2},
        {"style Style4", [&] { return GetInt32(&si[24]); }, 0x14},
        {"style font byte 0", [&] { return si[40]; }, 'A'},
        {"style font zero byte", [&] { return si[45]; }, 0},
        {"style font tail", [&] { return si[119]; }, 0},
        {"style TextColour", [&] { return GetInt32(&si[120]); }, 0x123456},
        {"style FontSize", [&] { return GetInt32(&si[124]); }, 16},
        {"style Style8", [&] { return GetInt32(&si[128]); }, 1},
        {"style Style10", [&] { return GetInt32(&si[136]); }, 0x1A},
        {"feature Flag1", [&] { return GetInt32(&fi[4]); }, 1},
        {"feature Param1", [&] { return GetInt32(&fi[8]); }, 0x71},
        {"feature Param5", [&] { return GetInt32(&fi[32]); }, 0x75},
        {"feature Flag2", [&] { return GetInt32(&fi[44]); }, 1},
        {"feature Flag3", [&] { return GetInt32(&fi[48]); }, 1},
        {"feature LinkA", [&] { return GetInt32(&fi[52]); }, -1},
        {"feature name word 1", [&] { return GetInt32(&fi[64]); }, 'B'},
        {"feature name word 2", [&] { return GetInt32(&fi[68]); }, 0},
        {"feature reserved tail", [&] { return GetInt32(&fi[412]); }, 0},
        {"sample Enabled", [&] { return ti[4]; }, 1},
        {"sample Count", [&] { return GetInt32(&ti[40]); }, 0x44},
        {"sample Flag4", [&] { return ti[66]; }, 1},
        {"sample Flag5", [&] { return ti[80]; }, 1},
        {"sample Flag6", [&] { return ti[81]; }, 0},
        {"sample reserved tail", [&] { return GetInt32(&ti[204]); }, 0},
        {"calibration Units", [&] { return GetInt32(&ci[16]); }, 4},
        {"calibration PositiveX.X", [&] { return GetInt32(&ci[56]); }, 200},
        {"calibration SecondPoint.X", [&] { return GetInt32(&ci[140]); }, 9},
        {"calibration SecondPoint.Y", [&] { return GetInt32(&ci[144]); }, 10},
        {"calibration CoordNature", [&] { return GetInt32(&ci[164]); }, 1},
    };
    for (const auto& f : fields)
        EXPECT_EQ(f.read(), f.expected) << f.name;
    EXPECT_EQ(GetDouble(&ci[8]), 1.0);

    // Every record and every embedded point starts with a non-zero type word.
    for (uint32_t word : {GetUInt32(&pi[0]), GetUInt32(&ri[0]), GetUInt32(&si[0]),
                          GetUInt32(&fi[0]), GetUInt32(&ti[0]), GetUInt32(&ci[0])})
        EXPECT_NE(word, 0u);
    for (size_t offset : {24, 52, 80, 108, 136})
        EXPECT_EQ(GetUInt32(&ci[offset]), GetUInt32(&pi[0])) << offset;
}

TEST(TrackRecords, ImagesRoundTripAndTypeWordsAreIgnored) {
    CTrackSample sample;
    sample.SetValue3(-2.5);
    sample.SetValue6(std::numbers::pi);
    sample.SetFlag1(1);
    CCalibrationData calibration = WithWord(CCalibrationData(), 88, 17);
    calibration.SetDistance(0.125);
    calibration.SetType(2);
    CTrackFeature feature;
    feature.SetName("Marker 7");
    CFeatureStyle style;
    style.SetFontName(QString::fromUtf8("Schrift \xC3\xA4"));

    auto roundTrips = [](const auto& record) {
        using R = std::decay_t<decltype(record)>;
        auto bytes = Image(record);
        const R back = FromImage<R>(bytes);
        PutUInt32(bytes.data(), 0);  // A reader ignores type words.
        const R noType = FromImage<R>(bytes);
        return Image(back) == Image(record) && Image(noType) == Image(record);
    };
    EXPECT_TRUE(roundTrips(CTrackPoint()));
    EXPECT_TRUE(roundTrips(CTrackRegion()));
    EXPECT_TRUE(roundTrips(style));
    EXPECT_TRUE(roundTrips(feature));
    EXPECT_TRUE(roundTrips(sample));
    EXPECT_TRUE(roundTrips(calibration));
}

TEST(TrackRecords, ScaleAndTiltOfTheCalibration) {
    struct Case {
        const char* name;
        double distance;
        std::pair<int, int> first, second, origin, positiveX;
        double scale;
        HRESULT result;
        double tilt;
    };
    const double pi = std::numbers::pi;
    const Case cases[] = {
        {"default", 1.0, {0, 0}, {0, 1}, {0, 0}, {200, 0}, 1.0, S_OK, 0.0},
        {"3-4-5 over 2", 2.0, {0, 0}, {3, 4}, {10, 10}, {10, 0}, 2.5, S_OK, pi / 2},
        {"distance 0", 0.0, {0, 0}, {3, 4}, {10, 10}, {0, 10}, 1.0, E_FAIL, pi},
        {"negative distance", -4.0, {0, 0}, {3, 4}, {10, 10}, {10, 20}, 1.0, E_FAIL, -pi / 2},
        {"NaN distance", kNaN, {0, 0}, {3, 4}, {0, 0}, {1, -1}, 1.0, E_FAIL, pi / 4},
        {"extreme points",
         1.0,
         {-2147483647, 0},
         {2147483647, 0},
         {-2147483647, 0},
         {2147483647, 0},
         4294967294.0,
         S_OK,
         0.0},
    };
    for (const auto& c : cases) {
        CCalibrationData cal;
        cal.SetDistance(c.distance);
        cal.SetFirstPoint(c.first.first, c.first.second);
        cal.SetSecondPoint(c.second.first, c.second.second);
        cal.SetOrigin(c.origin.first, c.origin.second);
        cal.SetPositiveX(c.positiveX.first, c.positiveX.second);
        double scale = 0;
        double tilt = 9;
        EXPECT_EQ(cal.GetPixelsPerUnit(&scale), c.result) << c.name;
        EXPECT_DOUBLE_EQ(scale, c.scale) << c.name;
        EXPECT_EQ(cal.GetTilt(&tilt), S_OK) << c.name;
        EXPECT_NEAR(tilt, c.tilt, 1e-12) << c.name;
    }
}

TEST(TrackRecords, UnitNamesShortAndLong) {
    struct Case {
        int units;
        const char* shortName;
        const char* longName;
    };
    const Case cases[] = {
        {-1, "pixels", "Pixels"}, {0, "ft", "Feet"},       {1, "in", "Inches"}, {2, "m", "Meters"},
        {3, "mm", "Millimeter"},  {4, "cm", "Centimeter"}, {5, "", ""},         {-2, "", ""}};
    CCalibrationData cal;
    for (const auto& c : cases) {
        QString name = "x";
        EXPECT_EQ(cal.GetUnitName(c.units, &name, FALSE), S_OK);
        EXPECT_EQ(name, QString(c.shortName)) << c.units;
        cal.GetUnitName(c.units, &name, TRUE);
        EXPECT_EQ(name, QString(c.longName)) << c.units;
    }
}

TEST(TrackRecords, NamesAreCutAndTrimmed) {
    struct Case {
        QString in;
        QString out;
    };
    const Case cases[] = {
        {QString(40, 'n'), QString(35, 'n')},
        {"Ball  \t", "Ball"},
        {" lead", " lead"},
        {QString::fromUtf8("Kn\xC3\xB6tchen"), QString::fromUtf8("Kn\xC3\xB6tchen")},
        {QString(34, 'a') + "  b", QString(34, 'a')},
    };
    for (const auto& c : cases) {
        CTrackFeature feature;
        feature.SetName(c.in);
        QString name;
        feature.GetName(&name);
        EXPECT_EQ(name, c.out) << c.in.toStdString();
    }

    CFeatureStyle style;
    style.SetFontName(QString(90, 'f'));
    QString font;
    style.GetFontName(&font);
    EXPECT_EQ(font, QString(79, 'f'));
    // A stored font name without its zero byte still ends inside the field.
    auto bytes = Image(CFeatureStyle());
    std::fill(bytes.begin() + 40, bytes.begin() + 120, uint8_t{'g'});
    FromImage<CFeatureStyle>(bytes).GetFontName(&font);
    EXPECT_EQ(font, QString(79, 'g'));
}

TEST(TrackRecords, FlagsReadBackOnlyTheirOwnValue) {
    CTrackSample sample;
    sample.SetFlag6(1);
    BOOL flag5 = 7;
    sample.GetFlag5(&flag5);
    EXPECT_EQ(flag5, 0);

    // A flag word that does not fit a byte still reads as set.
    const CTrackFeature feature = WithWord(CTrackFeature(), 48, 0x100);
    BYTE flag3 = 0;
    feature.GetFlag3(&flag3);
    EXPECT_NE(flag3, 0);
}
