#pragma once

// IPlayGroupView: what the play-group document needs of its own view, the group view that
// hosts nothing itself but knows the group's container and sets new members up.

#include "frames/IMovieView.h"

class CView;
class CWnd;

class IPlayGroupView {
public:
    // The window that holds the group's frame and so every member frame: a project view or
    // the main window's client area. Null when the view has no frame yet.
    virtual CWnd* GetOwnerParentingView() = 0;
    // Takes the member the document has just added (its last-added record) into the group's
    // playback bookkeeping; viewFlag is the caller's value.
    virtual void SetUpMember(CView* memberView, int viewFlag) = 0;
    // Source id of the video in the top-most member frame, -1 when there is none.
    virtual int GetActiveVideoSourceId() = 0;
    // The callback with which the group hears of its members' frame changes; false (outputs
    // untouched) when the view gives none.
    virtual bool GetMemberFrameChangedCallback(FrameChangedFn* fn, void** context) {
        (void)fn;
        (void)context;
        return false;
    }

protected:
    ~IPlayGroupView() = default;
};
