#include "platform/framework/DocManager.h"

#include "platform/framework/DocTemplate.h"
#include "platform/framework/Document.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"

#include <QFileInfo>

CDocManager::~CDocManager() {
    for (CDocTemplate* t : m_templateList)
        delete t;
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
    if (pTemplate)
        m_templateList.push_back(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const {
    return PositionIn(0, m_templateList.size());
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const {
    const std::size_t index = IndexFromPosition(pos);
    CDocTemplate* t = index < m_templateList.size() ? m_templateList[index] : nullptr;
    pos = PositionIn(index + 1, m_templateList.size());
    return t;
}

int CDocManager::GetOpenDocumentCount() const {
    int count = 0;
    for (CDocTemplate* t : m_templateList) {
        for (POSITION pos = t->GetFirstDocPosition(); pos; t->GetNextDoc(pos))
            ++count;
    }
    return count;
}

CDocument* CDocManager::OpenDocumentFile(const QString& fileName) {
    if (fileName.isEmpty())
        return nullptr;
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocument* open = nullptr;
    for (CDocTemplate* t : m_templateList) {
        CDocument* match = nullptr;
        const CDocTemplate::Confidence c = t->MatchDocType(fileName, match);
        if (c > bestMatch) {
            bestMatch = c;
            best = t;
            if (c == CDocTemplate::yesAlreadyOpen)
                open = match;
        }
        if (c == CDocTemplate::yesAlreadyOpen)
            break;
    }
    if (open) {
        POSITION pos = open->GetFirstViewPosition();
        if (pos) {
            CView* view = open->GetNextView(pos);
            if (CFrameWnd* frame = view->GetParentFrame())
                frame->ActivateFrame();
        }
        return open;
    }
    if (!best)
        return nullptr;
    if (!QFileInfo::exists(fileName)) {
        AfxMessageBox(QString("Cannot open the file %1: it does not exist.").arg(fileName),
                      MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    return best->OpenDocumentFile(fileName);
}

BOOL CDocManager::DoPromptFileName(QString& fileName, const QString& title, DWORD lFlags,
                                   BOOL bOpen, CDocTemplate* pTemplate) {
    QString filter;
    QString defaultExt;
    auto addTemplate = [&](CDocTemplate* t) {
        QString name;
        QString ext;
        if (!t->GetDocString(name, CDocTemplate::filterName) ||
            !t->GetDocString(ext, CDocTemplate::filterExt))
            return;
        filter += name + "|*" + ext + "|";
        if (defaultExt.isEmpty())
            defaultExt = ext.mid(1);
    };
    if (pTemplate)
        addTemplate(pTemplate);
    for (CDocTemplate* t : m_templateList) {
        if (t != pTemplate)
            addTemplate(t);
    }
    filter += "All Files (*.*)|*.*||";
    CFileDialog dialog(bOpen, bOpen ? QString() : defaultExt, fileName, lFlags, filter);
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    fileName = dialog.GetPathName();
    return TRUE;
}

BOOL CDocManager::SaveAllModified() {
    for (CDocTemplate* t : m_templateList) {
        if (!t->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
    for (CDocTemplate* t : m_templateList)
        t->CloseAllDocuments(bEndSession);
}

void CDocManager::OnFileNew() {
    if (m_templateList.empty())
        return;
    CDocTemplate* chosen = m_templateList.size() == 1 ? m_templateList.front() : nullptr;
    for (auto it = m_templateList.begin(); !chosen && it != m_templateList.end(); ++it) {
        QString name;
        if ((*it)->GetDocString(name, CDocTemplate::fileNewName))
            chosen = *it;
    }
    if (chosen)
        chosen->OpenDocumentFile(QString());
}

void CDocManager::OnFileOpen() {
    QString fileName;
    if (!DoPromptFileName(fileName, "Open", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    if (CWinApp* app = AfxGetApp())
        app->OpenDocumentFile(fileName);
    else
        OpenDocumentFile(fileName);
}

void CDocManager::RegisterShellFileTypes(BOOL) {}

void CDocManager::UnregisterShellFileTypes() {}
