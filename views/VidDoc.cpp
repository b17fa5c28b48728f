#include "views/VidDoc.h"

#include "views/AnnotateDoc.h"
#include "views/StreamWnd.h"
#include "views/VidView.h"

IMPLEMENT_DYNCREATE(CVidDoc, CDocument)

BOOL CVidDoc::SaveModified() {
    POSITION position = GetFirstViewPosition();
    while (position) {
        auto* video = dynamic_cast<CVidView*>(GetNextView(position));
        CStreamWnd* stream = video ? video->GetStreamWnd() : nullptr;
        CAnnotateDoc* annotations = stream ? stream->GetAnnotateDoc() : nullptr;
        if (annotations && !annotations->PromptSaveModified())
            return FALSE;
    }
    return CDocument::SaveModified();
}
