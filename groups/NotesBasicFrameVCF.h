#pragma once

// CNotesBasicFrameVCF: the hosted frame of a notes window, with its navigation bar. It closes
// with its group, when the group closes its playbacks.

#include "groups/NoteNavBar.h"
#include "shell/ViewChildedFrameM.h"

class CNotesBasicFrameVCF : public CViewChildedFrameM {
    DECLARE_DYNCREATE(CNotesBasicFrameVCF)
    DECLARE_MESSAGE_MAP()

public:
    CNoteNavBar& GetNavBar() { return m_navBar; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    LRESULT OnClosePlayback(WPARAM wParam, LPARAM lParam);

private:
    CNoteNavBar m_navBar;
};
