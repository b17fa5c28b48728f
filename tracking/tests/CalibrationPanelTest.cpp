#include "tracking/CalibrationPanel.h"

#include "groups/IVideoAnalysis.h"
#include "platform/framework/ResourceChain.h"
#include "resources/CalibrationPanelTemplate.h"
#include "testsupport/IsolatedTest.h"
#include "tracking/ICalibrationContext.h"
#include "tracking/IPositionSource.h"

#include <QAbstractButton>

namespace {

// The active video as the panel sees it: its calibration, a reticle and a 640 x 480 image.
class FakeContext : public IVideoAnalysis,
                    public ICalibrationContext,
                    public IPositionSource,
                    public IImageSizeSource {
public:
    CAnalysisSettings& GetCalibrationSettings() override { return settings; }
    IPositionSource* GetReticleSource() override { return this; }
    IImageSizeSource* GetImageSizeSource() override { return this; }
    CVidView* GetContextView() const override { return nullptr; }
    void AddExtraOverlay(IOverlayDraw*) override { ++added; }
    void RemoveExtraOverlay(IOverlayDraw*) override { ++removed; }

    HRESULT Reset(int) override { return S_OK; }
    HRESULT Switch(int on) override {
        reticle = on;
        return S_OK;
    }
    HRESULT IsActive(bool* active) override {
        *active = reticle != 0;
        return S_OK;
    }
    HRESULT GetPickedPosition(double* x, double* y) override {
        *x = pickX;
        *y = pickY;
        return S_OK;
    }
    HRESULT GetDrawnRegion(double*, double*, double*, double*) override { return E_FAIL; }
    HRESULT GetSize(int* w, int* h) override {
        *w = 640;
        *h = 480;
        return S_OK;
    }

    CAnalysisSettings settings;
    double pickX = 0;
    double pickY = 0;
    int reticle = 0;
    int added = 0;
    int removed = 0;
};

struct Axes {
    int ox, oy, px, py, nature;
    bool operator==(const Axes&) const = default;
};

Axes AxesOf(CAnalysisSettings& settings) {
    CCalibrationData c;
    settings.GetCalibration(&c);
    double ox = 0, oy = 0, px = 0, py = 0;
    int nature = 0;
    c.GetOrigin(&ox, &oy);
    c.GetPositiveX(&px, &py);
    c.GetCoordNature(&nature);
    return {static_cast<int>(ox), static_cast<int>(oy), static_cast<int>(px), static_cast<int>(py),
            nature};
}

class CalibrationPanelTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_module.name = QStringLiteral("calibration panel");
        m_module.dialogs = {CalibrationPanelTemplate()};
        CResourceChain::AddModule(&m_module);
        // The page stands in a window of its own, as in the group's control panel.
        ASSERT_TRUE(host.Create(nullptr, QString(), 0, CRect(0, 0, 300, 600), nullptr, 0));
        host.ShowWindow(SW_SHOW);
        panel = std::make_unique<CCalibrationPanel>();
        ASSERT_TRUE(panel->CreatePage(&host));
        panel->AttachContext(&context);
    }
    void TearDown() override {
        panel.reset();
        host.DestroyWindow();
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }
    void Click(int id) {
        auto* button = qobject_cast<QAbstractButton*>(panel->GetDlgItem(id)->GetQWidget());
        ASSERT_NE(button, nullptr) << id;
        button->setEnabled(true);
        button->click();
    }

    FakeContext context;
    CWnd host;
    std::unique_ptr<CCalibrationPanel> panel;

private:
    CResourceModule m_module;
};

}  // namespace

TEST_F(CalibrationPanelTest, OpensWithTheWorkingUnitsAndTheFileButtonsDisabled) {
    EXPECT_EQ(panel->GetUnitsText(), QStringLiteral("pixels"));
    EXPECT_EQ(panel->GetDlgItem(CCalibrationPanel::kUnitsText)->GetWindowText(),
              QStringLiteral("pixels"));
    EXPECT_FALSE(panel->GetDlgItem(CCalibrationPanel::kSaveFile)->IsWindowEnabled());
    EXPECT_FALSE(panel->GetDlgItem(CCalibrationPanel::kLoadFile)->IsWindowEnabled());
    // The axes show exactly while the page is in view; coming into view turns the reticle on.
    panel->Show(true);
    EXPECT_EQ(context.reticle, 1);
    BYTE visible = 0;
    panel->GetAxes().GetVisible(&visible);
    EXPECT_EQ(visible, 1);
    context.reticle = 0;
    panel->Show(false);
    panel->GetAxes().GetVisible(&visible);
    EXPECT_EQ(visible, 0);
    EXPECT_EQ(context.reticle, 0);
}

TEST_F(CalibrationPanelTest, TheGroupHandsItTheActiveVideoWithItsCalibration) {
    panel->AttachContext(nullptr);
    CCalibrationData own;
    own.SetOrigin(12, 34);
    own.SetPositiveX(212, 34);
    own.SetDistance(3.0);
    own.SetUnits(3);
    ASSERT_EQ(context.settings.SetCalibration(&own), S_OK);
    panel->AttachAnalysis(&context);
    EXPECT_EQ(panel->GetContext(), &context);
    EXPECT_EQ(panel->GetOriginText(), QStringLiteral("12,34"));
    EXPECT_EQ(panel->GetUnitsText(), QStringLiteral("mm"));
    // The same video again keeps what the user has changed in the working copy.
    context.pickX = 7;
    context.pickY = 8;
    Click(CCalibrationPanel::kSetOrigin);
    panel->AttachAnalysis(&context);
    EXPECT_EQ(AxesOf(panel->GetWorking()).ox, 7);
    // The video's analysis objects going take every panel off them.
    CCalibrationPanel::DetachFromAll(&context);
    EXPECT_EQ(panel->GetContext(), nullptr);
    panel->AttachAnalysis(nullptr);
    EXPECT_EQ(panel->GetContext(), nullptr);
}

TEST_F(CalibrationPanelTest, PresetButtonsChangeOnlyTheWorkingCopy) {
    struct Case {
        int button;
        Axes expected;
    } cases[] = {
        {CCalibrationPanel::kQuadrantUpperRight, {100, 50, 300, 50, 1}},
        {CCalibrationPanel::kQuadrantLowerLeft, {100, 50, -100, 50, 1}},
        {CCalibrationPanel::kCornerUpperRight, {639, 0, 439, 0, 1}},
        {CCalibrationPanel::kCornerLowerRight, {639, 479, 439, 479, 0}},
        {CCalibrationPanel::kCornerLowerLeft, {0, 479, 200, 479, 1}},
    };
    context.pickX = 100;
    context.pickY = 50;
    const Axes target = AxesOf(context.settings);
    for (const Case& c : cases) {
        Click(c.button);
        EXPECT_TRUE(AxesOf(panel->GetWorking()) == c.expected) << c.button;
        EXPECT_TRUE(AxesOf(context.settings) == target) << c.button;
    }
    Click(CCalibrationPanel::kFlipY);
    Click(CCalibrationPanel::kFlipY);
    EXPECT_EQ(AxesOf(panel->GetWorking()).nature, 1);
}

TEST_F(CalibrationPanelTest, ApplyScaleAndApplyOriginTiltCopyTheirOwnParts) {
    context.pickX = 10;
    context.pickY = 20;
    Click(CCalibrationPanel::kSetPoint1);
    context.pickX = 110;
    Click(CCalibrationPanel::kSetPoint2);
    context.pickX = 300;
    context.pickY = 200;
    Click(CCalibrationPanel::kQuadrantUpperRight);
    panel->GetDlgItem(CCalibrationPanel::kDistance)->SetWindowText(QStringLiteral("2.5"));
    auto* units = dynamic_cast<CComboBox*>(panel->GetDlgItem(CCalibrationPanel::kUnits));
    ASSERT_NE(units, nullptr);
    units->SetCurSel(2);  // Meters
    Click(CCalibrationPanel::kApplyScale);

    CCalibrationData t;
    context.settings.GetCalibration(&t);
    double distance = 0, x = 0, y = 0;
    int u = 0, type = 0;
    t.GetDistance(&distance);
    t.GetUnits(&u);
    t.GetType(&type);
    t.GetSecondPoint(&x, &y);
    EXPECT_EQ(distance, 2.5);
    EXPECT_EQ(u, 2);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(x, 110);
    EXPECT_EQ(y, 20);
    EXPECT_TRUE(AxesOf(context.settings) == (Axes{0, 0, 200, 0, 0}));  // the origin stayed
    EXPECT_DOUBLE_EQ(panel->GetPixelsPerUnit(), 40.0);
    EXPECT_EQ(panel->GetUnitsText(), QStringLiteral("m"));

    Click(CCalibrationPanel::kApplyOriginTilt);
    EXPECT_TRUE(AxesOf(context.settings) == (Axes{300, 200, 500, 200, 1}));
    context.settings.GetCalibration(&t);
    t.GetDistance(&distance);
    EXPECT_EQ(distance, 2.5);
    EXPECT_EQ(panel->GetOriginText(), QStringLiteral("300,200"));
    EXPECT_EQ(panel->GetDlgItem(CCalibrationPanel::kOrigin)->GetWindowText(),
              QStringLiteral("300,200"));
}

TEST_F(CalibrationPanelTest, ADistanceOfNoLengthIsRefusedBeforeApplying) {
    CCalibrationData before;
    context.settings.GetCalibration(&before);
    panel->GetDlgItem(CCalibrationPanel::kDistance)->SetWindowText(QStringLiteral("0"));
    Prompter().ExpectMessageBox(
        QStringLiteral("The distance between the points must be greater than 0."), IDOK);
    Click(CCalibrationPanel::kApplyScale);
    CCalibrationData after;
    context.settings.GetCalibration(&after);
    EXPECT_TRUE(after == before);
    int type = 1;
    after.GetType(&type);
    EXPECT_EQ(type, 0);
}

TEST_F(CalibrationPanelTest, DefaultsGoThroughTheRegistry) {
    context.pickX = 42;
    context.pickY = 24;
    Click(CCalibrationPanel::kSetOrigin);
    Click(CCalibrationPanel::kSetDefault);
    Click(CCalibrationPanel::kCornerUpperLeft);
    EXPECT_EQ(AxesOf(panel->GetWorking()).ox, 0);
    Click(CCalibrationPanel::kLoadDefault);
    EXPECT_TRUE(AxesOf(panel->GetWorking()) == (Axes{42, 24, 242, 24, 0}));
    EXPECT_EQ(panel->GetOriginText(), QStringLiteral("42,24"));
}

TEST_F(CalibrationPanelTest, AttachingTheSameContextTwiceDoesNothingAndNullDetaches) {
    EXPECT_EQ(context.added, 1);
    panel->AttachContext(&context);
    EXPECT_EQ(context.added, 1);
    panel->AttachContext(nullptr);
    EXPECT_EQ(context.removed, 1);
    EXPECT_EQ(panel->GetContext(), nullptr);
    context.pickX = 5;
    const Axes working = AxesOf(panel->GetWorking());
    Click(CCalibrationPanel::kSetOrigin);  // no reticle any more: nothing changes
    EXPECT_TRUE(AxesOf(panel->GetWorking()) == working);
}
