#pragma once

// CChangedFrameMeasView: the listener adapter of a play group's measurement view. Changes that
// arrive with the ids of the playback they came from move the group to that playback's frame.

#include "frames/ChangedFrameAdapter.h"
#include "frames/IMeasViewSync.h"

class CChangedFrameMeasView : public CChangedFrameAdapter {
public:
    // view: not owned; null: every change gives E_POINTER.
    explicit CChangedFrameMeasView(IMeasViewSync* view);

    // Nothing to do for a change without ids: S_OK with a view.
    HRESULT OnFrameChanged(int frame, int flag) override;
    // Synchronises the group to frame for the playback that dt and id name.
    HRESULT CFFrameChanges_withIDs(int frame, int dt, int id, int st, int flag) override;

private:
    IMeasViewSync* m_view;
};
