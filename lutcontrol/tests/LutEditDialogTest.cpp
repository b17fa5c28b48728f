#include "lutcontrol/LutEditDialog.h"

#include "platform/controls/MultiPointerSlide.h"
#include "testsupport/IsolatedTest.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

namespace {

using D = CLutEditDialog;

class LutEditDialogTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_dialog = std::make_unique<CLutEditDialog>(nullptr);
        m_dialog->resize(m_dialog->minimumSize());
        m_dialog->show();
        LutEditState state;
        state.callback = &LutEditDialogTest::Count;
        state.context = this;
        m_dialog->SetParamsAndState(nullptr, nullptr, &state);
    }
    void TearDown() override {
        m_dialog.reset();
        IsolatedTest::TearDown();
    }
    static LONG Count(void* context) {
        ++static_cast<LutEditDialogTest*>(context)->m_changes;
        return 0;
    }

    void Type(int id, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(m_dialog->Control(id));
        ASSERT_NE(edit, nullptr) << id;
        edit->setText(text);
        emit edit->editingFinished();
    }
    CMultiPointerSlide* Slide(int id) {
        return static_cast<CMultiPointerSlide*>(m_dialog->Control(id));
    }
    LutSettings Read() {
        LutSettings s;
        m_dialog->GetParamsAndState(&s.colour, &s.bw, &s.state);
        return s;
    }
    void SetState(const LutEditState& flags) {
        LutEditState state = flags;
        state.callback = &LutEditDialogTest::Count;
        state.context = this;
        m_dialog->SetParamsAndState(nullptr, nullptr, &state);
    }

    std::unique_ptr<CLutEditDialog> m_dialog;
    int m_changes = 0;
};

TEST_F(LutEditDialogTest, TypedValuesAreClampedAndGoToTheLinkedChannels) {
    struct Case {
        int edit;
        QString text;
        bool linked;
        double red, green, blue;
    };
    const Case cases[] = {
        {D::kBrightnessRed, "200", true, 127, 127, 127},
        {D::kBrightnessGreen, "-300", false, 0, -128, 0},
        {D::kGammaBlue, "0.2", true, 1.0, 1.0, 1.0},
        {D::kGammaGreen, "7.5", false, 1.0, 5.0, 1.0},
        {D::kExpLogBlue, "12", false, 0, 0, 12},
        {D::kExpLogRed, "not a number", false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        m_dialog->SetParamsAndState(nullptr, nullptr, nullptr);
        LutEditState flags;
        flags.stateLinkBright = flags.stateLinkGamma = flags.stateLinkExpLog = c.linked;
        SetState(flags);
        CLutParamSet defaults;
        m_dialog->SetParamsAndState(&defaults, &defaults, nullptr);
        const int before = m_changes;
        Type(c.edit, c.text);
        EXPECT_EQ(m_changes, before + 1) << c.text.toStdString();
        const LutSettings s = Read();
        const bool gamma = c.edit == D::kGammaBlue || c.edit == D::kGammaGreen;
        const bool expLog = c.edit == D::kExpLogBlue || c.edit == D::kExpLogRed;
        for (int ch = 0; ch < 3; ++ch) {
            const double want = ch == 0 ? c.red : ch == 1 ? c.green : c.blue;
            const double got = gamma    ? s.colour.Gamma(ch)
                               : expLog ? s.colour.ExpLog(ch)
                                        : s.colour.Brightness(ch);
            EXPECT_EQ(got, want) << c.text.toStdString() << " channel " << ch;
        }
    }
    Type(D::kBwGammaEdit, "0.2");
    EXPECT_EQ(Read().bw.Gamma(0), 1.0);
    Type(D::kBwBrightnessEdit, "500");
    EXPECT_EQ(Read().bw.Brightness(0), 127);
}

TEST_F(LutEditDialogTest, TheAllChannelsPointerMovesOnlyTheEnabledChannels) {
    LutEditState flags;
    flags.stateGreenChan = 0;
    SetState(flags);
    CLutParamSet colour;
    colour.SetBrightness(1, -20);
    m_dialog->SetParamsAndState(&colour, nullptr, nullptr);

    CMultiPointerSlide* slide = Slide(D::kColourBrightness);
    EXPECT_TRUE(slide->PointerVisible(4));
    EXPECT_FALSE(slide->PointerVisible(1));
    QTest::mousePress(slide, Qt::LeftButton, {}, QPoint(slide->PositionOf(10), 12));
    QTest::mouseRelease(slide, Qt::LeftButton, {}, QPoint(slide->PositionOf(10), 12));
    const LutSettings s = Read();
    EXPECT_EQ(s.colour.Brightness(0), 10);
    EXPECT_EQ(s.colour.Brightness(1), -20);
    EXPECT_EQ(s.colour.Brightness(2), 10);
    EXPECT_EQ(m_changes, 1);

    // Unlinked, each channel has its own pointer.
    flags.stateLinkGamma = 0;
    SetState(flags);
    CMultiPointerSlide* gamma = Slide(D::kColourGamma);
    EXPECT_TRUE(gamma->PointerVisible(1));
    EXPECT_FALSE(gamma->PointerVisible(2));
    EXPECT_TRUE(gamma->PointerVisible(3));
    EXPECT_FALSE(gamma->PointerVisible(4));
    gamma->SetPointerVisible(1, false);  // leave only blue's pointer to grab
    QTest::mousePress(gamma, Qt::LeftButton, {}, QPoint(gamma->PositionOf(30), 12));
    EXPECT_EQ(Read().colour.Gamma(2), 3.0);
    EXPECT_EQ(Read().colour.Gamma(0), 1.0);
}

TEST_F(LutEditDialogTest, DoubleClickTogglesTheLinkOnlyAwayFromTheEnds) {
    CMultiPointerSlide* slide = Slide(D::kColourContrast);
    auto linked = [this] { return Read().state.stateLinkContrast; };
    ASSERT_EQ(linked(), 1);
    QTest::mouseDClick(slide, Qt::LeftButton, {}, QPoint(5, 12));
    EXPECT_EQ(linked(), 1);
    QTest::mouseDClick(slide, Qt::LeftButton, {}, QPoint(slide->width() - 5, 12));
    EXPECT_EQ(linked(), 1);
    QTest::mouseDClick(slide, Qt::LeftButton, {}, QPoint(slide->width() / 2, 12));
    EXPECT_EQ(linked(), 0);
    EXPECT_FALSE(static_cast<QCheckBox*>(m_dialog->Control(D::kLinkContrast))->isChecked());
}

TEST_F(LutEditDialogTest, BlackAndWhiteModeTurnsTheChannelsOffAndEnablesOnlyItsControls) {
    LutEditState flags;
    flags.stateColor = 0;
    SetState(flags);
    const LutSettings s = Read();
    EXPECT_EQ(s.state.stateRedChan, 0);
    EXPECT_EQ(s.state.stateGreenChan, 0);
    EXPECT_EQ(s.state.stateBlueChan, 0);
    EXPECT_EQ(s.colour.Color2BW(), 1);
    EXPECT_FALSE(m_dialog->Control(D::kColourBrightness)->isEnabled());
    EXPECT_FALSE(m_dialog->Control(D::kBrightnessRed)->isEnabled());
    EXPECT_TRUE(m_dialog->Control(D::kBwBrightness)->isEnabled());
    EXPECT_EQ(Slide(D::kBwBrightness)->Color(), COLORREF{0x00FFFF});
    EXPECT_EQ(Slide(D::kColourBrightness)->Color(), COLORREF{0xC0C0C0});

    m_dialog->SetEnabled(false);
    for (int id : {D::kBwBrightness, D::kLoad, D::kSave, D::kReset})
        EXPECT_FALSE(m_dialog->Control(id)->isEnabled()) << id;
    EXPECT_EQ(m_changes, 0);
}

TEST_F(LutEditDialogTest, UserChangesResetAndLoadNotifyButRefreshesDoNot) {
    auto click = [this](int id) { static_cast<QPushButton*>(m_dialog->Control(id))->click(); };
    click(D::kGreenOn);  // channel buttons only refresh
    EXPECT_EQ(Read().state.stateGreenChan, 0);
    EXPECT_EQ(m_changes, 0);
    click(D::kReverseRed);
    EXPECT_EQ(Read().colour.Reverse(0), 1);
    EXPECT_EQ(m_changes, 1);
    click(D::kColor2BW);
    EXPECT_EQ(Read().colour.Color2BW(), 1);
    EXPECT_EQ(static_cast<QPushButton*>(m_dialog->Control(D::kColor2BW))->text(),
              QStringLiteral("Display As Color"));
    EXPECT_EQ(m_changes, 2);
    click(D::kReset);
    EXPECT_EQ(Read().colour.Reverse(0), 0);
    EXPECT_EQ(m_changes, 3);

    // Scales and the black-and-white slide notify as well (Reset showed colour again).
    m_changes = 0;
    static_cast<QSlider*>(m_dialog->Control(D::kGreenScale))->setValue(100);
    EXPECT_EQ(Read().colour.GreenScale(), 100);
    EXPECT_EQ(Read().colour.RedScale(), 255);
    EXPECT_EQ(m_changes, 1);
    click(D::kColor2BW);  // the black-and-white slides work while the display is B&W
    EXPECT_EQ(m_changes, 2);
    CMultiPointerSlide* bwGamma = Slide(D::kBwGamma);
    ASSERT_TRUE(bwGamma->isEnabled());
    QTest::mousePress(bwGamma, Qt::LeftButton, {}, QPoint(bwGamma->PositionOf(25), 12));
    EXPECT_EQ(Read().bw.Gamma(0), 2.5);
    EXPECT_EQ(Read().colour.Gamma(0), 1.0);
    EXPECT_EQ(m_changes, 3);
    click(D::kReset);
    m_changes = 3;

    CLutParamSet colour;
    colour.SetBrightness(0, 3);
    colour.SetBrightness(2, 4);
    LutSettings file;
    file.colour = colour;
    file.state.stateLinkBright = 1;
    ASSERT_TRUE(lut_settings::Write(WorkPath("x.lut"), file));
    ASSERT_TRUE(m_dialog->LoadFromFile(WorkPath("x.lut")));
    EXPECT_EQ(m_changes, 4);
    const LutSettings loaded = Read();
    EXPECT_EQ(loaded.colour.Brightness(2), 4);
    EXPECT_EQ(loaded.state.stateLinkBright, 0);  // the three values differ
    EXPECT_EQ(loaded.state.stateGreenChan, 1);   // the current colour flag

    ASSERT_TRUE(m_dialog->SaveToFile(WorkPath("y.lut")));
    EXPECT_EQ(m_changes, 4);
    m_dialog->SetParamsAndState(nullptr, nullptr, nullptr);
    EXPECT_EQ(m_changes, 4);
}

TEST_F(LutEditDialogTest, LoadAndSaveAskThroughThePrompterWithTheirTexts) {
    m_dialog->SetBasePath(WorkPath("RAW001.avi"));
    Prompter().AnswerFileDialog({WorkPath("saved.lut")});
    Prompter().ExpectMessageBox("Image LUT settings saved successfully to file.", IDOK);
    static_cast<QPushButton*>(m_dialog->Control(D::kSave))->click();
    Prompter().AnswerFileDialog({WorkPath("missing.lut")});
    Prompter().ExpectMessageBox("Error loading image settings from file.", IDOK);
    static_cast<QPushButton*>(m_dialog->Control(D::kLoad))->click();
    Prompter().AnswerFileDialog({WorkPath("no/folder/x.lut")});
    Prompter().ExpectMessageBox("Error saving image settings to file.", IDOK);
    static_cast<QPushButton*>(m_dialog->Control(D::kSave))->click();

    const auto& files = Prompter().FilePrompts();
    ASSERT_EQ(files.size(), 3u);
    EXPECT_FALSE(files[0].open);
    EXPECT_EQ(files[0].title, QStringLiteral("Select Filename to Save As"));
    EXPECT_EQ(files[0].filter, QStringLiteral("LUT File (*.lut)|*.lut||"));
    EXPECT_EQ(files[0].defaultExt, QStringLiteral("lut"));
    EXPECT_EQ(files[0].fileName, WorkPath("RAW001.lut"));
    EXPECT_TRUE(files[1].open);
    EXPECT_EQ(files[1].title, QStringLiteral("Select File to Load"));
    const auto& prompts = Prompter().Prompts();
    ASSERT_GE(prompts.size(), 2u);
    EXPECT_EQ(prompts[1].caption, QStringLiteral("Save Success"));
    EXPECT_TRUE(QFile::exists(WorkPath("saved.lut")));

    // A name typed without an extension gets the settings files' one.
    Prompter().AnswerFileDialog({WorkPath("bright")});
    Prompter().ExpectMessageBox("Image LUT settings saved successfully to file.", IDOK);
    static_cast<QPushButton*>(m_dialog->Control(D::kSave))->click();
    EXPECT_TRUE(QFile::exists(WorkPath("bright.lut")));
    EXPECT_FALSE(QFile::exists(WorkPath("bright")));
}

}  // namespace
