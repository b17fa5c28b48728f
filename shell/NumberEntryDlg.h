#pragma once

// CNumberEntryDlg: asks for one whole number in a range (template 170): the prompt in static
// 1014, the number in edit 1069 and a spin 2013 that steps it. DoModal returns IDOK with the
// value in m_nValue; a typed value outside the range is refused with a message.

#include "platform/framework/Dialog.h"
#include "platform/framework/SpinButtonCtrl.h"

#include <QString>

inline constexpr UINT IDD_NUMBER_ENTRY = 170;

class CNumberEntryDlg : public CDialog {
    DECLARE_DYNAMIC(CNumberEntryDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kValueId = 1069;
    static constexpr int kSpinId = 2013;
    static constexpr int kPromptId = 1014;

    explicit CNumberEntryDlg(CWnd* pParentWnd = nullptr);

    // A value outside minimum..maximum becomes their middle. An inverted range is taken the
    // right way round.
    void SetParameters(const QString& title, const QString& prompt, int minimum, int maximum,
                       int value, int step);

    int m_nValue = 0;
    int m_nMin = 0;
    int m_nMax = 1000;
    int m_nStep = 1;
    QString m_strTitle = QStringLiteral("This is the Title");
    QString m_strPrompt = QStringLiteral("What is the number?");

    // The spin's notification: a delta below 1 steps up, any other down; always kept in range.
    void OnDeltaPos(NMHDR* pNMHDR, LRESULT* pResult);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CSpinButtonCtrl m_spin;
};
