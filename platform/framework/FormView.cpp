#include "platform/framework/FormView.h"

IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

FormTemplateBuilder& Builder() {
    static FormTemplateBuilder builder;
    return builder;
}

}  // namespace

void AfxSetFormTemplateBuilder(FormTemplateBuilder builder) {
    Builder() = std::move(builder);
}

CFormView::CFormView(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

int CFormView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CView::OnCreate(lpCreateStruct) == -1)
        return -1;
    CSize size(0, 0);
    if (!Builder() || !Builder()(this, m_nIDTemplate, &size))
        return -1;
    SetScrollSizes(MM_TEXT, size);
    return 0;
}

void CFormView::OnDraw(CDC*) {}
