#include "frames/DlgSaveData.h"

#include <algorithm>

CDlgSaveData::CDlgSaveData(int scanCount, int zeroPoint, const QString& defaultExt,
                           const QString& fileName, DWORD flags, const QString& filter,
                           CWnd* pParentWnd)
    : CFileDialog(FALSE, defaultExt, fileName, flags, filter, pParentWnd),
      m_scanCount(scanCount),
      m_zeroPoint(zeroPoint) {}

BOOL CDlgSaveData::OnFileNameOK() {
    // A range outside the data is brought inside it rather than saved short.
    const int lowest = -m_zeroPoint;
    const int highest = std::max(m_scanCount - m_zeroPoint - 1, lowest);
    m_from = std::clamp(m_from, lowest, highest);
    m_to = std::clamp(m_to, m_from, highest);
    return FALSE;
}
