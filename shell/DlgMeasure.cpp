#include "shell/DlgMeasure.h"

#include "platform/framework/FrameWnd.h"

IMPLEMENT_DYNAMIC(CDlgMeasure, CDialog)

// clang-format off
BEGIN_MESSAGE_MAP(CDlgMeasure, CDialog)
    ON_COMMAND_RANGE(CDlgMeasure::kFirstTool, CDlgMeasure::kLastTool, OnTool)
END_MESSAGE_MAP()
// clang-format on

CDlgMeasure::CDlgMeasure(CWnd* pParentWnd) : CDialog(IDD_MEASURE, pParentWnd) {}

void CDlgMeasure::OnTool(UINT nID) {
    if (CFrameWnd* frame = GetParentFrame())
        frame->SendMessage(WM_COMMAND, nID, 0);
}
