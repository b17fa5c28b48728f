#pragma once

// CDlgSaveData: the file dialog in which the user names a data file to save and chooses to save
// every scan or a range of them (numbers relative to the zero point) in its panel (template
// 30053). The range is set before it opens; a range short of the whole data shows as a range.
// GetRangeFrom and GetRangeTo give the chosen scans as indexes.

#include "platform/framework/FileDialog.h"
#include "platform/framework/Wnd.h"

#include <algorithm>
#include <memory>

class CSaveDataRangeDlg;

class CDlgSaveData : public CFileDialog {
public:
    CDlgSaveData(int scanCount, int zeroPoint, const QString& defaultExt, const QString& fileName,
                 DWORD flags, const QString& filter, CWnd* pParentWnd = nullptr);
    ~CDlgSaveData() override;

    int DoModal() override;

    int GetRangeFrom() const { return m_from + m_zeroPoint; }
    int GetRangeTo() const { return m_to + m_zeroPoint; }

    int ScanCount() const { return m_scanCount; }
    // The numbers a range may use.
    int LowestNumber() const { return -m_zeroPoint; }
    int HighestNumber() const { return std::max(m_scanCount - m_zeroPoint - 1, -m_zeroPoint); }
    // The panel while the dialog is up, else null.
    CSaveDataRangeDlg* GetPanel() const { return m_panel.get(); }

    int m_rangeChoice = 0;  // 0 every scan, 1 from..to
    // The range as numbers relative to the zero point, kept inside the scans.
    int m_from = 0;
    int m_to = 0;

protected:
    BOOL OnFileNameOK() override;
    QWidget* GetExtension() override;

private:
    int m_scanCount;
    int m_zeroPoint;
    // The panel lives in a hidden window of its own between the times the dialog shows it.
    CWnd m_panelHome;
    std::unique_ptr<CSaveDataRangeDlg> m_panel;
};
