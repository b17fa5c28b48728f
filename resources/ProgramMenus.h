#pragma once

// The program's menus, accelerator tables, toolbars and command texts: the menu bar of the
// main window without a document (128), of a project (154), of a play group (152) and of a
// video (145), the "View" pop-up of the pan-zoom views (143), the "Annotate" pop-up of the
// video's context menu (147), the main window's toolbars and
// the freedesktop icon name and tip of every command a toolbar shows.

#include "platform/framework/ResourceChain.h"

#include <map>
#include <vector>

std::vector<MenuTemplate> ProgramMenus();
std::vector<AcceleratorTable> ProgramAccelerators();
// The eight toolbars of the main window (0xE820 onwards, in member order).
std::vector<ToolBarTemplate> MainToolBars();
// Status prompts and tips ("prompt\ntip") by command id.
std::map<UINT, QString> CommandStrings();
// Icon names by command id; the names starting "reelmark-" are drawn by ProgramIcons.
std::map<UINT, QString> CommandIconNames();
