#pragma once

// CRecordGroup: the devices a record controller records together. It moves them between idle,
// live and record, checks before recording that their record rates and trigger positions agree,
// keeps their frame limits and trigger settings alike when one of them changes, and is the
// command target of the device links bound to its devices, so that the record pages' commands
// reach it.
//
// User-interface thread only. The group learns that a recording has ended when its owner polls
// GetMasterRecordState; it then tells its state listener, its group listeners and the automatic
// download.

#include "devices/core/DeviceLink.h"
#include "devices/core/RecordGroupBase.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

class ISettingsStore;
class IRecordGroupHost;
class IRecordGroupListener;
class IRecordGroupOwner;
class IRecordingCompleteHandler;

class CRecordGroup : public CRecordGroupBase, public IDeviceCommandTarget {
public:
    // Record states.
    static constexpr int kUnknown = 0;
    static constexpr int kIdle = 1;
    static constexpr int kLive = 2;
    static constexpr int kPlayback = 3;
    static constexpr int kRecord = 4;

    CRecordGroup();
    ~CRecordGroup() override;

    // The program's services for every group (null: none; the pause is then a plain sleep).
    static void SetHost(IRecordGroupHost* host);

    // None of these objects is owned; each must outlive the group or be unset first.
    void SetStateListener(IRecordGroupListener* listener) { m_stateListener = listener; }
    IRecordGroupListener* GetStateListener() const { return m_stateListener; }
    // The record options ("Record:UseLiveVideo", "Record:UseLiveData"; absent keys count as 1).
    void SetRecordOptions(ISettingsStore* options) { m_options = options; }
    void SetRecordingCompleteHandler(IRecordingCompleteHandler* handler) {
        m_completeHandler = handler;
    }
    // The window that holds the group (null: none).
    void SetOwner(IRecordGroupOwner* owner) { m_owner = owner; }
    IRecordGroupOwner* GetOwner() const { return m_owner; }

    // Adding a device makes the group the command target of the links bound to it; removing it
    // takes the group away from them again. A group that owns its devices (the default) marks
    // each one attached while it holds it, and refuses (-1, nothing changes) a device another
    // group or window has attached: one device, one owner. A group that only borrows devices
    // for a while (the auto-record run) takes any open device and marks none.
    int AddDevice(int handle) override;
    int RemoveDevice(int handle) override;
    void SetOwnsDevices(bool owns) { m_ownsDevices = owns; }

    // Applies the record options, checks that rates and trigger positions agree (saying so when
    // they do not: E_FAIL), aligns the frame limits to the first device and arms it as master,
    // then, after a pause, the others as slaves while every call succeeds. The state becomes
    // Record when all succeeded, else Unknown; the result of the last device call comes back
    // (E_FAIL for an empty group).
    HRESULT RecordAllDevices();
    // When a device still plays a recording from its memory or holds one not yet saved, asks
    // "Erase device memory?" first
    // (No: E_ABORT, nothing changes). Then every device goes idle, master, live; state Live.
    HRESULT GoLive();
    // Every device idle, master, idle; state Idle. Nothing while the main window closes.
    void GoIdle();
    // Software stop of the first device, or the message that it has none.
    void Stop();
    // Software trigger of the first device: its answer (1 without a device).
    int Trigger();

    int GetState() const { return m_state; }
    // "Unknown", "Idle", "Live", "Playback", "Record"; "Triggered" while recording once the first
    // device reports its trigger.
    QString GetStateText();
    static QString GetStateName(int state);
    // The first device's mode as a record state: armed 4, live 2, idle 1, else 0 (0 without a
    // device). Once the first device has left arming holding a recording and no other device
    // is still armed, the group's recording has ended: the state (when Record) follows the first
    // device, and the state listener, the group listeners and the automatic download hear of it
    // before the answer comes back.
    int GetMasterRecordState();

    int GetCommandsEnabled() const { return m_commandsEnabled; }
    void SetCommandsEnabled(int enabled) { m_commandsEnabled = enabled; }
    // 0 while an automatic download cycle drives the group.
    int GetManualControl() const { return m_manualControl; }
    void SetManualControl(int manual) { m_manualControl = manual; }
    // Whether the record page chains its recordings (its buttons need it).
    int GetChainSetting() const { return m_chain; }
    void SetChainSetting(int chain) { m_chain = chain; }
    // Set by Stop, cleared by a new recording.
    int GetStopRequested() const { return m_stopRequested; }

    // The record pages' commands: code VT_I4; values a one-dimensional array of VT_R8 or VT_I4
    // whose first element is the value; status gets 1 unless the table says otherwise. Always 0.
    //   3  record rate: set on the sender and every device (each as near as it accepts), then
    //      frame limits and trigger settings aligned to the sender
    //   5  when a device's frame limit or trigger setting differs from the sender's: aligned
    //   6  trigger type: set on every device that accepts it
    //   7  frame limits and trigger settings aligned to the sender
    //   11, 15  the sender armed as master; status 0
    //   12, 13, 14  status 0 (the page goes on)
    //   16 frame limits and trigger settings aligned to the first device
    //   18 the active-area dialog on the sender
    //   23 the sender's record rate as a VT_R8 result
    // Commands 3, 6, 7, 11 to 15 act (and answer 0) only while commands are enabled. After 3,
    // 4, 5, 6, 7, 16, 17 and 22 every device link and this group's listeners are told.
    int HandleDeviceCommand(int handle, int subtype, const VARIANT& code, const VARIANT& values,
                            VARIANT* status, VARIANT* result) override;

    // Tells this group's listeners, and its state listener, that it changed.
    void NotifyListeners();

    // Asks the state listener to open the recording of the group's device with that handle as
    // a playback: its answer; E_FAIL without a listener or for a device outside the group.
    HRESULT PlayBackDevice(int handle);

private:
    void SetState(int state);
    void BindLinks(int handle, IDeviceCommandTarget* target, IDeviceCommandTarget* from);
    bool ApplyRecordOptions();
    int ReadOption(const char* key) const;
    bool RatesAgree();
    bool TriggerPositionsAgree();
    bool MatchesReference(CDevice* reference);
    void AlignTo(CDevice* reference);
    void SetRate(CDevice* device, double rate);
    void SetTriggerType(int type);
    int RecordSingle(CDevice* device);
    bool SlaveStillArmed();
    void EndRecording(int masterMode);

    IRecordGroupListener* m_stateListener = nullptr;
    ISettingsStore* m_options = nullptr;
    IRecordingCompleteHandler* m_completeHandler = nullptr;
    IRecordGroupOwner* m_owner = nullptr;
    int m_state = kUnknown;
    int m_commandsEnabled = 1;
    int m_manualControl = 1;
    int m_chain = 1;
    int m_stopRequested = 0;
    // The first device was armed and has not been seen to finish since.
    bool m_masterArmed = false;
    bool m_ownsDevices = true;
};
