#include "sensordata/GraphConfigDlg.h"

#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/ResourceChain.h"
#include "platform/wintypes/CLocale.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"

#include <QAbstractButton>
#include <QPixmap>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CGraphConfigDlg, CDialog)

BEGIN_MESSAGE_MAP(CGraphConfigDlg, CDialog)
ON_BN_CLICKED(GraphConfigId::kAdd, OnAdd)
ON_BN_CLICKED(GraphConfigId::kRemove, OnRemove)
ON_BN_CLICKED(GraphConfigId::kCaptionOn, OnCaptionOn)
ON_LBN_SELCHANGE(GraphConfigId::kDisplayedList, OnDisplayedSelChange)
END_MESSAGE_MAP()

CGraphConfigDlg::CGraphConfigDlg(CWnd* pParent, const CVidraData* data)
    : CDialog(SensorRes::kGraphConfigTemplate, pParent), m_pData(data) {}

void CGraphConfigDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, GraphConfigId::kDisplayedList, m_displayedList);
    DDX_Control(pDX, GraphConfigId::kHiddenList, m_hiddenList);
    DDX_Check(pDX, GraphConfigId::kScaledView, m_nScaledView);
    DDX_Check(pDX, GraphConfigId::kCaptionOn, m_nCaptionOn);
    DDX_Check(pDX, GraphConfigId::kGridLines, m_nGridLines);
    DDX_Check(pDX, GraphConfigId::kBlackBackground, m_nBlackBackground);
}

BOOL CGraphConfigDlg::OnInitDialog() {
    m_nCaptionOn = m_nCaptionChannel >= 0 ? 1 : 0;
    CDialog::OnInitDialog();
    for (auto [id, bitmap] : {std::pair{GraphConfigId::kAdd, SensorRes::kBitmapAdd},
                              std::pair{GraphConfigId::kRemove, SensorRes::kBitmapRemove}}) {
        const QImage image = CResourceChain::LoadBitmap(bitmap);
        CWnd* button = GetDlgItem(id);
        if (auto* widget = button ? qobject_cast<QAbstractButton*>(button->GetQWidget()) : nullptr;
            widget && !image.isNull())
            widget->setIcon(QPixmap::fromImage(image));
    }
    FillLists();
    ShowCaptionChannel();
    return TRUE;
}

void CGraphConfigDlg::FillLists() {
    m_displayedList.ResetContent();
    m_hiddenList.ResetContent();
    for (int c = 0; c < kChannels && m_pData; ++c) {
        if (!m_pData->m_onFlags[c])
            continue;
        CListBox& list = m_displayed[c] ? m_displayedList : m_hiddenList;
        list.SetItemData(list.AddString(QFormatC("%d", c)), static_cast<uintptr_t>(c));
    }
}

namespace {

// The selected entries of a list, in list order.
std::vector<int> Selected(const CListBox& list) {
    std::vector<int> rows(static_cast<size_t>(std::max(list.GetSelCount(), 0)));
    rows.resize(static_cast<size_t>(
        std::max(list.GetSelItems(static_cast<int>(rows.size()), rows.data()), 0)));
    return rows;
}

}  // namespace

void CGraphConfigDlg::Move(const CListBox& from, bool displayed) {
    const std::vector<int> rows = Selected(from);
    if (rows.empty())
        return;
    for (int row : rows)
        m_displayed[from.GetItemData(row)] = displayed;
    FillLists();
}

void CGraphConfigDlg::OnAdd() {
    Move(m_hiddenList, true);
}

void CGraphConfigDlg::OnRemove() {
    Move(m_displayedList, false);
}

void CGraphConfigDlg::OnDisplayedSelChange() {
    if (!IsDlgButtonChecked(GraphConfigId::kCaptionOn))
        return;
    const std::vector<int> rows = Selected(m_displayedList);
    const int sel = rows.empty() ? -1 : rows.front();
    if (sel >= 0) {
        int channel = -1;
        const QByteArray text = m_displayedList.GetText(sel).toLatin1();
        if (ScanC(text.constData(), "%d", &channel) == 1)
            m_nCaptionChannel = channel;
    }
    ShowCaptionChannel();
}

void CGraphConfigDlg::OnCaptionOn() {
    if (!IsDlgButtonChecked(GraphConfigId::kCaptionOn)) {
        m_nCaptionChannel = -1;
        ShowCaptionChannel();
        return;
    }
    if (Selected(m_displayedList).empty() && m_nCaptionChannel < 0) {
        CheckDlgButton(GraphConfigId::kCaptionOn, BST_UNCHECKED);
        // The box has no title of its own.
        AfxPrompter().MessageBox(
            MessageBoxPrompt{QStringLiteral("You must select a displayed channel."), QString(),
                             MB_OK, GetQWidget()});
        return;
    }
    OnDisplayedSelChange();
}

void CGraphConfigDlg::ShowCaptionChannel() {
    SetDlgItemText(GraphConfigId::kCaptionChannel,
                   m_nCaptionChannel >= 0 ? QFormatC("%d", m_nCaptionChannel) : QString());
}
