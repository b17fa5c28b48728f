#include "sensordata/SensorRecordDlg.h"

#include "devices/core/DeviceLink.h"
#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sim/SimDriver.h"
#include "devices/sim/tests/SimHostClock.h"
#include "platform/com/ComVariant.h"
#include "platform/com/SafeArray.h"
#include "platform/framework/Button.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "sensordata/AcquisitionSettingsDlg.h"
#include "sensordata/DataAcqWnd.h"
#include "sensordata/DataDeviceRegistry.h"
#include "sensordata/SensorRecordHost.h"
#include "sensordata/StandardRates.h"
#include "sensordata/TestTriggerDlg.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"
#include "sensorres/SondrelModule.h"
#include "shell/NumberEntryDlg.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

using Page = CSensorRecordDlg;

// A command target that writes down every command and answers as it is told.
class RecordingTarget : public IDeviceCommandTarget {
public:
    struct Sent {
        int code;
        VARTYPE type;
        std::vector<double> values;
        bool operator==(const Sent&) const = default;
    };
    std::vector<Sent> sent;
    int result = 0;
    LONG status = 1;

    int HandleDeviceCommand(int, int, const VARIANT& code, const VARIANT& values,
                            VARIANT* statusOut, VARIANT* resultOut) override {
        Sent s{code.lVal, VT_EMPTY, {}};
        if (values.vt & VT_ARRAY) {
            SAFEARRAY* array = values.parray;
            SafeArrayGetVartype(array, &s.type);
            for (LONG i = 0; i < LONG(SafeArrayGetElementCount(array)); ++i) {
                if (s.type == VT_I4) {
                    LONG v = 0;
                    SafeArrayGetElement(array, &i, &v);
                    s.values.push_back(v);
                } else {
                    double v = 0;
                    SafeArrayGetElement(array, &i, &v);
                    s.values.push_back(v);
                }
            }
        }
        sent.push_back(s);
        statusOut->vt = VT_I4;
        statusOut->lVal = status;
        (void)resultOut;
        return result;
    }
};

std::ostream& operator<<(std::ostream& os, const RecordingTarget::Sent& s) {
    os << "{" << s.code << ", vt " << s.type << ",";
    for (double v : s.values)
        os << " " << v;
    return os << "}";
}

// A simulated card of four channels on an injected clock, opened through the driver layer and
// made the current data device; a record page on it whose commands go through a device link
// to a recording target.
class SensorRecordDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        CResourceChain::AddModule(RmResourceModule());
        DriverLoader::ResetForTests();
        OpenDevices::ResetForTests();
        DriverLoader::ScanFolders({});
        SimDriverConfig config;
        config.cameras = 0;
        config.cards = 1;
        config.cardChannels = 4;
        DriverLoader::RegisterDriver(QStringLiteral("sim"),
                                     MakeSimFamilies(config, &m_clock.services));
        InstallDataCardFactory();
        m_card = dynamic_cast<CDataAcqWnd*>(
            DriverLoader::OpenById(CDeviceId(kDeviceTypeDataCard, 1, 0)));
        ASSERT_NE(m_card, nullptr);
        m_card->GetHandle(&m_handle);
        m_previousCurrent = SetCurrentDataDevice(m_handle);
        m_link.SetHandle(m_handle);
        m_link.SetCommandTarget(&m_target);
    }
    void TearDown() override {
        if (m_page.GetSafeHwnd())
            m_page.DestroyWindow();
        if (m_parent.GetSafeHwnd())
            m_parent.DestroyWindow();
        SetCurrentDataDevice(m_previousCurrent);
        OpenDevices::DestroyAll();
        OpenDevices::ResetForTests();
        DriverLoader::ResetForTests();
        CResourceChain::RemoveModule(RmResourceModule());
        IsolatedTest::TearDown();
    }

    static int SendThroughLink(void* context, int code, const VARIANT& values, VARIANT* status,
                               VARIANT* result) {
        auto* self = static_cast<SensorRecordDlgTest*>(context);
        CComVariant command(static_cast<LONG>(code));
        return self->m_link.SendCommand(self->m_handle, 1, command, values, status, result);
    }

    void OpenPage() {
        m_page.GetLink().SetGetDevice(&GetDataDeviceCallback, this);
        m_page.GetLink().SetSendCommand(&SendThroughLink, this);
        ASSERT_TRUE(m_parent.Create(nullptr, QStringLiteral("host"), WS_OVERLAPPED,
                                    CRect(0, 0, 600, 400), nullptr, 0));
        ASSERT_TRUE(m_page.Create(SensorRes::kSensorRecordTemplate, &m_parent));
    }
    QComboBox* Box(int id) { return qobject_cast<QComboBox*>(m_page.GetDlgItem(id)->GetQWidget()); }
    void Choose(int id, const QString& text) {
        QComboBox* box = Box(id);
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
    }
    struct Sample {
        int rate, d, samples, post, edge;
    };
    Sample Params() const {
        Sample s{};
        m_card->GetSampleParams(&s.rate, &s.d, &s.samples, &s.post, &s.edge);
        return s;
    }

    SimHostClock m_clock;
    CDataAcqWnd* m_card = nullptr;
    int m_handle = -1;
    int m_previousCurrent = -1;
    RecordingTarget m_target;
    CDeviceLink m_link;
    CWnd m_parent;
    Page m_page;
};

// Runs act on the modal window of class T once it shows.
template <class T>
void WhenModal(const std::function<void(T*)>& act, bool* seen) {
    QTimer::singleShot(0, [act, seen] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* window = dynamic_cast<T*>(CWnd::FromWidgetPermanent(widget));
                window && widget->isVisible()) {
                *seen = true;
                act(window);
                return;
            }
        }
    });
}

}  // namespace

TEST_F(SensorRecordDlgTest, ListsTheStandardRatesUpToTheCardAndSendsItsCommandsInOrder) {
    OpenPage();
    // Four channels share 200 000 scans/s: 50 000 each.
    QStringList expected;
    for (int i = 0; i < kStandardRateCount && StandardRate(i) <= 50000; ++i)
        expected << QString::number(StandardRate(i));
    QStringList listed;
    for (int i = 0; i < Box(Page::kRateCombo)->count(); ++i)
        listed << Box(Page::kRateCombo)->itemText(i);
    EXPECT_EQ(listed, expected);
    auto* frameRates =
        qobject_cast<QListWidget*>(m_page.GetDlgItem(Page::kFrameRateList)->GetQWidget());
    EXPECT_EQ(frameRates->count(), expected.size());
    EXPECT_EQ(Box(Page::kRateCombo)->currentText(), "1000");
    EXPECT_EQ(Box(Page::kEdgeCombo)->currentText(), "Rising Edge");

    Choose(Page::kRateCombo, "2000");
    m_page.OnRateChosen();
    m_page.OnPreTriggerChosen(25);
    Choose(Page::kEdgeCombo, "Falling Edge");
    m_page.OnEdgeChosen();
    const std::vector<RecordingTarget::Sent> sent = {
        {Page::kRateCommand, VT_R8, {2000}},
        {Page::kTriggerCommand, VT_R8, {749}},  // 75 % of 999 after the trigger
        {Page::kEdgeCommand, VT_I4, {2}},
    };
    EXPECT_EQ(m_target.sent, sent);
    const Sample p = Params();
    EXPECT_EQ(p.rate, 2000);
    EXPECT_EQ(p.edge, 2);
    EXPECT_EQ(m_page.GetDlgItemText(Page::kRateField), "2000");
    EXPECT_EQ(Box(Page::kEdgeCombo)->currentText(), "Falling Edge");

    // Samples per frame typed in: the nearest table rate that holds whole frames of the frame
    // rate (200 frames/s) is taken; a number past any rate leaves the card at its fastest.
    Box(Page::kSamplesPerFrameCombo)->setEditText(QStringLiteral("30"));
    m_page.OnSamplesPerFrameChosen();
    EXPECT_EQ(Params().rate, 6250);
    EXPECT_EQ(Params().d, 25);
    Box(Page::kSamplesPerFrameCombo)->setEditText(QStringLiteral("2000000000"));
    m_page.OnSamplesPerFrameChosen();
    EXPECT_LE(Params().rate, 50000);
}

TEST_F(SensorRecordDlgTest, ThePreTriggerEndsLeaveAllOrNoSamplesAfterTheTrigger) {
    OpenPage();
    ASSERT_EQ(m_card->ApplyParams(1000, 1, 1001, 500, 1), 0);
    const struct { int value, sent; } cases[] = {{0, 1000}, {100, 0}, {50, 500}};
    for (const auto& c : cases) {
        m_target.sent.clear();
        m_page.OnPreTriggerChosen(c.value);
        ASSERT_EQ(m_target.sent.size(), 1u);
        EXPECT_EQ(m_target.sent[0].values, std::vector<double>{double(c.sent)}) << c.value;
        EXPECT_EQ(Params().samples, 1001);
    }
}

TEST_F(SensorRecordDlgTest, EveryRefreshShowsTheCardAndHidesTheTriggerControls) {
    OpenPage();
    const int trigger[] = {1050, 1013, 204, 1053, 1051, 1540, 1541,
                           202,  205,  206, 207,  208,  209,  210};
    const auto hidden = [&] {
        for (int id : trigger) {
            if (!m_page.GetDlgItem(id)->GetQWidget()->isHidden())
                return false;
        }
        return true;
    };
    EXPECT_TRUE(hidden());
    const struct {
        int id;
        const char* text;
    } fields[] = {{Page::kRateField2, "1000"},    {Page::kSamples, "1000/1048576"},
                  {Page::kRecordTime, "1.000"},   {Page::kChannelsOn, "4"},
                  {Page::kFrameRateField, "100"}, {Page::kSamplesPerFrameField, "10"},
                  {Page::kSampleCount, "4000"},   {Page::kPreTime, "0.509"},
                  {Page::kPostTime, "0.491"},     {Page::kPreSamples, "509"},
                  {Page::kPostSamples, "491"},    {Page::kPreTriggerEdit, "51"}};
    for (const auto& f : fields)
        EXPECT_EQ(m_page.GetDlgItemText(f.id), QString::fromLatin1(f.text)) << f.id;
    EXPECT_EQ(Box(Page::kSamplesPerFrameCombo)->currentText(), "10");
    // Idle: the rate can change, nothing can be recorded or aborted.
    EXPECT_TRUE(m_page.GetDlgItem(Page::kRateCombo)->IsWindowEnabled());
    EXPECT_FALSE(m_page.GetDlgItem(Page::kRecord)->IsWindowEnabled());
    EXPECT_FALSE(m_page.GetDlgItem(Page::kAbort)->IsWindowEnabled());
    m_card->StartAcquisition();
    m_page.Refresh();
    EXPECT_TRUE(m_page.GetDlgItem(Page::kRecord)->IsWindowEnabled());
    EXPECT_TRUE(m_page.GetDlgItem(Page::kAbort)->IsWindowEnabled());

    // A page whose link gives no device still hides them, and commands nothing.
    m_page.GetDlgItem(1050)->ShowWindow(SW_SHOW);
    m_page.GetLink().SetGetDevice(nullptr, nullptr);
    m_page.Refresh();
    EXPECT_TRUE(hidden());
    EXPECT_FALSE(m_page.GetDlgItem(Page::kRateCombo)->IsWindowEnabled());
    m_page.OnRecord();
    m_page.OnPreTriggerChosen(10);
    EXPECT_TRUE(m_target.sent.empty());
}

TEST_F(SensorRecordDlgTest, RecordAndAbortGoOnOnlyWhenAnswered) {
    OpenPage();
    ASSERT_EQ(m_card->StartAcquisition(), 0);
    // Not answered: the card stays live and no request is stored.
    m_target.result = 1;
    m_page.OnRecord();
    EXPECT_EQ(m_card->GetMode(), kModeLive);
    int a = 0, b = 0, c = 0;
    m_card->GetRecordRequest(&a, &b, &c);
    EXPECT_EQ(a, 0);
    m_page.OnAbort();
    EXPECT_EQ(m_card->IsAcquiring(), 1);

    // Answered with status 1 (no objection): the card is armed.
    m_target.result = 0;
    m_target.status = 1;
    m_page.OnRecord();
    EXPECT_EQ(m_card->GetMode(), kModeArmed);
    m_card->GetRecordRequest(&a, &b, &c);
    EXPECT_EQ(std::vector<int>({a, b, c}), std::vector<int>({1, 1, 0}));
    EXPECT_TRUE(m_page.IsRunning());
    EXPECT_EQ(m_card->GetRecordState(), 4);
    m_page.OnAbort();
    EXPECT_EQ(m_card->IsAcquiring(), 0);
    EXPECT_FALSE(m_page.IsRunning());
    const std::vector<int> codes = {8, 9, 8, 9};
    std::vector<int> sent;
    for (const auto& s : m_target.sent)
        sent.push_back(s.code);
    EXPECT_EQ(sent, codes);
}

TEST_F(SensorRecordDlgTest, TheBufferPromptAppliesTheLengthChosenWhileLive) {
    OpenPage();
    bool seen = false;
    // Idle: no prompt.
    m_page.OnBufferLength();
    ASSERT_EQ(m_card->StartAcquisition(), 0);
    QString title, prompt;
    WhenModal<CNumberEntryDlg>(
        [&](CNumberEntryDlg* dialog) {
            title = dialog->GetWindowText();
            prompt = dialog->GetDlgItemText(CNumberEntryDlg::kPromptId);
            EXPECT_EQ(dialog->m_nMin, 1);
            EXPECT_EQ(dialog->m_nMax, 1048576);
            EXPECT_EQ(dialog->GetDlgItemText(CNumberEntryDlg::kValueId), "1000");
            dialog->SetDlgItemText(CNumberEntryDlg::kValueId, QStringLiteral("2500"));
            dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        },
        &seen);
    m_page.OnBufferLength();
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, "Buffer Size");
    EXPECT_EQ(prompt, "Enter maxium data-buffer length");
    EXPECT_EQ(Params().samples, 2500);
    EXPECT_EQ(m_page.GetDlgItemText(Page::kSamples), "2500/1048576");
}

TEST_F(SensorRecordDlgTest, EnterMovesTheFocusOnInsteadOfEndingThePage) {
    CWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, QStringLiteral("host"), WS_OVERLAPPED | WS_VISIBLE,
                              CRect(0, 0, 600, 400), nullptr, 0));
    m_page.GetLink().SetGetDevice(&GetDataDeviceCallback, this);
    ASSERT_TRUE(m_page.Create(SensorRes::kSensorRecordTemplate, &parent));
    m_page.ShowWindow(SW_SHOW);
    parent.GetQWidget()->activateWindow();
    QWidget* field = m_page.GetDlgItem(Page::kRateField2)->GetQWidget();
    field->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(field->hasFocus());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    EXPECT_FALSE(field->hasFocus());
    QWidget* now = QApplication::focusWidget();
    ASSERT_NE(now, nullptr);
    EXPECT_TRUE(m_page.GetQWidget()->isAncestorOf(now));
    EXPECT_TRUE(m_page.GetQWidget()->isVisible()) << "the page is still there";
    m_page.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(SensorRecordDlgTest, TheRecordHostMakesThePageOfItsMode) {
    CWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, QStringLiteral("host"), WS_OVERLAPPED, CRect(0, 0, 600, 400),
                              nullptr, 0));
    for (int mode : {0, 1, 2}) {
        CSensorRecordHost host;
        EXPECT_EQ(host.Create(&parent, mode), 0);
        ASSERT_NE(host.GetPage(), nullptr) << mode;
        EXPECT_EQ(host.GetPage()->GetTemplateID(), UINT(1574 + mode));
        EXPECT_TRUE(host.GetPage()->GetQWidget()->isVisibleTo(parent.GetQWidget()));
        // The page finds the current data device by itself.
        EXPECT_EQ(host.GetPage()->GetDataDevice(), m_card);
        // With no request handler every command fails: Record does nothing.
        host.GetPage()->OnRecord();
        EXPECT_NE(m_card->GetMode(), kModeArmed);
    }
    CSensorRecordHost none;
    EXPECT_EQ(none.Create(&parent, 3), 0);
    EXPECT_EQ(none.GetPage(), nullptr);

    // A request handler set later carries the commands.
    CSensorRecordHost host;
    host.SetRequestHandler(&SendThroughLink, this);
    int started = 0;
    host.SetRecordCallback([](void* context) { ++*static_cast<int*>(context); }, &started);
    host.Create(&parent, 0);
    m_card->StartAcquisition();
    // No data-sensor view active: the page has no device.
    host.SetSensorAvailable(false);
    EXPECT_EQ(host.GetPage()->GetDataDevice(), nullptr);
    host.GetPage()->OnRecord();
    EXPECT_TRUE(m_target.sent.empty());
    host.SetSensorAvailable(true);
    host.GetPage()->OnRecord();
    EXPECT_EQ(m_card->GetMode(), kModeArmed);
    EXPECT_EQ(started, 1) << "the record controller's callback starts its data recording";
    parent.DestroyWindow();
}

TEST_F(SensorRecordDlgTest, TheSettingsButtonOpensTheCardsSettingsAndAppliesThemAfter) {
    CWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, QStringLiteral("host"), WS_OVERLAPPED, CRect(0, 0, 600, 400),
                              nullptr, 0));
    CSensorRecordHost host;
    host.Create(&parent, 0);
    ASSERT_NE(host.GetPage(), nullptr);
    bool seen = false;
    QString caption;
    WhenModal<CAcquisitionSettingsDlg>(
        [&](CAcquisitionSettingsDlg* dialog) {
            caption = dialog->GetWindowText();
            // Channel 0 off.
            dialog->CheckDlgButton(CAcquisitionSettingsDlg::kOn, BST_UNCHECKED);
            dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        },
        &seen);
    host.GetPage()->OnSettings();
    ASSERT_TRUE(seen);
    EXPECT_EQ(caption, "Data Acquisition Settings");
    EXPECT_EQ(m_card->GetAcqSettings().m_on[0], 0);
    EXPECT_EQ(m_card->GetAcqSettings().m_nMaxChannelRate, 200000 / 3);
    EXPECT_EQ(host.GetPage()->GetDlgItemText(Page::kChannelsOn), "3");
    parent.DestroyWindow();
}

TEST_F(SensorRecordDlgTest, ARecordingMadeFromTheWindowCopiesIntoANewDataSet) {
    ASSERT_TRUE(m_card->ShowWindowFor(nullptr));
    Page* page = m_card->GetRecordPage();
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(m_card->StartAcquisition(), 0);
    // Armed at 1 s, triggered by the test trigger's DIO6 at 2 s, held by 3 s.
    m_clock.nowNs = 1000000000;
    m_card->Tick();
    page->OnRecord();
    ASSERT_EQ(m_card->GetMode(), kModeArmed) << "outside a record controller nothing objects";
    ASSERT_EQ(m_card->ShowTestTrigger(), 1);
    CTestTriggerDlg* trigger = m_card->GetTestTrigger();
    ASSERT_NE(trigger, nullptr);
    EXPECT_EQ(trigger->GetWindowText(), "Test Trigger Controls");
    EXPECT_EQ(trigger->GetOwner(), m_card);
    m_clock.nowNs = 2000000000;
    trigger->OnToggle();
    EXPECT_EQ(trigger->GetDio6(), 1);
    EXPECT_EQ(m_card->Driver()->IsTriggered(), 1);
    m_clock.nowNs = 3000000000;
    m_card->Tick();
    EXPECT_EQ(m_card->GetMode(), kModeStopped);
    EXPECT_EQ(m_card->GetRecordState(), 4);

    CSharedRef<CSensorDataSet> set = m_card->CopyMemory();
    ASSERT_FALSE(set.IsEmpty());
    // 509 scans before the trigger scan 2000 and 491 from it: scans 1491 .. 2490.
    EXPECT_EQ(set->GetScanCount(), 1000);
    EXPECT_EQ(set->GetActiveChannelCount(), 4);
    EXPECT_EQ(set->GetZeroPoint(), 509);
    const CVidraData& data = *set->GetData();
    EXPECT_NEAR(data.m_channels[0][0], 2.5 * std::sin(2 * std::numbers::pi * 1.491), 1e-5);
    EXPECT_NEAR(data.m_channels[1][999], -5.0 + 10.0 * 0.490, 1e-4);

    page->OnAbort();
    EXPECT_EQ(m_card->IsAcquiring(), 0);
}

TEST_F(SensorRecordDlgTest, TheTrackbarDrivesTheOutputTheCardReadsBack) {
    ASSERT_TRUE(m_card->ShowWindowFor(nullptr));
    ASSERT_EQ(m_card->StartAcquisition(), 0);
    ASSERT_EQ(m_card->ShowTestTrigger(), 1);
    m_card->GetTestTrigger()->SetOutputStep(25);
    m_clock.nowNs = 100000000;
    m_card->Tick();
    // Channel 3 is the output's loop-back: 2.5 V from the scan after the change.
    EXPECT_NEAR(m_card->GetLiveData().m_channels[3].back(), 2.5, 1e-6);
    EXPECT_NEAR(m_card->GetLiveData().m_channels[3][998], 2.5, 1e-6);
    // A second show keeps the window.
    CTestTriggerDlg* first = m_card->GetTestTrigger();
    EXPECT_EQ(m_card->ShowTestTrigger(), 1);
    EXPECT_EQ(m_card->GetTestTrigger(), first);
}
