#pragma once

// CFormView: a scroll view whose content is the controls of a dialog template. The controls
// are made from the template by the builder that the resource chain installs
// (AfxSetFormTemplateBuilder); the view scrolls over the template's size.

#include "platform/framework/ScrollView.h"

#include <functional>

// Makes the controls of template nIDTemplate as children of form and sets *size to the
// template's size in pixels. FALSE when there is no such template.
using FormTemplateBuilder = std::function<BOOL(CWnd* form, UINT nIDTemplate, CSize* size)>;
void AfxSetFormTemplateBuilder(FormTemplateBuilder builder);

class CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)
    DECLARE_MESSAGE_MAP()

public:
    explicit CFormView(UINT nIDTemplate);

    UINT GetTemplateId() const { return m_nIDTemplate; }
    // The controls paint themselves; the form draws nothing of its own.
    void OnDraw(CDC* pDC) override;

protected:
    // Fails (the view is not made) when the template cannot be built.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

    UINT m_nIDTemplate;
};
