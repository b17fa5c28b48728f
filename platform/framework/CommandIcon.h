#pragma once

// Command icons and tips: what a toolbar button or menu item of a command id shows. The icon is
// the command's freedesktop icon name (from the resource chain) in the desktop's icon theme,
// or, for a name no theme carries, the image the program's painter draws for it. The tip is the
// part after the line break of the command's string-table entry ("prompt\ntip"), else the
// whole entry.

#include "platform/wintypes/WinTypes.h"

#include <QIcon>
#include <QString>

#include <functional>

// Draws the icon of a name that the theme does not carry; a null icon when it has none.
using IconPainter = std::function<QIcon(const QString& name)>;
void AfxSetIconPainter(IconPainter painter);

// The icon of the command, or a null icon when it has none.
QIcon AfxCommandIcon(UINT nID);
// The command's tooltip, or empty text.
QString AfxCommandTip(UINT nID);
