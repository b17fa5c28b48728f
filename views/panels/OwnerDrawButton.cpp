#include "views/panels/OwnerDrawButton.h"

#include "platform/framework/Bitmap.h"
#include "platform/framework/Brush.h"
#include "platform/framework/DC.h"
#include "platform/framework/PaintDC.h"
#include "platform/framework/Pen.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/Shell.h"
#include "platform/framework/SysColor.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QWidget>

IMPLEMENT_DYNAMIC(COwnerDrawButton, CWnd)

BEGIN_MESSAGE_MAP(COwnerDrawButton, CWnd)
ON_WM_SETCURSOR()
ON_WM_KILLFOCUS()
ON_WM_ACTIVATE()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_PAINT()
ON_MESSAGE(WM_CANCELMODE, OnCancelMode)
ON_MESSAGE(WM_ENABLE, OnEnable)
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveMsg)
ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChange)
ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
ON_MESSAGE(BM_GETCHECK, OnGetCheck)
END_MESSAGE_MAP()

namespace {

// Turns the widget's enabled changes into WM_ENABLE for its window.
class EnableWatcher : public QObject {
public:
    EnableWatcher(CWnd* wnd, QObject* parent) : QObject(parent), m_wnd(wnd) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && watched == m_wnd->GetQWidget())
            m_wnd->SendMessage(WM_ENABLE, m_wnd->GetQWidget()->isEnabled() ? TRUE : FALSE, 0);
        return false;
    }

private:
    CWnd* m_wnd;
};

}  // namespace

const QImage& COwnerDrawButton::GrayOutIcon() {
    // A 1 x 1 image recognised by address, never drawn.
    static const QImage s_marker(1, 1, QImage::Format_ARGB32);
    return s_marker;
}

COwnerDrawButton::COwnerDrawButton() {
    ResetColors();
}

BOOL COwnerDrawButton::Create(const QString& caption, DWORD style, const CRect& rect, CWnd* parent,
                              UINT nID) {
    if (!CWnd::Create(nullptr, caption, style | WS_CHILD, rect, parent, nID))
        return FALSE;
    m_buttonStyle = style & 0xFFFF;
    QWidget* widget = GetQWidget();
    widget->setFocusPolicy(Qt::StrongFocus);
    // Owned by the widget, so it goes with it.
    widget->installEventFilter(new EnableWatcher(this, widget));
    PreSubclassWindow();
    return TRUE;
}

void COwnerDrawButton::PreSubclassWindow() {
    if (m_buttonStyle & BS_CHECKBOX)
        m_isCheckBox = TRUE;
    if ((m_buttonStyle & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        m_isDefault = TRUE;
    m_buttonStyle = (m_buttonStyle & ~BS_TYPEMASK) | BS_OWNERDRAW;
    Invalidate();
}

void COwnerDrawButton::ResetColors() {
    m_bkIn = m_bkOut = m_bkFocus = GetSysColor(COLOR_BTNFACE);
    m_fgIn = m_fgOut = m_fgFocus = GetSysColor(COLOR_BTNTEXT);
}

int COwnerDrawButton::SetIcon(const QImage& in, const QImage& out) {
    for (IconEntry& entry : m_icons)
        entry = IconEntry();
    for (IconEntry& entry : m_bitmaps)
        entry = IconEntry();
    if (!in.isNull()) {
        m_icons[0] = {in, in.width(), in.height()};
        const QImage outImage = &out == &GrayOutIcon() ? CreateGrayscaleIcon(in) : out;
        if (!outImage.isNull())
            m_icons[1] = {outImage, outImage.width(), outImage.height()};
    }
    Invalidate();
    return 0;
}

BOOL COwnerDrawButton::CreateInPlaceOf(CWnd* dialog, int nID) {
    CWnd* item = dialog ? dialog->GetDlgItem(nID) : nullptr;
    if (GetSafeHwnd() || !item)
        return FALSE;
    CRect rect;
    item->GetWindowRect(&rect);
    dialog->ScreenToClient(&rect);
    const QString caption = item->GetWindowText();
    const DWORD visible = item->GetQWidget()->isHidden() ? 0 : WS_VISIBLE;
    item->ShowWindow(SW_HIDE);
    item->SetDlgCtrlID(0);
    return Create(caption, BS_PUSHBUTTON | visible, rect, dialog, static_cast<UINT>(nID));
}

int COwnerDrawButton::SetIconFromResource(UINT inId, int outId) {
    const QImage in = CResourceChain::LoadIcon(inId);
    if (in.isNull()) {
        SetIcon(QImage());
        return 1;
    }
    if (outId == -2)
        return SetIcon(in, GrayOutIcon());
    return SetIcon(in, outId == 0 ? QImage() : CResourceChain::LoadIcon(static_cast<UINT>(outId)));
}

int COwnerDrawButton::SetBitmaps(const QImage& in, const QImage& out) {
    for (IconEntry& entry : m_icons)
        entry = IconEntry();
    for (IconEntry& entry : m_bitmaps)
        entry = IconEntry();
    if (!in.isNull()) {
        m_bitmaps[0] = {in, in.width(), in.height()};
        if (!out.isNull())
            m_bitmaps[1] = {out, out.width(), out.height()};
    }
    Invalidate();
    return 0;
}

QImage COwnerDrawButton::CreateGrayscaleIcon(const QImage& icon) {
    if (icon.isNull())
        return QImage();
    QImage grey = icon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb p = line[x];
            if ((p & 0x00FFFFFF) == 0)
                continue;
            const int g = static_cast<int>(0.299 * qRed(p) + 0.587 * qGreen(p) + 0.114 * qBlue(p));
            line[x] = qRgba(g, g, g, qAlpha(p));
        }
    }
    return grey;
}

void COwnerDrawButton::SetFlat(BOOL flat, BOOL repaint) {
    m_flat = flat;
    if (repaint)
        Invalidate();
}

void COwnerDrawButton::SetFlatFocus(BOOL flatFocus, BOOL repaint) {
    m_flatFocus = flatFocus;
    if (repaint)
        Invalidate();
}

void COwnerDrawButton::SetCheck(int checked, BOOL repaint) {
    if (!m_isCheckBox)
        return;
    m_checked = checked != 0;
    if (repaint)
        Invalidate();
}

void COwnerDrawButton::SetTransparent(BOOL transparent, BOOL repaint) {
    m_transparent = transparent;
    m_background = QImage();
    if (repaint)
        Invalidate();
}

void COwnerDrawButton::SetImageAlignment(BYTE alignment, BOOL repaint) {
    m_alignment = alignment <= 2 ? alignment : 0;
    if (repaint)
        Invalidate();
}

void COwnerDrawButton::SetDrawBorder(BOOL draw, BOOL repaint) {
    m_drawBorder = draw;
    if (repaint)
        Invalidate();
}

void COwnerDrawButton::SetColour(Colour which, COLORREF colour, BOOL repaint) {
    COLORREF* const colours[] = {&m_bkIn, &m_fgIn, &m_bkOut, &m_fgOut, &m_bkFocus, &m_fgFocus};
    *colours[which] = colour;
    if (repaint)
        Invalidate();
}

COLORREF COwnerDrawButton::GetColour(Colour which) const {
    const COLORREF colours[] = {m_bkIn, m_fgIn, m_bkOut, m_fgOut, m_bkFocus, m_fgFocus};
    return colours[which];
}

BOOL COwnerDrawButton::SetMenu(UINT nMenu, CWnd* owner) {
    m_menu.reset(nMenu ? CMenu::LoadResourceMenu(nMenu) : nullptr);
    m_menuOwner = owner;
    Invalidate();
    return nMenu == 0 || m_menu != nullptr;
}

void COwnerDrawButton::SetMenuCallback(CWnd* callbackWnd, UINT callbackMessage,
                                       LPARAM callbackArg) {
    m_menuCallback = {callbackWnd, callbackMessage, callbackArg};
}

void COwnerDrawButton::InitToolTip() {
    if (m_toolTip.GetSafeHwnd())
        return;
    m_toolTip.Create(this, m_tooltipStyle);
    m_toolTip.Activate(FALSE);
    m_toolTip.SetMaxTipWidth(400);
}

void COwnerDrawButton::SetTooltipText(const QString& text, BOOL activate) {
    if (text.isEmpty())
        return;
    InitToolTip();
    if (m_toolTip.GetToolCount() == 0)
        m_toolTip.AddTool(this, text);
    else
        m_toolTip.UpdateTipText(text, this);
    m_toolTip.Activate(activate);
}

QString COwnerDrawButton::GetTooltipText() const {
    return m_toolTip.GetToolText(const_cast<COwnerDrawButton*>(this));
}

void COwnerDrawButton::ShowMenu() {
    CMenu* sub = m_menu ? m_menu->GetSubMenu(0) : nullptr;
    if (!sub)
        return;
    m_menuShown = TRUE;
    Invalidate();
    if (m_menuCallback.wnd)
        m_menuCallback.wnd->SendMessage(m_menuCallback.message, reinterpret_cast<WPARAM>(sub),
                                        m_menuCallback.arg);
    CRect window;
    GetWindowRect(&window);
    const UINT chosen = static_cast<UINT>(
        sub->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
                            window.left, window.bottom, m_menuOwner));
    m_menuShown = FALSE;
    Invalidate();
    if (chosen && m_menuOwner)
        m_menuOwner->PostMessage(WM_COMMAND, MAKEWPARAM(LOWORD(chosen), 0), 0);
}

void COwnerDrawButton::PaintParentBackground(CDC* pDC) {
    CWnd* parent = GetParent();
    if (m_background.isNull() && parent && parent->GetQWidget()) {
        CRect rect;
        GetWindowRect(&rect);
        parent->ScreenToClient(&rect);
        m_background = QImage(rect.Width(), rect.Height(), QImage::Format_ARGB32);
        m_background.fill(Qt::transparent);
        // The parent alone, without its children (this button among them).
        parent->GetQWidget()->render(&m_background, QPoint(),
                                     QRegion(rect.left, rect.top, rect.Width(), rect.Height()),
                                     QWidget::DrawWindowBackground);
    }
    if (!m_background.isNull())
        pDC->DrawState(CPoint(0, 0), CSize(m_background.width(), m_background.height()),
                       m_background, DST_ICON);
}

void COwnerDrawButton::CancelHover() {
    if (m_hot) {
        m_hot = FALSE;
        Invalidate();
    }
}

LRESULT COwnerDrawButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // A double click counts as a second single click.
    if (message == WM_LBUTTONDBLCLK)
        message = WM_LBUTTONDOWN;
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL COwnerDrawButton::PreTranslateMessage(MSG* pMsg) {
    InitToolTip();
    m_toolTip.RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

LRESULT COwnerDrawButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            m_buttonDown = TRUE;
            m_selected = TRUE;
            SetFocus();
            Invalidate();
            break;
        case WM_MOUSEMOVE:
            if (m_buttonDown) {
                CRect client;
                GetClientRect(&client);
                const BOOL inside =
                    client.PtInRect(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
                if (inside != m_selected) {
                    m_selected = inside;
                    Invalidate();
                }
            }
            break;
        case WM_LBUTTONUP:
            if (m_buttonDown) {
                const BOOL clicked = m_selected;
                m_buttonDown = FALSE;
                m_selected = FALSE;
                Invalidate();
                if (clicked) {
                    const WPARAM command = MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED);
                    const LPARAM handle = reinterpret_cast<LPARAM>(GetSafeHwnd());
                    // The parent offers the notification to the button first (reflection).
                    if (CWnd* parent = GetParent())
                        parent->SendMessage(WM_COMMAND, command, handle);
                    else
                        OnChildNotify(WM_COMMAND, command, handle, nullptr);
                }
            }
            break;
        case WM_KILLFOCUS:
        case WM_CANCELMODE:
            if (m_buttonDown) {
                m_buttonDown = FALSE;
                m_selected = FALSE;
                Invalidate();
            }
            break;
        default:
            break;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL COwnerDrawButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    SetFocus();
    if (m_isCheckBox) {
        m_checked = !m_checked;
        Invalidate();
    } else if (m_menu) {
        ShowMenu();
    } else if (!m_document.isEmpty()) {
        AfxShellOpen(m_document);
    }
    // The parent gets the click as well.
    return FALSE;
}

BOOL COwnerDrawButton::OnSetCursor(CWnd*, UINT, UINT) {
    if (m_cursor) {
        ::SetCursor(m_cursor);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void COwnerDrawButton::OnKillFocus(CWnd*) {
    Default();
    CancelHover();
}

LRESULT COwnerDrawButton::OnCancelMode(WPARAM, LPARAM) {
    Default();
    CancelHover();
    return 0;
}

void COwnerDrawButton::OnActivate(UINT nState, CWnd*, BOOL) {
    Default();
    if (nState == WA_INACTIVE)
        CancelHover();
}

LRESULT COwnerDrawButton::OnEnable(WPARAM wParam, LPARAM) {
    Default();
    if (!wParam) {
        // Qt has moved the focus on to the next tab item if there is one; without one the
        // parent takes it.
        CWnd* parent = GetParent();
        if (parent && !QApplication::focusWidget())
            parent->SetFocus();
        CancelHover();
    }
    return 0;
}

void COwnerDrawButton::OnMouseMove(UINT nFlags, CPoint point) {
    Default();
    CPoint screen = point;
    ClientToScreen(&screen);
    QWidget* under = QApplication::widgetAt(screen.x, screen.y);
    if ((nFlags & MK_LBUTTON) && !m_hot)
        return;
    const bool active = m_alwaysTrack || QApplication::activeWindow() != nullptr;
    if (under && under == GetQWidget() && active) {
        if (!m_hot) {
            m_hot = TRUE;
            Invalidate();
            TRACKMOUSEEVENT track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = GetSafeHwnd();
            TrackMouseEvent(&track);
        }
    } else {
        CancelHover();
    }
}

LRESULT COwnerDrawButton::OnMouseLeaveMsg(WPARAM, LPARAM) {
    CancelHover();
    return 0;
}

void COwnerDrawButton::OnLButtonDown(UINT, CPoint) {
    if (!m_clicksEnabled)
        return;
    Default();
}

LRESULT COwnerDrawButton::OnSysColorChange(WPARAM, LPARAM) {
    Default();
    m_background = QImage();
    ResetColors();
    Invalidate();
    return 0;
}

LRESULT COwnerDrawButton::OnGetDlgCode(WPARAM, LPARAM) {
    return Default() | (m_isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT COwnerDrawButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
    const DWORD type = static_cast<DWORD>(wParam) & BS_TYPEMASK;
    if (type == BS_DEFPUSHBUTTON)
        m_isDefault = TRUE;
    else if (type == BS_PUSHBUTTON)
        m_isDefault = FALSE;
    m_buttonStyle = (static_cast<DWORD>(wParam) & ~DWORD{0x04 | 0x10}) | BS_OWNERDRAW;
    if (LOWORD(lParam))
        Invalidate();
    return 0;
}

LRESULT COwnerDrawButton::OnSetCheck(WPARAM wParam, LPARAM) {
    if (m_isCheckBox) {
        m_checked = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE);
        Invalidate();
    }
    return 0;
}

LRESULT COwnerDrawButton::OnGetCheck(WPARAM, LPARAM) {
    return m_checked ? BST_CHECKED : BST_UNCHECKED;
}

void COwnerDrawButton::OnPaint() {
    CPaintDC dc(this);
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
    dis.hwndItem = GetSafeHwnd();
    dis.pDC = &dc;
    GetClientRect(&dis.rcItem);
    if (m_selected)
        dis.itemState |= ODS_SELECTED;
    if (GetFocus() == this)
        dis.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled())
        dis.itemState |= ODS_DISABLED;
    DrawItem(&dis);
}

void COwnerDrawButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    CDC* dc = lpDIS->pDC;
    const BOOL selected = (lpDIS->itemState & ODS_SELECTED) != 0;
    m_pressed = m_isCheckBox ? (selected || m_checked) : (selected || m_menuShown);
    m_focused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_disabled = (lpDIS->itemState & ODS_DISABLED) != 0;

    CRect rect = lpDIS->rcItem;
    dc->SetBkMode(TRANSPARENT);
    if (m_transparent)
        PaintParentBackground(dc);
    else
        DrawBackground(dc, &rect);
    DrawBorder(dc, &rect);

    const QString caption = GetWindowText();
    CRect captionRect = lpDIS->rcItem;
    const BOOL hasCaption = caption.isEmpty() ? FALSE : TRUE;
    if (!m_icons[0].image.isNull()) {
        DrawIcon(dc, hasCaption, &lpDIS->rcItem, &captionRect, m_pressed, m_disabled);
    } else if (!m_bitmaps[0].image.isNull()) {
        dc->SetBkColor(RGB(255, 255, 255));
        DrawBitmap(dc, hasCaption, &lpDIS->rcItem, &captionRect, m_pressed, m_disabled);
    }
    if (hasCaption)
        DrawCaption(dc, caption, &lpDIS->rcItem, &captionRect, m_pressed, m_disabled);

    if (m_focused && (!m_flat || m_flatFocus)) {
        CRect focus = rect;
        focus.InflateRect(-3, -3);
        dc->DrawFocusRect(focus);
    }
}

void COwnerDrawButton::DrawBackground(CDC* pDC, CRect* rect) {
    if (!m_flat && (m_focused || m_isDefault)) {
        CBrush black(RGB(0, 0, 0));
        pDC->FrameRect(*rect, &black);
        rect->DeflateRect(1, 1);
    }
    COLORREF color = m_bkOut;
    if (m_hot || m_pressed)
        color = m_bkIn;
    else if (m_focused)
        color = m_bkFocus;
    CBrush fill(color);
    pDC->FillRect(*rect, &fill);
}

void COwnerDrawButton::DrawBorder(CDC* pDC, CRect* rect) {
    const int l = rect->left;
    const int t = rect->top;
    const int r = rect->right;
    const int b = rect->bottom;
    if (m_pressed) {
        if (m_flat) {
            if (m_drawBorder)
                pDC->Draw3dRect(*rect, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHILIGHT));
        } else {
            CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
            pDC->FrameRect(*rect, &shadow);
        }
        return;
    }
    if (m_flat) {
        if (m_hot && m_drawBorder)
            pDC->Draw3dRect(*rect, GetSysColor(COLOR_BTNHILIGHT), GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    struct Stroke {
        int color;
        CPoint points[3];
    };
    const Stroke strokes[] = {
        {COLOR_BTNHILIGHT, {{l, b - 1}, {l, t}, {r, t}}},
        {COLOR_3DLIGHT, {{l + 1, b - 1}, {l + 1, t + 1}, {r, t + 1}}},
        {COLOR_3DDKSHADOW, {{l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1}}},
        {COLOR_BTNSHADOW, {{l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t}}},
    };
    for (const Stroke& stroke : strokes) {
        CPen pen(PS_SOLID, 1, GetSysColor(stroke.color));
        CPen* old = pDC->SelectObject(&pen);
        pDC->Polyline(stroke.points, 3);
        pDC->SelectObject(old);
    }
}

int COwnerDrawButton::IconIndex() const {
    return ImageIndex(!m_icons[1].image.isNull());
}

int COwnerDrawButton::BitmapIndex() const {
    return ImageIndex(!m_bitmaps[1].image.isNull());
}

int COwnerDrawButton::ImageIndex(bool hasOut) const {
    if (m_isCheckBox && !m_pressed)
        return hasOut ? 1 : 0;
    if (m_pressed || m_hot)
        return 0;
    return hasOut ? 1 : 0;
}

CRect COwnerDrawButton::PrepareImageRect(BOOL hasCaption, const CRect& itemRect, CRect* captionRect,
                                         BOOL pressed, int w, int h) const {
    const int l = itemRect.left;
    const int t = itemRect.top;
    const int r = itemRect.right;
    const int b = itemRect.bottom;
    int left = l;
    int top = t;
    switch (m_alignment) {
        case 1:
            left = l + (r - l - w) / 2;
            if (hasCaption) {
                top = m_marginY;
                captionRect->top += h;
            } else {
                top = t + (b - t - h) / 2;
            }
            break;
        case 2:
            if (hasCaption) {
                CRect client;
                GetClientRect(&client);
                captionRect->right = captionRect->right - (captionRect->left + m_marginX + w);
                captionRect->left = m_marginX;
                left = client.right - m_marginX - w;
                top = t + (b - t - h) / 2;
            } else {
                left = l + (r - l - w) / 2;
            }
            break;
        default:
            if (hasCaption) {
                left = l + m_marginX;
                captionRect->left += m_marginX + w;
            } else {
                left = l + (r - l - w) / 2;
            }
            top = t + (b - t - h) / 2;
            break;
    }
    CRect image(left, top, left + w, top + h);
    if (pressed && !m_isCheckBox)
        image.OffsetRect(m_pressedOffsetX, m_pressedOffsetY);
    return image;
}

void COwnerDrawButton::DrawIcon(CDC* pDC, BOOL hasCaption, const CRect* itemRect,
                                CRect* captionRect, BOOL pressed, BOOL disabled) {
    const IconEntry& icon = m_icons[static_cast<size_t>(IconIndex())];
    const CRect image =
        PrepareImageRect(hasCaption, *itemRect, captionRect, pressed, icon.width, icon.height);
    pDC->DrawState(image.TopLeft(), CSize(icon.width, icon.height), icon.image,
                   DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
}

void COwnerDrawButton::DrawBitmap(CDC* pDC, BOOL hasCaption, const CRect* itemRect,
                                  CRect* captionRect, BOOL pressed, BOOL disabled) {
    const IconEntry& bitmap = m_bitmaps[static_cast<size_t>(BitmapIndex())];
    const CRect image =
        PrepareImageRect(hasCaption, *itemRect, captionRect, pressed, bitmap.width, bitmap.height);
    if (disabled && m_greyDisabledBitmap) {
        // On white first, so that the embossed shape is every pixel the bitmap covers.
        QImage onWhite(bitmap.width, bitmap.height, QImage::Format_ARGB32);
        onWhite.fill(Qt::white);
        QPainter(&onWhite).drawImage(0, 0, bitmap.image);
        CBitmap temporary;
        temporary.Attach(onWhite);
        pDC->DrawState(image.TopLeft(), CSize(bitmap.width, bitmap.height), &temporary,
                       DST_BITMAP | DSS_DISABLED);
        return;
    }
    // The mask keeps the face where the bitmap is transparent.
    pDC->DrawState(image.TopLeft(), CSize(bitmap.width, bitmap.height), bitmap.image, DST_ICON);
}

void COwnerDrawButton::DrawCaption(CDC* pDC, const QString& caption, const CRect*,
                                   const CRect* captionRect, BOOL pressed, BOOL disabled) {
    CRect area = *captionRect;
    if (pressed && !m_isCheckBox)
        area.OffsetRect(m_pressedOffsetX, m_pressedOffsetY);
    const CRect kept = area;
    pDC->DrawText(caption, &area, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    area.OffsetRect((kept.Width() - area.Width()) / 2, (kept.Height() - area.Height()) / 2);
    pDC->SetBkMode(TRANSPARENT);
    if (disabled) {
        area.OffsetRect(1, 1);
        pDC->SetTextColor(GetSysColor(COLOR_3DHILIGHT));
        pDC->DrawText(caption, &area, DT_WORDBREAK | DT_CENTER);
        area.OffsetRect(-1, -1);
        pDC->SetTextColor(GetSysColor(COLOR_3DSHADOW));
        pDC->DrawText(caption, &area, DT_WORDBREAK | DT_CENTER);
        return;
    }
    if (m_hot || pressed) {
        pDC->SetTextColor(m_fgIn);
        pDC->SetBkColor(m_bkIn);
    } else if (m_focused) {
        pDC->SetTextColor(m_fgFocus);
        pDC->SetBkColor(m_bkFocus);
    } else {
        pDC->SetTextColor(m_fgOut);
        pDC->SetBkColor(m_bkOut);
    }
    pDC->DrawText(caption, &area, DT_WORDBREAK | DT_CENTER);
}
