#include "views/DrawText.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "views/DrawGeometry.h"
#include "views/ZoomTransform.h"

#include <cmath>
#include <cstdlib>

IMPLEMENT_SERIAL(CDrawText, CDrawObject, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

CDrawText::CDrawText() {
    m_type = kType;
    SetFilled(FALSE);
}

void CDrawText::Serialize(CArchive& ar) {
    CDrawObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_text << m_height << m_escapement << m_bold << m_italic << m_underline << m_faceName;
    } else {
        QString text;
        QString face;
        int height = 0, escapement = 0;
        BOOL bold = 0, italic = 0, underline = 0;
        ar >> text >> height >> escapement >> bold >> italic >> underline >> face;
        m_text = text;
        // Turns of more than a full circle say nothing more; a whole turn is 3600 tenths.
        SetFont(face, StoredExtent(height), escapement % 3600, bold, italic, underline, FALSE);
        SetModified(FALSE);
    }
}

void CDrawText::MovePoint(int index, CDoublePoint p, BOOL snap) {
    if (snap)
        p = Snap(p);
    if (index < 0 || index >= GetPointCount())
        return;
    if (index == 1) {
        const CDoublePoint anchor = GetPoint(0, FALSE);
        const double tenths =
            std::atan2(p.y - anchor.y, p.x - anchor.x) * DrawGeometry::kTenthDegreesPerRadianDown;
        m_escapement = TruncToInt(tenths);
        SetModified(TRUE);
        return;
    }
    CDrawObject::MovePoint(index, p, FALSE);
}

BOOL CDrawText::GetTextBox(CDoublePoint* first, CDoublePoint* second) const {
    if (GetPointCount() < 2)
        return FALSE;
    const CDoublePoint a = GetPoint(0, FALSE);
    const CDoublePoint b = GetPoint(1, FALSE);
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double height = std::abs(static_cast<double>(m_height));
    // Below the base line, in the text's own turning: (dx, dy) turned a quarter clockwise on
    // screen.
    const double nx = length > 0.0 ? -dy / length : 0.0;
    const double ny = length > 0.0 ? dx / length : 1.0;
    if (first)
        *first = a;
    if (second)
        *second = {b.x + nx * height, b.y + ny * height};
    return TRUE;
}

BOOL CDrawText::HitTest(CDoublePoint p, int* hitPart) {
    ResetHit(hitPart);
    if (!GetTextBox(nullptr, nullptr))
        return FALSE;
    const CDoublePoint a = GetPoint(0, FALSE);
    const CDoublePoint b = GetPoint(1, FALSE);
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    bool hit = false;
    if (length > 0.0) {
        const double along = ((p.x - a.x) * dx + (p.y - a.y) * dy) / length;
        const double below = ((p.y - a.y) * dx - (p.x - a.x) * dy) / length;
        const double height = std::abs(static_cast<double>(m_height));
        if (along >= 0.0 && along <= length && below >= 0.0 && below <= height) {
            hit = true;
            if (hitPart)
                *hitPart = kHitBody;
        }
    }
    if (HitVertex(p, hitPart))
        hit = true;
    return hit;
}

void CDrawText::SetText(const QString& text) {
    m_text = text;
    SetModified(TRUE);
}

void CDrawText::SetFont(const QString& face, int height, int escapement, BOOL bold, BOOL italic,
                        BOOL underline, BOOL drawOnly) {
    if (drawOnly) {
        if (m_font.GetSafeHandle()) {
            LOGFONT current;
            m_font.GetLogFont(&current);
            if (current.lfHeight == height && current.lfEscapement == escapement)
                return;
        }
        CreateFontFrom(face, height, escapement, bold, italic, underline);
        return;
    }
    m_faceName = face;
    m_height = height;
    m_escapement = escapement;
    m_bold = bold;
    m_italic = italic;
    m_underline = underline;
    if (m_font.GetSafeHandle())
        SetModified(TRUE);
    CreateFontFrom(face, height, escapement, bold, italic, underline);
}

void CDrawText::CreateFontFrom(const QString& face, int height, int escapement, BOOL bold,
                               BOOL italic, BOOL underline) {
    m_font.DeleteObject();
    m_font.CreateFont(height, 0, escapement, 0, bold ? kBoldWeight : 0, italic ? 1 : 0,
                      underline ? 1 : 0, 0, 0, 0, 0, 0, 0, face);
}

BOOL CDrawText::GetAnchorPoints(CDoublePoint* first, CDoublePoint* second,
                                const CZoomTransform* t) const {
    if (GetPointCount() < 1)
        return FALSE;
    if (first)
        *first = GetDisplayPoint(0, t, TRUE);
    if (second)
        *second = GetDisplayPoint(1, t, TRUE);
    return TRUE;
}

CDoublePoint CDrawText::DrawTextAt(CDC* dc, CDrawText* fontSource, CDoublePoint at,
                                   const QString& text, COLORREF textColor, COLORREF bkColor,
                                   BOOL opaqueBackground, int height) {
    if (!dc || !fontSource)
        return at;
    fontSource->SetFont(fontSource->m_faceName, height, fontSource->m_escapement,
                        fontSource->m_bold, fontSource->m_italic, fontSource->m_underline, TRUE);
    return WriteText(dc, fontSource->m_font, at, text, textColor, bkColor, opaqueBackground);
}

CDoublePoint CDrawText::DrawTextWithFont(CDC* dc, CFont& font, CDoublePoint at, const QString& text,
                                         const QString& face, int height, int escapement, BOOL bold,
                                         BOOL italic, BOOL underline, COLORREF textColor,
                                         COLORREF bkColor, BOOL opaqueBackground) {
    if (!dc)
        return at;
    font.DeleteObject();
    font.CreateFont(height, 0, escapement, 0, bold ? kBoldWeight : 0, italic ? 1 : 0,
                    underline ? 1 : 0, 0, 0, 0, 0, 0, 0, face);
    return WriteText(dc, font, at, text, textColor, bkColor, opaqueBackground);
}

CDoublePoint CDrawText::WriteText(CDC* dc, CFont& font, CDoublePoint at, const QString& text,
                                  COLORREF textColor, COLORREF bkColor, BOOL opaqueBackground) {
    dc->SetTextColor(textColor);
    dc->SetBkColor(bkColor);
    dc->SetBkMode(opaqueBackground ? OPAQUE : TRANSPARENT);
    CFont* oldFont = dc->SelectObject(&font);
    dc->MoveTo(at.ToPoint());
    const UINT oldAlign = dc->SetTextAlign(TA_UPDATECP);
    dc->ExtTextOut(0, 0, 0, nullptr, text);
    const CPoint end = dc->GetCurrentPosition();
    dc->SetTextAlign(oldAlign);
    if (oldFont)
        dc->SelectObject(oldFont);
    return {static_cast<double>(end.x), static_cast<double>(end.y)};
}

void CDrawText::Draw(CDC* dc, const CZoomTransform* t, int) {
    CDoublePoint start;
    if (!dc || !GetAnchorPoints(&start, nullptr, t))
        return;
    const double scale = DrawScale(t);
    CDoublePoint end = DrawTextAt(dc, this, start, m_text, GetTextColor(), GetFillColor(),
                                  GetFilled(), TruncToInt(m_height * scale));
    if (IsSelected()) {
        CPen pen(PS_SOLID, kHaloExtraWidth, kHaloColor);
        CPen* old = dc->SelectObject(&pen);
        dc->MoveTo(start.ToPoint());
        dc->LineTo(end.ToPoint());
        dc->SelectObject(old);
    }
    if (IsImageSpace())
        end = MapPointRounded(end, t);
    SetPoint(1, end, FALSE, TRUE);
    DrawPointHandles(dc, GetLineThickness(), t);
}

void CDrawText::GetFont(QString* face, int* height, int* escapement, int* bold, int* italic,
                        int* underline) const {
    if (face)
        *face = m_faceName;
    if (height)
        *height = m_height;
    if (escapement)
        *escapement = m_escapement;
    if (bold)
        *bold = m_bold;
    if (italic)
        *italic = m_italic;
    if (underline)
        *underline = m_underline;
}

void CDrawText::CopyFrom(const CDrawText& other) {
    CDrawObject::CopyFrom(other);
    m_text = other.m_text;
    SetFont(other.m_faceName, other.m_height, other.m_escapement, other.m_bold, other.m_italic,
            other.m_underline, FALSE);
    SetModified(TRUE);
}
