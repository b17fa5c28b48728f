#include "shell/MDIFrameWndPlus.h"

#include "platform/framework/MDIChildWnd.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CMDIFrameWndPlus, CMDITabFrameWnd)

CMDIChildWnd* CMDIFrameWndPlus::GetNextMDIChild() {
    const std::vector<CMDIChildWnd*> children = GetMDIChildren();
    CMDIChildWnd* next = nullptr;
    if (!m_hChildCursor) {
        next = children.empty() ? nullptr : children.front();
    } else {
        const auto at = std::find_if(children.begin(), children.end(), [this](CMDIChildWnd* c) {
            return c->GetSafeHwnd() == m_hChildCursor;
        });
        if (at != children.end() && at + 1 != children.end())
            next = *(at + 1);
    }
    m_hChildCursor = next ? next->GetSafeHwnd() : nullptr;
    return next;
}

int CMDIFrameWndPlus::GetMDIChildCount() {
    // Counting from wherever an earlier walk stopped would miss the children above it.
    m_hChildCursor = nullptr;
    int count = 0;
    while (GetNextMDIChild())
        ++count;
    return count;
}
