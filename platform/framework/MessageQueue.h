#pragma once

// The thread's queue of posted window messages and the pump that long operations run between
// their steps. Posted messages travel as Qt events to the user-interface thread; this queue
// also lets a caller look at a waiting posted message without taking it.

#include "platform/wintypes/WinMessages.h"

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// Queues the message for the window. Safe from any thread. FALSE when the handle names no
// window; the message is dropped silently if the window is gone when its turn comes.
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Runs the message through the window's WindowProc and returns its result; 0 for a handle
// that names no window. From another thread the call waits for the user-interface thread.
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The first waiting posted message for hWnd (any window when null) whose number lies in
// [filterMin, filterMax] (both 0: any), taken out of the queue with PM_REMOVE.
BOOL PeekMessage(MSG* msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// Delivers a message taken with PeekMessage to its window; 0 when the window is gone.
LRESULT DispatchMessage(const MSG* msg);

// Handles everything that waits in the thread's queue now (input, timers, posted messages)
// and returns. FALSE once the program has been asked to quit.
BOOL AfxPumpMessage();
// Asks the program to end with that code: the message loop stops and AfxPumpMessage answers
// FALSE until the quit is taken with AfxTakeQuitRequest.
void PostQuitMessage(int exitCode);
// TRUE and the exit code when a quit was asked for; the request is cleared.
BOOL AfxTakeQuitRequest(int* exitCode);
