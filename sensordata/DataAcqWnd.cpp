#include "sensordata/DataAcqWnd.h"

#include "devices/core/DriverLoader.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/sources/DeviceDataSets.h"
#include "platform/com/ComVariant.h"
#include "platform/framework/Button.h"
#include "platform/framework/ResourceModuleScope.h"
#include "sensordata/DataDeviceRegistry.h"
#include "sensordata/SensorPanel.h"
#include "sensordata/StandardRates.h"
#include "sensordata/TestTriggerDlg.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"

#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

IMPLEMENT_DYNAMIC(CDataAcqWnd, CDialog)

BEGIN_MESSAGE_MAP(CDataAcqWnd, CDialog)
ON_WM_TIMER()
ON_WM_SIZE()
ON_WM_ACTIVATE()
ON_WM_DESTROY()
ON_BN_CLICKED(CDataAcqWnd::kStart, OnStart)
ON_BN_CLICKED(CDataAcqWnd::kStop, OnStop)
ON_BN_CLICKED(CDataAcqWnd::kTestTrigger, OnTestTrigger)
END_MESSAGE_MAP()

namespace {

// The ticks of a 24-bit counter.
constexpr double kCounterTicks = 16777215.0;
// The rate a counter clock is taken to run at when no rate is given.
constexpr double kDefaultCounterRate = 1500000.0;

// The source that shows the window's own live data in its panel.
class LiveSource : public ISensorDataSource {
public:
    explicit LiveSource(CDataAcqWnd& window) : m_window(window) {}
    CFormatSettingsDlg* GetFormatSettings() override { return &m_window.GetFormatSettings(); }
    CVidraData* GetData() override { return &m_window.GetLiveData(); }
    void SetDataDisplay(CDataDisplayDlg* display) override { m_window.SetDataDisplay(display); }

private:
    CDataAcqWnd& m_window;
};

}  // namespace

CDataAcqWnd::CDataAcqWnd(const CDeviceDescriptor& descriptor, std::unique_ptr<IDriverDevice> driver)
    : CDialog(kTemplateId, nullptr), CDevice(descriptor, std::move(driver)) {
    IDriverDevice* card = Driver();
    int channels = 0;
    double minimum = 0.0;
    double maximum = 0.0;
    int scans = 0;
    if (card && card->GetChannelCount(&channels) == 0)
        m_nCardChannels = std::clamp(channels, 0, CAcqSettings::kMaxChannelNumbers);
    // The settings offer channel numbers in pairs; every channel of the card starts on.
    m_settings.SetChannelCount((m_nCardChannels + 1) / 2);
    for (int c = 0; c < m_nCardChannels; ++c)
        m_settings.m_on[c] = 1;
    if (card && card->GetRateRange(&minimum, &maximum) == 0 && maximum > 0)
        m_settings.m_nMaxAggregateRate =
            static_cast<int>(std::min(maximum * std::max(m_nCardChannels, 1), 2e9));
    m_settings.UpdateMaxChannelRate();
    if (card && card->GetMaxFrames(&scans) == 0 && scans > 0)
        m_nBufferCapacity = static_cast<int>(std::min<int64_t>(
            int64_t(scans) * std::max(m_nCardChannels, 1), std::numeric_limits<int>::max()));
    m_format.SetData(&GetLiveData());
    ApplyParams(1000, 10, 1000, 500, 1);
    PrepareLiveData();
    m_displayLink.SetDisplay(this);
    int handle = -1;
    GetHandle(&handle);
    m_commandLink.SetHandle(handle);
    m_commandLink.SetCommandTarget(this);
    // The card is its own data channel: the record panels find it by the sensor's handle.
    SetLinkedData(this);
    m_panelHost.SetDataSource(std::make_unique<LiveSource>(*this));
    m_recordHost.SetRequestHandler(&SendPageCommand, this);
    RegisterDataDevice(this);
}

CDataAcqWnd::~CDataAcqWnd() {
    UnregisterDataDevice(this);
    if (GetCurrentDataDevice() >= 0 && FindDataDevice(GetCurrentDataDevice(), nullptr) < 0)
        SetCurrentDataDevice(-1);
    m_displayLink.SetDisplay(nullptr);
}

void CDataAcqWnd::Destroy(int deleteFlag) {
    StopAcquisition();
    m_testTrigger.reset();
    if (GetSafeHwnd())
        DestroyWindow();
    UnregisterDataDevice(this);
    CDevice::Destroy(deleteFlag);
}

// Parameters.

void CDataAcqWnd::GetFrameParams(int* frameRate, int* samplesPerFrame, int* frameCount,
                                 int* postTriggerFrames, int* edge) const {
    const int d = m_nSamplesPerFrame;
    if (frameRate)
        *frameRate = d > 0 ? m_nRate / d : m_nRate;
    if (samplesPerFrame)
        *samplesPerFrame = d;
    if (frameCount)
        *frameCount = m_nFrameCount;
    if (postTriggerFrames)
        *postTriggerFrames = d > 0 ? m_nPostTriggerSamples / d : m_nPostTriggerSamples;
    if (edge)
        *edge = m_nEdge;
}

void CDataAcqWnd::GetSampleParams(int* rate, int* samplesPerFrame, int* samples,
                                  int* postTriggerSamples, int* edge) const {
    if (rate)
        *rate = m_nRate;
    if (samplesPerFrame)
        *samplesPerFrame = m_nSamplesPerFrame;
    if (samples)
        *samples = m_nFrameCount * m_nSamplesPerFrame;
    if (postTriggerSamples)
        *postTriggerSamples = m_nPostTriggerSamples;
    if (edge)
        *edge = m_nEdge;
}

int CDataAcqWnd::GetFrameRate() const {
    return m_nSamplesPerFrame < 1 ? m_nRate : m_nRate / m_nSamplesPerFrame;
}

int CDataAcqWnd::CanTrigger() const {
    return m_nTriggerMode == 1 ? m_nTriggerAllowed : 1;
}

int CDataAcqWnd::GetMaxSamplesPerChannel() const {
    const int on = m_settings.ChannelsOn();
    return on > 0 ? m_nBufferCapacity / on : -1;
}

double CDataAcqWnd::GetMaxChannelRate() const {
    const int on = m_settings.ChannelsOn();
    const double aggregate = m_settings.m_nMaxAggregateRate;
    return on > 0 ? aggregate / on : aggregate;
}

int CDataAcqWnd::GetRecordState() const {
    if (!m_nAcquiring)
        return 1;
    const int mode = GetMode();
    return mode == kModeArmed || mode == kModeStopped ? 4 : 2;
}

void CDataAcqWnd::SetRecordRequest(int a, int b, int c) {
    m_recordRequest[0] = a;
    m_recordRequest[1] = b;
    m_recordRequest[2] = c;
}

void CDataAcqWnd::GetRecordRequest(int* a, int* b, int* c) const {
    if (a)
        *a = m_recordRequest[0];
    if (b)
        *b = m_recordRequest[1];
    if (c)
        *c = m_recordRequest[2];
}

// The standard-rate arithmetic.

void CDataAcqWnd::ListSamplesPerFrame(int frameRate, int channelsOn, int* out, int* count) const {
    // A frame rate below 1 (a rate below its samples per frame) counts as 1.
    const double f = std::max(frameRate, 1);
    const double aggregate = m_settings.m_nMaxAggregateRate;
    const double limit = channelsOn > 0 ? aggregate / channelsOn : aggregate;
    int found = 0;
    for (int i = 0; i < kStandardRateCount; ++i) {
        const int rate = StandardRate(i);
        if (rate > limit)
            break;
        const double q = rate / f;
        if (std::floor(q) != std::ceil(q))
            continue;
        if (out)
            out[found] = static_cast<int>(q);
        ++found;
    }
    if (count)
        *count = found;
}

int CDataAcqWnd::FindNearestRate(int rate, int samplesPerFrame, int* outRate,
                                 int* outSamplesPerFrame) const {
    const int dq = std::max(samplesPerFrame, 1);
    const int maximum = m_settings.m_nMaxChannelRate;
    // The requested frame rate; below 1 it counts as 1.
    const int t = std::max(rate / dq, 1);
    int start = kStandardRateCount - 1;
    for (int i = 0; i < kStandardRateCount; ++i) {
        if (StandardRate(i) >= rate || StandardRate(i) >= maximum) {
            start = i;
            break;
        }
    }
    int chosenRate = StandardRate(start);
    int chosenSamples = StandardRate(start);
    for (int i = start; i < kStandardRateCount; ++i) {
        const int r = StandardRate(i);
        if (r < t || r > maximum)
            continue;
        // The smallest divisor of r not below t: every k from r down to t that divides r is
        // a candidate and the last one is kept.
        int k = t;
        while (r % k != 0)
            ++k;
        chosenRate = r;
        chosenSamples = r / k;
        break;
    }
    if (outRate)
        *outRate = chosenRate;
    if (outSamplesPerFrame)
        *outSamplesPerFrame = chosenSamples;
    return chosenSamples == dq && chosenRate == rate ? 1 : 0;
}

double CDataAcqWnd::GetMaxCounterSeconds(int rate) const {
    if (rate < 0)
        rate = m_nRate;
    const int d = std::max(m_nSamplesPerFrame, 1);
    const auto frames = [&] {
        int n = rate / d;
        if (n <= 0)
            n = static_cast<int>(kDefaultCounterRate) / d;
        return static_cast<double>(n);
    };
    switch (m_nCounterKind) {
        case kFixedCounter:
            return 167.0;
        case kRateCounter:
            return kCounterTicks / (rate > 0 ? rate : kDefaultCounterRate);
        case kFrameCounter:
            return kCounterTicks / frames();
        case kHalfFrameCounter:
            return kCounterTicks / (2 * frames());
        default:
            return -1.0;
    }
}

int CDataAcqWnd::ApplyParams(int rate, int samplesPerFrame, int samples, int postTriggerSamples,
                             int edge) {
    int status = m_nAcquiring ? 1 : 0;
    int r = rate;
    int d = std::max(samplesPerFrame, 1);
    const int frameRate = r / d;
    const int on = m_settings.ChannelsOn();
    if (GetMaxChannelRate() < r) {
        int count = 0;
        ListSamplesPerFrame(frameRate, on, nullptr, &count);
        if (count > 0) {
            std::vector<int> values(static_cast<size_t>(count));
            ListSamplesPerFrame(frameRate, on, values.data(), &count);
            d = values.back();
        }
        r = d * frameRate;
    }
    d = std::max(d, 1);
    int s = std::max(samples, d + 1);
    if (!IsStandardRate(r))
        status = 3;
    if (int64_t(on) * s > m_nBufferCapacity) {
        s = on < 1 ? m_nBufferCapacity : m_nBufferCapacity / on;
        status = 4;
    }
    const double dd = d;
    double post = std::floor((postTriggerSamples - 1) / dd) * d;
    // The counter range is that of the samples per frame stored before this apply.
    const double counterSamples = std::trunc(GetMaxCounterSeconds(r) * r);
    const double maxPost = std::floor((counterSamples - 1) / dd) * d;
    if (post > maxPost) {
        post = maxPost;
        status = 5;
    }
    post = std::max(post, 2.0);
    post = std::max(post, dd);
    post = std::min(post, (std::ceil(s / dd) - 1) * d);
    m_nRate = r;
    m_nSamplesPerFrame = d;
    m_nFrameCount = static_cast<int>(std::ceil(s / dd));
    m_nPostTriggerSamples = static_cast<int>(post) + 1;
    m_nEdge = edge;
    m_nPreTriggerPercent =
        s > 1 ? 100 + static_cast<int>(std::trunc((100.0 - 100.0 * (post + 1)) / (s - 1))) : 100;
    PushToCard();
    if (m_nAcquiring)
        PrepareLiveData();
    return status;
}

int CDataAcqWnd::ReapplyParams() {
    return ApplyParams(m_nRate, m_nSamplesPerFrame, m_nFrameCount * m_nSamplesPerFrame,
                       m_nPostTriggerSamples, m_nEdge);
}

int CDataAcqWnd::ApplyFrameParams(int frameRate, int samplesPerFrame, int frameCount,
                                  int postTriggerFrames, int edge) {
    // Products beyond an int are cut to the largest one; the apply then cuts them to the card.
    const auto product = [samplesPerFrame](int frames, int extra) {
        const int64_t value = int64_t(frames) * samplesPerFrame + extra;
        return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                                    std::numeric_limits<int>::max()));
    };
    return ApplyParams(product(frameRate, 0), samplesPerFrame, product(frameCount, 0),
                       product(postTriggerFrames, 1), edge);
}

void CDataAcqWnd::PushToCard() {
    IDriverDevice* card = Driver();
    if (!card)
        return;
    const int samples = m_nFrameCount * m_nSamplesPerFrame;
    // A card that is armed or busy keeps what it has; the next apply tries again.
    card->SetAcquisitionParams(m_nRate, samples);
    DriverTriggerSetting trigger;
    card->GetTriggerSetting(&trigger);
    trigger.type = 1;
    trigger.postTriggerFrames = m_nPostTriggerSamples;
    card->SetTriggerSetting(trigger);
}

// The acquisition.

void CDataAcqWnd::PrepareLiveData() {
    CVidraData& data = GetLiveData();
    const int window = std::max(1, m_nFrameCount * m_nSamplesPerFrame);
    int on = 0;
    for (int c = 0; c < CVidraData::kChannelSlots; ++c) {
        const bool channelOn = c < m_settings.ChannelNumbers() && m_settings.m_on[c] == 1;
        // A channel that comes on is shown; one the user hid stays hidden.
        if (channelOn && !data.m_onFlags[c])
            m_format.m_displayed[c] = true;
        data.m_onFlags[c] = channelOn ? 1 : 0;
        on += channelOn ? 1 : 0;
        data.m_factors[c] = m_format.m_factors[c];
        data.m_offsets[c] = m_format.m_offsets[c];
        data.m_labels[c] = m_format.m_labels[c];
        data.m_units[c] = m_format.m_units[c];
        data.m_colors[c] = static_cast<int32_t>(m_format.m_colors[c]);
    }
    data.m_channels.assign(static_cast<size_t>(on), std::vector<float>(size_t(window), 0.0f));
    data.m_nTotalScans = window;
    data.m_nScanRate = m_nRate;
    data.m_nScansPerFrame = std::max(1, m_nSamplesPerFrame);
    data.m_nFrameCount = window / data.m_nScansPerFrame;
    data.m_nTP = 0;
    data.m_nZP = 0;
    data.m_nSecondOrigin = 0;
    data.m_nScaled = 0;
}

int64_t CDataAcqWnd::ScansMade(int64_t from, int64_t guess) const {
    IDriverDevice* card = Driver();
    if (!card)
        return from;
    // A read of no scans from n succeeds exactly when the card has made n scans.
    std::vector<double> none;
    const auto made = [&](int64_t n) { return card->ReadSamples(n, 0, &none) == 0; };
    if (!made(from))
        return from;
    int64_t low = from;
    int64_t step = std::max<int64_t>(guess, 1);
    int64_t high = low + step;
    while (made(high)) {
        low = high;
        step *= 2;
        high = low + step;
    }
    while (high - low > 1) {
        const int64_t middle = low + (high - low) / 2;
        (made(middle) ? low : high) = middle;
    }
    return low;
}

int CDataAcqWnd::StartAcquisition() {
    IDriverDevice* card = Driver();
    if (!card)
        return 1;
    if (m_nAcquiring)
        return 1;
    if (const int refused = card->StartAcquisition())
        return refused;
    m_nAcquiring = 1;
    PushToCard();
    PrepareLiveData();
    m_nextScan = ScansMade(0, m_nRate / 10 + 1);
    m_lastTickScans = m_nRate / 10 + 1;
    if (GetSafeHwnd())
        SetTimer(kAcquisitionTimer, kTickMs);
    RefreshDisplay();
    RefreshPage();
    return 0;
}

int CDataAcqWnd::StopAcquisition() {
    if (GetSafeHwnd())
        KillTimer(kAcquisitionTimer);
    if (IDriverDevice* card = Driver(); card && m_nAcquiring)
        card->StopAcquisition();
    m_nAcquiring = 0;
    RefreshPage();
    return 0;
}

void CDataAcqWnd::Tick() {
    IDriverDevice* card = Driver();
    if (!m_nAcquiring || !card)
        return;
    // A card holding a recording reads its held scans: the live view waits.
    if (card->GetMode() == kModeStopped) {
        RefreshPage();
        return;
    }
    const int64_t made = ScansMade(m_nextScan, m_lastTickScans);
    CVidraData& data = GetLiveData();
    const int64_t window = data.m_nTotalScans;
    int64_t fresh = made - m_nextScan;
    if (fresh <= 0 || window < 1)
        return;
    int64_t first = m_nextScan;
    if (fresh > window) {
        first = made - window;
        fresh = window;
    }
    const int scans = static_cast<int>(fresh);
    if (card->ReadSamples(first, scans, &m_read) != 0 ||
        m_read.size() != size_t(scans) * size_t(m_nCardChannels) * 2) {
        return;
    }
    const size_t on = data.m_channels.size();
    m_block.resize(size_t(scans) * on);
    float* out = m_block.data();
    const size_t stride = size_t(m_nCardChannels) * 2;
    for (int i = 0; i < scans; ++i) {
        const double* scan = m_read.data() + size_t(i) * stride;
        for (int c = 0; c < CVidraData::kChannelSlots; ++c) {
            if (!data.m_onFlags[c])
                continue;
            // A channel the card does not have reads 0.
            *out++ = c < m_nCardChannels ? static_cast<float>(scan[size_t(c) * 2 + 1]) : 0.0f;
        }
    }
    if (on > 0)
        m_live.SetLastScans(m_block.data(), scans, static_cast<int>(m_block.size()));
    m_lastTickScans = made - m_nextScan;
    m_nextScan = made;
    RefreshDisplay();
    RefreshPage();
}

void CDataAcqWnd::RefreshDisplay() {
    if (!m_pDataDisplay)
        return;
    // Every tick: the user's zoom, pan and cursor stay where they were.
    m_pDataDisplay->SetData(&GetLiveData());
    m_pDataDisplay->UpdatePlot();
    m_pDataDisplay->UpdateReadout();
}

void CDataAcqWnd::RefreshPage() {
    if (CSensorRecordDlg* page = m_recordHost.GetPage())
        page->Refresh();
}

CSharedRef<CSensorDataSet> CDataAcqWnd::CopyMemory() {
    return DeviceDataSets::CopyMemory(this);
}

// Commands.

int CDataAcqWnd::HandleDeviceCommand(int, int, const VARIANT&, const VARIANT&, VARIANT* status,
                                     VARIANT*) {
    if (status) {
        VariantClear(status);
        status->vt = VT_I4;
        status->lVal = 1;
    }
    return 0;
}

int CDataAcqWnd::SendPageCommand(void* context, int code, const VARIANT& values, VARIANT* status,
                                 VARIANT* result) {
    auto* window = static_cast<CDataAcqWnd*>(context);
    int handle = -1;
    int subtype = -1;
    window->GetHandle(&handle);
    window->GetSubtype(&subtype);
    CComVariant command(static_cast<LONG>(code));
    return window->m_commandLink.SendCommand(handle, subtype, command, values, status, result);
}

// The window.

BOOL CDataAcqWnd::CreateHidden(CWnd* parent) {
    if (GetSafeHwnd())
        return TRUE;
    m_pParentWnd = parent;
    return Create(kTemplateId, parent);
}

BOOL CDataAcqWnd::ShowWindowFor(CWnd* parent) {
    if (!CreateHidden(parent))
        return FALSE;
    ShowWindow(SW_SHOW);
    int handle = -1;
    GetHandle(&handle);
    // While it shows, the window owns its card: no record group or other window takes it.
    OpenDevices::SetOwnerFlagByHandle(handle, 1);
    SetCurrentDataDevice(handle);
    RefreshPage();
    return TRUE;
}

BOOL CDataAcqWnd::OnInitDialog() {
    CDialog::OnInitDialog();
    CDeviceDescriptor descriptor;
    GetDescriptor(&descriptor);
    SetWindowText(QStringLiteral("Data Acquisition - ") + descriptor.m_name);
    int handle = -1;
    GetHandle(&handle);
    SetCurrentDataDevice(handle);
    m_recordHost.Create(this, 0);
    m_panelHost.Attach(this);
    m_displayLink.AttachViewDisplay(&m_panelHost);
    LayOut();
    RefreshDisplay();
    return TRUE;
}

void CDataAcqWnd::LayOut() {
    if (!GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    CRect place;
    if (CWnd* marker = GetDlgItem(kRecordPlace)) {
        marker->GetWindowRect(&place);
        ScreenToClient(&place);
    }
    int right = place.left;
    if (CSensorRecordDlg* page = m_recordHost.GetPage(); page && page->GetSafeHwnd()) {
        CRect pageRect;
        page->GetWindowRect(&pageRect);
        page->MoveWindow(place.left, place.top, pageRect.Width(), pageRect.Height());
        right = place.left + pageRect.Width();
    }
    if (CDataDisplayDlg* display = m_panelHost.GetDataDisplay(); display && display->GetSafeHwnd())
        display->MoveWindow(right + 4, place.top, std::max(50, client.right - right - 8),
                            std::max(50, client.bottom - place.top - 4));
}

void CDataAcqWnd::OnSize(UINT nType, int cx, int cy) {
    CDialog::OnSize(nType, cx, cy);
    LayOut();
}

void CDataAcqWnd::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kAcquisitionTimer)
        Tick();
    else
        CDialog::OnTimer(nIDEvent);
}

void CDataAcqWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CDialog::OnActivate(nState, pWndOther, bMinimized);
    if (nState != WA_INACTIVE) {
        int handle = -1;
        GetHandle(&handle);
        SetCurrentDataDevice(handle);
    }
}

void CDataAcqWnd::OnDestroy() {
    StopAcquisition();
    m_pDataDisplay = nullptr;
    CDialog::OnDestroy();
}

// Closing the window stops the acquisition and lets the card go; the window is kept for the
// next show.
void CDataAcqWnd::OnCancel() {
    StopAcquisition();
    ShowWindow(SW_HIDE);
    int handle = -1;
    GetHandle(&handle);
    OpenDevices::SetOwnerFlagByHandle(handle, 0);
}

void CDataAcqWnd::OnStart() {
    StartAcquisition();
}

void CDataAcqWnd::OnStop() {
    StopAcquisition();
}

// As a data view's context menu does: through the card's display link.
void CDataAcqWnd::OnTestTrigger() {
    m_displayLink.ShowTestTrigger();
}

int CDataAcqWnd::ShowTestTrigger() {
    if (!GetSafeHwnd())
        return 0;
    CResourceModuleScope scope(SensorRes::kModuleName);
    if (!m_testTrigger || !m_testTrigger->GetSafeHwnd()) {
        m_testTrigger = std::make_unique<CTestTriggerDlg>(this);
        if (!m_testTrigger->Create(SensorRes::kTestTriggerTemplate, this)) {
            m_testTrigger.reset();
            return 0;
        }
    }
    m_testTrigger->ShowWindow(SW_SHOW);
    m_testTrigger->SetOwner(this);
    return 1;
}

void InstallDataCardFactory() {
    DriverLoader::SetDeviceFactory(kDeviceTypeDataCard, [](const CDeviceId& id) -> CDevice* {
        CDeviceDescriptor descriptor(id);
        std::unique_ptr<IDriverDevice> driver = DriverLoader::OpenDriverDevice(id, &descriptor);
        if (!driver)
            return nullptr;
        return new CDataAcqWnd(descriptor, std::move(driver));
    });
}
