#pragma once

// Cursors by their standard ids, set the way WM_SETCURSOR handlers expect: SetCursor changes
// the cursor of the window that is asking (else of the window under the mouse).
// CWaitCursor shows the busy cursor over the whole program while it lives.

#include <QCursor>

class QWidget;

using HCURSOR = const QCursor*;

inline constexpr int IDC_ARROW = 32512;
inline constexpr int IDC_WAIT = 32514;
inline constexpr int IDC_HAND = 32649;

// The cursor of a standard id; the arrow for ids it does not know.
HCURSOR AfxLoadStandardCursor(int id);
// Returns the cursor set before (nullptr at first).
HCURSOR SetCursor(HCURSOR cursor);
// The window whose WM_SETCURSOR is being handled (framework use).
void SetCursorTarget(QWidget* widget);

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
