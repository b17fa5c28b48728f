#include "views/CalipersPropsDlg.h"

#include "views/DrawCalipersB.h"

#include <algorithm>

namespace {

bool IsOwn(int type) {
    return type == 10 || type == 16;
}

}  // namespace

void CCalipersPropsDlg::LoadFromObject(CDrawObject* object) {
    SetDefaults(object);
    if (!object)
        return;
    auto* caliper = dynamic_cast<CDrawCalipersB*>(object);
    if (!IsOwn(m_type) || !caliper) {
        LoadShape(*object);
        return;
    }
    m_lineColour = object->GetLineColor();
    m_styleIndex = object->GetLineStyle();
    m_thicknessIndex = std::max(object->GetLineThickness() - 1, 0);
    m_text = caliper->GetLabelText();
    m_textColour = object->GetTextColor();
    QString face;
    int height = 0;
    BOOL bold = 0, italic = 0, underline = 0;
    caliper->GetFont(&face, &height, &bold, &italic, &underline);
    LoadFont(face, height, caliper->GetTextAngle(), bold, italic, underline);
}

BOOL CCalipersPropsDlg::ApplyToObject(CDrawObject* object) {
    if (!SaveControls())
        return FALSE;
    if (!object)
        return TRUE;
    auto* caliper = dynamic_cast<CDrawCalipersB*>(object);
    if (!IsOwn(object->GetType()) || !caliper) {
        ApplyShape(*object);
        return TRUE;
    }
    object->SetTextColor(m_textColour);
    ApplyLine(*object);
    QString face;
    int height = 0;
    caliper->GetFont(&face, &height, nullptr, nullptr, nullptr);
    caliper->SetFont(m_faceName.isEmpty() ? face : m_faceName, FontSizeOr(height), m_bold, m_italic,
                     m_underline);
    return TRUE;
}

void CCalipersPropsDlg::EnableForType(int type, int* usesOwnType) {
    const bool own = IsOwn(type);
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
