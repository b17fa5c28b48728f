#pragma once

// IRecordGroupListener: the object a record group reports its state to (the document or project
// that holds the group).

class IRecordGroupListener {
public:
    // The group's record state went from oldState to newState.
    virtual void OnStateChanged(int oldState, int newState) = 0;
    // The group is about to put its devices live.
    virtual void OnBeforeLive() = 0;

protected:
    ~IRecordGroupListener() = default;
};
