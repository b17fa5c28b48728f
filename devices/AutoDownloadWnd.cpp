#include "devices/AutoDownloadWnd.h"

#include "devices/core/Device.h"
#include "devices/core/RecordGroup.h"
#include "devices/sources/DeviceDataSets.h"
#include "devices/sources/DeviceFrameSources.h"
#include "frames/DataFileSaveTarget.h"
#include "frames/FileNames.h"
#include "frames/SaveControllerBase.h"
#include "frames/SaveVideoParams.h"
#include "frames/VideoSaveTarget.h"
#include "platform/com/Bstr.h"
#include "platform/framework/Clock.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/RunningOperation.h"
#include "platform/framework/WinApp.h"

#include <QDir>

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <vector>

namespace {

// Folders are read while the store answers, but never more than this.
constexpr int kMaxFolders = 2049;
constexpr int kMaxSuffix = 65535;

// The value of key when the store holds one.
std::optional<int> ReadInt(ISettingsStore& store, const char* key) {
    VARIANT value;
    if (FAILED(store.GetSetting(QString::fromLatin1(key), &value, -1)) || value.vt == VT_EMPTY)
        return std::nullopt;
    VARIANT number;
    const HRESULT converted = VariantChangeType(&number, &value, 0, VT_I4);
    VariantClear(&value);
    if (FAILED(converted))
        return std::nullopt;
    return static_cast<int>(number.lVal);
}

std::optional<QString> ReadText(ISettingsStore& store, const char* key, int index = -1) {
    VARIANT value;
    if (FAILED(store.GetSetting(QString::fromLatin1(key), &value, index)) || value.vt == VT_EMPTY)
        return std::nullopt;
    VARIANT text;
    const HRESULT converted = VariantChangeType(&text, &value, 0, VT_BSTR);
    VariantClear(&value);
    if (FAILED(converted))
        return std::nullopt;
    QString result = QStringFromBstr(text.bstrVal);
    VariantClear(&text);
    return result;
}

int64_t DelayCount(int milliseconds) {
    const int64_t frequency = AfxClock().Frequency();
    return milliseconds / 1000 * frequency + milliseconds % 1000 * frequency / 1000;
}

// One device's recording as it is saved.
struct Member {
    CDevice* device = nullptr;
    std::unique_ptr<ISaveTarget> target;
    CFrameSource* source = nullptr;  // a video's, held by target
    bool video = false;
    int number = 0;  // among the devices of its kind, from 1 in group order
};

}  // namespace

BEGIN_MESSAGE_MAP(CAutoDownloadWnd, CWnd)
ON_WM_TIMER()
END_MESSAGE_MAP()

CAutoDownloadWnd::CAutoDownloadWnd(CRecordGroup* group) : m_group(group) {
    Create(nullptr, QStringLiteral("Automatic Download"), 0, CRect(0, 0, 0, 0), nullptr, 0);
    if (m_group)
        m_group->SetRecordingCompleteHandler(this);
}

CAutoDownloadWnd::~CAutoDownloadWnd() {
    if (m_group)
        m_group->SetRecordingCompleteHandler(nullptr);
}

void CAutoDownloadWnd::Enable() {
    if (m_group)
        m_group->SetManualControl(0);
    m_active = 1;
    m_counter = 0;
}

HRESULT CAutoDownloadWnd::Arm() {
    if (!m_group)
        return E_FAIL;
    HRESULT result = m_group->GoLive();
    // Device calls answer 0 or a positive refusal; a refusal ends the step as a failure does.
    if (result == S_OK)
        result = m_group->RecordAllDevices();
    if (result != S_OK) {
        if (m_active)
            StopCycle();
        return FAILED(result) ? result : E_FAIL;
    }
    if (m_settings.selfTrigger && m_settings.selfTriggerDelaySeconds >= 0)
        StartTimer(kSelfTriggerTimer, m_settings.selfTriggerDelaySeconds);
    return S_OK;
}

void CAutoDownloadWnd::Disable() {
    StopTimer(kSelfTriggerTimer);
    StopTimer(kRearmTimer);
    if (m_group) {
        m_group->SetManualControl(1);
        m_group->GoLive();
    }
    m_active = 0;
}

void CAutoDownloadWnd::StopCycle() {
    StopTimer(kSelfTriggerTimer);
    StopTimer(kRearmTimer);
    if (m_group)
        m_group->SetManualControl(1);
    m_active = 0;
}

void CAutoDownloadWnd::OnRecordingComplete() {
    if (!m_active)
        return;
    if (Download() != S_OK) {
        StopCycle();
        return;
    }
    ++m_counter;
    if (m_settings.finite && m_counter >= m_settings.maxCount) {
        Disable();
        return;
    }
    ScheduleRearm();
}

void CAutoDownloadWnd::ScheduleRearm() {
    if (m_settings.delayedRearm && m_settings.rearmDelaySeconds >= 0)
        StartTimer(kRearmTimer, m_settings.rearmDelaySeconds);
    else
        Arm();
}

void CAutoDownloadWnd::StartTimer(UINT_PTR id, int delaySeconds) {
    const int64_t ms = std::clamp<int64_t>(int64_t{delaySeconds} * 1000, kMinDelayMs, INT_MAX);
    Timer& timer = m_timers[id];
    timer.delayMs = static_cast<int>(ms);
    timer.dueCount = AfxClock().Counter() + DelayCount(timer.delayMs);
    SetTimer(id, static_cast<UINT>(ms));
}

void CAutoDownloadWnd::StopTimer(UINT_PTR id) {
    m_timers.erase(id);
    KillTimer(id);
}

int CAutoDownloadWnd::GetTimerDelayMs(UINT_PTR id) const {
    const auto it = m_timers.find(id);
    return it == m_timers.end() ? 0 : it->second.delayMs;
}

void CAutoDownloadWnd::OnTimer(UINT_PTR nIDEvent) {
    const auto it = m_timers.find(nIDEvent);
    if (it == m_timers.end()) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    const int64_t left = it->second.dueCount - AfxClock().Counter();
    if (left > 0) {
        // Early: wait for the rest of the delay.
        const int64_t frequency = AfxClock().Frequency();
        SetTimer(nIDEvent, static_cast<UINT>(std::clamp<int64_t>(
                               (left * 1000 + frequency - 1) / frequency, 1, INT_MAX)));
        return;
    }
    StopTimer(nIDEvent);
    if (nIDEvent == kSelfTriggerTimer) {
        if (m_group)
            m_group->Trigger();
    } else if (nIDEvent == kRearmTimer) {
        Arm();
    }
}

QString CAutoDownloadWnd::FolderWithRoom(int64_t neededBytes) const {
    const int64_t neededKiB = (neededBytes + 1023) / 1024;
    for (const QString& folder : m_settings.folders) {
        if (folder.isEmpty())
            continue;
        const QString slashed = QString(folder).replace('\\', '/');
        if (CheckDiskSpace(neededKiB, slashed.endsWith('/') ? slashed : slashed + '/', false))
            return slashed;
    }
    return QString();
}

QString CAutoDownloadWnd::FreeName(const QString& folder, const QString& name) {
    const QStringList entries = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::System | QDir::NoDotAndDotDot);
    const auto taken = [&entries](const QString& prefix) {
        return std::any_of(entries.begin(), entries.end(), [&prefix](const QString& entry) {
            return entry.startsWith(prefix, Qt::CaseSensitive);
        });
    };
    if (!taken(name))
        return name;
    for (int n = 1; n <= kMaxSuffix; ++n) {
        const QString candidate = name + QStringLiteral("!%1!").arg(n);
        if (!taken(candidate))
            return candidate;
    }
    return QString();
}

HRESULT CAutoDownloadWnd::Download() {
    if (!m_group)
        return E_FAIL;
    std::vector<Member> members;
    int videos = 0;
    int dataSets = 0;
    int64_t neededBytes = 0;
    for (int i = 0; i < m_group->GetDeviceCount(); ++i) {
        CDevice* device = m_group->GetDeviceAt(i);
        int type = 0;
        if (!device || device->GetType(&type) != 0)
            continue;
        Member member;
        member.device = device;
        if (type == kDeviceTypeCamera) {
            member.video = true;
            member.number = ++videos;
            CFrameSourcePtr source = DeviceFrameSources::GetLatestRecording(device);
            if (source.IsEmpty())
                continue;
            member.source = source.Get();
            member.target = std::make_unique<CVideoSaveTarget>(std::move(source));
        } else if (type == kDeviceTypeDataCard) {
            member.number = ++dataSets;
            CSharedRef<CSensorDataSet> data = DeviceDataSets::CopyMemory(device);
            if (data.IsEmpty())
                continue;
            member.target = std::make_unique<CDataFileSaveTarget>(std::move(data));
        } else {
            continue;  // neither video nor data: nothing to save from it
        }
        int64_t bytes = 0;
        member.target->EstimateSaveSize(&bytes, 0, -1);
        neededBytes += std::max<int64_t>(bytes, 0);
        members.push_back(std::move(member));
    }
    if (members.empty())
        return E_FAIL;

    const QString folder = FolderWithRoom(neededBytes);
    if (folder.isEmpty()) {
        CWnd* main = AfxGetMainWnd();
        AfxPrompter().MessageBox({QStringLiteral("Insufficient Disk Space."),
                                  QStringLiteral("Error"), MB_OK | MB_ICONEXCLAMATION,
                                  main ? main->GetQWidget() : nullptr});
        return E_FAIL;
    }
    const QString name =
        FreeName(folder, m_settings.baseName +
                             QStringLiteral("_ad%1").arg(m_settings.startCount + m_counter));
    if (name.isEmpty()) {
        CWnd* main = AfxGetMainWnd();
        AfxPrompter().MessageBox(
            {QStringLiteral("Every name for this download is taken in %1.").arg(folder),
             QStringLiteral("Error"), MB_OK | MB_ICONEXCLAMATION,
             main ? main->GetQWidget() : nullptr});
        return E_FAIL;
    }

    // A close that would free what the download reads presses the running save's Cancel: the
    // save fails, and with it the download, which stops the cycle.
    CFrameSource* saving = nullptr;
    const CRunningOperation running(
        m_documentsInUse ? m_documentsInUse() : std::vector<CDocument*>(),
        [&saving] { CSaveControllerBase::CancellerOf(saving)(); });
    for (Member& member : members) {
        ISaveTarget& target = *member.target;
        saving = member.source;
        int first = 0;
        int count = 0;
        double rate = 0;
        target.GetFirstFrameNumber(&first);
        target.GetFrameCount(&count);
        target.GetRate(&rate);
        CSaveVideoParams params;
        target.InitParams(&params);
        params.m_firstFrame = 0;
        params.m_lastFrame = count - 1;
        params.m_quiet = 1;
        if (member.video)
            target.SetOutputKind(&params, m_settings.outputKind, m_settings.outputFormat);
        // The closing '.' keeps a '.' inside the base name from passing for an extension: the
        // target puts its own.
        const QString tag =
            QStringLiteral("{%1%2}").arg(member.video ? 'v' : 'd').arg(member.number);
        target.SetOutputName(&params, folder, name + tag + '.');
        if (m_settings.rangeOption) {
            // A video numbers its frames from the trigger; a data set keeps the trigger scan as
            // its zero point.
            const int trigger = member.video ? -first : first;
            int rangeFirst = 0;
            int rangeLast = 0;
            target.MapFrameRange(rate, trigger, count, rate, m_settings.rangeTo,
                                 m_settings.rangeFrom, &rangeFirst, &rangeLast);
            target.SetRange(&params, rangeFirst, rangeLast);
        }
        if (target.Save(&params) != S_OK)
            return E_FAIL;
        member.device->SetRecordingKept();
    }
    m_lastFolder = folder;
    return S_OK;
}

HRESULT CAutoDownloadWnd::LoadOptionFile() {
    return m_options.LoadOptionFile();
}

void CAutoDownloadWnd::LoadSettings() {
    ISettingsStore& store = m_options;
    Settings& s = m_settings;
    if (const std::optional<int> mode = ReadInt(store, "ADL:ADLmode"))
        s.mode = *mode;
    s.startCount = ReadInt(store, "ADL:nStartCount").value_or(0);
    s.finite = ReadInt(store, "ADL:nReset_Infinite_Finite").value_or(0) == 1 ? 1 : 0;
    s.maxCount = ReadInt(store, "ADL:nResetMaxCount").value_or(-1);
    s.baseName = ReadText(store, "SK:sBaseName").value_or(QStringLiteral("adl"));
    s.folders.clear();
    for (int i = 0; i < kMaxFolders; ++i) {
        const std::optional<QString> folder = ReadText(store, "SK:sDir", i);
        if (!folder)
            break;
        s.folders.append(*folder);
    }
    if (const std::optional<QString> format = ReadText(store, "SK:sFormat")) {
        const QString upper = format->toUpper();
        if (upper == QLatin1String("AVI")) {
            s.outputKind = CSaveVideoParams::kAvi;
            s.outputFormat = 1;
        } else if (upper == QLatin1String("BMP")) {
            s.outputKind = CSaveVideoParams::kSequence;
            s.outputFormat = CSaveVideoParams::kBmp;
        } else if (upper == QLatin1String("TIF")) {
            s.outputKind = CSaveVideoParams::kSequence;
            s.outputFormat = CSaveVideoParams::kTiff;
        } else if (upper == QLatin1String("JPG")) {
            s.outputKind = CSaveVideoParams::kSequence;
            s.outputFormat = CSaveVideoParams::kJpeg;
        }
    }
    s.rangeOption = ReadInt(store, "SK:nRangeOption").value_or(1) == 0 ? 0 : 1;
    s.rangeFrom = ReadInt(store, "SK:nRangeFrom").value_or(0);
    s.rangeTo = ReadInt(store, "SK:nRangeTo").value_or(-1);
    s.delayedRearm = ReadInt(store, "ADL:bDelayedRearm").value_or(0);
    s.rearmDelaySeconds = ReadInt(store, "ADL:nDelayedTimeRearm").value_or(-1);
    s.selfTrigger = ReadInt(store, "ADL:bSelfTrigger").value_or(0);
    s.selfTriggerDelaySeconds = ReadInt(store, "ADL:nDelayedTimeSelfTrigger").value_or(-1);
}

int CAutoDownloadWnd::EditOptions() {
    const int answer = static_cast<int>(m_options.DoModal());
    if (answer == IDOK) {
        m_options.SaveOptionFile();
        LoadSettings();
    }
    return answer;
}

HRESULT CAutoDownloadWnd::GetSettingsStore(ISettingsStore** store) {
    if (!store)
        return E_FAIL;
    *store = &m_options;
    return S_OK;
}
