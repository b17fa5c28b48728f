#pragma once

// CRadioChoiceDlg: "Session Selection" (template 146): a live camera (0) or a video from a
// file (1); the caller reads GetChoice after IDOK.

#include "platform/framework/Dialog.h"

inline constexpr UINT IDD_RADIO_CHOICE = 146;

class CRadioChoiceDlg : public CDialog {
    DECLARE_DYNAMIC(CRadioChoiceDlg)

public:
    static constexpr int kFirstRadioId = 1007;

    explicit CRadioChoiceDlg(CWnd* pParentWnd = nullptr);
    int GetChoice() const { return m_nChoice; }

    int m_nChoice = 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
