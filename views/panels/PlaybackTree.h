#pragma once

// CPlaybackTree: the tree of a play group's playbacks on the control-panel pages, grouped by
// source file with a few facts under each playback, and the window actions on a playback that
// the user reaches from it (double click brings the playback forward; a right click offers
// Minimize, Maximize, Restore and Close). It takes over the page's tree item and tells the
// page of right clicks and double clicks with NM_RCLICK and NM_DBLCLK, as a tree control does.
// Items of playbacks carry their CPlaybackView; the pages never own the views and check a
// remembered view again before acting on it.

#include "platform/framework/ImageList.h"
#include "platform/framework/TreeCtrl.h"
#include "platform/wintypes/WinError.h"

#include <QPoint>

#include <vector>

class CPlaybackView;
class IPlaybackSourceList;
class QTreeWidgetItem;

inline constexpr int kPlaybackTreeId = 2018;
// Images of the tree's image list.
inline constexpr int kTreeImageInfo = 0;
inline constexpr int kTreeImageData = 1;
inline constexpr int kTreeImageSource = 2;
inline constexpr int kTreeImageVideo = 3;
// The tree's images: one bitmap of 16-pixel cells, magenta transparent.
inline constexpr UINT kPlaybackTreeBitmap = 185;
// The window menu of a playback: its range of ids and the four that act.
inline constexpr UINT kWindowMenuFirst = 7424;
inline constexpr UINT kWindowMenuLast = 7524;
inline constexpr UINT kWindowMenuMinimize = 7425;
inline constexpr UINT kWindowMenuMaximize = 7426;
inline constexpr UINT kWindowMenuRestore = 7427;
inline constexpr UINT kWindowMenuClose = 7428;

class CPlaybackTree : public CTreeCtrl {
    DECLARE_DYNAMIC(CPlaybackTree)

public:
    CPlaybackTree();
    ~CPlaybackTree() override;

    // Loads the image list and shows the "No Playbacks" root. Needs the window.
    void Initialize();

    // Empties the tree and fills it from the list: the "Playback Sources" root, one item per
    // source file in the order the files first appear, and under it each playback of that
    // file with its facts. *listed becomes the number of playbacks placed. E_FAIL, with
    // nothing changed, while a rebuild runs; E_FAIL, with the tree left empty, when the list
    // gives a null view.
    HRESULT Rebuild(IPlaybackSourceList* list, int* listed);
    // A page's check of its list: true when the tree must be rebuilt (the count differs from
    // the one seen, the last rebuild listed fewer than seen, or the list's change flag is
    // set). Clears the change flag and records the count in *seenCount. False without a list.
    static bool TakeListChange(IPlaybackSourceList* list, int* seenCount, int listedCount);

    // The page's NM_RCLICK: the window menu of the playback under the click, tracked with
    // owner as the menu's owner (its commands go to owner).
    void OnRightClick(CWnd* owner, IPlaybackSourceList* list);
    // The page's NM_DBLCLK: 1 when the click hit a playback, whose frame is then brought
    // forward; 0 otherwise.
    LRESULT OnDoubleClick(IPlaybackSourceList* list);
    // Window menu command of the remembered playback (kWindowMenuFirst..kWindowMenuLast).
    void OnWindowMenu(UINT nID, IPlaybackSourceList* list);

    // The image an item shows (index into the image list), -1 for no item.
    int GetItemImage(HTREEITEM hItem) const;
    BOOL SetItemImage(HTREEITEM hItem, int image);
    // The item whose label lies under the point (client co-ordinates of the tree), or null.
    HTREEITEM HitTestLabel(CPoint point) const;
    // The depth below the top item (0 for the root itself).
    int GetItemLevel(HTREEITEM hItem) const;
    // Where the mouse was, in screen co-ordinates, when the last click was reported.
    CPoint GetClickPos() const { return m_clickPos; }
    // The playback and item that the last right click hit.
    CPlaybackView* GetMenuTargetView() const { return m_menuView; }
    HTREEITEM GetMenuTargetItem() const { return m_menuItem; }

protected:
    void PreSubclassWindow() override;

private:
    class ClickFilter;

    QTreeWidgetItem* ItemOf(HTREEITEM hItem) const;
    // The playback view held by an item's data while the list still holds it, or null.
    CPlaybackView* ViewOf(HTREEITEM hItem, IPlaybackSourceList* list) const;
    // The item under the last click's position when it is a playback's or a source file's
    // item (not the root, not more than three levels down), else null.
    HTREEITEM HitClickedItem() const;
    void SendClick(UINT code, QPoint globalPos);

    CImageList m_images;
    int m_rebuilding = 0;
    CPlaybackView* m_menuView = nullptr;
    HTREEITEM m_menuItem = nullptr;
    CPoint m_clickPos;
    ClickFilter* m_filter = nullptr;
};
