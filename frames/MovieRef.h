#pragma once

// CMovieRef: what a tool is told about the movie it should work on (a frame source and the
// video view that shows it), from which it makes its own CMovieAdapter.

#include "frames/FrameSourcePtr.h"
#include "frames/IMovieView.h"
#include "platform/wintypes/WinError.h"

#include <memory>

class CMovieAdapter;
class CWnd;

class CMovieRef {
public:
    // An empty frame source and no view.
    CMovieRef();
    virtual ~CMovieRef() = default;

    void SetFrameSource(const CFrameSourcePtr& source) { m_source = source; }
    // Keeps view when it is a video view (one that offers IMovieView); false and no view
    // otherwise.
    bool SetView(CWnd* view);
    void SetSyncWithSource(bool on) { m_syncWithSource = on; }
    void SetUseViewLut(bool on) { m_useViewLut = on; }
    IMovieView* GetView() const { return m_view; }

    // A new adapter over this source and view with both flags, owned by the caller; E_POINTER
    // for a null out.
    virtual HRESULT CreateMovieAdapter(std::unique_ptr<CMovieAdapter>* out);

private:
    CFrameSourcePtr m_source;
    IMovieView* m_view = nullptr;
    bool m_syncWithSource = false;
    bool m_useViewLut = false;
};
