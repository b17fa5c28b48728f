#pragma once

// IRecordingCompleteHandler: told by a record group when its recording has ended (the automatic
// download of the group).

class IRecordingCompleteHandler {
public:
    virtual void OnRecordingComplete() = 0;

protected:
    ~IRecordingCompleteHandler() = default;
};
