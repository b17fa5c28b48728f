#include "devices/RecordTab.h"

#include "devices/DeviceCommand.h"
#include "devices/core/Device.h"
#include "devices/core/RecordGroup.h"
#include "platform/framework/Button.h"
#include "platform/framework/ResourceChain.h"

#include <QAbstractButton>
#include <QIcon>
#include <QPixmap>

IMPLEMENT_DYNAMIC(CRecordTab, CTabDlg)

BEGIN_MESSAGE_MAP(CRecordTab, CTabDlg)
ON_BN_CLICKED(CRecordTab::kLive, OnLive)
ON_BN_CLICKED(CRecordTab::kRecord, OnRecord)
ON_BN_CLICKED(CRecordTab::kTrigger, OnTrigger)
ON_BN_CLICKED(CRecordTab::kStop, OnStop)
ON_BN_CLICKED(CRecordTab::kIdle, OnIdle)
ON_BN_CLICKED(CRecordTab::kChain, OnChainRecording)
END_MESSAGE_MAP()

CRecordTab::CRecordTab(UINT nIDTemplate, CWnd* pParentWnd)
    : CTabDlg(nIDTemplate, pParentWnd),
      m_listener(*this),
      m_events(kPollPeriod, [this] { Refresh(); }) {}

void CRecordTab::SetGroupProvider(IDeviceCommandTargetProvider* provider) {
    m_listener.SetProvider(provider);
    m_link.SetCommandTargetProvider(provider);
}

CRecordTab::Enabling CRecordTab::EnablingFor(int chain, bool deviceOpen, int state, int first,
                                             int second, int mayRecord) {
    const bool base = chain != 0 && deviceOpen;
    const bool recording = state == CRecordGroup::kRecord;
    Enabling enabling;
    enabling.live = base;
    enabling.record = base && !recording && mayRecord;
    enabling.trigger = base && recording && first && !second && mayRecord;
    enabling.stop = base && (recording ? !second : state == CRecordGroup::kLive);
    enabling.idle = base && (state == CRecordGroup::kLive || recording);
    return enabling;
}

BOOL CRecordTab::OnInitDialog() {
    CTabDlg::OnInitDialog();
    const std::pair<int, UINT> icons[] = {{kLive, kLiveIcon},
                                          {kRecord, kRecordIcon},
                                          {kTrigger, kTriggerIcon},
                                          {kStop, kStopIcon},
                                          {kIdle, kIdleIcon}};
    for (const auto& [id, icon] : icons) {
        CWnd* item = GetDlgItem(id);
        auto* button = item ? qobject_cast<QAbstractButton*>(item->GetQWidget()) : nullptr;
        const QImage image = CResourceChain::LoadIcon(icon);
        if (button && !image.isNull())
            button->setIcon(QIcon(QPixmap::fromImage(image)));
    }
    m_events.Watch(GetQWidget());
    Refresh();
    return TRUE;
}

int CRecordTab::Query(CRecordGroup& group, int code) {
    int subtype = -1;
    if (CDevice* first = group.GetDeviceAt(0))
        first->GetSubtype(&subtype);
    int status = 0;
    SendDeviceCommand(m_link, group.GetDeviceHandle(0), subtype, code, VT_R8, 0.0, &status);
    return status;
}

void CRecordTab::Refresh() {
    if (!GetSafeHwnd())
        return;
    CRecordGroup* group = GetGroup();
    Enabling enabling;
    if (group) {
        const int chain = group->GetChainSetting();
        SetCheckIfChanged(this, kChain, chain != 0);
        ShowItem(this, kChain, SW_HIDE);
        bool deviceOpen = false;
        for (int i = 0; i < group->GetDeviceCount() && !deviceOpen; ++i)
            deviceOpen = group->GetDeviceAt(i) != nullptr;
        enabling = EnablingFor(chain, deviceOpen, group->GetState(), Query(*group, kQueryFirst),
                               Query(*group, kQuerySecond), group->GetManualControl());
    }
    EnableItem(this, kLive, enabling.live);
    EnableItem(this, kRecord, enabling.record);
    EnableItem(this, kTrigger, enabling.trigger);
    EnableItem(this, kStop, enabling.stop);
    EnableItem(this, kIdle, enabling.idle);
}

void CRecordTab::UpdatePage() {
    Refresh();
}

void CRecordTab::RunCommand(const std::function<void(CRecordGroup&)>& command) {
    CRecordGroup* group = GetGroup();
    if (!group)
        return;
    SetAlternateNotification(1);
    command(*group);
    SetAlternateNotification(0);
    Refresh();
}

void CRecordTab::OnLive() {
    RunCommand([](CRecordGroup& group) { group.GoLive(); });
}

void CRecordTab::OnRecord() {
    RunCommand([](CRecordGroup& group) { group.RecordAllDevices(); });
}

void CRecordTab::OnTrigger() {
    RunCommand([](CRecordGroup& group) { group.Trigger(); });
}

void CRecordTab::OnStop() {
    RunCommand([](CRecordGroup& group) { group.Stop(); });
}

void CRecordTab::OnIdle() {
    RunCommand([](CRecordGroup& group) { group.GoIdle(); });
}

void CRecordTab::OnChainRecording() {
    if (CRecordGroup* group = GetGroup())
        group->SetChainSetting(group->GetChainSetting() == 0 ? 1 : 0);
}
