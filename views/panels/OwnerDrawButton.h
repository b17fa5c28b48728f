#pragma once

// COwnerDrawButton: a push button or check box that paints itself: an icon or bitmap pair and a
// caption on a flat or 3-D face (or on the parent's own background in transparent mode), a hover
// (hot) look that follows the mouse, a two-state check mode, a drop-down menu or a document
// opened with the desktop's handler when clicked, and a tooltip. It is created in place of a
// dialog's button with that button's style (PreSubclassWindow turns the style into an
// owner-drawn one) and paints through five virtual steps that derived buttons may replace.
// User-interface thread only.

#include "platform/framework/Cursor.h"
#include "platform/framework/Menu.h"
#include "platform/framework/ToolTipCtrl.h"
#include "platform/framework/Wnd.h"
#include "platform/wintypes/ColorRef.h"
#include "views/panels/ButtonConstants.h"

#include <QImage>
#include <QString>

#include <array>
#include <memory>

class CDC;

class COwnerDrawButton : public CWnd {
    DECLARE_DYNAMIC(COwnerDrawButton)
    DECLARE_MESSAGE_MAP()

public:
    // SetIcon's out icon that asks for a grey copy of the in icon.
    static const QImage& GrayOutIcon();

    COwnerDrawButton();

    // Creates the button as a child window with a dialog button's style (BS_PUSHBUTTON,
    // BS_DEFPUSHBUTTON, BS_CHECKBOX, BS_AUTOCHECKBOX) and runs PreSubclassWindow.
    BOOL Create(const QString& caption, DWORD style, const CRect& rect, CWnd* parent, UINT nID);
    // Creates the button in the place of a dialog's button nID: its rectangle, caption,
    // visibility and id; the dialog's own button is hidden and gives up its id. FALSE when the
    // dialog has no such item or this button exists already.
    BOOL CreateInPlaceOf(CWnd* dialog, int nID);

    // The in icon shows while hot or pressed (and checked in check-box mode), the out icon
    // otherwise. A null out icon uses the in icon for both; GrayOutIcon() makes the out icon
    // a grey copy of the in icon. A null in icon leaves the button without images. Returns 0.
    int SetIcon(const QImage& in, const QImage& out = QImage());
    // The icons of two resource ids; second id 0 uses the first for both states, -2 a grey copy
    // of it. Returns 1 (and no images) when the first cannot be loaded.
    int SetIconFromResource(UINT inId, int outId);
    // Bitmaps in place of icons: transparent pixels leave the face showing (the bitmap's mask).
    // A null in bitmap leaves the button without images. Frees the icons. Returns 0.
    int SetBitmaps(const QImage& in, const QImage& out = QImage());
    void SetFlat(BOOL flat, BOOL repaint = TRUE);
    void SetFlatFocus(BOOL flatFocus, BOOL repaint = TRUE);
    // Only in check-box mode.
    void SetCheck(int checked, BOOL repaint = TRUE);
    // Paints the parent's background under the button instead of filling the face.
    void SetTransparent(BOOL transparent, BOOL repaint = TRUE);
    BOOL IsTransparent() const { return m_transparent; }
    // 0 image left of the caption, 1 above it, 2 right of it.
    void SetImageAlignment(BYTE alignment, BOOL repaint = TRUE);
    void SetDrawBorder(BOOL draw, BOOL repaint = TRUE);
    // Left-button presses are swallowed while clicks are off.
    void EnableClicks(BOOL enable) { m_clicksEnabled = enable; }
    void SetGreyDisabledBitmap(BOOL grey) { m_greyDisabledBitmap = grey; }
    void SetAlwaysTrack(BOOL always) { m_alwaysTrack = always; }
    void SetButtonCursor(HCURSOR cursor) { m_cursor = cursor; }
    // The path or address a click opens.
    void SetDocument(const QString& document) { m_document = document; }
    // The colours of the face: kBackIn/kForeIn when hot or pressed, kBackOut/kForeOut otherwise,
    // kBackFocus/kForeFocus while focused.
    enum Colour { kBackIn, kForeIn, kBackOut, kForeOut, kBackFocus, kForeFocus };
    void SetColour(Colour which, COLORREF colour, BOOL repaint = TRUE);
    COLORREF GetColour(Colour which) const;
    // A click shows the first sub-menu of the menu below the button; the chosen command goes to
    // owner as WM_COMMAND (posted). Just before, callbackWnd (when set) receives callbackMessage
    // with the sub-menu and callbackArg.
    // Resource menu 0 (or one that does not exist) removes the menu; FALSE when it is missing.
    BOOL SetMenu(UINT nMenu, CWnd* owner);
    void SetMenuCallback(CWnd* callbackWnd, UINT callbackMessage, LPARAM callbackArg = 0);
    BOOL HasMenu() const { return m_menu != nullptr; }
    BOOL IsMenuShown() const { return m_menuShown; }
    // The tooltip, made on first use; active only once a text is set.
    void SetTooltipText(const QString& text, BOOL activate = TRUE);
    QString GetTooltipText() const;
    CToolTipCtrl& GetToolTip() { return m_toolTip; }
    int GetCheck() const { return m_checked ? 1 : 0; }
    BOOL IsCheckBox() const { return m_isCheckBox; }
    BOOL IsDefault() const { return m_isDefault; }
    BOOL IsHot() const { return m_hot; }
    // The style the window has now (owner-drawn once subclassed).
    DWORD GetButtonStyle() const { return m_buttonStyle; }
    // The path or address opened on a click, kept whole whatever its length.
    const QString& GetDocument() const { return m_document; }

    // A grey copy of the icon: each pixel's colour (unless black) becomes its luminance
    // 0.299 R + 0.587 G + 0.114 B, truncated; transparency is kept. Null for a null icon.
    static QImage CreateGrayscaleIcon(const QImage& icon);

    // Paints the whole button for the state bits of the record.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Makes the tooltip on the first message and relays each to it.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Reads the creation style (check-box mode, default button) and makes the button
    // owner-drawn.
    virtual void PreSubclassWindow();

    // The drawing steps, in this order. DrawBackground may shrink rect for the later steps.
    virtual void DrawBackground(CDC* pDC, CRect* rect);
    virtual void DrawBorder(CDC* pDC, CRect* rect);
    virtual void DrawIcon(CDC* pDC, BOOL hasCaption, const CRect* itemRect, CRect* captionRect,
                          BOOL pressed, BOOL disabled);
    virtual void DrawBitmap(CDC* pDC, BOOL hasCaption, const CRect* itemRect, CRect* captionRect,
                            BOOL pressed, BOOL disabled);
    virtual void DrawCaption(CDC* pDC, const QString& caption, const CRect* itemRect,
                             const CRect* captionRect, BOOL pressed, BOOL disabled);

    // Where an image of w x h goes for the alignment; moves the caption rectangle aside.
    CRect PrepareImageRect(BOOL hasCaption, const CRect& itemRect, CRect* captionRect, BOOL pressed,
                           int w, int h) const;
    // 0 for the in icon, 1 for the out icon, by the state of the paint in progress.
    int IconIndex() const;
    int BitmapIndex() const;

    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnKillFocus(CWnd* pNewWnd);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnPaint();
    LRESULT OnCancelMode(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM wParam, LPARAM);
    LRESULT OnMouseLeaveMsg(WPARAM, LPARAM);
    LRESULT OnSysColorChange(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheck(WPARAM wParam, LPARAM);
    LRESULT OnGetCheck(WPARAM, LPARAM);

    // Creates the tooltip when it does not exist yet, inactive and 400 pixels wide at most.
    void InitToolTip();
    // The parent's contents under the button, captured on the first transparent paint.
    void PaintParentBackground(CDC* pDC);
    void ShowMenu();
    // The entry of a pair to draw now, given whether an out entry is set.
    int ImageIndex(bool hasOut) const;

    // Clears the hot look (repainting) when it was on.
    void CancelHover();
    void ResetColors();

    struct IconEntry {
        QImage image;
        int width = 0;
        int height = 0;
    };

    BOOL m_clicksEnabled = TRUE;
    BOOL m_greyDisabledBitmap = TRUE;
    int m_marginX = 3;
    int m_marginY = 3;
    int m_pressedOffsetX = 1;
    int m_pressedOffsetY = 1;
    BOOL m_flat = TRUE;
    BOOL m_hot = FALSE;
    BOOL m_transparent = FALSE;
    BOOL m_pressed = FALSE;
    BOOL m_focused = FALSE;
    BOOL m_disabled = FALSE;
    BOOL m_isDefault = FALSE;
    BOOL m_isCheckBox = FALSE;
    BYTE m_alignment = 0;
    BOOL m_drawBorder = TRUE;
    BOOL m_flatFocus = FALSE;
    COLORREF m_bkIn = 0;
    COLORREF m_fgIn = 0;
    COLORREF m_bkOut = 0;
    COLORREF m_fgOut = 0;
    COLORREF m_bkFocus = 0;
    COLORREF m_fgFocus = 0;
    CWnd* m_menuOwner = nullptr;
    BOOL m_menuShown = FALSE;
    std::unique_ptr<CMenu> m_menu;
    HCURSOR m_cursor = nullptr;
    CToolTipCtrl m_toolTip;
    DWORD m_tooltipStyle = 0;
    QImage m_background;
    BOOL m_alwaysTrack = TRUE;
    BOOL m_checked = FALSE;
    QString m_document;
    std::array<IconEntry, 2> m_icons;
    std::array<IconEntry, 2> m_bitmaps;
    struct MenuCallback {
        CWnd* wnd = nullptr;
        UINT message = 0;
        LPARAM arg = 0;
    } m_menuCallback;

private:
    // The button's own press: held down by the left button, drawn selected while the mouse
    // is over it, a click when released over it.
    BOOL m_buttonDown = FALSE;
    BOOL m_selected = FALSE;
    DWORD m_buttonStyle = BS_PUSHBUTTON;
};
