#include "devices/RecordControlPage.h"

#include "devices/CamView.h"
#include "devices/IDeviceViewFinder.h"
#include "devices/core/Device.h"
#include "devices/core/IRecordGroupHost.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroup.h"
#include "devices/sim/SimCamera.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/com/SafeArray.h"
#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "shell/DlgTextInput.h"
#include "shell/NumberEntryDlg.h"
#include "shell/SliderLabelsDlg.h"
#include "shell/SliderNumberDlg.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The record control page over a simulated camera in a record group: the page's commands go
// through a target that writes each one down before the group handles it.

namespace {

using Log = std::vector<std::string>;

// A simulated camera that logs its mode, role and trigger calls and whose frame counts a test
// can make fail.
class CTestCamera : public CSimCamera {
public:
    CTestCamera(Log* log, const DriverHostServices* host, int subtype)
        : CSimCamera(host, subtype, 0, false, int64_t(2000) * 320 * 240), m_log(log) {
        SetResolution(320, 240);
    }
    int SetMode(int mode) override {
        m_log->push_back("SetMode(" + std::to_string(mode) + ")");
        return CSimCamera::SetMode(mode);
    }
    int SetRole(int role) override {
        m_log->push_back("SetRole(" + std::to_string(role) + ")");
        return CSimCamera::SetRole(role);
    }
    int Trigger() override {
        m_log->push_back("Trigger");
        return CSimCamera::Trigger();
    }
    int Stop() override {
        m_log->push_back("Stop");
        return CSimCamera::Stop();
    }
    int GetTotalFrames(int* count) override {
        return totalAnswer ? *totalAnswer : CSimCamera::GetTotalFrames(count);
    }
    int GetMaxFrames(int* count) override {
        return maxAnswer ? *maxAnswer : CSimCamera::GetMaxFrames(count);
    }
    int GetExposureList(std::vector<double>* nanoseconds) override {
        if (exposures.empty())
            return CSimCamera::GetExposureList(nanoseconds);
        *nanoseconds = exposures;
        return 0;
    }

    std::optional<int> totalAnswer;
    std::optional<int> maxAnswer;
    std::vector<double> exposures;

private:
    Log* m_log;
};

// One command as it reached the group.
struct Sent {
    int handle;
    int subtype;
    int code;
    std::vector<double> values;
    bool operator==(const Sent&) const = default;
};

void PrintTo(const Sent& sent, std::ostream* os) {
    *os << "{" << sent.handle << "," << sent.subtype << "," << sent.code << ",[";
    for (double value : sent.values)
        *os << value << " ";
    *os << "]}";
}

// Writes down each command, answers the permission question when told to, and hands the rest
// to the group.
class CRecordingTarget : public IDeviceCommandTarget, public IDeviceCommandTargetProvider {
public:
    int HandleDeviceCommand(int handle, int subtype, const VARIANT& code, const VARIANT& values,
                            VARIANT* status, VARIANT* result) override {
        Sent sent{handle, subtype, code.lVal, {}};
        if (values.vt == (VT_ARRAY | VT_R8)) {
            LONG upper = -1;
            SafeArrayGetUBound(values.parray, 1, &upper);
            for (LONG i = 0; i <= upper; ++i) {
                double value = 0;
                SafeArrayGetElement(values.parray, &i, &value);
                sent.values.push_back(value);
            }
        }
        log.push_back(sent);
        if (code.lVal == CRecordControlPage::kCmdMayChange && permission) {
            if (*permission < 0)
                return 1;  // no result
            status->vt = VT_I4;
            status->lVal = 0;
            result->vt = VT_I4;
            result->lVal = *permission;
            return 0;
        }
        return group->HandleDeviceCommand(handle, subtype, code, values, status, result);
    }
    IDeviceCommandTarget* GetCommandTarget() override { return this; }
    std::vector<int> Codes() const {
        std::vector<int> codes;
        for (const Sent& sent : log)
            codes.push_back(sent.code);
        return codes;
    }

    CRecordGroup* group = nullptr;
    // Unset: the group answers; negative: no result; else the answer.
    std::optional<int> permission;
    std::vector<Sent> log;
};

class CFinder : public IDeviceViewFinder {
public:
    CView* GetActiveDeviceView(int* kind, CDevice** device) override {
        if (kind)
            *kind = view ? kCameraView : 0;
        if (device)
            *device = view ? view->GetDevice() : nullptr;
        return view;
    }
    CView* FindDeviceWindow(int, int) override { return nullptr; }
    CCamView* FindCameraViewForDataView(CView*) override { return nullptr; }
    CCamView* view = nullptr;
};

class CNoWaitHost : public IRecordGroupHost {
public:
    bool IsClosing() override { return false; }
    void ShowActiveArea(CDevice&) override { ++activeAreas; }
    void Wait(int) override {}
    int activeAreas = 0;
};

// Runs act on the modal dialog of class T once it shows (and fails when none shows).
template <class T>
class WhenModal {
public:
    explicit WhenModal(std::function<void(T*)> act) {
        QTimer::singleShot(0, [this, act] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* window = dynamic_cast<T*>(CWnd::FromWidgetPermanent(widget));
                    window && widget->isVisible()) {
                    m_seen = true;
                    act(window);
                    return;
                }
            }
        });
    }
    ~WhenModal() { EXPECT_TRUE(m_seen) << "no dialog showed"; }

private:
    bool m_seen = false;
};

// Types value into the dialog's edit and presses OK.
void Answer(CDialog* dialog, int editId, const QString& value) {
    dialog->SetDlgItemText(editId, value);
    dialog->SendMessage(WM_COMMAND, IDOK);
}

class RecordControlPageTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        OpenDevices::ResetForTests();
        CDeviceLinkList::ResetForTests();
        CRecordGroup::SetHost(&m_host);
        m_target.group = &m_group;
        ASSERT_TRUE(m_window.Create(nullptr, "host", 0, CRect(0, 0, 400, 900), nullptr, 0));
        // After the reset of the link list: the page's link is on it.
        m_page = std::make_unique<CRecordControlPage>();
        m_page->SetTargetProvider(&m_target);
        m_page->SetViewFinder(&m_finder);
        ASSERT_TRUE(m_page->Create(&m_window));
    }
    void TearDown() override {
        m_page->DestroyWindow();
        m_page.reset();
        m_window.DestroyWindow();
        m_view.reset();
        CRecordGroup::SetHost(nullptr);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        IsolatedTest::TearDown();
    }

    // A live camera of that subtype in the group and in front: 1000 frames, 100 after the
    // trigger.
    CTestCamera* AddCamera(int subtype = 1) {
        auto driver = std::make_unique<CTestCamera>(&m_log, &m_clock.services, subtype);
        CTestCamera* camera = driver.get();
        EXPECT_EQ(camera->SetMaxFrames(1000), 0);
        EXPECT_EQ(camera->SetTriggerSetting({1, 100, 0}), 0);
        EXPECT_EQ(camera->SetMode(kModeLive), 0);
        m_device = new CDevice(CDeviceDescriptor(CDeviceId(kDeviceTypeCamera, subtype, 0)),
                               std::move(driver));
        m_device->SetName(QStringLiteral("Cam"));
        OpenDevices::Add(m_device);
        m_device->GetHandle(&m_handle);
        m_group.AddDevice(m_handle);
        m_view = std::make_unique<CCamView>();
        m_view->GetLink().SetHandle(m_handle);
        m_finder.view = m_view.get();
        m_page->UpdatePage();
        m_log.clear();
        m_target.log.clear();
        return camera;
    }
    void SetFeature(int feature) {
        m_device->SetFeatureSupported(feature, 1);
        m_device->SetFeatureAvailable(feature, 1);
        m_device->SetFeatureOn(feature, 1);
    }
    void Click(int id) { m_page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    // Opens the combo's list, chooses entry index and closes it, as the user does.
    void Choose(int id, int index) {
        m_page->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_DROPDOWN), 0);
        auto* combo = dynamic_cast<CComboBox*>(m_page->GetDlgItem(id));
        ASSERT_NE(combo, nullptr);
        combo->SetCurSel(index);
        m_page->SendMessage(WM_COMMAND, MAKEWPARAM(id, CBN_CLOSEUP), 0);
    }
    QStringList Entries(int id) {
        auto* combo = dynamic_cast<CComboBox*>(m_page->GetDlgItem(id));
        QStringList entries;
        for (int i = 0; combo && i < combo->GetCount(); ++i)
            entries << combo->GetLBText(i);
        return entries;
    }
    Sent Named(int code, std::vector<double> values = {}) {
        return {m_handle, 1, code, std::move(values)};
    }
    static Sent Unnamed(int code) { return {-1, -1, code, {}}; }
    DriverRecordParams Params(CTestCamera* camera) {
        DriverRecordParams params;
        camera->GetRecordParams(&params);
        return params;
    }
    double Rate(CTestCamera* camera) {
        double rate = 0;
        camera->GetRecordRate(&rate);
        return rate;
    }
    DriverTriggerSetting Trigger(CTestCamera* camera) {
        DriverTriggerSetting setting;
        camera->GetTriggerSetting(&setting);
        return setting;
    }

    SimHostClock m_clock;
    Log m_log;
    CNoWaitHost m_host;
    CRecordGroup m_group;
    CRecordingTarget m_target;
    CFinder m_finder;
    CWnd m_window;
    std::unique_ptr<CRecordControlPage> m_page;
    std::unique_ptr<CCamView> m_view;
    CDevice* m_device = nullptr;
    int m_handle = -1;
};

TEST(RecordControlPageTables, FrameRateAndShutterLists) {
    EXPECT_EQ(CRecordControlPage::FrameRateTexts({25, 1000}, false), QStringList({"25", "1000"}));
    EXPECT_EQ(CRecordControlPage::FrameRateTexts({25, 1000}, true),
              QStringList({"25", "1000", "User..."}));

    // A camera's own exposures as the frame time's multiple at 1000 fps (1 ms).
    const auto own = CRecordControlPage::ShutterEntries({500000, 250000, 100000}, 1000);
    const std::vector<CRecordControlPage::ShutterEntry> ownExpected = {
        {" 2.0 x", 0}, {" 4.0 x", 1}, {"10.0 x", 2}};
    EXPECT_EQ(own, ownExpected);

    // One exposure, or no rate to divide by: the fixed list, ending in "User...".
    for (const auto& fixed : {CRecordControlPage::ShutterEntries({500000}, 1000),
                              CRecordControlPage::ShutterEntries({500000, 250000}, 0)}) {
        ASSERT_EQ(fixed.size(), 25u);
        EXPECT_EQ(fixed[0], (CRecordControlPage::ShutterEntry{"1 x", 1}));
        EXPECT_EQ(fixed[19], (CRecordControlPage::ShutterEntry{"20 x", 20}));
        EXPECT_EQ(fixed[20], (CRecordControlPage::ShutterEntry{"50 x", 50}));
        EXPECT_EQ(fixed[23], (CRecordControlPage::ShutterEntry{"10000 x", 10000}));
        EXPECT_EQ(fixed[24],
                  (CRecordControlPage::ShutterEntry{"User...", CRecordControlPage::kUserShutter}));
    }
}

TEST(RecordControlPageTables, TriggerTypes) {
    struct Case {
        bool answered, edge, level;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {true, true, true, {1, 2}},
        {false, true, true, {1, 2, 3}},
        {false, false, true, {4, 5}},
        {false, false, false, {1, 2, 3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CRecordControlPage::TriggerCodes(c.answered, c.edge, c.level), c.codes);

    EXPECT_EQ(CRecordControlPage::TriggerTypeText(1, 1), "Rising Edge");
    EXPECT_EQ(CRecordControlPage::TriggerTypeText(3, 2), "Rising Or Falling");
    EXPECT_EQ(CRecordControlPage::TriggerTypeText(5, 14), "Record On Low");
    for (int subtype : {3, 14, 15}) {
        EXPECT_EQ(CRecordControlPage::TriggerTypeText(1, subtype), "TTL Logic - Rising");
        EXPECT_EQ(CRecordControlPage::TriggerTypeText(2, subtype), "Hand Switch - Falling");
        EXPECT_EQ(CRecordControlPage::TriggerTypeText(3, subtype), "Default");
    }
}

TEST(RecordControlPageTables, SlideCountsAndFramesToRecord) {
    using Counts = CRecordControlPage::SlideCounts;
    EXPECT_EQ(CRecordControlPage::CountsAt(1000, 900, 500), (Counts{100, 899, 0.2, 1.798}));
    // Without a rate the times stay 0.
    EXPECT_EQ(CRecordControlPage::CountsAt(1000, 900, 0), (Counts{100, 899, 0, 0}));
    EXPECT_EQ(CRecordControlPage::CountsAt(1000, 900, -5), (Counts{100, 899, 0, 0}));

    struct Case {
        int entered, available, frames;
    };
    for (const Case& c : {Case{1, 100, 3}, Case{2, 100, 3}, Case{50, 100, 50}, Case{1, 2, 2}})
        EXPECT_EQ(CRecordControlPage::FramesToRecord(c.entered, c.available), c.frames)
            << c.entered << " of " << c.available;
}

TEST_F(RecordControlPageTest, ClockCountersAndTicksSendTheRateTheCameraTookBack) {
    CTestCamera* camera = AddCamera();
    // The second clock source keeps the rate: its counters double.
    Choose(CRecordControlPage::kClockSource, 1);
    EXPECT_EQ(Params(camera).ClockSource(), 1);
    EXPECT_EQ(Params(camera).Counter(1), 1000);
    std::vector<Sent> expected = {Unnamed(20), Named(3, {1000})};
    EXPECT_EQ(m_target.log, expected);

    // One step of counter 1 makes 2001 ticks a frame.
    m_target.log.clear();
    Click(CRecordControlPage::kCounter1Up);
    EXPECT_EQ(Params(camera).Counter(1), 1001);
    expected = {Unnamed(20), Named(3, {2e6 / 2001})};
    EXPECT_EQ(m_target.log, expected);

    // The edit form asks in the labelled slider dialog.
    m_target.log.clear();
    {
        WhenModal<CSliderLabelsDlg> modal([](CSliderLabelsDlg* dialog) {
            EXPECT_EQ(dialog->GetWindowText(), "Clock Ticks");
            EXPECT_EQ(dialog->GetPrompt(), "Enter the value for the second counter");
            EXPECT_EQ(dialog->GetMinimum(), 2);
            EXPECT_EQ(dialog->GetMaximum(), 65535);
            EXPECT_EQ(dialog->GetDlgItemText(CSliderLabelsDlg::kFirstCaptionId), "Frame Rate");
            EXPECT_EQ(dialog->GetDlgItemText(CSliderLabelsDlg::kSecondCaptionId), "Frame Time");
            EXPECT_EQ(dialog->GetDlgItemText(CSliderLabelsDlg::kSecondUnitId), "usec");
            Answer(dialog, CSliderLabelsDlg::kValueId, "999");
        });
        Click(CRecordControlPage::kCounter2);
    }
    EXPECT_EQ(Params(camera).Counter(2), 999);
    EXPECT_DOUBLE_EQ(Rate(camera), 1000);
    expected = {Unnamed(20), Named(3, {1000})};
    EXPECT_EQ(m_target.log, expected);

    // Exposure ticks change the camera alone.
    m_target.log.clear();
    int64_t ticks = 0;
    camera->GetExposureTicks(&ticks);
    Click(CRecordControlPage::kTicksDown);
    int64_t after = 0;
    camera->GetExposureTicks(&after);
    EXPECT_EQ(after, ticks - 1);
    EXPECT_EQ(m_target.Codes(), std::vector<int>({20}));
}

TEST_F(RecordControlPageTest, CounterStepsStopAtTheRangeLimits) {
    CTestCamera* camera = AddCamera();
    DriverRecordParams params = Params(camera);
    params.SetCounter(1, 65535);
    params.SetCounter(2, 2);
    ASSERT_EQ(camera->SetRecordParams(params, 0, 1), 0);
    Click(CRecordControlPage::kCounter1Up);
    Click(CRecordControlPage::kCounter2Down);
    EXPECT_EQ(Params(camera).Counter(1), 65535);
    EXPECT_EQ(Params(camera).Counter(2), 2);
}

TEST_F(RecordControlPageTest, FrameRateListAndUserRate) {
    CTestCamera* camera = AddCamera();
    m_page->SendMessage(WM_COMMAND, MAKEWPARAM(CRecordControlPage::kFrameRate, CBN_DROPDOWN), 0);
    EXPECT_EQ(Entries(CRecordControlPage::kFrameRate).last(), "2000");

    Choose(CRecordControlPage::kFrameRate, 7);  // 500
    EXPECT_DOUBLE_EQ(Rate(camera), 500);
    std::vector<Sent> expected = {Unnamed(20), Named(3, {500})};
    EXPECT_EQ(m_target.log, expected);

    SetFeature(CDevice::kFeatureUserFrameRate);
    m_target.log.clear();
    {
        WhenModal<CNumberEntryDlg> modal([](CNumberEntryDlg* dialog) {
            EXPECT_EQ(dialog->GetWindowText(), "Frame Rate Select");
            EXPECT_EQ(dialog->GetDlgItemText(CNumberEntryDlg::kPromptId), "Desired FPS :");
            EXPECT_EQ(dialog->m_nMin, 25);
            EXPECT_EQ(dialog->m_nMax, 2000);
            EXPECT_EQ(dialog->m_nValue, 500);
            Answer(dialog, CNumberEntryDlg::kValueId, "400");
        });
        Choose(CRecordControlPage::kFrameRate, 10);
    }
    EXPECT_EQ(Entries(CRecordControlPage::kFrameRate).last(), "User...");
    EXPECT_DOUBLE_EQ(Rate(camera), 400);
    expected = {Unnamed(20), Named(3, {400})};
    EXPECT_EQ(m_target.log, expected);

    // A choice of nothing, or beyond the list, changes nothing.
    m_target.log.clear();
    Choose(CRecordControlPage::kFrameRate, -1);
    EXPECT_DOUBLE_EQ(Rate(camera), 400);
}

TEST_F(RecordControlPageTest, ShutterFixedListAndUserExposure) {
    CTestCamera* camera = AddCamera();
    Choose(CRecordControlPage::kShutter, 1);  // "2 x" of 1 ms
    double exposure = 0;
    camera->GetExposure(&exposure);
    EXPECT_NEAR(exposure, 0.0005, 1e-12);
    EXPECT_EQ(m_target.Codes(), std::vector<int>({20}));

    {
        WhenModal<CNumberEntryDlg> modal([](CNumberEntryDlg* dialog) {
            EXPECT_EQ(dialog->GetWindowText(), "Exposure Time");
            EXPECT_EQ(dialog->GetDlgItemText(CNumberEntryDlg::kPromptId), "Desired Microseconds :");
            EXPECT_EQ(dialog->m_nMin, 1);
            EXPECT_EQ(dialog->m_nMax, 1000);
            EXPECT_EQ(dialog->m_nValue, 500);
            Answer(dialog, CNumberEntryDlg::kValueId, "250");
        });
        Choose(CRecordControlPage::kShutter, 24);
    }
    camera->GetExposure(&exposure);
    EXPECT_NEAR(exposure, 250e-6, 1e-12);

    // A camera's own exposures are chosen by their index.
    camera->exposures = {500000, 100000};
    Choose(CRecordControlPage::kShutter, 1);
    EXPECT_EQ(Entries(CRecordControlPage::kShutter), QStringList({" 2.0 x", "10.0 x"}));
    camera->GetExposure(&exposure);
    EXPECT_NEAR(exposure, 100e-6, 1e-12);
}

TEST_F(RecordControlPageTest, ResolutionTriggerTypeAndName) {
    CTestCamera* camera = AddCamera(14);
    m_page->SendMessage(WM_COMMAND, MAKEWPARAM(CRecordControlPage::kResolution, CBN_DROPDOWN), 0);
    const QStringList sizes = Entries(CRecordControlPage::kResolution);
    ASSERT_FALSE(sizes.isEmpty());
    EXPECT_EQ(sizes.first(), "1280x1024");
    Choose(CRecordControlPage::kResolution, 0);
    int width = 0;
    int height = 0;
    camera->GetResolution(&width, &height);
    EXPECT_EQ(width, 1280);
    std::vector<Sent> expected = {Unnamed(20), {m_handle, 14, 16, {}}};
    EXPECT_EQ(m_target.log, expected);

    m_target.log.clear();
    Click(CRecordControlPage::kCustomResolution);
    expected = {Unnamed(20), {m_handle, 14, 18, {}}};
    EXPECT_EQ(m_target.log, expected);
    EXPECT_EQ(m_host.activeAreas, 1);

    // The group does not answer the trigger query: the edge types, by this camera's inputs.
    m_target.log.clear();
    SetFeature(CDevice::kFeatureEdgeTrigger);
    Choose(CRecordControlPage::kTriggerType, 1);
    EXPECT_EQ(Entries(CRecordControlPage::kTriggerType),
              QStringList({"TTL Logic - Rising", "Hand Switch - Falling", "Default"}));
    EXPECT_EQ(Trigger(camera).type, 2);
    expected = {{m_handle, 14, 17, {}}, Unnamed(20), {m_handle, 14, 6, {2}}};
    EXPECT_EQ(m_target.log, expected);

    m_target.log.clear();
    {
        WhenModal<CDlgTextInput> modal([](CDlgTextInput* dialog) {
            EXPECT_EQ(dialog->GetWindowText(), "Device Name");
            EXPECT_EQ(dialog->GetDlgItemText(CDlgTextInput::kPromptId),
                      "Please enter the device name.");
            EXPECT_EQ(dialog->GetDlgItemText(CDlgTextInput::kTextId), "Cam");
            Answer(dialog, CDlgTextInput::kTextId, "Left");
        });
        Click(CRecordControlPage::kDeviceName);
    }
    CDeviceDescriptor descriptor;
    m_device->GetDescriptor(&descriptor);
    EXPECT_EQ(descriptor.m_name, "Left");
    expected = {{m_handle, 14, 22, {}}};
    EXPECT_EQ(m_target.log, expected);
    EXPECT_EQ(m_page->GetDlgItemText(CRecordControlPage::kDeviceName), "Left");
}

TEST_F(RecordControlPageTest, FramesToRecordAndTriggerPosition) {
    CTestCamera* camera = AddCamera();
    int frames = 0;
    {
        WhenModal<CSliderNumberDlg> modal([](CSliderNumberDlg* dialog) {
            EXPECT_EQ(dialog->GetTitle(), "Frames to Record");
            EXPECT_EQ(dialog->GetPrompt(), "Enter Maximum Frames to Record");
            EXPECT_EQ(dialog->GetMinimum(), 1);
            EXPECT_EQ(dialog->GetMaximum(), 2000);
            EXPECT_EQ(dialog->GetValue(), 1000);
            Answer(dialog, CSliderNumberDlg::kValueId, "2");
        });
        Click(CRecordControlPage::kMaxFrames);
    }
    camera->GetMaxFrames(&frames);
    EXPECT_EQ(frames, 3);
    std::vector<Sent> expected = {Unnamed(20), Named(7), Named(5)};
    EXPECT_EQ(m_target.log, expected);

    ASSERT_EQ(camera->SetMaxFrames(1000), 0);
    ASSERT_EQ(camera->SetTriggerSetting({1, 100, 0}), 0);
    m_target.log.clear();
    {
        WhenModal<CSliderNumberDlg> modal([](CSliderNumberDlg* dialog) {
            EXPECT_EQ(dialog->GetTitle(), "Pre-Trigger Frames");
            EXPECT_EQ(dialog->GetPrompt(),
                      "Enter desired Pre-Trigger Frames (including Trigger Frame)");
            EXPECT_EQ(dialog->GetMinimum(), 0);
            EXPECT_EQ(dialog->GetMaximum(), 999);
            EXPECT_EQ(dialog->GetValue(), 901);  // m - post + 1
            Answer(dialog, CSliderNumberDlg::kValueId, "799");
        });
        Click(CRecordControlPage::kPreTrigger);
    }
    // post = m - p - 1; no permission question first.
    EXPECT_EQ(Trigger(camera).postTriggerFrames, 200);
    EXPECT_EQ(Trigger(camera).third, -1);
    expected = {Named(5)};
    EXPECT_EQ(m_target.log, expected);

    // The slide: moving shows m - v and v - 1, releasing writes m - v + 1.
    m_target.log.clear();
    m_page->OnSlideMouseDown();
    EXPECT_FALSE(m_page->IsSlideReleased());
    m_page->OnSlideChanged(750);
    EXPECT_EQ(m_page->GetDlgItemText(CRecordControlPage::kPercent), "750");
    EXPECT_EQ(m_page->GetDlgItemText(CRecordControlPage::kPostFrames), "250");
    EXPECT_EQ(m_page->GetDlgItemText(CRecordControlPage::kPreFrames), "749");
    EXPECT_EQ(m_page->GetDlgItemText(CRecordControlPage::kPostTime), "  0.25");
    EXPECT_EQ(m_page->GetDlgItemText(CRecordControlPage::kPreTime), "  0.75");
    ASSERT_FALSE(m_page->GetSlide().IsEmpty());
    ASSERT_EQ(m_page->GetSlide().SetPointerValue(1, 750), S_OK);
    m_page->OnSlideMouseUp();
    EXPECT_TRUE(m_page->IsSlideReleased());
    EXPECT_EQ(Trigger(camera).postTriggerFrames, 251);
    expected = {Unnamed(20), Unnamed(20), Named(5)};
    EXPECT_EQ(m_target.log, expected);
}

TEST_F(RecordControlPageTest, ButtonsDriveTheCameraInOrder) {
    AddCamera();
    struct Case {
        int button;
        std::vector<Sent> sent;
        Log calls;
    };
    const Case cases[] = {
        {CRecordControlPage::kLive, {Named(21)}, {"SetMode(5)", "SetRole(0)", "SetMode(1)"}},
        {CRecordControlPage::kRecord, {Named(14)}, {"SetRole(0)", "SetMode(3)"}},
        {CRecordControlPage::kTrig, {}, {"Trigger"}},
        {CRecordControlPage::kAbortRecord, {}, {"SetRole(0)", "SetMode(1)"}},
        {CRecordControlPage::kRecord, {Named(14)}, {"SetRole(0)", "SetMode(3)"}},
        {CRecordControlPage::kTriggerStop, {Unnamed(12)}, {"Trigger"}},
        {CRecordControlPage::kStop, {Unnamed(13)}, {"Stop", "SetMode(2)"}},
    };
    for (const Case& c : cases) {
        m_log.clear();
        m_target.log.clear();
        Click(c.button);
        EXPECT_EQ(m_target.log, c.sent) << c.button;
        EXPECT_EQ(m_log, c.calls) << c.button;
    }

    // Without a camera in front the four record buttons are off.
    m_finder.view = nullptr;
    m_page->UpdatePage();
    for (int id : {CRecordControlPage::kLive, CRecordControlPage::kRecord,
                   CRecordControlPage::kTriggerStop, CRecordControlPage::kStop})
        EXPECT_FALSE(m_page->GetDlgItem(id)->IsWindowEnabled()) << id;
}

TEST_F(RecordControlPageTest, ThePermissionAnswerDecides) {
    CTestCamera* camera = AddCamera();
    SetFeature(CDevice::kFeatureUserFrameRate);
    const DriverRecordParams before = Params(camera);
    const std::vector<std::function<void()>> changes = {
        [&] { Choose(CRecordControlPage::kClockSource, 1); },
        [&] { Click(CRecordControlPage::kCounter1Up); },
        [&] { Click(CRecordControlPage::kCounter2Down); },
        [&] { Click(CRecordControlPage::kTicksUp); },
        [&] { Choose(CRecordControlPage::kFrameRate, 7); },
        [&] { Choose(CRecordControlPage::kResolution, 0); },
        [&] { Click(CRecordControlPage::kCustomResolution); },
        [&] { Choose(CRecordControlPage::kShutter, 1); },
        [&] { Click(CRecordControlPage::kMaxFrames); },
        [&] { Choose(CRecordControlPage::kTriggerType, 1); },
        [&] { m_page->OnSlideMouseUp(); },
    };
    // 0 refuses every change: only the question goes out (and the trigger query of the list).
    m_target.permission = 0;
    for (const auto& change : changes)
        change();
    for (int code : m_target.Codes())
        EXPECT_TRUE(code == 20 || code == 17) << code;
    EXPECT_EQ(m_target.Codes().size(), changes.size() + 1);
    EXPECT_EQ(std::memcmp(Params(camera).words, before.words, sizeof before.words), 0);
    EXPECT_DOUBLE_EQ(Rate(camera), 1000);
    EXPECT_EQ(Trigger(camera).postTriggerFrames, 100);
    EXPECT_TRUE(m_log.empty());

    // No result lets the change through, the camera left as it is.
    m_target.permission = -1;
    m_target.log.clear();
    Choose(CRecordControlPage::kFrameRate, 7);
    EXPECT_DOUBLE_EQ(Rate(camera), 500);
    EXPECT_TRUE(m_log.empty());
    // The group's answer (no opinion) takes it with the camera made live.
    m_target.permission.reset();
    Choose(CRecordControlPage::kFrameRate, 8);
    EXPECT_DOUBLE_EQ(Rate(camera), 1000);
    EXPECT_EQ(m_log, Log({"SetMode(1)"}));
}

TEST_F(RecordControlPageTest, RefusalsLeaveCameraAndPageAsTheyWere) {
    CTestCamera* camera = AddCamera();
    const auto lastPrompt = [this] { return Prompter().Prompts().back(); };

    // The standard record mode takes no other clock and no counters set by hand.
    Choose(CRecordControlPage::kRecordMode, 0);
    Prompter().ExpectMessageBox("Unable to change Clock Source", IDOK);
    Choose(CRecordControlPage::kClockSource, 1);
    EXPECT_EQ(lastPrompt().caption, "Camera Must be in Advance Record Mode.");
    EXPECT_EQ(Params(camera).ClockSource(), 0);
    const QString counter = m_page->GetDlgItemText(CRecordControlPage::kCounter1);
    Prompter().ExpectMessageBox(
        "The camera must be in advanced mode to set the Record Rate counters directly", IDOK);
    Click(CRecordControlPage::kCounter1Up);
    EXPECT_EQ(Params(camera).Counter(1), 500);
    EXPECT_EQ(m_page->GetDlgItemText(CRecordControlPage::kCounter1), counter);
    EXPECT_EQ(m_target.Codes(), std::vector<int>({20, 20}));
    Choose(CRecordControlPage::kRecordMode, 1);

    camera->Script().Refuse("SetExposureTicks", 1);
    Prompter().ExpectMessageBox("Error setting exposure ticks.", IDOK);
    Click(CRecordControlPage::kTicksUp);

    // Max. Frames: each failed read or write, then the full memory.
    m_target.log.clear();
    camera->totalAnswer = 2;
    Prompter().ExpectMessageBox("Error requesting total frames from camera.", IDOK);
    Click(CRecordControlPage::kMaxFrames);
    camera->totalAnswer.reset();
    camera->maxAnswer = 2;
    Prompter().ExpectMessageBox("Error requesting maximum frames setting from camera.", IDOK);
    Click(CRecordControlPage::kMaxFrames);
    Prompter().ExpectMessageBox("Error requesting maximum frames setting from camera.", IDOK);
    Click(CRecordControlPage::kPreTrigger);
    camera->maxAnswer.reset();
    camera->Script().Refuse("SetMaxFrames", 2);
    Prompter().ExpectMessageBox("Error setting maximum frames for camera.", IDOK);
    {
        WhenModal<CSliderNumberDlg> modal(
            [](CSliderNumberDlg* dialog) { Answer(dialog, CSliderNumberDlg::kValueId, "500"); });
        Click(CRecordControlPage::kMaxFrames);
    }
    camera->SetMemoryBytes(0);
    Prompter().ExpectMessageBox(
        "Camera memory is full.  You must clear at least one buffer in "
        "order to set a valid record duration.",
        IDOK);
    Click(CRecordControlPage::kMaxFrames);
    EXPECT_EQ(lastPrompt().caption, "Vidra Player");
    // Only the permission questions went out.
    EXPECT_EQ(m_target.Codes(), std::vector<int>({20, 20, 20, 20}));
    camera->SetMemoryBytes(int64_t(2000) * 320 * 240);
    int frames = 0;
    camera->GetMaxFrames(&frames);
    EXPECT_EQ(frames, 1000);
}

TEST_F(RecordControlPageTest, TooltipsGaugeAndDisabling) {
    AddCamera();
    EXPECT_EQ(m_page->GetToolTips().GetToolCount(), 12);
    EXPECT_EQ(m_page->GetDlgItem(CRecordControlPage::kMaxFrames)->GetQWidget()->toolTip(),
              "Set Maximum Frames to Record");
    EXPECT_EQ(m_page->GetDlgItem(CRecordControlPage::kTicksDown)->GetQWidget()->toolTip(),
              "Decrease Clock Devisor");
    // Frame time against exposure, in microseconds.
    EXPECT_DOUBLE_EQ(m_page->GetGauge().GetFirst(), 1000);
    EXPECT_DOUBLE_EQ(m_page->GetGauge().GetSecond(), 500);

    m_page->DisableAllControls();
    for (int id : {CRecordControlPage::kClockSource, CRecordControlPage::kSlide,
                   CRecordControlPage::kLive, CRecordControlPage::kPreTrigger})
        EXPECT_FALSE(m_page->GetDlgItem(id)->IsWindowEnabled()) << id;
}

}  // namespace
