#include "platform/framework/PropertySheet.h"

#include "platform/framework/ControlWidgets.h"
#include "platform/framework/PropertyPage.h"
#include "platform/framework/ResourceChain.h"

#include <QEventLoop>
#include <QPushButton>
#include <QWidget>

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
ON_COMMAND(ID_WIZBACK, OnWizBack)
ON_COMMAND(ID_WIZNEXT, OnWizNext)
ON_COMMAND(ID_WIZFINISH, OnWizFinish)
ON_COMMAND(IDOK, OnSheetOK)
ON_COMMAND(IDCANCEL, OnSheetCancel)
ON_COMMAND(ID_APPLY_NOW, OnApplyNow)
END_MESSAGE_MAP()

namespace {

constexpr int kMargin = 7;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

QAbstractButton* Button(const CWnd* sheet, UINT nID) {
    CWnd* item = sheet->GetDlgItem(static_cast<int>(nID));
    return item ? dynamic_cast<QAbstractButton*>(item->GetQWidget()) : nullptr;
}

CSize PageSize(const DialogTemplate& tmpl) {
    const CSize base = CDialog::DialogBaseUnits(CDialog::TemplateFont(tmpl));
    return CSize((tmpl.cx * base.cx + 2) / 4, (tmpl.cy * base.cy + 4) / 8);
}

}  // namespace

CPropertySheet::CPropertySheet(const QString& caption, CWnd* pParentWnd, UINT iSelectPage)
    : m_caption(caption), m_pParentWnd(pParentWnd), m_iSelectPage(iSelectPage) {}

CPropertySheet::~CPropertySheet() {
    if (m_loop)
        m_loop->quit();
    for (CPropertyPage* page : m_pages) {
        page->DestroyWindow();
        page->m_pSheet = nullptr;
    }
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    if (!pPage || GetPageIndex(pPage) >= 0)
        return;
    pPage->m_pSheet = this;
    m_pages.push_back(pPage);
}

void CPropertySheet::RemovePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    CPropertyPage* page = m_pages[static_cast<size_t>(nPage)];
    page->DestroyWindow();
    page->m_pSheet = nullptr;
    m_pages.erase(m_pages.begin() + nPage);
    if (m_active == nPage) {
        m_active = -1;
        if (GetSafeHwnd() && !m_pages.empty())
            MoveTo(std::min(nPage, GetPageCount() - 1), 1);
    } else if (m_active > nPage) {
        --m_active;
    }
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* pPage) const {
    const auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    return GetPage(m_active);
}

int CPropertySheet::IndexOfTemplate(UINT nIDTemplate) const {
    for (int i = 0; i < GetPageCount(); ++i) {
        if (m_pages[static_cast<size_t>(i)]->GetTemplateID() == nIDTemplate)
            return i;
    }
    return -1;
}

BOOL CPropertySheet::BuildWindow(CWnd* pParentWnd) {
    if (GetSafeHwnd() || m_pages.empty())
        return FALSE;
    CSize area(0, 0);
    for (CPropertyPage* page : m_pages) {
        const DialogTemplate* tmpl = page->m_lpTemplate
                                         ? page->m_lpTemplate
                                         : CResourceChain::FindDialog(page->m_nIDTemplate);
        if (!tmpl)
            return FALSE;
        page->m_childTemplate = std::make_unique<DialogTemplate>(*tmpl);
        page->m_childTemplate->style =
            (tmpl->style & ~(WS_POPUP | WS_CAPTION | WS_VISIBLE)) | WS_CHILD;
        page->m_childTemplate->x = 0;
        page->m_childTemplate->y = 0;
        const CSize size = PageSize(*tmpl);
        area.cx = std::max(area.cx, size.cx);
        area.cy = std::max(area.cy, size.cy);
    }
    const int buttonsWidth = 4 * kButtonWidth + 3 * kButtonGap;
    area.cx = std::max(area.cx, buttonsWidth);

    int top = kMargin;
    std::vector<DialogItemTemplate> items;
    if (!m_bWizard) {
        DialogItemTemplate tabs;
        tabs.type = DlgControl::Tab;
        tabs.id = static_cast<int>(AFX_IDC_TAB_CONTROL);
        tabs.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
        items.push_back(tabs);
    }
    const CRect window(0, 0, area.cx + 2 * kMargin, area.cy + 4 * kMargin + kButtonHeight + 30);
    if (!CWnd::Create(nullptr, m_caption, WS_POPUP | WS_CAPTION | WS_SYSMENU, window, pParentWnd,
                      0))
        return FALSE;
    QWidget* widget = GetQWidget();
    widget->setWindowFlags(widget->windowFlags() | Qt::Dialog);

    std::vector<CRect> rects;
    if (!m_bWizard) {
        DialogTemplate tabsOnly;
        tabsOnly.items = items;
        const std::vector<QWidget*> made = CreateDialogControls(
            tabsOnly, widget, {CRect(kMargin, kMargin, kMargin + area.cx, kMargin + 24)});
        auto* tabBar = dynamic_cast<RmTabBar*>(made.front());
        tabBar->m_quiet = true;
        for (CPropertyPage* page : m_pages)
            tabBar->addTab(page->GetCaption());
        tabBar->m_quiet = false;
        top += made.front()->height();
    }
    m_pageArea = CRect(kMargin, top, kMargin + area.cx, top + area.cy);

    struct ButtonKind {
        UINT id;
        const char* text;
        DWORD style;
    };
    const std::vector<ButtonKind> buttons =
        m_bWizard ? std::vector<ButtonKind>{{ID_WIZBACK, "< &Back", BS_PUSHBUTTON},
                                            {ID_WIZNEXT, "&Next >", BS_DEFPUSHBUTTON},
                                            {ID_WIZFINISH, "Finish", BS_PUSHBUTTON},
                                            {IDCANCEL, "Cancel", BS_PUSHBUTTON}}
                  : std::vector<ButtonKind>{{IDOK, "OK", BS_DEFPUSHBUTTON},
                                            {IDCANCEL, "Cancel", BS_PUSHBUTTON},
                                            {ID_APPLY_NOW, "&Apply", BS_PUSHBUTTON | WS_DISABLED}};
    DialogTemplate row;
    std::vector<CRect> buttonRects;
    const int y = m_pageArea.bottom + 2 * kMargin;
    int x = m_pageArea.right - static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) +
            kButtonGap;
    for (const ButtonKind& kind : buttons) {
        DialogItemTemplate item;
        item.type = DlgControl::Button;
        item.id = static_cast<int>(kind.id);
        item.text = QString::fromUtf8(kind.text);
        item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind.style;
        row.items.push_back(item);
        buttonRects.emplace_back(x, y, x + kButtonWidth, y + kButtonHeight);
        // Finish shares Next's place and shows instead of it.
        if (!(m_bWizard && kind.id == ID_WIZNEXT))
            x += kButtonWidth + kButtonGap;
    }
    CreateDialogControls(row, widget, buttonRects);
    widget->resize(m_pageArea.right + kMargin, y + kButtonHeight + kMargin);
    UpdateButtons();

    const int first = std::min(static_cast<int>(m_iSelectPage), GetPageCount() - 1);
    if (!MoveTo(first, 1) && !MoveTo(first, -1)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

bool CPropertySheet::ShowPage(int nPage) {
    CPropertyPage* page = GetPage(nPage);
    if (!page || !GetSafeHwnd())
        return false;
    if (!page->GetSafeHwnd()) {
        if (!page->CreateIndirect(page->m_childTemplate.get(), this))
            return false;
        page->MoveWindow(m_pageArea.left, m_pageArea.top, m_pageArea.Width(), m_pageArea.Height());
    }
    if (!page->OnSetActive())
        return false;
    if (CPropertyPage* old = GetActivePage(); old && old != page)
        old->ShowWindow(SW_HIDE);
    m_active = nPage;
    page->ShowWindow(SW_SHOW);
    if (CWnd* tabs = GetDlgItem(static_cast<int>(AFX_IDC_TAB_CONTROL))) {
        auto* bar = dynamic_cast<RmTabBar*>(tabs->GetQWidget());
        bar->m_quiet = true;
        bar->setCurrentIndex(nPage);
        bar->m_quiet = false;
    }
    return true;
}

bool CPropertySheet::MoveTo(int nPage, int step) {
    for (int i = nPage; i >= 0 && i < GetPageCount(); i += step) {
        if (ShowPage(i))
            return true;
        if (!m_bWizard)
            return false;
    }
    return false;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (!GetSafeHwnd()) {
        m_iSelectPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    if (nPage == m_active)
        return TRUE;
    if (CPropertyPage* old = GetActivePage(); old && !old->OnKillActive())
        return FALSE;
    return MoveTo(nPage, nPage > m_active ? 1 : -1) ? TRUE : FALSE;
}

void CPropertySheet::SetWizardButtons(DWORD dwFlags) {
    m_wizardButtons = dwFlags;
    UpdateButtons();
}

void CPropertySheet::UpdateButtons() {
    if (!m_bWizard || !GetSafeHwnd())
        return;
    QAbstractButton* back = Button(this, ID_WIZBACK);
    QAbstractButton* next = Button(this, ID_WIZNEXT);
    QAbstractButton* finish = Button(this, ID_WIZFINISH);
    if (!back || !next || !finish)
        return;
    back->setEnabled((m_wizardButtons & PSWIZB_BACK) != 0);
    const bool showFinish = (m_wizardButtons & (PSWIZB_FINISH | PSWIZB_DISABLEDFINISH)) != 0;
    next->setVisible(!showFinish);
    next->setEnabled((m_wizardButtons & PSWIZB_NEXT) != 0);
    finish->setVisible(showFinish);
    finish->setEnabled((m_wizardButtons & PSWIZB_FINISH) != 0);
}

BOOL CPropertySheet::PressButton(int nButton) {
    static const UINT kCommands[] = {ID_WIZBACK, ID_WIZNEXT,   ID_WIZFINISH,
                                     IDOK,       ID_APPLY_NOW, IDCANCEL};
    if (nButton < 0 || nButton > PSBTN_CANCEL)
        return FALSE;
    return PostMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(kCommands[nButton]), 0), 0);
}

void CPropertySheet::PageModified() {
    if (QAbstractButton* apply = Button(this, ID_APPLY_NOW))
        apply->setEnabled(true);
}

void CPropertySheet::OnWizBack() {
    CPropertyPage* page = GetActivePage();
    if (!page)
        return;
    const LRESULT target = page->OnWizardBack();
    if (target == -1)
        return;
    const int index = target == 0 ? m_active - 1 : IndexOfTemplate(static_cast<UINT>(target));
    if (index >= 0)
        MoveTo(index, -1);
}

void CPropertySheet::OnWizNext() {
    CPropertyPage* page = GetActivePage();
    if (!page || !page->OnKillActive())
        return;
    const LRESULT target = page->OnWizardNext();
    if (target == -1)
        return;
    const int index = target == 0 ? m_active + 1 : IndexOfTemplate(static_cast<UINT>(target));
    if (index >= 0 && index < GetPageCount())
        MoveTo(index, 1);
}

void CPropertySheet::OnWizFinish() {
    CPropertyPage* page = GetActivePage();
    if (!page || !page->OnKillActive() || !page->OnWizardFinish())
        return;
    for (CPropertyPage* each : m_pages) {
        if (each->GetSafeHwnd())
            each->OnOK();
    }
    EndDialog(ID_WIZFINISH);
}

void CPropertySheet::OnSheetOK() {
    CPropertyPage* page = GetActivePage();
    if (page && !page->OnKillActive())
        return;
    for (CPropertyPage* each : m_pages) {
        if (each->GetSafeHwnd() && !each->OnApply())
            return;
    }
    EndDialog(IDOK);
}

void CPropertySheet::OnSheetCancel() {
    for (CPropertyPage* each : m_pages) {
        if (each->GetSafeHwnd())
            each->OnCancel();
    }
    EndDialog(IDCANCEL);
}

void CPropertySheet::OnApplyNow() {
    CPropertyPage* page = GetActivePage();
    if (page && !page->OnKillActive())
        return;
    for (CPropertyPage* each : m_pages) {
        if (each->GetSafeHwnd() && each->IsModified() && !each->OnApply())
            return;
    }
    if (QAbstractButton* apply = Button(this, ID_APPLY_NOW))
        apply->setEnabled(false);
}

INT_PTR CPropertySheet::DoModal() {
    if (GetSafeHwnd())
        return -1;
    m_bModal = true;
    m_ended = false;
    m_nModalResult = -1;
    if (!BuildWindow(m_pParentWnd)) {
        m_bModal = false;
        return -1;
    }
    if (!m_ended && GetSafeHwnd()) {
        GetQWidget()->setWindowModality(Qt::ApplicationModal);
        GetQWidget()->show();
        QEventLoop loop;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
    }
    DestroyWindow();
    m_active = -1;
    m_bModal = false;
    return m_nModalResult;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd) {
    m_pParentWnd = pParentWnd;
    if (!BuildWindow(pParentWnd))
        return FALSE;
    GetQWidget()->show();
    return TRUE;
}

void CPropertySheet::EndDialog(int nResult) {
    m_nModalResult = nResult;
    if (m_bModal) {
        m_ended = true;
        if (m_loop)
            m_loop->quit();
    } else {
        ShowWindow(SW_HIDE);
    }
}

LRESULT CPropertySheet::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CPropertySheet::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_DESTROY && m_loop) {
        m_ended = true;
        m_loop->quit();
    }
    // The tabs: the page being left may refuse, the chosen one is shown.
    if (message == WM_NOTIFY && lParam) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr->idFrom == AFX_IDC_TAB_CONTROL && hdr->code == TCN_SELCHANGING) {
            CPropertyPage* page = GetActivePage();
            *pResult = page && !page->OnKillActive() ? 1 : 0;
            return TRUE;
        }
        if (hdr->idFrom == AFX_IDC_TAB_CONTROL && hdr->code == TCN_SELCHANGE) {
            CWnd* tabs = CWnd::FromHandle(hdr->hwndFrom);
            auto* bar = tabs ? dynamic_cast<RmTabBar*>(tabs->GetQWidget()) : nullptr;
            if (bar && !ShowPage(bar->currentIndex())) {
                bar->m_quiet = true;
                bar->setCurrentIndex(m_active);
                bar->m_quiet = false;
            }
            *pResult = 0;
            return TRUE;
        }
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}
