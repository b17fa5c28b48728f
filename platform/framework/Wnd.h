#pragma once

// CWnd: a window object that holds its Qt widget the way a window holds its handle. The object
// exists before Create and after DestroyWindow; every message, whether translated from Qt
// input, sent, posted or made up by a caller, reaches the class through WindowProc and its
// message map. QWidget does the work; windows this class creates use a plain widget that
// accepts mouse and key input, and Attach takes over any other widget (a control).

#include "platform/framework/CmdTarget.h"
#include "platform/framework/MessageQueue.h"
#include "platform/wintypes/Rect.h"
#include "platform/wintypes/WinMessages.h"

#include <QRegion>
#include <QString>

#include <map>
#include <memory>

class CFrameWnd;
class QEvent;
class QTimer;
class QWidget;

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    DWORD style = 0;
    UINT nID = 0;
    QString lpszName;
};
using LPCREATESTRUCT = CREATESTRUCT*;

// GetWindow relations: z-order among siblings (first is topmost) and the topmost child.
inline constexpr UINT GW_HWNDFIRST = 0;
inline constexpr UINT GW_HWNDLAST = 1;
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_CHILD = 5;

// WM_MOUSEACTIVATE answers: whether the window is activated and whether the click goes on
// to it. Every mouse button press from Qt first asks the window under the mouse (wParam: its
// top-level window, lParam: MAKELPARAM(hit-test code, button message)).
inline constexpr LRESULT MA_ACTIVATE = 1;
inline constexpr LRESULT MA_ACTIVATEANDEAT = 2;
inline constexpr LRESULT MA_NOACTIVATE = 3;
inline constexpr LRESULT MA_NOACTIVATEANDEAT = 4;
// Hit-test codes of a window's title bar and of its sizing border.
inline constexpr UINT HTCAPTION = 2;
inline constexpr UINT HTBORDER = 18;

// Asks for one WM_MOUSELEAVE when the mouse next leaves the window.
inline constexpr DWORD TME_LEAVE = 0x00000002;
inline constexpr DWORD TME_CANCEL = 0x80000000;
struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = 0;
};

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
    DECLARE_MESSAGE_MAP()

public:
    // The handle while the window exists, else null.
    HWND m_hWnd = nullptr;

    // Insert-after values of SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;

    CWnd();
    // Destroys a window that still exists (without PostNcDestroy: the object is going).
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The widget doing the work, or nullptr without a window.
    QWidget* GetQWidget() const { return m_widget; }
    // The window object of a live handle, or nullptr. User-interface thread only.
    static CWnd* FromHandle(HWND hWnd);
    // The window object of a widget: its own, or a wrapper made on first use that lives as
    // long as the widget. nullptr for nullptr.
    static CWnd* FromWidget(QWidget* widget);
    // Only a window object that took the widget by Create or Attach, else nullptr.
    static CWnd* FromWidgetPermanent(const QWidget* widget);

    // Creates the window: a child of pParentWnd with WS_CHILD, else a top-level window. The
    // window receives WM_CREATE; a result of -1 destroys it and Create returns FALSE.
    virtual BOOL Create(const char* lpszClassName, const QString& windowName, DWORD dwStyle,
                        const CRect& rect, CWnd* pParentWnd, UINT nID,
                        void* pCreateParams = nullptr);
    // Takes an existing widget as this object's window (no WM_CREATE). FALSE when this object
    // already has a window or the widget belongs to another window object.
    BOOL Attach(QWidget* widget);
    // Gives the widget up without destroying it.
    QWidget* Detach();
    // Sends WM_DESTROY to the window and then to its descendants, ends their timers, drops
    // their handles (later posts to them are discarded), removes the widgets, then calls
    // PostNcDestroy on the descendants and last on this object, which may delete itself.
    virtual BOOL DestroyWindow();

    // Runs the message through WindowProc at once and returns its result. From another thread
    // the call waits until the user-interface thread has run it.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Queues the message for the window; safe from any thread. FALSE when the window does not
    // exist; a message whose window is gone by delivery time is dropped.
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL bDeep = TRUE);
    // Default processing of the message being handled.
    LRESULT Default();

    // Starts (or restarts with the new period) the timer of that id; WM_TIMER with the id
    // arrives every nElapse ms (at least 10). Returns the id, or 0 without a window.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse);
    BOOL KillTimer(UINT_PTR nIDEvent);

    void SetWindowText(const QString& text);
    QString GetWindowText() const;
    void GetWindowText(QString& text) const { text = GetWindowText(); }
    int GetWindowTextLength() const { return static_cast<int>(GetWindowText().size()); }

    // Returns whether the window was visible before.
    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    // Returns whether the window was disabled before.
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    // Returns the window that had the focus before, or nullptr.
    CWnd* SetFocus();
    static CWnd* GetFocus();
    DWORD GetStyle() const;

    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* pWndNewParent);
    // Frames answer TRUE; GetParentFrame looks for the nearest such ancestor.
    virtual BOOL IsFrameWnd() const { return FALSE; }
    CFrameWnd* GetParentFrame() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);
    // The first descendant with that id, searched children first, then depth first.
    CWnd* GetDescendantWindow(int nID) const;
    CWnd* GetWindow(UINT nCmd) const;
    CWnd* GetTopWindow() const { return GetWindow(GW_CHILD); }
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const { return GetWindow(nFlag); }

    void GetClientRect(CRect* rect) const;
    void GetWindowRect(CRect* rect) const;
    void ScreenToClient(CPoint* point) const;
    void ScreenToClient(CRect* rect) const;
    void ClientToScreen(CPoint* point) const;
    void ClientToScreen(CRect* rect) const;
    // Position in the parent's client co-ordinates (the screen for top-level windows).
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(const CRect& rect, BOOL bRepaint = TRUE);
    // The subset with SWP_NOMOVE, SWP_NOSIZE, SWP_NOZORDER, SWP_SHOWWINDOW, SWP_HIDEWINDOW;
    // pWndInsertAfter is &wndTop, &wndBottom or a sibling to go below.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);

    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(const CRect* rect, BOOL bErase = TRUE);
    // RDW_INVALIDATE marks the area; RDW_UPDATENOW paints it before returning; children are
    // painted with their parent.
    BOOL RedrawWindow(const CRect* rectUpdate = nullptr, const QRegion* rgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    // Paints what is invalid now.
    void UpdateWindow();
    void SetRedraw(BOOL bRedraw = TRUE);
    // The area being painted while WM_ERASEBKGND and WM_PAINT are handled; empty otherwise.
    const QRegion& GetPaintRegion() const { return m_paintRegion; }

    // A message box owned by this window through the prompter; a null caption means the
    // program's title.
    int MessageBox(const QString& text, const QString& caption = QString(), UINT nType = MB_OK);

    // Takes over the window of the dialog item nID of pParent, so that this object's class
    // handles its messages (a template control replaced by a custom class). FALSE when there
    // is no such item or it already belongs to another object made by Create or Attach.
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    BOOL SubclassWindow(HWND hWnd);
    // Called by SubclassWindow once the window is taken over.
    virtual void PreSubclassWindow();

    // The text, number or check of the dialog item nID; nothing happens without such an item.
    void SetDlgItemText(int nID, const QString& text);
    QString GetDlgItemText(int nID) const;
    void SetDlgItemInt(int nID, UINT value, BOOL bSigned = TRUE);
    // The item's text read as a whole number (0 when it is none); *lpTrans says which.
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    // BST_UNCHECKED 0, BST_CHECKED 1, BST_INDETERMINATE 2.
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    // Checks nIDCheckButton and clears the other buttons of the id range.
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);

    // The one path of every message: the message map, else DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: a control's notification is first offered to the control (OnChildNotify),
    // then the id is routed through OnCmdMsg. A menu command whose update handler disables it
    // is dropped.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: offered to the sending control first (OnChildNotify), then routed by id and
    // code through OnCmdMsg to ON_NOTIFY handlers.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A control's own look at the notification it sends its parent: its ON_CONTROL_REFLECT and
    // ON_NOTIFY_REFLECT handlers. TRUE when handled (the parent's handlers are not called).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Sees an input message of this window or a descendant before it is handled (see
    // CWinApp::PreTranslateMessage); TRUE swallows it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Called after the window is gone; frames and views delete themselves here.
    virtual void PostNcDestroy();

protected:
    // The widget that Create makes; classes with their own Qt widget override it.
    virtual QWidget* CreateWidget(QWidget* parent);

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnTimer(UINT_PTR nIDEvent);
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnSetFocus(CWnd* pOldWnd);
    void OnKillFocus(CWnd* pNewWnd);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnMouseLeave();

private:
    struct CurrentMessage;
    class EventFilter;

    // Every Qt event of the window, from the widget's event filter; TRUE when it was handled
    // and Qt must not process it further.
    bool HandleQtEvent(QEvent* event);
    void AttachWidget(QWidget* widget, bool isOwnWidget);
    // Drops the handle, timers and filter; the widget is left alone.
    void DetachWidget();
    // Runs a message that came from Qt input; TRUE when Qt must not process the event further.
    bool DispatchFromQt(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);
    // Erase and paint; TRUE when the window painted itself and Qt's painting must not run.
    bool PaintFromQt(const QRegion& region);
    void WidgetDestroyed(bool widgetStillUsable);
    // PostNcDestroy, or deleting a wrapper.
    void FinishDestroy();

    QWidget* m_widget = nullptr;
    EventFilter* m_filter = nullptr;
    DWORD m_style = 0;
    bool m_wrapperOnly = false;  // made by FromWidget; deletes itself with the widget
    bool m_destroying = false;
    bool m_nextFromQt = false;
    bool m_qtDefaultRequested = false;
    bool m_trackingLeave = false;
    CurrentMessage* m_current = nullptr;
    QRegion m_paintRegion;
    std::map<UINT_PTR, std::unique_ptr<QTimer, void (*)(QTimer*)>> m_timers;
    std::shared_ptr<bool> m_alive;

    friend class CWndWidget;
    friend BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
};

// The message of a Qt input event (keys, mouse buttons, mouse moves) for the window of widget or
// of its nearest ancestor with one, in that window's client co-ordinates. FALSE for other events.
bool TranslateQtInput(QWidget* widget, QEvent* event, MSG* msg);

// Marks a widget as part of its window's frame (a title bar, a border grip): it is no child
// window, so window walks (GetWindow, GetDlgItem, descendants) pass it by and FromWidget gives
// no window object for it.
void SetNonClientWidget(QWidget* widget);

// Whether the handle names a window that exists. Safe from any thread.
BOOL IsWindow(HWND hWnd);
// TME_LEAVE: the window gets WM_MOUSELEAVE once, the next time the mouse leaves it;
// TME_CANCEL withdraws the request. FALSE for a handle that names no window.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
