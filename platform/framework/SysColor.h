#pragma once

// System colours (COLOR_* indices) taken from the application's palette, with the overrides
// a program may set for itself. UI thread only.

#include "platform/wintypes/ColorRef.h"
#include "platform/wintypes/WinTypes.h"

// The colour of an index; 0 (black) for an unknown index.
COLORREF GetSysColor(int index);

// Overrides count colours for this process until they are set again; an override equal to
// the palette's colour is kept as well. FALSE (and nothing changed) for a null list or an
// unknown index.
BOOL SetSysColors(int count, const int* indices, const COLORREF* colors);

// Drops every override (tests, and a change of the desktop's colours).
void ResetSysColors();
