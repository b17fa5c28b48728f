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

void CGraphConfigDlg::OnAdd() {
    const int sel = m_hiddenList.GetCurSel();
    if (sel < 0)
        return;
    m_displayed[m_hiddenList.GetItemData(sel)] = true;
    FillLists();
}

void CGraphConfigDlg::OnRemove() {
    const int sel = m_displayedList.GetCurSel();
    if (sel < 0)
        return;
    m_displayed[m_displayedList.GetItemData(sel)] = false;
    FillLists();
}

void CGraphConfigDlg::OnDisplayedSelChange() {
    if (!IsDlgButtonChecked(GraphConfigId::kCaptionOn))
        return;
    const int sel = m_displayedList.GetCurSel();
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
    if (m_displayedList.GetCurSel() < 0 && m_nCaptionChannel < 0) {
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
