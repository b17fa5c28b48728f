#pragma once

// CNoteNavBar: the navigation bar of a notes window: previous and next note, and the number
// of panes shown.

#include "platform/framework/DialogBar.h"

class CNotesBasicView;

class CNoteNavBar : public CDialogBar {
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplateId = 379;
    static constexpr UINT kBarStyle = 33332;
    static constexpr int kBackButton = 2198;
    static constexpr int kStepButton = 2199;
    static constexpr int kPaneList = 2200;

    // Creates the bar in the frame, fills the pane list and selects "4".
    BOOL CreateIn(CWnd* frame);

protected:
    void OnBack();
    void OnStep();
    void OnPaneListClosed();

private:
    CNotesBasicView* ActiveNotesView() const;
};
