#include "devices/RecordControlPage.h"

#include "devices/CamView.h"
#include "devices/DeviceCommand.h"
#include "devices/IDeviceViewFinder.h"
#include "devices/core/Device.h"
#include "devices/core/DeviceManager.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComVariant.h"
#include "platform/com/ISettingsStore.h"
#include "platform/com/SafeArray.h"
#include "platform/controls/SlideControl.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/WinApp.h"
#include "platform/wintypes/CLocale.h"
#include "shell/DlgTextInput.h"
#include "shell/NumberEntryDlg.h"
#include "shell/SliderLabelsDlg.h"
#include "shell/SliderNumberDlg.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNAMIC(CRecordControlPage, CTabDlg)

BEGIN_MESSAGE_MAP(CRecordControlPage, CTabDlg)
ON_WM_DESTROY()
ON_CBN_DROPDOWN(CRecordControlPage::kClockSource, OnClockSourceDropDown)
ON_CBN_CLOSEUP(CRecordControlPage::kClockSource, OnClockSourceCloseUp)
ON_BN_CLICKED(CRecordControlPage::kCounter1, OnCounter1Edit)
ON_BN_CLICKED(CRecordControlPage::kCounter2, OnCounter2Edit)
ON_BN_CLICKED(CRecordControlPage::kExposureTicks, OnExposureTicksEdit)
ON_BN_CLICKED(CRecordControlPage::kCounter1Up, OnCounter1Up)
ON_BN_CLICKED(CRecordControlPage::kCounter1Down, OnCounter1Down)
ON_BN_CLICKED(CRecordControlPage::kCounter2Up, OnCounter2Up)
ON_BN_CLICKED(CRecordControlPage::kCounter2Down, OnCounter2Down)
ON_BN_CLICKED(CRecordControlPage::kTicksUp, OnTicksUp)
ON_BN_CLICKED(CRecordControlPage::kTicksDown, OnTicksDown)
ON_CBN_DROPDOWN(CRecordControlPage::kFrameRate, OnFrameRateDropDown)
ON_CBN_CLOSEUP(CRecordControlPage::kFrameRate, OnFrameRateCloseUp)
ON_CBN_DROPDOWN(CRecordControlPage::kResolution, OnResolutionDropDown)
ON_CBN_CLOSEUP(CRecordControlPage::kResolution, OnResolutionCloseUp)
ON_BN_CLICKED(CRecordControlPage::kCustomResolution, OnCustomResolution)
ON_CBN_DROPDOWN(CRecordControlPage::kShutter, OnShutterDropDown)
ON_CBN_CLOSEUP(CRecordControlPage::kShutter, OnShutterCloseUp)
ON_BN_CLICKED(CRecordControlPage::kMaxFrames, OnMaxFrames)
ON_BN_CLICKED(CRecordControlPage::kPreTrigger, OnPreTrigger)
ON_CBN_DROPDOWN(CRecordControlPage::kTriggerType, OnTriggerTypeDropDown)
ON_CBN_CLOSEUP(CRecordControlPage::kTriggerType, OnTriggerTypeCloseUp)
ON_CBN_DROPDOWN(CRecordControlPage::kRecordMode, OnRecordModeDropDown)
ON_CBN_CLOSEUP(CRecordControlPage::kRecordMode, OnRecordModeCloseUp)
ON_BN_CLICKED(CRecordControlPage::kLive, OnLive)
ON_BN_CLICKED(CRecordControlPage::kRecord, OnRecord)
ON_BN_CLICKED(CRecordControlPage::kTriggerStop, OnTriggerStop)
ON_BN_CLICKED(CRecordControlPage::kStop, OnStop)
ON_BN_CLICKED(CRecordControlPage::kTrig, OnTrig)
ON_BN_CLICKED(CRecordControlPage::kAbortRecord, OnAbortRecord)
ON_BN_CLICKED(CRecordControlPage::kDeviceName, OnDeviceName)
END_MESSAGE_MAP()

namespace {

constexpr const char* kUserEntry = "User...";
constexpr const char* kVidraPlayer = "Vidra Player";
// The fixed shutter list: the exposure as a fraction of the frame time.
constexpr int kFixedRatios[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  11,   12,
                                13, 14, 15, 16, 17, 18, 19, 20, 50, 100, 1000, 10000};
// What a device answers when it could not do what was asked.
constexpr int kDeviceError = 2;

bool NamesEdgesByInput(int subtype) {
    return subtype == 3 || subtype == 14 || subtype == 15;
}

bool FeatureOn(CDevice* device, int feature) {
    int on = 0;
    return device && device->GetFeatureOn(feature, &on) == 0 && on != 0;
}

int SubtypeOf(CDevice* device) {
    int subtype = -1;
    if (device)
        device->GetSubtype(&subtype);
    return subtype;
}

}  // namespace

QStringList CRecordControlPage::FrameRateTexts(const std::vector<int>& rates, bool userRate) {
    QStringList texts;
    for (int rate : rates)
        texts << QFormatC("%d", rate);
    if (userRate)
        texts << QString::fromLatin1(kUserEntry);
    return texts;
}

std::vector<CRecordControlPage::ShutterEntry> CRecordControlPage::ShutterEntries(
    const std::vector<double>& exposuresNs, double rate) {
    std::vector<ShutterEntry> entries;
    // The ratio form divides by the rate: without one the fixed list serves.
    if (exposuresNs.size() > 1 && rate > 0) {
        for (size_t i = 0; i < exposuresNs.size(); ++i) {
            const double e = exposuresNs[i];
            const double ratio = e > 0 ? (1000000000.0 / rate) / e : 0.0;
            entries.push_back({QFormatC("%4.1f x", ratio), static_cast<int>(i)});
        }
        return entries;
    }
    for (int ratio : kFixedRatios)
        entries.push_back({QFormatC("%d x", ratio), ratio});
    entries.push_back({QString::fromLatin1(kUserEntry), kUserShutter});
    return entries;
}

std::vector<int> CRecordControlPage::TriggerCodes(bool queryAnswered, bool edgeFeature,
                                                  bool levelFeature) {
    if (queryAnswered)
        return {1, 2};
    if (edgeFeature)
        return {1, 2, 3};
    if (levelFeature)
        return {4, 5};
    return {1, 2, 3};
}

QString CRecordControlPage::TriggerTypeText(int code, int subtype) {
    static const char* const kPlain[] = {"Rising Edge", "Falling Edge", "Rising Or Falling",
                                         "Record On High", "Record On Low"};
    static const char* const kByInput[] = {"TTL Logic - Rising", "Hand Switch - Falling", "Default",
                                           "Record On High", "Record On Low"};
    if (code < 1 || code > 5)
        return QString();
    return QString::fromLatin1((NamesEdgesByInput(subtype) ? kByInput : kPlain)[code - 1]);
}

CRecordControlPage::SlideCounts CRecordControlPage::CountsAt(int m, int v, double r) {
    SlideCounts counts;
    counts.post = m - v;
    counts.pre = v - 1;
    if (r > 0) {
        counts.postTime = counts.post / r;
        counts.preTime = counts.pre / r;
    }
    return counts;
}

int CRecordControlPage::FramesToRecord(int entered, int available) {
    return std::min(std::max(entered, 3), available);
}

CRecordControlPage::CRecordControlPage(UINT nIDTemplate, CWnd* pParentWnd)
    : CTabDlg(nIDTemplate, pParentWnd) {}

CRecordControlPage::~CRecordControlPage() {
    m_slideEvents.Disconnect();
}

void CRecordControlPage::SetDeviceProvider(CDeviceManager* provider) {
    m_link.SetProvider(provider);
}

void CRecordControlPage::SetTargetProvider(IDeviceCommandTargetProvider* provider) {
    m_link.SetCommandTargetProvider(provider);
}

void CRecordControlPage::SetViewFinder(IDeviceViewFinder* finder) {
    m_link.SetViewFinder(finder);
}

ISettingsStore* CRecordControlPage::SettingsStore() const {
    return m_settings ? m_settings : dynamic_cast<ISettingsStore*>(AfxGetMainWnd());
}

void CRecordControlPage::DoDataExchange(CDataExchange* pDX) {
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kClockSource, m_clockSources);
    DDX_Control(pDX, kFrameRate, m_frameRates);
    DDX_Control(pDX, kResolution, m_resolutions);
    DDX_Control(pDX, kShutter, m_shutters);
    DDX_Control(pDX, kTriggerType, m_triggerTypes);
    DDX_Control(pDX, kRecordMode, m_recordModes);
    DDX_Control(pDX, kSlide, m_slide);
}

BOOL CRecordControlPage::OnInitDialog() {
    CTabDlg::OnInitDialog();
    if (m_toolTips.Create(this)) {
        const std::pair<int, const char*> tips[] = {
            {kCustomResolution, "Set Custom Resolution and Origin"},
            {kMaxFrames, "Set Maximum Frames to Record"},
            {kBufferOptions, "Multiple Buffer / Record Mode Options"},
            {kCounter1, "Set Record Clock Devisor One"},
            {kCounter2, "Set Record Clock Devisor Two"},
            {kExposureTicks, "Set Exposure Clock Devisor"},
            {kCounter1Up, "Increase Clock Devisor"},
            {kCounter2Up, "Increase Clock Devisor"},
            {kTicksUp, "Increase Clock Devisor"},
            {kCounter1Down, "Decrease Clock Devisor"},
            {kCounter2Down, "Decrease Clock Devisor"},
            {kTicksDown, "Decrease Clock Devisor"},
        };
        for (const auto& [id, text] : tips) {
            if (CWnd* item = GetDlgItem(id))
                m_toolTips.AddTool(item, QString::fromLatin1(text));
        }
        m_toolTips.Activate(TRUE);
    }
    if (GetDlgItem(kGauge))
        m_gauge.SubclassDlgItem(kGauge, this);
    m_slideEvents.Connect(m_slide, [this](DISPID event, int, double value) {
        if (event == CSlideControl::kEventValueChanged)
            OnSlideChanged(value);
        else if (event == CSlideControl::kEventMouseDown)
            OnSlideMouseDown();
        else if (event == CSlideControl::kEventMouseUp)
            OnSlideMouseUp();
    });
    Refresh();
    return TRUE;
}

void CRecordControlPage::OnDestroy() {
    m_slideEvents.Disconnect();
    m_lastList.clear();
    CTabDlg::OnDestroy();
}

CDevice* CRecordControlPage::ActiveCamera() const {
    IDeviceViewFinder* finder = m_link.GetViewFinder();
    if (!finder)
        return nullptr;
    int kind = 0;
    CView* view = finder->GetActiveDeviceView(&kind, nullptr);
    auto* camera = kind == IDeviceViewFinder::kCameraView ? dynamic_cast<CCamView*>(view) : nullptr;
    return camera ? camera->GetDevice() : nullptr;
}

int CRecordControlPage::ComboSelection(const CComboBox& combo) {
    return combo.GetSafeHwnd() ? combo.GetCurSel() : -1;
}

bool CRecordControlPage::Send(CDevice* device, int code, bool withValue, double value, int* status,
                              VARIANT* result) {
    int handle = -1;
    int subtype = -1;
    if (device) {
        device->GetHandle(&handle);
        device->GetSubtype(&subtype);
    }
    return SendDeviceCommand(m_link, handle, subtype, code, withValue ? VT_R8 : VT_EMPTY, value,
                             status, result) == 0;
}

bool CRecordControlPage::MayChange(CDevice* device) {
    int status = 0;
    VARIANT answer{};
    // Nobody took the question: nobody objects.
    if (!Send(nullptr, kCmdMayChange, false, 0, &status, &answer))
        return true;
    VARIANT converted{};
    const bool decided = status == 0 && answer.vt != VT_EMPTY &&
                         SUCCEEDED(VariantChangeType(&converted, &answer, 0, VT_I4));
    VariantClear(&answer);
    if (decided)
        return (converted.lVal & 0xFFFF) != 0;
    // A group without an opinion takes the change with the camera live.
    if (device)
        device->SetMode(kModeLive);
    return true;
}

void CRecordControlPage::AnnounceRate(CDevice* device, IDriverDevice* driver) {
    double rate = 0;
    driver->GetRecordRate(&rate);
    Send(device, kCmdRecordRate, true, rate);
    NotifyDeviceLinks();
}

void CRecordControlPage::OnClockSourceDropDown() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !m_clockSources.GetSafeHwnd())
        return;
    std::vector<std::string> sources;
    driver->GetClockSources(&sources);
    QStringList texts;
    for (const std::string& source : sources)
        texts << QString::fromStdString(source);
    FillList(m_clockSources, texts);
}

void CRecordControlPage::FillList(CComboBox& combo, const QStringList& texts) {
    m_lastList = texts;
    combo.ResetContent();
    for (const QString& text : texts)
        combo.AddString(text);
}

void CRecordControlPage::OnClockSourceCloseUp() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !MayChange(device))
        return;
    const int selection = ComboSelection(m_clockSources);
    std::vector<double> frequencies;
    driver->GetClockFrequencies(&frequencies);
    DriverRecordParams params;
    driver->GetRecordParams(&params);
    double rate = 0;
    driver->GetRecordRate(&rate);
    if (selection < 0 || selection >= static_cast<int>(frequencies.size()))
        return;
    params.SetClockFrequency(frequencies[static_cast<size_t>(selection)]);
    params.SetClockSource(selection);
    if (driver->SetRecordParams(params, m_fromClock, m_recordModeOption) != 0) {
        MessageBox(QStringLiteral("Unable to change Clock Source"),
                   QStringLiteral("Camera Must be in Advance Record Mode."));
        OnDeviceUpdate();
        return;
    }
    AnnounceRate(device, driver);
}

void CRecordControlPage::ChangeCounter(int counter, int step) {
    if (CWnd* sink = GetDlgItem(kFocusSink))
        sink->SetFocus();
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !MayChange(device))
        return;
    DriverRecordParams params;
    int minimum = 0;
    int maximum = 0;
    if (driver->GetRecordParams(&params) != 0 ||
        driver->GetCounterRange(counter, &minimum, &maximum) != 0)
        return;
    int value = params.Counter(counter);
    if (step != 0) {
        value = std::clamp(value + step, minimum, maximum);
    } else {
        const int other = params.Counter(3 - counter);
        const double clock = params.ClockFrequency();
        CSliderLabelsDlg dialog(this);
        dialog.SetParameters(QStringLiteral("Clock Ticks"),
                             counter == 1
                                 ? QStringLiteral("Enter the value for the first counter")
                                 : QStringLiteral("Enter the value for the second counter"),
                             minimum, maximum, value, 0);
        dialog.SetLabels(QStringLiteral("Frame Rate"), QStringLiteral("Frame Time"), QString(),
                         QStringLiteral("usec"));
        dialog.SetModes(0, 1);
        // The rate and period the two counters make together.
        dialog.SetFormatter([clock, other](int ticks, int mode) {
            const double period = static_cast<double>(ticks + other);
            if (!(clock > 0) || !(period > 0))
                return QStringLiteral("-");
            return mode == 0 ? QFormatC("%.2f", clock / period)
                             : QFormatC("%.2f", period / clock * 1e6);
        });
        if (dialog.DoModal() != IDOK)
            return;
        value = dialog.GetValue();
    }
    driver->GetRecordParams(&params);
    params.SetCounter(counter, value);
    if (driver->SetRecordParams(params, 0, m_recordModeOption) != 0) {
        AfxMessageBox(QStringLiteral(
            "The camera must be in advanced mode to set the Record Rate counters directly"));
        OnDeviceUpdate();
        return;
    }
    AnnounceRate(device, driver);
}

void CRecordControlPage::ChangeExposureTicks(int step) {
    if (CWnd* sink = GetDlgItem(kFocusSink))
        sink->SetFocus();
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !MayChange(device))
        return;
    int64_t ticks = 0;
    if (driver->GetExposureTicks(&ticks) != 0)
        return;
    if (step != 0) {
        ticks += step;
    } else {
        int64_t minimum = 0;
        int64_t maximum = 0;
        if (driver->GetExposureTickRange(&minimum, &maximum) != 0)
            return;
        DriverRecordParams params;
        driver->GetRecordParams(&params);
        const double clock = params.ClockFrequency();
        CSliderLabelsDlg dialog(this);
        dialog.SetParameters(
            QStringLiteral("Shutter Speed"), QStringLiteral("Enter the desired Exposure Ticks."),
            static_cast<int>(minimum), static_cast<int>(maximum), static_cast<int>(ticks), 0);
        dialog.SetLabels(QStringLiteral("Exposure Time"), QStringLiteral("Clock Ticks"),
                         QStringLiteral("usec"), QString());
        dialog.SetModes(0, 1);
        dialog.SetFormatter([clock](int value, int mode) {
            if (mode == 1)
                return QFormatC("%d", value);
            return clock > 0 ? QFormatC("%.2f", value / clock * 1e6) : QStringLiteral("-");
        });
        if (dialog.DoModal() != IDOK)
            return;
        ticks = dialog.GetValue();
    }
    if (driver->SetExposureTicks(ticks) != 0) {
        AfxMessageBox(QStringLiteral("Error setting exposure ticks."));
        OnDeviceUpdate();
        return;
    }
    NotifyDeviceLinks();
}

void CRecordControlPage::OnFrameRateDropDown() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !m_frameRates.GetSafeHwnd())
        return;
    std::vector<double> rates;
    driver->GetRateList(&rates);
    m_rates.clear();
    for (double rate : rates)
        m_rates.push_back(static_cast<int>(rate));
    m_lastList = FrameRateTexts(m_rates, FeatureOn(device, CDevice::kFeatureUserFrameRate));
    m_frameRates.ResetContent();
    for (const QString& text : m_lastList)
        m_frameRates.AddString(text);
}

void CRecordControlPage::OnFrameRateCloseUp() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !MayChange(device))
        return;
    const int selection = ComboSelection(m_frameRates);
    std::vector<double> list;
    driver->GetRateList(&list);
    const int count = static_cast<int>(list.size());
    double rate = 0;
    if (FeatureOn(device, CDevice::kFeatureUserFrameRate) && selection == count) {
        double minimum = 0;
        double maximum = 0;
        double current = 0;
        driver->GetRateRange(&minimum, &maximum);
        driver->GetRecordRate(&current);
        CNumberEntryDlg dialog(this);
        dialog.SetParameters(QStringLiteral("Frame Rate Select"), QStringLiteral("Desired FPS :"),
                             static_cast<int>(minimum), static_cast<int>(maximum),
                             static_cast<int>(current), 1);
        if (dialog.DoModal() != IDOK)
            return;
        rate = dialog.m_nValue;
    } else {
        if (selection < 0 || selection >= count)
            return;
        rate = static_cast<int>(list[static_cast<size_t>(selection)]);
    }
    if (driver->SetRecordRate(rate) != 0) {
        OnDeviceUpdate();
        return;
    }
    DriverRecordParams params;
    driver->GetRecordParams(&params);
    if (driver->SetRecordParams(params, m_fromClock, m_recordModeOption) != 0) {
        OnDeviceUpdate();
        return;
    }
    AnnounceRate(device, driver);
}

void CRecordControlPage::OnResolutionDropDown() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !m_resolutions.GetSafeHwnd())
        return;
    m_resolutionList.clear();
    driver->GetResolutionList(&m_resolutionList);
    QStringList texts;
    for (const auto& [width, height] : m_resolutionList)
        texts << QFormatC("%dx%d", width, height);
    FillList(m_resolutions, texts);
}

void CRecordControlPage::OnResolutionCloseUp() {
    CDevice* device = ActiveCamera();
    if (!device || !MayChange(device))
        return;
    const int selection = ComboSelection(m_resolutions);
    if (selection < 0 || selection >= static_cast<int>(m_resolutionList.size()))
        return;
    const auto [width, height] = m_resolutionList[static_cast<size_t>(selection)];
    if (device->SetResolution(width, height) != 0) {
        OnDeviceUpdate();
        return;
    }
    Send(device, kCmdResolution);
    NotifyDeviceLinks();
}

void CRecordControlPage::OnCustomResolution() {
    CDevice* device = ActiveCamera();
    if (!device || !MayChange(device))
        return;
    // The active area is chosen on the live picture; the group opens its dialog.
    if (device->GetMode() != kModeLive)
        device->SetMode(kModeLive);
    Send(device, kCmdCustomResolution);
}

void CRecordControlPage::OnShutterDropDown() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !m_shutters.GetSafeHwnd())
        return;
    m_exposuresNs.clear();
    if (driver->GetExposureList(&m_exposuresNs) != 0)
        m_exposuresNs.clear();
    double rate = 0;
    driver->GetRecordRate(&rate);
    m_shutterEntries = ShutterEntries(m_exposuresNs, rate);
    m_lastList.clear();
    m_shutters.ResetContent();
    for (const ShutterEntry& entry : m_shutterEntries) {
        m_lastList << entry.text;
        const int index = m_shutters.AddString(entry.text);
        m_shutters.SetItemData(index, static_cast<uintptr_t>(static_cast<intptr_t>(entry.data)));
    }
}

void CRecordControlPage::OnShutterCloseUp() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !MayChange(device))
        return;
    const int selection = ComboSelection(m_shutters);
    if (selection < 0 || selection >= static_cast<int>(m_shutterEntries.size()))
        return;
    const int data = m_shutterEntries[static_cast<size_t>(selection)].data;
    double rate = 0;
    driver->GetRecordRate(&rate);
    double exposureNs = 0;
    if (m_exposuresNs.size() > 1 && rate > 0) {
        if (data < 0 || data >= static_cast<int>(m_exposuresNs.size()))
            return;
        exposureNs = m_exposuresNs[static_cast<size_t>(data)];
    } else if (data == kUserShutter) {
        double minimum = 0;
        double maximum = 0;
        double current = 0;
        driver->GetExposureRange(&minimum, &maximum);
        driver->GetExposure(&current);
        // Nanoseconds shown as microseconds.
        const auto micro = [](double seconds) {
            return static_cast<int>(std::lround(seconds * 1e9 * 0.001));
        };
        CNumberEntryDlg dialog(this);
        dialog.SetParameters(QStringLiteral("Exposure Time"),
                             QStringLiteral("Desired Microseconds :"), micro(minimum),
                             micro(maximum), micro(current), 1);
        if (dialog.DoModal() != IDOK)
            return;
        exposureNs = dialog.m_nValue * 1000.0;
    } else {
        if (!(rate > 0) || data <= 0)
            return;
        exposureNs = (1000000000.0 / rate) / data;
    }
    if (driver->SetExposure(exposureNs * 1e-9) != 0) {
        OnDeviceUpdate();
        return;
    }
    NotifyDeviceLinks();
}

void CRecordControlPage::OnMaxFrames() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !MayChange(device))
        return;
    int total = 0;
    if (const int answer = driver->GetTotalFrames(&total); answer != 0) {
        if (answer == kDeviceError)
            AfxMessageBox(QStringLiteral("Error requesting total frames from camera."));
        return;
    }
    int current = 0;
    if (const int answer = driver->GetMaxFrames(&current); answer != 0) {
        if (answer == kDeviceError)
            AfxMessageBox(QStringLiteral("Error requesting maximum frames setting from camera."));
        return;
    }
    const int available = total;
    if (available <= 0) {
        MessageBox(QStringLiteral("Camera memory is full.  You must clear at least one buffer in "
                                  "order to set a valid record duration."),
                   QString::fromLatin1(kVidraPlayer));
        return;
    }
    CSliderNumberDlg dialog(IDD_JPEG_QUALITY, this);
    dialog.SetParameters(QStringLiteral("Frames to Record"),
                         QStringLiteral("Enter Maximum Frames to Record"), 1, available, current,
                         0);
    if (dialog.DoModal() != IDOK)
        return;
    const int frames = FramesToRecord(dialog.GetValue(), available);
    if (frames == current)
        return;
    if (const int answer = driver->SetMaxFrames(frames); answer != 0) {
        if (answer == kDeviceError)
            AfxMessageBox(QStringLiteral("Error setting maximum frames for camera."));
        OnDeviceUpdate();
        return;
    }
    Send(device, kCmdFrameLimit);
    Send(device, kCmdTriggerPosition);
    NotifyDeviceLinks();
}

void CRecordControlPage::ApplyPostTrigger(CDevice* device, IDriverDevice* driver, int post) {
    DriverTriggerSetting setting;
    driver->GetTriggerSetting(&setting);
    driver->SetTriggerSetting({setting.type, post, -1});
    Send(device, kCmdTriggerPosition);
    m_slideReleased = 1;
    NotifyDeviceLinks();
}

void CRecordControlPage::OnPreTrigger() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver)
        return;
    int m = 0;
    if (const int answer = driver->GetMaxFrames(&m); answer != 0) {
        if (answer == kDeviceError)
            AfxMessageBox(QStringLiteral("Error requesting maximum frames setting from camera."));
        return;
    }
    DriverTriggerSetting setting;
    driver->GetTriggerSetting(&setting);
    CSliderNumberDlg dialog(IDD_JPEG_QUALITY, this);
    dialog.SetParameters(
        QStringLiteral("Pre-Trigger Frames"),
        QStringLiteral("Enter desired Pre-Trigger Frames (including Trigger Frame)"), 0, m - 1,
        m - setting.postTriggerFrames + 1, 0);
    if (dialog.DoModal() != IDOK)
        return;
    ApplyPostTrigger(device, driver, m - dialog.GetValue() - 1);
}

void CRecordControlPage::OnSlideChanged(double value) {
    const int v = static_cast<int>(value);
    SetFieldInt(this, kPercent, v, true);
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !MayChange(device))
        return;
    int m = 0;
    double r = 0;
    driver->GetMaxFrames(&m);
    driver->GetRecordRate(&r);
    const SlideCounts counts = CountsAt(m, v, r);
    SetFieldInt(this, kPostFrames, counts.post, true);
    SetFieldInt(this, kPreFrames, counts.pre, true);
    SetFieldDouble(this, kPostTime, counts.postTime, "%6.2f", true);
    SetFieldDouble(this, kPreTime, counts.preTime, "%6.2f", true);
}

void CRecordControlPage::OnSlideMouseDown() {
    m_slideReleased = 0;
}

void CRecordControlPage::OnSlideMouseUp() {
    // Released whatever happens below: a flag left cleared would keep the slide from following
    // the device for good.
    m_slideReleased = 1;
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    double value = 0;
    if (!driver || !MayChange(device) || FAILED(m_slide.GetPointerValue(1, &value)))
        return;
    int m = 0;
    driver->GetMaxFrames(&m);
    ApplyPostTrigger(device, driver, m - static_cast<int>(value) + 1);
}

void CRecordControlPage::OnTriggerTypeDropDown() {
    CDevice* device = ActiveCamera();
    if (!device || !m_triggerTypes.GetSafeHwnd())
        return;
    VARIANT answer{};
    const bool answered =
        Send(device, kCmdTriggerQuery, false, 0, nullptr, &answer) && answer.vt != VT_EMPTY;
    VariantClear(&answer);
    m_triggerCodes = TriggerCodes(answered, FeatureOn(device, CDevice::kFeatureEdgeTrigger),
                                  FeatureOn(device, CDevice::kFeatureLevelTrigger));
    const int subtype = SubtypeOf(device);
    QStringList texts;
    for (int code : m_triggerCodes)
        texts << TriggerTypeText(code, subtype);
    FillList(m_triggerTypes, texts);
}

void CRecordControlPage::OnTriggerTypeCloseUp() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver)
        return;
    const int selection = ComboSelection(m_triggerTypes);
    if (selection < 0 || selection >= static_cast<int>(m_triggerCodes.size()) || !MayChange(device))
        return;
    const int code = m_triggerCodes[static_cast<size_t>(selection)];
    DriverTriggerSetting setting;
    driver->GetTriggerSetting(&setting);
    if (driver->SetTriggerSetting({code, setting.postTriggerFrames, setting.third}) != 0) {
        OnDeviceUpdate();
        return;
    }
    Send(device, kCmdTriggerType, true, code);
    NotifyDeviceLinks();
}

void CRecordControlPage::OnRecordModeDropDown() {
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || !m_recordModes.GetSafeHwnd())
        return;
    std::vector<std::string> modes;
    driver->GetRecordModes(&modes);
    QStringList texts;
    for (const std::string& mode : modes)
        texts << QString::fromStdString(mode);
    FillList(m_recordModes, texts);
    m_recordModes.SetCurSel(m_recordModeOption);
}

void CRecordControlPage::OnRecordModeCloseUp() {
    const int selection = ComboSelection(m_recordModes);
    if (selection >= 0)
        m_recordModeOption = selection;
    OnDeviceUpdate();
}

void CRecordControlPage::OnLive() {
    CDevice* device = ActiveCamera();
    if (!device || !Send(device, kCmdLive))
        return;
    device->SetMode(kModeIdle);
    device->SetRole(kRoleMaster);
    device->SetMode(kModeLive);
    OnDeviceUpdate();
}

void CRecordControlPage::OnRecord() {
    CDevice* device = ActiveCamera();
    if (!device)
        return;
    device->SetRole(kRoleMaster);
    if (Send(device, kCmdRecord))
        device->SetMode(kModeArmed);
    NotifyDeviceLinks();
}

void CRecordControlPage::OnTriggerStop() {
    CDevice* device = ActiveCamera();
    if (device && Send(nullptr, kCmdTriggerStop))
        OnTrig();
}

void CRecordControlPage::OnStop() {
    CDevice* device = ActiveCamera();
    if (!device || !Send(nullptr, kCmdStop))
        return;
    device->Stop();
    device->SetMode(kModeStopped);
    OnDeviceUpdate();
}

void CRecordControlPage::OnTrig() {
    if (CDevice* device = ActiveCamera()) {
        device->Trigger();
        OnDeviceUpdate();
    }
}

void CRecordControlPage::OnAbortRecord() {
    CDevice* device = ActiveCamera();
    if (!device)
        return;
    device->SetRole(kRoleMaster);
    device->SetMode(kModeLive);
    OnDeviceUpdate();
}

void CRecordControlPage::OnDeviceName() {
    CDevice* device = ActiveCamera();
    if (!device)
        return;
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    CDlgTextInput dialog(this);
    dialog.SetPrompt(QStringLiteral("Device Name"),
                     QStringLiteral("Please enter the device name."));
    dialog.SetText(descriptor.m_name);
    if (dialog.DoModal() != IDOK || device->SetName(dialog.GetText()) != 0)
        return;
    NotifyDeviceLinks();
    Send(device, kCmdRenamed);
}

void CRecordControlPage::DisableAllControls() {
    static constexpr int kAll[] = {kClockSource,
                                   kFrameRate,
                                   1534,
                                   1009,
                                   1528,
                                   kCounter1,
                                   kCounter2,
                                   kResolution,
                                   kCustomResolution,
                                   kShutter,
                                   kCounter1Up,
                                   kCounter1Down,
                                   kCounter2Up,
                                   kCounter2Down,
                                   kTicksUp,
                                   kTicksDown,
                                   kFrameTime,
                                   kMaxFramesText,
                                   kExposureTicks,
                                   kTotalFramesText,
                                   1032,
                                   kMaxFrames,
                                   kBufferPosition,
                                   kBufferOptions,
                                   kTriggerType,
                                   kPreTrigger,
                                   kLive,
                                   kRecord,
                                   kTriggerStop,
                                   kStop,
                                   kSlide};
    for (int id : kAll)
        EnableItem(this, id, false);
}

void CRecordControlPage::OnDeviceUpdate() {
    Refresh();
}

void CRecordControlPage::UpdatePage() {
    OnDeviceUpdate();
}

void CRecordControlPage::Refresh() {
    if (!GetSafeHwnd())
        return;
    CDevice* device = ActiveCamera();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    const bool camera = driver != nullptr;
    for (int id : {int(kLive), int(kRecord), int(kTriggerStop), int(kStop)})
        EnableItem(this, id, camera);
    if (!camera) {
        DisableAllControls();
        return;
    }
    const int mode = device->GetMode();
    const bool recording = mode == kModeArmed;
    const bool settable = !recording;

    // The clock and its counters.
    DriverRecordParams params;
    const bool haveParams = driver->GetRecordParams(&params) == 0;
    std::vector<std::string> sources;
    driver->GetClockSources(&sources);
    const int source = haveParams ? params.ClockSource() : -1;
    if (source >= 0 && source < static_cast<int>(sources.size()))
        SetFieldTextIfChanged(this, kClockSource, QString::fromStdString(sources[size_t(source)]),
                              true);
    SetFieldDouble(this, 1528, haveParams ? params.ClockFrequency() : 0, "%.0f", haveParams);
    SetFieldInt(this, kCounter1, haveParams ? params.Counter(1) : 0, haveParams);
    SetFieldInt(this, kCounter2, haveParams ? params.Counter(2) : 0, haveParams);
    int64_t ticks = 0;
    const bool haveTicks = driver->GetExposureTicks(&ticks) == 0;
    SetFieldTextIfChanged(this, kExposureTicks, QFormatC("%lld", static_cast<long long>(ticks)),
                          haveTicks);
    const bool clockOn = settable && FeatureOn(device, CDevice::kFeatureClockSource);
    for (int id : {int(kClockSource), 1527, 1534, 1009, 1528})
        EnableItem(this, id, clockOn);
    const bool countersOn = settable && FeatureOn(device, CDevice::kFeatureRecordCounters);
    for (int id : {int(kCounter1), int(kCounter2), int(kCounter1Up), int(kCounter1Down),
                   int(kCounter2Up), int(kCounter2Down)})
        EnableItem(this, id, countersOn);
    for (int id : {int(kExposureTicks), int(kTicksUp), int(kTicksDown)})
        EnableItem(this, id, countersOn && haveTicks);

    // Rate, resolution, shutter and frames.
    double rate = 0;
    device->GetRecordRate(&rate);
    SetFieldTextIfChanged(this, kFrameRate, QFormatC("%d", static_cast<int>(rate)), true);
    int width = 0;
    int height = 0;
    const bool haveSize = device->GetResolution(&width, &height) == 0;
    SetFieldTextIfChanged(this, kResolution, QFormatC("%dx%d", width, height), haveSize);
    double exposure = 0;
    const bool haveExposure = driver->GetExposure(&exposure) == 0;
    SetFieldDouble(this, kShutter, exposure * 1000.0, "%4.3f", haveExposure);
    SetFieldDouble(this, kFrameTime, rate > 0 ? 1000.0 / rate : 0.0, "%6.3f", rate > 0);
    int maxFrames = 0;
    const bool haveMax = driver->GetMaxFrames(&maxFrames) == 0;
    SetFieldInt(this, kMaxFramesText, maxFrames, haveMax);
    int total = 0;
    const bool haveTotal = driver->GetTotalFrames(&total) == 0;
    SetFieldInt(this, kTotalFramesText, total, haveTotal);
    int recorded = 0;
    SetFieldInt(this, 1032, recorded, driver->GetRecordedFrames(&recorded) == 0);
    SetFieldTextIfChanged(this, kBufferPosition, QFormatC("%d/%d", 1, 1),
                          FeatureOn(device, CDevice::kFeatureBuffers));
    for (int id : {int(kFrameRate), int(kResolution), int(kCustomResolution), int(kShutter),
                   int(kFrameTime), int(kMaxFramesText), 1569, 1032, int(kBufferPosition),
                   int(kTotalFramesText), int(kMaxFrames)})
        EnableItem(this, id, settable);
    EnableItem(this, kBufferOptions, settable && FeatureOn(device, CDevice::kFeatureBuffers));

    // The trigger.
    DriverTriggerSetting trigger;
    driver->GetTriggerSetting(&trigger);
    const int m = maxFrames;
    const int v = m - trigger.postTriggerFrames;
    const double percent = m > 0 ? 100.0 * v / m : 0.0;
    SetFieldTextIfChanged(this, kPreTrigger, QFormatC("%.0f %%", percent), true);
    if (m_slideReleased) {
        if (!m_slide.IsEmpty()) {
            m_slide.SetStep(1);
            m_slide.SetRange(0, std::max(m, 1));
            m_slide.SetPointerValue(1, v);
        }
        SetFieldDouble(this, kPercent, v, "%.0f", true);
        const SlideCounts counts = CountsAt(m, v, rate);
        SetFieldInt(this, kPostFrames, counts.post, true);
        SetFieldInt(this, kPreFrames, counts.pre, true);
        SetFieldDouble(this, kPostTime, counts.postTime, "%6.2f", true);
        SetFieldDouble(this, kPreTime, counts.preTime, "%6.2f", true);
    }
    SetFieldTextIfChanged(this, kTriggerType, TriggerTypeText(trigger.type, SubtypeOf(device)),
                          true);
    for (int id : {int(kPostTime), int(kPostFrames), int(kPreTime), int(kPreFrames), int(kPercent),
                   int(kPreTrigger), int(kTriggerType), int(kSlide)})
        EnableItem(this, id, settable);

    // The device's name and the frame time against the exposure.
    CDeviceDescriptor descriptor;
    device->GetDescriptor(&descriptor);
    SetFieldTextIfChanged(this, kDeviceName, descriptor.m_name, true);
    if (m_gauge.GetSafeHwnd() && rate > 0)
        m_gauge.SetValues(1e6 / rate, exposure * 1e6);
}
