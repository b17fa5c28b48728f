#pragma once

// The framework's own command and window ids: the standard File, Window, View and Help commands
// that menus and toolbars bind to, and the ids of a frame's standard child windows.

#include "platform/wintypes/WinMessages.h"

inline constexpr UINT ID_SEPARATOR = 0;

inline constexpr UINT ID_FILE_NEW = 0xE100;
inline constexpr UINT ID_FILE_OPEN = 0xE101;
inline constexpr UINT ID_FILE_CLOSE = 0xE102;
inline constexpr UINT ID_FILE_SAVE = 0xE103;
inline constexpr UINT ID_FILE_SAVE_AS = 0xE104;
inline constexpr UINT ID_FILE_MRU_FILE1 = 0xE110;
inline constexpr UINT ID_FILE_MRU_FILE16 = 0xE11F;

inline constexpr UINT ID_WINDOW_NEW = 0xE130;
inline constexpr UINT ID_WINDOW_ARRANGE = 0xE131;
inline constexpr UINT ID_WINDOW_CASCADE = 0xE132;
inline constexpr UINT ID_WINDOW_TILE_HORZ = 0xE133;
inline constexpr UINT ID_WINDOW_TILE_VERT = 0xE134;

inline constexpr UINT ID_APP_ABOUT = 0xE140;
inline constexpr UINT ID_APP_EXIT = 0xE141;

inline constexpr UINT ID_VIEW_TOOLBAR = 0xE800;
inline constexpr UINT ID_VIEW_STATUS_BAR = 0xE801;

// Child window ids inside a frame.
inline constexpr UINT AFX_IDW_TOOLBAR = 0xE800;
inline constexpr UINT AFX_IDW_STATUS_BAR = 0xE801;
inline constexpr UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
inline constexpr UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
inline constexpr UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
inline constexpr UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;
inline constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

// Frame styles: the document title is added to the frame's title.
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
inline constexpr DWORD FWS_PREFIXTITLE = 0x00004000;

// Sent to a frame's views once the frame is complete (OnInitialUpdate).
inline constexpr UINT WM_INITIALUPDATE = 0x0364;

inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
