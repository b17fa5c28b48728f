#include "tracking/AnalysisSettings.h"

#include "platform/framework/IPrompter.h"
#include "platform/registry/Registry.h"
#include "testsupport/IsolatedTest.h"
#include "tracking/IPositionSource.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <random>

namespace {

// A picking tool and image size whose answers the test sets.
class FakeSources : public IPositionSource, public IImageSizeSource {
public:
    HRESULT Reset(int) override { return S_OK; }
    HRESULT Switch(int on) override {
        switched = on;
        return S_OK;
    }
    HRESULT IsActive(bool* active) override {
        *active = switched != 0;
        return S_OK;
    }
    HRESULT GetPickedPosition(double* x, double* y) override {
        *x = pickX;
        *y = pickY;
        return pickResult;
    }
    HRESULT GetDrawnRegion(double*, double*, double*, double*) override { return E_FAIL; }
    HRESULT GetSize(int* w, int* h) override {
        *w = width;
        *h = height;
        return sizeResult;
    }

    double pickX = 0;
    double pickY = 0;
    HRESULT pickResult = S_OK;
    int width = 640;
    int height = 480;
    HRESULT sizeResult = S_OK;
    int switched = -1;
};

struct Axes {
    int ox, oy, px, py, nature;
};

Axes AxesOf(CAnalysisSettings& settings) {
    CCalibrationData c;
    settings.GetCalibration(&c);
    double ox = 0, oy = 0, px = 0, py = 0;
    int nature = 0;
    c.GetOrigin(&ox, &oy);
    c.GetPositiveX(&px, &py);
    c.GetCoordNature(&nature);
    return {static_cast<int>(ox), static_cast<int>(oy), static_cast<int>(px), static_cast<int>(py),
            nature};
}

bool operator==(const Axes& a, const Axes& b) {
    return a.ox == b.ox && a.oy == b.oy && a.px == b.px && a.py == b.py && a.nature == b.nature;
}

CCalibrationData Scale(double distance, int units, int length) {
    CCalibrationData c;
    c.SetDistance(distance);
    c.SetUnits(units);
    c.SetFirstPoint(0, 0);
    c.SetSecondPoint(length, 0);
    return c;
}

class AnalysisSettingsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        settings.SetPositionSource(&sources);
        settings.SetSizeSource(&sources);
    }

    FakeSources sources;
    CAnalysisSettings settings;
};

}  // namespace

TEST_F(AnalysisSettingsTest, FromCalibratedUndoesToCalibratedForRandomCalibrations) {
    std::mt19937 random(37);
    std::uniform_int_distribution<int> coordinate(-2000, 2000);
    for (int round = 0; round < 200; ++round) {
        CCalibrationData c;
        c.SetOrigin(coordinate(random), coordinate(random));
        c.SetPositiveX(coordinate(random), coordinate(random));
        c.SetCoordNature(round % 2);
        ASSERT_EQ(settings.SetCalibration(&c), S_OK);
        const int x10 = coordinate(random) * 7;
        const int y10 = coordinate(random) * 7;
        double cx = 0, cy = 0, bx = 0, by = 0;
        ASSERT_EQ(settings.ToCalibrated(x10, y10, &cx, &cy), S_OK);
        ASSERT_EQ(settings.FromCalibrated(cx, cy, &bx, &by), S_OK);
        EXPECT_NEAR(bx, x10, 1e-6) << round;
        EXPECT_NEAR(by, y10, 1e-6) << round;
        const bool inside = bx >= 0 && by >= 0 && bx < 6400 && by < 4800;
        EXPECT_EQ(settings.FromCalibratedInImage(cx, cy, 640, 480, &bx, &by),
                  inside ? S_OK : E_FAIL);
    }
}

TEST_F(AnalysisSettingsTest, ToCalibratedTurnsByTheTiltAndFlipsY) {
    CCalibrationData c;
    c.SetOrigin(10, 20);
    c.SetPositiveX(10, 0);  // x axis straight up on screen
    ASSERT_EQ(settings.SetCalibration(&c), S_OK);
    double x = 0, y = 0;
    settings.ToCalibrated(100, 100, &x, &y);  // (10, 10): 10 pixels above the origin
    EXPECT_NEAR(x, 10.0, 1e-9);
    EXPECT_NEAR(y, 0.0, 1e-9);
    settings.FlipY();
    settings.ToCalibrated(200, 200, &x, &y);  // (20, 20): 10 to the right
    EXPECT_NEAR(x, 0.0, 1e-9);
    EXPECT_NEAR(y, -10.0, 1e-9);
}

TEST_F(AnalysisSettingsTest, UnitConversion) {
    struct Case {
        CCalibrationData calibration;
        int to;
        double value;
        HRESULT result;
        double expected;
    } cases[] = {
        {Scale(2.0, 2, 100), 2, 50, S_OK, 1.0},
        {Scale(2.0, 2, 100), 4, 50, S_OK, 100.0},
        {Scale(2.0, 2, 100), 0, 50, S_OK, 3.2808398950131235},
        {Scale(2.0, 3, 100), 2, 50, S_OK, 0.001},
        {Scale(2.0, -1, 100), 2, 50, E_FAIL, 50},
        {Scale(2.0, 2, 100), -1, 50, E_FAIL, 50},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(settings.SetCalibration(&c.calibration), S_OK);
        double out = -1;
        EXPECT_EQ(settings.PixelsToUnits(c.value, &out, c.to), c.result);
        EXPECT_NEAR(out, c.expected, 1e-12);
    }
    double out = -1;
    EXPECT_EQ(settings.ConvertUnits(5.0, &out, 0.0, 2, 2), E_FAIL);
    EXPECT_EQ(out, 5.0);
}

TEST_F(AnalysisSettingsTest, ADistanceOfNoLengthIsRefusedAndChangesNothing) {
    const CCalibrationData before = Scale(2.0, 2, 100);
    settings.SetCalibration(&before);
    for (double distance : {0.0, -1.0}) {
        CCalibrationData bad = Scale(distance, 3, 50);
        EXPECT_EQ(settings.SetCalibration(&bad), E_FAIL);
        CCalibrationData now;
        settings.GetCalibration(&now);
        EXPECT_TRUE(now == before);
    }
    EXPECT_EQ(settings.SetCalibration(nullptr), E_POINTER);
}

TEST_F(AnalysisSettingsTest, CommandsAtTheReticleAndTheCorners) {
    struct Case {
        const char* name;
        HRESULT (CAnalysisSettings::*command)();
        Axes expected;
    } cases[] = {
        {"upper right quadrant", &CAnalysisSettings::QuadrantUpperRight, {100, 50, 300, 50, 1}},
        {"upper left quadrant", &CAnalysisSettings::QuadrantUpperLeft, {100, 50, -100, 50, 0}},
        {"lower right quadrant", &CAnalysisSettings::QuadrantLowerRight, {100, 50, 300, 50, 0}},
        {"lower left quadrant", &CAnalysisSettings::QuadrantLowerLeft, {100, 50, -100, 50, 1}},
        {"upper left corner", &CAnalysisSettings::CornerUpperLeft, {0, 0, 200, 0, 0}},
        {"upper right corner", &CAnalysisSettings::CornerUpperRight, {639, 0, 439, 0, 1}},
        {"lower left corner", &CAnalysisSettings::CornerLowerLeft, {0, 479, 200, 479, 1}},
        {"lower right corner", &CAnalysisSettings::CornerLowerRight, {639, 479, 439, 479, 0}},
    };
    sources.pickX = 100.9;  // truncated toward zero
    sources.pickY = 50.2;
    for (const Case& c : cases) {
        EXPECT_EQ((settings.*c.command)(), S_OK) << c.name;
        EXPECT_TRUE(AxesOf(settings) == c.expected) << c.name;
    }
}

TEST_F(AnalysisSettingsTest, MoveOriginKeepsTheTiltAndSetOriginChangesIt) {
    CCalibrationData c;
    c.SetOrigin(10, 10);
    c.SetPositiveX(210, 10);
    settings.SetCalibration(&c);
    sources.pickX = 20;
    sources.pickY = 30;
    ASSERT_EQ(settings.MoveOrigin(), S_OK);
    EXPECT_TRUE(AxesOf(settings) == (Axes{20, 30, 220, 30, 0}));
    sources.pickX = 220;
    sources.pickY = 130;
    ASSERT_EQ(settings.SetOrigin(), S_OK);
    EXPECT_TRUE(AxesOf(settings) == (Axes{220, 130, 220, 30, 0}));
    settings.FlipY();
    settings.FlipY();
    EXPECT_EQ(AxesOf(settings).nature, 0);
}

TEST_F(AnalysisSettingsTest, FailingSourcesLeaveTheCalibrationUnchanged) {
    const Axes before = AxesOf(settings);
    sources.pickResult = E_FAIL;
    sources.sizeResult = E_FAIL;
    EXPECT_EQ(settings.SetFirstPoint(), E_FAIL);
    EXPECT_EQ(settings.QuadrantLowerLeft(), E_FAIL);
    EXPECT_EQ(settings.CornerLowerRight(), E_FAIL);
    CAnalysisSettings bare;
    EXPECT_EQ(bare.SetXDirection(), E_POINTER);
    EXPECT_EQ(bare.CornerUpperRight(), E_POINTER);
    EXPECT_EQ(bare.SwitchPositionSource(1), E_FAIL);
    EXPECT_TRUE(AxesOf(settings) == before);
    EXPECT_TRUE(AxesOf(bare) == before);
}

TEST_F(AnalysisSettingsTest, RegistryValuesInOrderInTheCLocaleAndBack) {
    EXPECT_EQ(settings.SaveToRegistry(), E_FAIL);
    EXPECT_EQ(settings.LoadFromRegistry(), E_FAIL);
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German));
    settings.SetRegistryBase(QStringLiteral("Software\\Tolvar\\Vidra OS"));
    CCalibrationData c = Scale(2.5, 3, 120);
    c.SetType(1);
    c.SetOrigin(-5, 7);
    c.SetPositiveX(195, 9);
    c.SetCoordNature(1);
    settings.SetCalibration(&c);
    ASSERT_EQ(settings.SaveToRegistry(), S_OK);
    QLocale::setDefault(previous);

    HKEY key = nullptr;
    ASSERT_EQ(
        RegOpenKeyEx(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Tolvar\\Vidra OS\\Analysis"), 0,
                     KEY_READ, &key),
        ERROR_SUCCESS);
    QStringList names;
    QString name;
    for (DWORD i = 0; RegEnumValue(key, i, &name, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i)
        names << name;
    EXPECT_EQ(names,
              (QStringList{"Distance", "Units", "Type", "Origin X", "Origin Y", "PositiveX X",
                           "PositiveX Y", "PositiveY X", "PositiveY Y", "Coord Nature",
                           "FirstPoint X", "FirstPoint Y", "SecondPoint X", "SecondPoint Y"}));
    QString distance;
    RegQueryString(key, QStringLiteral("Distance"), &distance);
    EXPECT_EQ(distance, QStringLiteral("2.500000"));
    DWORD word = 0;
    RegQueryDword(key, QStringLiteral("PositiveY Y"), &word);
    EXPECT_EQ(word, 200u);
    RegQueryDword(key, QStringLiteral("Origin X"), &word);
    EXPECT_EQ(static_cast<int32_t>(word), -5);
    RegCloseKey(key);

    CAnalysisSettings other;
    other.SetRegistryBase(QStringLiteral("Software\\Tolvar\\Vidra OS"));
    ASSERT_EQ(other.LoadFromRegistry(), S_OK);
    CCalibrationData loaded;
    other.GetCalibration(&loaded);
    EXPECT_TRUE(loaded == c);
    int type = 0;
    loaded.GetType(&type);
    EXPECT_EQ(type, 1);
    EXPECT_TRUE(AxesOf(other) == AxesOf(settings));
}

TEST_F(AnalysisSettingsTest, CalibrationFileRoundTripAndFailures) {
    CCalibrationData c = Scale(3.0, 4, 90);
    c.SetOrigin(12, 34);
    c.SetPositiveX(56, 78);
    settings.SetCalibration(&c);
    const QString path = WorkPath(QStringLiteral("cal.cal"));
    Prompter().ExpectMessageBox(QStringLiteral("Calibration saved successfully to file."), IDOK);
    ASSERT_EQ(settings.SaveToFile(path), S_OK);
    EXPECT_EQ(Prompter().Prompts().back().caption, QStringLiteral("Write Success"));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".saving")));

    CAnalysisSettings other;
    ASSERT_EQ(other.LoadFromFile(path), S_OK);
    CCalibrationData loaded;
    other.GetCalibration(&loaded);
    EXPECT_TRUE(loaded == c);

    // Neither a missing nor a foreign file changes anything, and neither says anything.
    const QString foreign = WorkPath(QStringLiteral("foreign.bin"));
    QFile f(foreign);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a calibration");
    f.close();
    EXPECT_EQ(other.LoadFromFile(WorkPath(QStringLiteral("missing.cal"))), E_FAIL);
    EXPECT_EQ(other.LoadFromFile(foreign), E_FAIL);
    other.GetCalibration(&loaded);
    EXPECT_TRUE(loaded == c);

    Prompter().ExpectMessageBox(QStringLiteral("Could not create calibration file"), IDOK);
    EXPECT_EQ(settings.SaveToFile(WorkPath(QStringLiteral("no/such/folder/cal.cal"))), E_FAIL);
    EXPECT_EQ(Prompter().Prompts().back().caption, QStringLiteral("Write Error"));

    // A file that was made but cannot take the name (a folder has it) is a failure too, and the
    // folder stays as it was.
    const QString taken = WorkPath(QStringLiteral("taken.cal"));
    ASSERT_TRUE(QDir().mkpath(taken + QStringLiteral("/inside")));
    Prompter().ExpectMessageBox(QStringLiteral("Could not write calibration file"), IDOK);
    EXPECT_EQ(settings.SaveToFile(taken), E_FAIL);
    EXPECT_EQ(Prompter().Prompts().back().caption, QStringLiteral("Write Error"));
    EXPECT_TRUE(QDir(taken + QStringLiteral("/inside")).exists());
    EXPECT_FALSE(QFile::exists(taken + QStringLiteral(".saving")));
}

TEST_F(AnalysisSettingsTest, UnitsNamesChoicesAndStyles) {
    QString name;
    settings.GetUnitsName(3, &name, true);
    EXPECT_EQ(name, QStringLiteral("Millimeter"));
    settings.GetUnitsName(-1, &name, false);
    EXPECT_EQ(name, QStringLiteral("pixels"));
    settings.GetUnitsName(5, &name, false);
    EXPECT_TRUE(name.isEmpty());
    int units = 0;
    settings.UnitsFromChoice(0, &units);
    EXPECT_EQ(units, -2);
    settings.UnitsFromChoice(6, &units);
    EXPECT_EQ(units, 4);
    settings.UnitsFromChoice(7, &units);
    EXPECT_EQ(units, -1);
    BYTE found = 0;
    CTrackFeature style;
    ASSERT_EQ(settings.GetFeature(4, &found, &style), S_OK);
    LONG colour = 0;
    style.GetParam4(&colour);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(colour, 0xFF00FF);
    settings.GetFeature(5, &found, &style);
    EXPECT_EQ(found, 0);
    EXPECT_EQ(settings.GetFeature(0, &found, nullptr), E_POINTER);
}
