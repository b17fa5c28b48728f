#include "platform/framework/Dialog.h"

#include "platform/framework/Button.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/UserException.h"

#include <QEventLoop>
#include <QFont>
#include <QFontMetrics>
#include <QPushButton>
#include <QWidget>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {

int MulDivRound(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(const DialogTemplate* lpTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(lpTemplate ? lpTemplate->id : 0),
      m_lpTemplate(lpTemplate),
      m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    if (m_loop)
        m_loop->quit();
}

QFont CDialog::TemplateFont(const DialogTemplate& tmpl) {
    QFont font(tmpl.fontName);
    font.setPixelSize(std::max(1, MulDivRound(tmpl.fontPointSize, 96, 72)));
    return font;
}

CSize CDialog::DialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return CSize(std::max(1, (width / 26 + 1) / 2), std::max(1, metrics.height()));
}

void CDialog::MapDialogRect(CRect* rect) const {
    rect->left = MulDivRound(rect->left, m_baseUnits.cx, 4);
    rect->right = MulDivRound(rect->right, m_baseUnits.cx, 4);
    rect->top = MulDivRound(rect->top, m_baseUnits.cy, 8);
    rect->bottom = MulDivRound(rect->bottom, m_baseUnits.cy, 8);
}

const DialogTemplate* CDialog::FindTemplate() const {
    return m_lpTemplate ? m_lpTemplate : CResourceChain::FindDialog(m_nIDTemplate);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDTemplate = nIDTemplate;
    m_lpTemplate = nullptr;
    m_pParentWnd = pParentWnd;
    const DialogTemplate* tmpl = FindTemplate();
    return tmpl ? CreateFromTemplate(*tmpl, pParentWnd) : FALSE;
}

BOOL CDialog::CreateIndirect(const DialogTemplate* lpTemplate, CWnd* pParentWnd) {
    m_lpTemplate = lpTemplate;
    m_nIDTemplate = lpTemplate ? lpTemplate->id : 0;
    m_pParentWnd = pParentWnd;
    return lpTemplate ? CreateFromTemplate(*lpTemplate, pParentWnd) : FALSE;
}

BOOL CDialog::CreateFromTemplate(const DialogTemplate& tmpl, CWnd* pParentWnd) {
    if (GetSafeHwnd())
        return FALSE;
    const QFont font = TemplateFont(tmpl);
    m_baseUnits = DialogBaseUnits(font);
    CRect rect(tmpl.x, tmpl.y, tmpl.x + tmpl.cx, tmpl.y + tmpl.cy);
    MapDialogRect(&rect);
    const bool child = (tmpl.style & WS_CHILD) != 0;
    if (!child)
        rect.OffsetRect(-rect.left, -rect.top);
    if (!CWnd::Create(nullptr, tmpl.caption, tmpl.style & ~WS_VISIBLE, rect, pParentWnd, 0))
        return FALSE;
    QWidget* widget = GetQWidget();
    if (!child)
        widget->setWindowFlags(widget->windowFlags() | Qt::Dialog);
    widget->setFont(font);

    std::vector<CRect> rects;
    for (const DialogItemTemplate& item : tmpl.items) {
        CRect r(item.x, item.y, item.x + item.cx, item.y + item.cy);
        MapDialogRect(&r);
        rects.push_back(r);
    }
    const std::vector<QWidget*> controls = CreateDialogControls(tmpl, widget, rects);

    if (OnInitDialog()) {
        for (QWidget* control : controls) {
            if ((ControlStyle(control) & WS_TABSTOP) && control->isEnabled()) {
                control->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
    }
    if (!GetSafeHwnd())
        return FALSE;
    if ((tmpl.style & WS_VISIBLE) && !m_bModal)
        widget->show();
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    const DialogTemplate* tmpl = FindTemplate();
    if (!tmpl || GetSafeHwnd())
        return -1;
    m_bModal = true;
    m_ended = false;
    m_nModalResult = -1;
    if (!CreateFromTemplate(*tmpl, m_pParentWnd)) {
        m_bModal = false;
        return -1;
    }
    if (!m_ended && GetSafeHwnd()) {
        QWidget* widget = GetQWidget();
        widget->setWindowModality(Qt::ApplicationModal);
        widget->show();
        QEventLoop loop;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
    }
    DestroyWindow();
    m_bModal = false;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    if (m_bModal) {
        m_ended = true;
        if (m_loop)
            m_loop->quit();
    } else {
        ShowWindow(SW_HIDE);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::SetDefID(UINT nID) {
    if (!GetSafeHwnd())
        return;
    for (auto* button : GetQWidget()->findChildren<QPushButton*>()) {
        CWnd* wnd = CWnd::FromWidget(button);
        button->setDefault(wnd && static_cast<UINT>(wnd->GetDlgCtrlID()) == nID);
    }
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    return UpdateData(FALSE);
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Closing a dialog by its frame is Cancel.
    if (message == WM_CLOSE) {
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CDialog::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    // A modal dialog whose window goes away by other means ends its loop.
    if (message == WM_DESTROY && m_loop) {
        m_ended = true;
        m_loop->quit();
    }
    // Keys no control took: Enter presses the default button, Escape is Cancel. A page
    // embedded in another window is not ended by keys: Enter presses its own default button
    // only, Escape does nothing.
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE) &&
        !FindMessageEntry(WM_KEYDOWN)) {
        const bool embedded = (GetStyle() & WS_CHILD) != 0;
        int id = embedded ? 0 : IDCANCEL;
        if (wParam == VK_RETURN) {
            id = embedded ? 0 : IDOK;
            for (auto* button : GetQWidget()->findChildren<QPushButton*>()) {
                if (button->isDefault() && button->isEnabled() && button->isVisible()) {
                    id = CWnd::FromWidget(button)->GetDlgCtrlID();
                    break;
                }
            }
        }
        *pResult = 0;
        if (id == 0)
            return TRUE;
        CWnd* button = GetDlgItem(id);
        SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                    button ? reinterpret_cast<LPARAM>(button->GetSafeHwnd()) : 0);
        return TRUE;
    }
    return CWnd::OnWndMsg(message, wParam, lParam, pResult);
}
