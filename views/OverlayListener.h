#pragma once

// COverlayListener: the part that an overlay or settings object embeds to follow a video view.
// The view's COverlayHost keeps it in its list, hands it the view's window and forwards the
// view's events to its sink. Operations return status codes and never throw. A listener that
// is destroyed while attached takes itself out of its host's list.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinMessages.h"
#include "platform/wintypes/WinTypes.h"

#include <cstdint>

class COverlayHost;

// Receives the events a listener forwards: five pointer-sized values whose meaning the view
// that broadcasts them defines.
class IOverlaySink {
public:
    virtual HRESULT OnOverlayEvent(intptr_t v1, intptr_t v2, intptr_t v3, intptr_t v4,
                                   intptr_t v5) = 0;

protected:
    ~IOverlaySink() = default;
};

class COverlayListener {
public:
    COverlayListener() = default;
    virtual ~COverlayListener();
    COverlayListener(const COverlayListener&) = delete;
    COverlayListener& operator=(const COverlayListener&) = delete;

    virtual HRESULT Attach(HWND hWnd, COverlayHost* pHost);
    // Either out-pointer may be null.
    virtual HRESULT GetAttachment(HWND* phWnd, COverlayHost** ppHost);
    // The sink is not owned.
    virtual HRESULT SetSink(IOverlaySink* pSink);
    // Passes the values to the sink when there is one; S_OK in every case.
    virtual HRESULT Forward(intptr_t v1, intptr_t v2, intptr_t v3, intptr_t v4, intptr_t v5);
    // Schedules a repaint of the whole window, without erasing, when there is a window.
    virtual HRESULT Invalidate();
    virtual HRESULT SetIndex(int index);
    virtual HRESULT GetIndex(int* index);
    virtual HRESULT GetTag(int* tag);

protected:
    // Owner-defined; -1 until the owner sets it.
    int m_tag = -1;

private:
    HWND m_hWnd = nullptr;
    COverlayHost* m_pHost = nullptr;
    int m_index = -1;
    IOverlaySink* m_pSink = nullptr;
};
