#include "views/DrawPropsDlg.h"

#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/GdiConstants.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/SysColor.h"
#include "views/DrawArc.h"
#include "views/DrawDimAngle.h"
#include "views/DrawDimLength.h"
#include "views/DrawLine.h"
#include "views/DrawPolygon.h"
#include "views/DrawText.h"
#include "views/PleaseWaitDlg.h"

#include <QFontDatabase>
#include <QWidget>

#include <algorithm>
#include <functional>

IMPLEMENT_DYNAMIC(CDrawPropsDlg, CDialog)

BEGIN_MESSAGE_MAP(CDrawPropsDlg, CDialog)
ON_BN_CLICKED(CDrawPropsDlg::kApply, OnApply)
ON_BN_CLICKED(CDrawPropsDlg::kLineColour, OnLineColour)
ON_BN_CLICKED(CDrawPropsDlg::kFillColour, OnFillColour)
ON_BN_CLICKED(CDrawPropsDlg::kTextColour, OnTextColour)
END_MESSAGE_MAP()

namespace {

const char* const kStyles[] = {"Solid", "Dashed", "Dotted", "Dash-Dot", "Dash-Dot-Dot"};

}  // namespace

CDrawPropsDlg::CDrawPropsDlg(UINT templateId) : CDialog(templateId) {}

INT_PTR CDrawPropsDlg::DoModalForObject(CDrawObject* object, CWnd* redraw) {
    LoadFromObject(object);
    m_object = object;
    m_redraw = redraw;
    const INT_PTR result = DoModal();
    if (result == IDOK && object)
        ApplyToObject(object);
    return result;
}

void CDrawPropsDlg::SetDefaults(CDrawObject* object) {
    m_type = object ? object->GetType() : -1;
    m_lineColour = m_fillColour = m_textColour = GetSysColor(COLOR_BTNFACE);
    m_filled = m_arrowHead = m_arrowTail = m_closed = 0;
    m_bold = m_italic = m_underline = 0;
    m_text.clear();
    m_faceName.clear();
    m_fontSizeIndex = -1;
}

void CDrawPropsDlg::LoadShape(const CDrawObject& object) {
    m_lineColour = object.GetLineColor();
    m_styleIndex = object.GetLineStyle();
    m_thicknessIndex = std::max(object.GetLineThickness() - 1, 0);
    m_filled = object.GetFilled();
    m_fillColour = object.GetFillColor();
}

void CDrawPropsDlg::ApplyLine(CDrawObject& object) const {
    object.SetLineColor(m_lineColour);
    if (m_styleIndex >= 0 && m_styleIndex < static_cast<int>(std::size(kStyles)))
        object.SetLineStyle(m_styleIndex);
    object.SetLineThickness(ThicknessOr(object.GetLineThickness()));
}

void CDrawPropsDlg::ApplyShape(CDrawObject& object) const {
    ApplyLine(object);
    object.SetFilled(m_filled);
    object.SetFillColor(m_fillColour);
}

void CDrawPropsDlg::LoadFont(const QString& face, int height, int escapement, int bold, int italic,
                             int underline) {
    m_faceName = face;
    m_fontSizeIndex = height - kMinFontSize;
    m_escapement = escapement;
    m_bold = bold;
    m_italic = italic;
    m_underline = underline;
}

int CDrawPropsDlg::ThicknessOr(int current) const {
    return m_thicknessIndex >= 0 && m_thicknessIndex < kMaxThickness ? m_thicknessIndex + 1
                                                                     : current;
}

int CDrawPropsDlg::FontSizeOr(int current) const {
    return m_fontSizeIndex >= 0 && m_fontSizeIndex <= kMaxFontSize - kMinFontSize
               ? m_fontSizeIndex + kMinFontSize
               : current;
}

void CDrawPropsDlg::LoadFromObject(CDrawObject* object) {
    SetDefaults(object);
    if (!object)
        return;
    LoadShape(*object);
    m_filled = 0;
    m_fillColour = GetSysColor(COLOR_BTNFACE);
    switch (m_type) {
        case 1:
            if (auto* line = dynamic_cast<CDrawLine*>(object)) {
                m_arrowHead = line->GetArrowHead();
                m_arrowTail = line->GetArrowTail();
            }
            break;
        case 9:
            if (auto* arc = dynamic_cast<CDrawArc*>(object)) {
                m_arrowHead = arc->GetArrowAtStart();
                m_arrowTail = arc->GetArrowAtEnd();
            }
            break;
        case 4:
        case 5:
            LoadShape(*object);
            if (auto* polygon = dynamic_cast<CDrawPolygon*>(object))
                m_closed = polygon->GetClosed();
            break;
        case 6:
            if (auto* text = dynamic_cast<CDrawText*>(object)) {
                LoadShape(*object);
                m_textColour = object->GetTextColor();
                m_text = text->GetText();
                QString face;
                int h = 0, e = 0, b = 0, i = 0, u = 0;
                text->GetFont(&face, &h, &e, &b, &i, &u);
                LoadFont(face, h, e, b, i, u);
            }
            break;
        case 7:
        case 8: {
            // The dimension's own flags, so that OK without an edit keeps them.
            QString face;
            int h = 0;
            BOOL b = 0, i = 0, u = 0;
            m_textColour = object->GetTextColor();
            if (auto* length = dynamic_cast<CDrawDimLength*>(object)) {
                length->GetFont(&face, &h, &b, &i, &u);
                LoadFont(face, h, 0, b, i, u);
            } else if (auto* angle = dynamic_cast<CDrawDimAngle*>(object)) {
                angle->GetFont(&face, &h, &b, &i, &u);
                LoadFont(face, h, 0, b, i, u);
            }
            break;
        }
        default:
            LoadShape(*object);
            break;
    }
}

BOOL CDrawPropsDlg::SaveControls() {
    return GetSafeHwnd() ? UpdateData(TRUE) : TRUE;
}

BOOL CDrawPropsDlg::ApplyToObject(CDrawObject* object) {
    if (!SaveControls())
        return FALSE;
    if (!object)
        return TRUE;
    switch (object->GetType()) {
        case 1:
            if (auto* line = dynamic_cast<CDrawLine*>(object)) {
                line->SetArrowHead(m_arrowHead);
                line->SetArrowTail(m_arrowTail);
            }
            [[fallthrough]];
        case 9:
            if (auto* arc = dynamic_cast<CDrawArc*>(object)) {
                arc->SetArrowAtStart(m_arrowHead);
                arc->SetArrowAtEnd(m_arrowTail);
            }
            ApplyLine(*object);
            break;
        case 4:
        case 5:
            ApplyShape(*object);
            if (auto* polygon = dynamic_cast<CDrawPolygon*>(object))
                polygon->SetClosed(m_closed);
            break;
        case 6:
            if (auto* text = dynamic_cast<CDrawText*>(object)) {
                text->SetText(m_text);
                object->SetTextColor(m_textColour);
                QString face;
                int h = 0;
                text->GetFont(&face, &h, nullptr, nullptr, nullptr, nullptr);
                text->SetFont(m_faceName.isEmpty() ? face : m_faceName, FontSizeOr(h), m_escapement,
                              m_bold, m_italic, m_underline, FALSE);
                object->SetFilled(m_filled);
                object->SetFillColor(m_fillColour);
            }
            break;
        case 7:
        case 8:
            ApplyLine(*object);
            object->SetTextColor(m_textColour);
            if (auto* length = dynamic_cast<CDrawDimLength*>(object))
                length->SetFont(m_faceName.isEmpty() ? length->GetFaceName() : m_faceName,
                                FontSizeOr(length->GetLabelHeight()), m_bold, m_italic,
                                m_underline);
            else if (auto* angle = dynamic_cast<CDrawDimAngle*>(object))
                angle->SetFont(m_faceName.isEmpty() ? angle->GetFaceName() : m_faceName,
                               FontSizeOr(angle->GetLabelHeight()), m_bold, m_italic, m_underline);
            break;
        default:
            ApplyShape(*object);
            break;
    }
    return TRUE;
}

void CDrawPropsDlg::Enable(std::initializer_list<int> on, std::initializer_list<int> off) {
    for (int id : on)
        m_enabled[id] = true;
    for (int id : off)
        m_enabled[id] = false;
    if (!GetSafeHwnd())
        return;
    for (const auto& [id, state] : m_enabled) {
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(state);
    }
}

bool CDrawPropsDlg::IsControlEnabled(int id) const {
    const auto it = m_enabled.find(id);
    return it == m_enabled.end() || it->second;
}

void CDrawPropsDlg::EnableForType(int type, int* usesOwnType) {
    const std::initializer_list<int> font = {kFontFace, kFontSize, kBold, kItalic, kUnderline};
    bool fonts = false;
    switch (type) {
        case 1:
        case 9:
            Enable({kArrowHead, kArrowTail, kLineColour, kThickness, kStyle},
                   {kFilled, kClosed, kText, kFillColour, kTextColour});
            Enable({}, font);
            break;
        case 4:
        case 5:
            Enable({kFilled, kClosed, kLineColour, kFillColour, kThickness, kStyle},
                   {kArrowHead, kArrowTail, kText, kTextColour});
            Enable({}, font);
            break;
        case 6:
            Enable({kFilled, kText, kFillColour, kTextColour},
                   {kArrowHead, kArrowTail, kLineColour, kThickness, kStyle});
            Enable(font, {});
            fonts = true;
            break;
        case 7:
        case 8:
            Enable({kLineColour, kTextColour, kThickness, kStyle},
                   {kArrowHead, kArrowTail, kFilled, kClosed, kText, kFillColour});
            Enable(font, {});
            fonts = true;
            break;
        case -1:
            Enable(
                {kArrowHead, kArrowTail, kLineColour, kFillColour, kTextColour, kThickness, kStyle},
                {kFilled, kClosed, kText, kApply});
            Enable(font, {});
            fonts = true;
            break;
        default:
            Enable({kFilled, kLineColour, kFillColour, kThickness, kStyle},
                   {kArrowHead, kArrowTail, kClosed, kText, kTextColour});
            Enable({}, font);
            break;
    }
    if (usesOwnType)
        *usesOwnType = fonts ? 1 : 0;
}

void CDrawPropsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, kArrowHead, m_arrowHead);
    DDX_Check(pDX, kArrowTail, m_arrowTail);
    DDX_Check(pDX, kFilled, m_filled);
    DDX_CBIndex(pDX, kStyle, m_styleIndex);
    DDX_CBIndex(pDX, kThickness, m_thicknessIndex);
    DDX_Text(pDX, kText, m_text);
    DDX_Check(pDX, kBold, m_bold);
    DDX_Check(pDX, kItalic, m_italic);
    DDX_Check(pDX, kUnderline, m_underline);
    DDX_CBIndex(pDX, kFontSize, m_fontSizeIndex);
    DDX_Check(pDX, kClosed, m_closed);
    CComboBox* faces = ComboOf(m_faceList, kFontFace);
    if (faces && pDX->m_bSaveAndValidate && faces->IsWindowEnabled() && faces->GetCurSel() >= 0)
        m_faceName = faces->GetLBText(faces->GetCurSel());
}

BOOL CDrawPropsDlg::OnInitDialog() {
    EnableForType(m_type, nullptr);
    const auto fill = [this](CComboBox& member, int id,
                             const std::function<void(CComboBox&)>& items) {
        if (CComboBox* combo = ComboOf(member, id)) {
            combo->ResetContent();
            items(*combo);
        }
    };
    if (IsControlEnabled(kFontFace) && ComboOf(m_faceList, kFontFace)) {
        // Gathering the faces takes a while on a system with many fonts.
        CPleaseWaitDlg wait;
        wait.Show(this);
        QStringList families = QFontDatabase::families();
        if (!m_faceName.isEmpty() && !families.contains(m_faceName))
            families << m_faceName;
        m_faceList.FillFontList(families);
        m_faceList.SetCurSel(m_faceList.FindStringExact(-1, m_faceName));
    }
    fill(m_thicknessList, kThickness, [](CComboBox& c) {
        for (int i = 1; i <= kMaxThickness; ++i)
            c.AddString(QString::number(i));
    });
    fill(m_sizeList, kFontSize, [](CComboBox& c) {
        for (int i = kMinFontSize; i <= kMaxFontSize; ++i)
            c.AddString(QString::number(i));
    });
    fill(m_styleList, kStyle, [](CComboBox& c) {
        for (const char* style : kStyles)
            c.AddString(QString::fromLatin1(style));
    });
    const BOOL result = CDialog::OnInitDialog();
    ShowColour(kLineColour, m_lineColour);
    ShowColour(kFillColour, m_fillColour);
    ShowColour(kTextColour, m_textColour);
    return result;
}

CComboBox* CDrawPropsDlg::ComboOf(CComboBox& member, int id) {
    if (!member.GetSafeHwnd() && GetSafeHwnd() && GetDlgItem(id))
        member.SubclassDlgItem(id, this);
    return member.GetSafeHwnd() ? &member : nullptr;
}

void CDrawPropsDlg::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDrawPropsDlg::OnApply() {
    if (!m_object)
        return;
    ApplyToObject(m_object);
    if (m_redraw)
        m_redraw->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CDrawPropsDlg::ChooseColour(COLORREF* colour, int id) {
    ColorPrompt prompt;
    prompt.initial = *colour;
    prompt.owner = GetQWidget();
    if (const std::optional<COLORREF> chosen = AfxPrompter().ChooseColor(prompt)) {
        *colour = *chosen;
        ShowColour(id, *colour);
    }
}

void CDrawPropsDlg::ShowColour(int id, COLORREF colour) {
    CWnd* button = GetDlgItem(id);
    if (!button || !button->GetQWidget())
        return;
    button->GetQWidget()->setStyleSheet(QStringLiteral("background-color: rgb(%1, %2, %3);")
                                            .arg(GetRValue(colour))
                                            .arg(GetGValue(colour))
                                            .arg(GetBValue(colour)));
}
