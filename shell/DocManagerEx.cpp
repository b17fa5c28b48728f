#include "shell/DocManagerEx.h"

#include "platform/framework/DocTemplate.h"
#include "platform/framework/Document.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/View.h"
#include "shell/ExtensionList.h"
#include "shell/MultiExtFilterFileDialog.h"
#include "shell/ShellFileTypes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString ComparablePath(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

QString CDocManagerEx::GetProgramPath() const {
    return m_programPath.isEmpty() ? QCoreApplication::applicationFilePath() : m_programPath;
}

void CDocManagerEx::RegisterShellFileTypes(BOOL) {
    WriteShellFileTypes();
}

void CDocManagerEx::UnregisterShellFileTypes() {
    RemoveShellFileTypes();
}

bool CDocManagerEx::WriteShellFileTypes() {
    return CShellFileTypes(m_templateList, GetProgramPath()).Register();
}

bool CDocManagerEx::RemoveShellFileTypes() {
    return CShellFileTypes(m_templateList, GetProgramPath()).Unregister();
}

BOOL CDocManagerEx::DoPromptFileName(QString& fileName, const QString& title, DWORD lFlags,
                                     BOOL bOpen, CDocTemplate* pTemplate) {
    CMultiExtFilterFileDialog dialog(bOpen, m_templateList, pTemplate, fileName, lFlags);
    dialog.m_ofn.lpstrTitle = title;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    fileName = dialog.GetPathName();
    return TRUE;
}

CDocument* CDocManagerEx::OpenDocumentFile(const QString& fileName) {
    if (fileName.isEmpty())
        return nullptr;
    const QString wanted = ComparablePath(fileName);
    for (CDocTemplate* docTemplate : m_templateList) {
        for (POSITION pos = docTemplate->GetFirstDocPosition(); pos;) {
            CDocument* document = docTemplate->GetNextDoc(pos);
            if (document->GetPathName().isEmpty() ||
                ComparablePath(document->GetPathName()) != wanted)
                continue;
            POSITION viewPos = document->GetFirstViewPosition();
            if (CView* view = viewPos ? document->GetNextView(viewPos) : nullptr) {
                if (CFrameWnd* frame = view->GetParentFrame())
                    frame->ActivateFrame();
            }
            return document;
        }
    }
    for (CDocTemplate* docTemplate : m_templateList) {
        QString extensions;
        docTemplate->GetDocString(extensions, CDocTemplate::filterExt);
        if (!CExtensionList(extensions).Matches(fileName))
            continue;
        if (!QFileInfo::exists(fileName)) {
            AfxMessageBox(
                QStringLiteral("Cannot open the file %1: it does not exist.").arg(fileName),
                MB_OK | MB_ICONEXCLAMATION);
            return nullptr;
        }
        return docTemplate->OpenDocumentFile(fileName);
    }
    return CDocManager::OpenDocumentFile(fileName);
}
