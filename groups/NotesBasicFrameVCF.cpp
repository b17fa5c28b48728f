#include "groups/NotesBasicFrameVCF.h"

#include "platform/framework/MessageMap.h"
#include "views/VidFrame.h"

IMPLEMENT_DYNCREATE(CNotesBasicFrameVCF, CViewChildedFrameM)

BEGIN_MESSAGE_MAP(CNotesBasicFrameVCF, CViewChildedFrameM)
ON_WM_CREATE()
ON_MESSAGE(kClosePlaybackMessage, OnClosePlayback)
END_MESSAGE_MAP()

int CNotesBasicFrameVCF::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CViewChildedFrameM::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_navBar.CreateIn(this);
    return 0;
}

LRESULT CNotesBasicFrameVCF::OnClosePlayback(WPARAM, LPARAM) {
    CViewChildedFrame::OnClose();
    return 0;
}
