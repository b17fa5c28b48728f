#include "platform/framework/Document.h"

#include "platform/framework/Archive.h"
#include "platform/framework/DocManager.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/Exception.h"
#include "platform/framework/File.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FileException.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/RunningOperation.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/WriteDestinationCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <set>

#include <sys/stat.h>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
ON_COMMAND(ID_FILE_SAVE, OnFileSave)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument() {
    CRunningOperation::ForgetDocument(this);
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    std::set<CFrameWnd*> frames;
    for (CView* view : m_viewList) {
        if (CFrameWnd* frame = view->GetParentFrame())
            frames.insert(frame);
    }
    for (CFrameWnd* frame : frames)
        frame->OnUpdateFrameTitle(TRUE);
}

void CDocument::SetPathName(const QString& pathName, BOOL bAddToMRU) {
    m_strPathName = QDir::cleanPath(QFileInfo(pathName).absoluteFilePath());
    SetTitle(QFileInfo(m_strPathName).fileName());
    if (bAddToMRU) {
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
    }
}

BOOL CDocument::IsModified() {
    return m_bModified;
}

void CDocument::SetModifiedFlag(BOOL bModified) {
    m_bModified = bModified;
}

void CDocument::AddView(CView* pView) {
    if (std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
        return;
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

POSITION CDocument::GetFirstViewPosition() const {
    return PositionIn(0, m_viewList.size());
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
    const std::size_t index = IndexFromPosition(rPosition);
    CView* view = index < m_viewList.size() ? m_viewList[index] : nullptr;
    rPosition = PositionIn(index + 1, m_viewList.size());
    return view;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    // A view's update may close views: walk a copy and skip the ones gone meanwhile.
    const std::vector<CView*> views = m_viewList;
    for (CView* view : views) {
        if (view == pSender)
            continue;
        if (std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end())
            view->OnUpdate(pSender, lHint, pHint);
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const QString& pathName) {
    CFile file;
    CFileException error;
    if (!file.Open(pathName, CFile::modeRead, &error)) {
        ReportSaveLoadException(pathName, error.ErrorMessage(), FALSE);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE);
    try {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        Serialize(ar);
        ar.Close();
    } catch (const CException& e) {
        file.Abort();
        DeleteContents();
        ReportSaveLoadException(pathName, e.ErrorMessage(), FALSE);
        return FALSE;
    }
    file.Abort();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const QString& pathName) {
    const QString temporary = pathName + ".saving";
    CFile file;
    CFileException error;
    if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite, &error)) {
        // The user knows the file by its own name, not by the temporary one.
        ReportSaveLoadException(pathName, error.ErrorMessage().replace(temporary, pathName), TRUE);
        return FALSE;
    }
    try {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (const CException& e) {
        file.Abort();
        QFile::remove(temporary);
        ReportSaveLoadException(pathName, e.ErrorMessage(), TRUE);
        return FALSE;
    }
    // rename replaces the old file in one step, so a reader never sees half a file.
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(pathName).constData()) != 0) {
        QFile::remove(temporary);
        ReportSaveLoadException(pathName, QString(), TRUE);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::ReportSaveLoadException(const QString& pathName, const QString& reason,
                                        BOOL bSaving) {
    QString text = bSaving ? QString("Failed to save document %1.").arg(pathName)
                           : QString("Failed to open document %1.").arg(pathName);
    if (!reason.isEmpty())
        text += "\n" + reason;
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

void CDocument::OnCloseDocument() {
    // An operation using the document ends first: the close comes again after it, so the
    // document never goes from inside a message loop of that operation.
    if (CRunningOperation::CancelBeforeClose({this}, this, [this] { OnCloseDocument(); }))
        return;
    // The frames' views leave the list as they go; the document must not close itself
    // in the middle of that.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.empty()) {
        CView* view = m_viewList.front();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && frame->GetSafeHwnd()) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        }
        // A view without a frame, or one the frame did not take with it, leaves here.
        if (!m_viewList.empty() && m_viewList.front() == view)
            RemoveView(view);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::DeleteContents() {}

BOOL CDocument::SaveModified() {
    if (!IsModified())
        return TRUE;
    QString name = m_strTitle;
    if (name.isEmpty())
        name = "Untitled";
    switch (AfxMessageBox(QString("Save changes to %1?").arg(name),
                          MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDCANCEL:
            return FALSE;
        case IDYES:
            return DoFileSave();
        default:
            return TRUE;
    }
}

namespace {

// The same file under both names (a hard link included), or the same name of a file not there.
bool IsSameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    struct stat first {};
    struct stat second {};
    if (::stat(QFile::encodeName(a).constData(), &first) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

}  // namespace

BOOL CDocument::DoSave(const QString& pathName, BOOL bReplace) {
    QString newName = pathName;
    if (newName.isEmpty()) {
        newName = m_strPathName;
        if (bReplace && newName.isEmpty())
            newName = m_strTitle;
        CWinApp* app = AfxGetApp();
        if (!app || !app->m_pDocManager ||
            !app->m_pDocManager->DoPromptFileName(
                newName, "Save As", OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, m_pDocTemplate))
            return FALSE;
    }
    // A document may write its own file; any other file the user named is asked about first.
    if (!IsSameFile(newName, m_strPathName) && !AskWriteDestination(newName))
        return FALSE;
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave() {
    // A path that cannot be written to any more (gone, or read-only) asks for a new name.
    const QFileInfo info(m_strPathName);
    if (m_strPathName.isEmpty() || (info.exists() && !info.isWritable()))
        return DoSave(QString());
    return DoSave(m_strPathName);
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
    for (CView* view : m_viewList) {
        if (view->GetParentFrame() != pFrame)
            return TRUE;
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd*) {}

void CDocument::OnChangedViewList() {
    if (m_viewList.empty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    for (CView* view : m_viewList) {
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(QString());
}
