#include "views/DrawInfo.h"

#include "views/DrawInfoPropsDlg.h"
#include "views/PropsDialogHandler.h"

#include "frames/MovieAdapter.h"
#include "platform/framework/Archive.h"
#include "platform/framework/DC.h"
#include "platform/wintypes/CLocale.h"
#include "views/DrawText.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

IMPLEMENT_SERIAL(CDrawInfo, CDrawRect, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

namespace {

QString TimeLine(double t) {
    const bool negative = t < 0.0;
    const double a = negative ? -t : t;
    const long long s = static_cast<long long>(a);
    const int fraction = static_cast<int>((a - std::floor(a)) * 10000.0);
    return QFormatC(negative ? "Time:-%02lld:%02lld.%04d" : "Time: %02lld:%02lld.%04d", s / 60,
                    s % 60, fraction);
}

}  // namespace

CDrawInfo::CDrawInfo() {
    m_type = kType;
    SetPropertiesHandler(new CPropsDialogHandler<CDrawInfoPropsDlg>);
    SetAlwaysDrawn(TRUE);
    SetImageSpace(FALSE);
    SetFilled(FALSE);
}

void CDrawInfo::SetReticlePosition(int x, int y) {
    m_reticle[0] = x;
    m_reticle[1] = y;
}

void CDrawInfo::SetCalibration(const CCalibrationData* source) {
    if (source)
        m_calibration.CopyFrom(*source);
}

int CDrawInfo::SetMeasurePoint1(CDoublePoint position, int frame) {
    m_point1 = position;
    m_frame1 = frame;
    return frame;
}

int CDrawInfo::SetMeasurePoint2(CDoublePoint position, int frame) {
    m_point2 = position;
    m_frame2 = frame;
    return frame;
}

void CDrawInfo::SetFont(const QString& face, int height, int escapement, int bold, int italic,
                        int underline, int temporary) {
    if (!temporary) {
        m_faceName = face;
        m_fontHeight = height;
        m_escapement = escapement;
        m_bold = bold;
        m_italic = italic;
        m_underline = underline;
        SetModified(TRUE);
    }
}

void CDrawInfo::GetFont(QString* face, int* height, int* escapement, int* bold, int* italic,
                        int* underline) const {
    if (face)
        *face = m_faceName;
    if (height)
        *height = m_fontHeight;
    if (escapement)
        *escapement = m_escapement;
    if (bold)
        *bold = m_bold;
    if (italic)
        *italic = m_italic;
    if (underline)
        *underline = m_underline;
}

QStringList CDrawInfo::BuildLines() const {
    int current = 0;
    int first = 0;
    double rate = 1.0;
    int shutter = 0;
    QString trigger[2];
    QString frameCode[2];
    bool hasTrigger = false;
    bool hasFrameCode = false;
    if (auto* movie = static_cast<CMovieAdapter*>(GetOwnerPointer())) {
        movie->GetCurrentFrame(&current);
        movie->GetFirstFrameNumber(&first);
        movie->GetFrameRate(&rate);
        movie->GetShutterNs(&shutter);
        hasTrigger = movie->GetTriggerTimeCode(&trigger[0], &trigger[1]) >= 0;
        hasFrameCode = movie->GetFrameTimeCode(current, rate, &frameCode[0], &frameCode[1]) >= 0;
    }
    const int shown = current - first;
    QStringList lines;
    lines << QFormatC("Frame: %d", shown);
    lines << TimeLine(rate > 0.0 ? shown / rate : static_cast<double>(shown));
    lines << (rate > 0.0 ? QFormatC("Recorded Rate: %d fps", static_cast<int>(rate))
                         : QStringLiteral("Recorded Rate: N/A"));
    lines << (shutter > 0 ? QFormatC("Shutter Speed: %d usec", shutter / 1000)
                          : QStringLiteral("Shutter Speed: N/A"));
    lines << QFormatC("Reticle Posn: %d, %d", m_reticle[0], m_reticle[1]);
    if (hasTrigger)
        lines << QStringLiteral("IRIG Trigger : ") + trigger[0] + QStringLiteral(" ") + trigger[1];
    if (hasFrameCode)
        lines << QStringLiteral("IRIG Frame   : ") + frameCode[0] + QStringLiteral(" ") +
                     frameCode[1];
    lines << QStringLiteral(" ");
    lines << QFormatC("Point 1: %d, %d (Frame %d)", TruncToInt(m_point1.x), TruncToInt(m_point1.y),
                      m_frame1);
    lines << QFormatC("Point 2: %d, %d (Frame %d)", TruncToInt(m_point2.x), TruncToInt(m_point2.y),
                      m_frame2);
    double pixelsPerUnit = 1.0;
    m_calibration.GetPixelsPerUnit(&pixelsPerUnit);
    if (!(pixelsPerUnit > 0.0))
        pixelsPerUnit = 1.0;
    const double distance =
        std::hypot(m_point2.x - m_point1.x, m_point2.y - m_point1.y) / pixelsPerUnit;
    int units = CCalibrationData::kUnitsPixels;
    m_calibration.GetUnits(&units);
    QString unit;
    m_calibration.GetUnitName(units, &unit, FALSE);
    lines << QFormatC("Distance: %.4g ", distance) + unit;
    const int frames = std::abs(m_frame2 - m_frame1);
    if (frames == 0)
        lines << QStringLiteral("Speed: [points on same frame]");
    else if (m_frame1 < 0 || m_frame2 < 0 || !(rate > 0.0))
        lines << QStringLiteral("Speed: N/A");
    else
        lines << QFormatC("Speed: %.4g ", distance * rate / frames) + unit + QStringLiteral("/sec");
    return lines;
}

void CDrawInfo::Draw(CDC* dc, const CZoomTransform*, int) {
    CRect r;
    if (!dc || !GetDisplayRect(&r, nullptr))
        return;
    if (IsSelected()) {
        CRect frame = r;
        frame.NormalizeRect();
        DrawRectOutline(dc, &frame, FALSE, PS_SOLID, GetLineThickness() + kHaloExtraWidth,
                        kHaloColor, kHaloColor);
    }
    double y = r.top;
    double right = r.left;
    for (const QString& line : BuildLines()) {
        const CDoublePoint end = CDrawText::DrawTextWithFont(
            dc, m_font, {static_cast<double>(r.left), y}, line, m_faceName, m_fontHeight,
            m_escapement, m_bold > 0, m_italic, m_underline, GetTextColor(), GetFillColor(),
            GetFilled());
        right = std::max(right, end.x);
        y += m_fontHeight;
    }
    SetPoint(1, {right, y}, FALSE, TRUE);
}
