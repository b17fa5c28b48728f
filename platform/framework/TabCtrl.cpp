#include "platform/framework/TabCtrl.h"

#include "platform/framework/ControlWidgets.h"

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)

namespace {

RmTabBar* Tabs(const CWnd* wnd) {
    return dynamic_cast<RmTabBar*>(wnd->GetQWidget());
}

// Changes made by the program send no notification.
template <typename F>
auto Quietly(RmTabBar* tabs, F change) {
    tabs->m_quiet = true;
    auto result = change();
    tabs->m_quiet = false;
    return result;
}

}  // namespace

BOOL CTabCtrl::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    return CreateControlWindow(*this, DlgControl::Tab, QString(), dwStyle, rect, pParentWnd, nID);
}

int CTabCtrl::InsertItem(int nItem, const QString& text) {
    RmTabBar* tabs = Tabs(this);
    if (!tabs || nItem < 0)
        return -1;
    return Quietly(tabs, [&] { return tabs->insertTab(std::min(nItem, tabs->count()), text); });
}

BOOL CTabCtrl::DeleteItem(int nItem) {
    RmTabBar* tabs = Tabs(this);
    if (!tabs || nItem < 0 || nItem >= tabs->count())
        return FALSE;
    return Quietly(tabs, [&] {
        tabs->removeTab(nItem);
        return TRUE;
    });
}

BOOL CTabCtrl::DeleteAllItems() {
    RmTabBar* tabs = Tabs(this);
    if (!tabs)
        return FALSE;
    return Quietly(tabs, [&] {
        while (tabs->count() > 0)
            tabs->removeTab(tabs->count() - 1);
        return TRUE;
    });
}

int CTabCtrl::GetItemCount() const {
    RmTabBar* tabs = Tabs(this);
    return tabs ? tabs->count() : 0;
}

int CTabCtrl::GetCurSel() const {
    RmTabBar* tabs = Tabs(this);
    return tabs ? tabs->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int nItem) {
    RmTabBar* tabs = Tabs(this);
    if (!tabs || nItem < 0 || nItem >= tabs->count())
        return -1;
    return Quietly(tabs, [&] {
        const int previous = tabs->currentIndex();
        tabs->setCurrentIndex(nItem);
        return previous;
    });
}

QString CTabCtrl::GetItemText(int nItem) const {
    RmTabBar* tabs = Tabs(this);
    return tabs ? tabs->tabText(nItem) : QString();
}

BOOL CTabCtrl::SetItemText(int nItem, const QString& text) {
    RmTabBar* tabs = Tabs(this);
    if (!tabs || nItem < 0 || nItem >= tabs->count())
        return FALSE;
    tabs->setTabText(nItem, text);
    return TRUE;
}

BOOL CTabCtrl::SetItemData(int nItem, LPARAM data) {
    RmTabBar* tabs = Tabs(this);
    if (!tabs || nItem < 0 || nItem >= tabs->count())
        return FALSE;
    tabs->setTabData(nItem, QVariant::fromValue<qlonglong>(data));
    return TRUE;
}

LPARAM CTabCtrl::GetItemData(int nItem) const {
    RmTabBar* tabs = Tabs(this);
    if (!tabs || nItem < 0 || nItem >= tabs->count())
        return 0;
    return static_cast<LPARAM>(tabs->tabData(nItem).value<qlonglong>());
}

void CTabCtrl::AdjustRect(BOOL bLarger, CRect* rect) const {
    RmTabBar* tabs = Tabs(this);
    const int tabHeight = tabs ? tabs->sizeHint().height() : 0;
    rect->top += bLarger ? -tabHeight : tabHeight;
}
