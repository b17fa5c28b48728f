#pragma once

// CDataTriggerTab: the "Data Trigger Adjust" page: data-level triggering (channel, condition and
// value of each level, and how a trigger records). The page only shows its template: the data
// cards take their trigger from their own acquisition settings.

#include "views/panels/TabDlg.h"

inline constexpr UINT kDataTriggerTabTemplate = 179;

class CDataTriggerTab : public CTabDlg {
    DECLARE_DYNAMIC(CDataTriggerTab)

public:
    explicit CDataTriggerTab(CWnd* pParentWnd = nullptr);
};
