#pragma once

// IRecordingInfoSource: what the analysis export needs to know of the recording whose tracks it
// writes: the index of its trigger frame (frame 0 of the exported numbering), its frame rate and
// its file name.

#include <QString>

class IRecordingInfoSource {
public:
    virtual ~IRecordingInfoSource() = default;
    virtual int GetTriggerFrameIndex() = 0;
    virtual double GetFrameRate() = 0;
    virtual QString GetFileName() = 0;
};
