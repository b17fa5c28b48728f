#pragma once

// CPlaceholderView: the view of a window kind whose subsystem is not built yet; its
// document refuses to open, so it is never shown.

#include "platform/framework/View.h"

class CPlaceholderView : public CView {
    DECLARE_DYNCREATE(CPlaceholderView)

public:
    void OnDraw(CDC* pDC) override;
};
