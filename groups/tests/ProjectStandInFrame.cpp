#include "groups/tests/ProjectStandInFrame.h"

#include "groups/FrameParentingView.h"
#include "groups/GeneralDoc.h"

IMPLEMENT_DYNCREATE(CProjectStandInFrame, CMDIChildWnd)

void CProjectStandInFrame::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) {
    CMDIChildWnd::InitialUpdateFrame(pDoc, bMakeVisible);
    auto* project = dynamic_cast<CGeneralDoc*>(pDoc);
    CFrameParentingView* view = project ? project->GetProjectView() : nullptr;
    if (!view)
        return;
    project->InitializeProject();
    // Groups are created hidden; with no group bar to choose between them, all are shown.
    for (CFrameWnd* frame = view->GetNextChildFrame(); frame; frame = view->GetNextChildFrame()) {
        frame->ShowWindow(SW_SHOW);
        if (CView* groupView = frame->GetActiveView())
            groupView->ShowWindow(SW_SHOW);
    }
    CRect client;
    view->GetClientRect(&client);
    view->SendMessage(WM_SIZE, SIZE_RESTORED,
                      static_cast<LPARAM>(MAKELONG(client.Width(), client.Height())));
}
