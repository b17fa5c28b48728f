#pragma once

// CDocManager: the application's document templates in registration order and what works
// across them: opening a file with the template that fits it, the file dialogs of New, Open and
// Save As, saving and closing every document, and the shell file-type registration, whose
// work derived managers do (the base has nothing to register).

#include "platform/framework/Position.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

#include <vector>

class CDocTemplate;
class CDocument;

class CDocManager {
public:
    CDocManager() = default;
    // Deletes the templates.
    virtual ~CDocManager();
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;

    // Takes ownership.
    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    int GetOpenDocumentCount() const;

    // An open document with that path is brought forward; otherwise the template that fits
    // best (its extension first, then the first template) opens it. nullptr when the file
    // does not open (reported) or no template exists.
    virtual CDocument* OpenDocumentFile(const QString& fileName);
    // The file dialog of Open (bOpen) or Save As, its filter made of the templates' filter
    // names and extensions (pTemplate's first when given). TRUE with fileName set on OK.
    virtual BOOL DoPromptFileName(QString& fileName, const QString& title, DWORD lFlags, BOOL bOpen,
                                  CDocTemplate* pTemplate);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // A new document of the first template that has a file-new name (of the only template
    // when there is just one).
    virtual void OnFileNew();
    virtual void OnFileOpen();

    virtual void RegisterShellFileTypes(BOOL bCompat);
    virtual void UnregisterShellFileTypes();

protected:
    std::vector<CDocTemplate*> m_templateList;
};
