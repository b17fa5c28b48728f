#include "views/DrawText.h"

#include "platform/framework/Archive.h"

#include <cmath>
#include <cstdlib>

IMPLEMENT_SERIAL(CDrawText, CDrawObject, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

namespace {

// Tenths of a degree per radian with the sign turned for a y axis that points down
// (1800 / 3.14159, as stored files were made with it).
constexpr double kTenthDegreesPerRadianDown = -572.9582790879778;

}  // namespace

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
        SetFont(face, height, escapement, bold, italic, underline, FALSE);
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
            std::atan2(p.y - anchor.y, p.x - anchor.x) * kTenthDegreesPerRadianDown;
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
    if (drawOnly)
        return;
    m_faceName = face;
    m_height = height;
    m_escapement = escapement;
    m_bold = bold;
    m_italic = italic;
    m_underline = underline;
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
