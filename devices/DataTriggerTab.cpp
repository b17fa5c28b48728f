#include "devices/DataTriggerTab.h"

IMPLEMENT_DYNAMIC(CDataTriggerTab, CTabDlg)

CDataTriggerTab::CDataTriggerTab(CWnd* pParentWnd) : CTabDlg(kDataTriggerTabTemplate, pParentWnd) {}
