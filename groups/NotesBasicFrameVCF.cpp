#include "groups/NotesBasicFrameVCF.h"

#include "platform/framework/MessageMap.h"

IMPLEMENT_DYNCREATE(CNotesBasicFrameVCF, CViewChildedFrameM)

BEGIN_MESSAGE_MAP(CNotesBasicFrameVCF, CViewChildedFrameM)
ON_WM_CREATE()
END_MESSAGE_MAP()

int CNotesBasicFrameVCF::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CViewChildedFrameM::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_navBar.CreateIn(this);
    return 0;
}
