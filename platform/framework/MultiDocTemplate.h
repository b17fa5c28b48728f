#pragma once

// CMultiDocTemplate: the template of a kind of document that may be open many times at once,
// each in its own MDI child frame. New documents are titled by the document name and a number
// ("Vid1", "Vid2" ...).

#include "platform/framework/DocTemplate.h"

#include <vector>

class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)

public:
    CMultiDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass,
                      const CRuntimeClass* pFrameClass, const CRuntimeClass* pViewClass);
    ~CMultiDocTemplate() override;

    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    void SetDefaultTitle(CDocument* pDocument) override;
    CDocument* OpenDocumentFile(const QString& pathName, BOOL bMakeVisible = TRUE) override;

protected:
    std::vector<CDocument*> m_docList;
    UINT m_nUntitledCount = 0;
};
