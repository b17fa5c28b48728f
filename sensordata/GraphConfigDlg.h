#pragma once

// CGraphConfigDlg: the modal "Graph Configuration" dialog (template 180 of the sensor-resource
// library): which of the data's channels the graph shows, the scaled view, the channel whose
// label and units caption the y axis, grid lines and a black background.

#include "platform/framework/Dialog.h"
#include "platform/framework/ListBox.h"

#include <array>

class CVidraData;

class CGraphConfigDlg : public CDialog {
    DECLARE_DYNAMIC(CGraphConfigDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kChannels = 64;

    // data (not owned) gives the channels that are on; it may be null (nothing listed).
    explicit CGraphConfigDlg(CWnd* pParent = nullptr, const CVidraData* data = nullptr);

    BOOL OnInitDialog() override;

    std::array<bool, kChannels> m_displayed{};
    int m_nScaledView = 0;
    int m_nCaptionOn = 0;
    int m_nGridLines = 1;
    int m_nBlackBackground = 1;
    int m_nCaptionChannel = -1;  // -1: none

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void FillLists();
    // Every selected entry of from becomes displayed or not; the lists are filled again.
    void Move(const CListBox& from, bool displayed);
    void OnAdd();
    void OnRemove();
    void OnDisplayedSelChange();
    void OnCaptionOn();
    void ShowCaptionChannel();

    CListBox m_displayedList;
    CListBox m_hiddenList;
    const CVidraData* m_pData;
};
