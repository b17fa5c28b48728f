#pragma once

// CCalibrationPanel: the calibration panel of a play group (template 1629), a page of the
// group frame's control panel. It edits a working copy of the active video's calibration: the
// two scale points and the distance between them in chosen units, the origin, the x direction
// and the y orientation, the corner and quadrant presets, and the stored default. The video's
// own calibration changes only when one of the two apply buttons copies the scale or the origin
// and tilt into it. The working calibration's axes show on the video while the panel is in view.

#include "groups/ICalibrationPanel.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ToolTipCtrl.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/CoordAxesOverlay.h"
#include "views/panels/TabDlg.h"

#include <QString>

#include <memory>

class ICalibrationContext;
class QObject;

class CCalibrationPanel : public CTabDlg, public ICalibrationPanel {
    DECLARE_DYNAMIC(CCalibrationPanel)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplate = 1629;
    enum : int {
        kSetPoint1 = 3001,
        kSetPoint2 = 3002,
        kDistance = 3003,
        kUnits = 3004,
        kApplyScale = 1360,
        kPixelsPerUnit = 1048,
        kUnitsText = 2240,
        kSetOrigin = 1364,
        kXDirection = 1359,
        kFlipY = 1402,
        kCornerUpperLeft = 1434,
        kCornerUpperRight = 1435,
        kCornerLowerLeft = 1437,
        kCornerLowerRight = 1436,
        kQuadrantUpperLeft = 1368,
        kQuadrantUpperRight = 1369,
        kQuadrantLowerLeft = 1370,
        kQuadrantLowerRight = 1371,
        kApplyOriginTilt = 1361,
        kOrigin = 1069,
        kTilt = 1058,
        kSetDefault = 1372,
        kLoadDefault = 1373,
        kSaveFile = 1362,
        kLoadFile = 1363,
    };

    CCalibrationPanel();
    ~CCalibrationPanel() override;

    // Every panel that is attached to context lets it go (the video's analysis objects are
    // going).
    static void DetachFromAll(const ICalibrationContext* context);

    // ICalibrationPanel: the page inside host (a top-level window without one).
    BOOL CreatePage(CWnd* host) override;
    CTabDlg* GetPage() override { return this; }
    // Attaches the video's analysis objects and, for a new one, takes its calibration.
    void AttachAnalysis(IVideoAnalysis* analysis) override;

    // The active video's analysis objects, or null. The same context again does nothing.
    void AttachContext(ICalibrationContext* context);
    ICalibrationContext* GetContext() const { return m_context; }
    // Copies the name and calibration of source into the working copy and shows it.
    void OnCalibrationChanged(CAnalysisSettings* source);
    // Shows or hides the page. Coming into view switches the video's reticle on; the axes are
    // shown exactly while the page is in view.
    void Show(bool show);

    CAnalysisSettings& GetWorking() { return m_working; }
    CCoordAxesOverlay& GetAxes() { return m_axes; }
    // The members the controls show.
    double GetDistance() const { return m_distance; }
    double GetPixelsPerUnit() const { return m_pixelsPerUnit; }
    int GetUnits() const { return m_units; }
    double GetTiltDegrees() const { return m_tiltDegrees; }
    QString GetOriginText() const { return m_originText; }
    QString GetUnitsText() const { return m_unitsText; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnDestroy();

private:
    void OnSetPoint1();
    void OnSetPoint2();
    void OnSetOrigin();
    void OnSetXDirection();
    void OnFlipY();
    void OnQuadrantUpperRight();
    void OnQuadrantUpperLeft();
    void OnQuadrantLowerRight();
    void OnQuadrantLowerLeft();
    void OnCornerUpperLeft();
    void OnCornerUpperRight();
    void OnCornerLowerLeft();
    void OnCornerLowerRight();
    void OnSetDefault();
    void OnLoadDefault();
    void OnApplyScale();
    void OnApplyOriginTilt();
    enum class Part { Scale, OriginAndTilt };
    void ApplyToTarget(Part part);
    void RefreshFromWorking();
    void ShowValues();
    void Detach();
    // The page came into view or left it (also with its bar or frame).
    void OnShown(bool shown);
    // The controls' widgets stop telling the tips that they go.
    void ForgetTips();

    double m_distance = 1.0;
    double m_pixelsPerUnit = 0.0;
    int m_units = 0;
    double m_tiltDegrees = 0.0;
    QString m_originText = QStringLiteral("0,0");
    QString m_unitsText = QStringLiteral("units");
    ICalibrationContext* m_context = nullptr;
    CAnalysisSettings m_working;
    CCoordAxesOverlay m_axes;
    CToolTipCtrl m_toolTips;
    CComboBox m_unitsBox;
    int m_shown = 0;
    // Hears the page's widget come into view and leave it.
    std::unique_ptr<QObject> m_visibilityWatcher;
};
