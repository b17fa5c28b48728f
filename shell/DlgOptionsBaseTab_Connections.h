#pragma once

#include "platform/framework/ComboBox.h"
#include "shell/OptionFieldsPage.h"

#include <QStringList>

// How cameras of one family connect ("RecordFC:" key, kept with the record options). The page
// shows the stored value as an item of its list; a value without an item shows as " Auto" and
// stays as it is until the user chooses another item.
class CDlgOptionsBaseTab_Connections : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Connections)
    DECLARE_MESSAGE_MAP()
public:
    static constexpr int kConnectionListId = 2214;

    explicit CDlgOptionsBaseTab_Connections(CWnd* pParentWnd = nullptr);
    // The combo index showing a stored connection value; unknown values show as " Auto".
    static int IndexOfConnection(int value);
    static int ConnectionOfIndex(int index);
    static QStringList ConnectionItems();

    BOOL OnInitDialog() override;

protected:
    // Shows the value; reading the page leaves it alone, only a new choice changes it.
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSelectionChange();

    CComboBox m_connectionList;
};
