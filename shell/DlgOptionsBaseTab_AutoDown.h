#pragma once

#include "shell/OptionFieldsPage.h"

// Automatic recording and download ("ADL:" keys); kept in an option file. The page takes what
// its controls show as soon as the user clicks a choice or types a count or a delay, so its
// owner reads the values while the dialog is still open.
class CDlgOptionsBaseTab_AutoDown : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_AutoDown)
    DECLARE_MESSAGE_MAP()
public:
    // Posted by the owner after it changed the values: the page shows them again.
    static constexpr UINT kShowValuesMessage = WM_USER + 0x237;
    static constexpr int kBasicModeId = 2160;
    static constexpr int kInfiniteResetId = 2158;
    static constexpr int kFiniteResetId = 2159;
    static constexpr int kResetCountId = 1009;
    static constexpr int kStartCountId = 2169;
    static constexpr int kSelfTriggerTimeId = 2171;

    explicit CDlgOptionsBaseTab_AutoDown(CWnd* pParentWnd = nullptr);
    void Serialize(CArchive& ar) override;

protected:
    // The mode is only stored: "Basic" shows checked for mode 0, and any other mode stays as it
    // is until the user checks "Basic".
    void DoDataExchange(CDataExchange* pDX) override;
    void OnChoiceClicked();
    void OnResetCountChanged();
    void OnStartCountChanged();
    void OnSelfTriggerTimeChanged();
    // A count or delay being typed is taken once it is a number inside its range; a half-typed
    // one leaves the value as it was, without a word.
    void TakeNumber(int nID);
    LRESULT OnShowValues(WPARAM wParam, LPARAM lParam);
};
