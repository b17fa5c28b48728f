#include "tracking/TrackOverlay.h"

#include "platform/framework/DC.h"
#include "platform/framework/File.h"
#include "platform/framework/FileException.h"
#include "platform/framework/GdiConstants.h"
#include "platform/framework/Pen.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/TrackFeatureSet.h"
#include "tracking/sectioned/CheckedFile.h"
#include "views/DrawMarker.h"
#include "views/IStreamDisplay.h"
#include "views/ZoomTransform.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

struct MarkerLook {
    int shape = 0;
    int halfSize = 3;
    int penWidth = 1;
    COLORREF colour = 0;
    bool shown = false;
};

MarkerLook LookOf(const CTrackFeature& feature) {
    LONG shape = 0, half = 0, pen = 0, colour = 0, shown = 0;
    feature.GetParam1(&shape);
    feature.GetParam2(&half);
    feature.GetParam5(&pen);
    feature.GetParam4(&colour);
    feature.GetFlag1(&shown);
    // The sizes come from the file; the current feature's marker is drawn three times as big.
    return {static_cast<int>(shape),
            static_cast<int>(std::clamp<LONG>(half, -kMaxMarkerSize, kMaxMarkerSize)),
            static_cast<int>(std::clamp<LONG>(pen, -kMaxMarkerSize, kMaxMarkerSize)),
            static_cast<COLORREF>(colour), shown != 0};
}

void Marker(CDC* dc, const CPoint& p, COLORREF colour, int shape, int half, int pen) {
    DrawMarker(dc, p.x, p.y, GetRValue(colour), GetGValue(colour), GetBValue(colour), shape, half,
               pen, 0);
}

// Draws the polyline segments between the window points.
void Segments(CDC* dc, const std::vector<CPoint>& points) {
    for (size_t i = 1; i < points.size(); ++i) {
        dc->MoveTo(points[i - 1]);
        dc->LineTo(points[i]);
    }
}

}  // namespace

CTrackOverlay::CTrackOverlay() : m_listener(this) {
    m_lines.SetName(QStringLiteral("LC"));
    m_lines.SetHeaderValue(0);
    m_lines.Init(CSectionedList<CFeatureStyle>::kFlat, 1, 0, CFeatureStyle());
    m_members.SetName(QStringLiteral("LG"));
    m_members.SetHeaderValue(0);
    m_members.Init(CSectionedList<int32_t>::kPerFrame, 2, 0, -1);
}

HRESULT CTrackOverlay::GetListener(CDrawingOverlayListener** out) {
    if (!out)
        return E_POINTER;
    *out = &m_listener;
    return S_OK;
}

HRESULT CTrackOverlay::GetFeatureSet(CTrackFeatureSet** out) const {
    if (!out)
        return E_POINTER;
    *out = m_featureSet;
    return S_OK;
}

HRESULT CTrackOverlay::SetFeatureSet(CTrackFeatureSet* set) {
    m_featureSet = set;
    return S_OK;
}

HRESULT CTrackOverlay::SetDisplayHost(IStreamDisplay* host) {
    m_host = host;
    return S_OK;
}

HRESULT CTrackOverlay::SetCalibration(CAnalysisSettings* calibration) {
    m_calibration = calibration;
    return S_OK;
}

namespace {

HRESULT Give(BYTE value, BYTE* out) {
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

}  // namespace

HRESULT CTrackOverlay::SetShowLegend(BYTE on) {
    m_legend = on;
    return S_OK;
}
HRESULT CTrackOverlay::GetShowLegend(BYTE* out) const {
    return Give(m_legend, out);
}
HRESULT CTrackOverlay::SetShowCurrentMarkers(BYTE on) {
    m_currentMarkers = on;
    return S_OK;
}
HRESULT CTrackOverlay::GetShowCurrentMarkers(BYTE* out) const {
    return Give(m_currentMarkers, out);
}
HRESULT CTrackOverlay::SetShowWholeTrail(BYTE on) {
    m_wholeTrail = on;
    if (on)
        m_trailUpToCurrent = 0;
    return S_OK;
}
HRESULT CTrackOverlay::GetShowWholeTrail(BYTE* out) const {
    return Give(m_wholeTrail, out);
}
HRESULT CTrackOverlay::SetShowRegions(BYTE on) {
    m_regions = on;
    return S_OK;
}
HRESULT CTrackOverlay::GetShowRegions(BYTE* out) const {
    return Give(m_regions, out);
}
HRESULT CTrackOverlay::SetSwitchP1(BYTE on) {
    m_p1 = on;
    if (on)
        m_p2 = 0;
    return S_OK;
}
HRESULT CTrackOverlay::GetSwitchP1(BYTE* out) const {
    return Give(m_p1, out);
}
HRESULT CTrackOverlay::SetShowTrailUpToCurrent(BYTE on) {
    m_trailUpToCurrent = on;
    if (on)
        m_wholeTrail = 0;
    return S_OK;
}
HRESULT CTrackOverlay::GetShowTrailUpToCurrent(BYTE* out) const {
    return Give(m_trailUpToCurrent, out);
}
HRESULT CTrackOverlay::SetSwitchP2(BYTE on) {
    m_p2 = on;
    if (on)
        m_p1 = 0;
    return S_OK;
}
HRESULT CTrackOverlay::GetSwitchP2(BYTE* out) const {
    return Give(m_p2, out);
}
HRESULT CTrackOverlay::SetShowSearchWindows(BYTE on) {
    m_searchWindows = on;
    return S_OK;
}
HRESULT CTrackOverlay::GetShowSearchWindows(BYTE* out) const {
    return Give(m_searchWindows, out);
}
HRESULT CTrackOverlay::GetReadoutUnits(int* out) const {
    if (!out)
        return E_POINTER;
    *out = m_calibration ? m_readoutUnits : -1;
    return S_OK;
}
HRESULT CTrackOverlay::SetReadoutUnits(int units) {
    m_readoutUnits = units;
    return S_OK;
}
HRESULT CTrackOverlay::GetSwitchS(BYTE* out) const {
    return Give(m_s, out);
}
HRESULT CTrackOverlay::SetSwitchS(BYTE on) {
    m_s = on;
    return S_OK;
}
HRESULT CTrackOverlay::GetSwitchQ1(BYTE* out) const {
    return Give(m_q1, out);
}
HRESULT CTrackOverlay::SetSwitchQ1(BYTE on) {
    m_q1 = on;
    if (on)
        m_q2 = 0;
    return S_OK;
}
HRESULT CTrackOverlay::GetSwitchQ2(BYTE* out) const {
    return Give(m_q2, out);
}
HRESULT CTrackOverlay::SetSwitchQ2(BYTE on) {
    m_q2 = on;
    if (on)
        m_q1 = 0;
    return S_OK;
}

std::vector<std::vector<int>> CTrackOverlay::AllMembers() const {
    std::vector<std::vector<int>> all;
    for (int line = 0; line < m_lines.GetNumLists(); ++line)
        all.push_back(GetLineMembers(line));
    return all;
}

void CTrackOverlay::StoreMembers(const std::vector<std::vector<int>>& members) {
    size_t longest = 2;
    for (const auto& line : members)
        longest = std::max(longest, line.size());
    m_members.Init(CSectionedList<int32_t>::kPerFrame, static_cast<int>(longest),
                   static_cast<int>(members.size()), -1);
    for (size_t line = 0; line < members.size(); ++line)
        for (size_t k = 0; k < members[line].size(); ++k)
            m_members.SetItem(static_cast<int>(k), static_cast<int>(line), members[line][k]);
}

void CTrackOverlay::AddLine(const CFeatureStyle& style, const std::vector<int>& features) {
    auto members = AllMembers();
    members.push_back(features);
    const int count = m_lines.GetNumLists() + 1;
    m_lines.Resize(CSectionedList<CFeatureStyle>::kFlat, 1, count, CFeatureStyle());
    m_lines.SetItem(0, count - 1, style);
    StoreMembers(members);
}

std::vector<int> CTrackOverlay::GetLineMembers(int line) const {
    std::vector<int> members;
    if (line < 0 || line >= m_members.GetNumLists())
        return members;
    for (int k = 0; k < m_members.GetNumFrames(); ++k) {
        const int32_t feature = m_members.GetItem(k, line);
        if (feature < 0)
            break;
        members.push_back(feature);
    }
    return members;
}

CFeatureStyle CTrackOverlay::GetLineStyle(int line) const {
    return line >= 0 && line < m_lines.GetNumLists() ? m_lines.GetItem(0, line) : CFeatureStyle();
}

HRESULT CTrackOverlay::Save(const QString& path) {
    const QString temporary = path + QStringLiteral(".saving");
    CFile file;
    if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary))
        return E_FAIL;
    bool written = true;
    try {
        m_lines.WriteToFile(file, 0, 0, 0);
        m_members.WriteToFile(file, 0, std::max(m_members.GetNumFrames() - 1, 0), 0);
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        written = false;
    } catch (const CInvalidArgException&) {
        file.Abort();
        written = false;
    }
    written = written && std::rename(QFile::encodeName(temporary).constData(),
                                     QFile::encodeName(path).constData()) == 0;
    if (!written)
        QFile::remove(temporary);
    return written ? S_OK : E_FAIL;
}

HRESULT CTrackOverlay::Load(const QString& path) {
    CCheckedFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return E_FAIL;
    CSectionedList<CFeatureStyle> lines;
    CSectionedList<int32_t> members;
    lines.SetName(QStringLiteral("LC"));
    members.SetName(QStringLiteral("LG"));
    bool ok = false;
    try {
        ok = (lines.ReadFromFile(file) & kSectionFailed) == 0 &&
             (members.ReadFromFile(file) & kSectionFailed) == 0;
    } catch (const CFileException&) {
        ok = false;
    }
    file.Abort();
    // The members must name a list for each line, or drawing would join the wrong features.
    // Lines without a style or member entry (a per-frame section without frames) are damaged.
    if (!ok || members.GetNumLists() != lines.GetNumLists() ||
        members.GetNumFrames() > kMaxLineMembers ||
        (lines.GetNumLists() > 0 && (lines.GetNumFrames() < 1 || members.GetNumFrames() < 1)))
        return E_FAIL;
    m_lines.CopyFrom(lines);
    m_members.CopyFrom(members);
    return S_OK;
}

HRESULT CTrackOverlay::Draw(CDC* dc, const CRect&) {
    if (!m_featureSet || !m_host)
        return E_POINTER;
    CZoomTransform* transform = nullptr;
    if (m_host->GetZoomTransform(&transform) != S_OK || !transform)
        return S_OK;
    int current = -1;
    m_featureSet->GetCurrentFrame(&current);
    if (dc) {
        DrawTrail(dc, *transform, current);
        DrawLines(dc, *transform, current);
        if (m_legend)
            DrawLegend(dc);
        if (m_currentMarkers && m_regions)
            DrawRegions(dc, *transform, current);
    }
    transform->Release();
    return S_OK;
}

void CTrackOverlay::DrawFeatureMarker(CDC* dc, const CZoomTransform& t, int frame, int feature,
                                      bool emphasised) {
    bool found = false;
    CTrackPoint point;
    m_featureSet->GetPoint(frame, feature, &found, &point);
    if (!found)
        return;
    bool defined = false;
    CTrackFeature record;
    m_featureSet->GetFeature(feature, &defined, &record);
    const MarkerLook look = LookOf(record);
    double x10 = 0;
    double y10 = 0;
    point.GetPosition(&x10, &y10);
    const CPoint p = t.ImageToWindowPixel(x10 * 0.1, y10 * 0.1);
    if (emphasised)
        Marker(dc, p, kCurrentColour, 4, look.halfSize * 3, 1);
    else
        Marker(dc, p, look.colour, look.shape, look.halfSize, look.penWidth);
    QString name;
    record.GetName(&name);
    if (emphasised || name.isEmpty())
        return;
    const int mode = dc->SetBkMode(TRANSPARENT);
    const COLORREF colour = dc->SetTextColor(look.colour);
    dc->TextOut(p.x, p.y - 20, name);
    dc->SetTextColor(colour);
    dc->SetBkMode(mode);
}

void CTrackOverlay::DrawTrail(CDC* dc, const CZoomTransform& t, int current) {
    int features = 0;
    int frames = 0;
    m_featureSet->GetFeatureCount(&features);
    m_featureSet->GetFrameCount(&frames);
    const bool trail = m_wholeTrail || m_trailUpToCurrent;
    for (int i = 0; i < features; ++i) {
        bool defined = false;
        CTrackFeature record;
        m_featureSet->GetFeature(i, &defined, &record);
        if (!defined || !LookOf(record).shown)
            continue;
        const int last = m_wholeTrail ? frames - 1 : (m_trailUpToCurrent ? current : -1);
        for (int f = 0; f <= last; ++f)
            DrawFeatureMarker(dc, t, f, i, false);
        if (m_currentMarkers) {
            DrawFeatureMarker(dc, t, current, i, false);
            if (trail)
                DrawFeatureMarker(dc, t, current, i, true);
        }
    }
}

void CTrackOverlay::DrawLines(CDC* dc, const CZoomTransform& t, int current) {
    int features = 0;
    m_featureSet->GetFeatureCount(&features);
    if (features < 2 || !m_calibration)
        return;
    int frames = 0;
    m_featureSet->GetFrameCount(&frames);
    for (int f = 0; f < frames; ++f)
        if (f != current)
            DrawLinesAt(dc, t, f, current);
    DrawLinesAt(dc, t, current, current);
}

void CTrackOverlay::DrawLinesAt(CDC* dc, const CZoomTransform& t, int frame, int current) {
    for (int line = 0; line < m_lines.GetNumLists(); ++line) {
        const CFeatureStyle style = m_lines.GetItem(0, line);
        LONG kind = 0, visibility = 0, highlight = 0, width = 1, penStyle = PS_SOLID;
        style.GetStyle1(&kind);
        style.GetStyle2(&visibility);
        style.GetStyle3(&highlight);
        style.GetWidth(&width);
        style.GetStyle4(&penStyle);
        if (visibility == kNeverShown || (visibility == kCurrentFrameOnly && frame != current) ||
            (visibility == kUpToCurrent && frame > current))
            continue;
        const std::vector<int> members = GetLineMembers(line);
        std::vector<CPoint> points;
        std::vector<std::pair<double, double>> image;
        bool complete = true;
        for (int feature : members) {
            bool found = false;
            CTrackPoint point;
            m_featureSet->GetPoint(frame, feature, &found, &point);
            if (!found) {
                complete = false;
                break;
            }
            double x10 = 0, y10 = 0;
            point.GetPosition(&x10, &y10);
            image.emplace_back(x10, y10);
            points.push_back(t.ImageToWindowPixel(x10 * 0.1, y10 * 0.1));
        }
        const bool angle = (kind & kAngleLine) != 0;
        const bool length = !angle && (kind & kLengthLine) != 0;
        const size_t needed = angle ? 3 : 2;
        if (!complete || points.size() < needed)
            continue;
        COLORREF colour = 0;
        COLORREF textColour = 0;
        style.GetColour(&colour);
        style.GetTextColour(&textColour);
        const bool selected = frame == current && highlight != 0;
        const int penWidth = static_cast<int>(std::clamp<LONG>(width, 0, kMaxMarkerSize));
        CPen pen(static_cast<int>(penStyle), penWidth + (selected ? 1 : 0), colour);
        CPen* previous = dc->SelectObject(&pen);
        QString label;
        if (angle) {
            points.resize(3);
            Segments(dc, {points[0], points[1], points[2]});
            const double a1 = std::atan2(points[0].y - points[1].y, points[0].x - points[1].x);
            const double a2 = std::atan2(points[2].y - points[1].y, points[2].x - points[1].x);
            double degrees = std::fabs(a1 - a2) * 180.0 / std::numbers::pi;
            if (degrees > 180.0)
                degrees = 360.0 - degrees;
            label = QString::asprintf("%.4g", degrees) + QChar(0xB0);
        } else if (length) {
            Segments(dc, {points.front(), points.back()});
            double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
            m_calibration->ToCalibrated(image.front().first, image.front().second, &x1, &y1);
            m_calibration->ToCalibrated(image.back().first, image.back().second, &x2, &y2);
            double value = std::hypot(x2 - x1, y2 - y1);
            int units = -1;
            GetReadoutUnits(&units);
            double converted = value;
            if (m_calibration->PixelsToUnits(value, &converted, units) == S_OK)
                value = converted;
            else
                units = -1;
            QString unitsName;
            m_calibration->GetUnitsName(units, &unitsName, false);
            label = QString::asprintf("%.4g %s", value, unitsName.toLatin1().constData());
        } else {
            Segments(dc, points);
        }
        dc->SelectObject(previous);
        if (!label.isEmpty()) {
            const int mode = dc->SetBkMode(TRANSPARENT);
            const COLORREF old = dc->SetTextColor(textColour);
            const CPoint at = angle ? points[1] : points.back();
            dc->TextOut(at.x + 4, at.y + 4, label);
            dc->SetTextColor(old);
            dc->SetBkMode(mode);
        }
    }
}

void CTrackOverlay::DrawLegend(CDC* dc) {
    constexpr COLORREF kGrey = 0x00C0C0C0;
    dc->FillSolidRect(CRect(0, 0, 80, 20), kGrey);
    const COLORREF background = dc->SetBkColor(kGrey);
    dc->TextOut(2, 2, QStringLiteral(" Feature: "));
    dc->SetBkColor(background);
    int selected = 0;
    m_featureSet->GetSelectedFeature(&selected);
    bool defined = false;
    CTrackFeature record;
    m_featureSet->GetFeature(selected, &defined, &record);
    const MarkerLook look = LookOf(record);
    Marker(dc, CPoint(70, 10), look.colour, look.shape, look.halfSize, look.penWidth);
}

void CTrackOverlay::DrawRegions(CDC* dc, const CZoomTransform& t, int current) {
    int features = 0;
    m_featureSet->GetFeatureCount(&features);
    for (int i = 0; i < features; ++i) {
        bool found = false;
        CTrackRegion region;
        m_featureSet->GetRegion(current, i, &found, &region);
        bool defined = false;
        CTrackFeature record;
        m_featureSet->GetFeature(i, &defined, &record);
        const MarkerLook look = LookOf(record);
        if (!found || !look.shown)
            continue;
        double l = 0, tp = 0, r = 0, b = 0;
        region.GetRect(&l, &tp, &r, &b);
        const CPoint topLeft = t.ImageToWindowPixel(l, tp);
        const CPoint bottomRight = t.ImageToWindowPixel(r, b);
        CPen cyan(PS_SOLID, 0, RGB(0, 255, 255));
        CPen* previous = dc->SelectObject(&cyan);
        Segments(dc, {topLeft, CPoint(bottomRight.x, topLeft.y), bottomRight,
                      CPoint(topLeft.x, bottomRight.y), topLeft});
        if (m_searchWindows) {
            CTrackSample sample;
            m_featureSet->GetSample(i, &sample);
            double m = 1.0;
            sample.GetValue3(&m);
            // The growth comes from the file: the window is worked out in floating point and
            // held to drawing pixels.
            const double gx = std::round((bottomRight.x - topLeft.x) * (m - 1.0));
            const double gy = std::round((bottomRight.y - topLeft.y) * (m - 1.0));
            const CRect s(CZoomTransform::DrawingPixel(topLeft.x - gx),
                          CZoomTransform::DrawingPixel(topLeft.y - gy),
                          CZoomTransform::DrawingPixel(bottomRight.x + gx),
                          CZoomTransform::DrawingPixel(bottomRight.y + gy));
            const int ax = s.Width() / 8;
            const int ay = s.Height() / 8;
            Segments(dc, {CPoint(s.left, s.top + ay), CPoint(s.left, s.top),
                          CPoint(s.left + ax, s.top)});
            Segments(dc, {CPoint(s.right - ax, s.top), CPoint(s.right, s.top),
                          CPoint(s.right, s.top + ay)});
            Segments(dc, {CPoint(s.right, s.bottom - ay), CPoint(s.right, s.bottom),
                          CPoint(s.right - ax, s.bottom)});
            Segments(dc, {CPoint(s.left + ax, s.bottom), CPoint(s.left, s.bottom),
                          CPoint(s.left, s.bottom - ay)});
        }
        dc->SelectObject(previous);
        BYTE editable = 1;
        record.GetFlag2(&editable);
        LONG predicted = 0;
        record.GetParam7(&predicted);
        const QString number = editable == 0    ? QStringLiteral("%1L").arg(i + 1)
                               : predicted != 0 ? QStringLiteral("%1*").arg(i + 1)
                                                : QString::number(i + 1);
        const int mode = dc->SetBkMode(TRANSPARENT);
        const COLORREF old = dc->SetTextColor(kRegionColour);
        CRect numberBox(bottomRight.x + 3, bottomRight.y - 16, bottomRight.x + 50, bottomRight.y);
        dc->DrawText(number, &numberBox, DT_SINGLELINE | DT_BOTTOM);
        QString name;
        record.GetName(&name);
        if (!name.isEmpty()) {
            dc->SetTextColor(look.colour);
            CRect nameBox(topLeft.x, topLeft.y - 16, topLeft.x + 1000, topLeft.y);
            dc->DrawText(name, &nameBox, DT_SINGLELINE | DT_NOPREFIX);
        }
        dc->SetTextColor(old);
        dc->SetBkMode(mode);
    }
}
