#pragma once

// CChildWindowList: the hosted frames of one parenting view, collected for a single layout or
// walking operation. Only frames whose parent window is the view itself are taken (never
// grand-children); owned floating windows are top-level windows and never appear.

#include "platform/wintypes/WinMessages.h"

#include <vector>

class CView;
class CViewChildedFrame;
struct CRuntimeClass;

class CChildWindowList {
public:
    explicit CChildWindowList(CView* pOwner) : m_pOwner(pOwner) {}

    // Every hosted frame (or every visible one) in z-order, top first.
    void CollectPlain(BOOL bVisibleOnly);
    // The hosted frames of pClass (not of pClass when bInvert; all when pClass is null), in the
    // order in which they were created, whatever their z-order.
    void CollectFiltered(const CRuntimeClass* pClass, BOOL bInvert, BOOL bVisibleOnly,
                         BOOL bSkipMinimized);

    int GetCount() const { return static_cast<int>(m_handles.size()); }
    // The frame at index, or nullptr when it went in the meantime.
    CViewChildedFrame* GetFrame(int index) const;

private:
    // The hosted frames in z-order, top first.
    std::vector<CViewChildedFrame*> HostedFrames() const;

    CView* m_pOwner;
    std::vector<HWND> m_handles;
    // Creation numbers, parallel to the handles; ascending in filtered lists.
    std::vector<UINT> m_sortKeys;
};
