#pragma once

// CRecordDialogBar: the record controller's play-control bar (template 30075). It holds the
// record panel pages, which its frame makes inside item 1010, and arranges its controls after
// its layout dialogs as every layout bar does.

#include "views/panels/DlgBarLayout.h"

class CRecordDialogBar : public CDlgBarLayout {
    DECLARE_DYNAMIC(CRecordDialogBar)

public:
    static constexpr UINT kTemplate = 30075;
    // The placeholder the record page is made in.
    static constexpr int kPageItem = 1010;

    // Creates the bar, then its initial update; whether both worked.
    BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);

protected:
    // The bar has no fields of its own: TRUE.
    virtual BOOL InitialUpdate();
};
