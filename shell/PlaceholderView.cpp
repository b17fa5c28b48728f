#include "shell/PlaceholderView.h"

IMPLEMENT_DYNCREATE(CPlaceholderView, CView)

void CPlaceholderView::OnDraw(CDC*) {}
