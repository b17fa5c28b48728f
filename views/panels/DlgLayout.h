#pragma once

// CDlgLayout: a dialog whose own controls can be arranged after one of several hidden layout
// dialogs. Each layout is a hidden child dialog made from its own template; choosing one
// moves, shows or hides and relabels every control of the host so that it stands where the
// control with the same id stands in that layout. The host owns its layout dialogs.

#include "platform/framework/Dialog.h"
#include "views/panels/LayoutDialogs.h"

class CDlgLayout : public CDialog {
    DECLARE_DYNAMIC(CDlgLayout)

public:
    explicit CDlgLayout(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);
    ~CDlgLayout() override;

    // The active layout, or null; a layout whose window was destroyed is forgotten here.
    virtual CDialog* GetActiveDialog();
    // The position of the active layout in the list, or -1.
    virtual int GetActiveIndex();
    // Makes layout index the active one; FALSE when index names no layout.
    virtual BOOL SelectDialog(int index);
    // Resizes the host to the layout and arranges the host's controls after it. FALSE (and no
    // active layout) when the dialog is null or has no window.
    virtual BOOL SetActiveDialog(CDialog* dialog);
    // Makes a hidden layout dialog from the template as a child of the host and returns its
    // index, or -1 when the host has no window or the template cannot be made.
    virtual int AddDialog(UINT nIDTemplate);
    virtual void RemoveAllDialogs();

    int GetDialogCount() const { return m_layouts.GetCount(); }

    // Moves, shows or hides (and with bCopyText relabels) every control of host after the
    // control with the same id in the layout dialog; controls inside dialogs of the host and
    // controls the layout lacks stay as they are. Shared with the dialog-bar host.
    static void ArrangeAfter(CWnd* host, CDialog* layout, BOOL bCopyText);

protected:
    CLayoutDialogs m_layouts;
};
