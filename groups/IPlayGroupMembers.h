#pragma once

// IPlayGroupMembers: how code outside a play group's view reaches the group's members: their
// number, the playback view of each, adding one, and one value kept for the caller.

class CPlaybackView;

class IPlayGroupMembers {
public:
    virtual ~IPlayGroupMembers() = default;

    // Videos and data files together; -1 without a document.
    virtual int GetMemberCount() = 0;
    // Videos first, then data files; null outside the members or without a document.
    virtual CPlaybackView* GetMemberPlayback(int index) = 0;
    // 3 asks the user for a video, 2 for a data file; other types do nothing.
    virtual void AddMember(int type) = 0;
    // Stores value and returns it; the view makes no other use of it.
    virtual int SetExtraValue(int value) = 0;
    virtual int GetExtraValue() = 0;
};
