#pragma once

// The tracking code's message boxes and the imaging library's error hook. Every box goes
// through the program's prompter.

#include "platform/wintypes/WinMessages.h"

#include <QString>

// Shows a message box with its own caption; returns the button pressed.
int TrackingMessageBox(const QString& text, const QString& caption, UINT type);

// Sends errors that OpenCV raises to ReportTrackingError. The tracking set installs it; until
// then an imaging error only makes the operation give up.
void InstallTrackingErrorHook();
// Asks the user whether to go on after imaging error status. Yes returns 0 and work goes on.
// No returns 1 and asks the running tracking run to end (TakeTrackingStopRequest): ending the
// program here would lose the user's unsaved work.
int ReportTrackingError(int status);
// True once after the user chose to end tracking at an error box.
bool TakeTrackingStopRequest();
