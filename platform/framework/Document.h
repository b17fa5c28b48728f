#pragma once

// CDocument: the data behind one or more views. It knows its title, path and modified flag,
// tells its views of changes (UpdateAllViews), reads and writes itself through CArchive
// (Serialize), asks to save changes before it closes (SaveModified through the prompter), and
// deletes itself when its last view goes (unless m_bAutoDelete is cleared).

#include "platform/framework/CmdTarget.h"
#include "platform/framework/Position.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

#include <vector>

class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
    DECLARE_MESSAGE_MAP()

public:
    CDocument();
    // Leaves its template's list.
    ~CDocument() override;

    BOOL m_bAutoDelete = TRUE;
    BOOL m_bEmbedded = FALSE;

    const QString& GetTitle() const { return m_strTitle; }
    // Also retitles the frames showing the document.
    virtual void SetTitle(const QString& title);
    const QString& GetPathName() const { return m_strPathName; }
    // The absolute path; the title becomes the file name. With bAddToMRU the path joins the
    // application's recent-file list.
    virtual void SetPathName(const QString& pathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    // Calls OnUpdate on every view but pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    // Empties the document for a new one. FALSE stops the creation.
    virtual BOOL OnNewDocument();
    // Reads the file through Serialize; on failure reports it and returns FALSE.
    virtual BOOL OnOpenDocument(const QString& pathName);
    // Writes through Serialize to a temporary file that replaces the file only when
    // complete; on failure reports it, returns FALSE and the old file is untouched.
    virtual BOOL OnSaveDocument(const QString& pathName);
    // Destroys the frames showing the document, then deletes it when m_bAutoDelete is set.
    virtual void OnCloseDocument();
    virtual void DeleteContents();
    // Whether the document may close: TRUE when not modified; otherwise asks "Save changes to
    // <title>?" (Yes/No/Cancel). Yes saves (FALSE when that fails), No drops the changes,
    // Cancel answers FALSE.
    virtual BOOL SaveModified();
    // Saves to pathName, or asks for a name when it is empty; bReplace makes the saved file
    // the document's path. FALSE on cancel or failure.
    virtual BOOL DoSave(const QString& pathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();
    // Whether closing pFrame may go ahead: always when another frame shows the document.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Called when a view came or went; closes the document when the last view went.
    virtual void OnChangedViewList();
    // Routes the command to the document's own map, then to its template.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    void OnFileClose();
    void OnFileSave();
    void OnFileSaveAs();
    // Reports a failed open or save through the prompter.
    virtual void ReportSaveLoadException(const QString& pathName, const QString& reason,
                                         BOOL bSaving);

    QString m_strTitle;
    QString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bModified = FALSE;
    std::vector<CView*> m_viewList;

    friend class CDocTemplate;
};
