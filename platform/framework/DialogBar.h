#pragma once

// CDialogBar: a control bar whose content is a dialog template: its controls are made at their
// dialog-unit rectangles, the bar is as large as the template, and it docks at the frame edge
// its style names. Commands and notifications of its controls go on to the frame (and from
// there through the command routing); on idle its buttons are enabled by their update
// handlers.

#include "platform/framework/ControlBar.h"

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)

public:
    // A bar in pParentWnd's frame from the template nIDTemplate, docked by the CBRS_ALIGN_
    // flag of nStyle. FALSE when the chain has no such template or the bar cannot be made.
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);

    // The template's size in pixels.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    CSize m_sizeDefault;
};
