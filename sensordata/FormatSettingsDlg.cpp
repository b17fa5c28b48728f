#include "sensordata/FormatSettingsDlg.h"

#include "platform/framework/DataExchange.h"
#include "platform/framework/ResourceModuleScope.h"
#include "platform/wintypes/CLocale.h"
#include "sensordata/SensorRegistry.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"

#include <QByteArray>

#include <functional>

IMPLEMENT_DYNAMIC(CFormatSettingsDlg, CDialog)

BEGIN_MESSAGE_MAP(CFormatSettingsDlg, CDialog)
ON_NOTIFY(LVN_ITEMCHANGED, FormatSettingsId::kChannelList, OnItemChanged)
END_MESSAGE_MAP()

namespace {

const QString kStampingKey = kSensorBaseKey + QStringLiteral("\\Stamping");
const QString kLabelKey = kStampingKey + QStringLiteral("\\Label");
const QString kUnitsKey = kStampingKey + QStringLiteral("\\Units");
const QString kOffsetKey = kStampingKey + QStringLiteral("\\Offset");
const QString kFactorKey = kStampingKey + QStringLiteral("\\Factor");
const QString kPlotColorKey = kStampingKey + QStringLiteral("\\Plot Color");
const QString kFontValue = QStringLiteral("Font");
const QString kExportScaledValue = QStringLiteral("Export Scaled");
const QString kGridlinesValue = QStringLiteral("Gridlines");
const QString kBlackBackgroundValue = QStringLiteral("Black Background");

float ParseNumber(const QString& text) {
    return static_cast<float>(AtofC(text));
}

}  // namespace

CFormatSettingsDlg::CFormatSettingsDlg(CWnd* pParent, CVidraData* data)
    : CDialog(SensorRes::kFormatSettingsTemplate, pParent), m_pData(data) {
    m_factors.fill(1.0f);
    m_offsets.fill(0.0f);
    for (int c = 0; c < kChannels; ++c)
        m_colors[c] = static_cast<COLORREF>(CVidraData::DefaultPlotColor(c));
    m_labels.assign(kChannels, QString());
    m_units.assign(kChannels, QString());
    LoadSettings();
}

BOOL CFormatSettingsDlg::Create(CWnd* pParent) {
    if (pParent)
        m_pParentWnd = pParent;
    CResourceModuleScope scope(SensorRes::kModuleName);
    return CDialog::Create(SensorRes::kFormatSettingsTemplate, m_pParentWnd);
}

void CFormatSettingsDlg::SetData(CVidraData* data) {
    m_pData = data;
    if (GetSafeHwnd())
        FillList();
}

void CFormatSettingsDlg::CopyValuesFrom(const CFormatSettingsDlg& other) {
    m_nCurrentChannel = other.m_nCurrentChannel;
    m_nFont = other.m_nFont;
    m_factors = other.m_factors;
    m_offsets = other.m_offsets;
    m_colors = other.m_colors;
    m_labels = other.m_labels;
    m_units = other.m_units;
    m_displayed = other.m_displayed;
    m_nExportScaled = other.m_nExportScaled;
    m_nScaledView = other.m_nScaledView;
    m_nCaptionChannel = other.m_nCaptionChannel;
    m_nGridLines = other.m_nGridLines;
    m_nBlackBackground = other.m_nBlackBackground;
    if (GetSafeHwnd())
        FillList();
}

BOOL CFormatSettingsDlg::SaveSettings() const {
    bool ok = true;
    const auto perChannel = [&](const QString& path, const std::function<long(HKEY, int)>& set) {
        ok = WithMachineKey(path, true,
                            [&](HKEY key) {
                                bool all = true;
                                for (int c = 0; c < kChannels; ++c)
                                    all = set(key, c) == ERROR_SUCCESS && all;
                                return all;
                            }) &&
             ok;
    };
    perChannel(kLabelKey, [&](HKEY key, int c) {
        return RegSetString(key, ChannelValueName(c), m_labels[c]);
    });
    perChannel(kUnitsKey,
               [&](HKEY key, int c) { return RegSetString(key, ChannelValueName(c), m_units[c]); });
    perChannel(kOffsetKey, [&](HKEY key, int c) {
        return RegSetString(key, ChannelValueName(c), QFormatC("%.4f", double(m_offsets[c])));
    });
    perChannel(kFactorKey, [&](HKEY key, int c) {
        return RegSetString(key, ChannelValueName(c), QFormatC("%.4f", double(m_factors[c])));
    });
    perChannel(kPlotColorKey,
               [&](HKEY key, int c) { return RegSetDword(key, ChannelValueName(c), m_colors[c]); });
    ok = WithMachineKey(kStampingKey, true,
                        [&](HKEY key) {
                            return RegSetDword(key, kFontValue, DWORD(m_nFont)) == ERROR_SUCCESS &&
                                   RegSetDword(key, kExportScaledValue, DWORD(m_nExportScaled)) ==
                                       ERROR_SUCCESS &&
                                   RegSetDword(key, kGridlinesValue, DWORD(m_nGridLines)) ==
                                       ERROR_SUCCESS &&
                                   RegSetDword(key, kBlackBackgroundValue,
                                               DWORD(m_nBlackBackground)) == ERROR_SUCCESS;
                        }) &&
         ok;
    return ok ? TRUE : FALSE;
}

void CFormatSettingsDlg::LoadSettings() {
    const auto perChannel = [](const QString& path, const std::function<void(HKEY, int)>& get) {
        WithMachineKey(path, false, [&](HKEY key) {
            for (int c = 0; c < kChannels; ++c)
                get(key, c);
            return true;
        });
    };
    perChannel(kLabelKey,
               [&](HKEY key, int c) { RegQueryString(key, ChannelValueName(c), &m_labels[c]); });
    perChannel(kUnitsKey,
               [&](HKEY key, int c) { RegQueryString(key, ChannelValueName(c), &m_units[c]); });
    perChannel(kOffsetKey, [&](HKEY key, int c) {
        QString text;
        if (RegQueryString(key, ChannelValueName(c), &text) == ERROR_SUCCESS)
            m_offsets[c] = ParseNumber(text);
    });
    perChannel(kFactorKey, [&](HKEY key, int c) {
        QString text;
        if (RegQueryString(key, ChannelValueName(c), &text) == ERROR_SUCCESS)
            m_factors[c] = ParseNumber(text);
    });
    perChannel(kPlotColorKey, [&](HKEY key, int c) {
        DWORD value = 0;
        if (RegQueryDword(key, ChannelValueName(c), &value) == ERROR_SUCCESS)
            m_colors[c] = value;
    });
    WithMachineKey(kStampingKey, false, [&](HKEY key) {
        const auto get = [&](const QString& name, int& field) {
            DWORD value = 0;
            if (RegQueryDword(key, name, &value) == ERROR_SUCCESS)
                field = static_cast<int>(value);
        };
        get(kFontValue, m_nFont);
        get(kExportScaledValue, m_nExportScaled);
        get(kGridlinesValue, m_nGridLines);
        get(kBlackBackgroundValue, m_nBlackBackground);
        return true;
    });
}

void CFormatSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, FormatSettingsId::kChannelList, m_list);
    DDX_Radio(pDX, FormatSettingsId::kSmallFont, m_nFont);
    DDX_Check(pDX, FormatSettingsId::kExportScaled, m_nExportScaled);
}

BOOL CFormatSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CRect rect;
    m_list.GetClientRect(&rect);
    const int width = rect.Width();
    m_list.InsertColumn(0, QStringLiteral("Chan"), LVCFMT_LEFT, width / 10);
    m_list.InsertColumn(1, QStringLiteral("Label"), LVCFMT_LEFT, width * 3 / 10);
    m_list.InsertColumn(2, QStringLiteral("Factor"), LVCFMT_LEFT, width * 3 / 20);
    m_list.InsertColumn(3, QStringLiteral("Offset"), LVCFMT_LEFT, width * 3 / 20);
    m_list.InsertColumn(4, QStringLiteral("Units"), LVCFMT_LEFT, width * 3 / 10);
    m_edited.fill(false);
    m_kept = {m_factors, m_offsets, m_labels, m_units};
    FillList();
    LoadChannelEdits();
    return TRUE;
}

void CFormatSettingsDlg::FillList() {
    m_filling = true;
    m_list.DeleteAllItems();
    int row = 0;
    int currentRow = -1;
    for (int c = 0; c < kChannels && m_pData; ++c) {
        if (!m_pData->m_onFlags[c])
            continue;
        m_list.InsertItem(row, QFormatC("%d", c));
        m_list.SetItemText(row, 1, m_labels[c]);
        m_list.SetItemText(row, 2, QFormatC("%8.4f", double(m_factors[c])));
        m_list.SetItemText(row, 3, QFormatC("%6.2f", double(m_offsets[c])));
        m_list.SetItemText(row, 4, m_units[c]);
        m_list.SetItemData(row, static_cast<uintptr_t>(c));
        if (c == m_nCurrentChannel)
            currentRow = row;
        ++row;
    }
    if (currentRow >= 0)
        m_list.SetItemState(currentRow, LVIS_SELECTED, LVIS_SELECTED);
    m_filling = false;
}

void CFormatSettingsDlg::StoreChannelEdits() {
    const int c = m_nCurrentChannel;
    if (c < 0 || c >= kChannels || !GetSafeHwnd())
        return;
    const QString label = GetDlgItemText(FormatSettingsId::kLabel);
    const QString units = GetDlgItemText(FormatSettingsId::kUnits);
    const QString factor = GetDlgItemText(FormatSettingsId::kFactor);
    const QString offset = GetDlgItemText(FormatSettingsId::kOffset);
    // The edits still as LoadChannelEdits showed them: nothing was changed.
    if (label == m_labels[c] && units == m_units[c] &&
        factor == QFormatC("%.4f", double(m_factors[c])) &&
        offset == QFormatC("%.4f", double(m_offsets[c])))
        return;
    m_edited[c] = true;
    m_labels[c] = label;
    m_units[c] = units;
    m_factors[c] = ParseNumber(factor);
    m_offsets[c] = ParseNumber(offset);
}

void CFormatSettingsDlg::LoadChannelEdits() {
    const int c = m_nCurrentChannel;
    if (c < 0 || c >= kChannels || !GetSafeHwnd())
        return;
    SetDlgItemText(FormatSettingsId::kLabel, m_labels[c]);
    SetDlgItemText(FormatSettingsId::kUnits, m_units[c]);
    SetDlgItemText(FormatSettingsId::kFactor, QFormatC("%.4f", double(m_factors[c])));
    SetDlgItemText(FormatSettingsId::kOffset, QFormatC("%.4f", double(m_offsets[c])));
}

void CFormatSettingsDlg::OnItemChanged(NMHDR* hdr, LRESULT* result) {
    *result = 0;
    const auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
    if (m_filling || nm->iItem < 0 || !(nm->uNewState & LVIS_SELECTED) ||
        (nm->uOldState & LVIS_SELECTED))
        return;
    const int channel = static_cast<int>(m_list.GetItemData(nm->iItem));
    if (channel == m_nCurrentChannel)
        return;
    // What was typed for the channel being left is kept before the next one is shown.
    StoreChannelEdits();
    m_nCurrentChannel = channel;
    FillList();
    LoadChannelEdits();
}

void CFormatSettingsDlg::OnOK() {
    StoreChannelEdits();
    if (!UpdateData(TRUE))
        return;
    if (m_pData) {
        for (int c = 0; c < kChannels; ++c) {
            if (!m_edited[c])
                continue;
            m_pData->m_labels[c] = m_labels[c];
            m_pData->m_units[c] = m_units[c];
            m_pData->m_factors[c] = m_factors[c];
            m_pData->m_offsets[c] = m_offsets[c];
        }
    }
    m_edited.fill(false);
    m_kept = {m_factors, m_offsets, m_labels, m_units};
    SaveSettings();
    CDialog::OnOK();
}

void CFormatSettingsDlg::OnCancel() {
    m_edited.fill(false);
    m_factors = m_kept.factors;
    m_offsets = m_kept.offsets;
    m_labels = m_kept.labels;
    m_units = m_kept.units;
    LoadChannelEdits();
    CDialog::OnCancel();
}
