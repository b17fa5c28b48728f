#include "groups/ChildWindowList.h"

#include "platform/framework/View.h"
#include "shell/ViewChildedFrame.h"

#include <algorithm>

std::vector<CViewChildedFrame*> CChildWindowList::HostedFrames() const {
    std::vector<CViewChildedFrame*> frames;
    if (!m_pOwner || !m_pOwner->GetSafeHwnd())
        return frames;
    for (CWnd* child = m_pOwner->GetWindow(GW_CHILD); child;
         child = child->GetWindow(GW_HWNDNEXT)) {
        if (child->GetParent() != m_pOwner)
            continue;
        if (auto* frame = dynamic_cast<CViewChildedFrame*>(child))
            frames.push_back(frame);
    }
    return frames;
}

void CChildWindowList::CollectPlain(BOOL bVisibleOnly) {
    for (CViewChildedFrame* frame : HostedFrames()) {
        if (bVisibleOnly && !frame->IsWindowVisible())
            continue;
        m_handles.push_back(frame->GetSafeHwnd());
        m_sortKeys.push_back(frame->GetSerialNumber());
    }
}

void CChildWindowList::CollectFiltered(const CRuntimeClass* pClass, BOOL bInvert, BOOL bVisibleOnly,
                                       BOOL bSkipMinimized) {
    for (CViewChildedFrame* frame : HostedFrames()) {
        if (pClass && (frame->IsKindOf(pClass) != !bInvert))
            continue;
        if (bVisibleOnly && !frame->IsWindowVisible())
            continue;
        if (bSkipMinimized && frame->IsIconic())
            continue;
        // Before the first entry with a greater creation number.
        const UINT key = frame->GetSerialNumber();
        const auto at = std::upper_bound(m_sortKeys.begin(), m_sortKeys.end(), key);
        const auto index = at - m_sortKeys.begin();
        m_sortKeys.insert(at, key);
        m_handles.insert(m_handles.begin() + index, frame->GetSafeHwnd());
    }
}

CViewChildedFrame* CChildWindowList::GetFrame(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return dynamic_cast<CViewChildedFrame*>(
        CWnd::FromHandle(m_handles[static_cast<size_t>(index)]));
}
