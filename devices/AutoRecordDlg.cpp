#include "devices/AutoRecordDlg.h"

#include "devices/AutoDownloadWnd.h"
#include "devices/core/Device.h"
#include "devices/core/RecordGroup.h"
#include "platform/framework/Button.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/ResourceChain.h"
#include "platform/wintypes/CLocale.h"
#include "views/panels/TabDlg.h"

IMPLEMENT_DYNAMIC(CAutoRecordDlg, CDialog)

BEGIN_MESSAGE_MAP(CAutoRecordDlg, CDialog)
ON_WM_TIMER()
ON_WM_DESTROY()
ON_BN_CLICKED(CAutoRecordDlg::kEngage, OnEngage)
ON_BN_CLICKED(CAutoRecordDlg::kTestTrigger, OnTestTrigger)
ON_BN_CLICKED(CAutoRecordDlg::kPanicStop, OnPanicStop)
ON_BN_CLICKED(CAutoRecordDlg::kIdleNoLive, OnIdleNoLive)
ON_BN_CLICKED(CAutoRecordDlg::kIdleLive, OnIdleLive)
END_MESSAGE_MAP()

namespace {

// The auto-download options page and its first mode button; the buttons of the other modes
// follow it in mode order.
constexpr UINT kAutoDownloadPage = 30081;
constexpr int kFirstModeButton = 2160;
constexpr int kModeCount = 6;

const QString kAll = QStringLiteral("all");

// The first device of the group of that type, or null.
CDevice* FirstOfType(CRecordGroup& group, int type) {
    for (int i = 0; i < group.GetDeviceCount(); ++i) {
        CDevice* device = group.GetDeviceAt(i);
        int deviceType = 0;
        if (device && device->GetType(&deviceType) == 0 && deviceType == type)
            return device;
    }
    return nullptr;
}

}  // namespace

CAutoRecordDlg::CAutoRecordDlg(CWnd* pParentWnd) : CDialog(kTemplate, pParentWnd) {}

QString CAutoRecordDlg::ModeName(int mode) {
    if (mode >= 0 && mode < kModeCount) {
        if (const DialogTemplate* page = CResourceChain::FindDialog(kAutoDownloadPage)) {
            for (const DialogItemTemplate& item : page->items) {
                if (item.id == kFirstModeButton + mode)
                    return item.text.trimmed();
            }
        }
    }
    return QString::number(mode);
}

BOOL CAutoRecordDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ShowEngageText();
    RefreshFields();
    SetTimer(kRefreshTimer, kRefreshMs);
    return TRUE;
}

void CAutoRecordDlg::OnDestroy() {
    KillTimer(kRefreshTimer);
    CDialog::OnDestroy();
}

void CAutoRecordDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kRefreshTimer)
        RefreshFields();
    else
        Default();
}

CRecordGroup* CAutoRecordDlg::Group() const {
    return m_controller ? m_controller->GetRecordGroup() : nullptr;
}

void CAutoRecordDlg::FollowCycle() {
    // A finite cycle that has run its count, or one a failed download ended, leaves the mode
    // by itself: the dialog is then no longer engaged.
    if (m_engaged && m_controller && !m_controller->IsActive()) {
        m_engaged = 0;
        ShowEngageText();
    }
}

void CAutoRecordDlg::RefreshFields() {
    if (!m_controller || !GetSafeHwnd())
        return;
    FollowCycle();
    const CAutoDownloadWnd::Settings& s = m_controller->GetSettings();
    const auto text = [this](int id, const QString& value, bool valid = true) {
        CTabDlg::SetFieldTextIfChanged(this, id, value, valid);
    };
    text(kModeField, QStringLiteral("Mode : ") + ModeName(s.mode));

    CRecordGroup* group = Group();
    double rate = 0.0;
    CDevice* camera = group ? FirstOfType(*group, kDeviceTypeCamera) : nullptr;
    const bool videoRate = camera && camera->GetRecordRate(&rate) == 0;
    text(kVideoRateField, videoRate ? QFormatC("%3.0f", rate) : QString(), videoRate);
    CDevice* card = group ? FirstOfType(*group, kDeviceTypeDataCard) : nullptr;
    for (int id : {kDataRateField, kDataRateLabel, kDataRateUnit})
        CTabDlg::ShowItem(this, id, card ? SW_SHOW : SW_HIDE);
    const bool dataRate = card && card->GetRecordRate(&rate) == 0;
    text(kDataRateField, dataRate ? QFormatC("%3.0f", rate) : QString(), dataRate);

    QString count = QString::number(m_controller->GetCounter());
    if (s.finite)
        count += QStringLiteral(" / %1").arg(s.maxCount);
    text(kTriggerCountField, count);
    text(kBaseNameField, s.baseName);
    text(kLastSaveField, m_controller->GetLastSaveFolder());
    // A range option of 0 saves every frame.
    text(kRangeFromField, s.rangeOption ? QString::number(s.rangeFrom) : kAll);
    text(kRangeToField, s.rangeOption ? QString::number(s.rangeTo) : kAll);
    CTabDlg::SetCheckIfChanged(this, kDelayedRearmCheck, s.delayedRearm != 0);
    text(kRearmDelayField, QString::number(s.rearmDelaySeconds));
    CTabDlg::SetCheckIfChanged(this, kSelfTriggerCheck, s.selfTrigger != 0);
    text(kSelfTriggerDelayField, QString::number(s.selfTriggerDelaySeconds));
}

void CAutoRecordDlg::ShowEngageText() {
    if (CWnd* button = GetSafeHwnd() ? GetDlgItem(kEngage) : nullptr)
        button->SetWindowText(m_engaged ? QStringLiteral("Disengage Auto-Download")
                                        : QStringLiteral("Engage Auto-Download"));
}

void CAutoRecordDlg::OnEngage() {
    if (!Group())
        return;
    if (!m_engaged) {
        m_controller->Enable();
        if (SUCCEEDED(m_controller->Arm()))
            m_engaged = 1;
    } else {
        // Disengaging ends the cycle (its timers too, so no later re-arm records again); the
        // group goes live.
        m_controller->Disable();
        m_engaged = 0;
    }
    ShowEngageText();
    RefreshFields();
}

void CAutoRecordDlg::OnTestTrigger() {
    if (CRecordGroup* group = Group())
        group->Trigger();
}

void CAutoRecordDlg::OnPanicStop() {
    if (CRecordGroup* group = Group())
        group->Stop();
}

void CAutoRecordDlg::OnIdleNoLive() {
    if (CRecordGroup* group = Group())
        group->GoIdle();
}

void CAutoRecordDlg::OnIdleLive() {
    if (CRecordGroup* group = Group())
        group->GoLive();
}

BOOL CAutoRecordDlg::MayClose() {
    FollowCycle();
    if (m_engaged) {
        MessageBox(
            QStringLiteral("Please disengage auto-download mode before closing this dialog."),
            QStringLiteral("Vidra Player"), MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    // A cycle still running (one the dialog did not engage) ends with the dialog.
    if (m_controller && m_controller->IsActive())
        m_controller->Disable();
    return TRUE;
}

void CAutoRecordDlg::OnOK() {
    if (MayClose())
        CDialog::OnOK();
}

void CAutoRecordDlg::OnCancel() {
    if (MayClose())
        CDialog::OnCancel();
}
