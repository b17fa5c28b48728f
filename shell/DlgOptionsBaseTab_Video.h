#pragma once

#include "platform/framework/ComboBox.h"
#include "shell/OptionFieldsPage.h"

#include <QStringList>

// Video display defaults ("Video:" keys).
class CDlgOptionsBaseTab_Video : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Video)
public:
    explicit CDlgOptionsBaseTab_Video(CWnd* pParentWnd = nullptr);
    static QStringList ZoomModeItems();

    // Fills the zoom-mode list before the values reach the controls.
    BOOL OnInitDialog() override;

private:
    CComboBox m_zoomModeList;
};
