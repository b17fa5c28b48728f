#include "tracking/TemplateMatcher.h"

#include "tracking/TrackerSettings.h"

#include <algorithm>
#include <cmath>

namespace {

// The window within which blob centres are refined to a fraction of a pixel.
constexpr int kRefineWindow = 7;
// Start values of the blob choice: larger than any distance or tie measure in a window.
constexpr double kFar = 1000000.0;

}  // namespace

CTemplateMatcher::CTemplateMatcher() {
    Reset();
}

void CTemplateMatcher::RestoreDefaults() {
    m_active = 1;
    m_templateMask = 0;
    m_rotationSearch = 0;
    m_rotationRange = 10;
    m_rotationStep = 1;
    m_recentreScale = 1.2;
    m_thresholdFraction = 0.75;
    m_searchScale = 1.6;
    m_maxJumpSquared = 160.0;
    m_refinePeak = 0;
}

void CTemplateMatcher::Reset() {
    m_template.ReleaseImage();
    m_rotatedTemplate.ReleaseImage();
    m_window.ReleaseImage();
    m_recentredWindow.ReleaseImage();
    m_correlation.ReleaseImage();
    m_thresholdImage.ReleaseImage();
    RestoreDefaults();
    m_missAllowance = 0;
    SetPrediction(nullptr, 0, 0, 0);
    m_active = 0;
    m_templateLeft = m_templateTop = m_templateWidth = m_templateHeight = -1;
}

void CTemplateMatcher::SetSettings(int mask, const double* values) {
    if (mask == -1 || values == nullptr) {
        RestoreDefaults();
        m_missAllowance = 0;
        return;
    }
    const double* next = values;
    auto take = [&](int bit) { return (mask & bit) != 0; };
    if (take(kSetActive))
        m_active = static_cast<int>(*next++);
    if (take(kSetTemplateMask))
        m_templateMask = static_cast<int>(*next++);
    if (take(kSetRotationSearch))
        m_rotationSearch = static_cast<int>(*next++);
    if (take(kSetRotationRange))
        m_rotationRange = static_cast<int>(*next++);
    if (take(kSetRotationStep))
        m_rotationStep = static_cast<int>(*next++);
    if (take(kSetRecentreScale))
        m_recentreScale = *next++;
    if (take(kSetThresholdFraction))
        m_thresholdFraction = *next++;
    if (take(kSetSearchScale))
        m_searchScale = *next++;
    if (take(kSetMaxJumpSquared))
        m_maxJumpSquared = *next++;
    if (take(kSetRefinePeak))
        m_refinePeak = static_cast<int>(*next++);
}

void CTemplateMatcher::SetSettings(const TrackerSettings& record) {
    m_active = record.InUse;
    m_templateMask = record.TemplateMask;
    m_rotationSearch = record.RotationSearch;
    m_rotationRange = static_cast<int>(record.RotationRange);
    m_rotationStep = static_cast<int>(record.RotationStep);
    m_recentreScale = record.RecentreScale;
    m_thresholdFraction = record.ThresholdFraction;
    m_searchScale = record.SearchScale;
    m_maxJumpSquared = record.MaxJumpSquared;
    m_refinePeak = record.RefinePeak;
}

void CTemplateMatcher::SetTemplate(const CMImage& patch, const CRect& placement) {
    m_templateLeft = placement.left;
    m_templateTop = placement.top;
    m_templateWidth = patch.GetWidth();
    m_templateHeight = patch.GetHeight();
    m_templateRadius = 0.5 * std::sqrt(std::pow(m_templateWidth + 1.0, 2.0) +
                                       std::pow(m_templateHeight + 1.0, 2.0));
    m_searchRadius = m_templateRadius * m_searchScale;
    m_ops.CopyRegion(patch, m_template, CRect(0, 0, m_templateWidth - 1, m_templateHeight - 1));
    if (m_templateMask == 1)
        m_template.MaskOutsideCircle(-1, -1, 0.0);
    else if (m_templateMask == 2)
        m_template.MaskOutsideEllipse(-1, -1, 0.0, 0.0);
}

void CTemplateMatcher::SetPrediction(const CMImage* frame, int x, int y, int angle) {
    if (x < 0 || y < 0)
        return;
    m_predictedCentreX = (m_templateWidth + 1) * 0.5 + x;
    m_predictedCentreY = (m_templateHeight + 1) * 0.5 + y;
    const int frameWidth = frame && frame->HasImage() ? frame->GetWidth() : 0;
    const int frameHeight = frame && frame->HasImage() ? frame->GetHeight() : 0;
    const int left = static_cast<int>(m_predictedCentreX - m_searchRadius + 0.5);
    const int top = static_cast<int>(m_predictedCentreY - m_searchRadius + 0.5);
    const int size = static_cast<int>(2.0 * m_searchRadius + 0.5);
    m_windowLeft = std::clamp(left, 0, frameWidth);
    m_windowWidth = m_windowLeft + size > frameWidth ? frameWidth - m_windowLeft : size;
    m_windowTop = std::clamp(top, 0, frameHeight);
    m_windowHeight = m_windowTop + size > frameHeight ? frameHeight - m_windowTop : size;
    m_predictedAngle = angle;
    m_strongestX = m_nearestX = m_predictedCentreX;
    m_strongestY = m_nearestY = m_predictedCentreY;
    m_resultAngle = angle;
}

CRect CTemplateMatcher::GetWindow() const {
    return CRect(m_windowLeft, m_windowTop, m_windowLeft + m_windowWidth,
                 m_windowTop + m_windowHeight);
}

void CTemplateMatcher::CorrelateAtAngle(const CMImage& window, double angleDeg,
                                        CMImage& correlation, PeakInfo& peak) {
    if (m_rotationSearch)
        m_ops.Rotate(m_template, m_rotatedTemplate, angleDeg, -1.0, -1.0, 1);
    else
        m_ops.Copy(m_template, m_rotatedTemplate);
    m_ops.NormCrossCorr(window, m_rotatedTemplate, correlation);
    peak = PeakInfo();
    if (correlation.HasImage())
        correlation.FindPeak(peak);
}

void CTemplateMatcher::MatchFrame(const CMImage& frame) {
    if (m_windowWidth <= 0 || m_windowHeight <= 0 || !frame.HasImage() || !m_template.HasImage()) {
        m_status = kNothing;
        return;
    }
    CRect rc(m_windowLeft, m_windowTop, m_windowLeft + m_windowWidth - 1,
             m_windowTop + m_windowHeight - 1);
    m_ops.CopyRegion(frame, m_window, rc);
    PeakInfo peak;
    CorrelateAtAngle(m_window, m_predictedAngle, m_correlation, peak);
    peak.MaxX += rc.left;
    peak.MaxY += rc.top;
    peak.MinX += rc.left;
    peak.MinY += rc.top;
    const CMImage* correlation = &m_correlation;

    if (m_rotationSearch) {
        // Re-centred on the first pass's maximum, and clipped to the frame so that window
        // pixels keep their frame positions near the edges.
        const int a = static_cast<int>(m_templateWidth * m_recentreScale);
        const int b = static_cast<int>(m_templateHeight * m_recentreScale);
        rc = CRect(std::max(0, peak.MaxX - a / 2), std::max(0, peak.MaxY - b / 2),
                   std::min(frame.GetWidth() - 1, peak.MaxX + a / 2),
                   std::min(frame.GetHeight() - 1, peak.MaxY + b / 2));
        m_ops.CopyRegion(frame, m_recentredWindow, rc);

        // A step below 1 would never end; a range of 0 or less tests the predicted angle.
        const int step = std::max(1, m_rotationStep);
        double bestAngle = m_predictedAngle;
        if (m_rotationRange > 0) {
            const double from = static_cast<double>(m_predictedAngle) - m_rotationRange;
            const double to = static_cast<double>(m_predictedAngle) + m_rotationRange;
            const size_t slots = static_cast<size_t>((to - from) / step) + 1;
            m_angles.assign(slots, 0.0);
            m_angleValues.assign(slots, 0);
            size_t tested = 0;
            for (double angle = from; angle < to; angle += step, ++tested) {
                if (tested >= m_angles.size()) {
                    m_angles.push_back(0.0);
                    m_angleValues.push_back(0);
                }
                CorrelateAtAngle(m_recentredWindow, angle, m_searchCorrelation, peak);
                m_angles[tested] = angle;
                m_angleValues[tested] = peak.MaxValue;
            }
            size_t best = 0;
            int bestValue = 0;
            for (size_t i = 0; i < tested; ++i) {
                if (m_angleValues[i] >= bestValue) {
                    bestValue = m_angleValues[i];
                    best = i;
                }
            }
            bestAngle = m_angles[best];
        }
        CorrelateAtAngle(m_recentredWindow, bestAngle, m_searchCorrelation, peak);
        m_resultAngle = bestAngle;
        correlation = &m_searchCorrelation;
    }

    if (!correlation->HasImage()) {
        m_status = kNothing;
        return;
    }
    const int threshold = static_cast<int>(m_thresholdFraction * 255.0);
    m_ops.Threshold(*correlation, m_thresholdImage, threshold, 255, true, 255);
    PickBlob(*correlation, rc);
}

void CTemplateMatcher::PickBlob(const CMImage& correlation, const CRect& rc) {
    m_labeler.SetImage(m_thresholdImage, CBlobLabeler::kForegroundIs255, 8);
    m_labeler.Label();
    const int count = m_labeler.GetCount();
    if (count == 0) {
        m_status = kNothing;
        return;
    }
    m_labeler.MeasurePeaks(correlation, (m_refinePeak & 1) != 0, kRefineWindow);

    const double pcx = m_predictedCentreX - rc.left;
    const double pcy = m_predictedCentreY - rc.top;
    // Both choices start from the first blob, so that they are defined whatever the values.
    int strongest = m_labeler.GetOrder(0);
    int nearest = strongest;
    double bestValue = 0.0;
    double bestTie = kFar;
    double nearestSquared = kFar;
    for (int i = 0; i < count; ++i) {
        const int blob = m_labeler.GetOrder(i);
        const double x = m_labeler.GetPeakX(blob);
        const double y = m_labeler.GetPeakY(blob);
        const double value = m_labeler.GetPeakValue(blob);
        if (value > bestValue) {
            bestValue = value;
            strongest = blob;
        } else if (value == bestValue) {
            const double fx = x - std::trunc(x);
            const double fy = y - std::trunc(y);
            const double tie = fx * fx + fy * fy;
            if (tie < bestTie) {
                bestTie = tie;
                strongest = blob;
            }
        }
        const double squared = (pcx - x) * (pcx - x) + (pcy - y) * (pcy - y);
        if (squared < nearestSquared) {
            nearestSquared = squared;
            nearest = blob;
        }
    }
    m_strongestX = rc.left + m_labeler.GetPeakX(strongest);
    m_strongestY = rc.top + m_labeler.GetPeakY(strongest);
    m_nearestX = rc.left + m_labeler.GetPeakX(nearest);
    m_nearestY = rc.top + m_labeler.GetPeakY(nearest);
    if (nearestSquared <= m_maxJumpSquared)
        m_status = strongest == nearest ? kFound : kNotStrongest;
    else
        m_status = kTooFar;
}

HRESULT CTemplateMatcher::GetResult(int mode, int* status, double* x, double* y,
                                    double* angle) const {
    if (status)
        *status = m_status;
    if (angle)
        *angle = m_resultAngle;
    if (mode == 1 || mode == 2) {
        if (!x || !y)
            return E_POINTER;
        *x = mode == 1 ? m_strongestX : m_nearestX;
        *y = mode == 1 ? m_strongestY : m_nearestY;
    }
    return S_OK;
}
