#include "shell/SpanrecView.h"

#include "platform/framework/DC.h"

IMPLEMENT_DYNCREATE(CSpanrecView, CView)

QString CSpanrecView::PlaceholderText() {
    return QStringLiteral("This is the main document of CSpanrecView.");
}

void CSpanrecView::OnDraw(CDC* pDC) {
    CRect client;
    GetClientRect(&client);
    pDC->DrawText(PlaceholderText(), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
