#pragma once

// CSpanrecView: the view of a "DT:Orig" document: it writes "This is the main document of
// CSpanrecView." into its client area.

#include "platform/framework/View.h"

class CSpanrecView : public CView {
    DECLARE_DYNCREATE(CSpanrecView)

public:
    static QString PlaceholderText();
    void OnDraw(CDC* pDC) override;
};
