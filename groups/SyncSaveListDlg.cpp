#include "groups/SyncSaveListDlg.h"

#include "groups/MeasurementFormDoc.h"
#include "platform/framework/DataExchange.h"
#include "views/PlaybackView.h"

#include <QTreeWidget>

#include <algorithm>

IMPLEMENT_DYNAMIC(CSyncSaveListDlg, CDialog)

namespace {

// The rows of the list, which the list control shows as a tree widget's top-level items.
QTreeWidget* Rows(CListCtrl& list) {
    return qobject_cast<QTreeWidget*>(list.GetQWidget());
}

}  // namespace

CSyncSaveListDlg::CSyncSaveListDlg(CMeasurementFormDoc* group, const QString& title, int sourceKind,
                                   CWnd* pParentWnd)
    : CDialog(kTemplateId, pParentWnd) {
    if (!group)
        return;
    m_offered = group->PlaybackFrames(sourceKind);
    const auto titled = std::find_if(m_offered.begin(), m_offered.end(), [&](HWND frame) {
        const CPlaybackView* playback =
            CMeasurementFormDoc::PlaybackOfFrame(CWnd::FromHandle(frame));
        return !title.isEmpty() && playback && playback->GetDocumentTitle() == title;
    });
    std::rotate(m_offered.begin(), titled, titled == m_offered.end() ? titled : titled + 1);
}

void CSyncSaveListDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kListId, m_list);
    DDX_Check(pDX, kOpenInNewGroupId, m_openInNewGroup);
    DDX_Check(pDX, kAskEachId, m_askEach);
    DDX_Check(pDX, kSyncNamesId, m_syncNames);
}

BOOL CSyncSaveListDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CRect area;
    m_list.GetClientRect(&area);
    m_list.InsertColumn(0, QStringLiteral("Windows to be Saved"), LVCFMT_LEFT, area.Width());
    QTreeWidget* rows = Rows(m_list);
    for (HWND frame : m_offered) {
        CWnd* window = CWnd::FromHandle(frame);
        const int row =
            m_list.InsertItem(m_list.GetItemCount(), window ? window->GetWindowText() : QString());
        if (QTreeWidgetItem* item = rows ? rows->topLevelItem(row) : nullptr) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Checked);
        }
    }
    return TRUE;
}

void CSyncSaveListDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    m_checked.clear();
    QTreeWidget* rows = Rows(m_list);
    for (int row = 0; rows && row < rows->topLevelItemCount(); ++row) {
        if (rows->topLevelItem(row)->checkState(0) == Qt::Checked &&
            row < static_cast<int>(m_offered.size()))
            m_checked.push_back(m_offered[static_cast<size_t>(row)]);
    }
    EndDialog(IDOK);
}
