#pragma once

// CSensorTabDlg: the base of the sensor pages: a page host made modeless from its own template
// as a child of its parent. Enter in any of its controls moves the focus on to the next control
// as Tab does, instead of pressing a button, so that typing a value and pressing Enter never
// ends the page.

#include "sensordata/PageHostDlg.h"

class QObject;

class CSensorTabDlg : public CPageHostDlg {
    DECLARE_DYNAMIC(CSensorTabDlg)

public:
    explicit CSensorTabDlg(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);

    // Stores both, then makes the page; FALSE when it cannot be made.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd);
    CWnd* GetPageParent() const { return m_pPageParent; }
    UINT GetPageTemplateId() const { return m_nPageTemplate; }

    BOOL OnInitDialog() override;

private:
    CWnd* m_pPageParent = nullptr;
    UINT m_nPageTemplate = 0;
    QObject* m_enterAsTab = nullptr;
};
