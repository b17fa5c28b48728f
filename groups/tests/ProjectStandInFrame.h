#pragma once

// CProjectStandInFrame: a plain MDI child frame that shows a project through its
// frame-parenting view, for tests of the project document without the project frame's bars and
// panels. At the first update it fills the project and shows every group it holds side by side.

#include "platform/framework/MDIChildWnd.h"

class CProjectStandInFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CProjectStandInFrame)

public:
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible) override;
};
