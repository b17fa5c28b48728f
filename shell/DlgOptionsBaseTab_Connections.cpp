#include "shell/DlgOptionsBaseTab_Connections.h"

namespace {

constexpr OptionField kConnectionsFields[] = {
    {"RecordFC:UltimaOrApxConnect", 0, "RecordFC:UltimaOrApxConnect",
     "RecordFC:UltimaOrApxConnect"},
};

constexpr int kConnectionValues[] = {0, 1, 32, 16, 160};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Connections, CDlgOptionsBaseTab_Fields)
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
