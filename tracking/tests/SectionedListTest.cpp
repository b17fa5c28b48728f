#include "tracking/sectioned/SectionedList.h"

#include "tracking/records/TrackPoint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using IntList = CSectionedList<int32_t>;
using PointList = CSectionedList<CTrackPoint>;

CTrackPoint Pt(int x) {
    CTrackPoint p;
    p.SetPosition(x, 0);
    return p;
}

int XOf(const CTrackPoint& p) {
    double x = 0;
    p.GetPosition(&x, nullptr);
    return static_cast<int>(x);
}

// Entries of one per-frame list, by X.
std::vector<int> Column(const PointList& list, int index) {
    std::vector<int> out;
    for (int f = 0; f < list.GetNumFrames(); ++f)
        out.push_back(XOf(list.GetItem(f, index)));
    return out;
}

}  // namespace

TEST(SectionedList, FewerThanTwoFramesMakeAFlatList) {
    IntList list;
    list.Init(1, 1, 3, -1);
    list.SetItem(0, 1, 42);
    EXPECT_EQ(list.GetItem(5, 1), 42);  // Frame ignored: single item 1.
    EXPECT_EQ(list.GetItem(0, 2), -1);
    list.SetItem(3, 2, 9);  // Flat: a non-zero frame stores nothing.
    EXPECT_EQ(list.GetItem(0, 2), -1);
    EXPECT_EQ(list.GetNumLists(), 3);
    EXPECT_EQ(list.GetNumFrames(), 1);
}

TEST(SectionedList, ItemAccessTable) {
    PointList list;
    list.Init(1, 100, 2, Pt(-1));
    list.SetItem(0, 1, Pt(10));
    list.SetItem(7, 1, Pt(17));
    list.SetItem(99, 1, Pt(99));
    list.SetItem(100, 1, Pt(500));  // Beyond the frames: ignored.
    list.SetItem(0, 2, Pt(500));    // Beyond the lists: ignored.
    struct Case {
        int frame;
        int list;
        int x;
    };
    const Case cases[] = {{0, 1, 10}, {7, 1, 17}, {8, 1, -1}, {500, 9, 99}, {7, 0, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(XOf(list.GetItem(c.frame, c.list)), c.x) << c.frame << "," << c.list;

    // Frame 0 also set single item 1, frame 7 did not: turning the list flat shows them.
    list.Resize(0, 1, 2, Pt(-1));
    EXPECT_EQ(XOf(list.GetItem(0, 1)), 10);
    EXPECT_EQ(XOf(list.GetItem(0, 0)), -1);
}

TEST(SectionedList, BadIndicesThrowInvalidArgument) {
    PointList list;
    list.Init(1, 10, 2, Pt(0));
    EXPECT_THROW(list.GetItem(-1, 0), CInvalidArgException);
    EXPECT_THROW(list.GetItem(0, -1), CInvalidArgException);
    EXPECT_THROW(list.SetItem(0, -1, Pt(1)), CInvalidArgException);
    EXPECT_THROW(list.SetItem(-3, 1, Pt(1)), CInvalidArgException);
    EXPECT_THROW(list.Init(1, -1, 2, Pt(0)), CInvalidArgException);
    EXPECT_THROW(list.Resize(1, 10, -2, Pt(0)), CInvalidArgException);

    PointList noLists;
    noLists.Init(1, 10, 0, Pt(0));
    EXPECT_THROW(noLists.GetItem(0, 0), CInvalidArgException);  // Clamping finds no list.

    // A list that was never set up answers with a default-constructed item, not its default.
    PointList fresh;
    EXPECT_EQ(fresh.GetItem(0, 0), CTrackPoint());
    fresh.SetItem(0, 0, Pt(3));
    EXPECT_EQ(fresh.GetItem(0, 0), CTrackPoint());
}

TEST(SectionedList, ResizeKeepsItemsAndFillsNewEntries) {
    PointList list;
    list.Init(1, 100, 2, Pt(0));
    list.SetItem(5, 0, Pt(50));
    list.SetItem(99, 1, Pt(991));
    list.Resize(1, 100, 3, Pt(-1));
    EXPECT_EQ(list.GetNumLists(), 3);
    EXPECT_EQ(XOf(list.GetItem(5, 0)), 50);
    EXPECT_EQ(XOf(list.GetItem(99, 1)), 991);
    EXPECT_EQ(Column(list, 2), std::vector<int>(100, -1));
    list.Resize(1, 120, 3, Pt(-1));
    EXPECT_EQ(list.GetNumFrames(), 120);
    EXPECT_EQ(XOf(list.GetItem(99, 1)), 991);
    EXPECT_EQ(XOf(list.GetItem(100, 1)), -1);
    EXPECT_EQ(XOf(list.GetItem(119, 0)), -1);
    EXPECT_EQ(XOf(list.GetItem(6, 0)), 0);  // Old default entries stay as they were.

    // A flat list that turns per-frame with an unchanged frame count gets entries everywhere.
    PointList flat;
    flat.Init(0, 4, 2, Pt(0));
    flat.Resize(1, 4, 2, Pt(8));
    EXPECT_EQ(Column(flat, 1), std::vector<int>(4, 8));
}

TEST(SectionedList, RangeFillResetAndRemove) {
    struct Case {
        const char* name;
        int first, last, list;
        std::vector<int> column;
        int returned;
    };
    const Case cases[] = {
        {"middle", 1, 3, 0, {0, 7, 7, 0, 0}, 3},
        {"to the end", 3, 5, 0, {0, 0, 0, 7, 7}, 5},
        {"negative first counts as 0", -4, 2, 0, {7, 7, 0, 0, 0}, 2},
        {"past the frames", 3, 6, 0, {0, 0, 0, 0, 0}, 6},
        {"empty span", 2, 2, 0, {0, 0, 0, 0, 0}, 2},
        {"list out of range", 0, 5, 2, {0, 0, 0, 0, 0}, 5},
    };
    for (const auto& c : cases) {
        PointList list;
        list.Init(1, 5, 2, Pt(0));
        EXPECT_EQ(list.SetRange(c.first, c.last, c.list, Pt(7)), c.returned) << c.name;
        EXPECT_EQ(Column(list, 0), c.column) << c.name;
    }

    PointList list;
    list.Init(1, 5, 3, Pt(0));
    const int xs[] = {0, 1, 0, 2, 3};
    for (int f = 0; f < 5; ++f)
        list.SetItem(f, 1, Pt(xs[f]));
    list.ResetAllButFirst(Pt(0));
    EXPECT_EQ(Column(list, 1), (std::vector<int>{0, 1, 0, 0, 0}));

    list.FillAll(Pt(4));
    EXPECT_EQ(Column(list, 2), std::vector<int>(5, 4));
    list.SetItem(2, 2, Pt(22));
    list.RemoveList(7);  // Clamped: removes list 2.
    EXPECT_EQ(list.GetNumLists(), 2);
    EXPECT_EQ(XOf(list.GetItem(2, 5)), 4);  // List index clamps to 1 now.
    list.RemoveList(-3);                    // Clamped: removes list 0.
    list.RemoveList(0);
    EXPECT_EQ(list.GetNumLists(), 0);
    list.RemoveList(0);  // Nothing left: no change.
    EXPECT_EQ(list.GetNumLists(), 0);

    // Outside per-frame mode these operations do nothing.
    PointList flat;
    flat.Init(0, 1, 2, Pt(1));
    flat.FillAll(Pt(9));
    EXPECT_EQ(flat.SetRange(0, 1, 0, Pt(9)), 1);
    EXPECT_EQ(XOf(flat.GetItem(0, 0)), 1);
}

TEST(SectionedList, CopyFromCopiesEverything) {
    PointList source;
    source.SetName("FC");
    source.Init(1, 6, 2, Pt(-1));
    source.SetItem(0, 0, Pt(1));
    source.SetItem(5, 1, Pt(51));
    PointList copy;
    copy.Init(0, 1, 9, Pt(3));
    copy.CopyFrom(source);
    EXPECT_EQ(copy.GetNumLists(), 2);
    EXPECT_EQ(copy.GetNumFrames(), 6);
    EXPECT_EQ(Column(copy, 0), Column(source, 0));
    EXPECT_EQ(Column(copy, 1), Column(source, 1));
    EXPECT_EQ(&copy.CopyFrom(copy), &copy);  // Copying onto itself keeps the items.
    EXPECT_EQ(XOf(copy.GetItem(5, 1)), 51);
}
