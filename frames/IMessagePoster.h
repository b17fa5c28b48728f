#pragma once

// IMessagePoster (id 6): posts private messages to one window.

#include "frames/IIdUnknown.h"
#include "platform/wintypes/WinMessages.h"
#include "platform/wintypes/WinTypes.h"

class IMessagePoster : public virtual IIdUnknown {
public:
    static constexpr int kId = kIdMessagePoster;

    // The window that later posts go to (null: none).
    virtual HRESULT SetWindow(HWND window) = 0;
    // Posts without waiting; S_OK whatever became of the post (a window that is gone by then
    // never sees it).
    virtual HRESULT PostMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};
