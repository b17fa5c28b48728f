#include "frames/ChangedFrameVidView.h"

CChangedFrameVidView::CChangedFrameVidView(IMovieView* view)
    : m_view(view), m_notifier2(std::make_unique<CNotifier>()) {
    m_notifier2->SetOuter(&m_secondOuter);
}

CChangedFrameVidView::~CChangedFrameVidView() {
    m_notifier2.reset();
}

HRESULT CChangedFrameVidView::SecondNotifierOuter::QueryInterfaceById(int id, void** out) {
    if (!out)
        return E_POINTER;
    if (id == kIdNotifier && m_owner->m_notifier2) {
        *out = static_cast<INotifier*>(m_owner->m_notifier2.get());
        return S_OK;
    }
    return m_owner->QueryInterfaceById(id, out);
}

bool CChangedFrameVidView::AnswerOwnId(int id, void** out) {
    if (id != kIdNotifier2 || !m_notifier2)
        return false;
    *out = static_cast<INotifier*>(m_notifier2.get());
    return true;
}

HRESULT CChangedFrameVidView::OnFrameChanged(int frame, int flag) {
    if (!m_view)
        return E_POINTER;
    if (m_busy) {
        if (m_view->MovieGetCurrentFrame() != frame)
            m_view->MovieSetCurrentFrame(frame, flag);
        return S_OK;
    }
    // Moving the view tells its frame source's listeners, this adapter among them, and linked
    // views answer through the second notifier: those changes arrive while m_busy is set.
    m_busy = true;
    m_view->MovieSetCurrentFrame(frame, flag);
    unsigned sourceId = 0;
    const CFrameSourcePtr source = m_view->MovieGetFrameSource();
    if (source.Get())
        source->GetSourceId(&sourceId);
    const int sourceKind = m_view->MovieGetSourceKind();

    int count = 0;
    m_notifier2->GetCount(&count);
    for (int index = 0; index < count; ++index) {
        IIdUnknown* item = nullptr;
        int cookie = 0;
        if (m_notifier2->GetItem(index, &item, &cookie) != S_OK || !item)
            continue;
        if (auto* listener = QueryId<IFrameChangeListener>(item))
            listener->CFFrameChanges_withIDs(frame, kFrameDataTypeVideo, static_cast<int>(sourceId),
                                             sourceKind, flag);
    }
    m_busy = false;
    return S_OK;
}
