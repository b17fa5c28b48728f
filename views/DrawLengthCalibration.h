#pragma once

// CDrawLengthCalibration: a length dimension drawn over a known length in the picture. Its
// calibration's two reference points follow the line's ends; Distance and units say how long
// the line really is, and the label shows that length and the pixels per unit. The first one
// in a document calibrates the calipers and information boxes of that document.

#include "tracking/records/CalibrationData.h"
#include "views/DrawDimLength.h"

class CDrawLengthCalibration : public CDrawDimLength {
    DECLARE_SERIAL(CDrawLengthCalibration)

public:
    static constexpr int kType = 11;
    // The units a new calibration is in ("cm").
    static constexpr int kDefaultUnits = 4;

    CDrawLengthCalibration();

    // The length dimension's record; the calibration is not stored. After loading, the
    // reference points are taken from the stored ends, so that a reloaded file measures
    // what it measured when it was saved.
    void Serialize(CArchive& ar) override;
    // Points 0 and 1 also set the calibration's first and second point (snapped like the
    // line's end, by truncation).
    BOOL SetPoint(int index, CDoublePoint p, BOOL markModified, BOOL snap) override;
    void MovePoint(int index, CDoublePoint p, BOOL snap) override;
    // The length dimension's drawing under the label BuildLabel gives.
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    // Copies the calibration into target / from source; 0 (nothing copied) for a null pointer,
    // else the copy's result.
    HRESULT GetCalibration(CCalibrationData* target) const;
    HRESULT SetCalibration(const CCalibrationData* source);
    const CCalibrationData& Calibration() const { return m_calibration; }

    // "<Distance><unit> ( <pixels per unit> pixels/<unit>)", four significant digits.
    QString BuildLabel() const;

private:
    void SeedReferencePoints();

    CCalibrationData m_calibration;
};
