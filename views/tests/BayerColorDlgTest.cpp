#include "views/BayerColorDlg.h"

#include "frames/BayerColorFilter.h"
#include "frames/ColorCoefficientFile.h"
#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ResourceChain.h"
#include "platform/media/tests/TestAviWriter.h"
#include "resources/ColorAdjustmentTemplate.h"
#include "testsupport/IsolatedTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QImage>

#include <cstring>

namespace {

class BayerColorDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_module.name = QStringLiteral("colour adjustment");
        m_module.dialogs = {ColorAdjustmentTemplate()};
        CResourceChain::AddModule(&m_module);
        ASSERT_TRUE(WriteTestAvi(WorkPath("RAW0001.avi"), {TestAviKind::RawPal8, 8, 6, 3, 0}));
        ASSERT_EQ(m_source.Open(WorkPath("RAW0001.avi")), 1);
        m_filter = m_source.GetColourFilter();
        ASSERT_NE(m_filter, nullptr);
    }
    void TearDown() override {
        m_source.Close();
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }
    static void Click(CDialog& dialog, int id) {
        auto* button = qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id)->GetQWidget());
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }
    static void LeaveField(CDialog& dialog, int id) {
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(dialog.GetDlgItem(id)->GetQWidget(), &out);
    }
    float Current(int row, int column) const {
        float rows[3][3];
        m_filter->GetCoefficients(rows[0], rows[1], rows[2], 0);
        return rows[row][column];
    }

    CResourceModule m_module;
    CFrameSource m_source;
    CBayerColorFilter* m_filter = nullptr;
};

TEST_F(BayerColorDlgTest, OpensFromTheSourceWithItsTitle) {
    CBayerColorDlg::Install();
    ASSERT_EQ(m_source.ShowColorAdjustment(0, nullptr), 1);
    bool shown = false;
    for (QWidget* window : QApplication::topLevelWidgets())
        shown = shown || (window->isVisible() &&
                          window->windowTitle() == "RAW0001.avi [File] - Color Adjustment");
    EXPECT_TRUE(shown);
    CFrameSource plain;
    ASSERT_TRUE(WriteTestAvi(WorkPath("clip.avi"), {}));
    ASSERT_EQ(plain.Open(WorkPath("clip.avi")), 1);
    EXPECT_EQ(plain.ShowColorAdjustment(0, nullptr), 0);
    CFrameSource::SetColorAdjustmentFactory({});
}

// Apply hands the typed coefficients to the filter and the next frame read shows them; Undo
// gives the ones before back; presets and the factory button set theirs.
TEST_F(BayerColorDlgTest, ApplyUndoPresetsAndTheDisplayMode) {
    CBayerColorDlg dialog(m_filter, QStringLiteral("RAW0001.avi"));
    ASSERT_TRUE(dialog.Create(CBayerColorDlg::kTemplate, nullptr));
    CComboBox* presets = &dialog.Presets();
    EXPECT_EQ(presets->GetCount(), 3);
    EXPECT_EQ(presets->GetCurSel(), 1);  // the default matrix is the tungsten preset
    EXPECT_EQ(dialog.GetDlgItemText(CBayerColorDlg::kFactoryEdits[0]), "281");
    EXPECT_FALSE(dialog.GetDlgItem(CBayerColorDlg::kUndo)->IsWindowEnabled());
    EXPECT_EQ(dialog.GetDlgItemText(CBayerColorDlg::kDisplayMode), "Display Bayer");

    CFrameImage before;
    ASSERT_EQ(m_source.GetFrame(1, &before, 0), 1);
    dialog.SetDlgItemText(CBayerColorDlg::kCurrentEdits[0], QStringLiteral("0"));
    dialog.SetDlgItemText(CBayerColorDlg::kCurrentEdits[1], QStringLiteral("0"));
    dialog.SetDlgItemText(CBayerColorDlg::kCurrentEdits[2], QStringLiteral("0"));
    Click(dialog, CBayerColorDlg::kApply);
    EXPECT_EQ(Current(0, 0), 0.0f);
    EXPECT_EQ(presets->GetCurSel(), 0);  // "Manual Settings"
    EXPECT_TRUE(dialog.GetDlgItem(CBayerColorDlg::kUndo)->IsWindowEnabled());
    CFrameImage after;
    ASSERT_EQ(m_source.GetFrame(1, &after, 0), 1);
    const QImage shown = after.GetBitmap()->AsQImage();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(qRed(shown.pixel(x, y)), 0);
    EXPECT_NE(before.GetBitmap()->AsQImage(), shown);

    Click(dialog, CBayerColorDlg::kUndo);
    EXPECT_EQ(Current(0, 0), 281.0f);
    EXPECT_FALSE(dialog.GetDlgItem(CBayerColorDlg::kUndo)->IsWindowEnabled());

    presets->SetCurSel(2);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(CBayerColorDlg::kPresetCombo, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(presets->GetSafeHwnd()));
    EXPECT_EQ(Current(0, 0), 473.0f);
    EXPECT_EQ(dialog.GetDlgItemText(CBayerColorDlg::kCurrentEdits[0]), "473");
    Click(dialog, CBayerColorDlg::kResetToFactory);
    EXPECT_EQ(Current(0, 0), 281.0f);
    EXPECT_EQ(presets->GetCurSel(), 1);

    Click(dialog, CBayerColorDlg::kDisplayMode);
    EXPECT_FALSE(m_filter->IsActive());
    EXPECT_EQ(dialog.GetDlgItemText(CBayerColorDlg::kDisplayMode), "Display Color");
    CFrameImage mosaic;
    ASSERT_EQ(m_source.GetFrame(1, &mosaic, 0), 1);
    EXPECT_EQ(mosaic.GetBitmap()->GetPixelFormat(), imaging::PixelFormat8bppIndexed);
    Click(dialog, CBayerColorDlg::kAdvanced);
    EXPECT_EQ(dialog.GetDlgItemText(CBayerColorDlg::kAdvanced), "<< Basic");
}

TEST_F(BayerColorDlgTest, GainsAreClampedAndScaleTheRows) {
    CBayerColorDlg dialog(m_filter, QString());
    ASSERT_TRUE(dialog.Create(CBayerColorDlg::kTemplate, nullptr));
    EXPECT_EQ(dialog.GetDlgItemText(CBayerColorDlg::kGainEdits[0]), "100");
    const std::pair<const char*, const char*> typed[] = {{"500", "400"}, {"-5", "0"}, {"50", "50"}};
    for (const auto& [text, shown] : typed) {
        dialog.SetDlgItemText(CBayerColorDlg::kGainEdits[0], QString::fromLatin1(text));
        LeaveField(dialog, CBayerColorDlg::kGainEdits[0]);
        EXPECT_EQ(dialog.GetDlgItemText(CBayerColorDlg::kGainEdits[0]), shown) << text;
    }
    Click(dialog, CBayerColorDlg::kGainsNow);
    EXPECT_EQ(Current(0, 0), 140.5f);
    EXPECT_EQ(Current(1, 1), 256.0f);
}

TEST_F(BayerColorDlgTest, LoadAndSaveColourCoefficientFiles) {
    CBayerColorDlg dialog(m_filter, QString());
    ASSERT_TRUE(dialog.Create(CBayerColorDlg::kTemplate, nullptr));
    ColorCoefficients file;
    const float rows[3][3] = {{128, 0, 0}, {0, 128, 0}, {0, 0, 64}};
    std::memcpy(file.rows, rows, sizeof rows);
    ASSERT_TRUE(WriteColorCoefficients(WorkPath("in.clr"), file));
    Prompter().AnswerFileDialog({WorkPath("in.clr")});
    Click(dialog, CBayerColorDlg::kLoad);
    EXPECT_EQ(Current(2, 2), 64.0f);
    EXPECT_EQ(dialog.GetDlgItemText(CBayerColorDlg::kCurrentEdits[8]), "64");

    Prompter().AnswerFileDialog({WorkPath("out.clr")});
    Prompter().ExpectMessageBox("Color coefficients saved to file " + WorkPath("out.clr"), IDOK);
    Click(dialog, CBayerColorDlg::kSave);
    ColorCoefficients saved;
    ASSERT_TRUE(ReadColorCoefficients(WorkPath("out.clr"), &saved));
    EXPECT_EQ(std::memcmp(saved.rows, rows, sizeof rows), 0);

    QFile bad(WorkPath("bad.clr"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("CLRFILEv.1");
    bad.close();
    Prompter().AnswerFileDialog({WorkPath("bad.clr")});
    Prompter().ExpectMessageBox(
        "Error loading color coefficients from file.  Bad format or unreadable.", IDOK);
    Click(dialog, CBayerColorDlg::kLoad);
    EXPECT_EQ(Current(2, 2), 64.0f);
}

// Balancing on typed means scales the red and blue rows to green's mean and warns in order.
TEST_F(BayerColorDlgTest, GrayBalanceOnManualMeans) {
    CBayerColorDlg dialog(m_filter, QString());
    ASSERT_TRUE(dialog.Create(CBayerColorDlg::kTemplate, nullptr));
    Click(dialog, CBayerColorDlg::kManualMeans);
    EXPECT_TRUE(dialog.GetDlgItem(CBayerColorDlg::kMeanEdits[0])->IsWindowEnabled());
    EXPECT_FALSE(dialog.GetDlgItem(CBayerColorDlg::kSelectRegion)->IsWindowEnabled());
    dialog.SetDlgItemText(CBayerColorDlg::kMeanEdits[0], QStringLiteral("255"));
    dialog.SetDlgItemText(CBayerColorDlg::kMeanEdits[1], QStringLiteral("128"));
    dialog.SetDlgItemText(CBayerColorDlg::kMeanEdits[2], QStringLiteral("0"));
    Prompter().ExpectMessageBox(
        "One or more channels were saturated (= 255) during the balance operation.\nFor best "
        "results, avoid saturation by selecting a region in the image which should appear gray.",
        IDOK);
    Prompter().ExpectMessageBox(
        "One or more channels were found to be zero during the balance operation.\nFor best "
        "results, select a region in the image which should appear gray.",
        IDOK);
    Click(dialog, CBayerColorDlg::kBalanceNow);
    EXPECT_FLOAT_EQ(Current(0, 0), 281.0f * 128 / 255);
    EXPECT_EQ(Current(1, 1), 256.0f);
    EXPECT_EQ(Current(2, 2), 717.0f);  // a zero mean leaves its row

    for (int id : CBayerColorDlg::kMeanEdits)
        dialog.SetDlgItemText(id, QStringLiteral("90"));
    Prompter().ExpectMessageBox(
        "All channels were found to be equal during the balance operation.\nRegion already "
        "balanced.  No change was made to the color coefficients.\n",
        IDOK);
    Click(dialog, CBayerColorDlg::kBalanceNow);
    EXPECT_EQ(Current(1, 1), 256.0f);
}

}  // namespace
