#pragma once

// CReadoutField: a text field of a dialog that reads out a cursor or a play position, rewritten
// at every step: its text is set only when it changes, and its frame is copied rather than
// drawn again (CCachedPanelStyle). It looks and tells its dialog (EN_CHANGE) as before.

#include "platform/framework/Wnd.h"

class CReadoutField : public CWnd {
public:
    // Takes over the dialog item id of parent; FALSE without it.
    BOOL Attach(int id, CWnd* parent);
    void SetText(const QString& text);

    // What printf's "%<width>.4f" writes for value in the C locale, made without printf: read-outs
    // write many such numbers at every step.
    static QString FixedText(double value, int width);
};
