#pragma once

// CSaveDocCallback: the done-callback of saves made for a play-group document. It tells the
// document's saved-file operation about the file a save wrote. The document stays its
// owner's; this layer sees it only through ISavedFileDoc.

#include "frames/ISaveDoneCallback.h"

// What the play-group document offers for saved files: the path, the save's notify tag and
// three further arguments (given as 0). Its result is not read.
class ISavedFileDoc {
public:
    virtual int OnSavedFile(const QString& path, int tag, int arg1, int arg2, int arg3) = 0;

protected:
    ~ISavedFileDoc() = default;
};

class CSaveDocCallback : public ISaveDoneCallback {
public:
    // The document is not owned and must outlive the callback; null tells nobody.
    explicit CSaveDocCallback(ISavedFileDoc* doc = nullptr) : m_doc(doc) {}

    // S_OK after telling the document; E_POINTER when there is none.
    HRESULT OnFileSaved(const QString& path, int tag) override;

private:
    ISavedFileDoc* m_doc;
};
