#include "platform/framework/Archive.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/Edit.h"
#include "platform/framework/ResourceChain.h"
#include "resources/DrawPropsTemplates.h"
#include "testsupport/IsolatedTest.h"
#include "views/CalipersPropsDlg.h"
#include "views/DrawCalipers.h"
#include "views/DrawCalipersB.h"
#include "views/DrawDimAngle.h"
#include "views/DrawDimLength.h"
#include "views/DrawInfo.h"
#include "views/DrawInfoPropsDlg.h"
#include "views/DrawJumpNote.h"
#include "views/DrawLengthCalibration.h"
#include "views/DrawLine.h"
#include "views/DrawPropsDlg.h"
#include "views/DrawRect.h"
#include "views/DrawSlider.h"
#include "views/DrawText.h"
#include "views/JumpNotePropsDlg.h"
#include "views/LengthCalibrationPropsDlg.h"
#include "views/MeasurePointNote.h"
#include "views/PleaseWaitDlg.h"
#include "views/SliderPropsDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

#include <functional>
#include <memory>

namespace {

using D = CDrawPropsDlg;

class MeasurePropsDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_module.name = QStringLiteral("properties");
        m_module.dialogs = DrawPropsTemplates();
        CResourceChain::AddModule(&m_module);
    }
    void TearDown() override {
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }
    static void SetEdit(CDialog& dialog, int id, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(id)->GetQWidget());
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
    }

    CResourceModule m_module;
};

TEST_F(MeasurePropsDlgTest, EachDialogKnowsItsOwnType) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<CDrawPropsDlg>()> make;
        std::vector<int> own;
    };
    const Case cases[] = {
        {"calipers", [] { return std::make_unique<CCalipersPropsDlg>(); }, {10, 16}},
        {"information", [] { return std::make_unique<CDrawInfoPropsDlg>(); }, {14}},
        {"jump note", [] { return std::make_unique<CJumpNotePropsDlg>(); }, {12}},
        {"calibration", [] { return std::make_unique<CLengthCalibrationPropsDlg>(); }, {11}},
        {"slider", [] { return std::make_unique<CSliderPropsDlg>(); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = c.make();
        for (int type = 1; type <= 16; ++type) {
            int result = -1;
            dialog->EnableForType(type, &result);
            const bool own = std::find(c.own.begin(), c.own.end(), type) != c.own.end();
            EXPECT_EQ(result, own ? 1 : 0) << type;
            // The labelled set and the note set show the font; the shape set the fill.
            EXPECT_EQ(dialog->IsControlEnabled(D::kFontFace), own) << type;
            EXPECT_EQ(dialog->IsControlEnabled(D::kFillColour), !own || type == 12) << type;
        }
    }
    CJumpNotePropsDlg note;
    note.EnableForType(12, nullptr);
    EXPECT_FALSE(note.IsControlEnabled(D::kLineColour));
    EXPECT_TRUE(note.IsControlEnabled(D::kText));
}

TEST_F(MeasurePropsDlgTest, LoadAndApplyPerObjectType) {
    // Information box: the size list shows height 18 as "18"; choosing 24 stores 24.
    CDrawInfo info;
    CDrawInfoPropsDlg infoDlg;
    infoDlg.LoadFromObject(&info);
    EXPECT_EQ(infoDlg.m_type, 14);
    EXPECT_EQ(infoDlg.m_fontSizeIndex, 13);
    infoDlg.m_fontSizeIndex = 19;
    infoDlg.m_textColour = 0x123456;
    EXPECT_TRUE(infoDlg.ApplyToObject(&info));
    EXPECT_EQ(info.GetFontHeight(), 24);
    EXPECT_EQ(info.GetTextColor(), 0x123456u);

    // Jump note: the default fade loads as 50 % and an unchanged OK keeps opacity 128.
    CDrawJumpNote note;
    note.SetFrame(3);
    note.SetCurrentFrame(4);
    CJumpNotePropsDlg noteDlg;
    noteDlg.LoadFromObject(&note);
    EXPECT_EQ(noteDlg.m_transparencyPercent, 50);
    EXPECT_TRUE(noteDlg.ApplyToObject(&note));
    EXPECT_EQ(note.Opacity(), 128);
    noteDlg.m_transparencyPercent = 100;
    noteDlg.ApplyToObject(&note);
    EXPECT_EQ(note.Opacity(), 0);

    // Measure point: the shape set; its fade is not touched.
    CMeasurePointNote point;
    point.SetFrame(1);
    noteDlg.LoadFromObject(&point);
    EXPECT_EQ(noteDlg.m_type, 15);
    noteDlg.m_transparencyPercent = 0;
    noteDlg.m_lineColour = 0x00AA00;
    noteDlg.ApplyToObject(&point);
    EXPECT_EQ(point.GetLineColor(), 0x00AA00u);
    EXPECT_EQ(point.Opacity(), 255 - 175);

    // Length calibration: length and units reach the calibration; units -1 stay -1, and a
    // length that is not above 0 is not taken.
    CDrawLengthCalibration calibration;
    CCalibrationData data;
    calibration.GetCalibration(&data);
    data.SetUnits(-1);
    calibration.SetCalibration(&data);
    CLengthCalibrationPropsDlg calibrationDlg;
    calibrationDlg.LoadFromObject(&calibration);
    EXPECT_EQ(calibrationDlg.m_unitsIndex, -1);
    EXPECT_EQ(calibrationDlg.m_length, 1.0);
    calibrationDlg.m_length = 0.0;
    calibrationDlg.ApplyToObject(&calibration);
    calibration.GetCalibration(&data);
    int units = 0;
    double distance = 0.0;
    data.GetUnits(&units);
    data.GetDistance(&distance);
    EXPECT_EQ(units, -1);
    EXPECT_EQ(distance, 1.0);
    calibrationDlg.m_length = 12.5;
    calibrationDlg.m_unitsIndex = 3;
    calibrationDlg.ApplyToObject(&calibration);
    calibration.GetCalibration(&data);
    data.GetUnits(&units);
    data.GetDistance(&distance);
    EXPECT_EQ(units, 3);
    EXPECT_EQ(distance, 12.5);

    // Calipers: line and font; a thickness index outside the list keeps the thickness.
    CDrawCalipers caliper;
    CCalipersPropsDlg caliperDlg;
    caliperDlg.LoadFromObject(&caliper);
    EXPECT_EQ(caliperDlg.m_thicknessIndex, 2);
    caliperDlg.m_thicknessIndex = -1;
    caliperDlg.m_fontSizeIndex = 7;
    caliperDlg.ApplyToObject(&caliper);
    EXPECT_EQ(caliper.GetLineThickness(), 3);
    EXPECT_EQ(caliper.GetLabelHeight(), 12);

    // Slider: the shape fields whatever the type.
    CDrawRect rect;
    rect.SetFilled(TRUE);
    CSliderPropsDlg sliderDlg;
    sliderDlg.LoadFromObject(&rect);
    EXPECT_EQ(sliderDlg.m_filled, 1);
    sliderDlg.m_filled = 0;
    sliderDlg.ApplyToObject(&rect);
    EXPECT_FALSE(rect.GetFilled());
}

TEST_F(MeasurePropsDlgTest, OpenDialogValidatesAndEnablesControls) {
    CDrawJumpNote note;
    CJumpNotePropsDlg dialog;
    dialog.LoadFromObject(&note);
    ASSERT_TRUE(dialog.Create(CJumpNotePropsDlg::kTemplate));
    EXPECT_FALSE(dialog.GetDlgItem(D::kLineColour)->IsWindowEnabled());
    EXPECT_TRUE(dialog.GetDlgItem(D::kText)->IsWindowEnabled());
    auto* sizes = qobject_cast<QComboBox*>(dialog.GetDlgItem(D::kFontSize)->GetQWidget());
    ASSERT_NE(sizes, nullptr);
    EXPECT_EQ(sizes->count(), 96);
    EXPECT_EQ(sizes->currentText(), "18");
    SetEdit(dialog, CJumpNotePropsDlg::kTransparency, "150");
    Prompter().ExpectMessageBox("Please enter an integer between 0 and 100.", IDOK);
    EXPECT_FALSE(dialog.ApplyToObject(&note));
    double fraction = 0.0;
    note.GetOffFrameOpacity(&fraction);
    EXPECT_DOUBLE_EQ(fraction, 127.0 / 255.0);
    SetEdit(dialog, CJumpNotePropsDlg::kTransparency, "20");
    EXPECT_TRUE(dialog.ApplyToObject(&note));
    note.GetOffFrameOpacity(&fraction);
    EXPECT_DOUBLE_EQ(fraction, 0.2);
    dialog.DestroyWindow();

    CDrawLengthCalibration calibration;
    CLengthCalibrationPropsDlg calibrationDlg;
    calibrationDlg.LoadFromObject(&calibration);
    ASSERT_TRUE(calibrationDlg.Create(CLengthCalibrationPropsDlg::kTemplate));
    auto* units = qobject_cast<QComboBox*>(calibrationDlg.GetDlgItem(2205)->GetQWidget());
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units->currentText(), "Centimeters");
    SetEdit(calibrationDlg, CLengthCalibrationPropsDlg::kLength, "0");
    Prompter().ExpectMessageBox("Please enter a length greater than 0.", IDOK);
    EXPECT_FALSE(calibrationDlg.ApplyToObject(&calibration));
    calibrationDlg.DestroyWindow();
}

// The titles of the windows shown while it is installed.
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    QStringList titles;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow())
            titles << widget->windowTitle();
        return false;
    }
};

TEST_F(MeasurePropsDlgTest, FontNamesAreGatheredUnderThePleaseWaitBox) {
    const QString waitTitle = QStringLiteral("Draw Properties: Please Wait");
    struct Case {
        const char* name;
        std::function<std::unique_ptr<CDrawPropsDlg>()> make;
        std::function<std::unique_ptr<CDrawObject>()> object;
        bool fonts;
    };
    const Case cases[] = {
        {"jump note", [] { return std::make_unique<CJumpNotePropsDlg>(); },
         [] { return std::make_unique<CDrawJumpNote>(); }, true},
        {"slider", [] { return std::make_unique<CSliderPropsDlg>(); },
         [] { return std::make_unique<CDrawSlider>(); }, false},
        {"rectangle", [] { return std::make_unique<CDrawPropsDlg>(); },
         [] { return std::make_unique<CDrawRect>(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto dialog = c.make();
        auto object = c.object();
        dialog->LoadFromObject(object.get());
        ShownWindows shown;
        ASSERT_TRUE(dialog->Create(dialog->GetTemplateID()));
        EXPECT_EQ(shown.titles.contains(waitTitle), c.fonts)
            << shown.titles.join('|').toStdString();
        // The box is gone once the list is filled.
        for (QWidget* window : QApplication::topLevelWidgets())
            EXPECT_FALSE(window->isVisible() && window->windowTitle() == waitTitle);
        dialog->DestroyWindow();
    }

    CPleaseWaitDlg wait;
    ASSERT_TRUE(wait.Show(nullptr));
    EXPECT_TRUE(wait.IsWindowVisible());
    QWidget* message = wait.GetDlgItem(CPleaseWaitDlg::kMessage)->GetQWidget();
    EXPECT_EQ(wait.GetDlgItem(CPleaseWaitDlg::kMessage)->GetWindowText(), "Loading fonts...");
    EXPECT_TRUE(message->font().bold());
    EXPECT_EQ(message->font().pixelSize(), 16);
    EXPECT_EQ(message->palette().color(QPalette::WindowText), QColor(192, 0, 0));
}

TEST_F(MeasurePropsDlgTest, BasicShapesFollowTheirOwnTable) {
    CDrawLine line;
    line.SetLineThickness(3);
    CDrawPropsDlg dialog;
    dialog.LoadFromObject(&line);
    EXPECT_EQ(dialog.m_thicknessIndex, 2);
    dialog.m_thicknessIndex = 0;
    dialog.m_arrowTail = 1;
    dialog.ApplyToObject(&line);
    EXPECT_EQ(line.GetLineThickness(), 1);
    EXPECT_EQ(line.GetArrowTail(), 1);
    int fonts = -1;
    dialog.EnableForType(-1, &fonts);
    EXPECT_EQ(fonts, 1);
    EXPECT_FALSE(dialog.IsControlEnabled(D::kApply));
    dialog.EnableForType(2, &fonts);
    EXPECT_EQ(fonts, 0);
    EXPECT_TRUE(dialog.IsControlEnabled(D::kFilled));
}

// The stored form of an object.
QByteArray Stored(const QString& path, CObject& object) {
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
        ar.Close();
        file.Close();
    }
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Each properties dialog loaded from an object and applied without an edit leaves the object's
// stored bytes as they were: fonts keep their bold, italic and underline.
TEST_F(MeasurePropsDlgTest, OkWithoutEditsChangesNoObject) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<CDrawObject>()> make;
        std::function<std::unique_ptr<CDrawPropsDlg>()> dialog;
    };
    const auto plain = [] { return std::make_unique<CDrawPropsDlg>(); };
    const Case cases[] = {
        {"length dimension",
         [] {
             auto length = std::make_unique<CDrawDimLength>();
             length->SetFont(QStringLiteral("Serif"), 20, TRUE, TRUE, TRUE);
             return length;
         },
         plain},
        {"angle dimension",
         [] {
             auto angle = std::make_unique<CDrawDimAngle>();
             angle->SetFont(QStringLiteral("Serif"), 22, TRUE, FALSE, TRUE);
             return angle;
         },
         plain},
        {"text",
         [] {
             auto text = std::make_unique<CDrawText>();
             text->SetText(QStringLiteral("hello"));
             text->SetFont(QStringLiteral("Serif"), 16, 0, TRUE, TRUE, TRUE, FALSE);
             return text;
         },
         plain},
        {"line",
         [] {
             auto line = std::make_unique<CDrawLine>();
             line->SetLineColor(0x102030);
             return line;
         },
         plain},
        {"filled rectangle",
         [] {
             auto rect = std::make_unique<CDrawRect>();
             rect->SetFilled(TRUE);
             rect->SetFillColor(0x405060);
             return rect;
         },
         plain},
        {"information box", [] { return std::make_unique<CDrawInfo>(); },
         [] { return std::make_unique<CDrawInfoPropsDlg>(); }},
        {"jump note", [] { return std::make_unique<CDrawJumpNote>(); },
         [] { return std::make_unique<CJumpNotePropsDlg>(); }},
        {"calipers", [] { return std::make_unique<CDrawCalipers>(); },
         [] { return std::make_unique<CCalipersPropsDlg>(); }},
        {"length calibration", [] { return std::make_unique<CDrawLengthCalibration>(); },
         [] { return std::make_unique<CLengthCalibrationPropsDlg>(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CDrawObject> object = c.make();
        const QByteArray before = Stored(WorkPath("before.bin"), *object);
        std::unique_ptr<CDrawPropsDlg> dialog = c.dialog();
        dialog->LoadFromObject(object.get());
        ASSERT_TRUE(dialog->ApplyToObject(object.get()));
        EXPECT_EQ(Stored(WorkPath("after.bin"), *object).toHex(), before.toHex());
    }
}

// The angle dimension's enabled font controls reach it.
TEST_F(MeasurePropsDlgTest, AnAngleDimensionTakesItsFontEdits) {
    CDrawDimAngle angle;
    CDrawPropsDlg dialog;
    dialog.LoadFromObject(&angle);
    EXPECT_TRUE(dialog.IsControlEnabled(D::kBold));
    dialog.m_bold = TRUE;
    dialog.m_underline = TRUE;
    dialog.m_fontSizeIndex = 30 - CDrawPropsDlg::kMinFontSize;
    ASSERT_TRUE(dialog.ApplyToObject(&angle));
    QString face;
    int height = 0;
    BOOL bold = FALSE, italic = TRUE, underline = FALSE;
    angle.GetFont(&face, &height, &bold, &italic, &underline);
    EXPECT_TRUE(bold);
    EXPECT_FALSE(italic);
    EXPECT_TRUE(underline);
    EXPECT_EQ(height, 30);
}

}  // namespace
