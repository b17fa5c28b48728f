#pragma once

// CTemplateMatcher: finds one feature's template in a search window around its predicted
// position by normalised cross-correlation, optionally over a range of rotation angles, and
// reports the strongest and the nearest correlation blob with a status. One per tracked
// feature; its images live from frame to frame and are reused.

#include "tracking/BlobLabeler.h"
#include "tracking/ImageOps.h"
#include "tracking/MImage.h"

#include "platform/wintypes/Rect.h"
#include "platform/wintypes/WinError.h"

#include <vector>

struct TrackerSettings;

class CTemplateMatcher {
public:
    // Result codes (GetResult). 2 is never produced.
    enum Status {
        kFound = 1,         // The nearest blob is within the jump limit and the strongest.
        kNothing = 3,       // Empty search window or no blob above the threshold.
        kTooFar = 4,        // The nearest blob lies beyond the jump limit.
        kNotStrongest = 5,  // The nearest blob is within the limit, another blob is stronger.
    };

    // Bits of SetSettings' mask; each set bit takes the next value of the array.
    enum SettingBit {
        kSetActive = 0x1,
        kSetTemplateMask = 0x2,
        kSetRotationSearch = 0x4,
        kSetRotationRange = 0x8,
        kSetRotationStep = 0x10,
        kSetRecentreScale = 0x20,
        kSetThresholdFraction = 0x40,
        kSetSearchScale = 0x80,
        kSetMaxJumpSquared = 0x100,
        kSetRefinePeak = 0x800,
    };

    CTemplateMatcher();

    // Inactive, default settings, no template (position and size -1), no prediction.
    void Reset();
    // mask -1 or null values restore every default (and a miss allowance of 0). Otherwise the
    // bits of SettingBit in ascending order take values[0], values[1], ..., integers truncated.
    void SetSettings(int mask, const double* values);
    // The settings of a feature's record: Active from its in-use flag, the mask, rotation
    // search, range and step (truncated), the scales, threshold, jump limit and refinement.
    void SetSettings(const TrackerSettings& record);
    // The template is an 8-bit grey copy of patch, placed with its top-left at placement's;
    // the template mask then blacks out the outside of its inscribed circle (1) or ellipse (2).
    void SetTemplate(const CMImage& patch, const CRect& placement);
    // (x, y) is the predicted top-left of the template in frame; the search window is placed
    // round the predicted centre and clipped to the frame (no frame: an empty window). Negative
    // x or y change nothing. Both results become the predicted centre, the angle the predicted.
    void SetPrediction(const CMImage* frame, int x, int y, int angle);
    // Matches the template in the search window of frame; sets the status and results.
    void MatchFrame(const CMImage& frame);
    // *status = the status. Mode 1 gives the strongest blob's centre, mode 2 the nearest's
    // (x and y required: E_POINTER without them); other modes no position. angle optional.
    HRESULT GetResult(int mode, int* status, double* x, double* y, double* angle) const;

    int GetActive() const { return m_active; }
    void SetActive(int active) { m_active = active; }
    // Frames the tracker may coast after a miss. No tracking setting changes it.
    int GetMissAllowance() const { return m_missAllowance; }
    void SetMissAllowance(int frames) { m_missAllowance = frames; }
    int GetTemplateLeft() const { return m_templateLeft; }
    int GetTemplateTop() const { return m_templateTop; }
    int GetTemplateWidth() const { return m_templateWidth; }
    int GetTemplateHeight() const { return m_templateHeight; }
    double GetSearchRadius() const { return m_searchRadius; }
    // The current search window in frame pixels (right and bottom outside it).
    CRect GetWindow() const;
    int GetRotationSearch() const { return m_rotationSearch; }
    int GetRotationRange() const { return m_rotationRange; }
    int GetRotationStep() const { return m_rotationStep; }
    int GetTemplateMask() const { return m_templateMask; }
    double GetRecentreScale() const { return m_recentreScale; }
    double GetThresholdFraction() const { return m_thresholdFraction; }
    double GetSearchScale() const { return m_searchScale; }
    double GetMaxJumpSquared() const { return m_maxJumpSquared; }
    int GetRefinePeak() const { return m_refinePeak; }
    const CMImage& GetTemplate() const { return m_template; }

private:
    void RestoreDefaults();
    // Correlates window with the template turned to angleDeg (a plain copy without rotation
    // search) into correlation, and finds its peak.
    void CorrelateAtAngle(const CMImage& window, double angleDeg, CMImage& correlation,
                          PeakInfo& peak);
    void PickBlob(const CMImage& correlation, const CRect& rc);

    CMImage m_template;
    CMImage m_rotatedTemplate;
    CMImage m_window;
    CMImage m_recentredWindow;
    CMImage m_correlation;
    CMImage m_searchCorrelation;
    CMImage m_thresholdImage;
    CBlobLabeler m_labeler;
    CImageOps m_ops;
    std::vector<double> m_angles;
    std::vector<int> m_angleValues;

    int m_active = 1;
    int m_templateMask = 0;
    int m_rotationSearch = 0;
    int m_rotationRange = 10;
    int m_rotationStep = 1;
    double m_recentreScale = 1.2;
    double m_thresholdFraction = 0.75;
    double m_searchScale = 1.6;
    double m_maxJumpSquared = 160.0;
    int m_refinePeak = 0;

    int m_templateLeft = -1;
    int m_templateTop = -1;
    int m_templateWidth = -1;
    int m_templateHeight = -1;
    double m_templateRadius = 0.0;
    double m_searchRadius = 0.0;
    int m_windowLeft = 0;
    int m_windowTop = 0;
    int m_windowWidth = 0;
    int m_windowHeight = 0;
    int m_predictedAngle = 0;
    double m_predictedCentreX = 0.0;
    double m_predictedCentreY = 0.0;
    int m_status = kNothing;
    double m_strongestX = 0.0;
    double m_strongestY = 0.0;
    double m_nearestX = 0.0;
    double m_nearestY = 0.0;
    double m_resultAngle = 0.0;
    int m_missAllowance = 0;
};
