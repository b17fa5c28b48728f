#pragma once

// IRecordGroupListener: the object a record group reports to (the document or project that
// holds the group). A project that listens handles the playbacks itself and passes the last
// three operations on to the record controller's own listener.

#include "platform/wintypes/WinError.h"

class IRecordGroupListener {
public:
    // The device of the group with that handle holds a recording to be played back.
    virtual HRESULT AddPlayback(int deviceHandle) = 0;
    // The group's record state went from oldState to newState.
    virtual HRESULT OnStateChanged(int oldState, int newState) = 0;
    // The group has seen its recording end; state is the group's state after it.
    virtual HRESULT OnRecordingEnded(int state) = 0;
    // The group is about to put its devices live.
    virtual HRESULT OnBeforeLive() = 0;
    // The group's devices changed together (a device came or its settings were aligned).
    virtual HRESULT OnGroupChanged() = 0;

protected:
    ~IRecordGroupListener() = default;
};
