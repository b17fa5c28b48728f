#pragma once

// IMeasFrameDoc: what the play group's frame-window adapter asks of the play-group document.
// The document implements it; this layer never sees the document's class.

#include "frames/IMovieView.h"

class CFrameWnd;
class CWnd;

class IMeasFrameDoc {
public:
    // The group's window, whose child windows are the members' frames (null: none yet).
    virtual CWnd* GetMemberFrameParent() = 0;
    // Takes a new, empty video frame into the group and reports it (null when that failed).
    virtual CFrameWnd* ParentNewVideoFrame() = 0;
    // The same for a data frame.
    virtual CFrameWnd* ParentNewDataFrame() = 0;
    // The group's frame-changed callback for its members: false when it has none.
    virtual bool GetMemberFrameChangedCallback(FrameChangedFn* fn, void** context) = 0;

protected:
    ~IMeasFrameDoc() = default;
};
