#include "frames/DlgSaveData.h"

#include "frames/SaveDataRangeDlg.h"

CDlgSaveData::CDlgSaveData(int scanCount, int zeroPoint, const QString& defaultExt,
                           const QString& fileName, DWORD flags, const QString& filter,
                           CWnd* pParentWnd)
    : CFileDialog(FALSE, defaultExt, fileName, flags, filter, pParentWnd),
      m_scanCount(scanCount),
      m_zeroPoint(zeroPoint) {}

CDlgSaveData::~CDlgSaveData() = default;

int CDlgSaveData::DoModal() {
    m_rangeChoice = m_from > LowestNumber() || m_to < HighestNumber() ? 1 : 0;
    if (m_panelHome.GetSafeHwnd() ||
        m_panelHome.Create(nullptr, QString(), WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0)) {
        m_panel = std::make_unique<CSaveDataRangeDlg>(this);
        if (!m_panel->Create(CSaveDataRangeDlg::kTemplate, &m_panelHome))
            m_panel.reset();
    }
    const int result = CFileDialog::DoModal();
    if (m_panel) {
        m_panel->DestroyWindow();
        m_panel.reset();
    }
    return result;
}

QWidget* CDlgSaveData::GetExtension() {
    return m_panel ? m_panel->GetQWidget() : nullptr;
}

BOOL CDlgSaveData::OnFileNameOK() {
    // The choice as the panel holds it; a number outside the scans keeps the dialog open.
    if (m_panel && !m_panel->UpdateData(TRUE))
        return TRUE;
    if (m_rangeChoice == 0) {
        m_from = LowestNumber();
        m_to = HighestNumber();
        return FALSE;
    }
    // A range given before the dialog opened is brought inside the data rather than saved short.
    m_from = std::clamp(m_from, LowestNumber(), HighestNumber());
    m_to = std::clamp(m_to, m_from, HighestNumber());
    return FALSE;
}
