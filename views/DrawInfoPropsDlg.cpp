#include "views/DrawInfoPropsDlg.h"

#include "views/DrawInfo.h"

#include <algorithm>

void CDrawInfoPropsDlg::LoadFromObject(CDrawObject* object) {
    SetDefaults(object);
    if (!object)
        return;
    auto* info = dynamic_cast<CDrawInfo*>(object);
    if (m_type != CDrawInfo::kType || !info) {
        LoadShape(*object);
        return;
    }
    m_lineColour = object->GetLineColor();
    m_styleIndex = object->GetLineStyle();
    m_thicknessIndex = std::max(object->GetLineThickness() - 1, 0);
    m_textColour = object->GetTextColor();
    QString face;
    int height = 0, escapement = 0, bold = 0, italic = 0, underline = 0;
    info->GetFont(&face, &height, &escapement, &bold, &italic, &underline);
    LoadFont(face, height, escapement, bold, italic, underline);
}

BOOL CDrawInfoPropsDlg::ApplyToObject(CDrawObject* object) {
    if (!SaveControls())
        return FALSE;
    if (!object)
        return TRUE;
    auto* info = dynamic_cast<CDrawInfo*>(object);
    if (object->GetType() != CDrawInfo::kType || !info) {
        ApplyShape(*object);
        return TRUE;
    }
    object->SetTextColor(m_textColour);
    ApplyLine(*object);
    QString face;
    int height = 0;
    info->GetFont(&face, &height, nullptr, nullptr, nullptr, nullptr);
    info->SetFont(m_faceName.isEmpty() ? face : m_faceName, FontSizeOr(height), m_escapement,
                  m_bold, m_italic, m_underline, 0);
    return TRUE;
}

void CDrawInfoPropsDlg::EnableForType(int type, int* usesOwnType) {
    const bool own = type == CDrawInfo::kType;
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
