#include "platform/framework/DC.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/ListCtrl.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/ToolTipCtrl.h"
#include "platform/framework/TreeCtrl.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <memory>

#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

namespace {

constexpr int kList = 1500;
constexpr int kTree = 1501;

DialogTemplate ListsTemplate() {
    DialogTemplate t;
    t.id = 9401;
    t.cx = 300;
    t.cy = 200;
    t.items = {
        {DlgControl::ListView, kList, QString(), 5, 5, 290, 100,
         WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED},
        {DlgControl::TreeView, kTree, QString(), 5, 110, 290, 80, WS_CHILD | WS_VISIBLE},
    };
    return t;
}

// A report list whose rows are swatches of the colour in their item data, and whose column 1
// keeps its width.
class CSwatchList : public CListCtrl {
    DECLARE_MESSAGE_MAP()

public:
    QStringList m_log;

    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        CBrush brush(static_cast<COLORREF>(dis->itemData));
        dis->pDC->FillRect(dis->rcItem, &brush);
        m_log << QStringLiteral("draw %1").arg(dis->itemID);
    }

protected:
    void OnHeaderTrack(NMHDR* hdr, LRESULT* result) {
        const auto* nm = reinterpret_cast<NMHEADER*>(hdr);
        m_log << QStringLiteral("header %1 %2").arg(static_cast<int>(hdr->code)).arg(nm->iItem);
        *result = nm->iItem == 1 ? 1 : 0;
    }
};

BEGIN_MESSAGE_MAP(CSwatchList, CListCtrl)
ON_NOTIFY(HDN_BEGINTRACK, 0, OnHeaderTrack)
ON_NOTIFY(HDN_DIVIDERDBLCLICK, 0, OnHeaderTrack)
END_MESSAGE_MAP()

class CListsDlg : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CListsDlg(const DialogTemplate* t) : CDialog(t) {}
    QStringList m_log;

protected:
    void OnClick(NMHDR* hdr, LRESULT*) {
        const auto* nm = reinterpret_cast<NMITEMACTIVATE*>(hdr);
        m_log << QStringLiteral("click %1 %2").arg(nm->iItem).arg(nm->iSubItem);
    }
    void OnItemChanged(NMHDR* hdr, LRESULT*) {
        const auto* nm = reinterpret_cast<NMLISTVIEW*>(hdr);
        m_log << QStringLiteral("changed %1 %2 %3")
                     .arg(nm->iItem)
                     .arg(nm->uOldState)
                     .arg(nm->uNewState);
    }
    void OnTreeSel(NMHDR* hdr, LRESULT*) {
        const auto* nm = reinterpret_cast<NMTREEVIEW*>(hdr);
        m_log << QStringLiteral("tree %1").arg(nm->itemNew.hItem != nullptr);
    }
};

BEGIN_MESSAGE_MAP(CListsDlg, CDialog)
ON_NOTIFY(NM_CLICK, kList, OnClick)
ON_NOTIFY(LVN_ITEMCHANGED, kList, OnItemChanged)
ON_NOTIFY(TVN_SELCHANGED, kTree, OnTreeSel)
END_MESSAGE_MAP()

class ListCtrlTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(m_dlg.CreateIndirect(&m_template));
        m_dlg.ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_list.SubclassDlgItem(kList, &m_dlg));
        ASSERT_TRUE(m_tree.SubclassDlgItem(kTree, &m_dlg));
    }
    void TearDown() override {
        m_dlg.DestroyWindow();
        IsolatedTest::TearDown();
    }

    DialogTemplate m_template = ListsTemplate();
    CListsDlg m_dlg{&m_template};
    CSwatchList m_list;
    CTreeCtrl m_tree;
};

TEST_F(ListCtrlTest, ColumnsAndCellsKeepTheirPlaces) {
    EXPECT_EQ(m_list.InsertColumn(0, QStringLiteral("Name"), LVCFMT_LEFT, 80), 0);
    EXPECT_EQ(m_list.InsertColumn(5, QStringLiteral("Size"), LVCFMT_RIGHT, 50), 1);
    EXPECT_EQ(m_list.InsertItem(0, QStringLiteral("a.avi")), 0);
    EXPECT_EQ(m_list.InsertItem(0, QStringLiteral("b.avi")), 0);
    EXPECT_TRUE(m_list.SetItemText(1, 1, QStringLiteral("12")));
    EXPECT_FALSE(m_list.SetItemText(1, 2, QStringLiteral("x")));
    EXPECT_FALSE(m_list.SetItemText(2, 0, QStringLiteral("x")));
    // A column put in the middle moves the cells on its right.
    EXPECT_EQ(m_list.InsertColumn(1, QStringLiteral("Type"), LVCFMT_LEFT, 40), 1);
    EXPECT_EQ(m_list.GetColumnCount(), 3);
    EXPECT_EQ(m_list.GetItemText(1, 0), QStringLiteral("a.avi"));
    EXPECT_EQ(m_list.GetItemText(1, 1), QString());
    EXPECT_EQ(m_list.GetItemText(1, 2), QStringLiteral("12"));
    EXPECT_EQ(m_list.GetColumnWidth(2), 50);
    EXPECT_TRUE(m_list.DeleteColumn(1));
    EXPECT_EQ(m_list.GetItemText(1, 1), QStringLiteral("12"));
    EXPECT_TRUE(m_list.SetItemData(1, 77));
    EXPECT_EQ(m_list.GetItemData(1), 77u);
    EXPECT_TRUE(m_list.DeleteItem(0));
    EXPECT_EQ(m_list.GetItemCount(), 1);
    EXPECT_EQ(m_list.GetItemData(0), 77u);
}

TEST_F(ListCtrlTest, SelectionAndClicksReachTheParent) {
    m_list.InsertColumn(0, QStringLiteral("Name"), LVCFMT_LEFT, 100);
    for (int i = 0; i < 3; ++i)
        m_list.InsertItem(i, QStringLiteral("row %1").arg(i));
    EXPECT_TRUE(m_list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(m_list.GetNextItem(-1, LVNI_SELECTED), 2);
    EXPECT_EQ(m_list.GetNextItem(2, LVNI_SELECTED), -1);
    EXPECT_EQ(m_list.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(m_list.GetSelectedCount(), 1u);
    CRect row;
    ASSERT_TRUE(m_list.GetItemRect(0, &row));
    auto* view = dynamic_cast<QTreeWidget*>(m_list.GetQWidget());
    const QPoint at = view->viewport()->mapFrom(view, QPoint(row.left + 5, row.CenterPoint().y));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(m_dlg.m_log,
              (QStringList{"changed 2 0 2", "changed 0 0 2", "changed 2 2 0", "click 0 0"}));
}

TEST_F(ListCtrlTest, OwnerDrawnRowsAreDrawnByTheList) {
    m_list.InsertColumn(0, QStringLiteral("Colour"), LVCFMT_LEFT, 100);
    m_list.InsertItem(0, QStringLiteral("red"));
    m_list.SetItemData(0, RGB(255, 0, 0));
    auto* view = dynamic_cast<QTreeWidget*>(m_list.GetQWidget());
    const QImage shot = view->viewport()->grab().toImage();
    CRect row;
    ASSERT_TRUE(m_list.GetItemRect(0, &row));
    const QPoint inside =
        view->viewport()->mapFrom(view, QPoint(row.left + 3, row.CenterPoint().y));
    EXPECT_TRUE(m_list.m_log.contains(QStringLiteral("draw 0")));
    EXPECT_EQ(shot.pixelColor(inside), QColor(255, 0, 0));
}

// A column the list refuses keeps its width when its divider is double-clicked; another one
// fits its contents.
TEST_F(ListCtrlTest, HeaderDividerNotificationsCanBeRefused) {
    m_list.InsertColumn(0, QStringLiteral("A"), LVCFMT_LEFT, 40);
    m_list.InsertColumn(1, QStringLiteral("B"), LVCFMT_LEFT, 40);
    m_list.InsertItem(0, QStringLiteral("a rather long first cell"));
    m_list.SetItemText(0, 1, QStringLiteral("a rather long second cell"));
    auto* view = dynamic_cast<QTreeWidget*>(m_list.GetQWidget());
    QHeaderView* header = view->header();
    auto divider = [&](int column) {
        return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column),
                      header->height() / 2);
    };
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, divider(1));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, divider(1));
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, divider(1));
    EXPECT_EQ(m_list.GetColumnWidth(1), 40);
    QTest::mouseDClick(header->viewport(), Qt::LeftButton, {}, divider(0));
    EXPECT_GT(m_list.GetColumnWidth(0), 40);
    const int press = static_cast<int>(HDN_BEGINTRACK);
    const int dbl = static_cast<int>(HDN_DIVIDERDBLCLICK);
    EXPECT_TRUE(m_list.m_log.contains(QStringLiteral("header %1 1").arg(press)));
    EXPECT_TRUE(m_list.m_log.contains(QStringLiteral("header %1 1").arg(dbl)));
    EXPECT_TRUE(m_list.m_log.contains(QStringLiteral("header %1 0").arg(dbl)));
}

TEST_F(ListCtrlTest, TreeItemsNestAndSelectionIsReported) {
    const HTREEITEM root = m_tree.InsertItem(QStringLiteral("Group"));
    const HTREEITEM second = m_tree.InsertItem(QStringLiteral("second"), root);
    const HTREEITEM first = m_tree.InsertItem(QStringLiteral("first"), root, TVI_FIRST);
    const HTREEITEM middle = m_tree.InsertItem(QStringLiteral("middle"), root, first);
    EXPECT_EQ(m_tree.InsertItem(QStringLiteral("orphan"), root, root), nullptr);
    EXPECT_EQ(m_tree.GetCount(), 4u);
    EXPECT_EQ(m_tree.GetRootItem(), root);
    EXPECT_EQ(m_tree.GetChildItem(root), first);
    EXPECT_EQ(m_tree.GetNextSiblingItem(first), middle);
    EXPECT_EQ(m_tree.GetNextSiblingItem(middle), second);
    EXPECT_EQ(m_tree.GetNextSiblingItem(second), nullptr);
    EXPECT_EQ(m_tree.GetParentItem(middle), root);
    EXPECT_TRUE(m_tree.SetItemData(middle, 5));
    EXPECT_EQ(m_tree.GetItemData(middle), 5u);
    EXPECT_TRUE(m_tree.Expand(root, TVE_EXPAND));
    EXPECT_TRUE(m_tree.SelectItem(middle));
    EXPECT_EQ(m_tree.GetSelectedItem(), middle);
    EXPECT_EQ(m_dlg.m_log, QStringList{"tree 1"});
    EXPECT_TRUE(m_tree.DeleteItem(root));
    EXPECT_EQ(m_tree.GetCount(), 0u);
    EXPECT_FALSE(m_tree.SetItemText(middle, QStringLiteral("gone")));
}

TEST_F(ListCtrlTest, ToolTipsFollowActivation) {
    CToolTipCtrl tips;
    EXPECT_FALSE(tips.Create(nullptr));
    ASSERT_TRUE(tips.Create(&m_dlg));
    EXPECT_NE(tips.GetSafeHwnd(), nullptr);
    ASSERT_TRUE(tips.AddTool(&m_list, QStringLiteral("Recordings")));
    EXPECT_EQ(m_list.GetQWidget()->toolTip(), QStringLiteral("Recordings"));
    tips.Activate(FALSE);
    EXPECT_TRUE(m_list.GetQWidget()->toolTip().isEmpty());
    tips.UpdateTipText(QStringLiteral("Files"), &m_list);
    tips.Activate(TRUE);
    EXPECT_EQ(m_list.GetQWidget()->toolTip(), QStringLiteral("Files"));
    tips.SetMaxTipWidth(400);
    EXPECT_TRUE(m_list.GetQWidget()->toolTip().contains(QStringLiteral("400px")));
    tips.DelTool(&m_list);
    EXPECT_EQ(tips.GetToolCount(), 0);
    EXPECT_TRUE(m_list.GetQWidget()->toolTip().isEmpty());
}

TEST_F(ListCtrlTest, AToolMayGoAfterItsTips) {
    QWidget* tool = new QWidget(m_dlg.GetQWidget());
    CWnd wrapper;
    ASSERT_TRUE(wrapper.Attach(tool));
    {
        auto tips = std::make_unique<CToolTipCtrl>();
        ASSERT_TRUE(tips->Create(&m_dlg));
        ASSERT_TRUE(tips->AddTool(&wrapper, QStringLiteral("Gauge")));
        // The tips' own window stays until the dialog's goes, as a page's does.
        tips->GetQWidget()->setParent(nullptr);
        tips->GetQWidget()->setParent(m_dlg.GetQWidget());
    }
    wrapper.Detach();
    delete tool;  // sanitizers catch a tip list that is gone
}

}  // namespace
