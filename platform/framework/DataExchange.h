#pragma once

// CDataExchange: one run of a dialog's DoDataExchange, in one direction: members to controls,
// or controls to members with validation. The DDX_ functions move one value between a member
// and the control of an id; the DDV_ functions check the value just read. A value that cannot
// be read or fails its check is reported to the user through the prompter, the control gets
// the focus and the run ends with CUserException (UpdateData returns FALSE).

#include "platform/wintypes/WinMessages.h"

#include <QString>

class CWnd;
class QWidget;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control of that id, remembered as the one a following DDV_ check concerns. Throws
    // (after an internal assertion) when the dialog has no such control.
    QWidget* PrepareCtrl(int nIDC);
    QWidget* PrepareEditCtrl(int nIDC);
    // Gives the focus to the last prepared control (selecting an edit's text) and throws
    // CUserException.
    [[noreturn]] void Fail();

private:
    QWidget* m_lastControl = nullptr;
    bool m_lastIsEdit = false;
};

void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, QString& value);
// 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of its group; value is the index of the checked one, -1 none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// The selected entry of a combo box, -1 none.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& value);
// Attaches control to the dialog item once (SubclassDlgItem), so its class handles it.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal);
void DDV_MaxChars(CDataExchange* pDX, const QString& value, int nChars);
