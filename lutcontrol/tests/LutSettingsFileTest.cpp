#include "lutcontrol/LutSettingsFile.h"

#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

class LutSettingsFileTest : public IsolatedTest {};

QByteArray Int32(int32_t v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
    return b;
}

QByteArray Double(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, 8);
    QByteArray b(8, '\0');
    for (int i = 0; i < 8; ++i)
        b[i] = static_cast<char>(bits >> (8 * i));
    return b;
}

// A set record built field by field, as the file format lays it out.
QByteArray SetRecord(int32_t label, const int32_t brightness[3], double gamma0, int32_t color2bw,
                     uint8_t blue, uint8_t green, uint8_t red) {
    QByteArray r;
    r += Int32(0);  // class tag
    r += Int32(0);  // reference count
    r += Int32(label);
    r += Int32(0);  // type
    r += Int32(0);  // reserved
    for (int c = 0; c < 3; ++c)
        r += Int32(brightness[c]);
    for (int c = 0; c < 3; ++c)
        r += Int32(0);  // contrast
    r += Int32(0);      // padding
    r += Double(gamma0);
    r += Double(1.0);
    r += Double(1.0);
    for (int c = 0; c < 6; ++c)
        r += Int32(0);  // exp/log, reverse
    r += Int32(color2bw);
    r += static_cast<char>(blue);
    r += static_cast<char>(green);
    r += static_cast<char>(red);
    r += '\0';
    return r;
}

TEST_F(LutSettingsFileTest, EncodesTheWholeFileFieldByField) {
    LutSettings settings;
    settings.colour.SetLabel(7);
    settings.colour.SetBrightness(0, 5);
    settings.colour.SetBrightness(1, -6);
    settings.colour.SetBrightness(2, 127);
    settings.colour.SetGamma(0, 2.5);
    settings.colour.SetRGBScale(10, 20, 30);
    settings.bw.SetColor2BW(1);
    settings.state.stateLinkGamma = 0;
    settings.state.callback = [](void*) -> LONG { return 0; };
    settings.state.context = &settings;

    const int32_t colourBrightness[3] = {5, -6, 127};
    const int32_t zero[3] = {0, 0, 0};
    QByteArray expected("LUTFILEv.1", 10);
    expected += '\0';
    // Blue, green, red in that order.
    expected += SetRecord(7, colourBrightness, 2.5, 0, 30, 20, 10);
    expected += SetRecord(0, zero, 1.0, 1, 255, 255, 255);
    for (int32_t flag : {1, 1, 1, 1, 1, 1, 0, 1, 0, 0})
        expected += Int32(flag);

    const QByteArray bytes = lut_settings::Encode(settings);
    ASSERT_EQ(bytes.size(), 259);
    EXPECT_EQ(bytes.toHex().toStdString(), expected.toHex().toStdString());

    LutSettings back;
    ASSERT_TRUE(lut_settings::Decode(bytes, &back));
    EXPECT_TRUE(back.colour.Equals(settings.colour));
    EXPECT_EQ(back.colour.Brightness(2), 127);
    EXPECT_EQ(back.bw.Color2BW(), 1);
    EXPECT_EQ(back.state.stateLinkGamma, 0);
}

TEST_F(LutSettingsFileTest, RefusesFilesWithoutTheFullMagicOrRecords) {
    const QByteArray good = lut_settings::Encode(LutSettings());
    QByteArray noZero = good;
    noZero[10] = 'x';
    QByteArray otherMagic = good;
    otherMagic[9] = '2';
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"magic without its zero byte", noZero},
        {"another version", otherMagic},
        {"magic only", good.left(11)},
        {"one byte short", good.left(258)},
        {"empty", QByteArray()},
    };
    for (const auto& c : cases) {
        LutSettings settings;
        EXPECT_FALSE(lut_settings::Decode(c.bytes, &settings)) << c.name;
    }
}

TEST_F(LutSettingsFileTest, HostileValuesAreClampedAsTypedOnesAre) {
    LutSettings hostile;
    hostile.colour.SetBrightness(0, std::numeric_limits<LONG>::max());
    hostile.colour.SetContrast(1, std::numeric_limits<LONG>::min());
    hostile.colour.SetExpLog(2, 500);
    hostile.colour.SetGamma(0, std::numeric_limits<double>::quiet_NaN());
    hostile.colour.SetGamma(1, std::numeric_limits<double>::infinity());
    hostile.colour.SetGamma(2, -3.0);
    hostile.bw.SetGamma(0, 0.2);
    hostile.bw.SetBrightness(0, -129);

    LutSettings loaded;
    ASSERT_TRUE(lut_settings::Decode(lut_settings::Encode(hostile), &loaded));
    EXPECT_EQ(loaded.colour.Brightness(0), 127);
    EXPECT_EQ(loaded.colour.Contrast(1), -128);
    EXPECT_EQ(loaded.colour.ExpLog(2), 127);
    EXPECT_EQ(loaded.colour.Gamma(0), 1.0);
    EXPECT_EQ(loaded.colour.Gamma(1), 5.0);
    EXPECT_EQ(loaded.colour.Gamma(2), 1.0);
    EXPECT_EQ(loaded.bw.Gamma(0), 1.0);
    EXPECT_EQ(loaded.bw.Brightness(0), -128);
}

TEST_F(LutSettingsFileTest, LoadedStateTakesTheCurrentModeAndUnlinksUnequalChannels) {
    LutEditState current;
    current.stateColor = 0;
    current.stateLinkContrast = 0;
    current.callback = [](void*) -> LONG { return 3; };

    CLutParamSet colour;
    colour.SetBrightness(1, 4);       // brightness differs: unlinked
    colour.SetGamma(2, 1.0 + 1e-12);  // gamma compared exactly: unlinked
    // Contrast is equal but was unlinked: it stays unlinked; exp/log equal and linked stays.
    const LutEditState state = lut_settings::RewriteLoadedState(colour, current);
    EXPECT_EQ(state.stateColor, 0);
    EXPECT_EQ(state.stateRedChan, 0);
    EXPECT_EQ(state.stateGreenChan, 0);
    EXPECT_EQ(state.stateBlueChan, 0);
    EXPECT_EQ(state.stateLinkBright, 0);
    EXPECT_EQ(state.stateLinkContrast, 0);
    EXPECT_EQ(state.stateLinkGamma, 0);
    EXPECT_EQ(state.stateLinkExpLog, 1);
    EXPECT_EQ(state.callback, current.callback);

    current.stateColor = 1;
    const LutEditState colourMode = lut_settings::RewriteLoadedState(CLutParamSet(), current);
    EXPECT_EQ(colourMode.stateRedChan, 1);
    EXPECT_EQ(colourMode.stateLinkBright, 1);
}

TEST_F(LutSettingsFileTest, WritesThroughATemporaryFileAndKeepsTheOldOneOnFailure) {
    const QString path = WorkPath("a.lut");
    LutSettings settings;
    settings.colour.SetBrightness(0, 9);
    ASSERT_TRUE(lut_settings::Write(path, settings));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), lut_settings::Encode(settings));
    file.close();
    EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files), QStringList{"a.lut"});

    EXPECT_FALSE(lut_settings::Write(WorkPath("missing/folder/b.lut"), settings));
    LutSettings read;
    EXPECT_FALSE(lut_settings::Read(WorkPath("none.lut"), &read));
    ASSERT_TRUE(lut_settings::Read(path, &read));
    EXPECT_EQ(read.colour.Brightness(0), 9);
}

}  // namespace
