#pragma once

// CCalibrationPanel: the modeless calibration panel (template 1629). It edits a working copy of
// the active video's calibration: the two scale points and the distance between them in chosen
// units, the origin, the x direction and the y orientation, the corner and quadrant presets, and
// the stored default. The video's own calibration changes only when one of the two apply
// buttons copies the scale or the origin and tilt into it. The working calibration's axes show
// on the video while the panel is shown.

#include "platform/framework/ComboBox.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/ToolTipCtrl.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/CoordAxesOverlay.h"

#include <QString>

#include <memory>

class ICalibrationContext;

class CCalibrationPanel : public CDialog {
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

    // The program's one panel, made (and its window created) on first use; null when its window
    // cannot be made.
    static CCalibrationPanel* Instance();
    // The panel goes when the last video that could use it goes.
    static void DestroyInstance();
    static CCalibrationPanel* Existing();

    // The active video's analysis objects, or null. The same context again does nothing.
    void AttachContext(ICalibrationContext* context);
    ICalibrationContext* GetContext() const { return m_context; }
    // Copies the name and calibration of source into the working copy and shows it.
    void OnCalibrationChanged(CAnalysisSettings* source);
    // Shows or hides the panel with its axes; showing switches the video's reticle on.
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
    void OnCancel() override;

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
};
