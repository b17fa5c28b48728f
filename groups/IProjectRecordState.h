#pragma once

// IProjectRecordState: what a project asks of its record controller view: whether its record
// group is recording now (before letting a window go), the window of one of its devices, and
// the listener of the controller itself, to which a project that listens to the group passes on
// what it does not handle. The record controller view implements it; a view without it is never
// recording.

class CView;
class IRecordGroupListener;

// The record group's state while it records.
inline constexpr int kRecordGroupRecording = 4;

class IProjectRecordState {
public:
    virtual int GetRecordGroupState() const = 0;
    // The embedded window of the device with that handle whose view is of kind (3 camera,
    // 2 data sensor), or null.
    virtual CView* FindDeviceWindow(int handle, int kind) = 0;
    virtual IRecordGroupListener* GetGroupListener() = 0;

protected:
    ~IProjectRecordState() = default;
};
