#pragma once

// What the program asks of the desktop: a window's picture on the clipboard, opening a
// document, web address or mail address with the desktop's handler, and starting another
// program.

#include "platform/wintypes/WinTypes.h"

#include <QString>
#include <QStringList>

class CWnd;

// Paints the window now and puts its picture (the whole window with its children) on the
// clipboard as a bitmap. FALSE when the window does not exist or cannot be captured.
BOOL AfxCopyWindowToClipboard(CWnd* wnd);

// Opens a file path (either slash), a URL or a mailto: address with the desktop's handler.
// FALSE when a local file does not exist or no handler could be started.
BOOL AfxShellOpen(const QString& target);

// Starts the program of a command line ("program arg \"quoted arg\"") without waiting for it.
// Returns a value above 31 on success and ERROR_FILE_NOT_FOUND (2) when it could not start.
UINT WinExec(const QString& commandLine, UINT nCmdShow);
// The words of a command line as WinExec reads them: blanks separate words outside quotes, a
// quoted part (even an empty one, "") belongs to its word; quotes themselves are never part of
// a word.
QStringList AfxSplitCommandLine(const QString& commandLine);
