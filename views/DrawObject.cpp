#include "views/DrawObject.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/InvalidArgException.h"
#include "views/DrawGeometry.h"
#include "views/DrawPropsDlg.h"
#include "views/PropsDialogHandler.h"
#include "views/ZoomTransform.h"

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_DYNAMIC(CDrawObject, CObject)

namespace {

constexpr double kHandleHitDistanceSq = 16.0;
constexpr UINT kNoSchema = 0xFFFFFFFF;
constexpr UINT kLastIntegerPointSchema = 2;

void RequireIndex(int index) {
    if (index < 0)
        AfxThrowInvalidArgException();
}

}  // namespace

// Every object can be edited: the kinds with dialogs of their own replace this one.
CDrawObject::CDrawObject()
    : m_propertiesHandler(std::make_unique<CPropsDialogHandler<CDrawPropsDlg>>()) {}

CDrawObject::~CDrawObject() = default;

double CDrawObject::Snap(double v) {
    return std::trunc(v * 10.0) * 0.1;
}

double CDrawObject::StoredCoordinate(double v) {
    return std::isnan(v) ? 0.0 : std::clamp(v, -kMaxStoredCoordinate, kMaxStoredCoordinate);
}

int CDrawObject::StoredExtent(int v) {
    return std::clamp(v, -kMaxStoredExtent, kMaxStoredExtent);
}

bool CDrawObject::ShowsOnFrame(int frame) const {
    if (m_frame == -1)
        return true;
    if (m_frame >= 0)
        return m_frame == frame;
    return frame >= -2 - static_cast<long long>(m_frame);
}

void CDrawObject::Serialize(CArchive& ar) {
    SetModified(FALSE);
    if (ar.IsStoring()) {
        ar << m_frame << static_cast<DWORD>(m_lineColor) << static_cast<DWORD>(m_fillColor)
           << static_cast<DWORD>(m_textColor) << m_lineThickness << m_lineStyle << m_filled;
        ar.WriteCount(static_cast<DWORD>(m_points.size()));
        for (const CDoublePoint& p : m_points)
            ar << p.x << p.y;
        return;
    }

    // Taken and put back, so that the shape's own Serialize can ask for it again.
    const UINT schema = ar.GetObjectSchema();
    ar.SetObjectSchema(schema);
    if (schema != kNoSchema && schema > kSchema) {
        MessageBoxPrompt prompt;
        prompt.text = QStringLiteral(
                          "The annotations file contains objects from a newer version "
                          "of software.\nUnable to load objects from file %1.\n")
                          .arg(ar.m_strFileName);
        prompt.caption = QStringLiteral("Error");
        prompt.type = MB_OK | MB_ICONEXCLAMATION;
        AfxPrompter().MessageBox(prompt);
        throw CArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    }

    DWORD line = 0, fill = 0, text = 0;
    ar >> m_frame >> line >> fill >> text >> m_lineThickness >> m_lineStyle >> m_filled;
    m_lineColor = line;
    m_fillColor = fill;
    m_textColor = text;
    m_lineThickness = StoredExtent(m_lineThickness);

    const DWORD count = ar.ReadCount();
    m_points.clear();
    // Points are added as they are read, so a count larger than the data fails at the end of
    // the file instead of reserving memory for it.
    for (DWORD i = 0; i < count; ++i) {
        if (schema <= kLastIntegerPointSchema) {
            int x = 0, y = 0;
            ar >> x >> y;
            m_points.emplace_back(StoredCoordinate(x), StoredCoordinate(y));
        } else {
            double x = 0.0, y = 0.0;
            ar >> x >> y;
            m_points.emplace_back(StoredCoordinate(x), StoredCoordinate(y));
        }
    }
    m_marks.resize(m_points.size(), 0);
}

void CDrawObject::SetFrame(int frame) {
    m_frame = frame;
    SetModified(TRUE);
}

BOOL CDrawObject::SetPoint(int index, CDoublePoint p, BOOL markModified, BOOL snap) {
    RequireIndex(index);
    if (snap)
        p = Snap(p);
    const size_t at = static_cast<size_t>(index);
    if (at >= m_points.size())
        m_points.resize(at + 1);
    m_points[at] = p;
    if (m_marks.size() < m_points.size())
        m_marks.resize(m_points.size(), 0);
    if (markModified)
        SetModified(TRUE);
    return markModified;
}

int CDrawObject::RemovePoint(int index) {
    RequireIndex(index);
    const size_t at = static_cast<size_t>(index);
    if (at >= m_points.size())
        return -1;
    m_points.erase(m_points.begin() + index);
    if (at < m_marks.size())
        m_marks.erase(m_marks.begin() + index);
    SetModified(TRUE);
    return static_cast<int>(m_points.size());
}

int CDrawObject::RemoveAllPoints() {
    m_points.clear();
    m_marks.clear();
    SetModified(TRUE);
    return 0;
}

void CDrawObject::SetIndex(int index) {
    m_index = index;
    m_indexValid = index >= 0;
}

int CDrawObject::GetIndex() const {
    return m_indexValid ? m_index : -1;
}

void CDrawObject::MovePointInSpace(int index, CDoublePoint imagePoint, CDoublePoint windowPoint,
                                   BOOL snap) {
    MovePoint(index, m_imageSpace ? imagePoint : windowPoint, snap);
}

void CDrawObject::MovePoint(int index, CDoublePoint p, BOOL snap) {
    if (snap)
        p = Snap(p);
    if (index < 0 || static_cast<size_t>(index) >= m_points.size())
        return;
    m_points[static_cast<size_t>(index)] = p;
    SetModified(TRUE);
}

void CDrawObject::OffsetPointsInSpace(CDoublePoint imageOffset, CDoublePoint windowOffset,
                                      BOOL snap) {
    OffsetPoints(m_imageSpace ? imageOffset : windowOffset, snap);
}

void CDrawObject::OffsetPoints(CDoublePoint offset, BOOL snap) {
    if (snap)
        offset = Snap(offset);
    const double dx = std::trunc(offset.x);
    const double dy = std::trunc(offset.y);
    for (CDoublePoint& p : m_points) {
        p.x += dx;
        p.y += dy;
    }
    SetModified(TRUE);
}

COLORREF CDrawObject::SetLineColor(COLORREF color) {
    return ReplaceAttribute(m_lineColor, color);
}

COLORREF CDrawObject::SetFillColor(COLORREF color) {
    return ReplaceAttribute(m_fillColor, color);
}

COLORREF CDrawObject::SetTextColor(COLORREF color) {
    return ReplaceAttribute(m_textColor, color);
}

int CDrawObject::SetLineThickness(int thickness) {
    return ReplaceAttribute(m_lineThickness, thickness);
}

int CDrawObject::SetLineStyle(int style) {
    return ReplaceAttribute(m_lineStyle, style);
}

BOOL CDrawObject::SetFilled(BOOL filled) {
    return ReplaceAttribute(m_filled, filled);
}

CDoublePoint CDrawObject::GetPoint(int index, BOOL snap) const {
    if (index < 0 || static_cast<size_t>(index) >= m_points.size())
        return {-1.0, -1.0};
    const CDoublePoint& p = m_points[static_cast<size_t>(index)];
    return snap ? Snap(p) : p;
}

CDoublePoint CDrawObject::GetDisplayPoint(int index, const CZoomTransform* t, BOOL round) const {
    if (index < 0 || static_cast<size_t>(index) >= m_points.size())
        return {-1.0, -1.0};
    const CDoublePoint& p = m_points[static_cast<size_t>(index)];
    if (!m_imageSpace)
        return p;
    return round ? MapPointExRounded(p, t, CZoomTransform::kCorner)
                 : MapPointEx(p, t, CZoomTransform::kCorner);
}

CDoublePoint CDrawObject::MapPointRounded(CDoublePoint p, const CZoomTransform* t) {
    const CDoublePoint mapped = MapPoint(p, t);
    return {std::trunc(mapped.x), std::trunc(mapped.y)};
}

CDoublePoint CDrawObject::MapPoint(CDoublePoint p, const CZoomTransform* t) {
    if (!t)
        return p;
    CDoublePoint out;
    t->WindowToImageExact(p.x, p.y, &out.x, &out.y);
    return out;
}

CDoublePoint CDrawObject::MapPointExRounded(CDoublePoint p, const CZoomTransform* t, int mode) {
    const CDoublePoint mapped = MapPointEx(p, t, mode);
    return {std::trunc(mapped.x), std::trunc(mapped.y)};
}

CDoublePoint CDrawObject::MapPointEx(CDoublePoint p, const CZoomTransform* t, int mode) {
    if (!t)
        return p;
    CDoublePoint out;
    t->ImageToWindowExact(p.x, p.y, mode, &out.x, &out.y);
    return out;
}

BOOL CDrawObject::HitTestEx(CDoublePoint imagePoint, CDoublePoint windowPoint, int* hitPart,
                            BOOL openProperties, int word2, int word3) {
    m_lastHitImage = imagePoint;
    m_lastHitWindow = windowPoint;
    m_lastHitWords[0] = openProperties;
    m_lastHitWords[1] = word2;
    m_lastHitWords[2] = word3;
    const BOOL hit = HitTest(m_imageSpace ? imagePoint : windowPoint, hitPart);
    if (hit && openProperties && m_propertiesSuppressed == 0)
        ShowProperties();
    m_propertiesSuppressed = 0;
    return hit;
}

void CDrawObject::SetPointInSpace(int index, CDoublePoint imagePoint, CDoublePoint windowPoint,
                                  BOOL markModified, BOOL snap) {
    SetPoint(index, m_imageSpace ? imagePoint : windowPoint, markModified, snap);
}

int CDrawObject::SetOwnerPointer(void* owner) {
    m_owner = owner;
    return 0;
}

int CDrawObject::SetPropertiesHandler(CDrawPropertiesHandler* handler) {
    m_propertiesHandler.reset(handler);
    return 0;
}

int CDrawObject::ShowProperties() {
    if (m_propertiesHandler)
        m_propertiesHandler->ShowProperties(this);
    return 0;
}

COLORREF CDrawObject::ContrastColor(COLORREF c, int direction) {
    const int d = direction >= 0 ? 128 : -128;
    int channels[3] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    const bool light = channels[0] > 200 && channels[1] > 200 && channels[2] > 200;
    for (int& v : channels) {
        if (light)
            v -= d;
        else
            v = v > 255 - d ? 255 : v + d;
    }
    return RGB(channels[0], channels[1], channels[2]);
}

BOOL CDrawObject::HasMarkedPoint() const {
    return std::any_of(m_marks.begin(), m_marks.end(), [](DWORD m) { return m != 0; });
}

BOOL CDrawObject::ClearPointMarks() {
    const BOOL any = HasMarkedPoint();
    std::fill(m_marks.begin(), m_marks.end(), 0);
    return any;
}

BOOL CDrawObject::SetSelected(BOOL selected) {
    const BOOL old = m_selected;
    m_selected = selected;
    return old;
}

BOOL CDrawObject::SetDisplayFlag(BOOL display) {
    const BOOL old = m_displayFlag;
    m_displayFlag = display;
    return old;
}

void CDrawObject::CopyFrom(const CDrawObject& other) {
    m_type = other.m_type;
    m_frame = other.m_frame;
    m_lineColor = other.m_lineColor;
    m_fillColor = other.m_fillColor;
    m_textColor = other.m_textColor;
    m_lineThickness = other.m_lineThickness;
    m_lineStyle = other.m_lineStyle;
    m_filled = other.m_filled;
    m_selected = other.m_selected;
    m_index = other.m_index;
    m_indexValid = other.m_indexValid;
    m_displayFlag = other.m_displayFlag;
    if (&other != this) {
        m_points = other.m_points;
        m_marks = other.m_marks;
    }
    SetModified(TRUE);
}

void CDrawObject::SetDrawStatePair(int first, int second) {
    m_drawStatePair[0] = first;
    m_drawStatePair[1] = second;
}

BOOL CDrawObject::GetDisplayEnds(CDoublePoint* first, CDoublePoint* second,
                                 const CZoomTransform* t) const {
    if (m_points.size() < 2)
        return FALSE;
    if (first)
        *first = GetDisplayPoint(0, t, TRUE);
    if (second)
        *second = GetDisplayPoint(1, t, TRUE);
    return TRUE;
}

BOOL CDrawObject::GetDisplayRect(CRect* r, const CZoomTransform* t) const {
    CDoublePoint a, b;
    if (!GetDisplayEnds(&a, &b, t))
        return FALSE;
    if (r)
        *r = CRect(a.ToPoint(), b.ToPoint());
    return TRUE;
}

BOOL CDrawObject::GetPointRect(CRect* r) const {
    if (m_points.size() < 2)
        return FALSE;
    if (r)
        *r = CRect(GetPoint(0, TRUE).ToPoint(), GetPoint(1, TRUE).ToPoint());
    return TRUE;
}

void CDrawObject::ResetHit(int* hitPart) {
    ClearPointMarks();
    if (hitPart)
        *hitPart = kHitNone;
}

bool CDrawObject::HitVertex(const CDoublePoint& p, int* hitPart,
                            const std::vector<CDoublePoint>* points) {
    const std::vector<CDoublePoint>& list = points ? *points : m_points;
    for (size_t i = list.size(); i-- > 0;) {
        const double dx = list[i].x - p.x;
        const double dy = list[i].y - p.y;
        if (dx * dx + dy * dy < kHandleHitDistanceSq) {
            if (hitPart)
                *hitPart = static_cast<int>(i);
            if (i < m_marks.size())
                m_marks[i] = 1;
            return true;
        }
    }
    return false;
}

void CDrawObject::InsertPointAt(int index, const CDoublePoint& p) {
    const size_t at = std::min(static_cast<size_t>(std::max(index, 0)), m_points.size());
    m_points.insert(m_points.begin() + static_cast<std::ptrdiff_t>(at), p);
    m_marks.resize(m_points.size() - 1, 0);
    m_marks.insert(m_marks.begin() + static_cast<std::ptrdiff_t>(at), 0);
}

double CDrawObject::DrawScale(const CZoomTransform* t) const {
    if (!m_imageSpace || !t)
        return 1.0;
    double scale = -1.0;
    t->GetScale(&scale);
    return scale == -1.0 ? 1.0 : scale;
}

double CDrawObject::HandleScale(const CZoomTransform* t) const {
    return m_unitScale ? 1.0 : DrawScale(t);
}

void CDrawObject::DrawPointHandle(CDC* dc, int index, int width, const CZoomTransform* t) {
    if (!dc || index < 0 || static_cast<size_t>(index) >= m_points.size())
        return;
    const double half = std::max(width * HandleScale(t) * 2.5, 2.0);
    const CDoublePoint p = GetDisplayPoint(index, t, FALSE);
    if (p.x < 0.0 && p.y < 0.0)
        return;
    const int side = std::max(1, TruncToInt(half));
    const COLORREF color = m_marks[static_cast<size_t>(index)] ? kMarkedColor : kHandleColor;
    const int saved = dc->SaveDC();
    dc->FillSolidRect(TruncToInt(p.x - half / 2.0), TruncToInt(p.y - half / 2.0), side, side,
                      color);
    dc->RestoreDC(saved);
}

void CDrawObject::DrawPointMarker(CDC* dc, int index, int width, const CZoomTransform* t) {
    if (!dc || index < 0 || static_cast<size_t>(index) >= m_points.size())
        return;
    const double half = std::max(width * HandleScale(t) * 2.5, 2.0);
    const CDoublePoint p = GetDisplayPoint(index, t, FALSE);
    if (p.x < 0.0 && p.y < 0.0)
        return;
    const CPoint c = p.ToPoint();
    const int h = TruncToInt(half);
    CPen pen(PS_SOLID, width, m_marks[static_cast<size_t>(index)] ? kMarkedColor : kHandleColor);
    CPen* old = dc->SelectObject(&pen);
    const CPoint ends[] = {{c.x + h, c.y}, {c.x - h, c.y}, {c.x, c.y + h}, {c.x, c.y - h}};
    for (const CPoint& end : ends) {
        dc->MoveTo(c);
        dc->LineTo(end);
    }
    dc->SelectObject(old);
}

void CDrawObject::DrawPointHandles(CDC* dc, int width, const CZoomTransform* t) {
    if (!m_displayFlag)
        return;
    for (int i = 0; i < GetPointCount(); ++i)
        DrawPointHandle(dc, i, width, t);
}

void CDrawObject::DrawPointMarkers(CDC* dc, int width, const CZoomTransform* t) {
    if (!m_displayFlag)
        return;
    for (int i = 0; i < GetPointCount(); ++i)
        DrawPointMarker(dc, i, width, t);
}

void CDrawObject::DrawCentreMark(CDC* dc, int, const CZoomTransform* t, const CDoublePoint* at) {
    if (!dc || !m_displayFlag)
        return;
    double scale = 1.0;
    if (t) {
        t->GetScale(&scale);
        if (scale == -1.0)
            scale = 1.0;
    }
    CDoublePoint centre;
    if (at) {
        centre = *at;
    } else {
        if (m_points.empty())
            return;
        for (int i = 0; i < GetPointCount(); ++i) {
            const CDoublePoint p = GetDisplayPoint(i, t, FALSE);
            centre.x += p.x;
            centre.y += p.y;
        }
        const double inverse = 1.0 / static_cast<double>(m_points.size());
        centre = {centre.x * inverse, centre.y * inverse};
    }
    const CPoint c = centre.ToPoint();
    const int s = std::clamp(TruncToInt(scale * 2.5), 2, 8);
    CPen pen(PS_SOLID, std::max(0, TruncToInt(scale)), kHandleColor);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(c.x - s, c.y);
    dc->LineTo(c.x + s + 1, c.y);
    dc->MoveTo(c.x, c.y - s);
    dc->LineTo(c.x, c.y + s + 1);
    dc->SelectObject(old);
}

void CDrawObject::CreateGeometricPen(CPen& pen, int style, int width, COLORREF color) {
    CBrush brush(color);
    LOGBRUSH logBrush;
    brush.GetLogBrush(&logBrush);
    pen.CreatePen(PS_GEOMETRIC | style, std::max(1, width), &logBrush);
}

void CDrawObject::DrawRectOutline(CDC* dc, const CRect* r, BOOL filled, int style, int width,
                                  COLORREF line, COLORREF fill) {
    if (!dc || !r)
        return;
    if (filled) {
        CRect area = *r;
        area.NormalizeRect();
        dc->FillSolidRect(area, fill);
    }
    CPen pen;
    CreateGeometricPen(pen, style, width, line);
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(r->left, r->top);
    dc->LineTo(r->right, r->top);
    dc->LineTo(r->right, r->bottom);
    dc->LineTo(r->left, r->bottom);
    dc->LineTo(r->left, r->top);
    dc->SelectObject(old);
}

void CDrawObject::DrawEllipseShape(CDC* dc, const CRect* r, BOOL filled, int style, int width,
                                   COLORREF line, COLORREF fill) {
    if (!dc || !r)
        return;
    CPen pen;
    CreateGeometricPen(pen, style, width, line);
    CPen* oldPen = dc->SelectObject(&pen);
    if (filled) {
        CBrush brush(fill);
        CBrush* oldBrush = dc->SelectObject(&brush);
        dc->Ellipse(*r);
        dc->SelectObject(oldBrush);
    } else {
        dc->Arc(*r, r->TopLeft(), r->TopLeft());
    }
    dc->SelectObject(oldPen);
}

void CDrawObject::DrawTranslucent(CDC* dc, const CRect& box, int alpha,
                                  const std::function<void(CDC& memory, CPoint shift)>& draw) {
    if (!dc)
        return;
    CRect shape = box;
    shape.NormalizeRect();
    const auto widen = [](long long v) {
        return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
    };
    const CRect widened(widen(static_cast<long long>(shape.left) - kTranslucentMargin),
                        widen(static_cast<long long>(shape.top) - kTranslucentMargin),
                        widen(static_cast<long long>(shape.right) + kTranslucentMargin),
                        widen(static_cast<long long>(shape.bottom) + kTranslucentMargin));
    // Only the part inside the target can show; a shape zoomed far beyond the window must not
    // cost a bitmap of its full size.
    CRect visible;
    CRect target;
    dc->GetClipBox(&target);
    if (!visible.IntersectRect(widened, target))
        return;
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(dc, visible.Width(), visible.Height());
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    memory.BitBlt(0, 0, visible.Width(), visible.Height(), dc, visible.left, visible.top, SRCCOPY);
    draw(memory, CPoint(-visible.left, -visible.top));
    BLENDFUNCTION blend;
    blend.BlendOp = AC_SRC_OVER;
    blend.BlendFlags = 0;
    blend.SourceConstantAlpha = static_cast<BYTE>(std::clamp(alpha, 0, 255));
    blend.AlphaFormat = 0;
    dc->AlphaBlend(visible.left, visible.top, visible.Width(), visible.Height(), &memory, 0, 0,
                   visible.Width(), visible.Height(), blend);
    memory.SelectObject(oldBitmap);
}

BOOL CDrawObject::GetPoints(std::vector<CDoublePoint>* out) const {
    if (!out)
        return FALSE;
    out->clear();
    for (int i = 0; i < GetPointCount(); ++i)
        out->push_back(GetPoint(i, FALSE));
    return out->size() > 1;
}

BOOL CDrawObject::GetMappedPoints(std::vector<CDoublePoint>* out, const CZoomTransform* t) const {
    if (!out)
        return FALSE;
    out->clear();
    for (int i = 0; i < GetPointCount(); ++i)
        out->push_back(GetDisplayPoint(i, t, FALSE));
    return out->size() > 1;
}

BOOL CDrawObject::HitPointOutline(const CDoublePoint& p, int* hitPart) {
    ResetHit(hitPart);
    if (GetPointCount() < 2)
        return FALSE;
    bool hit = false;
    if (GetPointCount() > 2 && DrawGeometry::PixelInsideOutline(m_points, p)) {
        hit = true;
        if (hitPart)
            *hitPart = kHitBody;
    }
    if (HitVertex(p, hitPart))
        hit = true;
    return hit;
}
