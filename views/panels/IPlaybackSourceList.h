#pragma once

// IPlaybackSourceList: a play group's list of open playbacks as its control-panel pages see
// it: the playback views in order, a change flag the pages poll to know when to rebuild their
// trees, and the request to add a source. IPlaybackSourceOwner is the object the pages are
// linked to (the play group), which hands out its list.

class CPlaybackView;

// Kinds of source for AddSource, and the source types of the playback views.
inline constexpr int kPlaybackSourceData = 2;
inline constexpr int kPlaybackSourceVideo = 3;

class IPlaybackSourceList {
public:
    virtual ~IPlaybackSourceList() = default;

    virtual int GetCount() = 0;
    // The view at index, or null (also for an index outside the list).
    virtual CPlaybackView* GetView(int index) = 0;
    // Asks the play group to add a source of that kind (kPlaybackSourceData or
    // kPlaybackSourceVideo); the group asks the user for it.
    virtual void AddSource(int kind) = 0;
    // The pages pass 0 to clear the change flag once they noticed a change.
    virtual void SetChanged(int flag) = 0;
    // Nonzero when the list changed since the flag was last cleared.
    virtual int IsChanged() = 0;
};

class IPlaybackSourceOwner {
public:
    virtual ~IPlaybackSourceOwner() = default;
    // The owner's list, or null while it has none.
    virtual IPlaybackSourceList* GetPlaybackSourceList() = 0;
};
