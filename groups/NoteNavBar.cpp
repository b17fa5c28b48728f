#include "groups/NoteNavBar.h"

#include "groups/NotesBasicView.h"

#include "platform/framework/Button.h"
#include "platform/framework/ComboBox.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/MessageMap.h"

BEGIN_MESSAGE_MAP(CNoteNavBar, CDialogBar)
ON_BN_CLICKED(CNoteNavBar::kBackButton, OnBack)
ON_BN_CLICKED(CNoteNavBar::kStepButton, OnStep)
ON_CBN_CLOSEUP(CNoteNavBar::kPaneList, OnPaneListClosed)
ON_CBN_SELCHANGE(CNoteNavBar::kPaneList, OnPaneListClosed)
END_MESSAGE_MAP()

BOOL CNoteNavBar::CreateIn(CWnd* frame) {
    if (!Create(frame, kTemplateId, kBarStyle, kTemplateId))
        return FALSE;
    if (auto* list = dynamic_cast<CComboBox*>(GetDlgItem(kPaneList))) {
        for (const char* entry : {"1", "2", "3", "4"})
            list->AddString(QString::fromLatin1(entry));
        list->SetCurSel(3);
    }
    ShowWindow(SW_SHOW);
    return TRUE;
}

CNotesBasicView* CNoteNavBar::ActiveNotesView() const {
    auto* frame = dynamic_cast<CFrameWnd*>(GetParent());
    return frame ? dynamic_cast<CNotesBasicView*>(frame->GetActiveView()) : nullptr;
}

void CNoteNavBar::OnBack() {
    if (CNotesBasicView* view = ActiveNotesView())
        view->StepBack();
}

void CNoteNavBar::OnStep() {
    if (CNotesBasicView* view = ActiveNotesView())
        view->StepForward();
}

void CNoteNavBar::OnPaneListClosed() {
    auto* list = dynamic_cast<CComboBox*>(GetDlgItem(kPaneList));
    CNotesBasicView* view = ActiveNotesView();
    if (list && view && list->GetCurSel() >= 0)
        view->SetMode(list->GetCurSel() + 1);
}
