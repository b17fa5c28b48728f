#include "devices/core/RecordGroup.h"

#include "devices/core/Device.h"
#include "devices/core/IRecordGroupHost.h"
#include "devices/core/IRecordGroupListener.h"
#include "devices/core/IRecordingCompleteHandler.h"
#include "devices/core/OpenDeviceList.h"
#include "devices/core/RecordGroupListener.h"
#include "platform/com/ISettingsStore.h"
#include "platform/framework/IPrompter.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

namespace {

IRecordGroupHost* s_host = nullptr;

constexpr int kPauseAfterMasterMs = 100;

// The commands the group answers.
constexpr int kCmdRecordRate = 3;
constexpr int kCmdCheckTrigger = 5;
constexpr int kCmdTriggerType = 6;
constexpr int kCmdAlignToSender = 7;
constexpr int kCmdRecordDevice = 11;
constexpr int kCmdTriggerStop = 12;
constexpr int kCmdStop = 13;
constexpr int kCmdRecord = 14;
constexpr int kCmdRecordView = 15;
constexpr int kCmdAlignToFirst = 16;
constexpr int kCmdActiveArea = 18;
constexpr int kCmdReadRate = 23;

bool NotifiesAfter(int command) {
    switch (command) {
        case 3:
        case 4:
        case 5:
        case 6:
        case 7:
        case 16:
        case 17:
        case 22:
            return true;
        default:
            return false;
    }
}

int CommandCode(const VARIANT& code) {
    VARIANT converted;
    if (FAILED(VariantChangeType(&converted, &code, 0, VT_I4)))
        return -1;
    return static_cast<int>(converted.lVal);
}

// The first element of a one-dimensional number array, whatever its element type.
bool FirstValue(const VARIANT& values, double* value) {
    if (!(values.vt & VT_ARRAY) || !values.parray || SafeArrayGetElementCount(values.parray) == 0)
        return false;
    LONG first = 0;
    VARTYPE vt = VT_EMPTY;
    if (FAILED(SafeArrayGetLBound(values.parray, 1, &first)) ||
        FAILED(SafeArrayGetVartype(values.parray, &vt)))
        return false;
    switch (vt) {
        case VT_R8:
            return SUCCEEDED(SafeArrayGetElement(values.parray, &first, value));
        case VT_R4: {
            float number = 0;
            if (FAILED(SafeArrayGetElement(values.parray, &first, &number)))
                return false;
            *value = number;
            return true;
        }
        case VT_I4: {
            LONG number = 0;
            if (FAILED(SafeArrayGetElement(values.parray, &first, &number)))
                return false;
            *value = number;
            return true;
        }
        case VT_I2: {
            int16_t number = 0;
            if (FAILED(SafeArrayGetElement(values.parray, &first, &number)))
                return false;
            *value = number;
            return true;
        }
        default:
            return false;
    }
}

// The status a command answers lives in the low 16 bits of the caller's VARIANT.
void SetStatus(VARIANT* status, int value) {
    if (!status)
        return;
    if (status->vt == VT_I2) {
        status->iVal = static_cast<int16_t>(value);
    } else if (status->vt == VT_I4) {
        status->lVal = static_cast<LONG>((static_cast<uint32_t>(status->lVal) & 0xFFFF0000u) |
                                         (static_cast<uint32_t>(value) & 0xFFFFu));
    } else {
        VariantClear(status);
        status->vt = VT_I4;
        status->lVal = value;
    }
}

int StateOfMode(int mode) {
    switch (mode) {
        case kModeArmed:
            return CRecordGroup::kRecord;
        case kModeLive:
            return CRecordGroup::kLive;
        case kModeIdle:
            return CRecordGroup::kIdle;
        default:
            return CRecordGroup::kUnknown;
    }
}

// The frame limit and trigger setting a device records with; false when it cannot tell.
bool ReadTrigger(CDevice* device, int* maxFrames, DriverTriggerSetting* setting) {
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    return driver && driver->GetMaxFrames(maxFrames) == 0 && *maxFrames > 0 &&
           driver->GetTriggerSetting(setting) == 0;
}

// The share of a recording kept before the trigger, in whole percent as the pages show it;
// -1 when the device cannot tell.
long PreTriggerPercent(CDevice* device) {
    int maxFrames = 0;
    DriverTriggerSetting setting;
    if (!ReadTrigger(device, &maxFrames, &setting))
        return -1;
    return std::lround(100.0 * (maxFrames - setting.postTriggerFrames) / maxFrames);
}

void Pause(int milliseconds) {
    if (s_host)
        s_host->Wait(milliseconds);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

CRecordGroup::CRecordGroup() = default;

CRecordGroup::~CRecordGroup() {
    for (int i = 0; i < GetDeviceCount(); ++i) {
        BindLinks(GetDeviceHandle(i), nullptr, this);
        if (m_ownsDevices)
            OpenDevices::SetOwnerFlagByHandle(GetDeviceHandle(i), 0);
    }
    CRecordGroupListener::ForEach([this](CRecordGroupListener& listener) {
        if (listener.GetGroup() == this)
            listener.OnGroupClosed();
    });
}

void CRecordGroup::SetHost(IRecordGroupHost* host) {
    s_host = host;
}

int CRecordGroup::AddDevice(int handle) {
    if (m_ownsDevices && FindDevice(handle) < 0) {
        if (OpenDevices::GetOwnerFlagByHandle(handle) > 0)
            return -1;
        OpenDevices::SetOwnerFlagByHandle(handle, 1);
    }
    const int index = CRecordGroupBase::AddDevice(handle);
    BindLinks(handle, this, nullptr);
    return index;
}

int CRecordGroup::RemoveDevice(int handle) {
    if (m_ownsDevices && FindDevice(handle) >= 0)
        OpenDevices::SetOwnerFlagByHandle(handle, 0);
    BindLinks(handle, nullptr, this);
    return CRecordGroupBase::RemoveDevice(handle);
}

void CRecordGroup::BindLinks(int handle, IDeviceCommandTarget* target, IDeviceCommandTarget* from) {
    const CDeviceLinkList list;
    std::vector<CDeviceLink*> links(static_cast<size_t>(list.GetCount()));
    links.resize(static_cast<size_t>(list.GetLinks(links.data(), static_cast<int>(links.size()))));
    for (CDeviceLink* link : links) {
        if (link->GetHandle() == handle && (!from || link->GetCommandTarget() == from))
            link->SetCommandTarget(target);
    }
}

void CRecordGroup::SetState(int state) {
    const int old = m_state;
    m_state = state;
    if (m_stateListener)
        m_stateListener->OnStateChanged(old, state);
}

void CRecordGroup::NotifyListeners() {
    CRecordGroupListener::ForEach([this](CRecordGroupListener& listener) {
        if (listener.GetGroup() == this)
            listener.OnGroupChanged();
    });
    if (m_stateListener)
        m_stateListener->OnGroupChanged();
}

HRESULT CRecordGroup::PlayBackDevice(int handle) {
    if (!m_stateListener || FindDevice(handle) < 0)
        return E_FAIL;
    return m_stateListener->AddPlayback(handle);
}

int CRecordGroup::ReadOption(const char* key) const {
    if (!m_options)
        return 1;
    VARIANT value;
    if (FAILED(m_options->GetSetting(QString::fromLatin1(key), &value, -1)) || value.vt == VT_EMPTY)
        return 1;
    VARIANT number;
    const HRESULT converted = VariantChangeType(&number, &value, 0, VT_I4);
    VariantClear(&value);
    return SUCCEEDED(converted) ? static_cast<int>(number.lVal) : 1;
}

bool CRecordGroup::ApplyRecordOptions() {
    const int liveData = ReadOption("Record:UseLiveData");
    const int liveVideo = ReadOption("Record:UseLiveVideo");
    for (int i = 0; i < GetDeviceCount(); ++i) {
        CDevice* device = GetDeviceAt(i);
        int type = 0;
        if (!device || device->GetType(&type) != 0)
            return false;
        if (type == kDeviceTypeDataCard && device->SetFeatureOn(0, liveData) != 0)
            return false;
        if (type == kDeviceTypeCamera && device->SetFeatureOn(0, liveVideo) != 0)
            return false;
    }
    return true;
}

bool CRecordGroup::RatesAgree() {
    double first = 0;
    if (GetDeviceCount() == 0 || !GetDeviceAt(0) || GetDeviceAt(0)->GetRecordRate(&first) != 0)
        return false;
    for (int i = 1; i < GetDeviceCount(); ++i) {
        double rate = 0;
        CDevice* device = GetDeviceAt(i);
        if (!device || device->GetRecordRate(&rate) != 0 ||
            std::fabs(rate - first) > 1e-9 * std::max(1.0, std::fabs(first)))
            return false;
    }
    return true;
}

bool CRecordGroup::TriggerPositionsAgree() {
    const long first = PreTriggerPercent(GetDeviceAt(0));
    if (first < 0)
        return false;
    for (int i = 1; i < GetDeviceCount(); ++i) {
        if (PreTriggerPercent(GetDeviceAt(i)) != first)
            return false;
    }
    return true;
}

bool CRecordGroup::MatchesReference(CDevice* reference) {
    int maxFrames = 0;
    DriverTriggerSetting setting;
    if (!ReadTrigger(reference, &maxFrames, &setting))
        return true;  // nothing to align to
    for (int i = 0; i < GetDeviceCount(); ++i) {
        int frames = 0;
        DriverTriggerSetting own;
        if (!ReadTrigger(GetDeviceAt(i), &frames, &own) || frames != maxFrames ||
            own.type != setting.type || own.postTriggerFrames != setting.postTriggerFrames)
            return false;
    }
    return true;
}

void CRecordGroup::AlignTo(CDevice* reference) {
    int maxFrames = 0;
    DriverTriggerSetting setting;
    if (!ReadTrigger(reference, &maxFrames, &setting))
        return;
    for (int i = 0; i < GetDeviceCount(); ++i) {
        CDevice* device = GetDeviceAt(i);
        if (!device || device == reference || !device->Driver())
            continue;
        IDriverDevice* driver = device->Driver();
        // A device whose memory holds fewer frames keeps what it holds; its trigger setting
        // then keeps its post-trigger count within that.
        driver->SetMaxFrames(maxFrames);
        int frames = 0;
        DriverTriggerSetting own;
        if (!ReadTrigger(device, &frames, &own))
            continue;
        DriverTriggerSetting wanted = own;
        wanted.type = setting.type;
        wanted.postTriggerFrames = std::min(setting.postTriggerFrames, frames);
        if (driver->SetTriggerSetting(wanted) != 0 && wanted.type != own.type) {
            wanted.type = own.type;
            driver->SetTriggerSetting(wanted);
        }
    }
}

void CRecordGroup::SetRate(CDevice* device, double rate) {
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver || driver->SetRecordRate(rate) == 0)
        return;
    // The nearest rate the device offers, else the rate brought into its range.
    std::vector<double> rates;
    double nearest = rate;
    if (driver->GetRateList(&rates) == 0 && !rates.empty()) {
        nearest = *std::min_element(rates.begin(), rates.end(), [rate](double a, double b) {
            return std::fabs(a - rate) < std::fabs(b - rate);
        });
    } else {
        double minimum = 0;
        double maximum = 0;
        if (driver->GetRateRange(&minimum, &maximum) != 0 || minimum > maximum)
            return;
        nearest = std::clamp(rate, minimum, maximum);
    }
    if (nearest != rate)
        driver->SetRecordRate(nearest);
}

void CRecordGroup::SetTriggerType(int type) {
    for (int i = 0; i < GetDeviceCount(); ++i) {
        CDevice* device = GetDeviceAt(i);
        IDriverDevice* driver = device ? device->Driver() : nullptr;
        DriverTriggerSetting setting;
        if (!driver || driver->GetTriggerSetting(&setting) != 0)
            continue;
        setting.type = type;
        driver->SetTriggerSetting(setting);
    }
}

HRESULT CRecordGroup::RecordAllDevices() {
    if (GetDeviceCount() == 0)
        return E_FAIL;
    if (!ApplyRecordOptions()) {
        AfxMessageBox(QStringLiteral("Unable to set record options for all devices."),
                      MB_OK | MB_ICONWARNING);
        return E_FAIL;
    }
    if (!RatesAgree()) {
        AfxMessageBox(QStringLiteral("Inconsistent record rates detected."),
                      MB_OK | MB_ICONINFORMATION);
        return E_FAIL;
    }
    if (!TriggerPositionsAgree()) {
        AfxMessageBox(QStringLiteral("Inconsistent trigger percentages detected."),
                      MB_OK | MB_ICONINFORMATION);
        return E_FAIL;
    }
    CDevice* master = GetDeviceAt(0);
    AlignTo(master);
    int result = master->SetRole(kRoleMaster);
    if (result == 0)
        result = master->SetMode(kModeArmed);
    m_masterArmed = result == 0;
    if (result == 0)
        Pause(kPauseAfterMasterMs);
    for (int i = 1; i < GetDeviceCount() && result == 0; ++i) {
        CDevice* slave = GetDeviceAt(i);
        result = slave->SetRole(kRoleSlave);
        if (result == 0)
            result = slave->SetMode(kModeArmed);
    }
    SetState(result == 0 ? kRecord : kUnknown);
    m_stopRequested = 0;
    return result;
}

HRESULT CRecordGroup::GoLive() {
    bool mayOverwrite = true;
    for (int i = 0; i < GetDeviceCount(); ++i) {
        // A recording not yet saved is lost as much as one a window still plays.
        if (CDevice* device = GetDeviceAt(i);
            device && (!device->MayOverwriteMemory() || device->HoldsUnsavedRecording()))
            mayOverwrite = false;
    }
    if (!mayOverwrite &&
        AfxMessageBox(QStringLiteral("Erase device memory?"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return E_ABORT;
    m_masterArmed = false;
    if (m_stateListener)
        m_stateListener->OnBeforeLive();
    for (int i = 0; i < GetDeviceCount(); ++i) {
        if (CDevice* device = GetDeviceAt(i)) {
            device->SetMode(kModeIdle);
            device->SetRole(kRoleMaster);
            device->SetMode(kModeLive);
        }
    }
    SetState(kLive);
    return S_OK;
}

void CRecordGroup::GoIdle() {
    if (s_host && s_host->IsClosing())
        return;
    m_masterArmed = false;
    for (int i = 0; i < GetDeviceCount(); ++i) {
        if (CDevice* device = GetDeviceAt(i)) {
            device->SetMode(kModeIdle);
            device->SetRole(kRoleMaster);
            device->SetMode(kModeIdle);
        }
    }
    SetState(kIdle);
}

void CRecordGroup::Stop() {
    m_stopRequested = 1;
    CDevice* master = GetDeviceAt(0);
    if (!master)
        return;
    if (master->GetStopSupport() == kNoSoftwareStop) {
        AfxMessageBox(QStringLiteral("Software Stop is not supported by the current device.\n"
                                     "You must Trigger the device to complete the recording."),
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    master->Stop();
}

int CRecordGroup::Trigger() {
    CDevice* master = GetDeviceAt(0);
    return master ? master->Trigger() : 1;
}

QString CRecordGroup::GetStateName(int state) {
    switch (state) {
        case kIdle:
            return QStringLiteral("Idle");
        case kLive:
            return QStringLiteral("Live");
        case kPlayback:
            return QStringLiteral("Playback");
        case kRecord:
            return QStringLiteral("Record");
        default:
            return QStringLiteral("Unknown");
    }
}

QString CRecordGroup::GetStateText() {
    if (m_state == kRecord) {
        CDevice* master = GetDeviceAt(0);
        if (master && master->IsTriggered())
            return QStringLiteral("Triggered");
    }
    return GetStateName(m_state);
}

int CRecordGroup::GetMasterRecordState() {
    CDevice* master = GetDeviceAt(0);
    if (!master)
        return kUnknown;
    int mode = master->GetMode();
    if (mode == kModeArmed) {
        m_masterArmed = true;
    } else if (m_masterArmed) {
        int frames = 0;
        const bool holding = mode == kModeStopped && master->Driver() &&
                             master->Driver()->GetRecordedFrames(&frames) == 0 && frames > 0;
        // A slave ends its recording a little after its master; until it has, its recording
        // cannot be read.
        if (holding && SlaveStillArmed())
            return StateOfMode(mode);
        m_masterArmed = false;
        if (holding) {
            EndRecording(mode);
            // Those told may have armed the group again.
            mode = master->GetMode();
        }
    }
    return StateOfMode(mode);
}

bool CRecordGroup::SlaveStillArmed() {
    for (int i = 1; i < GetDeviceCount(); ++i) {
        if (CDevice* device = GetDeviceAt(i); device && device->GetMode() == kModeArmed)
            return true;
    }
    return false;
}

void CRecordGroup::EndRecording(int masterMode) {
    if (m_state == kRecord)
        SetState(StateOfMode(masterMode));
    if (m_stateListener)
        m_stateListener->OnRecordingEnded(m_state);
    NotifyListeners();
    if (m_completeHandler)
        m_completeHandler->OnRecordingComplete();
}

int CRecordGroup::RecordSingle(CDevice* device) {
    if (!device)
        return 1;
    m_stopRequested = 0;
    int result = device->SetRole(kRoleMaster);
    if (result == 0)
        result = device->SetMode(kModeArmed);
    if (result == 0 && device == GetDeviceAt(0))
        m_masterArmed = true;
    return result;
}

int CRecordGroup::HandleDeviceCommand(int handle, int, const VARIANT& code, const VARIANT& values,
                                      VARIANT* status, VARIANT* result) {
    const int command = CommandCode(code);
    CDevice* sender = GetDevice(handle, 1);
    const bool enabled = m_commandsEnabled != 0;
    int answer = 1;
    double value = 0;
    switch (command) {
        case kCmdRecordRate:
            if (enabled && sender && FirstValue(values, &value)) {
                SetRate(sender, value);
                for (int i = 0; i < GetDeviceCount(); ++i) {
                    if (GetDeviceAt(i) != sender)
                        SetRate(GetDeviceAt(i), value);
                }
                AlignTo(sender);
            }
            break;
        case kCmdCheckTrigger:
            if (sender && !MatchesReference(sender))
                AlignTo(sender);
            break;
        case kCmdTriggerType:
            if (enabled && FirstValue(values, &value))
                SetTriggerType(static_cast<int>(value));
            break;
        case kCmdAlignToSender:
            if (enabled && sender)
                AlignTo(sender);
            break;
        case kCmdRecordDevice:
        case kCmdRecordView:
            if (enabled) {
                answer = 0;
                RecordSingle(sender);
            }
            break;
        case kCmdTriggerStop:
        case kCmdStop:
        case kCmdRecord:
            answer = enabled ? 0 : 1;
            break;
        case kCmdAlignToFirst:
            AlignTo(GetDeviceAt(0));
            break;
        case kCmdActiveArea:
            if (sender && s_host)
                s_host->ShowActiveArea(*sender);
            break;
        case kCmdReadRate:
            if (sender && result && sender->GetRecordRate(&value) == 0) {
                VariantClear(result);
                result->vt = VT_R8;
                result->dblVal = value;
            }
            break;
        default:
            break;
    }
    SetStatus(status, answer);
    if (NotifiesAfter(command)) {
        NotifyDeviceLinks();
        NotifyListeners();
    }
    return 0;
}
