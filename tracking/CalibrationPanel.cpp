#include "tracking/CalibrationPanel.h"

#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "tracking/ICalibrationContext.h"
#include "tracking/VideoAnalysis.h"
#include "views/VidView.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <cmath>
#include <functional>
#include <vector>

IMPLEMENT_DYNAMIC(CCalibrationPanel, CTabDlg)

BEGIN_MESSAGE_MAP(CCalibrationPanel, CTabDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(CCalibrationPanel::kSetPoint1, OnSetPoint1)
ON_BN_CLICKED(CCalibrationPanel::kSetPoint2, OnSetPoint2)
ON_BN_CLICKED(CCalibrationPanel::kSetOrigin, OnSetOrigin)
ON_BN_CLICKED(CCalibrationPanel::kXDirection, OnSetXDirection)
ON_BN_CLICKED(CCalibrationPanel::kFlipY, OnFlipY)
ON_BN_CLICKED(CCalibrationPanel::kQuadrantUpperRight, OnQuadrantUpperRight)
ON_BN_CLICKED(CCalibrationPanel::kQuadrantUpperLeft, OnQuadrantUpperLeft)
ON_BN_CLICKED(CCalibrationPanel::kQuadrantLowerRight, OnQuadrantLowerRight)
ON_BN_CLICKED(CCalibrationPanel::kQuadrantLowerLeft, OnQuadrantLowerLeft)
ON_BN_CLICKED(CCalibrationPanel::kCornerUpperLeft, OnCornerUpperLeft)
ON_BN_CLICKED(CCalibrationPanel::kCornerUpperRight, OnCornerUpperRight)
ON_BN_CLICKED(CCalibrationPanel::kCornerLowerLeft, OnCornerLowerLeft)
ON_BN_CLICKED(CCalibrationPanel::kCornerLowerRight, OnCornerLowerRight)
ON_BN_CLICKED(CCalibrationPanel::kSetDefault, OnSetDefault)
ON_BN_CLICKED(CCalibrationPanel::kLoadDefault, OnLoadDefault)
ON_BN_CLICKED(CCalibrationPanel::kApplyScale, OnApplyScale)
ON_BN_CLICKED(CCalibrationPanel::kApplyOriginTilt, OnApplyOriginTilt)
END_MESSAGE_MAP()

namespace {

constexpr double kDegreesPerRadian = 57.29579143313326;

std::vector<CCalibrationPanel*>& LivePanels() {
    static std::vector<CCalibrationPanel*> s_panels;
    return s_panels;
}

// Tells its panel when the page's widget is shown or hidden, by itself or with its parents.
class VisibilityWatcher : public QObject {
public:
    explicit VisibilityWatcher(std::function<void(bool)> shown) : m_shown(std::move(shown)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            m_shown(true);
        else if (event->type() == QEvent::Hide)
            m_shown(false);
        return false;
    }

private:
    std::function<void(bool)> m_shown;
};

struct Tip {
    int id;
    const char* text;
};

constexpr Tip kTips[] = {
    {CCalibrationPanel::kSetPoint1, "Position Reticle, Then Set First Calibration Point"},
    {CCalibrationPanel::kSetPoint2, "Position Reticle, Then Set Second Calibration Point"},
    {CCalibrationPanel::kDistance, "Distance Between Calibration Points"},
    {CCalibrationPanel::kUnits, "Select Units For Distance Value"},
    {CCalibrationPanel::kApplyScale, "Apply Scale Changes"},
    {CCalibrationPanel::kApplyOriginTilt, "Apply Coordinate System Changes"},
    {CCalibrationPanel::kSetOrigin, "Position Reticle, Then Set the Origin"},
    {CCalibrationPanel::kXDirection, "Position Reticle, Then Set the Direction of the X Axis"},
    {CCalibrationPanel::kFlipY, "Flip the Direction of the Y Axis"},
    {CCalibrationPanel::kSetDefault, "Set Default Calibration"},
    {CCalibrationPanel::kLoadDefault, "Load Default Calibration"},
    {CCalibrationPanel::kSaveFile, "Save Calibration to File"},
    {CCalibrationPanel::kLoadFile, "Load Calibration from File"},
    {CCalibrationPanel::kQuadrantUpperRight, "Set Coordinate System to Upper Right Quadrant"},
    {CCalibrationPanel::kQuadrantUpperLeft, "Set Coordinate System to Upper Left Quadrant"},
    {CCalibrationPanel::kQuadrantLowerRight, "Set Coordinate System to Lower Right Quadrant"},
    {CCalibrationPanel::kQuadrantLowerLeft, "Set Coordinate System to Lower Left Quadrant"},
    {CCalibrationPanel::kCornerUpperRight, "Set Coordinate System to Upper Right Corner"},
    {CCalibrationPanel::kCornerUpperLeft, "Set Coordinate System to Upper Left Corner"},
    {CCalibrationPanel::kCornerLowerRight, "Set Coordinate System to Lower Right Corner"},
    {CCalibrationPanel::kCornerLowerLeft, "Set Coordinate System to Lower Left Corner"},
};

constexpr const char* kUnitsItems[] = {"Feet", "Inches", "Meters", "Millimeters", "Centimeters"};

}  // namespace

CCalibrationPanel::CCalibrationPanel() : CTabDlg(kTemplate, nullptr) {
    m_working.SetRegistryBase(QString::fromLatin1(CVideoAnalysis::kRegistryBase));
    m_axes.SetCalibration(&m_working);
    LivePanels().push_back(this);
}

CCalibrationPanel::~CCalibrationPanel() {
    std::erase(LivePanels(), this);
    if (QWidget* widget = GetQWidget(); widget && m_visibilityWatcher)
        widget->removeEventFilter(m_visibilityWatcher.get());
    ForgetTips();
    Detach();
    // The tips follow the controls' destruction through their own window: it goes first.
    if (m_toolTips.GetSafeHwnd())
        m_toolTips.DestroyWindow();
    if (GetSafeHwnd())
        DestroyWindow();
}

void CCalibrationPanel::DetachFromAll(const ICalibrationContext* context) {
    for (CCalibrationPanel* panel : LivePanels())
        if (context && panel->GetContext() == context)
            panel->AttachContext(nullptr);
}

BOOL CCalibrationPanel::CreatePage(CWnd* host) {
    if (!CTabDlg::Create(host))
        return FALSE;
    if (QWidget* widget = GetQWidget()) {
        m_visibilityWatcher =
            std::make_unique<VisibilityWatcher>([this](bool shown) { OnShown(shown); });
        widget->installEventFilter(m_visibilityWatcher.get());
    }
    OnShown(IsWindowVisible());
    return TRUE;
}

void CCalibrationPanel::AttachAnalysis(IVideoAnalysis* analysis) {
    auto* context = dynamic_cast<ICalibrationContext*>(analysis);
    if (context == m_context)
        return;
    AttachContext(context);
    // A video's own calibration is where editing starts.
    if (context)
        OnCalibrationChanged(&context->GetCalibrationSettings());
}

void CCalibrationPanel::DoDataExchange(CDataExchange* pDX) {
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kUnits, m_unitsBox);
    DDX_Text(pDX, kDistance, m_distance);
    DDX_Text(pDX, kPixelsPerUnit, m_pixelsPerUnit);
    DDX_CBIndex(pDX, kUnits, m_units);
    DDX_Text(pDX, kTilt, m_tiltDegrees);
    DDX_Text(pDX, kOrigin, m_originText);
    DDX_Text(pDX, kUnitsText, m_unitsText);
}

BOOL CCalibrationPanel::OnInitDialog() {
    m_toolTips.Create(this);
    if (!m_toolTips.GetSafeHwnd()) {
        AfxMessageBox(QStringLiteral("Failed to create control."));
        return FALSE;
    }
    CTabDlg::OnInitDialog();
    m_unitsBox.ResetContent();
    for (const char* item : kUnitsItems)
        m_unitsBox.AddString(QString::fromLatin1(item));
    for (const Tip& tip : kTips)
        if (CWnd* control = GetDlgItem(tip.id))
            m_toolTips.AddTool(control, QString::fromLatin1(tip.text));
    m_working.SetPositionSource(nullptr);
    m_working.SetSizeSource(nullptr);
    m_axes.SetSizeSource(nullptr);
    // The panel's axes are drawn in red, apart from the video's own.
    for (int i = 0; i < CAnalysisSettings::kStyleCount; ++i) {
        BYTE found = 0;
        CTrackFeature style;
        m_working.GetFeature(i, &found, &style);
        if (found) {
            style.SetParam4(255);
            m_working.SetFeature(i, &style);
        }
    }
    RefreshFromWorking();
    return TRUE;
}

void CCalibrationPanel::OnDestroy() {
    ForgetTips();
    CTabDlg::OnDestroy();
}

void CCalibrationPanel::ForgetTips() {
    // The tips hear each control's widget go. When the page goes with its frame, this object
    // is deleted before Qt deletes those widgets: they must not reach the tips any more.
    QWidget* tips = m_toolTips.GetQWidget();
    if (!tips || !GetSafeHwnd())
        return;
    for (const Tip& tip : kTips)
        if (CWnd* control = GetDlgItem(tip.id); control && control->GetQWidget())
            QObject::disconnect(control->GetQWidget(), &QObject::destroyed, tips, nullptr);
}

void CCalibrationPanel::Show(bool show) {
    if (GetSafeHwnd())
        ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CCalibrationPanel::OnShown(bool shown) {
    if (shown) {
        m_working.SwitchPositionSource(1);
        m_shown = 1;
    }
    m_axes.SetVisible(shown ? 1 : 0);
}

void CCalibrationPanel::Detach() {
    if (!m_context)
        return;
    COverlayListener* listener = nullptr;
    m_working.GetListener(&listener);
    CDrawingOverlayListener* axes = nullptr;
    m_axes.GetListener(&axes);
    if (CVidView* view = m_context->GetContextView()) {
        view->GetOverlayHost().Remove(listener);
        view->GetOverlayHost().Remove(axes);
    }
    m_context->RemoveExtraOverlay(&m_axes);
    m_context = nullptr;
    m_working.SetPositionSource(nullptr);
    m_working.SetSizeSource(nullptr);
    m_axes.SetSizeSource(nullptr);
    m_axes.SetDisplayHost(nullptr);
}

void CCalibrationPanel::AttachContext(ICalibrationContext* context) {
    if (context && context == m_context)
        return;
    Detach();
    m_context = context;
    if (context) {
        m_working.SetPositionSource(context->GetReticleSource());
        m_working.SetSizeSource(context->GetImageSizeSource());
        m_axes.SetSizeSource(context->GetImageSizeSource());
        CVidView* view = context->GetContextView();
        m_axes.SetDisplayHost(view);
        if (view) {
            COverlayListener* listener = nullptr;
            m_working.GetListener(&listener);
            CDrawingOverlayListener* axes = nullptr;
            m_axes.GetListener(&axes);
            view->GetOverlayHost().Add(listener);
            view->GetOverlayHost().Add(axes);
        }
        context->AddExtraOverlay(&m_axes);
        if (GetSafeHwnd() && IsWindowVisible())
            m_working.SwitchPositionSource(1);
    }
    m_axes.SetVisible(GetSafeHwnd() && IsWindowVisible() ? 1 : 0);
}

void CCalibrationPanel::OnCalibrationChanged(CAnalysisSettings* source) {
    if (source) {
        m_working.SetName(source->GetName());
        CCalibrationData calibration;
        source->GetCalibration(&calibration);
        m_working.SetCalibration(&calibration);
    }
    RefreshFromWorking();
}

void CCalibrationPanel::RefreshFromWorking() {
    CCalibrationData c;
    m_working.GetCalibration(&c);
    c.GetDistance(&m_distance);
    c.GetPixelsPerUnit(&m_pixelsPerUnit);
    c.GetUnits(&m_units);
    double tilt = 0;
    c.GetTilt(&tilt);
    m_tiltDegrees = tilt * kDegreesPerRadian;
    double ox = 0, oy = 0;
    c.GetOrigin(&ox, &oy);
    m_originText = QString::asprintf("%d,%d", static_cast<int>(ox), static_cast<int>(oy));
    m_working.GetUnitsName(m_units, &m_unitsText, false);
    ShowValues();
}

void CCalibrationPanel::ShowValues() {
    if (GetSafeHwnd())
        UpdateData(FALSE);
}

void CCalibrationPanel::OnSetPoint1() {
    m_working.SetFirstPoint();
}
void CCalibrationPanel::OnSetPoint2() {
    m_working.SetSecondPoint();
}
void CCalibrationPanel::OnSetOrigin() {
    m_working.MoveOrigin();
}
void CCalibrationPanel::OnSetXDirection() {
    m_working.SetXDirection();
}
void CCalibrationPanel::OnFlipY() {
    m_working.FlipY();
}
void CCalibrationPanel::OnQuadrantUpperRight() {
    m_working.QuadrantUpperRight();
}
void CCalibrationPanel::OnQuadrantUpperLeft() {
    m_working.QuadrantUpperLeft();
}
void CCalibrationPanel::OnQuadrantLowerRight() {
    m_working.QuadrantLowerRight();
}
void CCalibrationPanel::OnQuadrantLowerLeft() {
    m_working.QuadrantLowerLeft();
}
void CCalibrationPanel::OnCornerUpperLeft() {
    m_working.CornerUpperLeft();
}
void CCalibrationPanel::OnCornerUpperRight() {
    m_working.CornerUpperRight();
}
void CCalibrationPanel::OnCornerLowerLeft() {
    m_working.CornerLowerLeft();
}
void CCalibrationPanel::OnCornerLowerRight() {
    m_working.CornerLowerRight();
}

void CCalibrationPanel::OnSetDefault() {
    m_working.SaveToRegistry();
}

void CCalibrationPanel::OnLoadDefault() {
    if (m_working.LoadFromRegistry() == S_OK)
        RefreshFromWorking();
}

void CCalibrationPanel::OnApplyScale() {
    if (GetSafeHwnd() && !UpdateData(TRUE))
        return;
    // A distance of no length would make every calibrated length infinite.
    if (!(m_distance > 0)) {
        AfxMessageBox(QStringLiteral("The distance between the points must be greater than 0."));
        return;
    }
    CCalibrationData c;
    m_working.GetCalibration(&c);
    c.SetDistance(m_distance);
    c.SetUnits(m_units);
    m_working.SetCalibration(&c);
    m_working.GetCalibration(&c);
    c.GetPixelsPerUnit(&m_pixelsPerUnit);
    c.GetUnits(&m_units);
    m_working.GetUnitsName(m_units, &m_unitsText, false);
    ApplyToTarget(Part::Scale);
    ShowValues();
}

void CCalibrationPanel::OnApplyOriginTilt() {
    CCalibrationData w;
    m_working.GetCalibration(&w);
    double tilt = 0;
    w.GetTilt(&tilt);
    m_tiltDegrees = tilt * kDegreesPerRadian;
    ApplyToTarget(Part::OriginAndTilt);
    double ox = 0, oy = 0;
    w.GetOrigin(&ox, &oy);
    m_originText = QString::asprintf("%d,%d", static_cast<int>(ox), static_cast<int>(oy));
    ShowValues();
}

void CCalibrationPanel::ApplyToTarget(Part part) {
    if (!m_context)
        return;
    CAnalysisSettings& target = m_context->GetCalibrationSettings();
    CCalibrationData t;
    CCalibrationData w;
    target.GetCalibration(&t);
    m_working.GetCalibration(&w);
    double x = 0, y = 0;
    if (part == Part::OriginAndTilt) {
        w.GetOrigin(&x, &y);
        t.SetOrigin(x, y);
        w.GetPositiveX(&x, &y);
        t.SetPositiveX(x, y);
        int nature = 0;
        w.GetCoordNature(&nature);
        t.SetCoordNature(nature);
    } else {
        double distance = 1;
        w.GetDistance(&distance);
        t.SetDistance(distance);
        w.GetFirstPoint(&x, &y);
        t.SetFirstPoint(x, y);
        w.GetSecondPoint(&x, &y);
        t.SetSecondPoint(x, y);
        int units = 0;
        w.GetUnits(&units);
        t.SetUnits(units);
    }
    t.SetType(1);
    target.SetCalibration(&t);
}
