#pragma once

// COverlayHost: the list of overlay listeners of one video view. It gives each listener the
// view's window and a registration number, forwards the view's broadcasts to them in order,
// and detaches them (without deleting them) when it goes.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinMessages.h"
#include "platform/wintypes/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class COverlayListener;

class COverlayHost {
public:
    COverlayHost() = default;
    // Detaches every listener so that none refers to this host afterwards.
    virtual ~COverlayHost();
    COverlayHost(const COverlayHost&) = delete;
    COverlayHost& operator=(const COverlayHost&) = delete;

    virtual HRESULT SetWindow(HWND hWnd);
    virtual HRESULT GetWindow(HWND* phWnd);
    // Takes the listener from its previous host (repainting that host's window), appends it
    // with the next registration number and attaches it to this host's window.
    virtual HRESULT Add(COverlayListener* pListener);
    // Removes the first entry with the listener's registration number; S_OK whether or not
    // there was one. A listener that was never added has number -1 and matches nothing. A
    // listener attached to this host is detached from it.
    virtual HRESULT Remove(COverlayListener* pListener);
    // Whether the window is visible; E_FAIL (and FALSE) without a window. The out-pointer may be
    // null.
    virtual HRESULT IsVisible(BOOL* pVisible);
    virtual HRESULT Broadcast(intptr_t v1, intptr_t v2, intptr_t v3, intptr_t v4, intptr_t v5);

    int GetCount() const { return static_cast<int>(m_listeners.size()); }
    // The listener at index (registration order), or null past the end.
    COverlayListener* GetAt(int index) const {
        return index >= 0 && index < GetCount() ? m_listeners[static_cast<std::size_t>(index)]
                                                : nullptr;
    }

private:
    HWND m_hWnd = nullptr;
    std::vector<COverlayListener*> m_listeners;
    int m_nextIndex = 0;
};
