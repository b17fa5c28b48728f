#include "platform/framework/DocTemplate.h"

#include "platform/framework/CreateContext.h"
#include "platform/framework/Document.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/Menu.h"
#include "platform/framework/RunningOperation.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

namespace {

DocStringLoader s_docStringLoader = nullptr;

// The extension of the last path component with its dot, or empty.
QString ExtensionOf(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : name.mid(dot);
}

}  // namespace

void AfxSetDocStringLoader(DocStringLoader loader) {
    s_docStringLoader = loader;
}

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                           const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass)
    : m_pDocClass(pDocClass),
      m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass),
      m_nIDResource(nIDResource) {
    if (s_docStringLoader)
        m_strDocStrings = s_docStringLoader(nIDResource);
    m_pSharedMenu = CMenu::LoadResourceMenu(nIDResource);
}

CDocTemplate::~CDocTemplate() {
    delete m_pSharedMenu;
}

BOOL CDocTemplate::GetDocString(QString& rString, DocStringIndex index) const {
    const QStringList fields = m_strDocStrings.split('\n');
    rString = index < fields.size() ? fields[index] : QString();
    return !rString.isEmpty();
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    if (pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(const QString& pathName,
                                                    CDocument*& rpDocMatch) {
    rpDocMatch = nullptr;
    const QString full = QDir::cleanPath(QFileInfo(pathName).absoluteFilePath());
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        CDocument* doc = GetNextDoc(pos);
        if (!doc->GetPathName().isEmpty() && doc->GetPathName() == full) {
            rpDocMatch = doc;
            return yesAlreadyOpen;
        }
    }
    QString filter;
    if (GetDocString(filter, filterExt) &&
        ExtensionOf(pathName).compare(filter, Qt::CaseInsensitive) == 0)
        return yesAttemptNative;
    return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (!m_pDocClass)
        return nullptr;
    auto* doc = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
    if (!doc)
        return nullptr;
    AddDocument(doc);
    return doc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    auto* frame = m_pFrameClass ? dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject()) : nullptr;
    if (!frame) {
        AfxMessageBox("Failed to create empty document.", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    const std::weak_ptr<bool> alive = frame->GetLifeToken();
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        // A frame whose window was made deleted itself with it; one without a window did not.
        if (!alive.expired())
            delete frame;
        AfxMessageBox("Failed to create empty document.", MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    // A document an operation uses stays until the operation has ended; its close is asked
    // for now and comes again then.
    std::vector<CDocument*> busy;
    for (POSITION pos = GetFirstDocPosition(); pos;) {
        if (CDocument* doc = GetNextDoc(pos); CRunningOperation::IsRunning(doc))
            busy.push_back(doc);
    }
    for (CDocument* doc : busy)
        doc->OnCloseDocument();
    // Closing a document takes it out of the list, so always close the first one left.
    for (;;) {
        CDocument* doc = nullptr;
        for (POSITION pos = GetFirstDocPosition(); pos && !doc;) {
            if (CDocument* next = GetNextDoc(pos); !CRunningOperation::IsRunning(next))
                doc = next;
        }
        if (!doc)
            break;
        const BOOL autoDelete = doc->m_bAutoDelete;
        doc->OnCloseDocument();
        if (!autoDelete)
            RemoveDocument(doc);
    }
}
