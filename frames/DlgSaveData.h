#pragma once

// CDlgSaveData: the file dialog in which the user names a data file to save and the scans to
// save (all, or a range given as numbers relative to the zero point). The range is set before
// it opens; GetRangeFrom and GetRangeTo give the chosen scans as indexes.

#include "platform/framework/FileDialog.h"

class CDlgSaveData : public CFileDialog {
public:
    CDlgSaveData(int scanCount, int zeroPoint, const QString& defaultExt, const QString& fileName,
                 DWORD flags, const QString& filter, CWnd* pParentWnd = nullptr);

    int GetRangeFrom() const { return m_from + m_zeroPoint; }
    int GetRangeTo() const { return m_to + m_zeroPoint; }

    // The range as numbers relative to the zero point, kept inside the scans.
    int m_from = 0;
    int m_to = 0;

protected:
    BOOL OnFileNameOK() override;

private:
    int m_scanCount;
    int m_zeroPoint;
};
