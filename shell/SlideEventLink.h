#pragma once

// CSlideEventLink: passes a slide control's events to its owner from Connect until Disconnect.
// The control holds its sink as long as it likes, so the sink is cut off from the owner when the
// link lets go. Declare the link after the slide it listens to, so that it goes first.

#include "platform/com/IDispatch.h"
#include "platform/wintypes/WinTypes.h"

#include <functional>

class COutsideControlWnd;

class CSlideEventLink {
public:
    // The event, and for the two value events the pointer (from 1) and its value.
    using Handler = std::function<void(DISPID event, int pointer, double value)>;

    CSlideEventLink() = default;
    ~CSlideEventLink() { Disconnect(); }
    CSlideEventLink(const CSlideEventLink&) = delete;
    CSlideEventLink& operator=(const CSlideEventLink&) = delete;

    // Does nothing when connected already or when the slide holds no control.
    void Connect(COutsideControlWnd& slide, Handler handler);
    void Disconnect();

private:
    class Sink;

    Sink* m_sink = nullptr;
    COutsideControlWnd* m_slide = nullptr;
    DWORD m_cookie = 0;
};
