#pragma once

// IMeasViewSync: what the measurement view's frame-change adapter asks of the play group's
// measurement view. The measurement view implements it; this layer never sees its class.

class IMeasViewSync {
public:
    // Moves the group's playbacks to frame of the changed playback that dataType (3: video)
    // and id (its frame-source id) name. The adapter passes flag 1.
    virtual void SynchronizeToFrame(int frame, int dataType, int id, int flag) = 0;

protected:
    ~IMeasViewSync() = default;
};
