#include "frames/SaveVideoOptionsDlg.h"

#include "frames/SaveVideoDlg.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"

#include <QLineEdit>

#include <algorithm>

IMPLEMENT_DYNAMIC(CSaveVideoOptionsDlg, CDialog)

BEGIN_MESSAGE_MAP(CSaveVideoOptionsDlg, CDialog)
ON_BN_CLICKED(CSaveVideoOptionsDlg::kEntireRange, OnEntireRange)
ON_BN_CLICKED(CSaveVideoOptionsDlg::kFrames, OnFramesRange)
ON_EN_KILLFOCUS(CSaveVideoOptionsDlg::kFrom, OnFromDone)
ON_EN_KILLFOCUS(CSaveVideoOptionsDlg::kTo, OnToDone)
ON_EN_KILLFOCUS(CSaveVideoOptionsDlg::kSkipCount, OnSkipDone)
ON_EN_KILLFOCUS(CSaveVideoOptionsDlg::kFramesPerFile, OnFramesPerFileDone)
ON_EN_KILLFOCUS(CSaveVideoOptionsDlg::kEstimate, OnEstimateDone)
ON_BN_CLICKED(CSaveVideoOptionsDlg::kSkipEnabled, OnSkipEnabled)
ON_BN_CLICKED(CSaveVideoOptionsDlg::kBatch, OnBatch)
ON_BN_CLICKED(CSaveVideoOptionsDlg::kSaveAnalysis, OnSaveAnalysis)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

CSaveVideoOptionsDlg::CSaveVideoOptionsDlg(CSaveVideoDlg* owner)
    : CDialog(kTemplate), m_owner(owner) {}

void CSaveVideoOptionsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    CSaveVideoDlg& d = *m_owner;
    DDX_Control(pDX, kBatchSlider, m_slider);
    DDX_Radio(pDX, kEntireRange, d.m_rangeChoice);
    DDX_Text(pDX, kFrom, d.m_from);
    DDV_MinMaxInt(pDX, d.m_from, d.LowestNumber(), d.HighestNumber());
    DDX_Text(pDX, kTo, d.m_to);
    DDV_MinMaxInt(pDX, d.m_to, d.LowestNumber(), d.HighestNumber());
    DDX_Check(pDX, kSkipEnabled, d.m_skipEnabled);
    DDX_Text(pDX, kSkipCount, d.m_skipCount);
    DDV_MinMaxInt(pDX, d.m_skipCount, 0, std::max(d.m_frameCount - 1, 0));
    DDX_Check(pDX, kBatch, d.m_batch);
    DDX_Text(pDX, kFramesPerFile, d.m_framesPerFile);
    DDV_MinMaxInt(pDX, d.m_framesPerFile, 1, std::max(d.m_frameCount, 1));
    DDX_Check(pDX, kSaveAnalysis, d.m_saveAnalysis);
    DDX_Check(pDX, kSaveData, d.m_saveData);
    DDX_Check(pDX, kSaveEncrypted, d.m_saveEncrypted);
    DDX_Check(pDX, kEncryptNotes, d.m_encryptNotes);
    DDX_Check(pDX, kSaveBayer, d.m_saveBayer);
}

BOOL CSaveVideoOptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const int count = std::max(m_owner->m_frameCount, 1);
    m_slider.SetRange(1, count);
    m_slider.SetLineSize(1);
    m_slider.SetPos(count);
    ShowNumber(kFramesPerFile, m_owner->m_framesPerFile);
    ApplyRules();
    OnTypeChange();
    return TRUE;
}

void CSaveVideoOptionsDlg::ApplyRules() {
    const CSaveVideoDlg& d = *m_owner;
    const auto enable = [this](int id, bool on) {
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(on ? TRUE : FALSE);
    };
    const auto editable = [this](int id, bool on) {
        if (CWnd* control = GetDlgItem(id)) {
            if (auto* edit = qobject_cast<QLineEdit*>(control->GetQWidget()))
                edit->setReadOnly(!on);
        }
    };
    enable(kFrom, d.m_rangeChoice == 1);
    enable(kTo, d.m_rangeChoice == 1);
    enable(kSkipCount, d.m_skipEnabled != FALSE);
    enable(kBatchSlider, d.m_batch != FALSE);
    editable(kFramesPerFile, d.m_batch != FALSE);
    editable(kEstimate, d.m_batch != FALSE);
    enable(kSaveData, d.m_enableSaveData != FALSE);
    enable(kScaleUnits, IsDlgButtonChecked(kSaveAnalysis) != 0);
    enable(kSaveBayer, d.m_enableBayer != FALSE);
    if (CWnd* encrypt = GetDlgItem(kEncryptNotes))
        encrypt->ShowWindow(d.m_showEncrypt ? SW_SHOW : SW_HIDE);
}

void CSaveVideoOptionsDlg::OnTypeChange() {
    if (CWnd* size = GetDlgItem(kEstimate))
        size->ShowWindow(m_owner->GetFilterIndex() == m_owner->m_jpgIndex ? SW_HIDE : SW_SHOW);
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::UpdateEstimate() {
    m_owner->m_estimateMB = m_owner->EstimateMegabytes();
    SetDlgItemText(kEstimate,
                   QString::number(m_owner->m_estimateMB, 'f', m_owner->m_estimateMB < 0 ? 0 : 2));
}

void CSaveVideoOptionsDlg::SetBatchMaximum(int maximum, bool fill) {
    maximum = std::max(maximum, 1);
    m_slider.SetRange(1, maximum);
    int& perFile = m_owner->m_framesPerFile;
    perFile = fill ? maximum : std::clamp(perFile, 1, maximum);
    m_slider.SetPos(perFile);
    ShowNumber(kFramesPerFile, perFile);
}

int CSaveVideoOptionsDlg::ReadNumber(int id, int fallback) const {
    BOOL ok = FALSE;
    const int value = static_cast<int>(GetDlgItemInt(id, &ok, TRUE));
    return ok ? value : fallback;
}

void CSaveVideoOptionsDlg::ShowNumber(int id, int value) {
    SetDlgItemInt(id, static_cast<UINT>(value), TRUE);
}

void CSaveVideoOptionsDlg::OnEntireRange() {
    m_owner->m_rangeChoice = 0;
    SetBatchMaximum(m_owner->FramesOfChoice() / m_owner->Step(), true);
    ApplyRules();
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::OnFramesRange() {
    m_owner->m_rangeChoice = 1;
    SetBatchMaximum(m_owner->FramesOfChoice() / m_owner->Step(), true);
    ApplyRules();
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::OnFromDone() {
    CSaveVideoDlg& d = *m_owner;
    d.m_from = std::clamp(ReadNumber(kFrom, d.m_from), d.LowestNumber(), d.HighestNumber());
    d.m_to = std::max(d.m_to, d.m_from);
    ShowNumber(kFrom, d.m_from);
    ShowNumber(kTo, d.m_to);
    SetBatchMaximum((d.m_to - d.m_from + 1) / d.Step(), false);
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::OnToDone() {
    CSaveVideoDlg& d = *m_owner;
    d.m_to = std::clamp(ReadNumber(kTo, d.m_to), d.LowestNumber(), d.HighestNumber());
    d.m_from = std::min(d.m_from, d.m_to);
    ShowNumber(kFrom, d.m_from);
    ShowNumber(kTo, d.m_to);
    SetBatchMaximum((d.m_to - d.m_from + 1) / d.Step(), false);
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::OnSkipDone() {
    CSaveVideoDlg& d = *m_owner;
    d.m_skipCount = std::clamp(ReadNumber(kSkipCount, d.m_skipCount), 0, d.m_frameCount);
    ShowNumber(kSkipCount, d.m_skipCount);
    SetBatchMaximum(d.FramesOfChoice() / d.Step(), true);
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::OnFramesPerFileDone() {
    CSaveVideoDlg& d = *m_owner;
    d.m_framesPerFile =
        std::clamp(ReadNumber(kFramesPerFile, d.m_framesPerFile), 1, std::max(d.m_frameCount, 1));
    ShowNumber(kFramesPerFile, d.m_framesPerFile);
    m_slider.SetPos(d.m_framesPerFile);
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::OnEstimateDone() {
    m_slider.SetPos(m_owner->m_framesPerFile);
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::OnSkipEnabled() {
    m_owner->m_skipEnabled = IsDlgButtonChecked(kSkipEnabled) ? TRUE : FALSE;
    ApplyRules();
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::OnBatch() {
    m_owner->m_batch = IsDlgButtonChecked(kBatch) ? TRUE : FALSE;
    ApplyRules();
    if (m_owner->m_batch && m_owner->m_pviIndex > 0)
        m_owner->SelectType(m_owner->m_pviIndex);
    UpdateEstimate();
}

void CSaveVideoOptionsDlg::OnSaveAnalysis() {
    ApplyRules();
}

void CSaveVideoOptionsDlg::OnHScroll(UINT, UINT, CWnd*) {
    m_owner->m_framesPerFile = m_slider.GetPos();
    ShowNumber(kFramesPerFile, m_owner->m_framesPerFile);
    UpdateEstimate();
}
