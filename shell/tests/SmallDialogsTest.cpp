#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/DC.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/InvalidArgException.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "shell/BitSet.h"
#include "shell/BitmapPicture.h"
#include "shell/DlgEditParameters.h"
#include "shell/DlgFormatSelection.h"
#include "shell/DlgMeasure.h"
#include "shell/DlgTextInput.h"
#include "shell/DlgWindowList.h"
#include "shell/NumberEntryDlg.h"
#include "shell/RadioChoiceDlg.h"
#include "shell/SliderLabelsDlg.h"
#include "testsupport/IsolatedTest.h"

#include <QTimer>

#include <climits>
#include <functional>

namespace {

class SmallDialogsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
    }
};

// Runs the dialog modally; act works on it once it shows, as the user would.
template <class T>
INT_PTR RunModal(T& dialog, std::function<void(T&)> act) {
    QTimer::singleShot(0, [&] { act(dialog); });
    return dialog.DoModal();
}

void Click(CDialog& dialog, int id) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

void Spin(CNumberEntryDlg& dialog, int delta) {
    NMUPDOWN updown;
    updown.hdr.idFrom = CNumberEntryDlg::kSpinId;
    updown.hdr.code = UDN_DELTAPOS;
    updown.iDelta = delta;
    LRESULT result = -1;
    dialog.OnDeltaPos(&updown.hdr, &result);
    EXPECT_EQ(result, 0);
}

}  // namespace

TEST_F(SmallDialogsTest, NumberEntryKeepsItsValueInsideTheRange) {
    const struct {
        int minimum, maximum, value, expected;
    } cases[] = {{0, 1000, 5000, 500},     {0, 1000, 1000, 1000},
                 {0, 1000, -1, 500},       {10, 20, 15, 15},
                 {1000, 0, 7, 7},          {1000, 0, 5000, 500},
                 {INT_MIN, INT_MAX, 3, 3}, {INT_MAX - 2, INT_MAX, 0, INT_MAX - 1}};
    for (const auto& c : cases) {
        CNumberEntryDlg dialog;
        dialog.SetParameters("T", "P", c.minimum, c.maximum, c.value, 1);
        EXPECT_EQ(dialog.m_nValue, c.expected) << c.minimum << ".." << c.maximum << " " << c.value;
        EXPECT_LE(dialog.m_nMin, dialog.m_nMax);
    }
}

TEST_F(SmallDialogsTest, NumberEntrySpinStepsAndStopsAtTheEnds) {
    CNumberEntryDlg dialog;
    dialog.SetParameters("Frames", "How many frames?", 0, 10, 8, 3);
    ASSERT_TRUE(dialog.Create(IDD_NUMBER_ENTRY));
    EXPECT_EQ(dialog.GetWindowText(), "Frames");
    EXPECT_EQ(dialog.GetDlgItemText(CNumberEntryDlg::kPromptId), "How many frames?");
    EXPECT_EQ(dialog.GetDlgItemText(CNumberEntryDlg::kValueId), "8");
    const struct {
        int delta;
        const char* shown;
    } steps[] = {{-1, "10"}, {-1, "10"}, {1, "7"}, {0, "10"}, {1, "7"},
                 {1, "4"},   {1, "1"},   {1, "0"}, {5, "0"}};
    for (const auto& step : steps) {
        Spin(dialog, step.delta);
        EXPECT_EQ(dialog.GetDlgItemText(CNumberEntryDlg::kValueId), step.shown);
    }
    // The user's typed value is where the next step starts.
    dialog.SetDlgItemText(CNumberEntryDlg::kValueId, "5");
    Spin(dialog, -1);
    EXPECT_EQ(dialog.GetDlgItemText(CNumberEntryDlg::kValueId), "8");
    dialog.DestroyWindow();
}

TEST_F(SmallDialogsTest, NumberEntryOkRefusesValuesOutsideTheRange) {
    CNumberEntryDlg dialog;
    dialog.SetParameters("T", "P", 5, 50, 10, 1);
    Prompter().ExpectMessageBox("The minimum value is 5.  Please enter a valid value.", IDOK);
    Prompter().ExpectMessageBox("The maximum value is 50.  Please enter a valid value.", IDOK);
    Prompter().ExpectMessageBox("Please enter a number.", IDOK);
    const INT_PTR result = RunModal<CNumberEntryDlg>(dialog, [](CNumberEntryDlg& d) {
        for (const char* typed : {"4", "51", "many", "50"}) {
            d.SetDlgItemText(CNumberEntryDlg::kValueId, typed);
            Click(d, IDOK);
        }
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.m_nValue, 50);
}

TEST_F(SmallDialogsTest, TextInputAndSessionChoiceGiveWhatTheUserSet) {
    CDlgTextInput text;
    text.SetPrompt("Name", "What is the name?");
    text.SetText("first");
    EXPECT_EQ(RunModal<CDlgTextInput>(
                  text,
                  [](CDlgTextInput& d) {
                      EXPECT_EQ(d.GetWindowText(), "Name");
                      EXPECT_EQ(d.GetDlgItemText(CDlgTextInput::kPromptId), "What is the name?");
                      EXPECT_EQ(d.GetDlgItemText(CDlgTextInput::kTextId), "first");
                      d.SetDlgItemText(CDlgTextInput::kTextId, "second");
                      Click(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(text.GetText(), "second");

    CRadioChoiceDlg choice;
    EXPECT_EQ(choice.GetChoice(), 1);
    EXPECT_EQ(RunModal<CRadioChoiceDlg>(choice,
                                        [](CRadioChoiceDlg& d) {
                                            d.CheckRadioButton(1007, 1008, 1007);
                                            Click(d, IDOK);
                                        }),
              IDOK);
    EXPECT_EQ(choice.GetChoice(), 0);
}

TEST_F(SmallDialogsTest, FormatSelectionOpensOnTheFormatItsTextNames) {
    const struct {
        const char* format;
        int index;
    } cases[] = {{"", 0},      {"AVI", 0},  {"bmp", 1},     {"JPG", 2},
                 {"x.TIF", 3}, {"tiff", 3}, {"bmp-jpg", 2}, {"png", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CDlgFormatSelection::IndexOfFormat(c.format), c.index) << c.format;

    CDlgFormatSelection dialog;
    dialog.m_strFormat = "tif";
    ASSERT_TRUE(dialog.Create(IDD_FORMAT_SELECTION));
    auto* combo = dynamic_cast<CComboBox*>(dialog.GetDlgItem(CDlgFormatSelection::kFormatComboId));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetCount(), 4);
    EXPECT_EQ(combo->GetCurSel(), 3);
    combo->SetCurSel(1);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CDlgFormatSelection::kFormatComboId, CBN_SELCHANGE),
                       0);
    EXPECT_EQ(dialog.m_strFormat, "BMP");
    dialog.DestroyWindow();
}

TEST_F(SmallDialogsTest, WindowListCancelAndOutsideEndsChooseNothing) {
    const QStringList names = {"one", "two", "three"};
    const struct {
        int ending;  // 0: OK, 1: Cancel, else EndDialog with that result
        int selected;
        INT_PTR chosen;
    } cases[] = {{0, 2, 2},
                 {0, 1, 1},
                 {1, 2, CDlgWindowList::kNoChoice},
                 {IDCANCEL, 2, CDlgWindowList::kNoChoice},
                 {IDOK, 1, CDlgWindowList::kNoChoice},
                 {0, -1, CDlgWindowList::kNoChoice}};
    for (const auto& c : cases) {
        CDlgWindowList dialog(names, c.selected);
        const INT_PTR chosen = RunModal<CDlgWindowList>(dialog, [&](CDlgWindowList& d) {
            if (c.ending == 0)
                Click(d, IDOK);
            else if (c.ending == 1)
                Click(d, IDCANCEL);
            else
                d.EndDialog(c.ending);
        });
        EXPECT_EQ(chosen, c.chosen) << c.ending << " " << c.selected;
    }
}

TEST_F(SmallDialogsTest, EditParametersRefusesNegativeValuesAndCancelGivesTheFirstOnes) {
    const struct {
        const char* rate;
        const char* shutter;
        const char* message;
    } refused[] = {
        {"-1", "100", "Invalid rate enterred.  Rate must be greater than zero."},
        {"10", "-5", "Invalid shutter speed enterred.  Shutter speed must be greater than zero."},
    };
    for (const auto& r : refused)
        Prompter().ExpectMessageBox(r.message, IDOK);
    CDlgEditParameters dialog;
    dialog.SetValues(500, 200, -3);
    EXPECT_EQ(RunModal<CDlgEditParameters>(dialog,
                                           [&](CDlgEditParameters& d) {
                                               EXPECT_EQ(d.GetWindowText(),
                                                         "Edit Recorded Parameters");
                                               EXPECT_EQ(d.GetDlgItemText(1009), "500");
                                               for (const auto& r : refused) {
                                                   d.SetDlgItemText(1009, r.rate);
                                                   d.SetDlgItemText(1004, r.shutter);
                                                   Click(d, IDOK);
                                               }
                                               d.SetDlgItemText(1009, "0");
                                               d.SetDlgItemText(1004, "0");
                                               d.SetDlgItemText(1515, "7");
                                               Click(d, IDOK);
                                           }),
              IDOK);
    int rate = -1, shutter = -1, zero = -1;
    dialog.GetValues(&rate, &shutter, &zero);
    EXPECT_EQ(rate, 0);
    EXPECT_EQ(shutter, 0);
    EXPECT_EQ(zero, 7);

    CDlgEditParameters cancelled;
    cancelled.SetValues(500, 200, -3);
    EXPECT_EQ(RunModal<CDlgEditParameters>(cancelled,
                                           [](CDlgEditParameters& d) {
                                               d.SetDlgItemText(1009, "42");
                                               Click(d, IDCANCEL);
                                           }),
              IDCANCEL);
    cancelled.GetValues(&rate, &shutter, &zero);
    EXPECT_EQ(rate, 500);
    EXPECT_EQ(shutter, 200);
    EXPECT_EQ(zero, -3);
}

TEST_F(SmallDialogsTest, MeasurePaletteHandsItsToolsToTheFrame) {
    class CLoggingFrame : public CFrameWnd {
    public:
        BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
            if (nCode == CN_COMMAND)
                commands.push_back(nID);
            return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
        }
        std::vector<UINT> commands;
    };
    auto* frame = new CLoggingFrame;
    ASSERT_TRUE(frame->Create(nullptr, "Frame", 0, CRect(0, 0, 400, 300), nullptr, 0));
    CDlgMeasure palette(frame);
    ASSERT_TRUE(palette.Create(IDD_MEASURE, frame));
    for (UINT id : {32930u, 32931u, 32932u, 32933u, 32934u, 32935u, 32937u})
        ASSERT_NE(palette.GetDlgItem(static_cast<int>(id)), nullptr) << id;
    Click(palette, 32932);
    Click(palette, 32937);
    EXPECT_EQ(frame->commands, (std::vector<UINT>{32932, 32937}));
    palette.DestroyWindow();
    frame->DestroyWindow();

    // Without a frame above it a click goes nowhere.
    CWnd host;
    ASSERT_TRUE(host.Create(nullptr, "host", 0, CRect(0, 0, 300, 300), nullptr, 0));
    CDlgMeasure alone(&host);
    ASSERT_TRUE(alone.Create(IDD_MEASURE, &host));
    Click(alone, 32930);
    alone.DestroyWindow();
    host.DestroyWindow();
}

TEST(BitSetTest, SizesWordsAndSteps) {
    CBitSet bits;
    EXPECT_FALSE(bits.TestBit(0));
    EXPECT_EQ(bits.Ordinal(0), 0);
    for (const auto& [size, words] : {std::pair{33, 2}, {32, 1}, {0, 0}, {1, 1}, {64, 2}}) {
        bits.SetSize(size);
        EXPECT_EQ(bits.GetWordCount(), words) << size;
    }
    bits.SetSize(40);
    bits.SetBit(3, TRUE);
    bits.SetBit(10, TRUE);
    bits.SetBit(39, TRUE);
    EXPECT_EQ(bits.FindNextSet(3), 10);
    EXPECT_EQ(bits.FindNextSet(10), 39);
    EXPECT_EQ(bits.FindNextSet(39), 39);
    EXPECT_EQ(bits.FindPrevSet(10), 3);
    EXPECT_EQ(bits.FindPrevSet(3), 3);
    EXPECT_EQ(bits.FindPrevSet(1000), 39);
    EXPECT_EQ(bits.FindNextSet(-5), 3);
    EXPECT_EQ(bits.Ordinal(10), 2);
    EXPECT_EQ(bits.Ordinal(39), 3);
    EXPECT_EQ(bits.Ordinal(4), 0);
    bits.SetBit(10, FALSE);
    EXPECT_EQ(bits.FindNextSet(3), 39);
    // The word of bit 63 exists (40 bits take two words), bit 64's does not.
    bits.SetBit(63, TRUE);
    EXPECT_TRUE(bits.TestBit(63));
    EXPECT_THROW(bits.SetBit(64, TRUE), CInvalidArgException);
    EXPECT_THROW(bits.SetBit(-1, TRUE), CInvalidArgException);
    EXPECT_FALSE(bits.TestBit(-1));
    EXPECT_FALSE(bits.TestBit(1 << 20));
    bits.ClearAll();
    EXPECT_EQ(bits.FindNextSet(0), 0);
    // Shrinking drops the bits beyond the new size; growing brings back zeros.
    bits.SetBit(35, TRUE);
    bits.SetSize(8);
    bits.SetSize(40);
    EXPECT_FALSE(bits.TestBit(35));
}

TEST_F(SmallDialogsTest, SliderLabelsFollowTheNumberFromSlideAndEdit) {
    CSliderLabelsDlg dialog;
    dialog.SetParameters("Clock Ticks", "Enter the value for the first counter", 100, 10, 500, 3);
    EXPECT_EQ(dialog.GetValue(), 55);
    dialog.SetValue(20);
    EXPECT_EQ(dialog.GetValue(), 20);
    dialog.SetLabels("Frame Rate", "Frame Time", "fps", "usec");
    dialog.SetModes(1, 2);
    // Mode 1: a 1000-tick clock's rate; mode 2: its period in microseconds.
    dialog.SetFormatter([](int value, int mode) {
        return mode == 1 ? QString::number(1000 / value) : QString::number(value * 1000);
    });
    ASSERT_TRUE(dialog.Create(IDD_SLIDER_LABELS));
    EXPECT_EQ(dialog.GetWindowText(), "Clock Ticks");
    EXPECT_EQ(dialog.GetDlgItemText(CSliderLabelsDlg::kFirstCaptionId), "Frame Rate");
    EXPECT_EQ(dialog.GetDlgItemText(CSliderLabelsDlg::kSecondUnitId), "usec");
    EXPECT_EQ(dialog.GetDlgItemText(CSliderLabelsDlg::kValueId), "20");
    EXPECT_EQ(dialog.GetDlgItemText(CSliderLabelsDlg::kFirstValueId), "50");
    EXPECT_EQ(dialog.GetDlgItemText(CSliderLabelsDlg::kSecondValueId), "20000");

    auto* slide = dynamic_cast<CCWSlide*>(dialog.GetDlgItem(CSliderLabelsDlg::kSlideId));
    ASSERT_NE(slide, nullptr);
    ASSERT_FALSE(slide->IsEmpty());
    double at = 0;
    ASSERT_TRUE(SUCCEEDED(slide->GetPointerValue(1, &at)));
    EXPECT_EQ(at, 20);

    // Typing moves the slide; a number beyond the range stops at its end.
    dialog.SetDlgItemText(CSliderLabelsDlg::kValueId, "40");
    ASSERT_TRUE(SUCCEEDED(slide->GetPointerValue(1, &at)));
    EXPECT_EQ(at, 40);
    EXPECT_EQ(dialog.GetDlgItemText(CSliderLabelsDlg::kFirstValueId), "25");
    dialog.SetDlgItemText(CSliderLabelsDlg::kValueId, "4000");
    EXPECT_EQ(dialog.GetValue(), 100);

    // Moving the slide rewrites the number and the quantities.
    dialog.OnSlideMoved(10.4);
    EXPECT_EQ(dialog.GetDlgItemText(CSliderLabelsDlg::kValueId), "10");
    EXPECT_EQ(dialog.GetDlgItemText(CSliderLabelsDlg::kSecondValueId), "10000");
    dialog.DestroyWindow();
}

TEST_F(SmallDialogsTest, BitmapPictureDrawsAndTilesInsideItsRectangle) {
    // A 4 x 3 red bitmap as a resource of its own module.
    QImage tile(4, 3, QImage::Format_RGB32);
    tile.fill(QColor(255, 0, 0));
    const QString path = WorkPath("tile.png");
    ASSERT_TRUE(tile.save(path));
    CResourceModule module;
    module.name = "bitmap picture test";
    module.bitmaps = {{4711, path}};
    CResourceChain::AddModule(&module);

    CBitmapPicture picture;
    EXPECT_FALSE(picture.LoadBitmap(4712));
    EXPECT_EQ(picture.GetBitmapWidth(), 0);
    QImage target(20, 10, QImage::Format_RGB32);
    target.fill(Qt::white);
    CDC dc(&target);
    EXPECT_FALSE(picture.Draw(&dc, CPoint(0, 0)));
    ASSERT_TRUE(picture.LoadBitmap(4711));
    EXPECT_EQ(picture.GetBitmapWidth(), 4);
    EXPECT_EQ(picture.GetBitmapHeight(), 3);

    // Tiles start at the corner plus the offset, cover the rectangle and nothing outside it.
    ASSERT_TRUE(picture.Tile(&dc, CRect(2, 2, 15, 8), -3, 1));
    dc.SelectClipRgn(nullptr);
    EXPECT_TRUE(picture.Draw(&dc, CPoint(16, 0)));
    const auto red = [&](int x, int y) { return target.pixelColor(x, y) == QColor(255, 0, 0); };
    EXPECT_FALSE(red(1, 4));
    EXPECT_FALSE(red(15, 4));
    EXPECT_FALSE(red(5, 2)) << "the first row starts one pixel down";
    EXPECT_TRUE(red(2, 3));
    EXPECT_TRUE(red(14, 7));
    EXPECT_FALSE(red(14, 8));
    EXPECT_TRUE(red(16, 0));
    EXPECT_TRUE(red(19, 2));
    EXPECT_FALSE(red(16, 3));
    CResourceChain::RemoveModule(&module);
}
