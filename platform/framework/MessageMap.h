#pragma once

// Message maps: the per-class tables that bind window messages, private messages and command
// ids to member handlers. Each class's table links to its base class's, so a handler declared
// in a base class serves every derived class that does not declare its own.
//
//   BEGIN_MESSAGE_MAP(CMyView, CWnd)
//       ON_WM_SIZE()
//       ON_MESSAGE(WM_APP + 1, OnMyMessage)
//       ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
//       ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)
//   END_MESSAGE_MAP()

#include "platform/wintypes/Point.h"
#include "platform/wintypes/WinMessages.h"
#include "platform/wintypes/WinTypes.h"

#include <type_traits>

class CCmdTarget;
class CCmdUI;
class CWnd;
class CDC;
struct DRAWITEMSTRUCT;

// Command codes of WM_COMMAND routing: a command, or the request to update its user interface.
// Control notification codes (such as a button's click) use the same slot.
inline constexpr int CN_COMMAND = 0;
inline constexpr int CN_UPDATE_COMMAND_UI = -1;

// Everything one handler call may need; the thunk of an entry unpacks it for the member.
struct MessageMapCall {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    UINT nID = 0;
    int nCode = 0;
    void* pExtra = nullptr;
    LRESULT result = 0;
};

using MessageMapThunk = void (*)(CCmdTarget* target, MessageMapCall& call);

struct MessageMapEntry {
    UINT nMessage;  // the window message, or WM_COMMAND for commands and notifications
    int nCode;      // for WM_COMMAND: CN_COMMAND, CN_UPDATE_COMMAND_UI or a notification code
    UINT nID;       // for WM_COMMAND: first id of the range
    UINT nLastID;   // for WM_COMMAND: last id of the range (inclusive)
    MessageMapThunk pfn;
};

struct CMessageMap {
    const CMessageMap* (*pfnGetBaseMap)();
    const MessageMapEntry* lpEntries;  // ends with an entry whose pfn is null
};

// Lets handlers find the window behind a handle carried in a message parameter.
CWnd* MessageMapWndFromHandle(WPARAM handle);

#define DECLARE_MESSAGE_MAP()                      \
protected:                                         \
    static const CMessageMap* GetThisMessageMap(); \
    const CMessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                     \
    const CMessageMap* theClass::GetMessageMap() const {           \
        return GetThisMessageMap();                                \
    }                                                              \
    const CMessageMap* theClass::GetThisMessageMap() {             \
        using ThisClass = theClass;                                \
        using TheBaseClass = baseClass;                            \
        static_assert(std::is_base_of_v<TheBaseClass, ThisClass>); \
        static const MessageMapEntry s_entries[] = {
#define END_MESSAGE_MAP()                                                           \
    { 0, 0, 0, 0, nullptr }                                                         \
    }                                                                               \
    ;                                                                               \
    static const CMessageMap s_map = {&TheBaseClass::GetThisMessageMap, s_entries}; \
    return &s_map;                                                                  \
    }

#define RM_MSG_ENTRY(message, body) \
    {message, 0, 0, 0, [](CCmdTarget* t, [[maybe_unused]] MessageMapCall& c) { body; }},
#define RM_SELF static_cast<ThisClass*>(t)
#define RM_POINT_OF(lp) CPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp))

// Private and other messages: LRESULT OnMessage(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    RM_MSG_ENTRY(message, c.result = RM_SELF->memberFxn(c.wParam, c.lParam))

// Commands and their user-interface updates, by id or by an inclusive id range.
#define ON_COMMAND(id, memberFxn)                                          \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CCmdTarget* t, MessageMapCall&) { RM_SELF->memberFxn(); }},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(idLast), \
     [](CCmdTarget* t, MessageMapCall& c) { RM_SELF->memberFxn(c.nID); }},
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                          \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CCmdTarget* t, MessageMapCall& c) {                                          \
         RM_SELF->memberFxn(static_cast<CCmdUI*>(c.pExtra));                         \
     }},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(idLast), \
     [](CCmdTarget* t, MessageMapCall& c) {                                              \
         RM_SELF->memberFxn(static_cast<CCmdUI*>(c.pExtra));                             \
     }},
// A control's notification (such as a button's click) sent to its parent as WM_COMMAND.
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                \
    {WM_COMMAND, static_cast<int>(wNotifyCode), static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CCmdTarget* t, MessageMapCall&) { RM_SELF->memberFxn(); }},

// Window messages with their unpacked parameters.
#define ON_WM_CREATE() \
    RM_MSG_ENTRY(WM_CREATE, c.result = RM_SELF->OnCreate(reinterpret_cast<CREATESTRUCT*>(c.lParam)))
#define ON_WM_DESTROY() RM_MSG_ENTRY(WM_DESTROY, RM_SELF->OnDestroy())
#define ON_WM_CLOSE() RM_MSG_ENTRY(WM_CLOSE, RM_SELF->OnClose())
#define ON_WM_SIZE()      \
    RM_MSG_ENTRY(WM_SIZE, \
                 RM_SELF->OnSize(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_PAINT() RM_MSG_ENTRY(WM_PAINT, RM_SELF->OnPaint())
#define ON_WM_ERASEBKGND() \
    RM_MSG_ENTRY(WM_ERASEBKGND, c.result = RM_SELF->OnEraseBkgnd(reinterpret_cast<CDC*>(c.wParam)))
#define ON_WM_TIMER() RM_MSG_ENTRY(WM_TIMER, RM_SELF->OnTimer(static_cast<UINT_PTR>(c.wParam)))
#define ON_WM_CONTEXTMENU()      \
    RM_MSG_ENTRY(WM_CONTEXTMENU, \
                 RM_SELF->OnContextMenu(MessageMapWndFromHandle(c.wParam), RM_POINT_OF(c.lParam)))
#define ON_WM_SETCURSOR()                                                           \
    RM_MSG_ENTRY(WM_SETCURSOR,                                                      \
                 c.result = RM_SELF->OnSetCursor(MessageMapWndFromHandle(c.wParam), \
                                                 LOWORD(c.lParam), HIWORD(c.lParam)))
#define ON_WM_ACTIVATE()                                                                     \
    RM_MSG_ENTRY(WM_ACTIVATE,                                                                \
                 RM_SELF->OnActivate(LOWORD(c.wParam),                                       \
                                     MessageMapWndFromHandle(static_cast<WPARAM>(c.lParam)), \
                                     HIWORD(c.wParam)))
#define ON_WM_SETFOCUS() \
    RM_MSG_ENTRY(WM_SETFOCUS, RM_SELF->OnSetFocus(MessageMapWndFromHandle(c.wParam)))
#define ON_WM_KILLFOCUS() \
    RM_MSG_ENTRY(WM_KILLFOCUS, RM_SELF->OnKillFocus(MessageMapWndFromHandle(c.wParam)))
#define ON_WM_KEYDOWN()                                                                        \
    RM_MSG_ENTRY(WM_KEYDOWN, RM_SELF->OnKeyDown(static_cast<UINT>(c.wParam), LOWORD(c.lParam), \
                                                HIWORD(c.lParam)))
#define ON_WM_KEYUP()                                                                      \
    RM_MSG_ENTRY(WM_KEYUP, RM_SELF->OnKeyUp(static_cast<UINT>(c.wParam), LOWORD(c.lParam), \
                                            HIWORD(c.lParam)))
#define ON_WM_CHAR()      \
    RM_MSG_ENTRY(WM_CHAR, \
                 RM_SELF->OnChar(static_cast<UINT>(c.wParam), LOWORD(c.lParam), HIWORD(c.lParam)))
#define RM_MOUSE_ENTRY(message, memberFxn) \
    RM_MSG_ENTRY(message, RM_SELF->memberFxn(static_cast<UINT>(c.wParam), RM_POINT_OF(c.lParam)))
#define ON_WM_MOUSEMOVE() RM_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() RM_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() RM_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() RM_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() RM_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() RM_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() RM_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() RM_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() RM_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSELEAVE() RM_MSG_ENTRY(WM_MOUSELEAVE, RM_SELF->OnMouseLeave())
#define ON_WM_MOUSEWHEEL()                                                                  \
    RM_MSG_ENTRY(WM_MOUSEWHEEL, c.result = RM_SELF->OnMouseWheel(                           \
                                    LOWORD(c.wParam), static_cast<short>(HIWORD(c.wParam)), \
                                    RM_POINT_OF(c.lParam)))

// WM_NOTIFY and reflected notifications route like commands: the notification code and the
// message it came with are packed into the entry's code, so they never meet command codes.
inline constexpr UINT WM_REFLECT_BASE = 0xBC00;
constexpr int RmNotifyCode(UINT message, UINT code) {
    return static_cast<int>((code & 0xFFFFu) | (message << 16));
}

// What an ON_NOTIFY handler gets through pExtra.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// A control's WM_NOTIFY: void OnNotify(NMHDR*, LRESULT*); the result goes back to the control.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                 \
    {WM_COMMAND, RmNotifyCode(WM_NOTIFY, wNotifyCode), static_cast<UINT>(id), \
     static_cast<UINT>(id), [](CCmdTarget* t, MessageMapCall& c) {            \
         auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);                        \
         RM_SELF->memberFxn(n->pNMHDR, n->pResult);                           \
     }},
// The control's own handling of a notification it sent its parent (the parent's handler,
// when there is one, is not called then): void OnReflect(NMHDR*, LRESULT*).
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                              \
    {WM_COMMAND, RmNotifyCode(WM_REFLECT_BASE + WM_NOTIFY, wNotifyCode), 0, 0, \
     [](CCmdTarget* t, MessageMapCall& c) {                                    \
         auto* n = static_cast<AFX_NOTIFY*>(c.pExtra);                         \
         RM_SELF->memberFxn(n->pNMHDR, n->pResult);                            \
     }},
// The control's own handling of a WM_COMMAND notification it sent: void OnReflect().
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                              \
    {WM_COMMAND, RmNotifyCode(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode), 0, 0, \
     [](CCmdTarget* t, MessageMapCall&) { RM_SELF->memberFxn(); }},

// BN_CLICKED comes with Button.h.
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)

// Scroll messages of sliders: void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar).
#define ON_WM_HSCROLL()                                                 \
    RM_MSG_ENTRY(WM_HSCROLL,                                            \
                 RM_SELF->OnHScroll(LOWORD(c.wParam), HIWORD(c.wParam), \
                                    MessageMapWndFromHandle(static_cast<WPARAM>(c.lParam))))
#define ON_WM_VSCROLL()                                                 \
    RM_MSG_ENTRY(WM_VSCROLL,                                            \
                 RM_SELF->OnVScroll(LOWORD(c.wParam), HIWORD(c.wParam), \
                                    MessageMapWndFromHandle(static_cast<WPARAM>(c.lParam))))
// Owner drawing asked of the parent: void OnDrawItem(int nIDCtl, DRAWITEMSTRUCT*).
#define ON_WM_DRAWITEM()                                                                        \
    RM_MSG_ENTRY(WM_DRAWITEM, RM_SELF->OnDrawItem(static_cast<int>(c.wParam),                   \
                                                  reinterpret_cast<DRAWITEMSTRUCT*>(c.lParam)); \
                 c.result = TRUE)
