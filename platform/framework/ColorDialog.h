#pragma once

// CColorDialog: the colour chooser, asked through the prompter, starting at a colour.

#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/WinTypes.h"

class CWnd;

class CColorDialog {
public:
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* pParentWnd = nullptr);
    virtual ~CColorDialog() = default;

    // IDOK with the chosen colour, or IDCANCEL leaving the colour as it was.
    virtual int DoModal();
    COLORREF GetColor() const { return m_color; }

private:
    COLORREF m_color;
    CWnd* m_parent;
};
