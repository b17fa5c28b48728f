#pragma once

// CDocTemplate: makes the document/frame/view triple of one kind of document from their
// run-time classes, under one resource id that names the frame's menu and the document
// string. The document string holds "\n"-separated fields (see DocStringIndex).

#include "platform/framework/CmdTarget.h"
#include "platform/framework/Position.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

class CDocument;
class CFrameWnd;
class CMenu;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)

public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };
    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen,
    };

    // The document string is the string-table entry of nIDResource (see
    // AfxSetDocStringLoader) unless SetDocString gives it.
    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
    ~CDocTemplate() override;

    UINT GetResourceId() const { return m_nIDResource; }
    void SetDocString(const QString& docString) { m_strDocStrings = docString; }
    // One field of the document string; FALSE (and an empty text) when it is missing.
    virtual BOOL GetDocString(QString& rString, DocStringIndex index) const;

    // The template's documents.
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // How well the template fits the file: yesAlreadyOpen with the document when one of its
    // documents has that path; yesAttemptNative when the file's extension equals the filter
    // extension (case-insensitively); otherwise yesAttemptForeign.
    virtual Confidence MatchDocType(const QString& pathName, CDocument*& rpDocMatch);

    virtual CDocument* CreateNewDocument();
    // A new frame of the template's frame class showing pDoc in a new view; nullptr when the
    // frame could not be made (reported).
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    // Opens the file in a new document (null path: a new, empty document) and its frame.
    // nullptr on failure, with nothing left behind.
    virtual CDocument* OpenDocumentFile(const QString& pathName, BOOL bMakeVisible = TRUE) = 0;

    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    // The template's shared menu (the frame's menu while a document of it is active), or
    // nullptr when the resource has none.
    CMenu* GetSharedMenu() const { return m_pSharedMenu; }

    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;

protected:
    UINT m_nIDResource;
    QString m_strDocStrings;
    CMenu* m_pSharedMenu = nullptr;
};

// Where templates find the string-table entry of their resource id; the resource chain
// installs one. Without it a template has no document string until SetDocString.
using DocStringLoader = QString (*)(UINT nID);
void AfxSetDocStringLoader(DocStringLoader loader);
