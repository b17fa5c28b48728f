#pragma once

// CSaveDataRangeDlg: the panel of the data-file save dialog (template 30053) in which the user
// chooses to save every scan or a range of them, as numbers relative to the zero point. It
// exchanges the members of its CDlgSaveData and keeps from and to inside the scans.

#include "platform/framework/Dialog.h"

class CDlgSaveData;

class CSaveDataRangeDlg : public CDialog {
    DECLARE_DYNAMIC(CSaveDataRangeDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplate = 30053;
    static constexpr int kSaveAll = 1015;
    static constexpr int kSaveRange = 1016;
    static constexpr int kFrom = 1019;
    static constexpr int kTo = 1020;
    static constexpr int kScansText = 1537;

    explicit CSaveDataRangeDlg(CDlgSaveData* owner);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter and Escape belong to the file dialog around the panel.
    void OnOK() override {}
    void OnCancel() override {}

    void OnSaveAll();
    void OnSaveRange();
    void OnFromDone();
    void OnToDone();

private:
    void ApplyRules();
    // The number in edit id, or fallback when it holds none.
    int ReadNumber(int id, int fallback) const;

    CDlgSaveData* m_owner;
};
