#include "devices/TriggerAdjustTab.h"

#include "devices/CamView.h"
#include "devices/DeviceCommand.h"
#include "devices/IDeviceViewFinder.h"
#include "devices/core/Device.h"
#include "platform/com/ComObject.h"
#include "platform/com/ComVariant.h"
#include "platform/controls/SlideControl.h"
#include "platform/framework/Button.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"
#include "platform/wintypes/CLocale.h"
#include "shell/SliderNumberDlg.h"

#include <cmath>

IMPLEMENT_DYNAMIC(CTriggerAdjustTab, CTabDlg)

BEGIN_MESSAGE_MAP(CTriggerAdjustTab, CTabDlg)
ON_WM_DESTROY()
ON_CONTROL(CBN_DROPDOWN, CTriggerAdjustTab::kTriggerType, OnTriggerTypeDropDown)
ON_CONTROL(CBN_CLOSEUP, CTriggerAdjustTab::kTriggerType, OnTriggerTypeCloseUp)
ON_BN_CLICKED(CTriggerAdjustTab::kPreTriggerButton, OnPreTriggerCount)
ON_UPDATE_COMMAND_UI(CTriggerAdjustTab::kFirstDeviceText, OnUpdateFirstDevice)
END_MESSAGE_MAP()

namespace {

// Cameras of these subtypes name their trigger edges after their inputs.
bool NamesEdgesByInput(int subtype) {
    return subtype == 3 || subtype == 14 || subtype == 15;
}

constexpr const char* kPreTriggerTitle = "Pre-Trigger";
constexpr const char* kPreTriggerPrompt =
    "Enter desired Pre-Trigger Count\n(including Trigger Frame)";

}  // namespace

CTriggerAdjustTab::CTriggerAdjustTab(CWnd* pParentWnd)
    : CTabDlg(kTriggerAdjustTabTemplate, pParentWnd),
      m_events(kPollPeriod, [this] { Refresh(); }) {}

CTriggerAdjustTab::~CTriggerAdjustTab() {
    m_slideEvents.Disconnect();
}

void CTriggerAdjustTab::SetGroupProvider(IDeviceCommandTargetProvider* provider) {
    SetProvider(provider);
    m_link.SetCommandTargetProvider(provider);
}

void CTriggerAdjustTab::DoDataExchange(CDataExchange* pDX) {
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kSlide, m_slide);
    DDX_Control(pDX, kTriggerType, m_triggerType);
}

BOOL CTriggerAdjustTab::OnInitDialog() {
    CTabDlg::OnInitDialog();
    m_slideEvents.Connect(m_slide, [this](DISPID event, int, double value) {
        if (event == CSlideControl::kEventValueChanging)
            OnSlideTracking(value);
        else if (event == CSlideControl::kEventMouseDown)
            OnSlideMouseDown();
        else if (event == CSlideControl::kEventMouseUp)
            OnSlideMouseUp();
    });
    m_events.Watch(GetQWidget());
    Refresh();
    return TRUE;
}

void CTriggerAdjustTab::OnDestroy() {
    m_slideEvents.Disconnect();
    CTabDlg::OnDestroy();
}

QString CTriggerAdjustTab::TriggerTypeText(int code, int subtype, const QString& unchanged) {
    static const char* const kPlain[] = {"Rising Edge", "Falling Edge", "Rising Or Falling",
                                         "Record On High", "Record On Low"};
    static const char* const kByInput[] = {"TTL Logic - Rising", "Hand Switch - Falling", "Default",
                                           "Record On High", "Record On Low"};
    if (code < 1 || code > 5)
        return unchanged;
    return QString::fromLatin1((NamesEdgesByInput(subtype) ? kByInput : kPlain)[code - 1]);
}

CDevice* CTriggerAdjustTab::FindDevice() const {
    if (!GetGroup() || !m_finder)
        return nullptr;
    int kind = IDeviceViewFinder::kOtherView;
    CView* view = m_finder->GetActiveDeviceView(&kind, nullptr);
    auto* camera = kind == IDeviceViewFinder::kCameraView ? dynamic_cast<CCamView*>(view) : nullptr;
    return camera ? camera->GetDevice() : nullptr;
}

bool CTriggerAdjustTab::Read(CDevice* device, Reading* reading) const {
    if (!device)
        return false;
    device->GetType(&reading->type);
    device->GetSubtype(&reading->subtype);
    reading->mode = device->GetMode();
    device->GetRecordRate(&reading->rate);
    if (IDriverDevice* driver = device->Driver()) {
        int divisor = 1;
        if (driver->GetPointsPerFrame(&divisor) == 0)
            reading->divisor = divisor;
        driver->GetMaxFrames(&reading->maxFrames);
        driver->GetTriggerSetting(&reading->trigger);
    }
    if (reading->divisor < 1)
        reading->divisor = 1;
    return true;
}

void CTriggerAdjustTab::ShowCounts(const Reading& reading, int p) {
    const int m = reading.maxFrames;
    const int k = reading.divisor;
    int pre = m - p;
    int post = p - 1;
    const bool dataDevice = reading.type == kDeviceTypeDataCard;
    if (dataDevice) {
        pre /= k;
        post /= k;
    }
    SetFieldInt(this, kPreFrames, pre, true);
    SetFieldInt(this, kPostFrames, post, true);
    if (dataDevice) {
        SetFieldInt(this, kPreSamples, (m - p) - (m - p) / k + 1, true);
        SetFieldInt(this, kPostSamples, p - 1, true);
    } else {
        SetFieldTextIfChanged(this, kPreSamples, QStringLiteral("-"), true);
        SetFieldTextIfChanged(this, kPostSamples, QStringLiteral("-"), true);
    }
    const double r = reading.rate;
    SetFieldDouble(this, kPreTime, r > 0 ? (m - p) / r : 0.0, "%6.2f", true);
    SetFieldDouble(this, kPostTime, r > 0 ? (p - 1) / r : 0.0, "%6.2f", true);
}

void CTriggerAdjustTab::Refresh() {
    Reading reading;
    if (!Read(FindDevice(), &reading))
        return;
    // While the slide is held its drag shows the counts; disabling it then would lose the
    // release that ends the drag.
    if (!m_released)
        return;
    const bool running = reading.mode == kModeArmed || reading.mode == kModeLive;
    const int controls[] = {kTriggerType, kPreTriggerButton, kSlide};
    if (!running) {
        for (int id : controls)
            EnableItem(this, id, false);
        return;
    }
    const int m = reading.maxFrames;
    const int p = reading.trigger.postTriggerFrames;
    ShowCounts(reading, p);
    const double percent = m > 0 ? 100.0 - 100.0 * p / m : 100.0;
    SetFieldDouble(this, kPercent, percent, "%.0f", true);
    SetFieldTextIfChanged(this, kPreTriggerButton, QFormatC("%.0f %%", percent), true);
    if (!m_slide.IsEmpty()) {
        m_slide.SetStep(1);
        m_slide.SetRange(1, m);
        m_slide.SetPointerValue(1, m - p + 1);
    }
    if (CWnd* combo = GetDlgItem(kTriggerType)) {
        const QString text = combo->GetWindowText();
        SetFieldTextIfChanged(this, kTriggerType,
                              TriggerTypeText(reading.trigger.type, reading.subtype, text), true);
    }
    for (int id : controls)
        EnableItem(this, id, true);
}

void CTriggerAdjustTab::OnGroupClosed() {
    for (int id : {int(kTriggerType), int(kPreTriggerButton), int(kSlide)})
        EnableItem(this, id, false);
}

void CTriggerAdjustTab::OnGroupChanged() {
    Refresh();
}

void CTriggerAdjustTab::OnUpdateFirstDevice(CCmdUI* pCmdUI) {
    pCmdUI->Enable(TRUE);
    Refresh();
}

int CTriggerAdjustTab::BuildTriggerTypeList(int* codes, int capacity) {
    CDevice* device = FindDevice();
    if (!device || !codes || capacity <= 0)
        return 0;
    int handle = -1;
    int subtype = -1;
    device->GetHandle(&handle);
    device->GetSubtype(&subtype);
    VARIANT answer{};
    int queried = 0;
    if (SendDeviceCommand(m_link, handle, subtype, kCmdTriggerChanged, VT_R8, 0.0, nullptr,
                          &answer) == 0 &&
        answer.vt != VT_EMPTY) {
        VARIANT converted{};
        if (SUCCEEDED(VariantChangeType(&converted, &answer, 0, VT_I4)))
            queried = static_cast<int>(converted.lVal);
    }
    VariantClear(&answer);
    const auto on = [device](int feature) {
        int value = 0;
        device->GetFeatureOn(feature, &value);
        return value != 0;
    };
    int count = 0;
    const auto add = [&](int code) {
        if (count < capacity)
            codes[count++] = code;
    };
    if (queried) {
        if (on(CDevice::kFeatureRisingEdge))
            add(kTriggerRisingEdge);
        if (on(CDevice::kFeatureFallingEdge))
            add(kTriggerFallingEdge);
    } else if (!on(CDevice::kFeatureEdgeTrigger) && on(CDevice::kFeatureLevelTrigger)) {
        add(kTriggerRecordOnHigh);
        add(kTriggerRecordOnLow);
    } else {
        if (on(CDevice::kFeatureRisingEdge))
            add(kTriggerRisingEdge);
        if (on(CDevice::kFeatureFallingEdge))
            add(kTriggerFallingEdge);
        if (on(CDevice::kFeatureEitherEdge))
            add(kTriggerEitherEdge);
    }
    return count;
}

void CTriggerAdjustTab::OnTriggerTypeDropDown() {
    CComboBox* combo = &m_triggerType;
    if (!combo->GetSafeHwnd())
        return;
    m_codeCount = BuildTriggerTypeList(m_codes.data(), kMaxTriggerTypes);
    // The box keeps naming the device's type until the user chooses one of the list.
    const QString shown = combo->GetWindowText();
    combo->ResetContent();
    for (int i = 0; i < m_codeCount; ++i)
        combo->AddString(TriggerTypeText(m_codes[static_cast<size_t>(i)], -1, QString()));
    combo->SetCurSel(-1);
    combo->SetWindowText(shown);
}

void CTriggerAdjustTab::OnTriggerTypeCloseUp() {
    const int selection = m_triggerType.GetSafeHwnd() ? m_triggerType.GetCurSel() : -1;
    // Nothing chosen, or a choice the last list did not hold.
    if (selection < 0 || selection >= m_codeCount)
        return;
    CDevice* device = FindDevice();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver)
        return;
    const int code = m_codes[static_cast<size_t>(selection)];
    DriverTriggerSetting setting;
    driver->GetTriggerSetting(&setting);
    driver->SetTriggerSetting({code, setting.postTriggerFrames, -1});
    int handle = -1;
    int subtype = -1;
    device->GetHandle(&handle);
    device->GetSubtype(&subtype);
    SendDeviceCommand(m_link, handle, subtype, kCmdTriggerType, VT_I4, code);
    Refresh();
}

void CTriggerAdjustTab::WriteTrigger(CDevice* device, const DriverTriggerSetting& setting,
                                     int code) {
    device->Driver()->SetTriggerSetting(setting);
    int handle = -1;
    int subtype = -1;
    device->GetHandle(&handle);
    device->GetSubtype(&subtype);
    SendDeviceCommand(m_link, handle, subtype, code, VT_R8, 0.0);
}

void CTriggerAdjustTab::OnSlideTracking(double value) {
    Reading reading;
    if (!Read(FindDevice(), &reading))
        return;
    const int m = reading.maxFrames;
    const int p = m - static_cast<int>(value) + 1;
    ShowCounts(reading, p);
    SetFieldTextIfChanged(this, kPercent, QStringLiteral("-"), true);
    const double percent = m > 0 ? 100.0 - 100.0 * p / m : 100.0;
    SetFieldTextIfChanged(this, kPreTriggerButton, QFormatC("%.0f %%", percent), true);
}

void CTriggerAdjustTab::OnSlideMouseDown() {
    m_released = 0;
}

void CTriggerAdjustTab::OnSlideMouseUp() {
    // Released whatever happens below: a held flag would stop every refresh for good.
    m_released = 1;
    CDevice* device = FindDevice();
    Reading reading;
    double value = 0.0;
    if (!Read(device, &reading) || !device->Driver() || FAILED(m_slide.GetPointerValue(1, &value)))
        return;
    const int m = reading.maxFrames;
    const int p = reading.trigger.postTriggerFrames;
    int wanted = m - static_cast<int>(value) + 1;
    // A single step of the slide moves the trigger by about a hundredth of the memory.
    const int jump = static_cast<int>(0.01 * m + 0.99);
    if (wanted - p == 1)
        wanted = p + jump;
    else if (p - wanted == 1)
        wanted = p - jump + 1;
    WriteTrigger(device, {reading.trigger.type, wanted, -1}, kCmdCheckTrigger);
    Refresh();
}

void CTriggerAdjustTab::OnPreTriggerCount() {
    CDevice* device = FindDevice();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver)
        return;
    int m = 0;
    if (driver->GetMaxFrames(&m) != 0) {
        AfxMessageBox(QString::fromLatin1(kMaxFramesError));
        return;
    }
    DriverTriggerSetting setting;
    driver->GetTriggerSetting(&setting);
    CSliderNumberDlg dialog(IDD_JPEG_QUALITY, this);
    dialog.SetParameters(QString::fromLatin1(kPreTriggerTitle),
                         QString::fromLatin1(kPreTriggerPrompt), 0, m - 1, -1, 1);
    dialog.SetValue(m - setting.postTriggerFrames);
    if (dialog.DoModal() != IDOK)
        return;
    WriteTrigger(device, {setting.type, m - dialog.GetValue(), -1}, kCmdTriggerChanged);
    m_released = 1;
    Refresh();
}
