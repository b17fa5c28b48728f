#pragma once

// IMeasFrameDoc: what a frame-window adapter asks of its document (the play group's or the
// record controller's). The document implements it; this layer never sees the document's class.

#include "frames/IMovieView.h"

class CFrameWnd;
class CWnd;

class IMeasFrameDoc {
public:
    // The window whose child windows are the document's frames (null: none yet).
    virtual CWnd* GetMemberFrameParent() = 0;
    // Takes a new, empty video frame into the document's window and reports it (null when that
    // failed).
    virtual CFrameWnd* ParentNewVideoFrame() = 0;
    // The same for a data frame.
    virtual CFrameWnd* ParentNewDataFrame() = 0;
    // The frame-changed callback for new windows: false when the document has none.
    virtual bool GetMemberFrameChangedCallback(FrameChangedFn* fn, void** context) = 0;

protected:
    ~IMeasFrameDoc() = default;
};
