#include "frames/SaveDataRangeDlg.h"

#include "frames/DlgSaveData.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"

#include <QWidget>

#include <algorithm>

IMPLEMENT_DYNAMIC(CSaveDataRangeDlg, CDialog)

BEGIN_MESSAGE_MAP(CSaveDataRangeDlg, CDialog)
ON_BN_CLICKED(CSaveDataRangeDlg::kSaveAll, OnSaveAll)
ON_BN_CLICKED(CSaveDataRangeDlg::kSaveRange, OnSaveRange)
ON_EN_KILLFOCUS(CSaveDataRangeDlg::kFrom, OnFromDone)
ON_EN_KILLFOCUS(CSaveDataRangeDlg::kTo, OnToDone)
END_MESSAGE_MAP()

CSaveDataRangeDlg::CSaveDataRangeDlg(CDlgSaveData* owner) : CDialog(kTemplate), m_owner(owner) {}

void CSaveDataRangeDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    CDlgSaveData& d = *m_owner;
    DDX_Radio(pDX, kSaveAll, d.m_rangeChoice);
    DDX_Text(pDX, kFrom, d.m_from);
    DDV_MinMaxInt(pDX, d.m_from, d.LowestNumber(), d.HighestNumber());
    DDX_Text(pDX, kTo, d.m_to);
    DDV_MinMaxInt(pDX, d.m_to, d.LowestNumber(), d.HighestNumber());
}

BOOL CSaveDataRangeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const CDlgSaveData& d = *m_owner;
    SetDlgItemText(kScansText, d.ScanCount() > 0 ? QStringLiteral("%1 (numbered %2 to %3)")
                                                       .arg(d.ScanCount())
                                                       .arg(d.LowestNumber())
                                                       .arg(d.HighestNumber())
                                                 : QStringLiteral("none"));
    ApplyRules();
    // The file dialog lays its parts out by their size hints; the panel's controls are placed
    // by hand, so its own size is what it needs.
    GetQWidget()->setMinimumSize(GetQWidget()->size());
    return TRUE;
}

void CSaveDataRangeDlg::ApplyRules() {
    const bool range = m_owner->m_rangeChoice == 1;
    for (int id : {kFrom, kTo}) {
        if (CWnd* edit = GetDlgItem(id))
            edit->EnableWindow(range ? TRUE : FALSE);
    }
}

int CSaveDataRangeDlg::ReadNumber(int id, int fallback) const {
    BOOL ok = FALSE;
    const int value = static_cast<int>(GetDlgItemInt(id, &ok, TRUE));
    return ok ? value : fallback;
}

void CSaveDataRangeDlg::OnSaveAll() {
    m_owner->m_rangeChoice = 0;
    ApplyRules();
}

void CSaveDataRangeDlg::OnSaveRange() {
    m_owner->m_rangeChoice = 1;
    ApplyRules();
}

void CSaveDataRangeDlg::OnFromDone() {
    CDlgSaveData& d = *m_owner;
    d.m_from = std::clamp(ReadNumber(kFrom, d.m_from), d.LowestNumber(), d.HighestNumber());
    d.m_to = std::max(d.m_to, d.m_from);
    SetDlgItemInt(kFrom, static_cast<UINT>(d.m_from), TRUE);
    SetDlgItemInt(kTo, static_cast<UINT>(d.m_to), TRUE);
}

void CSaveDataRangeDlg::OnToDone() {
    CDlgSaveData& d = *m_owner;
    d.m_to = std::clamp(ReadNumber(kTo, d.m_to), d.LowestNumber(), d.HighestNumber());
    d.m_from = std::min(d.m_from, d.m_to);
    SetDlgItemInt(kFrom, static_cast<UINT>(d.m_from), TRUE);
    SetDlgItemInt(kTo, static_cast<UINT>(d.m_to), TRUE);
}
