#include "tracking/sectioned/SectionedList.h"

#include "AllocationProbe.h"
#include "TestFiles.h"
#include "testsupport/IsolatedTest.h"
#include "tracking/records/CalibrationData.h"
#include "tracking/records/FeatureStyle.h"
#include "tracking/records/TrackFeature.h"
#include "tracking/records/TrackPoint.h"
#include "tracking/records/TrackRegion.h"
#include "tracking/records/TrackSample.h"
#include "tracking/sectioned/CheckedFile.h"

#include <functional>
#include <limits>
#include <memory>
#include <random>

namespace {

using IntList = CSectionedList<int32_t>;
using PointList = CSectionedList<CTrackPoint>;

// The record image of an item, as the list writes it.
template <class Item>
QByteArray RecordOf(const Item& item) {
    QByteArray bytes(SectionedItemTraits<Item>::kRecordSize, '\0');
    SectionedItemTraits<Item>::Store(item, reinterpret_cast<uint8_t*>(bytes.data()));
    return bytes;
}

// Both lists hold the same counts and items (compared by record image).
template <class Item>
bool SameContent(const CSectionedList<Item>& a, const CSectionedList<Item>& b) {
    if (a.GetNumLists() != b.GetNumLists() || a.GetNumFrames() != b.GetNumFrames())
        return false;
    for (int i = 0; i < a.GetNumLists(); ++i)
        for (int f = 0; f < std::max(a.GetNumFrames(), 1); ++f)
            if (RecordOf(a.GetItem(f, i)) != RecordOf(b.GetItem(f, i)))
                return false;
    return true;
}

CTrackPoint Pt(int x, int y = 0, int word1 = 0) {
    CTrackPoint p;
    p.SetPosition(x, y);
    p.SetWord1(word1);
    return p;
}

template <class Item>
CSectionedList<Item> Named(const char* name) {
    CSectionedList<Item> list;
    list.SetName(name);
    list.SetHeaderValue(0);
    return list;
}

}  // namespace

class SectionedFileTest : public IsolatedTest {
protected:
    QString Save(const std::function<void(CFile&)>& write) {
        const QString path = WorkPath("lists.bin");
        CFile f(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        write(f);
        f.Close();
        return path;
    }

    QString SaveBytes(const QByteArray& bytes) {
        const QString path = WorkPath("lists.bin");
        WriteFileBytes(path, bytes);
        return path;
    }

    template <class Item>
    DWORD Load(const QString& path, CSectionedList<Item>& list) {
        CCheckedFile f;
        EXPECT_TRUE(f.Open(path, CFile::modeRead | CFile::typeBinary));
        return list.ReadFromFile(f);
    }
};

TEST_F(SectionedFileTest, FlatIntegerListIsExactly176Bytes) {
    auto list = Named<int32_t>("LG");
    list.Init(0, 1, 1, 0);
    list.SetItem(0, 0, 7);
    const QString path = Save([&](CFile& f) { list.WriteToFile(f, 0, 0, 0); });
    const QByteArray expected = Bytes()
                                    .Stored("!SECTION=LG!")
                                    .Int32(0)
                                    .Int32(0)
                                    .Int32(1)
                                    .Stored("!SECTION=LG_SINGLEITEM")
                                    .Int32(0)
                                    .Int32(7)
                                    .Stored("?SECTION=LG_SINGLEITEM")
                                    .Stored("!SECTION=LG_SECONDARYITEM")
                                    .Int32(0)
                                    .Int32(0)
                                    .Stored("?SECTION=LG_SECONDARYITEM")
                                    .Stored("?SECTION=LG?")
                                    .Get();
    EXPECT_EQ(expected.size(), 176);
    EXPECT_EQ(ReadFileBytes(path), expected);

    // Reading stops in front of the closing marker, which is not checked.
    WriteFileBytes(path, expected + "trailing data");
    auto back = Named<int32_t>("LG");
    CCheckedFile f;
    ASSERT_TRUE(f.Open(path, CFile::modeRead | CFile::typeBinary));
    EXPECT_EQ(back.ReadFromFile(f), 0x3000u);
    EXPECT_EQ(f.GetPosition(), 176u - 17u);
    EXPECT_EQ(back.GetNumFrames(), 1);
    EXPECT_EQ(back.GetItem(0, 0), 7);
}

TEST_F(SectionedFileTest, OnlyItemsUnequalToTheDefaultAreWritten) {
    // Fields that equality ignores do not make an item worth writing.
    CCalibrationData typed;
    typed.SetType(1);
    typed.SetCoordNature(1);
    CTrackSample nan;
    nan.SetValue4(std::numeric_limits<double>::quiet_NaN());
    CTrackFeature padded;
    padded.SetName("  ");
    struct Case {
        const char* name;
        std::function<void(CFile&)> write;
        int32_t framesWithData;
        int32_t records;
    };
    const Case cases[] = {
        {"calibration differing in type and nature",
         [&](CFile& f) {
             auto list = Named<CCalibrationData>("CI");
             list.Init(1, 3, 1, CCalibrationData());
             list.SetItem(1, 0, typed);
             list.WriteToFile(f, 0, 2, 0);
         },
         0, 0},
        {"feature whose name is blanks",
         [&](CFile& f) {
             auto list = Named<CTrackFeature>("FO");
             list.Init(1, 3, 1, CTrackFeature());
             list.SetItem(2, 0, padded);
             list.WriteToFile(f, 0, 2, 0);
         },
         0, 0},
        {"sample holding NaN",
         [&](CFile& f) {
             auto list = Named<CTrackSample>("TS");
             list.Init(1, 3, 2, CTrackSample());
             list.SetItem(2, 1, nan);
             list.WriteToFile(f, 0, 2, 0);
         },
         1, 1},
        {"integers equal to the default",
         [&](CFile& f) {
             auto list = Named<int32_t>("LG");
             list.Init(1, 3, 2, 0);
             list.WriteToFile(f, 0, 2, 0);
         },
         3, 6},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = ReadFileBytes(Save(c.write));
        const qsizetype list = bytes.indexOf("_LIST");
        ASSERT_GE(list, 0) << c.name;
        const QByteArray counts = bytes.mid(list + 6 + 8, 8);
        EXPECT_EQ(counts, Bytes().Int32(c.framesWithData).Int32(c.records).Get()) << c.name;
    }
}

TEST_F(SectionedFileTest, PerFrameSectionLayout) {
    auto list = Named<CTrackPoint>("FC");
    list.Init(1, 3, 2, CTrackPoint());
    list.SetItem(1, 1, Pt(5, 6, 2));
    list.SetItem(2, 0, Pt(-8));
    const QByteArray none = RecordOf(CTrackPoint());
    const QByteArray expected = Bytes()
                                    .Stored("!SECTION=FC!")
                                    .Int32(0)
                                    .Int32(1)
                                    .Int32(2)
                                    .Stored("!SECTION=FC_SINGLEITEM")
                                    .Int32(0)
                                    .Raw(none)
                                    .Int32(1)
                                    .Raw(none)
                                    .Stored("?SECTION=FC_SINGLEITEM")
                                    .Stored("!SECTION=FC_SECONDARYITEM")
                                    .Int32(0)
                                    .Raw(none)
                                    .Int32(1)
                                    .Raw(none)
                                    .Stored("?SECTION=FC_SECONDARYITEM")
                                    .Stored("!SECTION=FC_LIST")
                                    .Int32(2)  // N
                                    .Int32(3)  // F
                                    .Int32(2)  // D
                                    .Int32(2)  // R
                                    .Stored("!SECTION=FC_ITEMS")
                                    .Int32(1)
                                    .Int32(1)
                                    .Raw(RecordOf(Pt(5, 6, 2)))
                                    .Int32(2)
                                    .Int32(0)
                                    .Raw(RecordOf(Pt(-8)))
                                    .Int32(-1)
                                    .Int32(-1)
                                    .Raw(none)
                                    .Stored("?SECTION=FC_ITEMS")
                                    .Stored("?SECTION=FC_LIST")
                                    .Stored("?SECTION=FC?")
                                    .Get();
    const QString path = Save([&](CFile& f) { list.WriteToFile(f, 0, 2, 0); });
    EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST_F(SectionedFileTest, AllDefaultPerFrameListHasNoItemsSubsection) {
    auto list = Named<CTrackPoint>("FC");
    list.Init(1, 50, 3, Pt(4));
    const QString path = Save([&](CFile& f) { list.WriteToFile(f, 0, 49, 0); });
    const QByteArray bytes = ReadFileBytes(path);
    EXPECT_FALSE(bytes.contains("_ITEMS"));
    EXPECT_TRUE(bytes.contains(
        Bytes().Stored("!SECTION=FC_LIST").Int32(3).Int32(50).Int32(0).Int32(0).Get()));

    auto back = Named<CTrackPoint>("FC");
    back.Init(1, 5, 1, Pt(4));
    back.SetItem(3, 0, Pt(99));
    EXPECT_EQ(Load(path, back), 0x7000u);
    EXPECT_TRUE(SameContent(back, list));
}

TEST_F(SectionedFileTest, PerFrameSectionWithoutFramesAnswersItsSingleItems) {
    // No list the program makes has zero frames, but a file may say so.
    const QByteArray bytes = Bytes()
                                 .Stored("!SECTION=FC!")
                                 .Int32(0)
                                 .Int32(1)
                                 .Int32(2)
                                 .Stored("!SECTION=FC_SINGLEITEM")
                                 .Int32(0)
                                 .Raw(RecordOf(Pt(7)))
                                 .Int32(1)
                                 .Raw(RecordOf(Pt(8)))
                                 .Stored("?SECTION=FC_SINGLEITEM")
                                 .Stored("!SECTION=FC_SECONDARYITEM")
                                 .Int32(0)
                                 .Raw(RecordOf(CTrackPoint()))
                                 .Int32(1)
                                 .Raw(RecordOf(CTrackPoint()))
                                 .Stored("?SECTION=FC_SECONDARYITEM")
                                 .Stored("!SECTION=FC_LIST")
                                 .Int32(2)
                                 .Int32(0)
                                 .Int32(0)
                                 .Int32(0)
                                 .Stored("?SECTION=FC_LIST")
                                 .Stored("?SECTION=FC?")
                                 .Get();
    auto list = Named<CTrackPoint>("FC");
    EXPECT_EQ(Load(SaveBytes(bytes), list), 0x7000u);
    EXPECT_EQ(list.GetNumFrames(), 0);
    EXPECT_EQ(list.GetItem(0, 0), Pt(7));
    EXPECT_EQ(list.GetItem(5, 1), Pt(8));
}

TEST_F(SectionedFileTest, FlatAndUninitialisedListsReadAsOneFrame) {
    auto flat = Named<CTrackPoint>("CA");
    flat.Init(0, 20, 2, Pt(1));
    auto fresh = Named<CTrackPoint>("XX");
    const QString path = Save([&](CFile& f) {
        flat.WriteToFile(f, 0, 19, 0);
        fresh.WriteToFile(f, 0, -1, 0);
    });
    EXPECT_FALSE(ReadFileBytes(path).contains("_LIST"));
    auto flatBack = Named<CTrackPoint>("CA");
    auto freshBack = Named<CTrackPoint>("XX");
    EXPECT_EQ(Load(path, flatBack), 0x3000u);
    EXPECT_EQ(Load(path, freshBack), 0x3000u);
    EXPECT_EQ(flatBack.GetNumFrames(), 1);
    EXPECT_EQ(flatBack.GetItem(0, 1), Pt(1));
    EXPECT_EQ(freshBack.GetNumLists(), 0);
}

TEST_F(SectionedFileTest, SectionsInAnyOrderAndFirstDuplicateWins) {
    auto fo = Named<CTrackFeature>("FO");
    CTrackFeature feature;
    feature.SetName("Hub");
    fo.Init(0, 1, 1, feature);
    auto fc = Named<CTrackPoint>("FC");
    fc.Init(1, 4, 1, CTrackPoint());
    fc.SetItem(2, 0, Pt(20));
    auto fcLater = Named<CTrackPoint>("FC");
    fcLater.Init(1, 4, 1, Pt(9));
    const QString path = Save([&](CFile& f) {
        f.Write("junk ahead", 10);
        fo.WriteToFile(f, 0, 0, 0);
        fc.WriteToFile(f, 0, 3, 0);
        fcLater.WriteToFile(f, 0, 3, 0);
        f.Write("junk behind", 11);
    });
    auto foBack = Named<CTrackFeature>("FO");
    auto fcBack = Named<CTrackPoint>("FC");
    auto frBack = Named<CTrackRegion>("FR");
    EXPECT_EQ(Load(path, fcBack), 0x7000u);
    EXPECT_EQ(Load(path, foBack), 0x3000u);
    EXPECT_EQ(Load(path, frBack), kSectionFailed);
    EXPECT_TRUE(SameContent(fcBack, fc));
    QString name;
    foBack.GetItem(0, 0).GetName(&name);
    EXPECT_EQ(name, QString("Hub"));
}

TEST_F(SectionedFileTest, StepSkipsFramesAndReaderPacksThem) {
    auto list = Named<int32_t>("LG");
    list.Init(1, 10, 2, 0);
    for (int f = 0; f < 10; ++f) {
        list.SetItem(f, 0, 100 + f);
        list.SetItem(f, 1, 200 + f);
    }
    const QString path = Save([&](CFile& f) { list.WriteToFile(f, 0, 9, 2); });
    EXPECT_TRUE(ReadFileBytes(path).contains(
        Bytes().Stored("!SECTION=LG_LIST").Int32(2).Int32(4).Int32(4).Int32(8).Get()));
    auto back = Named<int32_t>("LG");
    EXPECT_EQ(Load(path, back), 0x7000u);
    EXPECT_EQ(back.GetNumFrames(), 4);
    const int frames[] = {0, 3, 6, 9};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(back.GetItem(k, 0), 100 + frames[k]);
        EXPECT_EQ(back.GetItem(k, 1), 200 + frames[k]);
    }
}

TEST_F(SectionedFileTest, EmptyListsAndBadRangesAreHandled) {
    auto none = Named<int32_t>("LG");
    none.Init(1, 5, 0, 0);
    const QString path = Save([&](CFile& f) { none.WriteToFile(f, 0, 4, 0); });
    EXPECT_TRUE(ReadFileBytes(path).contains(
        Bytes().Stored("!SECTION=LG_LIST").Int32(0).Int32(5).Int32(0).Int32(0).Get()));
    auto back = Named<int32_t>("LG");
    EXPECT_EQ(Load(path, back), 0x7000u);
    EXPECT_EQ(back.GetNumLists(), 0);

    // A range beyond the list's frames is refused before anything is written.
    auto short_ = Named<int32_t>("LG");
    short_.Init(1, 5, 1, 0);
    const QString refused = WorkPath("refused.bin");
    CFile f(refused, CFile::modeCreate | CFile::modeWrite);
    EXPECT_THROW(short_.WriteToFile(f, 0, 5, 0), CInvalidArgException);
    EXPECT_THROW(short_.WriteToFile(f, -1, 3, 0), CInvalidArgException);
    f.Close();
    EXPECT_TRUE(ReadFileBytes(refused).isEmpty());
}

// Round trip of every item type through its section, per-frame and flat.
template <class Item>
Item Sample(int n);
template <>
int32_t Sample<int32_t>(int n) {
    return n * 7 + 1;
}
template <>
CTrackPoint Sample<CTrackPoint>(int n) {
    return Pt(n, -n, 2);
}
template <>
CTrackRegion Sample<CTrackRegion>(int n) {
    CTrackRegion r;
    r.SetRect(n, n + 1, n + 10, n + 20);
    r.SetValue7(2);
    return r;
}
template <>
CTrackFeature Sample<CTrackFeature>(int n) {
    CTrackFeature f;
    f.SetName(QString("Feature %1").arg(n));
    f.SetParam6(1);
    f.SetLinkA(n);
    return f;
}
template <>
CTrackSample Sample<CTrackSample>(int n) {
    CTrackSample s;
    s.SetEnabled(1);
    s.SetValue1(n * 0.5);
    s.SetFlag5(1);
    return s;
}
template <>
CCalibrationData Sample<CCalibrationData>(int n) {
    CCalibrationData c;
    c.SetDistance(n + 0.5);
    c.SetUnits(n % 5);
    c.SetSecondPoint(n, 100);
    return c;
}
template <>
CFeatureStyle Sample<CFeatureStyle>(int n) {
    CFeatureStyle s;
    s.SetColour(static_cast<COLORREF>(n));
    s.SetFontName(QString("Font %1").arg(n));
    return s;
}

template <class Item>
class SectionedRoundTrip : public SectionedFileTest {};

using ItemTypes = ::testing::Types<int32_t, CTrackPoint, CTrackRegion, CTrackFeature, CTrackSample,
                                   CCalibrationData, CFeatureStyle>;
TYPED_TEST_SUITE(SectionedRoundTrip, ItemTypes);

TYPED_TEST(SectionedRoundTrip, ListsComeBackUnchanged) {
    auto perFrame = Named<TypeParam>("PF");
    perFrame.Init(1, 7, 3, TypeParam{});
    perFrame.SetItem(0, 2, Sample<TypeParam>(1));
    perFrame.SetItem(4, 0, Sample<TypeParam>(2));
    perFrame.SetItem(6, 1, Sample<TypeParam>(3));
    perFrame.SetItem(6, 2, Sample<TypeParam>(4));
    auto flat = Named<TypeParam>("FL");
    flat.Init(0, 1, 2, Sample<TypeParam>(5));
    flat.SetItem(0, 1, Sample<TypeParam>(6));
    const QString path = this->Save([&](CFile& f) {
        perFrame.WriteToFile(f, 0, perFrame.GetNumFrames() - 1, 0);
        flat.WriteToFile(f, 0, 0, 0);
    });
    auto perFrameBack = Named<TypeParam>("PF");
    auto flatBack = Named<TypeParam>("FL");
    EXPECT_EQ(this->Load(path, perFrameBack), 0x7000u);
    EXPECT_EQ(this->Load(path, flatBack), 0x3000u);
    EXPECT_TRUE(SameContent(perFrameBack, perFrame));
    EXPECT_TRUE(SameContent(flatBack, flat));
}

TEST_F(SectionedFileTest, DamagedSectionsReportWhereTheyBrokeOff) {
    auto list = Named<int32_t>("FC");
    list.Init(1, 4, 2, 0);
    list.SetItem(1, 0, 11);
    list.SetItem(3, 1, 31);
    const QString path = Save([&](CFile& f) { list.WriteToFile(f, 0, 3, 0); });
    const QByteArray good = ReadFileBytes(path);
    struct Case {
        const char* name;
        QByteArray before;
        QByteArray after;
        DWORD status;
    };
    const Case cases[] = {
        {"no damage", "", "", 0x7000},
        {"opening marker", "!SECTION=FC!", "!SECTION=FX!", 0x0004},
        {"single items opening", "!SECTION=FC_SINGLEITEM", "!SECTION=FC_SINGLEITEX", 0x0004},
        {"single items closing", "?SECTION=FC_SINGLEITEM", "?SECTION=FC_SINGLEITEX", 0x0004},
        {"secondary opening", "!SECTION=FC_SECONDARYITEM", "!SECTION=FC_SECONDARYITEX", 0x1004},
        {"secondary closing", "?SECTION=FC_SECONDARYITEM", "?SECTION=FC_SECONDARYITEX", 0x3004},
        {"list opening", "!SECTION=FC_LIST", "!SECTION=FC_LIXT", 0x3004},
        {"items opening", "!SECTION=FC_ITEMS", "!SECTION=FC_ITEMX", 0x3004},
        {"items closing: not checked", "?SECTION=FC_ITEMS", "?SECTION=FC_ITEMX", 0x7000},
        {"section closing: not checked", "?SECTION=FC?", "?SECTION=FX?", 0x7000},
    };
    for (const auto& c : cases) {
        QByteArray bytes = good;
        if (!c.before.isEmpty())
            bytes.replace(c.before, c.after);
        auto back = Named<int32_t>("FC");
        EXPECT_EQ(Load(SaveBytes(bytes), back), c.status) << c.name;
    }

    // A record index out of range ends the records; those read before it stay.
    QByteArray bytes = good;
    const QByteArray secondRecord = Bytes().Int32(3).Int32(1).Int32(31).Get();
    bytes.replace(secondRecord, Bytes().Int32(4).Int32(1).Int32(31).Get());
    auto back = Named<int32_t>("FC");
    EXPECT_EQ(Load(SaveBytes(bytes), back), 0x3000u);
    EXPECT_EQ(back.GetItem(1, 0), 11);
    EXPECT_EQ(back.GetItem(3, 1), 0);

    // A marker body at the very start has no room for its length word.
    auto atStart = Named<int32_t>("FC");
    EXPECT_EQ(Load(SaveBytes(good.mid(4)), atStart), kSectionFailed);
}

TEST_F(SectionedFileTest, HostileCountsFailWithoutLargeAllocations) {
    // The head of an integer section with N lists and no entries behind it.
    auto head = [](int32_t mode, int32_t lists) {
        return Bytes().Stored("!SECTION=LG!").Int32(0).Int32(mode).Int32(lists);
    };
    // A complete head with one list and an empty _LIST sub-section start.
    auto listHead = [&](int32_t frames, int32_t withData, int32_t records) {
        return head(1, 1)
            .Stored("!SECTION=LG_SINGLEITEM")
            .Int32(0)
            .Int32(5)
            .Stored("?SECTION=LG_SINGLEITEM")
            .Stored("!SECTION=LG_SECONDARYITEM")
            .Int32(0)
            .Int32(0)
            .Stored("?SECTION=LG_SECONDARYITEM")
            .Stored("!SECTION=LG_LIST")
            .Int32(1)
            .Int32(frames)
            .Int32(withData)
            .Int32(records);
    };
    struct Case {
        const char* name;
        QByteArray file;
        DWORD status;
    };
    const Case cases[] = {
        {"huge list count", head(1, 0x7FFFFFFF).Get(), 0x0004},
        {"negative list count", head(1, -3).Get(), 0x0004},
        {"more lists than bytes", head(0, 100).Stored("!SECTION=LG_SINGLEITEM").Get(), 0x0004},
        {"huge marker length", head(0, 0).Int32(0x7FFFFFF0).Raw("!SECTION=LG_SINGLEITEM").Get(),
         0x0004},
        {"huge frame count", listHead(0x7FFFFFFF, 0, 0).Get(), 0x3004},
        {"negative frame count", listHead(-5, 0, 0).Get(), 0x3004},
        {"huge record count, file ends",
         listHead(3, 1, 0x7FFFFFFF).Stored("!SECTION=LG_ITEMS").Int32(1).Int32(0).Int32(9).Get(),
         0x3004},
        {"record cut short",
         listHead(3, 1, 1)
             .Stored("!SECTION=LG_ITEMS")
             .Int32(1)
             .Int32(0)
             .Raw(QByteArray("\x09\0", 2))
             .Get(),
         0x3004},
    };
    {
        AllocationProbe probe;  // The probe itself sees allocations.
        auto block = std::make_unique<std::vector<char>>(size_t{3} << 20);
        EXPECT_GE(probe.Largest(), block->size());
    }
    for (const auto& c : cases) {
        const QString path = SaveBytes(c.file);
        auto list = Named<int32_t>("LG");
        AllocationProbe probe;
        EXPECT_EQ(Load(path, list), c.status) << c.name;
        EXPECT_LT(probe.Largest(), 1u << 20) << c.name;
    }

    // Records read before the file ended are kept.
    auto list = Named<int32_t>("LG");
    Load(SaveBytes(cases[6].file), list);
    EXPECT_EQ(list.GetItem(1, 0), 9);
}

class SectionedDamageTest : public SectionedFileTest {
protected:
    void SetUp() override {
        SectionedFileTest::SetUp();
        m_fc.Init(1, 40, 3, CTrackPoint());
        for (int f = 0; f < 40; f += 3)
            m_fc.SetItem(f, f % 3, Pt(f, 2 * f, 2));
        m_lg.Init(0, 1, 4, 0);
        for (int i = 0; i < 4; ++i)
            m_lg.SetItem(0, i, i * i);
        CCalibrationData calibration;
        calibration.SetDistance(12.5);
        m_ci.Init(0, 1, 1, calibration);
        const QString path = Save([&](CFile& f) {
            m_fc.WriteToFile(f, 0, 39, 0);
            m_lg.WriteToFile(f, 0, 0, 0);
            m_ci.WriteToFile(f, 0, 0, 0);
        });
        m_good = ReadFileBytes(path);
    }

    // Reads every list from bytes: a list is either reported failed or comes back whole, and no
    // allocation exceeds what the file or the list it produced accounts for.
    void ReadAll(const QByteArray& bytes, const char* what, size_t at) {
        const QString path = SaveBytes(bytes);
        CheckOne(path, m_fc, "FC", what, at, bytes.size());
        CheckOne(path, m_lg, "LG", what, at, bytes.size());
        CheckOne(path, m_ci, "CI", what, at, bytes.size());
    }

    template <class Item>
    void CheckOne(const QString& path, const CSectionedList<Item>& original, const char* name,
                  const char* what, size_t at, qsizetype fileSize) {
        auto back = Named<Item>(name);
        AllocationProbe probe;
        const DWORD status = Load(path, back);
        const size_t largest = probe.Largest();
        if (!(status & kSectionFailed) && m_intact) {
            EXPECT_TRUE(SameContent(back, original)) << what << " " << at;
        }
        const uint64_t lists = static_cast<uint64_t>(std::max(back.GetNumLists(), 0));
        const uint64_t frames = static_cast<uint64_t>(std::max(back.GetNumFrames(), 0));
        EXPECT_LE(lists, static_cast<uint64_t>(fileSize)) << what << " " << at;
        EXPECT_LE(lists * frames * sizeof(Item), kMaxFrameStorageBytes) << what << " " << at;
        const size_t allowed = (1u << 20) + frames * sizeof(Item) +
                               lists * sizeof(std::vector<Item>) +
                               4 * static_cast<size_t>(fileSize);
        EXPECT_LE(largest, allowed) << what << " " << at;
    }

    PointList m_fc = Named<CTrackPoint>("FC");
    IntList m_lg = Named<int32_t>("LG");
    CSectionedList<CCalibrationData> m_ci = Named<CCalibrationData>("CI");
    QByteArray m_good;
    bool m_intact = true;  // Whether a success must mean the original content.
};

TEST_F(SectionedDamageTest, FileCutAtEveryOffset) {
    for (qsizetype cut = 0; cut <= m_good.size(); ++cut)
        ReadAll(m_good.left(cut), "cut at", static_cast<size_t>(cut));
}

TEST_F(SectionedDamageTest, RandomMutationsNeverCrash) {
    m_intact = false;  // A changed item byte is still a well-formed file.
    std::mt19937 random(20261209);
    std::uniform_int_distribution<qsizetype> position(0, m_good.size() - 1);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> count(1, 4);
    for (size_t round = 0; round < 3000; ++round) {
        QByteArray bytes = m_good;
        for (int n = count(random); n > 0; --n)
            bytes[position(random)] = static_cast<char>(byte(random));
        ReadAll(bytes, "mutation", round);
    }
}
