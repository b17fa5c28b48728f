#pragma once

// CVidViewToolAdapter: the video view's adapter for measuring tools. It has a processed frame
// source made over the view's source, whose data channel keeps the mean pixel value of every
// frame, and shows that history in a data window that follows the source's frames.

#include "platform/wintypes/WinMessages.h"
#include "views/VidViewSourceAdapter.h"

class CVidViewToolAdapter : public CVidViewSourceAdapter {
public:
    // A processed source over inner; its data channel is reported through *channel.
    HRESULT CreateProcessed(const CFrameSourcePtr& inner, IIdUnknown** channel);
    // The same with a trigger data channel, whose trigger posts to triggerWindow.
    HRESULT CreateProcessedEx(const CFrameSourcePtr& inner, HWND triggerWindow,
                              IIdUnknown** channel);
    // The asker's (a data channel's) history in a data window of the host titled title; a new
    // window's listener adapter is linked to the source, so the window follows its frames.
    HRESULT OpenFor(IIdUnknown* asker, const QString& title) override;
    // The source and its channel; E_POINTER when either out is null.
    HRESULT GetSource(int, CFrameSourcePtr* out, IIdUnknown** channel);
};
