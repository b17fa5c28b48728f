#include "frames/DataFileSaveTarget.h"
#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "frames/SaveDataRangeDlg.h"
#include "frames/VideoSaveTarget.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>

namespace {

class SaveTargetTest : public IsolatedTest {};

TEST_F(SaveTargetTest, RangesMapBetweenRatesAndStayInsideTheMember) {
    CVideoSaveTarget target{CFrameSourcePtr(nullptr)};
    struct Case {
        const char* name;
        double rate, refRate;
        int offset, count, first, last;
        int outFirst, outLast;
    };
    const Case cases[] = {
        {"equal rates", 100, 100, 0, 1000, 0, 9, 0, 9},
        {"twice the rate", 200, 100, 0, 1000, 0, 9, 0, 19},
        {"half the rate", 50, 100, 0, 1000, 0, 9, 0, 4},
        {"offset", 100, 100, 5, 1000, 0, 9, 5, 14},
        {"beyond the count", 200, 100, 0, 15, 0, 9, 0, 14},
        {"negative first", 100, 100, -5, 1000, 2, 9, 0, 4},
        {"unknown rate", -1, 100, 0, 1000, 3, 9, 3, 9},
        {"zero reference rate", 100, 0, 0, 1000, 3, 9, 3, 9},
    };
    for (const Case& c : cases) {
        int first = -7;
        int last = -7;
        ASSERT_EQ(target.MapFrameRange(c.rate, c.offset, c.count, c.refRate, c.last, c.first,
                                       &first, &last),
                  S_OK)
            << c.name;
        EXPECT_EQ(first, c.outFirst) << c.name;
        EXPECT_EQ(last, c.outLast) << c.name;
    }
    int out = 0;
    EXPECT_EQ(target.MapFrameRange(1, 0, 10, 1, 0, 0, &out, nullptr), E_FAIL);
}

TEST_F(SaveTargetTest, VideoEstimateCoversTheRangeInSixtyFourBits) {
    ASSERT_TRUE(CSampleRecording::Write(WorkPath("s.raw")));
    auto* source = new CFrameSource;
    ASSERT_EQ(source->Open(WorkPath("s.raw")), 1);
    CVideoSaveTarget target{CFrameSourcePtr(source)};
    const int64_t frame = int64_t{CSampleRecording::kWidth} * CSampleRecording::kHeight;
    struct Case {
        int first, last;
        int64_t bytes;
    };
    const Case cases[] = {
        {0, -1, static_cast<int64_t>(frame * CSampleRecording::kFrames * 1.001)},
        {10, 19, static_cast<int64_t>(frame * 10 * 1.001)},
        {19, 10, 0},
        {-5, 0, static_cast<int64_t>(frame * 1.001)},
    };
    for (const Case& c : cases) {
        int64_t bytes = -1;
        EXPECT_EQ(target.EstimateSaveSize(&bytes, c.first, c.last), S_OK);
        EXPECT_EQ(bytes, c.bytes) << c.first << ".." << c.last;
    }
    EXPECT_EQ(target.EstimateSaveSize(nullptr, 0, 1), S_OK);
}

TEST_F(SaveTargetTest, DataTargetWritesTheChosenScansAndCancelKeepsTheRequest) {
    CSharedRef<CSensorDataSet> data(new CSensorDataSet);
    ASSERT_EQ(data->Init(2, 100, 1, 1000.0, 10), S_OK);
    CDataFileSaveTarget target(data);
    CSaveVideoParams params;
    ASSERT_EQ(target.InitParams(&params), S_OK);
    EXPECT_EQ(params.m_outputKind, CSaveVideoParams::kDataFile);
    params.m_outputPath = WorkPath("d.mdat");
    params.m_firstFrame = 20;
    params.m_lastFrame = 29;
    Prompter().AnswerFileDialog({});
    EXPECT_EQ(target.Prompt(&params), E_FAIL);
    EXPECT_EQ(params.m_outputPath, WorkPath("d.mdat"));
    EXPECT_EQ(params.m_firstFrame, 20);

    Prompter().AnswerFileDialog({WorkPath("chosen.mdat")});
    ASSERT_EQ(target.Prompt(&params), S_OK);
    EXPECT_EQ(params.m_outputPath, WorkPath("chosen.mdat"));
    EXPECT_EQ(params.m_firstFrame, 20);
    EXPECT_EQ(params.m_lastFrame, 29);
    EXPECT_EQ(params.m_zeroOffset, 10);
    ASSERT_EQ(Prompter().FilePrompts().size(), 2u);
    EXPECT_EQ(Prompter().FilePrompts()[1].title, "Save Data File : d.mdat");
    EXPECT_EQ(Prompter().FilePrompts()[1].filter, " (*.mdat)|*.mdat||");

    ASSERT_EQ(target.Save(&params), S_OK);
    CSensorDataSet saved;
    ASSERT_EQ(saved.Open(WorkPath("chosen.mdat")), S_OK);
    EXPECT_EQ(saved.GetScanCount(), 10) << "the last chosen scan belongs to the file";

    // A request without a range saves every scan.
    params.m_firstFrame = -1;
    params.m_lastFrame = -1;
    params.m_outputPath = WorkPath("all.mdat");
    ASSERT_EQ(target.Save(&params), S_OK);
    CSensorDataSet all;
    ASSERT_EQ(all.Open(WorkPath("all.mdat")), S_OK);
    EXPECT_EQ(all.GetScanCount(), 100);
}

// The data dialog's panel: a request's sub-range opens as a range, no range as every scan; the
// user's choice and numbers typed outside the data come back as scans inside it.
TEST_F(SaveTargetTest, DataDialogPanelChoosesEveryScanOrARangeInsideTheData) {
    CProgramResources::Register();
    CSharedRef<CSensorDataSet> data(new CSensorDataSet);
    ASSERT_EQ(data->Init(2, 100, 1, 1000.0, 10), S_OK);  // scans numbered -10 to 89
    CDataFileSaveTarget target(data);
    using Panel = CSaveDataRangeDlg;
    struct Case {
        const char* name;
        int first, last;    // the request's range, as indexes
        bool shownAsRange;  // how the panel opens
        int choose;         // 0 nothing, else the radio to click
        const char* from;   // typed, then focus leaves (null: untouched)
        const char* to;
        int savedFirst, savedLast;
    };
    const Case cases[] = {
        {"sub-range kept", 20, 29, true, 0, nullptr, nullptr, 20, 29},
        {"every scan chosen", 20, 29, true, Panel::kSaveAll, nullptr, nullptr, 0, 99},
        {"no range", -1, -1, false, 0, nullptr, nullptr, 0, 99},
        {"range typed below the data", -1, -1, false, Panel::kSaveRange, "-50", "5", 0, 15},
        {"last typed beyond the data", 20, 29, true, 0, nullptr, "500", 20, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSaveVideoParams params;
        ASSERT_EQ(target.InitParams(&params), S_OK);
        params.m_outputPath = WorkPath("d.mdat");
        params.m_zeroOffset = 10;
        params.m_firstFrame = c.first;
        params.m_lastFrame = c.last;
        Prompter().AnswerFileDialog({WorkPath("d.mdat")}, 1, [&](const FileDialogPrompt& prompt) {
            ASSERT_NE(prompt.extension, nullptr) << "no range panel";
            auto* panel = dynamic_cast<Panel*>(CWnd::FromWidget(prompt.extension));
            ASSERT_NE(panel, nullptr);
            const auto widget = [panel](int id) { return panel->GetDlgItem(id)->GetQWidget(); };
            EXPECT_EQ(panel->GetDlgItemText(Panel::kScansText), "100 (numbered -10 to 89)");
            EXPECT_EQ(panel->IsDlgButtonChecked(Panel::kSaveRange) != 0, c.shownAsRange);
            EXPECT_EQ(widget(Panel::kFrom)->isEnabled(), c.shownAsRange);
            if (c.choose)
                qobject_cast<QAbstractButton*>(widget(c.choose))->click();
            for (const auto& [id, text] : {std::pair{Panel::kFrom, c.from}, {Panel::kTo, c.to}}) {
                if (!text)
                    continue;
                auto* edit = qobject_cast<QLineEdit*>(widget(id));
                edit->setText(QString::fromLatin1(text));
                QFocusEvent out(QEvent::FocusOut);
                QApplication::sendEvent(edit, &out);
            }
        });
        ASSERT_EQ(target.Prompt(&params), S_OK);
        EXPECT_EQ(params.m_firstFrame, c.savedFirst);
        EXPECT_EQ(params.m_lastFrame, c.savedLast);
    }
}

TEST(SaveVideoParamsTest, OutputNamesFollowTheKind) {
    struct Case {
        const char* name;
        int kind, imageType;
        const char* output;
        const char* stem;
    };
    const Case cases[] = {
        {"/d/take.raw", CSaveVideoParams::kAvi, 0, "/d/take.avi", "/d/take"},
        {"/d/take", CSaveVideoParams::kAvi, 0, "/d/take.avi", "/d/take"},
        {"/d/take.raw", CSaveVideoParams::kSequence, CSaveVideoParams::kTiff, "/d/take.tif",
         "/d/take_"},
        {"/d/take.raw", CSaveVideoParams::kSequence, CSaveVideoParams::kJpeg, "/d/take.jpg",
         "/d/take_"},
        {"/d/take[1of4].pvi", CSaveVideoParams::kBatch, 0, "/d/take[*].pvi", "/d/take"},
        {"/d/take.au2", CSaveVideoParams::kDataFile, 0, "/d/take.mdat", "/d/take"},
        // A '.' in a folder is no extension of a name that has none.
        {"/d/run.2/take", CSaveVideoParams::kAvi, 0, "/d/run.2/take.avi", "/d/run.2/take"},
        {"C:\\run.2\\take", CSaveVideoParams::kDataFile, 0, "C:\\run.2\\take.mdat",
         "C:\\run.2\\take"},
        {"/d/run.2/.hidden", CSaveVideoParams::kAvi, 0, "/d/run.2/.hidden.avi", "/d/run.2/.hidden"},
    };
    for (const Case& c : cases) {
        CSaveVideoParams params;
        params.SetOutputFormat(QString::fromLatin1(c.name), c.kind, c.imageType, 3, 9, 1, 0, 4);
        EXPECT_EQ(params.m_outputPath, QString::fromLatin1(c.output)) << c.name;
        EXPECT_EQ(params.m_outputStem, QString::fromLatin1(c.stem)) << c.name;
        EXPECT_EQ(params.m_firstFrame, 3);
        EXPECT_EQ(params.m_lastFrame, 9);
        EXPECT_EQ(params.Step(), 2);
        EXPECT_EQ(params.m_tag, 4);
    }
}

}  // namespace
