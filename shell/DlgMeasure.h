#pragma once

// CDlgMeasure: the "Measurement" tool palette (template 406, modeless). Each of its buttons
// carries a measurement command id; a click hands that command to the palette's frame, whose
// routing reaches the view that adds the tool.

#include "platform/framework/Dialog.h"

inline constexpr UINT IDD_MEASURE = 406;

class CDlgMeasure : public CDialog {
    DECLARE_DYNAMIC(CDlgMeasure)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kFirstTool = 32930;
    static constexpr UINT kLastTool = 32937;

    explicit CDlgMeasure(CWnd* pParentWnd = nullptr);

    void OnTool(UINT nID);

protected:
    // A palette closes with its frame, never with Enter or Escape.
    void OnOK() override {}
    void OnCancel() override {}
};
