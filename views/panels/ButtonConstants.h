#pragma once

// The numbers of push buttons and check boxes that owner-drawn buttons and their dialogs
// exchange: button styles, button messages and notifications, check states, dialog codes, and
// the owner-draw record handed to DrawItem.

#include "platform/wintypes/Rect.h"
#include "platform/wintypes/WinMessages.h"
#include "platform/wintypes/WinTypes.h"

class CDC;

// Button type bits (style & 0x1F).
inline constexpr DWORD BS_PUSHBUTTON = 0x00;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x01;
inline constexpr DWORD BS_CHECKBOX = 0x02;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x03;
inline constexpr DWORD BS_OWNERDRAW = 0x0B;
inline constexpr DWORD BS_TYPEMASK = 0x1F;

// Button messages and the click notification.
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_SETSTYLE = 0x00F4;
inline constexpr UINT BN_CLICKED = 0;

inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr int BST_INDETERMINATE = 2;

// WM_GETDLGCODE answers of push buttons.
inline constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;

// Owner-draw record: control type, action and item state bits.
inline constexpr UINT ODT_BUTTON = 4;
inline constexpr UINT ODA_DRAWENTIRE = 0x0001;
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_FOCUS = 0x0010;

// What an owner-drawn control is asked to paint: the device context (valid during the call),
// the item rectangle in client co-ordinates and the state bits.
struct DRAWITEMSTRUCT {
    UINT CtlType = ODT_BUTTON;
    UINT CtlID = 0;
    UINT itemID = 0;
    UINT itemAction = ODA_DRAWENTIRE;
    UINT itemState = 0;
    HWND hwndItem = nullptr;
    CDC* pDC = nullptr;
    CRect rcItem;
};
using LPDRAWITEMSTRUCT = DRAWITEMSTRUCT*;
