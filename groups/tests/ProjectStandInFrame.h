#pragma once

// CProjectStandInFrame: the plain MDI child frame that shows a project through its
// frame-parenting view until the project has a frame and view of its own. At the first update
// it fills the project and shows every group it holds side by side.

#include "platform/framework/MDIChildWnd.h"

class CProjectStandInFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CProjectStandInFrame)

public:
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) override;
};
