#pragma once

// CDialog: a window built from a dialog template of the resource chain (or one given
// directly): its controls are made in tab order at their dialog-unit rectangles converted
// through the template's font, found by id, and exchanged with member variables by
// DoDataExchange. Modal (DoModal runs its own event loop until EndDialog), modeless, or a
// child dialog inside another window (a template with WS_CHILD). The window is a plain
// QWidget with Qt::Dialog flags; the controls are Qt widgets (see ControlWidgets.h).

#include "platform/framework/Wnd.h"

class CDataExchange;
class QEventLoop;
class QFont;
struct DialogTemplate;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
    DECLARE_MESSAGE_MAP()

public:
    explicit CDialog(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);
    // A dialog from a template the caller keeps alive while the dialog exists.
    explicit CDialog(const DialogTemplate* lpTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless or child dialog from the template nIDTemplate. FALSE when the chain has no such
    // template, the window cannot be made or OnInitDialog's exchange fails.
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(const DialogTemplate* lpTemplate, CWnd* pParentWnd = nullptr);
    // Shows the dialog modally and returns the EndDialog result (IDOK, IDCANCEL...), or -1
    // when the dialog cannot be made. The window is gone when it returns.
    virtual INT_PTR DoModal();
    // Ends a modal dialog with that result; a modeless dialog is hidden.
    void EndDialog(int nResult);

    // Runs DoDataExchange: controls to members (TRUE, validating) or members to controls.
    // FALSE when a field failed its check: the user was told, the field has the focus and
    // the dialog stays open.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Makes the push button nID the one Enter presses (the others lose that role).
    void SetDefID(UINT nID);

    // Dialog units of this dialog's font to pixels.
    void MapDialogRect(CRect* rect) const;
    UINT GetTemplateID() const { return m_nIDTemplate; }
    BOOL IsModal() const { return m_bModal; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // Dialog units to pixels for a font: the average character width and the height of the
    // font give the horizontal (per 4 units) and vertical (per 8 units) base.
    static CSize DialogBaseUnits(const QFont& font);
    // The font a template asks for, sized in pixels at 96 dots per inch.
    static QFont TemplateFont(const DialogTemplate& tmpl);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    // Makes window and controls from the template and runs OnInitDialog.
    BOOL CreateFromTemplate(const DialogTemplate& tmpl, CWnd* pParentWnd);

    UINT m_nIDTemplate = 0;
    const DialogTemplate* m_lpTemplate = nullptr;
    CWnd* m_pParentWnd = nullptr;

private:
    const DialogTemplate* FindTemplate() const;

    CSize m_baseUnits{4, 8};
    bool m_bModal = false;
    int m_nModalResult = -1;
    bool m_ended = false;
    QEventLoop* m_loop = nullptr;
};
