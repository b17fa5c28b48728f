#include "sensordata/AcquisitionSettingsDlg.h"

#include "platform/framework/Button.h"
#include "platform/framework/ColorDialog.h"
#include "platform/framework/ComboBox.h"
#include "platform/wintypes/CLocale.h"
#include "sensordata/AcqSettings.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/SensorRegistry.h"
#include "sensorres/SensorResourceIds.h"

#include <QPalette>
#include <QWidget>

IMPLEMENT_DYNAMIC(CAcquisitionSettingsDlg, CDialog)

BEGIN_MESSAGE_MAP(CAcquisitionSettingsDlg, CDialog)
ON_NOTIFY(LVN_ITEMCHANGED, CAcquisitionSettingsDlg::kChannelList, OnListNotify)
ON_CBN_SELCHANGE(CAcquisitionSettingsDlg::kChannelCombo, OnChannelChosen)
ON_CBN_SELCHANGE(CAcquisitionSettingsDlg::kMode, OnModeChosen)
ON_CBN_SELCHANGE(CAcquisitionSettingsDlg::kConnector, OnConnectorChosen)
ON_BN_CLICKED(CAcquisitionSettingsDlg::kOn, OnOnClicked)
ON_BN_CLICKED(CAcquisitionSettingsDlg::kColorButton, OnColor)
END_MESSAGE_MAP()

namespace {

const QString kModeTexts[] = {QStringLiteral("DIFF"), QStringLiteral("RSE"),
                              QStringLiteral("NRSE")};

// The controls of the current channel, which a channel taken by its partner cannot use.
constexpr int kChannelControls[] = {
    CAcquisitionSettingsDlg::kOn,         CAcquisitionSettingsDlg::kMode,
    CAcquisitionSettingsDlg::kUpper,      CAcquisitionSettingsDlg::kLower,
    CAcquisitionSettingsDlg::kFactor,     CAcquisitionSettingsDlg::kOffset,
    CAcquisitionSettingsDlg::kLabel,      CAcquisitionSettingsDlg::kUnits,
    CAcquisitionSettingsDlg::kColorButton};

QString ModeText(int mode) {
    return mode >= 0 && mode < 3 ? kModeTexts[mode] : QString();
}

}  // namespace

CComboBox* CAcquisitionSettingsDlg::Combo(int id) {
    CComboBox* combo = id == kChannelCombo ? &m_channelCombo
                       : id == kMode       ? &m_modeCombo
                                           : &m_connectorCombo;
    return combo->GetSafeHwnd() ? combo : nullptr;
}

void GetTriggerEdgeText(int edge, QString* text) {
    if (!text)
        return;
    switch (edge) {
        case 1:
            *text = QStringLiteral("Rising Edge");
            break;
        case 2:
            *text = QStringLiteral("Falling Edge");
            break;
        default:
            *text = QStringLiteral("Unknown");
            break;
    }
}

CAcquisitionSettingsDlg::CAcquisitionSettingsDlg(CWnd* pParent)
    : CDialog(SensorRes::kAcquisitionSettingsTemplate, pParent) {}

void CAcquisitionSettingsDlg::SetAcqSettings(CAcqSettings* settings) {
    m_pSettings = settings;
    if (GetSafeHwnd())
        FillList();
}

void CAcquisitionSettingsDlg::SetFormatSettings(CFormatSettingsDlg* format) {
    m_pFormat = format;
    if (GetSafeHwnd())
        FillList();
}

BOOL CAcquisitionSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(kChannelList, this);
    m_channelCombo.SubclassDlgItem(kChannelCombo, this);
    m_modeCombo.SubclassDlgItem(kMode, this);
    m_connectorCombo.SubclassDlgItem(kConnector, this);
    CRect rect;
    m_list.GetClientRect(&rect);
    const int w = rect.Width();
    const std::pair<const char*, int> columns[] = {
        {"Chan", w / 10},       {"Input Mode", w * 3 / 20}, {"Lower Limit", w / 8},
        {"Upper Limit", w / 8}, {"Label", w * 3 / 20},      {"Factor", w / 8},
        {"Offset", w / 8},      {"Units", w * 3 / 20}};
    int column = 0;
    for (const auto& [heading, width] : columns)
        m_list.InsertColumn(column++, QString::fromLatin1(heading), LVCFMT_LEFT, width);
    if (CWnd* status = GetDlgItem(kStatus); status && status->GetQWidget()) {
        QPalette palette = status->GetQWidget()->palette();
        palette.setColor(QPalette::WindowText, QColor(0xFF, 0, 0));
        status->GetQWidget()->setPalette(palette);
    }
    if (CComboBox* connector = Combo(kConnector)) {
        connector->AddString(QStringLiteral("Channels 0-7 of each 16"));
        connector->AddString(QStringLiteral("All channels"));
        if (m_pSettings)
            connector->SetCurSel(m_pSettings->m_nConnector == CAcqSettings::kAllChannels ? 1 : 0);
    }
    FillList();
    FillChannelCombo();
    return TRUE;
}

void CAcquisitionSettingsDlg::FillList() {
    if (!m_pSettings || !GetSafeHwnd())
        return;
    m_filling = true;
    CAcqSettings& s = *m_pSettings;
    m_list.DeleteAllItems();
    s.m_rowChannel.fill(-1);
    int row = 0;
    int currentRow = -1;
    for (int c = 0; c < s.ChannelNumbers(); ++c) {
        if (!s.m_on[c])
            continue;
        m_list.InsertItem(row, QFormatC("%d", c));
        m_list.SetItemText(row, 1, ModeText(s.m_mode[c]));
        m_list.SetItemText(row, 2, QFormatC("%6.2f", s.m_lower[c]));
        m_list.SetItemText(row, 3, QFormatC("%6.2f", s.m_upper[c]));
        if (m_pFormat) {
            m_list.SetItemText(row, 4, m_pFormat->m_labels[c]);
            m_list.SetItemText(row, 5, QFormatC("%8.4f", double(m_pFormat->m_factors[c])));
            m_list.SetItemText(row, 6, QFormatC("%6.2f", double(m_pFormat->m_offsets[c])));
            m_list.SetItemText(row, 7, m_pFormat->m_units[c]);
        }
        s.m_rowChannel[row] = c;
        if (c == m_nCurrentChannel)
            currentRow = row;
        ++row;
    }
    if (currentRow >= 0)
        m_list.SelectOnly(currentRow);
    m_filling = false;
}

void CAcquisitionSettingsDlg::FillChannelCombo() {
    CComboBox* combo = Combo(kChannelCombo);
    if (!m_pSettings || !combo)
        return;
    combo->ResetContent();
    for (int c = 0; c < m_pSettings->ChannelNumbers(); ++c) {
        if (CAcqSettings::IsUsable(c, m_pSettings->m_nConnector))
            combo->SetItemData(combo->AddString(QFormatC("%d", c)), static_cast<uintptr_t>(c));
    }
    m_nCurrentChannel = 0;
    combo->SetCurSel(0);
    LoadControls();
}

void CAcquisitionSettingsDlg::LoadControls() {
    if (!m_pSettings || !GetSafeHwnd())
        return;
    CAcqSettings& s = *m_pSettings;
    const int c = m_nCurrentChannel;
    if (c < 0 || c >= CAcqSettings::kMaxChannelNumbers)
        return;
    const bool high = CAcqSettings::IsHighChannel(c);
    CheckDlgButton(kOn, s.m_on[c] ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(kRecordFlag, m_nRecordFlag ? BST_CHECKED : BST_UNCHECKED);
    if (CComboBox* mode = Combo(kMode)) {
        mode->ResetContent();
        for (int m = high ? CAcqSettings::kRse : CAcqSettings::kDiff; m <= CAcqSettings::kNrse; ++m)
            mode->AddString(ModeText(m));
        mode->SetCurSel(high ? s.m_mode[c] - 1 : s.m_mode[c]);
    }
    SetDlgItemText(kLower, QFormatC("%g", s.m_lower[c]));
    SetDlgItemText(kUpper, QFormatC("%g", s.m_upper[c]));
    if (m_pFormat) {
        SetDlgItemText(kFactor, QFormatC("%.4f", double(m_pFormat->m_factors[c])));
        SetDlgItemText(kOffset, QFormatC("%.4f", double(m_pFormat->m_offsets[c])));
        SetDlgItemText(kLabel, m_pFormat->m_labels[c]);
        SetDlgItemText(kUnits, m_pFormat->m_units[c]);
    }
    const bool taken = s.IsTakenByPartner(c);
    if (taken) {
        s.m_on[c] = 0;
        CheckDlgButton(kOn, BST_UNCHECKED);
    }
    SetDlgItemText(kStatus, taken ? QStringLiteral("Channel In Use") : QString());
    for (int id : kChannelControls) {
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(taken ? FALSE : TRUE);
    }
    PaintSwatch();
}

void CAcquisitionSettingsDlg::StoreControls() {
    if (!m_pSettings || !GetSafeHwnd())
        return;
    CAcqSettings& s = *m_pSettings;
    const int c = m_nCurrentChannel;
    if (c < 0 || c >= CAcqSettings::kMaxChannelNumbers)
        return;
    m_nRecordFlag = IsDlgButtonChecked(kRecordFlag) ? 1 : 0;
    // A channel its partner takes keeps what it had; its controls are off.
    if (s.IsTakenByPartner(c))
        return;
    s.m_on[c] = IsDlgButtonChecked(kOn) ? 1 : 0;
    if (CComboBox* mode = Combo(kMode); mode && mode->GetCurSel() >= 0)
        s.m_mode[c] = mode->GetCurSel() + (CAcqSettings::IsHighChannel(c) ? 1 : 0);
    s.m_lower[c] = AtofC(GetDlgItemText(kLower));
    s.m_upper[c] = AtofC(GetDlgItemText(kUpper));
    if (m_pFormat) {
        m_pFormat->m_factors[c] = static_cast<float>(AtofC(GetDlgItemText(kFactor)));
        m_pFormat->m_offsets[c] = static_cast<float>(AtofC(GetDlgItemText(kOffset)));
        m_pFormat->m_labels[c] = GetDlgItemText(kLabel);
        m_pFormat->m_units[c] = GetDlgItemText(kUnits);
    }
}

void CAcquisitionSettingsDlg::MakeCurrent(int channel) {
    if (channel < 0 || channel == m_nCurrentChannel)
        return;
    // What was typed for the channel being left is kept.
    StoreControls();
    m_nCurrentChannel = channel;
    LoadControls();
    if (CComboBox* combo = Combo(kChannelCombo))
        combo->SetCurSel(combo->FindStringExact(-1, QFormatC("%d", channel)));
}

void CAcquisitionSettingsDlg::OnListNotify(NMHDR* hdr, LRESULT* result) {
    *result = 0;
    const auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
    if (m_filling || nm->iItem < 0 || !(nm->uNewState & LVIS_SELECTED) ||
        (nm->uOldState & LVIS_SELECTED))
        return;
    OnListSelect();
}

void CAcquisitionSettingsDlg::OnListSelect() {
    const int row = m_list.GetSelectedIndex();
    if (!m_pSettings || row < 0 || row >= CAcqSettings::kMaxChannelNumbers)
        return;
    MakeCurrent(m_pSettings->m_rowChannel[static_cast<size_t>(row)]);
}

void CAcquisitionSettingsDlg::OnChannelChosen() {
    CComboBox* combo = Combo(kChannelCombo);
    if (!combo || combo->GetCurSel() < 0)
        return;
    MakeCurrent(static_cast<int>(combo->GetItemData(combo->GetCurSel())));
}

void CAcquisitionSettingsDlg::OnModeChosen() {
    CComboBox* mode = Combo(kMode);
    if (!m_pSettings || !mode || mode->GetCurSel() < 0)
        return;
    CAcqSettings& s = *m_pSettings;
    const int c = m_nCurrentChannel;
    const bool high = CAcqSettings::IsHighChannel(c);
    s.m_mode[c] = mode->GetCurSel() + (high ? 1 : 0);
    const int partner = c + 8;
    if (!high && s.m_mode[c] == CAcqSettings::kDiff && partner < CAcqSettings::kMaxChannelNumbers &&
        s.m_on[partner]) {
        s.m_on[partner] = 0;
        MessageBox(QFormatC("Switching to differential mode has disabled channel %d.", partner),
                   QStringLiteral("Warning"), MB_OK | MB_ICONEXCLAMATION);
    }
    FillList();
}

void CAcquisitionSettingsDlg::OnOnClicked() {
    if (!m_pSettings)
        return;
    m_pSettings->m_on[m_nCurrentChannel] = IsDlgButtonChecked(kOn) ? 1 : 0;
    FillList();
}

void CAcquisitionSettingsDlg::OnConnectorChosen() {
    CComboBox* combo = Combo(kConnector);
    if (!m_pSettings || !combo || combo->GetCurSel() < 0)
        return;
    CAcqSettings& s = *m_pSettings;
    const int chosen =
        combo->GetCurSel() == 1 ? CAcqSettings::kAllChannels : CAcqSettings::kLowChannelsOnly;
    if (chosen == s.m_nConnector)
        return;
    if (s.m_nConnector == CAcqSettings::kAllChannels) {
        MessageBox(QStringLiteral("Changing hardware may disable one or more channels."),
                   QStringLiteral("Warning"), MB_OK | MB_ICONEXCLAMATION);
        for (int c = 0; c < CAcqSettings::kMaxChannelNumbers; ++c) {
            if (CAcqSettings::IsHighChannel(c))
                s.m_on[c] = 0;
        }
        FillList();
    }
    s.m_nConnector = chosen;
    FillChannelCombo();
}

void CAcquisitionSettingsDlg::OnColor() {
    if (!m_pFormat)
        return;
    const int c = m_nCurrentChannel;
    CColorDialog dialog(m_pFormat->m_colors[c], 0, this);
    if (dialog.DoModal() != IDOK)
        return;
    m_pFormat->m_colors[c] = dialog.GetColor();
    PaintSwatch();
}

void CAcquisitionSettingsDlg::PaintSwatch() {
    CWnd* swatch = GetDlgItem(kColorSwatch);
    if (!m_pFormat || !swatch || !swatch->GetQWidget())
        return;
    const COLORREF colour = m_pFormat->m_colors[m_nCurrentChannel];
    QWidget* widget = swatch->GetQWidget();
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window,
                     QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    widget->update();
}

void CAcquisitionSettingsDlg::OnOK() {
    for (int pass = 0; pass < 2; ++pass) {
        StoreControls();
        FillList();
    }
    if (m_pSettings) {
        SaveAcquisitionSettings(*m_pSettings);
        m_pSettings->UpdateMaxChannelRate();
    }
    if (m_pFormat)
        m_pFormat->SaveSettings();
    CDialog::OnOK();
}
