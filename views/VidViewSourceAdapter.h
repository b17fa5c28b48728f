#pragma once

// CVidViewSourceAdapter: what a video view's tool and region adapters share. Each has a derived
// frame source made over the view's source and keeps it with the object (data channel or region
// object) the source reported; that object marks the view through the adapter's overlay
// listener and brings its requests back here. The adapter lives as long as its view.
//
// A derived source and its object hold each other (the object keeps a copy of the source's
// holder), so the adapter breaks that cycle when it lets the source go: the source, and with it
// the view's recording, then closes with its last other holder.

#include "frames/FrameSourcePtr.h"
#include "frames/IDerivedSourceOwner.h"
#include "frames/IOverlayDraw.h"
#include "views/DrawingOverlayListener.h"

class IFrameWindowAdapter;

class CVidViewSourceAdapter : public IDerivedSourceOwner, public IOverlayDraw {
public:
    CVidViewSourceAdapter();
    // Lets the derived source go (Release).
    virtual ~CVidViewSourceAdapter();
    CVidViewSourceAdapter(const CVidViewSourceAdapter&) = delete;
    CVidViewSourceAdapter& operator=(const CVidViewSourceAdapter&) = delete;

    // The window adapter that shows what the objects open (not owned; null: none).
    HRESULT SetHost(IFrameWindowAdapter* host);
    // Disconnects the derived source from the windows that follow it, detaches this adapter
    // from its object and drops the source (the adapter then holds a new, empty one). The
    // object is not reached again; HasChannel still reports that one was made.
    HRESULT Release();
    // Whether a derived source was ever made: *out 1 or 0. E_FAIL for a null out.
    HRESULT HasChannel(int* out);
    HRESULT GetListener(IOverlayRedraw** out) override;
    // The object's mark (a data channel's H, a region's outline); S_OK without one.
    HRESULT Draw(CDC* dc, const CRect& area) override;

    // Whether Draw draws anything: only while a derived object with a mark is kept.
    bool DrawsMark() const { return m_channelDrawing != nullptr; }
    // The listener the view adds to its overlay host and draws through.
    CDrawingOverlayListener& GetOverlayListener() { return m_listener; }
    // The derived source while the adapter keeps one (empty before the first and after
    // Release).
    CFrameSourcePtr GetDerivedSource() const;

protected:
    // Keeps source (just made, taken over) and its object, gives the object a copy of the
    // source and reports the object's root through *out (when given). A source kept before is
    // let go first.
    void Keep(CFrameSource* source, IIdUnknown* object, IOverlayDraw* drawing,
              IDerivedSourceLink* link, IIdUnknown** out);
    // Undoes what a derived adapter set on the object beyond its source and owner, while the
    // object is still there. A derived adapter that overrides it releases in its destructor.
    virtual void ForgetChannel(IIdUnknown* object);
    IFrameWindowAdapter* Host() const { return m_host; }
    const CFrameSourcePtr& Source() const { return m_source; }
    // The object's root while the source is kept, else null.
    IIdUnknown* Channel() const { return m_channel; }

private:
    IFrameWindowAdapter* m_host = nullptr;
    CDrawingOverlayListener m_listener;
    CFrameSourcePtr m_source;
    IIdUnknown* m_channel = nullptr;
    IOverlayDraw* m_channelDrawing = nullptr;
    IDerivedSourceLink* m_link = nullptr;
    bool m_madeChannel = false;
};
