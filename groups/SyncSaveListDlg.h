#pragma once

// CSyncSaveListDlg: "Synchronized Save List..." (template 366), where the user chooses which
// playback windows of a play group are re-saved together and how: in a new play group, with a
// save dialog for each window, with synchronized names. Every window is offered checked; the
// one whose playback carries the title given comes first, the others follow top first.

#include "platform/framework/Dialog.h"
#include "platform/framework/ListCtrl.h"

#include <QString>

#include <vector>

class CMeasurementFormDoc;

class CSyncSaveListDlg : public CDialog {
    DECLARE_DYNAMIC(CSyncSaveListDlg)

public:
    static constexpr UINT kTemplateId = 366;
    static constexpr int kListId = 2146;
    static constexpr int kOpenInNewGroupId = 2147;
    static constexpr int kAskEachId = 2148;
    static constexpr int kSyncNamesId = 2149;

    // The playbacks of sourceKind (1 device memory, 0 files) of group are offered.
    CSyncSaveListDlg(CMeasurementFormDoc* group, const QString& title, int sourceKind,
                     CWnd* pParentWnd = nullptr);

    // The frames offered, in list order.
    const std::vector<HWND>& GetOfferedFrames() const { return m_offered; }
    // After OK: the checked frames, in list order.
    const std::vector<HWND>& GetCheckedFrames() const { return m_checked; }

    // The three options, read back after OK.
    int m_openInNewGroup = 0;
    int m_askEach = 0;
    int m_syncNames = 1;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    CListCtrl m_list;
    std::vector<HWND> m_offered;
    std::vector<HWND> m_checked;
};
