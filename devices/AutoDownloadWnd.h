#pragma once

// CAutoDownloadWnd: the automatic download of a record group. It repeats a cycle: the group goes
// live and records; it may trigger the first device itself after a delay (timer 1902); when the
// recording has ended it saves every device's recording under generated names and arms again,
// at once or after a delay (timer 1903), for a number of cycles or without end. A hidden window,
// for its timers; its settings come from its own option store ("adlsnapkeep.mpqsf").
//
// Delays run on the program's clock (AfxClock): a timer message that comes before its delay has
// passed only waits for the rest. A download that saves nothing, or fails part way, stops the
// cycle and leaves the recording in the devices' memory.

#include "devices/core/IRecordingCompleteHandler.h"
#include "platform/framework/Wnd.h"
#include "shell/DlgOptionsAutoDown.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

class CDocument;
class CRecordGroup;
class ISettingsStore;

// The option side of the automatic download, for the pages that edit it.
class IAutoDownloadOptions {
public:
    // Loads the option store from its file: S_OK, or E_FAIL when there is none.
    virtual HRESULT LoadOptionFile() = 0;
    // Copies the settings from the store (absent keys give the defaults).
    virtual void LoadSettings() = 0;
    // The store's modal dialog; on OK the file is saved and the settings reloaded. Its answer.
    virtual int EditOptions() = 0;
    // E_FAIL for a null out pointer.
    virtual HRESULT GetSettingsStore(ISettingsStore** store) = 0;

protected:
    ~IAutoDownloadOptions() = default;
};

class CAutoDownloadWnd : public CWnd,
                         public IRecordingCompleteHandler,
                         public IAutoDownloadOptions {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT_PTR kSelfTriggerTimer = 1902;
    static constexpr UINT_PTR kRearmTimer = 1903;
    static constexpr int kMinDelayMs = 100;

    struct Settings {
        int mode = 0;  // kept only
        int startCount = 0;
        int finite = 0;
        int maxCount = -1;
        QString baseName = QStringLiteral("adl");
        QStringList folders;
        int outputKind = 1;    // 1 AVI, 2 image sequence
        int outputFormat = 1;  // 1 AVI or BMP, 2 TIF, 3 JPG
        int rangeOption = 1;   // 1: only rangeFrom..rangeTo around the trigger
        int rangeFrom = 0;
        int rangeTo = -1;
        int delayedRearm = 0;
        int rearmDelaySeconds = -1;
        int selfTrigger = 0;
        int selfTriggerDelaySeconds = -1;
    };

    // Creates the hidden window and becomes the group's recording-complete handler. The group is
    // not owned and must outlive this object.
    explicit CAutoDownloadWnd(CRecordGroup* group);
    ~CAutoDownloadWnd() override;

    // Starts the cycle: the group leaves manual control, the counter starts at 0.
    void Enable();
    // The group goes live and records; then the self-trigger delay starts. A group that does
    // not go live or does not record ends the step (and a running cycle): a negative answer.
    HRESULT Arm();
    // Ends the cycle: timers stopped, manual control back, the group live.
    void Disable();
    // The group's recording has ended: while active, download, count, and arm again unless the
    // cycles are done.
    void OnRecordingComplete() override;
    // Saves every device's latest recording as "<base>_ad<start + counter>{v1}", "{v2}" ...
    // for videos and "{d1}" ... for data, in the first listed folder with room for all. S_OK;
    // E_FAIL when nothing could be saved or a save failed (each failure says why).
    HRESULT Download();
    // Arms now, or after the re-arm delay.
    void ScheduleRearm();
    // The documents whose windows a download reads from (its controller, its device windows):
    // a close of one while a download saves cancels that save first.
    void SetDocumentsInUse(std::function<std::vector<CDocument*>()> documents) {
        m_documentsInUse = std::move(documents);
    }

    HRESULT LoadOptionFile() override;
    void LoadSettings() override;
    int EditOptions() override;
    HRESULT GetSettingsStore(ISettingsStore** store) override;

    CRecordGroup* GetRecordGroup() const { return m_group; }
    CDlgOptionsAutoDown& GetOptionStore() { return m_options; }
    const Settings& GetSettings() const { return m_settings; }
    int IsActive() const { return m_active; }
    int GetCounter() const { return m_counter; }
    // The folder the last download went to (empty before the first).
    QString GetLastSaveFolder() const { return m_lastFolder; }
    // The delay a running timer was started with, 0 when it does not run.
    int GetTimerDelayMs(UINT_PTR id) const;

protected:
    void OnTimer(UINT_PTR nIDEvent);

private:
    struct Timer {
        int delayMs = 0;
        int64_t dueCount = 0;  // on AfxClock
    };

    void StartTimer(UINT_PTR id, int delaySeconds);
    void StopTimer(UINT_PTR id);
    // The cycle ends where it stands: the devices keep what they hold.
    void StopCycle();
    // The first folder with room for neededBytes; empty when none has.
    QString FolderWithRoom(int64_t neededBytes) const;
    // name, or name with the first free "!n!" suffix; empty when every one is taken.
    static QString FreeName(const QString& folder, const QString& name);

    CRecordGroup* m_group;
    CDlgOptionsAutoDown m_options;
    Settings m_settings;
    int m_active = 0;
    int m_counter = 0;
    QString m_lastFolder;
    std::map<UINT_PTR, Timer> m_timers;
    std::function<std::vector<CDocument*>()> m_documentsInUse;
};
