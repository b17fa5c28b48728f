#pragma once

// CDrawCalipersB: a length dimension whose two ends may be placed on different frames: it
// shows the distance (in pixels, calibrated units or both) and, from the frame difference and
// the recording's rate, a speed. Each jaw is drawn faded while its end lies on another frame;
// a double-click on a jaw handle jumps to that end's frame, on the middle handle it cycles
// the label mode. The owner pointer is the movie's CMovieAdapter.

#include "tracking/records/CalibrationData.h"
#include "views/DrawDimLength.h"

#include <array>

class CMovieAdapter;

class CDrawCalipersB : public CDrawDimLength {
    DECLARE_SERIAL(CDrawCalipersB)

public:
    static constexpr int kType = 10;
    static constexpr int kOffFrameAlpha = 80;
    static constexpr COLORREF kHandleColour = 0xFF00FF;
    enum LabelMode { kPixels = 0, kUnits = 1, kBoth = 2 };
    // Geometry: the nine points of the dimension, the three handle points and the anchor of
    // the second label.
    struct Geometry {
        std::array<CDoublePoint, 9> points;
        std::array<CDoublePoint, 3> handles;
        CDoublePoint secondAnchor;
    };

    CDrawCalipersB();

    // Stamps the moved end (both ends unless separate end frames) with the current frame.
    void MovePoint(int index, CDoublePoint p, BOOL snap) override;
    BOOL HitTest(CDoublePoint p, int* hitPart) override;
    void Draw(CDC* dc, const CZoomTransform* t, int viewState) override;

    void SetSeparateFrames(BOOL separate) { m_separateFrames = separate; }
    BOOL GetSeparateFrames() const { return m_separateFrames; }
    // 0 for a null source, else the copy's result.
    HRESULT SetCalibration(const CCalibrationData* source);
    const CCalibrationData& Calibration() const { return m_calibration; }
    // End 0 or 1; other indexes are ignored.
    void SetEndFrame(int index, int frame);
    int GetEndFrame(int index) const;
    int GetLabelMode() const { return m_labelMode; }
    void SetLabelMode(int mode) { m_labelMode = mode; }
    void SetOffFrameAlpha(int alpha) { m_offFrameAlpha = alpha; }
    // The two label texts for the current points, frames, calibration and rate.
    void UpdateLabels();
    QString GetLabel(int index) const { return index == 0 ? m_labelText : m_label1; }
    // The geometry in window coordinates (t null: object coordinates); false without points.
    // textSize kStoredOffset means the stored offset.
    BOOL GetCaliperGeometry(Geometry* out, const CZoomTransform* t, double textSize,
                            BOOL flag) const;

protected:
    // The zoom sizes follow: 1.0 when the size is fixed or nothing maps.
    double CaliperZoom(const CZoomTransform* t) const;
    CMovieAdapter* Movie() const;
    // Whether the handle square of index (0 A, 1 B, 2 middle) lies within 4 units of p.
    static bool NearHandle(const CDoublePoint& handle, const CDoublePoint& p);
    void DrawHandle(CDC* dc, const CDoublePoint& at, double zoom) const;
    void CycleLabelMode();
    // Without a speed the rate is not asked: false.
    bool Speed(double* speed, double calibrated) const;

    BOOL m_fixedSize = FALSE;
    BOOL m_trackVariant = FALSE;
    double m_handleA = 0.2;
    double m_handleB = 0.8;
    double m_midFraction = 0.5;

private:
    int m_endFrames[2] = {-1, -1};
    int m_offFrameAlpha = kOffFrameAlpha;
    BOOL m_separateFrames = FALSE;
    int m_labelMode = kUnits;
    QString m_label1;
    CCalibrationData m_calibration;
};
