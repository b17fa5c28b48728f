#include "shell/DlgOptionsBaseTab_Connections.h"

#include "platform/framework/DataExchange.h"
#include "platform/framework/MessageMap.h"

namespace {

constexpr OptionField kConnectionsFields[] = {
    {"RecordFC:UltimaOrApxConnect", 0, "RecordFC:UltimaOrApxConnect",
     "RecordFC:UltimaOrApxConnect"},
};

constexpr int kConnectionValues[] = {0, 1, 32, 16, 160};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Connections, CDlgOptionsBaseTab_Fields)

BEGIN_MESSAGE_MAP(CDlgOptionsBaseTab_Connections, CDlgOptionsBaseTab_Fields)
ON_CBN_SELCHANGE(CDlgOptionsBaseTab_Connections::kConnectionListId, OnSelectionChange)
END_MESSAGE_MAP()

CDlgOptionsBaseTab_Connections::CDlgOptionsBaseTab_Connections(CWnd* pParentWnd)
    : CDlgOptionsBaseTab_Fields(30110, kConnectionsFields, kRecordOptionsKey, pParentWnd) {}

int CDlgOptionsBaseTab_Connections::IndexOfConnection(int value) {
    for (int i = 1; i < 5; ++i)
        if (kConnectionValues[i] == value)
            return i;
    return 0;
}

int CDlgOptionsBaseTab_Connections::ConnectionOfIndex(int index) {
    return index >= 0 && index < 5 ? kConnectionValues[index] : 0;
}

QStringList CDlgOptionsBaseTab_Connections::ConnectionItems() {
    return {" Auto", " Firewire (1394)", " Optical (Fiber)", " 100 Base-T Ethernet",
            " 1000 Base-T Ethernet"};
}

BOOL CDlgOptionsBaseTab_Connections::OnInitDialog() {
    if (!m_connectionList.GetSafeHwnd() &&
        m_connectionList.SubclassDlgItem(kConnectionListId, this)) {
        for (const QString& item : ConnectionItems())
            m_connectionList.AddString(item);
    }
    return CDlgOptionsBaseTab_Fields::OnInitDialog();
}

void CDlgOptionsBaseTab_Connections::DoDataExchange(CDataExchange* pDX) {
    CDlgOptionsBaseTab_Fields::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate && m_connectionList.GetSafeHwnd())
        m_connectionList.SetCurSel(IndexOfConnection(Int(0)));
}

void CDlgOptionsBaseTab_Connections::OnSelectionChange() {
    const int index = m_connectionList.GetCurSel();
    if (index >= 0)
        Int(0) = ConnectionOfIndex(index);
}
