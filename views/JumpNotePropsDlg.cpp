#include "views/JumpNotePropsDlg.h"

#include "platform/framework/DataExchange.h"
#include "views/DrawJumpNote.h"

#include <cmath>

void CJumpNotePropsDlg::LoadFromObject(CDrawObject* object) {
    SetDefaults(object);
    m_transparencyPercent = 50;
    if (!object)
        return;
    auto* note = dynamic_cast<CDrawJumpNote*>(object);
    if (m_type != CDrawJumpNote::kType || !note) {
        LoadShape(*object);
        return;
    }
    m_text = note->GetText();
    m_textColour = object->GetTextColor();
    QString face;
    int height = 0, escapement = 0, bold = 0, italic = 0, underline = 0;
    note->GetFont(&face, &height, &escapement, &bold, &italic, &underline);
    LoadFont(face, height, escapement, bold, italic, underline);
    m_filled = object->GetFilled();
    m_fillColour = object->GetFillColor();
    double fraction = 0.0;
    note->GetOffFrameOpacity(&fraction);
    // Rounded, so that OK without a change gives the note the fade it had.
    m_transparencyPercent = static_cast<int>(std::lround(fraction * 100.0));
}

BOOL CJumpNotePropsDlg::ApplyToObject(CDrawObject* object) {
    if (!SaveControls())
        return FALSE;
    if (!object)
        return TRUE;
    auto* note = dynamic_cast<CDrawJumpNote*>(object);
    if (object->GetType() != CDrawJumpNote::kType || !note) {
        ApplyShape(*object);
        return TRUE;
    }
    note->SetText(m_text);
    object->SetTextColor(m_textColour);
    QString face;
    int height = 0;
    note->GetFont(&face, &height, nullptr, nullptr, nullptr, nullptr);
    note->SetFont(m_faceName.isEmpty() ? face : m_faceName, FontSizeOr(height), m_escapement,
                  m_bold, m_italic, m_underline, FALSE);
    object->SetFilled(m_filled);
    object->SetFillColor(m_fillColour);
    note->SetOffFrameOpacity(m_transparencyPercent * 0.01);
    return TRUE;
}

void CJumpNotePropsDlg::EnableForType(int type, int* usesOwnType) {
    const bool own = type == CDrawJumpNote::kType;
    if (own) {
        Enable({kFilled, kText, kFillColour, kTextColour, kFontFace, kFontSize, kBold, kItalic,
                kUnderline},
               {kArrowHead, kArrowTail, kLineColour, kThickness, kStyle});
    } else {
        Enable({kFilled, kLineColour, kFillColour, kThickness, kStyle},
               {kArrowHead, kArrowTail, kClosed, kText, kTextColour, kFontFace, kFontSize, kBold,
                kItalic, kUnderline});
    }
    if (usesOwnType)
        *usesOwnType = own ? 1 : 0;
}

void CJumpNotePropsDlg::DoDataExchange(CDataExchange* pDX) {
    CDrawPropsDlg::DoDataExchange(pDX);
    DDX_Text(pDX, kTransparency, m_transparencyPercent);
    DDV_MinMaxInt(pDX, m_transparencyPercent, 0, 100);
}
