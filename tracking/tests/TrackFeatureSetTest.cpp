#include "tracking/TrackFeatureSet.h"

#include "frames/Dib.h"
#include "frames/lutparams/LutParamSet.h"
#include "platform/framework/File.h"
#include "platform/framework/IPrompter.h"
#include "testsupport/IsolatedTest.h"
#include "tracking/ITrackerFrameSource.h"
#include "tracking/tests/FakeRecording.h"
#include "tracking/tests/TrackingImages.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <functional>

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 120;
constexpr int kFrames = 30;

// A bright square moving right and down on noise, rendered as a bottom-up 8-bit bitmap.
double PathX(int f) {
    return 40.0 + 1.5 * f;
}
double PathY(int f) {
    return 50.0 + 0.5 * f;
}

class MovingSquare : public ITrackerFrameSource {
public:
    bool GoToFrame(int index) override {
        if (index < 0 || index >= kFrames)
            return false;
        CMImage image;
        RenderScene(image, kWidth, kHeight,
                    {Feature{PathX(index), PathY(index), 0.0, 5.5, 5.5, 200, 1.5}},
                    static_cast<unsigned>(index));
        std::vector<BYTE> rows(static_cast<size_t>(kWidth * kHeight));
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                rows[static_cast<size_t>((kHeight - 1 - y) * kWidth + x)] =
                    static_cast<BYTE>(image.GetPixel(x, y));
        m_current = m_dib.Create(rows.data(), kWidth, kHeight, 8) ? index : -1;
        return m_current >= 0;
    }
    const CDib* GetFrame() override { return m_current >= 0 ? &m_dib : nullptr; }

private:
    CDib m_dib;
    int m_current = -1;
};

// The recording and the picking tool of a video window, answering as the test sets them.
class FakeVideo : public CFakeRecording, public ITrackFeatureHost {
public:
    FakeVideo() : CFakeRecording(kWidth, kHeight, kFrames) {
        displaySettings = S_OK;
        tracker = &scene;
        region = CRect();
    }
    void OnFeatureSelected(int feature) override { selected.push_back(feature); }

    std::vector<int> selected;
    MovingSquare scene;
};

class TrackFeatureSetTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        Wire(set);
        set.SetFeatureCountForRecording(3);
    }

    void Wire(CTrackFeatureSet& s) {
        s.SetFrameSource(&video);
        s.SetPositionSource(&video);
        s.SetHost(&video);
        s.SetFeatureLimits(5, 1);
        s.GetIndexValues().SetAt(CTrackFeatureSet::kToolKey, 1);
        s.SetToolEnabled(true);
    }

    // Sets feature at frame with the square's box around the reticle.
    void SetAt(int frame, int feature, double x, double y) {
        video.current = frame;
        set.SetSelectedFeature(feature, false);
        video.pickX = x;
        video.pickY = y;
        video.region = CRect(static_cast<int>(x) - 10, static_cast<int>(y) - 10,
                             static_cast<int>(x) + 11, static_cast<int>(y) + 11);
        ASSERT_EQ(set.SetFeatureHere(), S_OK);
    }

    CTrackPoint Point(int frame, int feature, bool* found = nullptr) {
        CTrackPoint p;
        set.GetPoint(frame, feature, found, &p);
        return p;
    }

    bool HasRegion(int frame, int feature) {
        bool found = false;
        CTrackRegion r;
        set.GetRegion(frame, feature, &found, &r);
        return found;
    }

    void Lock(int feature) {
        CTrackFeature f;
        set.GetFeature(feature, nullptr, &f);
        f.SetFlag2(0);
        set.SetFeature(feature, nullptr, &f);
    }

    FakeVideo video;
    CTrackFeatureSet set;
};

LONG Word1(const CTrackPoint& p) {
    LONG w = 0;
    p.GetWord1(&w);
    return w;
}

}  // namespace

TEST_F(TrackFeatureSetTest, NewFeaturesGetCyclingStylesAndDefaultSettings) {
    set.AddFeature();
    int count = 0;
    set.GetFeatureCount(&count);
    ASSERT_EQ(count, 4);
    const LONG colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    for (int i = 0; i < 4; ++i) {
        bool defined = false;
        CTrackFeature f;
        set.GetFeature(i, &defined, &f);
        LONG colour = 0, symbol = 0;
        BYTE tracked = 0;
        f.GetParam4(&colour);
        f.GetParam1(&symbol);
        f.GetFlag3(&tracked);
        EXPECT_TRUE(defined);
        EXPECT_EQ(colour, colours[i]) << i;
        EXPECT_EQ(symbol, i % 4);
        EXPECT_EQ(tracked, i < 1 ? 1 : 0);
        bool enabled = false;
        CTrackSample s;
        set.GetSampleItem(i, &enabled, &s);
        double v1 = 0;
        s.GetValue1(&v1);
        EXPECT_TRUE(enabled);
        EXPECT_EQ(v1, 160.0);
    }
    EXPECT_EQ(set.GetFeature(0, nullptr, nullptr), E_POINTER);
}

TEST_F(TrackFeatureSetTest, FeatureCountLimits) {
    int count = 0;
    set.SetFeatureCount(5);  // MaxFeatures itself is refused
    set.GetFeatureCount(&count);
    EXPECT_EQ(count, 3);
    set.AddFeature();
    set.AddFeature();
    set.AddFeature();  // one past the limit does nothing
    set.GetFeatureCount(&count);
    EXPECT_EQ(count, 5);
    set.SetFeatureCount(-3);
    set.GetFeatureCount(&count);
    EXPECT_EQ(count, 0);
}

TEST_F(TrackFeatureSetTest, DeletingFeaturesKeepsTheirSettingsAligned) {
    set.SetFeatureCount(4);
    set.AddFeature();  // five features
    for (int i = 0; i < 5; ++i) {
        CTrackFeature f;
        set.GetFeature(i, nullptr, &f);
        f.SetName(QStringLiteral("F%1").arg(i));
        set.SetFeature(i, nullptr, &f);
        CTrackSample s;
        set.GetSample(i, &s);
        s.SetValue1(100.0 + i);
        set.SetSampleItem(i, nullptr, &s);
        SetAt(i, i, 20 + 10 * i, 30);
    }
    set.SetSelectedFeature(4, false);
    const std::vector<BYTE> flags = {0, 1, 0, 1, 0};
    ASSERT_EQ(set.DeleteFeatures(&flags), S_OK);
    int selected = -1;
    set.GetSelectedFeature(&selected);
    EXPECT_EQ(selected, 2);
    ASSERT_EQ(set.DeleteFeatures(nullptr), E_POINTER);
    int count = 0;
    set.GetFeatureCount(&count);
    ASSERT_EQ(count, 3);
    const int kept[] = {0, 2, 4};
    for (int i = 0; i < 3; ++i) {
        CTrackFeature f;
        set.GetFeature(i, nullptr, &f);
        QString name;
        f.GetName(&name);
        EXPECT_EQ(name, QStringLiteral("F%1").arg(kept[i]));
        CTrackSample s;
        set.GetSample(i, &s);
        double v1 = 0;
        s.GetValue1(&v1);
        EXPECT_EQ(v1, 100.0 + kept[i]);
        bool found = false;
        Point(kept[i], i, &found);
        EXPECT_TRUE(found) << i;
    }
}

TEST_F(TrackFeatureSetTest, SettingAFeatureStoresPointAndRegionAndMovesOn) {
    set.SetStepAfterSet(0);
    SetAt(4, 0, 12.34, 5.67);
    CTrackPoint p = Point(4, 0);
    double x = 0, y = 0;
    p.GetPosition(&x, &y);
    EXPECT_EQ(x, 123);
    EXPECT_EQ(y, 56);
    EXPECT_EQ(Word1(p), 1);
    EXPECT_TRUE(HasRegion(4, 0));
    int selected = -1;
    set.GetSelectedFeature(&selected);
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(video.current, 4);
    // The last feature of the frame wraps to the first and moves the display on.
    set.SetSelectedFeature(2, false);
    ASSERT_EQ(set.SetFeatureAt(4, 2), S_OK);
    set.GetSelectedFeature(&selected);
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(video.current, 5);
    // Never past the last frame, however large the step.
    set.SetStepAfterSet(100);
    video.current = kFrames - 3;
    set.SetSelectedFeature(2, false);
    ASSERT_EQ(set.SetFeatureHere(), S_OK);
    EXPECT_EQ(video.current, kFrames - 1);
    video.current = kFrames - 1;
    set.SetSelectedFeature(2, false);
    const int moves = video.moves;
    ASSERT_EQ(set.SetFeatureHere(), S_OK);
    EXPECT_EQ(video.moves, moves);
}

TEST_F(TrackFeatureSetTest, TheToolNeedsItsKeyAndIndexedEditingNeedsARegion) {
    CTrackFeatureSet bare;
    bare.SetFrameSource(&video);
    bare.SetPositionSource(&video);
    bare.SetFeatureLimits(5, 1);
    bare.SetFeatureCountForRecording(1);
    bare.SetToolEnabled(true);  // no key set: stays disabled
    EXPECT_EQ(bare.SetFeatureAt(0, 0), E_FAIL);

    set.GetIndexValues().SetAt(CTrackFeatureSet::kIndexKey, 1);
    set.SetIndexSwitch(true);
    bool wrap = true;
    set.GetWrapFeatures(&wrap);
    EXPECT_FALSE(wrap);
    video.region = CRect();
    Prompter().ExpectMessageBox(
        QStringLiteral("You must have a region defined in order to set a feature."), IDOK);
    EXPECT_EQ(set.SetFeatureAt(0, 0), E_FAIL);
    bool found = true;
    Point(0, 0, &found);
    EXPECT_FALSE(found);
    set.SetIndexSwitch(false);
    set.GetWrapFeatures(&wrap);
    EXPECT_TRUE(wrap);
}

TEST_F(TrackFeatureSetTest, AFlatTemplateIsRefusedWithAMessage) {
    // Grey on the left half, the moving square's noise nowhere: a region inside the grey has
    // no contrast, one across the edge has.
    class HalfGrey : public ITrackerFrameSource {
    public:
        bool GoToFrame(int) override {
            std::vector<BYTE> rows(static_cast<size_t>(kWidth * kHeight), 128);
            for (int y = 0; y < kHeight; ++y)
                for (int x = kWidth / 2; x < kWidth; ++x)
                    rows[static_cast<size_t>(y * kWidth + x)] = 20;
            m_ok = m_dib.Create(rows.data(), kWidth, kHeight, 8);
            return m_ok;
        }
        const CDib* GetFrame() override { return m_ok ? &m_dib : nullptr; }

    private:
        CDib m_dib;
        bool m_ok = false;
    };
    HalfGrey flat;
    video.tracker = &flat;
    video.current = 0;
    video.pickX = 20;
    video.pickY = 20;
    video.region = CRect(10, 10, 31, 31);
    Prompter().ExpectMessageBox(
        QStringLiteral(
            "The feature's region has no contrast to track. Draw the region over detail."),
        IDOK);
    EXPECT_EQ(set.SetFeatureAt(0, 0), E_FAIL);
    bool found = true;
    Point(0, 0, &found);
    EXPECT_FALSE(found);
    video.pickX = kWidth / 2;
    video.region = CRect(kWidth / 2 - 10, 10, kWidth / 2 + 11, 31);
    EXPECT_EQ(set.SetFeatureAt(0, 0), S_OK);
}

TEST_F(TrackFeatureSetTest, LockedFeaturesAskBeforeEveryChange) {
    SetAt(3, 0, 50, 50);
    Lock(0);
    const QString question = QStringLiteral(
        "Do you want to over ride the feature lock and perform the selected action?");
    Prompter().ExpectMessageBox(question, IDNO);
    EXPECT_EQ(set.ClearAt(0, 3), E_FAIL);
    EXPECT_EQ(Prompter().Prompts().back().caption, QStringLiteral("Warning: Feature 1 Locked"));
    bool found = false;
    Point(3, 0, &found);
    EXPECT_TRUE(found);
    Prompter().ExpectMessageBox(question, IDNO);
    video.current = 3;
    set.SetSelectedFeature(0, false);
    EXPECT_EQ(set.SetFeatureHere(), E_FAIL);
    Prompter().ExpectMessageBox(question, IDYES);
    EXPECT_EQ(set.ClearAt(0, 3), S_OK);
    Point(3, 0, &found);
    EXPECT_FALSE(found);
    // An unlocked feature asks nothing.
    EXPECT_EQ(set.ClearAt(1, 3), S_OK);
}

TEST_F(TrackFeatureSetTest, ClearingRanges) {
    struct Case {
        const char* name;
        std::function<void(CTrackFeatureSet&)> clear;
        std::vector<int> cleared;
    } cases[] = {
        {"up to frame 0", [](CTrackFeatureSet& s) { s.ClearUpTo(0, 0); }, {0}},
        {"from the last frame",
         [](CTrackFeatureSet& s) { s.ClearFrom(kFrames - 1, 0); },
         {kFrames - 1}},
        {"from frame 2", [](CTrackFeatureSet& s) { s.ClearFrom(2, 0); }, {2, kFrames - 1}},
        {"at frame 1", [](CTrackFeatureSet& s) { s.ClearAt(0, 1); }, {1}},
        {"everything", [](CTrackFeatureSet& s) { s.ClearAllTracks(); }, {0, 1, 2, kFrames - 1}},
    };
    const int frames[] = {0, 1, 2, kFrames - 1};
    for (const Case& c : cases) {
        set.ClearAllTracks();
        for (int f : frames)
            SetAt(f, 0, 30 + f, 40);
        c.clear(set);
        for (int f : frames) {
            bool found = false;
            Point(f, 0, &found);
            const bool cleared =
                std::find(c.cleared.begin(), c.cleared.end(), f) != c.cleared.end();
            EXPECT_EQ(found, !cleared) << c.name << " frame " << f;
            EXPECT_EQ(HasRegion(f, 0), !cleared) << c.name << " frame " << f;
        }
    }
}

TEST_F(TrackFeatureSetTest, AutomaticRunFollowsTheSquareAndClearByKindRemovesOnlyItsResults) {
    SetAt(0, 0, PathX(0), PathY(0));
    set.SetSelectedFeature(0, false);
    video.current = 0;
    ASSERT_EQ(set.StartAutoTracking(0, 1), S_OK);
    for (int f = 1; f < kFrames; ++f) {
        bool found = false;
        const CTrackPoint p = Point(f, 0, &found);
        ASSERT_TRUE(found) << f;
        double x = 0, y = 0;
        p.GetPosition(&x, &y);
        EXPECT_NEAR(x * 0.1, PathX(f), 1.5) << f;
        EXPECT_NEAR(y * 0.1, PathY(f), 1.5) << f;
        EXPECT_EQ(Word1(p), 2);
        EXPECT_TRUE(HasRegion(f, 0));
    }
    EXPECT_EQ(video.current, kFrames - 1);  // the display followed the run

    // A report for a tracker outside the run changes nothing.
    EXPECT_EQ(set.StoreTrackedPoint(5, 3, 100, 100), CTrackFeatureSet::kUnknownTracker);
    // Regions placed at the image's edges stay inside it.
    ASSERT_EQ(set.StoreTrackedPoint(0, 7, 5, 1195), S_OK);
    CTrackRegion r;
    set.GetRegion(7, 0, nullptr, &r);
    double l = 0, t = 0, rr = 0, b = 0;
    r.GetRect(&l, &t, &rr, &b);
    EXPECT_EQ(l, 0);
    EXPECT_EQ(rr - l, 21);
    EXPECT_EQ(b, kHeight - 1);
    EXPECT_EQ(b - t, 21);

    EXPECT_EQ(set.ClearByKind(0, 3), S_OK);
    bool found = false;
    Point(5, 0, &found);
    EXPECT_TRUE(found);
    EXPECT_EQ(set.ClearByKind(0, 4), S_OK);
    Point(5, 0, &found);
    EXPECT_FALSE(found);
    // The run took over the start frame's point; the user's region there stays.
    EXPECT_TRUE(HasRegion(0, 0));
    EXPECT_FALSE(HasRegion(5, 0));
}

TEST_F(TrackFeatureSetTest, SwitchingTheAutoTrackedFeatureAsksWhenRunResultsWouldGo) {
    EXPECT_EQ(set.AutoTrackedFeature(), 0);
    SetAt(0, 0, PathX(0), PathY(0));
    video.current = 0;
    ASSERT_EQ(set.StartAutoTracking(1, 1), S_OK);  // one frame on
    bool found = false;
    Point(1, 0, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(set.SwitchAutoTrackedFeature(0, true), S_OK);  // the same: asks nothing
    const QString question = QStringLiteral(
        "Switching the AutoTracked Feature will erase all previously AutoTracked points. Do you "
        "wish to continue?");
    Prompter().ExpectMessageBox(question, IDNO);
    EXPECT_EQ(set.SwitchAutoTrackedFeature(2, true), E_FAIL);
    EXPECT_EQ(set.AutoTrackedFeature(), 0);
    Prompter().ExpectMessageBox(question, IDYES);
    EXPECT_EQ(set.SwitchAutoTrackedFeature(2, true), S_OK);
    EXPECT_EQ(set.AutoTrackedFeature(), 2);
    Point(1, 0, &found);
    EXPECT_FALSE(found);
    int selected = -1;
    set.GetSelectedFeature(&selected);
    EXPECT_EQ(selected, 2);
}

TEST_F(TrackFeatureSetTest, SaveAndLoadIntoAnotherSet) {
    SetAt(2, 1, 33.3, 44.4);
    CTrackFeature f;
    set.GetFeature(1, nullptr, &f);
    f.SetName(QStringLiteral("wing"));
    set.SetFeature(1, nullptr, &f);
    const QString path = WorkPath(QStringLiteral("tracks.trk"));
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        ASSERT_EQ(set.Save(file), S_OK);
    }
    for (const bool keepTracks : {true, false}) {
        CTrackFeatureSet other;
        Wire(other);
        ASSERT_EQ(other.Load(path, keepTracks), S_OK);
        int count = 0;
        other.GetFeatureCount(&count);
        EXPECT_EQ(count, 3);
        CTrackFeature g;
        other.GetFeature(1, nullptr, &g);
        QString name;
        g.GetName(&name);
        EXPECT_EQ(name, QStringLiteral("wing"));
        bool found = false;
        CTrackPoint p;
        other.GetPoint(2, 1, &found, &p);
        EXPECT_EQ(found, keepTracks);
        if (keepTracks) {
            EXPECT_TRUE(p == Point(2, 1));
        }
        CTrackRegion r;
        other.GetRegion(2, 1, &found, &r);
        EXPECT_EQ(found, keepTracks);
    }
    // A recording of another length keeps what fits.
    video.frames = 2;
    CTrackFeatureSet shorter;
    Wire(shorter);
    ASSERT_EQ(shorter.Load(path, true), S_OK);
    EXPECT_EQ(shorter.GetFrameListCount(), 2);
}

TEST_F(TrackFeatureSetTest, LoadingAFileThatCannotBeOpenedChangesNothing) {
    SetAt(2, 1, 33.3, 44.4);
    EXPECT_EQ(set.Load(WorkPath(QStringLiteral("missing.trk")), true), E_FAIL);
    int count = 0;
    set.GetFeatureCount(&count);
    EXPECT_EQ(count, 3);
    bool found = false;
    Point(2, 1, &found);
    EXPECT_TRUE(found);
}

TEST_F(TrackFeatureSetTest, CopyFeaturesFromAnotherSet) {
    CTrackFeatureSet other;
    Wire(other);
    other.SetFeatureCountForRecording(4);
    CTrackFeature f;
    other.GetFeature(3, nullptr, &f);
    f.SetName(QStringLiteral("tail"));
    f.SetFlag3(1);
    other.SetFeature(3, nullptr, &f);
    ASSERT_EQ(set.CopyFeaturesFrom(&other), S_OK);
    int count = 0;
    set.GetFeatureCount(&count);
    EXPECT_EQ(count, 4);
    CTrackFeature g;
    set.GetFeature(3, nullptr, &g);
    QString name;
    g.GetName(&name);
    EXPECT_EQ(name, QStringLiteral("tail"));
    // Only the first marked feature stays marked for automatic tracking.
    BYTE mark = 1;
    g.GetFlag3(&mark);
    EXPECT_EQ(mark, 0);
    EXPECT_EQ(set.AutoTrackedFeature(), 0);
    EXPECT_EQ(set.CopyFeaturesFrom(nullptr), E_POINTER);

    // A set at its limit is copied whole, although SetFeatureCount refuses the limit itself.
    other.AddFeature();
    other.GetFeatureCount(&count);
    ASSERT_EQ(count, 5);
    ASSERT_EQ(set.CopyFeaturesFrom(&other), S_OK);
    set.GetFeatureCount(&count);
    EXPECT_EQ(count, 5);
}

// A recording whose frame count cannot be told (a query that fails) never resizes the lists:
// deleting a feature then keeps every other feature's points and regions where they were.
TEST_F(TrackFeatureSetTest, DeletingAFeatureAfterAFailedFrameCountKeepsTheOthers) {
    SetAt(3, 0, 20.0, 30.0);
    SetAt(2, 1, 33.3, 44.4);
    SetAt(25, 2, 60.0, 70.0);
    video.frames = -1;
    ASSERT_EQ(set.AddFeature(), S_OK);
    const std::vector<BYTE> deleteFirst{1};
    ASSERT_EQ(set.DeleteFeatures(&deleteFirst), S_OK);
    EXPECT_EQ(set.GetFrameListCount(), kFrames);
    struct Case {
        int frame, feature;
    };
    for (const Case& c : {Case{2, 0}, Case{25, 1}}) {
        bool found = false;
        Point(c.frame, c.feature, &found);
        EXPECT_TRUE(found) << c.feature;
        EXPECT_TRUE(HasRegion(c.frame, c.feature)) << c.feature;
    }
}

// A load that fails leaves the set as it was: saved again, it gives the same bytes.
TEST_F(TrackFeatureSetTest, AFailedLoadChangesNothing) {
    SetAt(2, 1, 33.3, 44.4);
    SetAt(7, 0, 12.0, 13.0);
    const auto saved = [this](const QString& path) {
        {
            CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
            EXPECT_EQ(set.Save(file), S_OK);
        }
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = saved(WorkPath("before.trk"));
    ASSERT_TRUE(QDir().mkpath(WorkPath("folder.trk")));
    for (const char* name : {"missing.trk", "folder.trk"}) {
        EXPECT_EQ(set.Load(WorkPath(QString::fromLatin1(name)), true), E_FAIL) << name;
        EXPECT_EQ(saved(WorkPath("after.trk")), before) << name;
    }
}
