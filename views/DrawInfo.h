#pragma once

// CDrawInfo: a block of text lines in window pixels reporting, for the frame on screen, the
// frame number, time, recorded rate, shutter, reticle position, IRIG time codes and the
// distance and speed between the document's first two measure points. Frame, time and rate
// come from the owner CMovieAdapter at every draw; reticle, calibration and points are pushed
// in by the editor view. The box sizes itself to its text.

#include "platform/framework/Font.h"
#include "tracking/records/CalibrationData.h"
#include "views/DrawRect.h"

#include <QString>
#include <QStringList>

class CDrawInfo : public CDrawRect {
    DECLARE_SERIAL(CDrawInfo)

public:
    static constexpr int kType = 14;

    CDrawInfo();

    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    void SetReticlePosition(int x, int y);
    // A null pointer is ignored.
    void SetCalibration(const CCalibrationData* source);
    // Return the frame.
    int SetMeasurePoint1(CDoublePoint position, int frame);
    int SetMeasurePoint2(CDoublePoint position, int frame);
    // temporary 0: stores the font and marks the object modified; otherwise only the drawing
    // font follows height and escapement.
    void SetFont(const QString& face, int height, int escapement, int bold, int italic,
                 int underline, int temporary);
    void GetFont(QString* face, int* height, int* escapement, int* bold, int* italic,
                 int* underline) const;
    int GetFontHeight() const { return m_fontHeight; }

    // The lines for the owner's current state, in the order they are drawn.
    QStringList BuildLines() const;

private:
    int m_fontHeight = 18;
    int m_escapement = 0;
    int m_bold = 0;
    int m_italic = 0;
    int m_underline = 0;
    QString m_faceName = QStringLiteral("Arial");
    CFont m_font;
    int m_reticle[2] = {0, 0};
    CCalibrationData m_calibration;
    CDoublePoint m_point1;
    int m_frame1 = -1;
    CDoublePoint m_point2;
    int m_frame2 = -1;
};
