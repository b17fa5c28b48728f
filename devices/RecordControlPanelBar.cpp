#include "devices/RecordControlPanelBar.h"

#include "devices/core/RecordGroup.h"
#include "platform/framework/FrameWnd.h"

IMPLEMENT_DYNAMIC(CRecordControlPanelBar, CControlPanelBar)

CRecordControlPanelBar::CRecordControlPanelBar(std::function<CRecordGroup*()> groupOf)
    : m_groupOf(std::move(groupOf)) {}

CRecordControlPanelBar::~CRecordControlPanelBar() {
    m_recordTab.SetGroupProvider(nullptr);
}

BOOL CRecordControlPanelBar::CreateIn(CFrameWnd* frame) {
    if (!frame || !Create(frame, kControlPanelBarTemplate, WS_CHILD | CBRS_LEFT, kBarId))
        return FALSE;
    AttachTabControl(TRUE);
    EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    frame->EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
    frame->DockControlBar(this);
    if (m_recordTab.Create(this)) {
        AddPage(&m_recordTab, QStringLiteral("Record"), 0);
        m_recordTab.SetGroupProvider(this);
        SelectTab(0, 0);
        m_recordTab.Refresh();
    }
    frame->ShowControlBar(this, FALSE, FALSE);
    return TRUE;
}

IDeviceCommandTarget* CRecordControlPanelBar::GetCommandTarget() {
    return m_groupOf ? m_groupOf() : nullptr;
}
