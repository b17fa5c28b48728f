#include "views/panels/TreeLabels.h"

#include <cstdlib>

namespace {

// The sibling before item under parent, or nullptr for the first child.
HTREEITEM PreviousSibling(CTreeCtrl* tree, HTREEITEM parent, HTREEITEM item) {
    HTREEITEM previous = nullptr;
    for (HTREEITEM child = tree->GetChildItem(parent); child && child != item;
         child = tree->GetNextSiblingItem(child))
        previous = child;
    return previous;
}

}  // namespace

HTREEITEM SyncTreeLabels(CTreeCtrl* tree, const std::vector<QString>& labels, HTREEITEM root,
                         const std::vector<DWORD>* data, const std::vector<DWORD>* images) {
    if (!tree || !root)
        return nullptr;
    HTREEITEM current = root;
    int previousLevel = 0;
    for (size_t i = 0; i < labels.size(); ++i) {
        const QString& label = labels[i];
        const qsizetype colon = label.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        const int level = std::atoi(label.left(colon).toLatin1().constData());
        const QString text = label.mid(colon + 1);
        const DWORD value = data && i < data->size() ? (*data)[i] : static_cast<DWORD>(-1);
        const int image = images && i < images->size() ? static_cast<int>((*images)[i]) : 0;
        const auto showImage = [&](HTREEITEM item) {
            if (images)
                tree->SetItemImage(item, image, image);
        };

        if (level == 0) {
            if (tree->GetItemText(root) != text) {
                tree->SetItemText(root, text);
                showImage(root);
                tree->SetItemData(root, value);
            }
            current = root;
            previousLevel = 0;
            continue;
        }

        HTREEITEM parent = nullptr;
        HTREEITEM candidate = nullptr;
        if (level == previousLevel) {
            parent = tree->GetParentItem(current);
            candidate = tree->GetNextSiblingItem(current);
        } else if (level == previousLevel + 1) {
            parent = current;
            candidate = tree->GetChildItem(current);
        } else if (level > 0 && level < previousLevel) {
            for (int k = previousLevel - level; k > 0 && current != root; --k) {
                while (HTREEITEM stale = tree->GetNextSiblingItem(current))
                    tree->DeleteItem(stale);
                current = tree->GetParentItem(current);
            }
            parent = tree->GetParentItem(current);
            candidate = tree->GetNextSiblingItem(current);
        } else {
            continue;  // deeper by more than one level: no parent to hang it on
        }
        if (!parent)
            continue;

        if (candidate && tree->GetItemText(candidate) == text) {
            current = candidate;
        } else {
            HTREEITEM after = TVI_LAST;
            if (candidate) {
                HTREEITEM previous = PreviousSibling(tree, parent, candidate);
                after = previous ? previous : TVI_FIRST;
            }
            HTREEITEM item = tree->InsertItem(text, parent, after);
            if (!item)
                continue;
            showImage(item);
            tree->SetItemData(item, value);
            current = item;
        }
        previousLevel = level;
    }
    return current;
}
