#include "frames/FrameWindowAdapter.h"

#include "frames/IDataPlayView.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/View.h"
#include "sensordata/model/SensorDataSet.h"

#include <functional>
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

// The view of a member frame: its active view, else its pane view. The frame's first child
// window is not the view: bars and the hosted frame's title bar come first.
template <class View>
View* MemberViewOf(CFrameWnd* frame) {
    CWnd* view = frame->GetActiveView();
    if (!view)
        view = frame->GetDlgItem(AFX_IDW_PANE_FIRST);
    return dynamic_cast<View*>(view);
}

// The first member frame among parent's children whose view of kind View matches.
template <class View>
CFrameWnd* FindMemberFrame(CWnd* parent, const std::function<bool(View*)>& matches) {
    if (!parent)
        return nullptr;
    // Collected first: looking at a window must not change the walk.
    std::vector<CWnd*> children;
    for (CWnd* child = parent->GetTopWindow(); child; child = child->GetNextWindow())
        children.push_back(child);
    for (CWnd* child : children) {
        auto* frame = dynamic_cast<CFrameWnd*>(child);
        View* view = frame ? MemberViewOf<View>(frame) : nullptr;
        if (view && matches(view))
            return frame;
    }
    return nullptr;
}

void BringToFront(CFrameWnd* frame) {
    frame->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}

// Asks the window that find reports to close until none is left; a window that is found again
// refused to close, and asking it again would only repeat the question.
void CloseEvery(const std::function<CFrameWnd*()>& find) {
    CFrameWnd* previous = nullptr;
    for (int round = 0; round < kMaxCloseRounds; ++round) {
        CFrameWnd* frame = find();
        if (!frame || frame == previous)
            break;
        previous = frame;
        frame->SendMessage(WM_CLOSE);
    }
}

}  // namespace

HRESULT CFrameWindowAdapter::ShowVideo(const CFrameSourcePtr& source, const QString& title) {
    if (!m_document)
        return E_FAIL;
    CFrameWnd* frame = nullptr;
    if (FindVideoWindow(source, &frame) == S_OK) {
        BringToFront(frame);
        return S_OK;
    }
    frame = m_document->ParentNewVideoFrame();
    if (!frame)
        return E_FAIL;
    frame->SetWindowText(title);
    auto* view = MemberViewOf<IMovieView>(frame);
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

HRESULT CFrameWindowAdapter::ShowData(const CSharedRef<CSensorDataSet>& data, const QString& title,
                                      IIdUnknown** listener) {
    if (!m_document)
        return E_FAIL;
    CFrameWnd* frame = nullptr;
    if (FindDataWindow(data, &frame) == S_OK) {
        BringToFront(frame);
        return S_OK;
    }
    // Without a data window kind the document says so itself and makes no frame.
    frame = m_document->ParentNewDataFrame();
    if (!frame)
        return E_FAIL;
    frame->SetWindowText(title);
    auto* view = MemberViewOf<IDataPlayView>(frame);
    if (!view)
        return E_FAIL;
    view->DataSetDataSet(data);
    if (listener)
        *listener = view->DataGetFrameChangeAdapter();
    return S_OK;
}

HRESULT CFrameWindowAdapter::CloseVideo(const CFrameSourcePtr& source) {
    CloseEvery([&] {
        CFrameWnd* frame = nullptr;
        return FindVideoWindow(source, &frame) == S_OK ? frame : nullptr;
    });
    return S_OK;
}

HRESULT CFrameWindowAdapter::CloseData(const CSharedRef<CSensorDataSet>& data) {
    CloseEvery([&] {
        CFrameWnd* frame = nullptr;
        return FindDataWindow(data, &frame) == S_OK ? frame : nullptr;
    });
    return S_OK;
}

HRESULT CFrameWindowAdapter::FindVideoWindow(const CFrameSourcePtr& source, CFrameWnd** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!m_document || !source.Get())
        return E_FAIL;
    const unsigned wanted = SourceId(source);
    *out = FindMemberFrame<IMovieView>(m_document->GetMemberFrameParent(), [&](IMovieView* view) {
        const CFrameSourcePtr shown = view->MovieGetFrameSource();
        return shown.Get() && SourceId(shown) == wanted;
    });
    return *out ? S_OK : E_FAIL;
}

HRESULT CFrameWindowAdapter::FindDataWindow(const CSharedRef<CSensorDataSet>& data,
                                            CFrameWnd** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (!m_document || data.IsEmpty())
        return E_FAIL;
    const int wanted = data->GetDataId();
    *out = FindMemberFrame<IDataPlayView>(
        m_document->GetMemberFrameParent(), [&](IDataPlayView* view) {
            const CSharedRef<CSensorDataSet> shown = view->DataGetDataSet();
            return !shown.IsEmpty() && shown->GetDataId() == wanted;
        });
    return *out ? S_OK : E_FAIL;
}
