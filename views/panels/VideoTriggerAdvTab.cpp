#include "views/panels/VideoTriggerAdvTab.h"

IMPLEMENT_DYNAMIC(CVideoTriggerAdvTab, CDialog)

CVideoTriggerAdvTab::CVideoTriggerAdvTab(CWnd* pParentWnd)
    : CDialog(kVideoTriggerAdvTemplate, pParentWnd) {}

CVideoTriggerAdvTab::~CVideoTriggerAdvTab() = default;
