#include "platform/framework/MultiDocTemplate.h"

#include "platform/framework/Document.h"
#include "platform/framework/FrameWnd.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                                     const CRuntimeClass* pFrameClass,
                                     const CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    // Documents still open outlive the template only as orphans; they no longer point back.
    for (CDocument* doc : std::vector<CDocument*>(m_docList))
        CDocTemplate::RemoveDocument(doc);
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const {
    return PositionIn(0, m_docList.size());
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const {
    const std::size_t index = IndexFromPosition(rPos);
    CDocument* doc = index < m_docList.size() ? m_docList[index] : nullptr;
    rPos = PositionIn(index + 1, m_docList.size());
    return doc;
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    if (std::find(m_docList.begin(), m_docList.end(), pDoc) == m_docList.end())
        m_docList.push_back(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    m_docList.erase(std::remove(m_docList.begin(), m_docList.end(), pDoc), m_docList.end());
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    QString name;
    if (!GetDocString(name, docName) || name.isEmpty())
        name = "Untitled";
    pDocument->SetTitle(name + QString::number(m_nUntitledCount + 1));
}

CDocument* CMultiDocTemplate::OpenDocumentFile(const QString& pathName, BOOL bMakeVisible) {
    CDocument* doc = CreateNewDocument();
    if (!doc)
        return nullptr;
    // The frame's views must not close the document while it is being made.
    const BOOL autoDelete = doc->m_bAutoDelete;
    doc->m_bAutoDelete = FALSE;
    CFrameWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = autoDelete;
    if (!frame) {
        delete doc;
        return nullptr;
    }
    if (pathName.isEmpty()) {
        SetDefaultTitle(doc);
        if (!doc->OnNewDocument()) {
            frame->DestroyWindow();
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        if (!doc->OnOpenDocument(pathName)) {
            frame->DestroyWindow();
            return nullptr;
        }
        doc->SetPathName(pathName);
    }
    InitialUpdateFrame(frame, doc, bMakeVisible);
    return doc;
}
