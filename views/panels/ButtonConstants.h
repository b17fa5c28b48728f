#pragma once

// The button messages and dialog codes that owner-drawn buttons answer and their dialogs send;
// styles, check states and the owner-draw record come from the framework's button headers.

#include "platform/framework/Button.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/DrawItem.h"
#include "platform/wintypes/WinTypes.h"

inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_SETSTYLE = 0x00F4;

// WM_GETDLGCODE answers of push buttons.
inline constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
