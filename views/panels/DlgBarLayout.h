#pragma once

// CDlgBarLayout: the dialog-bar twin of CDlgLayout, docked at the bottom of its frame: its own
// controls are arranged after one of several hidden layout dialogs (their texts stay the
// bar's own). While visible the bar is as high as the active layout and, when the frame
// stretches it, as wide as the frame. The bar owns its layout dialogs.

#include "platform/framework/Dialog.h"
#include "platform/framework/DialogBar.h"
#include "views/panels/LayoutDialogs.h"

class CDlgBarLayout : public CDialogBar {
    DECLARE_DYNAMIC(CDlgBarLayout)

public:
    CDlgBarLayout() = default;
    ~CDlgBarLayout() override;

    // The active layout, or null; a layout whose window was destroyed is forgotten here.
    virtual CDialog* GetActiveDialog();
    // The position of the active layout in the list, or -1.
    virtual int GetActiveIndex();
    // Makes layout index the active one; FALSE when index names no layout.
    virtual BOOL SelectDialog(int index);
    // Resizes the bar to the layout (without activating it) and arranges the bar's controls
    // after it. FALSE (and no active layout) when the dialog is null or has no window.
    virtual BOOL SetActiveDialog(CDialog* dialog);
    // Makes a hidden layout dialog from the template as a child of the bar and returns its
    // index, or -1 when the bar has no window or the template cannot be made.
    virtual int AddDialog(UINT nIDTemplate);
    virtual void RemoveAllDialogs();

    int GetDialogCount() const { return m_layouts.GetCount(); }

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    CLayoutDialogs m_layouts;
};
