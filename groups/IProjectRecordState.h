#pragma once

// IProjectRecordState: what a project asks of its record controller view before letting a
// window go: whether its record group is recording now. The record controller view implements
// it; a view without it is never recording.

// The record group's state while it records.
inline constexpr int kRecordGroupRecording = 4;

class IProjectRecordState {
public:
    virtual int GetRecordGroupState() const = 0;

protected:
    ~IProjectRecordState() = default;
};
