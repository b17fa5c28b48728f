#include "tracking/FeatureTracker.h"

#include "tracking/ITrackerFrameSource.h"
#include "tracking/records/TrackSample.h"

#include "frames/Dib.h"

bool CFeatureTracker::LoadFrame() {
    if (!m_frameSource || !m_frameSource->GoToFrame(m_currentFrame))
        return false;
    const CDib* dib = m_frameSource->GetFrame();
    return dib && m_frame.LoadFromDib(*dib);
}

bool CFeatureTracker::Start(int left, int top, int width, int height,
                            const CTrackSample& settings) {
    if (!m_frameSource)
        return false;
    BYTE enabled = 0;
    settings.GetEnabled(&enabled);
    if (enabled == 0)
        return false;
    if (!m_frame.HasImage() && !LoadFrame())
        return false;
    m_settings = TrackerSettings::FromSample(settings);
    m_firstNoise = 1.0;

    const CRect placement(left, top, left + width - 1, top + height - 1);
    m_ops.CopyRegion(m_frame, m_templateImage, placement);
    m_matcher.Reset();
    m_matcher.SetSettings(m_settings);
    m_matcher.SetTemplate(m_templateImage, placement);
    m_matcher.SetActive(1);

    m_filterX.Init(m_settings.FilterX, left, m_firstNoise, m_settings.ProcessNoise);
    m_filterY.Init(m_settings.FilterY, top, m_firstNoise, m_settings.ProcessNoise);
    m_filterAngle.Init(m_settings.FilterAngle, 0.0, m_firstNoise, m_settings.ProcessNoise);
    return true;
}

bool CFeatureTracker::StartAt(int left, int top, int width, int height,
                              const CTrackSample& settings, int startFrame, int endFrame) {
    m_startFrame = startFrame;
    m_endFrame = endFrame;
    m_currentFrame = startFrame;
    if (!LoadFrame())
        return false;
    return Start(left, top, width, height, settings);
}

void CFeatureTracker::Step() {
    int x = m_originX;
    int y = m_originY;
    int angle = m_angle;
    const int left = m_matcher.GetTemplateLeft();
    const int top = m_matcher.GetTemplateTop();
    if (m_frameCounter == 0) {
        m_missBudget = m_matcher.GetMissAllowance();
        x = left;
        y = top;
        angle = 0;
        if (m_filterX.IsEnabled())
            m_filterX.Init(1, left, 1.0, 1.0);
        if (m_filterY.IsEnabled())
            m_filterY.Init(1, top, 1.0, 1.0);
        if (m_filterAngle.IsEnabled())
            m_filterAngle.Init(1, 0.0, 1.0, 1.0);
    } else {
        if (m_filterX.IsEnabled())
            x = static_cast<int>(m_filterX.GetPrediction());
        if (m_filterY.IsEnabled())
            y = static_cast<int>(m_filterY.GetPrediction());
        if (m_filterAngle.IsEnabled())
            angle = static_cast<int>(m_filterAngle.GetPrediction());
    }

    m_matcher.SetPrediction(&m_frame, x, y, angle);
    m_matcher.MatchFrame(m_frame);
    int status = 0;
    double cx = 0.0;
    double cy = 0.0;
    double resultAngle = 0.0;
    m_matcher.GetResult(2, &status, &cx, &cy, &resultAngle);
    const int width = m_matcher.GetTemplateWidth();
    const int height = m_matcher.GetTemplateHeight();

    if (status == CTemplateMatcher::kNothing || status == CTemplateMatcher::kNotStrongest) {
        if (--m_missBudget < 0) {
            m_matcher.SetActive(0);
        } else {
            m_originX = x;
            m_originY = y;
            m_angle = angle;
            m_predicted = 1;
        }
    } else {
        // A blob beyond the jump limit counts as found.
        m_missBudget = m_matcher.GetMissAllowance();
        m_originX = static_cast<int>(cx - width / 2);
        m_originY = static_cast<int>(cy - height / 2);
        m_angle = static_cast<int>(resultAngle);
        m_predicted = 0;
    }

    if (m_filterX.IsEnabled())
        m_filterX.Update(cx - 0.5 * width);
    if (m_filterY.IsEnabled())
        m_filterY.Update(cy - 0.5 * height);
    if (m_filterAngle.IsEnabled())
        m_filterAngle.Update(resultAngle);
    m_measuredX = cx;
    m_measuredY = cy;
    ++m_frameCounter;
}

void CFeatureTracker::GetPosition(double* x, double* y) const {
    if (x)
        *x = m_measuredX;
    if (y)
        *y = m_measuredY;
}
