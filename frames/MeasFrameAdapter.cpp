#include "frames/MeasFrameAdapter.h"

#include "platform/framework/FrameWnd.h"
#include "platform/framework/View.h"

#include <vector>

namespace {

constexpr int kMemberTypeVideo = 3;
constexpr int kSourceKindGroupVideo = 2;
constexpr int kMaxCloseRounds = 100;

unsigned SourceId(const CFrameSourcePtr& source) {
    unsigned id = 0;
    source->GetSourceId(&id);
    return id;
}

// The video view of a member frame: its active view, else its pane view. The frame's first
// child window is not the view: bars and the hosted frame's title bar come first.
IMovieView* VideoViewOf(CFrameWnd* frame) {
    CWnd* view = frame->GetActiveView();
    if (!view)
        view = frame->GetDlgItem(AFX_IDW_PANE_FIRST);
    return dynamic_cast<IMovieView*>(view);
}

}  // namespace

HRESULT CMeasFrameAdapter::ShowVideo(const CFrameSourcePtr& source, const QString& title) {
    if (!m_document)
        return E_FAIL;
    CFrameWnd* frame = nullptr;
    if (FindVideoWindow(source, &frame) == S_OK) {
        frame->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        return S_OK;
    }
    frame = m_document->ParentNewVideoFrame();
    if (!frame)
        return E_FAIL;
    frame->SetWindowText(title);
    IMovieView* view = VideoViewOf(frame);
    if (!view)
        return E_FAIL;
    view->MovieSetFrameSource(source);
    view->MovieSetGroupMember(kMemberTypeVideo, kSourceKindGroupVideo);
    FrameChangedFn callback = nullptr;
    void* context = nullptr;
    if (m_document->GetMemberFrameChangedCallback(&callback, &context) && callback) {
        view->MovieSetFrameChangedCallback(callback, context);
        view->MovieNotifyFrameChanged();
        view->MovieSetFrameCount(source.Get() ? source->GetFrameCount() : 0);
    }
    return S_OK;
}

HRESULT CMeasFrameAdapter::CloseVideo(const CFrameSourcePtr& source) {
    for (int round = 0; round < kMaxCloseRounds; ++round) {
        CFrameWnd* frame = nullptr;
        if (FindVideoWindow(source, &frame) != S_OK)
            break;
        frame->SendMessage(WM_CLOSE);
    }
    return S_OK;
}

HRESULT CMeasFrameAdapter::FindVideoWindow(const CFrameSourcePtr& source, CFrameWnd** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    CWnd* parent = m_document ? m_document->GetMemberFrameParent() : nullptr;
    if (!parent || !source.Get())
        return E_FAIL;
    // Collected first: looking at a window must not change the walk.
    std::vector<CWnd*> children;
    for (CWnd* child = parent->GetTopWindow(); child; child = child->GetNextWindow())
        children.push_back(child);
    const unsigned wanted = SourceId(source);
    for (CWnd* child : children) {
        auto* frame = dynamic_cast<CFrameWnd*>(child);
        if (!frame)
            continue;
        IMovieView* view = VideoViewOf(frame);
        if (!view)
            continue;
        const CFrameSourcePtr shown = view->MovieGetFrameSource();
        if (!shown.Get() || SourceId(shown) != wanted)
            continue;
        *out = frame;
        return S_OK;
    }
    return E_FAIL;
}
