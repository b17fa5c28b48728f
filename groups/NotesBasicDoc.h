#pragma once

// CNotesBasicDoc: the document of a notes window. It holds nothing of its own: the notes it
// shows belong to the play group, and saving writes their side files.

#include "platform/framework/Document.h"

class CNotesBasicView;

class CNotesBasicDoc : public CDocument {
    DECLARE_DYNCREATE(CNotesBasicDoc)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kSaveNotesCommand = 32951;
    static constexpr const char* kSavedText = "Vidra Notes saved successfully.";

    BOOL IsModified() override;
    // Writes the side file of every item's recording; false when one could not be written.
    BOOL DoSave(const QString& pathName, BOOL bReplace = TRUE) override;
    // The notes window closes without asking: the group saves and asks for its notes.
    BOOL SaveModified() override { return TRUE; }

protected:
    void OnSaveNotes();
    void OnUpdateSaveNotes(CCmdUI* pCmdUI);

private:
    CNotesBasicView* FirstNotesView() const;
};
