#pragma once

// CPleaseWaitDlg: the small box (template 163) a dialog shows while it fills a long list, such
// as the font names of the properties dialogs. Its message (static 1014) is drawn in bold dark
// red; the template gives caption and message.

#include "platform/framework/Dialog.h"
#include "platform/wintypes/ColorRef.h"

class CPleaseWaitDlg : public CDialog {
public:
    static constexpr UINT kTemplate = 163;
    static constexpr int kMessage = 1014;
    static constexpr COLORREF kMessageColour = 0x0000C0;
    static constexpr int kMessagePixels = 16;

    CPleaseWaitDlg();
    // The box goes with the object.
    ~CPleaseWaitDlg() override;

    // Shows the box over parent (may be null) and paints it at once, before the caller goes on
    // with its long work. FALSE when the box cannot be made; the work goes on without it.
    BOOL Show(CWnd* parent);

protected:
    BOOL OnInitDialog() override;
};
