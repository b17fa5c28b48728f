#pragma once

// CPaintDC: the device context of a WM_PAINT handler. It draws on the window's widget during
// the paint event Qt is delivering, so it lives only inside the handler.

#include "platform/framework/DC.h"

class CWnd;

struct PAINTSTRUCT {
    CRect rcPaint;  // bounds of the area being painted
    BOOL fErase = FALSE;
};

class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)

public:
    explicit CPaintDC(CWnd* wnd);

    PAINTSTRUCT m_ps;
};
