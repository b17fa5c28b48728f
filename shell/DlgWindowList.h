#pragma once

// CDlgWindowList: the "Windows" dialog (template 208): the caller's window names in list box
// 2121; DoModal returns the index of the chosen entry (OK or a double click), kNoChoice on
// Cancel, when nothing is selected or when the dialog is ended from outside. The index travels
// beside the dialog's own result, so an entry never passes for OK or Cancel and the reverse.

#include "platform/framework/Dialog.h"
#include "platform/framework/ListBox.h"

#include <QStringList>

inline constexpr UINT IDD_WINDOW_LIST = 208;
inline constexpr int IDC_WINDOW_LIST = 2121;

class CDlgWindowList : public CDialog {
    DECLARE_DYNAMIC(CDlgWindowList)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr INT_PTR kNoChoice = -1;

    // current: the entry selected when the dialog opens.
    CDlgWindowList(const QStringList& names, int current, CWnd* pParentWnd = nullptr);

    INT_PTR DoModal() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnDoubleClick();

private:
    QStringList m_names;
    int m_current;
    INT_PTR m_chosen = kNoChoice;
    CListBox m_list;
};
