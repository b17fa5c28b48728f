#include "views/LengthCalibrationPropsDlg.h"

#include "platform/framework/ComboBox.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"
#include "platform/wintypes/WinMessages.h"
#include "views/DrawLengthCalibration.h"

#include <algorithm>

namespace {

const char* const kUnitNames[] = {"Feet", "Inches", "Meters", "Millimeters", "Centimeters"};

}  // namespace

void CLengthCalibrationPropsDlg::LoadFromObject(CDrawObject* object) {
    SetDefaults(object);
    m_length = 1.0;
    m_unitsIndex = 0;
    if (!object)
        return;
    auto* calibration = dynamic_cast<CDrawLengthCalibration*>(object);
    if (m_type != CDrawLengthCalibration::kType || !calibration) {
        LoadShape(*object);
        return;
    }
    m_lineColour = object->GetLineColor();
    m_styleIndex = object->GetLineStyle();
    m_thicknessIndex = std::max(object->GetLineThickness() - 1, 0);
    m_text = calibration->GetLabelText();
    m_textColour = object->GetTextColor();
    QString face;
    int height = 0;
    BOOL bold = 0, italic = 0, underline = 0;
    calibration->GetFont(&face, &height, &bold, &italic, &underline);
    LoadFont(face, height, calibration->GetTextAngle(), bold, italic, underline);
    CCalibrationData data;
    calibration->GetCalibration(&data);
    data.GetDistance(&m_length);
    data.GetUnits(&m_unitsIndex);
}

BOOL CLengthCalibrationPropsDlg::ApplyToObject(CDrawObject* object) {
    if (!SaveControls())
        return FALSE;
    if (!object)
        return TRUE;
    auto* calibration = dynamic_cast<CDrawLengthCalibration*>(object);
    if (object->GetType() != CDrawLengthCalibration::kType || !calibration) {
        ApplyShape(*object);
        return TRUE;
    }
    object->SetTextColor(m_textColour);
    ApplyLine(*object);
    QString face;
    int height = 0;
    calibration->GetFont(&face, &height, nullptr, nullptr, nullptr);
    calibration->SetFont(m_faceName.isEmpty() ? face : m_faceName, FontSizeOr(height), m_bold,
                         m_italic, m_underline);
    CCalibrationData data;
    calibration->GetCalibration(&data);
    // A length that is not above 0 would make every measurement meaningless: it is kept.
    if (m_length > 0.0)
        data.SetDistance(m_length);
    if (m_unitsIndex >= -1 && m_unitsIndex <= 4)
        data.SetUnits(m_unitsIndex);
    calibration->SetCalibration(&data);
    return TRUE;
}

void CLengthCalibrationPropsDlg::EnableForType(int type, int* usesOwnType) {
    const bool own = type == CDrawLengthCalibration::kType;
    if (own) {
        Enable({kArrowHead, kArrowTail, kLineColour, kTextColour, kThickness, kStyle, kFontFace,
                kFontSize, kBold, kItalic, kUnderline},
               {kFilled, kClosed, kText, kFillColour});
    } else {
        Enable({kFilled, kLineColour, kFillColour, kThickness, kStyle},
               {kArrowHead, kArrowTail, kClosed, kText, kTextColour, kFontFace, kFontSize, kBold,
                kItalic, kUnderline});
    }
    if (usesOwnType)
        *usesOwnType = own ? 1 : 0;
}

void CLengthCalibrationPropsDlg::DoDataExchange(CDataExchange* pDX) {
    CDrawPropsDlg::DoDataExchange(pDX);
    DDX_Text(pDX, kLength, m_length);
    // A length that is not above 0 would make every calibrated value meaningless.
    if (pDX->m_bSaveAndValidate && !(m_length > 0.0)) {
        MessageBoxPrompt prompt;
        prompt.text = QStringLiteral("Please enter a length greater than 0.");
        prompt.caption = QStringLiteral("Length Calibration Properties");
        prompt.type = MB_OK | MB_ICONEXCLAMATION;
        AfxPrompter().MessageBox(prompt);
        pDX->Fail();
    }
    DDX_CBIndex(pDX, kUnits, m_unitsIndex);
}

BOOL CLengthCalibrationPropsDlg::OnInitDialog() {
    if (CComboBox* units = ComboOf(m_unitsList, kUnits)) {
        units->ResetContent();
        for (const char* name : kUnitNames)
            units->AddString(QString::fromLatin1(name));
    }
    return CDrawPropsDlg::OnInitDialog();
}
