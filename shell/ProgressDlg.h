#pragma once

// CProgressDlg: the modeless progress dialog of a long operation that runs on the
// user-interface thread. Advancing it lets pending messages through and tells the operation
// whether the user pressed Cancel. While the dialog exists it holds a close block, so the
// messages it lets through cannot close the main window under the operation.

#include "platform/framework/Dialog.h"
#include "platform/framework/ProgressCtrl.h"

#include <QString>

inline constexpr UINT IDD_PROGRESS = 184;
inline constexpr int IDC_PROGRESS_BAR = 1013;
inline constexpr int IDC_PROGRESS_TEXT = 1014;

class CProgressDlg : public CDialog {
    DECLARE_DYNAMIC(CProgressDlg)
    DECLARE_MESSAGE_MAP()

public:
    explicit CProgressDlg(UINT nIDTemplate = IDD_PROGRESS);
    ~CProgressDlg() override;

    // Creates the modeless dialog.
    BOOL Create(CWnd* pParentWnd = nullptr);

    // Sets the bar, then lets pending messages through. FALSE once Cancel was pressed.
    BOOL SetPos(int nPos);
    // The same for a dialog that may be missing: FALSE without one.
    static BOOL SetPos(CProgressDlg* pDlg, int nPos);

    BOOL IsCancelled() const { return m_bCancelled; }

    QString m_strText;   // shown in the text control
    QString m_strTitle;  // the window title when the dialog opens

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* pDX) override;

    CProgressCtrl m_progress;
    int m_nLower = 0;
    int m_nUpper = 100;
    BOOL m_bCancelled = FALSE;

private:
    bool m_holdsCloseBlock = false;
};
