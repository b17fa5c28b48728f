#include "tracking/TrackOverlay.h"

#include "platform/framework/DC.h"
#include "platform/wintypes/ColorRef.h"
#include "testsupport/IsolatedTest.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/CoordAxesOverlay.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/tests/FakeRecording.h"
#include "views/DrawMarker.h"

#include <QFile>
#include <QImage>

namespace {

constexpr int kSize = 200;
constexpr QRgb kBlack = 0xFF000000;

QRgb Colour(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A view whose drawn region is the box around its reticle.
class FakeView : public CFakeStreamView {
public:
    FakeView() : CFakeStreamView(kSize, kSize, 5) {}
    HRESULT GetDrawnRegion(double* l, double* t, double* r, double* b) override {
        *l = pickX - 5;
        *t = pickY - 5;
        *r = pickX + 6;
        *b = pickY + 6;
        return S_OK;
    }
};

class Canvas {
public:
    Canvas() : image(kSize, kSize, QImage::Format_RGB32) { image.fill(kBlack); }
    QRgb At(int x, int y) const { return image.pixel(x, y); }
    // Whether any pixel within one of (x, y) has the colour.
    bool Near(int x, int y, QRgb colour) const {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (image.valid(x + dx, y + dy) && image.pixel(x + dx, y + dy) == colour)
                    return true;
        return false;
    }
    QImage image;
};

TEST(DrawMarkerTest, EachShapeDrawsItsStrokes) {
    const QRgb red = qRgb(255, 0, 0);
    struct Case {
        int shape;
        std::vector<std::pair<int, int>> on;
        std::vector<std::pair<int, int>> off;
    } cases[] = {
        {0, {{15, 20}, {20, 15}, {24, 20}, {20, 24}}, {{15, 15}, {24, 24}}},
        {7, {{15, 20}, {20, 15}, {24, 20}, {20, 24}}, {{15, 15}, {24, 24}}},
        {1, {{15, 15}, {17, 17}, {25, 15}, {16, 24}}, {{20, 15}, {15, 20}}},
        {2, {{20, 15}, {20, 25}, {16, 25}}, {{15, 15}, {25, 15}}},
        {3, {{15, 15}, {20, 15}, {25, 20}, {15, 22}}, {{20, 20}, {18, 18}}},
    };
    for (const Case& c : cases) {
        Canvas canvas;
        {
            CDC dc(&canvas.image);
            DrawMarker(&dc, 20, 20, 255, 0, 0, c.shape, 5, 1, 0);
        }
        for (auto [x, y] : c.on)
            EXPECT_EQ(canvas.At(x, y), red) << "shape " << c.shape << " at " << x << "," << y;
        for (auto [x, y] : c.off)
            EXPECT_EQ(canvas.At(x, y), kBlack) << "shape " << c.shape << " at " << x << "," << y;
    }
    Canvas circle;
    {
        CDC dc(&circle.image);
        DrawMarker(&dc, 20, 20, 255, 0, 0, 4, 5, 1, 0);
    }
    EXPECT_TRUE(circle.Near(20, 15, red));
    EXPECT_TRUE(circle.Near(15, 20, red));
    EXPECT_TRUE(circle.Near(25, 20, red));
    EXPECT_EQ(circle.At(20, 20), kBlack);
    EXPECT_EQ(circle.At(15, 15), kBlack);
}

class TrackOverlayTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        set.SetFrameSource(&view);
        set.SetPositionSource(&view);
        set.SetFeatureLimits(4, 0);
        set.SetFeatureCountForRecording(2);
        set.GetIndexValues().SetAt(CTrackFeatureSet::kToolKey, 1);
        set.SetToolEnabled(true);
        set.SetAutoNextFeature(false);
        set.SetWrapFeatures(false);
        for (int f = 0; f < 5; ++f) {
            SetPoint(f, 0, 20 + 30 * f, 50);
            SetPoint(f, 1, 20 + 30 * f, 150);
        }
        overlay.SetFeatureSet(&set);
        overlay.SetDisplayHost(&view);
        overlay.SetCalibration(&settings);
    }

    void SetPoint(int frame, int feature, int x, int y) {
        view.current = frame;
        view.pickX = x;
        view.pickY = y;
        set.SetSelectedFeature(feature, false);
        ASSERT_EQ(set.SetFeatureHere(), S_OK);
    }

    Canvas Paint(int current) {
        view.current = current;
        Canvas canvas;
        CDC dc(&canvas.image);
        EXPECT_EQ(overlay.Draw(&dc, CRect(0, 0, kSize, kSize)), S_OK);
        return canvas;
    }

    // Feature 0's marker colour (red) at frame f's point.
    static bool Marked(const Canvas& c, int f) { return c.At(20 + 30 * f, 50) == qRgb(255, 0, 0); }

    FakeView view;
    CTrackFeatureSet set;
    CAnalysisSettings settings;
    CTrackOverlay overlay;
};

TEST_F(TrackOverlayTest, TrailAndCurrentMarkerSwitches) {
    const QRgb emphasis = Colour(CTrackOverlay::kCurrentColour);
    struct Case {
        const char* name;
        BYTE whole, upToCurrent, current;
        std::vector<int> marked;
        bool emphasised;
    } cases[] = {
        {"nothing", 0, 0, 0, {}, false},
        {"current only", 0, 0, 1, {2}, false},
        {"whole trail", 1, 0, 0, {0, 1, 2, 3, 4}, false},
        {"trail up to current", 0, 1, 0, {0, 1, 2}, false},
        {"trail up to current with the current marker", 0, 1, 1, {0, 1, 2}, true},
    };
    for (const Case& c : cases) {
        overlay.SetShowWholeTrail(c.whole);
        overlay.SetShowTrailUpToCurrent(c.upToCurrent);
        overlay.SetShowCurrentMarkers(c.current);
        const Canvas canvas = Paint(2);
        for (int f = 0; f < 5; ++f) {
            const bool expected = std::find(c.marked.begin(), c.marked.end(), f) != c.marked.end();
            EXPECT_EQ(Marked(canvas, f), expected) << c.name << " frame " << f;
        }
        // The emphasised circle: three times the half-size (3) above the current point.
        EXPECT_EQ(canvas.Near(80, 41, emphasis), c.emphasised) << c.name;
    }
}

TEST_F(TrackOverlayTest, TheTrailSwitchesClearEachOther) {
    BYTE whole = 0, upTo = 0;
    overlay.SetShowWholeTrail(1);
    overlay.SetShowTrailUpToCurrent(1);
    overlay.GetShowWholeTrail(&whole);
    overlay.GetShowTrailUpToCurrent(&upTo);
    EXPECT_EQ(whole, 0);
    EXPECT_EQ(upTo, 1);
    overlay.SetShowWholeTrail(1);
    overlay.GetShowTrailUpToCurrent(&upTo);
    EXPECT_EQ(upTo, 0);
    overlay.SetShowTrailUpToCurrent(0);  // clearing one never sets the other
    overlay.GetShowWholeTrail(&whole);
    EXPECT_EQ(whole, 1);
    overlay.SetSwitchQ1(1);
    overlay.SetSwitchQ2(1);
    BYTE q1 = 1;
    overlay.GetSwitchQ1(&q1);
    EXPECT_EQ(q1, 0);
    EXPECT_EQ(overlay.GetShowLegend(nullptr), E_POINTER);
    int units = 0;
    CTrackOverlay bare;
    bare.GetReadoutUnits(&units);
    EXPECT_EQ(units, -1);
}

TEST_F(TrackOverlayTest, RegionsAreOutlinedInCyan) {
    overlay.SetShowCurrentMarkers(1);
    overlay.SetShowRegions(1);
    const Canvas canvas = Paint(1);
    const QRgb cyan = qRgb(0, 255, 255);
    EXPECT_EQ(canvas.At(50 - 5, 50 - 5 + 3), cyan);  // left edge of feature 0's region
    EXPECT_EQ(canvas.At(50 + 2, 50 - 5), cyan);      // top edge
    overlay.SetShowRegions(0);
    EXPECT_NE(Paint(1).At(45, 48), cyan);
}

TEST_F(TrackOverlayTest, LinesNeedTwoFeatures) {
    CFeatureStyle style;
    style.SetStyle2(1);  // every frame
    style.SetColour(RGB(0, 255, 0));
    style.SetWidth(1);
    overlay.AddLine(style, {0, 1});
    const QRgb green = qRgb(0, 255, 0);
    // Feature 0 at (80, 50) and feature 1 at (80, 150) on frame 2: a vertical line.
    EXPECT_EQ(Paint(2).At(80, 100), green);
    set.SetFeatureCount(1);
    EXPECT_NE(Paint(2).At(80, 100), green);
    set.SetFeatureCount(2);
    overlay.SetCalibration(nullptr);
    EXPECT_NE(Paint(2).At(80, 100), green);
}

TEST_F(TrackOverlayTest, LineListsRoundTripThroughAFile) {
    CFeatureStyle first;
    first.SetStyle1(CTrackOverlay::kLengthLine);
    first.SetColour(RGB(1, 2, 3));
    CFeatureStyle second;
    second.SetStyle1(CTrackOverlay::kAngleLine);
    second.SetStyle2(-1);
    overlay.AddLine(first, {0, 1});
    overlay.AddLine(second, {1, 0, 1});
    const QString path = WorkPath(QStringLiteral("lines.trl"));
    ASSERT_EQ(overlay.Save(path), S_OK);
    CTrackOverlay other;
    ASSERT_EQ(other.Load(path), S_OK);
    ASSERT_EQ(other.GetLineCount(), 2);
    EXPECT_EQ(other.GetLineMembers(0), (std::vector<int>{0, 1}));
    EXPECT_EQ(other.GetLineMembers(1), (std::vector<int>{1, 0, 1}));
    EXPECT_TRUE(other.GetLineStyle(0) == first);
    EXPECT_TRUE(other.GetLineStyle(1) == second);
    EXPECT_EQ(other.Load(WorkPath(QStringLiteral("missing.trl"))), E_FAIL);
    EXPECT_EQ(other.GetLineCount(), 2);
    EXPECT_EQ(overlay.Save(WorkPath(QStringLiteral("no/such/lines.trl"))), E_FAIL);

    // The longest line a file may hold loads; a longer one marks the file as damaged and the
    // lists stay as they were.
    constexpr size_t kMax = CTrackOverlay::kMaxLineMembers;
    for (const size_t length : {kMax, kMax + 1}) {
        CTrackOverlay longLine;
        longLine.AddLine(first, std::vector<int>(length, 0));
        ASSERT_EQ(longLine.Save(path), S_OK);
        EXPECT_EQ(other.Load(path), length <= kMax ? S_OK : E_FAIL) << length;
        ASSERT_EQ(other.GetLineCount(), 1);
        EXPECT_EQ(other.GetLineMembers(0).size(), kMax);
    }

    // A member section that says it has no frames leaves its lines without members.
    ASSERT_EQ(overlay.Save(path), S_OK);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    file.close();
    const QByteArray head = "!SECTION=LG_LIST";
    const qsizetype counts = bytes.indexOf(head) + head.size();
    ASSERT_GT(counts, head.size());
    bytes.replace(counts + 4, 4, QByteArray(4, '\0'));  // lists, then frames
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
    EXPECT_EQ(other.Load(path), E_FAIL);
    EXPECT_EQ(other.GetLineCount(), 1);
}

TEST_F(TrackOverlayTest, DrawNeedsAFeatureSetAndAHost) {
    CTrackOverlay bare;
    Canvas canvas;
    CDC dc(&canvas.image);
    EXPECT_EQ(bare.Draw(&dc, CRect()), E_POINTER);
    bare.SetFeatureSet(&set);
    EXPECT_EQ(bare.Draw(&dc, CRect()), E_POINTER);
}

class CoordAxesOverlayTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        axes.SetCalibration(&settings);
        axes.SetSizeSource(&view);
        axes.SetDisplayHost(&view);
        settings.SetSizeSource(&view);
        CCalibrationData c;
        c.SetOrigin(50, 50);
        c.SetPositiveX(250, 50);
        c.SetFirstPoint(150, 150);
        c.SetSecondPoint(160, 150);
        settings.SetCalibration(&c);
    }

    Canvas Paint() {
        Canvas canvas;
        CDC dc(&canvas.image);
        EXPECT_EQ(axes.Draw(&dc, CRect(0, 0, kSize, kSize)), S_OK);
        return canvas;
    }

    FakeView view;
    CAnalysisSettings settings;
    CCoordAxesOverlay axes;
};

TEST_F(CoordAxesOverlayTest, HiddenDrawsNothing) {
    const Canvas canvas = Paint();
    EXPECT_EQ(canvas.image, Canvas().image);
    CCoordAxesOverlay bare;
    Canvas other;
    CDC dc(&other.image);
    EXPECT_EQ(bare.Draw(&dc, CRect()), E_POINTER);
}

TEST_F(CoordAxesOverlayTest, TheYAxisFlipsWithTheCoordinateNature) {
    axes.SetVisible(1);
    const QRgb magenta = qRgb(255, 0, 255);
    // The axis length is a quarter of the 200-pixel image.
    Canvas canvas = Paint();
    EXPECT_EQ(canvas.At(80, 50), magenta);  // x axis to the right
    EXPECT_EQ(canvas.At(50, 80), magenta);  // y axis down on screen
    EXPECT_NE(canvas.At(50, 20), magenta);
    EXPECT_NE(canvas.At(80, 60), magenta);
    settings.FlipY();
    canvas = Paint();
    EXPECT_EQ(canvas.At(80, 50), magenta);
    EXPECT_EQ(canvas.At(50, 20), magenta);  // y axis up on screen
    EXPECT_NE(canvas.At(50, 80), magenta);
    // The scale points are marked.
    EXPECT_TRUE(canvas.Near(150, 150, magenta));
    EXPECT_TRUE(canvas.Near(160, 150, magenta));
}

TEST_F(CoordAxesOverlayTest, TheAxesFollowTheCoordinateCorner) {
    axes.SetVisible(1);
    const QRgb magenta = qRgb(255, 0, 255);
    struct Case {
        HRESULT (CAnalysisSettings::*corner)();
        std::pair<int, int> onX;  // a point of the x axis
        std::pair<int, int> onY;  // a point of the y axis
    } cases[] = {
        {&CAnalysisSettings::CornerUpperLeft, {30, 0}, {0, 30}},
        {&CAnalysisSettings::CornerUpperRight, {170, 0}, {199, 30}},
        {&CAnalysisSettings::CornerLowerLeft, {30, 199}, {0, 170}},
        {&CAnalysisSettings::CornerLowerRight, {170, 199}, {199, 170}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ((settings.*c.corner)(), S_OK);
        const Canvas canvas = Paint();
        EXPECT_TRUE(canvas.Near(c.onX.first, c.onX.second, magenta)) << c.onX.first;
        EXPECT_TRUE(canvas.Near(c.onY.first, c.onY.second, magenta)) << c.onY.second;
    }
}

TEST_F(CoordAxesOverlayTest, AnXPointOnTheOriginGivesNoAxisAndNoCrash) {
    axes.SetVisible(1);
    CCalibrationData c;
    c.SetOrigin(50, 50);
    c.SetPositiveX(50, 50);
    settings.SetCalibration(&c);
    const Canvas canvas = Paint();
    EXPECT_NE(canvas.At(80, 50), qRgb(255, 0, 255));
    BYTE visible = 0;
    axes.GetVisible(&visible);
    EXPECT_EQ(visible, 1);
}

}  // namespace
