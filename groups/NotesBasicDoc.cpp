#include "groups/NotesBasicDoc.h"

#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "groups/NotesBasicView.h"
#include "groups/NotesFile.h"
#include "groups/RecordingNotes.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"

IMPLEMENT_DYNCREATE(CNotesBasicDoc, CDocument)

BEGIN_MESSAGE_MAP(CNotesBasicDoc, CDocument)
ON_COMMAND(CNotesBasicDoc::kSaveNotesCommand, OnSaveNotes)
ON_UPDATE_COMMAND_UI(CNotesBasicDoc::kSaveNotesCommand, OnUpdateSaveNotes)
END_MESSAGE_MAP()

CNotesBasicView* CNotesBasicDoc::FirstNotesView() const {
    POSITION pos = GetFirstViewPosition();
    return pos ? dynamic_cast<CNotesBasicView*>(GetNextView(pos)) : nullptr;
}

BOOL CNotesBasicDoc::IsModified() {
    CNotesBasicView* view = FirstNotesView();
    return view && view->IsModified() ? TRUE : FALSE;
}

BOOL CNotesBasicDoc::DoSave(const QString&, BOOL) {
    CNotesBasicView* view = FirstNotesView();
    if (!view)
        return TRUE;
    CMeasurementView* group = view->GetGroupView();
    CMeasurementFormDoc* doc = group ? group->GetGroupDoc() : nullptr;
    bool ok = true;
    for (const CNoteItem& item : view->GetItems()) {
        CRecordingNotes* notes = doc ? doc->GetNotesFor(item.GetType(), item.GetId()) : nullptr;
        if (notes)
            ok = CNotesFile().SaveNotes(doc->GetPathFor(item.GetType(), item.GetId()), *notes,
                                        item.GetType()) &&
                 ok;
        view->UpdateCaption();
    }
    return ok ? TRUE : FALSE;
}

void CNotesBasicDoc::OnSaveNotes() {
    if (DoSave(QString(), TRUE))
        AfxMessageBox(QString::fromLatin1(kSavedText));
}

void CNotesBasicDoc::OnUpdateSaveNotes(CCmdUI* pCmdUI) {
    pCmdUI->Enable(IsModified());
}
