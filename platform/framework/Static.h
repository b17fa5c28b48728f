#pragma once

// CStatic: a text label (QLabel) found by id or made at run time.

#include "platform/framework/Wnd.h"

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)

public:
    BOOL Create(const QString& text, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd,
                UINT nID = 0xFFFF);
};
