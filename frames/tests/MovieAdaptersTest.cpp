#include "frames/LutParamSetList.h"
#include "frames/MovieAdapter.h"
#include "frames/MovieRef.h"
#include "frames/MovieSettingsList.h"
#include "platform/framework/File.h"
#include "platform/framework/Wnd.h"

#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

CLutParamSet MakeSet(int seed) {
    CLutParamSet set;
    set.SetBrightness(0, seed);
    set.SetContrast(1, -seed);
    set.SetGamma(2, 1.0 + seed / 8.0);
    set.SetReverse(1, seed % 2);
    set.SetColor2BW(seed % 3 == 0 ? 1 : 0);
    set.SetRGBScale(255 - seed, 128, seed);
    set.SetLabel(seed * 10);
    return set;
}

bool SameRecord(const CLutParamSet& a, const CLutParamSet& b) {
    return SectionedItemTraits<CLutParamSet>::Equal(a, b);
}

// A video window as the movie adapters see it.
class FakeVidView : public CWnd, public IMovieView {
public:
    void MovieSetCurrentFrame(int frame, int force) override {
        calls.push_back({frame, force});
        current = frame;
    }
    void MovieSetFrame(int frame) override {
        calls.push_back({frame, -1});
        current = frame;
    }
    int MovieGetCurrentFrame() override { return current; }
    int MovieGetSourceKind() override { return sourceKind; }
    CFrameSourcePtr MovieGetFrameSource() override { return CFrameSourcePtr(); }
    int MovieGetInPoint(int* frame) override {
        *frame = inPoint.second;
        return inPoint.first;
    }
    int MovieGetOutPoint(int* frame) override {
        *frame = outPoint.second;
        return outPoint.first;
    }
    void MovieGetDisplayLuts(CLutParamSet* colour, CLutParamSet* bw) override {
        *colour = luts.first;
        *bw = luts.second;
    }
    void MovieSetDisplayLuts(const CLutParamSet& colour, const CLutParamSet& bw) override {
        luts = {colour, bw};
    }
    void MovieSetFrameSource(const CFrameSourcePtr&) override {}
    void MovieSetGroupMember(int, int) override {}
    void MovieSetFrameChangedCallback(FrameChangedFn, void*) override {}
    void MovieNotifyFrameChanged() override {}
    void MovieSetFrameCount(int) override {}

    std::vector<std::pair<int, int>> calls;  // frame and force; -1 for the own set-frame
    int current = 0;
    int sourceKind = 0;
    std::pair<int, int> inPoint{0, 0};
    std::pair<int, int> outPoint{0, 0};
    std::pair<CLutParamSet, CLutParamSet> luts;
};

}  // namespace

class MovieSettingsListTest : public IsolatedTest {
protected:
    // Writes the pairs through the sectioned list as the program's own section, behind a
    // section of another name, and loads them into list.
    HRESULT LoadPairs(const std::vector<std::pair<CLutParamSet, CLutParamSet>>& pairs,
                      CMovieSettingsList& list) {
        const QString path = WorkPath("pairs.bin");
        {
            CFile out(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
            CLutParamSetList other;
            other.SetName("BW");
            other.Init(CLutParamSetList::kFlat, 1, 2, MakeSet(99));
            other.WriteToFile(out);
            CLutParamSetList bl;
            bl.SetName("BL");
            const int count = static_cast<int>(pairs.size());
            bl.Init(CLutParamSetList::kPerFrame, count, count > 0 ? 2 : 0, CLutParamSet());
            for (int i = 0; i < count; ++i) {
                bl.SetItem(i, 0, pairs[i].first);
                bl.SetItem(i, 1, pairs[i].second);
            }
            bl.WriteToFile(out);
        }
        CFile in(path, CFile::modeRead | CFile::typeBinary);
        return list.Load(in);
    }

    static std::vector<std::pair<CLutParamSet, CLutParamSet>> Pairs(CMovieSettingsList& list) {
        int count = 0;
        EXPECT_EQ(list.GetCount(&count), S_OK);
        std::vector<std::pair<CLutParamSet, CLutParamSet>> pairs;
        for (int i = 0; i < count; ++i) {
            std::unique_ptr<CLutParamSet> first;
            std::unique_ptr<CLutParamSet> second;
            EXPECT_EQ(list.GetItem(i, &first, &second), S_OK);
            pairs.emplace_back(*first, *second);
        }
        return pairs;
    }
};

TEST_F(MovieSettingsListTest, GetItemHandsOutOwnedCopiesAndRefusesBadIndices) {
    CMovieSettingsList list;
    ASSERT_EQ(LoadPairs({{MakeSet(1), MakeSet(2)}, {MakeSet(3), MakeSet(4)}}, list), S_OK);
    int count = 0;
    ASSERT_EQ(list.GetCount(&count), S_OK);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(list.GetCount(nullptr), E_POINTER);

    for (int index : {count, -1, 1000}) {
        auto first = std::make_unique<CLutParamSet>();
        auto second = std::make_unique<CLutParamSet>();
        EXPECT_EQ(list.GetItem(index, &first, &second), E_FAIL) << index;
        EXPECT_EQ(first, nullptr);
        EXPECT_EQ(second, nullptr);
    }
    auto first = std::make_unique<CLutParamSet>();
    EXPECT_EQ(list.GetItem(0, &first, nullptr), E_POINTER);
    EXPECT_EQ(first, nullptr);

    std::unique_ptr<CLutParamSet> second;
    ASSERT_EQ(list.GetItem(1, &first, &second), S_OK);
    EXPECT_TRUE(SameRecord(*first, MakeSet(3)));
    EXPECT_TRUE(SameRecord(*second, MakeSet(4)));
    // A copy: changing it leaves the list's set alone.
    first->SetBrightness(0, 77);
    std::unique_ptr<CLutParamSet> again;
    ASSERT_EQ(list.GetItem(1, &again, &second), S_OK);
    EXPECT_TRUE(SameRecord(*again, MakeSet(3)));

    EXPECT_EQ(list.Clear(), S_OK);
    list.GetCount(&count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(list.GetItem(0, &first, &second), E_FAIL);
}

TEST_F(MovieSettingsListTest, SaveAndLoadRoundTripThroughTheBLSection) {
    // Sets equal to the default are stored too; so is a label-only difference.
    CLutParamSet labelled;
    labelled.SetLabel(5);
    const std::vector<std::vector<std::pair<CLutParamSet, CLutParamSet>>> cases = {
        {},
        {{MakeSet(1), MakeSet(2)}},
        {{MakeSet(1), CLutParamSet()}, {CLutParamSet(), labelled}, {MakeSet(6), MakeSet(7)}},
    };
    for (const auto& pairs : cases) {
        SCOPED_TRACE(pairs.size());
        CMovieSettingsList list;
        ASSERT_EQ(LoadPairs(pairs, list), S_OK);

        const QString path = WorkPath("saved.bin");
        {
            CFile out(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
            const char lead[] = "project data before the section";
            out.Write(lead, sizeof lead);
            ASSERT_EQ(list.Save(out), S_OK);
        }
        CMovieSettingsList back;
        CFile in(path, CFile::modeRead | CFile::typeBinary);
        ASSERT_EQ(back.Load(in), S_OK);
        const auto loaded = Pairs(back);
        ASSERT_EQ(loaded.size(), pairs.size());
        for (size_t i = 0; i < pairs.size(); ++i) {
            EXPECT_TRUE(SameRecord(loaded[i].first, pairs[i].first)) << i;
            EXPECT_TRUE(SameRecord(loaded[i].second, pairs[i].second)) << i;
        }
    }
}

TEST_F(MovieSettingsListTest, AFailedWriteIsReported) {
    CMovieSettingsList list;
    ASSERT_EQ(LoadPairs({{MakeSet(1), MakeSet(2)}}, list), S_OK);
    CFile readOnly(WorkPath("pairs.bin"), CFile::modeRead | CFile::typeBinary);
    EXPECT_EQ(list.Save(readOnly), E_FAIL);
}

TEST_F(MovieSettingsListTest, AFileWithoutTheSectionFailsAndKeepsTheList) {
    CMovieSettingsList list;
    ASSERT_EQ(LoadPairs({{MakeSet(1), MakeSet(2)}}, list), S_OK);
    const QString path = WorkPath("other.bin");
    {
        CFile out(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        CLutParamSetList other;
        other.SetName("BW");
        other.Init(CLutParamSetList::kFlat, 1, 2, MakeSet(3));
        other.WriteToFile(out);
    }
    CFile in(path, CFile::modeRead | CFile::typeBinary);
    EXPECT_EQ(list.Load(in), E_FAIL);
    const auto kept = Pairs(list);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(SameRecord(kept[0].first, MakeSet(1)));
}

TEST_F(MovieSettingsListTest, FindGivesTheFirstPairEqualInBothSets) {
    CMovieSettingsList list;
    ASSERT_EQ(
        LoadPairs({{MakeSet(1), MakeSet(2)}, {MakeSet(3), MakeSet(4)}, {MakeSet(3), MakeSet(4)}},
                  list),
        S_OK);
    const CLutParamSet a = MakeSet(3);
    const CLutParamSet b = MakeSet(4);
    int index = -5;
    EXPECT_EQ(list.Find(&a, &b, &index), S_OK);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(list.Find(&b, &a, &index), E_FAIL);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(list.Find(nullptr, &b, &index), E_POINTER);
    EXPECT_EQ(list.Find(&a, &b, nullptr), E_POINTER);
}

class MovieAdapterTest : public IsolatedTest {};

TEST_F(MovieAdapterTest, MovieRefKeepsOnlyVideoViews) {
    CMovieRef ref;
    CWnd plain;
    EXPECT_FALSE(ref.SetView(&plain));
    EXPECT_EQ(ref.GetView(), nullptr);
    FakeVidView view;
    EXPECT_TRUE(ref.SetView(&view));
    EXPECT_EQ(ref.GetView(), static_cast<IMovieView*>(&view));
    EXPECT_FALSE(ref.SetView(nullptr));
    EXPECT_EQ(ref.GetView(), nullptr);
    EXPECT_EQ(ref.CreateMovieAdapter(nullptr), E_POINTER);

    // A fresh adapter works on an empty source.
    std::unique_ptr<CMovieAdapter> adapter;
    ASSERT_EQ(ref.CreateMovieAdapter(&adapter), S_OK);
    int value = 0;
    EXPECT_EQ(adapter->GetFrameCount(&value), S_OK);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(adapter->GetTag(&value), S_OK);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(adapter->GetCurrentFrame(&value), S_OK);
    EXPECT_EQ(value, -1);
    EXPECT_EQ(adapter->ReadFrame(0), CMovieAdapter::kReadFrameResult);
    QString date;
    QString time;
    EXPECT_EQ(adapter->GetStartTimeText(&date, &time), E_FAIL);
    bool live = false;
    EXPECT_EQ(adapter->IsLiveSource(&live), E_FAIL);
}

TEST_F(MovieAdapterTest, SynchronisedAdapterFollowsAndMovesItsView) {
    FakeVidView view;
    view.current = 14;
    CMovieRef ref;
    ASSERT_TRUE(ref.SetView(&view));
    std::unique_ptr<CMovieAdapter> loose;
    ASSERT_EQ(ref.CreateMovieAdapter(&loose), S_OK);
    ref.SetSyncWithSource(true);
    std::unique_ptr<CMovieAdapter> synced;
    ASSERT_EQ(ref.CreateMovieAdapter(&synced), S_OK);

    int frame = 0;
    loose->SetCurrentFrame(3);
    loose->GetCurrentFrame(&frame);
    EXPECT_EQ(frame, 3);
    EXPECT_TRUE(view.calls.empty());
    int first = 0;
    int last = 0;
    EXPECT_EQ(loose->GetViewFrameRange(&first, &last), E_FAIL);

    synced->GetCurrentFrame(&frame);
    EXPECT_EQ(frame, 14);
    synced->SetCurrentFrame(20);
    synced->SetMoveViewItself(false);
    synced->SetCurrentFrame(21);
    EXPECT_EQ(view.calls, (std::vector<std::pair<int, int>>{{20, -1}, {21, 0}}));

    // Points that are not enabled give the whole range as 0..-1.
    EXPECT_EQ(synced->GetViewFrameRange(&first, &last), S_OK);
    EXPECT_EQ(std::make_pair(first, last), std::make_pair(0, -1));
    view.inPoint = {1, 4};
    view.outPoint = {1, 9};
    EXPECT_EQ(synced->GetViewFrameRange(&first, &last), S_OK);
    EXPECT_EQ(std::make_pair(first, last), std::make_pair(4, 9));
    EXPECT_EQ(synced->GetViewFrameRange(nullptr, &last), E_POINTER);

    bool live = false;
    EXPECT_EQ(synced->IsLiveSource(&live), S_OK);
    EXPECT_TRUE(live);
    view.sourceKind = 1;
    synced->IsLiveSource(&live);
    EXPECT_FALSE(live);
}

TEST_F(MovieAdapterTest, LutSetsAreOwnedCopiesTakenFromTheViewWhenAsked) {
    FakeVidView view;
    view.luts = {MakeSet(1), MakeSet(2)};
    CMovieRef ref;
    ASSERT_TRUE(ref.SetView(&view));
    std::unique_ptr<CMovieAdapter> own;
    ASSERT_EQ(ref.CreateMovieAdapter(&own), S_OK);
    ref.SetUseViewLut(true);
    std::unique_ptr<CMovieAdapter> viewLut;
    ASSERT_EQ(ref.CreateMovieAdapter(&viewLut), S_OK);

    std::unique_ptr<CLutParamSet> colour;
    std::unique_ptr<CLutParamSet> bw;
    EXPECT_EQ(own->GetLutSets(&colour, nullptr), E_POINTER);
    ASSERT_EQ(own->GetLutSets(&colour, &bw), S_OK);
    EXPECT_TRUE(SameRecord(*colour, CLutParamSet()));
    ASSERT_EQ(viewLut->GetLutSets(&colour, &bw), S_OK);
    EXPECT_TRUE(SameRecord(*colour, MakeSet(1)));
    EXPECT_TRUE(SameRecord(*bw, MakeSet(2)));

    const CLutParamSet a = MakeSet(5);
    const CLutParamSet b = MakeSet(6);
    EXPECT_EQ(own->SetLutSets(&a, nullptr), E_POINTER);
    ASSERT_EQ(own->SetLutSets(&a, &b), S_OK);
    EXPECT_TRUE(SameRecord(view.luts.first, MakeSet(1))) << "only a view-LUT adapter sets the view";
    ASSERT_EQ(own->GetLutSets(&colour, &bw), S_OK);
    EXPECT_TRUE(SameRecord(*bw, b));
    ASSERT_EQ(viewLut->SetLutSets(&a, &b), S_OK);
    EXPECT_TRUE(SameRecord(view.luts.first, a));
    EXPECT_TRUE(SameRecord(view.luts.second, b));
}
