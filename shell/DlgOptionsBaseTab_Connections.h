#pragma once

#include "shell/OptionFieldsPage.h"

#include <QStringList>

// How cameras of one family connect ("RecordFC:" key, kept with the record options).
class CDlgOptionsBaseTab_Connections : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Connections)
public:
    explicit CDlgOptionsBaseTab_Connections(CWnd* pParentWnd = nullptr);
    // The combo index showing a stored connection value; unknown values show as " Auto".
    static int IndexOfConnection(int value);
    static int ConnectionOfIndex(int index);
    static QStringList ConnectionItems();
};
