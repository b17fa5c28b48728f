#include "views/DrawLengthCalibration.h"

#include "views/LengthCalibrationPropsDlg.h"
#include "views/PropsDialogHandler.h"

#include "platform/framework/Archive.h"
#include "platform/wintypes/CLocale.h"

IMPLEMENT_SERIAL(CDrawLengthCalibration, CDrawDimLength, VERSIONABLE_SCHEMA | CDrawObject::kSchema)

CDrawLengthCalibration::CDrawLengthCalibration() {
    m_type = kType;
    // Line widths, label and offsets keep their size on the screen whatever the zoom.
    SetUnitScale(TRUE);
    SetPropertiesHandler(new CPropsDialogHandler<CLengthCalibrationPropsDlg>);
    m_calibration.SetDistance(1.0);
    m_calibration.SetUnits(kDefaultUnits);
}

void CDrawLengthCalibration::Serialize(CArchive& ar) {
    CDrawDimLength::Serialize(ar);
    if (ar.IsLoading())
        SeedReferencePoints();
}

void CDrawLengthCalibration::SeedReferencePoints() {
    if (GetPointCount() >= 1) {
        const CDoublePoint a = GetPoint(0, FALSE);
        m_calibration.SetFirstPoint(a.x, a.y);
    }
    if (GetPointCount() >= 2) {
        const CDoublePoint b = GetPoint(1, FALSE);
        m_calibration.SetSecondPoint(b.x, b.y);
    }
}

BOOL CDrawLengthCalibration::SetPoint(int index, CDoublePoint p, BOOL markModified, BOOL snap) {
    const BOOL result = CDrawDimLength::SetPoint(index, p, markModified, snap);
    if (snap)
        p = Snap(p);
    if (index == 0)
        m_calibration.SetFirstPoint(p.x, p.y);
    else if (index == 1)
        m_calibration.SetSecondPoint(p.x, p.y);
    return result;
}

void CDrawLengthCalibration::MovePoint(int index, CDoublePoint p, BOOL snap) {
    CDrawDimLength::MovePoint(index, p, snap);
    if (index == 0 || index == 1) {
        const CDoublePoint stored = GetPoint(index, FALSE);
        if (index == 0)
            m_calibration.SetFirstPoint(stored.x, stored.y);
        else
            m_calibration.SetSecondPoint(stored.x, stored.y);
    }
    SetModified(TRUE);
}

QString CDrawLengthCalibration::BuildLabel() const {
    double distance = 0.0;
    double pixelsPerUnit = 1.0;
    int units = 0;
    QString unit;
    m_calibration.GetDistance(&distance);
    m_calibration.GetPixelsPerUnit(&pixelsPerUnit);
    m_calibration.GetUnits(&units);
    m_calibration.GetUnitName(units, &unit, FALSE);
    return QFormatC("%.4g", distance) + unit + QStringLiteral(" ") +
           QFormatC("( %.4g pixels/", pixelsPerUnit) + unit + QStringLiteral(")");
}

void CDrawLengthCalibration::Draw(CDC* dc, const CZoomTransform* t, int viewState) {
    // The label is made anew from the calibration at every draw; it never is the plain value.
    SetLabel(TRUE, BuildLabel());
    CDrawDimLength::Draw(dc, t, viewState);
}

HRESULT CDrawLengthCalibration::GetCalibration(CCalibrationData* target) const {
    return target ? target->CopyFrom(m_calibration) : 0;
}

HRESULT CDrawLengthCalibration::SetCalibration(const CCalibrationData* source) {
    return source ? m_calibration.CopyFrom(*source) : 0;
}
