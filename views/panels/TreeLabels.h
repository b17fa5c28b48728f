#pragma once

// SyncTreeLabels: brings a tree in line with an ordered list of labels "level:text" (level 0
// is the root itself, 1 its children, and so on) while keeping the items that already match,
// so a tree rebuilt on every refresh keeps its selection and expansion. Returns the last item
// placed. data (optional) gives each label's item data, -1 past its end; images (optional) give
// each new or renamed item its image (normal and selected), 0 past their end.

#include "platform/framework/TreeCtrl.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

#include <vector>

HTREEITEM SyncTreeLabels(CTreeCtrl* tree, const std::vector<QString>& labels, HTREEITEM root,
                         const std::vector<DWORD>* data = nullptr,
                         const std::vector<DWORD>* images = nullptr);
