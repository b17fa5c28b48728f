#pragma once

// IRecordGroupHost: what the record groups need of the program around them. The program installs
// one (CRecordGroup::SetHost); tests put their own in its place.

class CDevice;

class IRecordGroupHost {
public:
    // Whether the main window has begun to close.
    virtual bool IsClosing() = 0;
    // Runs the modal active-area dialog on the device's live video.
    virtual void ShowActiveArea(CDevice& device) = 0;
    // Waits milliseconds on the program's clock without handling messages (the pause between
    // arming the master and the slaves).
    virtual void Wait(int milliseconds) = 0;

protected:
    ~IRecordGroupHost() = default;
};
