#include "views/panels/PlaybackTree.h"

#include "frames/FileNames.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/Menu.h"
#include "platform/wintypes/CLocale.h"
#include "views/PlaybackView.h"
#include "views/panels/IPlaybackSourceList.h"
#include "views/panels/TreeLabels.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QTreeWidget>

#include <algorithm>

IMPLEMENT_DYNAMIC(CPlaybackTree, CTreeCtrl)

namespace {

constexpr int kImageWidth = 16;
// Items more than this far below the root are not playbacks' items.
constexpr int kDeepestLevel = 3;

QTreeWidget* TreeWidget(const CWnd* wnd) {
    return dynamic_cast<QTreeWidget*>(wnd->GetQWidget());
}

// A playback item's data: the address of its view.
uintptr_t ItemData(const CPlaybackView* view) {
    return reinterpret_cast<uintptr_t>(static_cast<const CObject*>(view));
}

// One row of the tree before it is placed: "level:text", its image and its item data.
struct Row {
    QString label;
    int image;
    uintptr_t data;
};

void AddFacts(std::vector<Row>& rows, CPlaybackView* view, int* listed) {
    const uintptr_t data = ItemData(view);
    const QString title = view->GetDocumentTitle();
    auto info = [&rows](const QString& text) {
        rows.push_back({QStringLiteral("3:") + text, kTreeImageInfo, 0});
    };
    switch (view->GetSourceType()) {
        case kPlaybackSourceVideo: {
            rows.push_back({QStringLiteral("2:") + title, kTreeImageVideo, data});
            const double rate = view->GetFrameRate();
            info(rate == 1.0 ? QStringLiteral("Rate: N/A") : QFormatC("Rate: %g fps", rate));
            const int shutter = view->GetShutter();
            info(shutter <= 0 ? QStringLiteral("Shutter: N/A")
                              : QFormatC("Shutter: %g usec", shutter * 0.001));
            info(QFormatC("Length: %d frames", view->GetFrameCount()));
            CPoint size;
            view->GetImageSize(&size);
            info(QFormatC("Image Size: %d x %d", size.x, size.y));
            info(QFormatC("Bit Depth: %d", view->GetBitDepth()));
            ++*listed;
            break;
        }
        case kPlaybackSourceData:
            rows.push_back({QStringLiteral("2:") + title, kTreeImageData, data});
            info(QFormatC("Rate: %g Hz", view->GetFrameRate()));
            info(QFormatC("Channels: %d", view->GetChannelCount()));
            info(QFormatC("Length: %d samples", view->GetFrameCount()));
            ++*listed;
            break;
        default:
            break;
    }
}

// Whether view is one of the list's views now: a remembered pointer is used only then, as the
// playback it named may have closed since.
bool IsListed(IPlaybackSourceList* list, const CPlaybackView* view) {
    if (!list || !view)
        return false;
    const int count = list->GetCount();
    for (int i = 0; i < count; ++i) {
        if (list->GetView(i) == view)
            return true;
    }
    return false;
}

// The frame of a playback that has a window, or null.
CFrameWnd* FrameOf(CPlaybackView* view) {
    return view && view->GetSafeHwnd() ? view->GetParentFrame() : nullptr;
}

}  // namespace

// Reports right presses and left double clicks on the tree's items area to the tree.
class CPlaybackTree::ClickFilter : public QObject {
public:
    explicit ClickFilter(CPlaybackTree* tree) : m_tree(tree) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (type == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton)
                m_tree->SendClick(NM_RCLICK, mouse->globalPosition().toPoint());
            else if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton)
                m_tree->SendClick(NM_DBLCLK, mouse->globalPosition().toPoint());
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CPlaybackTree* m_tree;
};

CPlaybackTree::CPlaybackTree() = default;

CPlaybackTree::~CPlaybackTree() {
    delete m_filter;
}

void CPlaybackTree::PreSubclassWindow() {
    CTreeCtrl::PreSubclassWindow();
    QTreeWidget* tree = TreeWidget(this);
    if (!tree || m_filter)
        return;
    m_filter = new ClickFilter(this);
    tree->viewport()->installEventFilter(m_filter);
}

void CPlaybackTree::Initialize() {
    m_images.Create(kPlaybackTreeBitmap, kImageWidth, 1, RGB(255, 0, 255));
    SetImageList(&m_images, TVSIL_NORMAL);
    DeleteAllItems();
    HTREEITEM root = InsertItem(QStringLiteral("No Playbacks"));
    SetItemImage(root, kTreeImageSource);
    m_rebuilding = 0;
}

QTreeWidgetItem* CPlaybackTree::ItemOf(HTREEITEM hItem) const {
    // A tree control names an item by the address of its Qt item.
    QTreeWidget* tree = TreeWidget(this);
    if (!tree || !hItem)
        return nullptr;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if (reinterpret_cast<HTREEITEM>(*it) == hItem)
            return *it;
    }
    return nullptr;
}

int CPlaybackTree::GetItemImage(HTREEITEM hItem) const {
    int image = -1;
    int selected = -1;
    return CTreeCtrl::GetItemImage(hItem, image, selected) ? image : -1;
}

BOOL CPlaybackTree::SetItemImage(HTREEITEM hItem, int image) {
    return CTreeCtrl::SetItemImage(hItem, image, image);
}

int CPlaybackTree::GetItemLevel(HTREEITEM hItem) const {
    QTreeWidgetItem* item = ItemOf(hItem);
    int level = 0;
    for (; item && item->parent(); item = item->parent())
        ++level;
    return level;
}

HTREEITEM CPlaybackTree::HitTestLabel(CPoint point) const {
    QTreeWidget* tree = TreeWidget(this);
    if (!tree)
        return nullptr;
    const QPoint at = tree->viewport()->mapFrom(tree, QPoint(point.x, point.y));
    QTreeWidgetItem* item = tree->itemAt(at);
    if (!item)
        return nullptr;
    // The label is the text part of the item's cell, after its image.
    QRect label = tree->visualItemRect(item);
    if (!item->icon(0).isNull())
        label.setLeft(label.left() + tree->iconSize().width() + 4);
    label.setWidth(tree->fontMetrics().horizontalAdvance(item->text(0)) + 8);
    return label.contains(at) ? reinterpret_cast<HTREEITEM>(item) : nullptr;
}

void CPlaybackTree::SendClick(UINT code, QPoint globalPos) {
    m_clickPos = CPoint(globalPos.x(), globalPos.y());
    NMHDR hdr;
    SendControlNotify(GetQWidget(), hdr, code);
}

bool CPlaybackTree::TakeListChange(IPlaybackSourceList* list, int* seenCount, int listedCount) {
    if (!list)
        return false;
    const int count = list->GetCount();
    const bool rebuild = count != *seenCount || listedCount != *seenCount || list->IsChanged();
    *seenCount = count;
    if (rebuild)
        list->SetChanged(0);
    return rebuild;
}

HRESULT CPlaybackTree::Rebuild(IPlaybackSourceList* list, int* listed) {
    if (m_rebuilding)
        return E_FAIL;
    m_rebuilding = 1;
    DeleteAllItems();
    *listed = 0;
    if (!list) {
        m_rebuilding = 0;
        return 0;
    }

    // Playbacks grouped by source name, groups in the order their names first appear.
    struct Group {
        QString name;
        std::vector<CPlaybackView*> views;
    };
    std::vector<Group> groups;
    const int count = list->GetCount();
    for (int i = 0; i < count; ++i) {
        CPlaybackView* view = list->GetView(i);
        if (!view) {
            m_rebuilding = 0;
            return E_FAIL;
        }
        const QString name = view->GetSourceName();
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&name](const Group& g) { return g.name == name; });
        if (group == groups.end())
            group = groups.insert(groups.end(), Group{name, {}});
        group->views.push_back(view);
    }

    std::vector<Row> rows{{QStringLiteral("0:Playback Sources"), kTreeImageSource, 0}};
    for (const Group& group : groups) {
        rows.push_back(
            {QStringLiteral("1:") + GetFileNameFromPath(group.name), kTreeImageSource, 0});
        for (CPlaybackView* view : group.views)
            AddFacts(rows, view, listed);
    }

    HTREEITEM root = InsertItem(QStringLiteral("No Playbacks"));
    SetItemImage(root, kTreeImageSource);
    if (count > 0) {
        std::vector<QString> labels;
        for (const Row& row : rows)
            labels.push_back(row.label);
        SyncTreeLabels(this, labels, root);
        // The tree was empty, so the items stand in the rows' order: walking it in that
        // order gives each its image and data (item data holds a whole pointer here).
        QTreeWidget* tree = TreeWidget(this);
        size_t row = 0;
        for (QTreeWidgetItemIterator it(tree); *it && row < rows.size(); ++it, ++row) {
            const auto item = reinterpret_cast<HTREEITEM>(*it);
            SetItemImage(item, rows[row].image);
            SetItemData(item, rows[row].data);
        }
        SetItemText(root, QStringLiteral("Playback Sources"));
    }
    Expand(root, TVE_EXPAND);
    for (HTREEITEM child = GetChildItem(root); child; child = GetNextSiblingItem(child))
        Expand(child, TVE_EXPAND);
    m_rebuilding = 0;
    return 0;
}

CPlaybackView* CPlaybackTree::ViewOf(HTREEITEM hItem, IPlaybackSourceList* list) const {
    const uintptr_t data = GetItemData(hItem);
    if (!data || !list)
        return nullptr;
    // The item's view is used only while the list still holds it: the playback may have
    // closed since the tree was built.
    const int count = list->GetCount();
    for (int i = 0; i < count; ++i) {
        CPlaybackView* view = list->GetView(i);
        if (view && ItemData(view) == data)
            return view;
    }
    return nullptr;
}

HTREEITEM CPlaybackTree::HitClickedItem() const {
    CPoint at = m_clickPos;
    ScreenToClient(&at);
    HTREEITEM hit = HitTestLabel(at);
    if (!hit || !GetParentItem(hit) || GetItemLevel(hit) > kDeepestLevel)
        return nullptr;
    return hit;
}

void CPlaybackTree::OnRightClick(CWnd* owner, IPlaybackSourceList* list) {
    HTREEITEM hit = HitClickedItem();
    if (!hit)
        return;
    CMenu menu;
    menu.CreatePopupMenu();
    if (CPlaybackView* view = ViewOf(hit, list)) {
        if (FrameOf(view)) {
            menu.AppendMenu(MF_STRING, kWindowMenuMinimize, QStringLiteral("Minimize"));
            menu.AppendMenu(MF_STRING, kWindowMenuMaximize, QStringLiteral("Maximize"));
            menu.AppendMenu(MF_STRING, kWindowMenuRestore, QStringLiteral("Restore"));
            menu.AppendMenu(MF_STRING, kWindowMenuClose, QStringLiteral("Close"));
            m_menuView = view;
            m_menuItem = hit;
        }
    } else {
        m_menuView = nullptr;
        m_menuItem = hit;
    }
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, m_clickPos.x, m_clickPos.y, owner);
}

LRESULT CPlaybackTree::OnDoubleClick(IPlaybackSourceList* list) {
    HTREEITEM hit = HitClickedItem();
    CPlaybackView* view = hit ? ViewOf(hit, list) : nullptr;
    if (!view)
        return 0;
    if (CFrameWnd* frame = FrameOf(view))
        frame->ActivateFrame(SW_SHOWNORMAL);
    return 1;
}

void CPlaybackTree::OnWindowMenu(UINT nID, IPlaybackSourceList* list) {
    if (nID < kWindowMenuMinimize || nID > kWindowMenuClose)
        return;
    CFrameWnd* frame = IsListed(list, m_menuView) ? FrameOf(m_menuView) : nullptr;
    if (!frame)
        return;
    switch (nID) {
        case kWindowMenuMinimize:
            frame->ActivateFrame(SW_SHOWMINIMIZED);
            break;
        case kWindowMenuMaximize:
            frame->ActivateFrame(SW_SHOWMAXIMIZED);
            break;
        case kWindowMenuRestore:
            frame->ActivateFrame(SW_RESTORE);
            break;
        default:
            frame->PostMessage(WM_CLOSE);
            break;
    }
}
