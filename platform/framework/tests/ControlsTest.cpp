#include "platform/framework/ComboBox.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/Edit.h"
#include "platform/framework/ImageList.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/ProgressCtrl.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/SliderCtrl.h"
#include "platform/framework/SpinButtonCtrl.h"
#include "platform/framework/TabCtrl.h"
#include "platform/framework/TreeCtrl.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QSlider>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>

namespace {

constexpr UINT kPanel = 9201;
constexpr UINT kFirstPage = 9202;
constexpr UINT kSecondPage = 9203;
constexpr int kValueEdit = 2256;
constexpr int kSpin = 2013;
constexpr int kPlainSpin = 2014;
constexpr int kTabs = 1004;
constexpr int kRate = 1311;
constexpr int kChoice = 1400;
constexpr int kList = 1401;
constexpr int kProgress = 1402;

DialogItemTemplate Item(DlgControl type, int id, int x, int y, int cx, int cy, DWORD style = 0) {
    return {type, id, QString(), x, y, cx, cy, WS_CHILD | WS_VISIBLE | style};
}

CResourceModule PanelModule() {
    CResourceModule module;
    module.name = QStringLiteral("control tests");
    DialogTemplate panel;
    panel.id = kPanel;
    panel.cx = 260;
    panel.cy = 200;
    panel.items = {
        Item(DlgControl::Edit, kValueEdit, 7, 7, 40, 14),
        Item(DlgControl::Spin, kSpin, 47, 7, 10, 14, UDS_AUTOBUDDY | UDS_SETBUDDYINT),
        Item(DlgControl::Spin, kPlainSpin, 70, 7, 10, 14),
        Item(DlgControl::Slider, kRate, 7, 25, 150, 15),
        Item(DlgControl::ComboBox, kChoice, 7, 45, 80, 60, CBS_DROPDOWNLIST),
        Item(DlgControl::ListBox, kList, 100, 45, 80, 40, LBS_NOTIFY),
        Item(DlgControl::Progress, kProgress, 7, 90, 150, 8),
        Item(DlgControl::Tab, kTabs, 7, 100, 240, 90),
    };
    module.dialogs.push_back(panel);
    for (const UINT id : {kFirstPage, kSecondPage}) {
        DialogTemplate page;
        page.id = id;
        page.style = WS_CHILD;
        page.cx = 200;
        page.cy = 60;
        page.items = {Item(DlgControl::Static, static_cast<int>(id), 5, 5, 100, 10)};
        module.dialogs.push_back(page);
    }
    return module;
}

// A panel that logs the notifications of its controls and switches its tab pages.
class CPanelDlg : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    CPanelDlg() : CDialog(kPanel) {}

    QStringList m_log;
    LRESULT m_deltaResult = 0;
    CDialog m_pages[2];
    CSpinButtonCtrl m_spin;
    CSpinButtonCtrl m_plainSpin;
    CTabCtrl m_tabs;
    CSliderCtrl m_rate;
    CComboBox m_choice;
    CListBox m_list;
    CEdit m_edit;

    QWidget* Control(int id) const { return GetDlgItem(id)->GetQWidget(); }

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_spin.SubclassDlgItem(kSpin, this);
        m_plainSpin.SubclassDlgItem(kPlainSpin, this);
        m_tabs.SubclassDlgItem(kTabs, this);
        m_rate.SubclassDlgItem(kRate, this);
        m_choice.SubclassDlgItem(kChoice, this);
        m_list.SubclassDlgItem(kList, this);
        m_edit.SubclassDlgItem(kValueEdit, this);
        m_tabs.InsertItem(0, QStringLiteral("First"));
        m_tabs.InsertItem(1, QStringLiteral("Second"));
        CRect area;
        m_tabs.GetWindowRect(&area);
        ScreenToClient(&area);
        m_tabs.AdjustRect(FALSE, &area);
        for (int i = 0; i < 2; ++i) {
            m_pages[i].Create(i == 0 ? kFirstPage : kSecondPage, this);
            m_pages[i].MoveWindow(area);
        }
        ShowPage(0);
        return TRUE;
    }

    void ShowPage(int index) {
        m_pages[index].ShowWindow(SW_SHOW);
        m_pages[1 - index].ShowWindow(SW_HIDE);
    }

    void OnDeltaPos(NMHDR* hdr, LRESULT* result) {
        const auto* ud = reinterpret_cast<NMUPDOWN*>(hdr);
        m_log << QStringLiteral("delta %1 %2 %3").arg(hdr->idFrom).arg(ud->iPos).arg(ud->iDelta);
        *result = m_deltaResult;
    }
    void OnTabChanged(NMHDR*, LRESULT* result) {
        m_log << QStringLiteral("tab %1").arg(m_tabs.GetCurSel());
        ShowPage(m_tabs.GetCurSel());
        *result = 0;
    }
    void OnReleased(NMHDR*, LRESULT*) {
        m_log << QStringLiteral("released %1").arg(m_rate.GetPos());
    }
    void OnHScroll(UINT code, UINT pos, CWnd* bar) {
        m_log << QStringLiteral("hscroll %1 %2 %3").arg(code).arg(pos).arg(bar->GetDlgCtrlID());
    }
    void OnChoice() { m_log << QStringLiteral("selchange %1").arg(m_choice.GetCurSel()); }
    void OnDropDown() { m_log << QStringLiteral("dropdown"); }
    void OnCloseUp() { m_log << QStringLiteral("closeup"); }
    void OnListDblClk() { m_log << QStringLiteral("dblclk %1").arg(m_list.GetCurSel()); }
    void OnValueChange() { m_log << QStringLiteral("change ") + m_edit.GetWindowText(); }
};

BEGIN_MESSAGE_MAP(CPanelDlg, CDialog)
ON_NOTIFY(UDN_DELTAPOS, kSpin, OnDeltaPos)
ON_NOTIFY(UDN_DELTAPOS, kPlainSpin, OnDeltaPos)
ON_NOTIFY(TCN_SELCHANGE, kTabs, OnTabChanged)
ON_NOTIFY(NM_RELEASEDCAPTURE, kRate, OnReleased)
ON_WM_HSCROLL()
ON_CBN_SELCHANGE(kChoice, OnChoice)
ON_CBN_DROPDOWN(kChoice, OnDropDown)
ON_CBN_CLOSEUP(kChoice, OnCloseUp)
ON_LBN_DBLCLK(kList, OnListDblClk)
ON_EN_CHANGE(kValueEdit, OnValueChange)
END_MESSAGE_MAP()

class ControlsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&m_module);
        ASSERT_TRUE(m_dlg.Create(kPanel));
        m_dlg.ShowWindow(SW_SHOW);
        m_dlg.m_log.clear();
    }
    void TearDown() override {
        m_dlg.DestroyWindow();
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }

    void ClickArrow(int id, bool up) {
        QWidget* spin = m_dlg.Control(id);
        QTest::mouseClick(spin, Qt::LeftButton, {},
                          QPoint(spin->width() / 2, up ? 1 : spin->height() - 2));
    }

    CResourceModule m_module = PanelModule();
    CPanelDlg m_dlg;
};

// The arrows propose a step towards the upper or lower end of the range, whichever way the
// range runs; the default range runs from 100 down to 0.
TEST_F(ControlsTest, SpinDeltaHasTheSystemSign) {
    struct Case {
        bool setRange;
        int lower;
        int upper;
        int start;
        bool up;
        int delta;
        int after;
    };
    const Case cases[] = {
        {false, 100, 0, 50, true, -1, 49}, {false, 100, 0, 50, false, 1, 51},
        {true, 1, 100, 50, true, 1, 51},   {true, 1, 100, 50, false, -1, 49},
        {true, 1, 100, 100, true, 1, 100}, {true, 1, 100, 1, false, -1, 1},
        {true, 100, 1, 100, true, -1, 99},
    };
    for (const Case& c : cases) {
        if (c.setRange)
            m_dlg.m_plainSpin.SetRange32(c.lower, c.upper);
        int lower = 0;
        int upper = 0;
        m_dlg.m_plainSpin.GetRange32(lower, upper);
        EXPECT_EQ(std::pair(lower, upper), std::pair(c.lower, c.upper));
        m_dlg.m_plainSpin.SetPos(c.start);
        m_dlg.m_log.clear();
        ClickArrow(kPlainSpin, c.up);
        EXPECT_EQ(
            m_dlg.m_log,
            QStringList{QStringLiteral("delta %1 %2 %3").arg(kPlainSpin).arg(c.start).arg(c.delta)})
            << c.start << " " << c.up;
        EXPECT_EQ(m_dlg.m_plainSpin.GetPos(), c.after) << c.start << " " << c.up;
    }
}

TEST_F(ControlsTest, RefusedDeltaKeepsThePositionAndBuddyShowsIt) {
    m_dlg.m_spin.SetRange(1, 10);
    m_dlg.m_spin.SetPos(4);
    EXPECT_EQ(m_dlg.m_edit.GetWindowText(), QStringLiteral("4"));
    EXPECT_EQ(m_dlg.m_spin.GetBuddy(), &m_dlg.m_edit);
    ClickArrow(kSpin, true);
    EXPECT_EQ(m_dlg.m_edit.GetWindowText(), QStringLiteral("5"));
    m_dlg.m_deltaResult = 1;
    ClickArrow(kSpin, true);
    EXPECT_EQ(m_dlg.m_spin.GetPos(), 5);
    // A number typed into the buddy is where the next step starts.
    m_dlg.m_deltaResult = 0;
    m_dlg.m_edit.SetWindowText(QStringLiteral("8"));
    ClickArrow(kSpin, false);
    EXPECT_EQ(m_dlg.m_spin.GetPos(), 7);
    EXPECT_TRUE(m_dlg.m_log.contains(QStringLiteral("delta %1 8 -1").arg(kSpin)));
}

TEST_F(ControlsTest, TabControlSwitchesChildPages) {
    EXPECT_TRUE(m_dlg.m_pages[0].IsWindowVisible());
    EXPECT_FALSE(m_dlg.m_pages[1].IsWindowVisible());
    auto* bar = dynamic_cast<QTabBar*>(m_dlg.Control(kTabs));
    ASSERT_NE(bar, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(m_dlg.m_log, QStringList{QStringLiteral("tab 1")});
    EXPECT_FALSE(m_dlg.m_pages[0].IsWindowVisible());
    EXPECT_TRUE(m_dlg.m_pages[1].IsWindowVisible());
    // The page sits below the tabs, inside the control's rectangle.
    CRect tabs;
    CRect page;
    m_dlg.m_tabs.GetWindowRect(&tabs);
    m_dlg.m_pages[1].GetWindowRect(&page);
    EXPECT_GT(page.top, tabs.top);
    EXPECT_EQ(page.bottom, tabs.bottom);
    // The program's own change sends nothing.
    EXPECT_EQ(m_dlg.m_tabs.SetCurSel(0), 1);
    EXPECT_EQ(m_dlg.m_log.size(), 1);
}

TEST_F(ControlsTest, TabsKeepTheirOwnTextAndValueThroughDeletions) {
    CTabCtrl& tabs = m_dlg.m_tabs;
    EXPECT_EQ(tabs.GetItemData(0), 0);
    ASSERT_TRUE(tabs.SetItemData(0, 11));
    ASSERT_TRUE(tabs.SetItemData(1, -22));
    EXPECT_EQ(tabs.InsertItem(2, QStringLiteral("Third")), 2);
    ASSERT_TRUE(tabs.SetItemData(2, 33));
    ASSERT_TRUE(tabs.SetItemText(2, QStringLiteral("Renamed")));
    ASSERT_TRUE(tabs.DeleteItem(1));
    EXPECT_EQ(tabs.GetItemData(0), 11);
    EXPECT_EQ(tabs.GetItemData(1), 33);
    EXPECT_EQ(tabs.GetItemText(1), "Renamed");
    // No such tab.
    EXPECT_FALSE(tabs.SetItemData(2, 1));
    EXPECT_FALSE(tabs.SetItemText(-1, QStringLiteral("x")));
    EXPECT_EQ(tabs.GetItemData(5), 0);
    EXPECT_EQ(m_dlg.m_log.size(), 0);
}

TEST_F(ControlsTest, SliderReportsMovesAndRelease) {
    m_dlg.m_rate.SetRange(0, 10);
    m_dlg.m_rate.SetPageSize(5);
    QWidget* slider = m_dlg.Control(kRate);
    const QPoint nearEnd(slider->width() - 2, slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, {}, nearEnd);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, nearEnd);
    ASSERT_FALSE(m_dlg.m_log.isEmpty());
    EXPECT_EQ(m_dlg.m_log.front(), QStringLiteral("hscroll %1 5 %2").arg(SB_PAGEDOWN).arg(kRate));
    EXPECT_EQ(m_dlg.m_log.back(), QStringLiteral("released %1").arg(m_dlg.m_rate.GetPos()));
}

TEST_F(ControlsTest, ComboAndListReportTheUsersChoiceOnly) {
    for (const char* text : {"one", "two", "three"}) {
        m_dlg.m_choice.AddString(QString::fromUtf8(text));
        m_dlg.m_list.AddString(QString::fromUtf8(text));
    }
    m_dlg.m_choice.SetItemData(2, 0xBEEF);
    EXPECT_EQ(m_dlg.m_choice.GetItemData(2), 0xBEEFu);
    EXPECT_EQ(m_dlg.m_choice.FindStringExact(-1, QStringLiteral("TWO")), 1);
    EXPECT_EQ(m_dlg.m_choice.SetCurSel(0), 0);
    EXPECT_EQ(m_dlg.m_list.SetCurSel(1), 1);
    EXPECT_TRUE(m_dlg.m_log.isEmpty());

    QTest::keyClick(m_dlg.Control(kChoice), Qt::Key_Down);
    m_dlg.m_choice.ShowDropDown(TRUE);
    EXPECT_TRUE(m_dlg.m_choice.GetDroppedState());
    m_dlg.m_choice.ShowDropDown(FALSE);
    auto* list = dynamic_cast<QListWidget*>(m_dlg.Control(kList));
    const QRect row = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    m_dlg.m_edit.SetWindowText(QStringLiteral("12"));
    EXPECT_EQ(m_dlg.m_log,
              (QStringList{"selchange 1", "dropdown", "closeup", "dblclk 2", "change 12"}));
}

TEST_F(ControlsTest, ADropDownComboShowsAnyTextItsListNeedNotHold) {
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 0, 80, 20), &m_dlg,
                             kChoice + 100));
    combo.AddString(QStringLiteral("Rising Edge"));
    combo.SetCurSel(-1);
    combo.SetWindowText(QStringLiteral("TTL Logic - Rising"));
    EXPECT_EQ(combo.GetWindowText(), QStringLiteral("TTL Logic - Rising"));
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.GetLBText(0), QStringLiteral("Rising Edge"));
    combo.SetCurSel(0);
    EXPECT_EQ(combo.GetWindowText(), QStringLiteral("Rising Edge"));
}

TEST_F(ControlsTest, ProgressStaysInItsRangeAndStepsRoundTheEnd) {
    CProgressCtrl progress;
    ASSERT_TRUE(progress.SubclassDlgItem(kProgress, &m_dlg));
    progress.SetRange32(0, 20);
    EXPECT_EQ(progress.SetPos(30), 0);
    EXPECT_EQ(progress.GetPos(), 20);
    progress.SetPos(10);
    EXPECT_EQ(progress.SetStep(6), 10);
    progress.StepIt();
    EXPECT_EQ(progress.GetPos(), 16);
    progress.StepIt();
    EXPECT_EQ(progress.GetPos(), 0);
}

TEST_F(ControlsTest, ControlMadeAtRunTimeSendsToItsParent) {
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &m_dlg, kValueEdit + 100));
    EXPECT_FALSE(edit.Create(WS_CHILD, CRect(0, 0, 50, 20), &m_dlg, 1));
    EXPECT_EQ(m_dlg.GetDlgItem(kValueEdit + 100), &edit);
    edit.SetWindowText(QStringLiteral("abcdef"));
    edit.SetSel(1, 3);
    int start = 0;
    int end = 0;
    edit.GetSel(start, end);
    EXPECT_EQ(std::pair(start, end), std::pair(1, 3));
    edit.ReplaceSel(QStringLiteral("X"));
    EXPECT_EQ(edit.GetWindowText(), QStringLiteral("aXdef"));
}

TEST_F(ControlsTest, TreeItemsShowImagesCutFromAStripWithItsMaskTransparent) {
    // Three 4-pixel images: red, magenta (the mask) with a green dot, blue.
    QImage strip(12, 4, QImage::Format_RGB32);
    strip.fill(QColor(255, 0, 255));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            strip.setPixel(x, y, qRgb(255, 0, 0));
            strip.setPixel(8 + x, y, qRgb(0, 0, 255));
        }
    }
    strip.setPixel(5, 1, qRgb(0, 255, 0));
    CImageList images;
    EXPECT_FALSE(images.Create(QImage(), 4, RGB(255, 0, 255)));
    ASSERT_TRUE(images.Create(strip, 4, RGB(255, 0, 255)));
    ASSERT_EQ(images.GetImageCount(), 3);
    EXPECT_EQ(qAlpha(images.GetImage(1).pixel(0, 0)), 0);
    EXPECT_EQ(images.GetImage(1).pixel(1, 1), qRgb(0, 255, 0));
    EXPECT_TRUE(images.GetImage(3).isNull());

    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 80), &m_dlg, 2015));
    HTREEITEM root = tree.InsertItem(QStringLiteral("root"));
    HTREEITEM child = tree.InsertItem(QStringLiteral("child"), root);
    // Images given before the list shows once the list comes.
    ASSERT_TRUE(tree.SetItemImage(root, 2, 0));
    EXPECT_EQ(tree.SetImageList(&images, TVSIL_NORMAL), nullptr);
    EXPECT_EQ(tree.GetImageList(TVSIL_NORMAL), &images);
    int image = -1;
    int selected = -1;
    ASSERT_TRUE(tree.GetItemImage(child, image, selected));
    EXPECT_EQ(std::pair(image, selected), std::pair(0, 0));
    ASSERT_TRUE(tree.GetItemImage(root, image, selected));
    EXPECT_EQ(std::pair(image, selected), std::pair(2, 0));
    auto* widget = qobject_cast<QTreeWidget*>(tree.GetQWidget());
    ASSERT_NE(widget, nullptr);
    const QImage shown = widget->topLevelItem(0)->icon(0).pixmap(4, 4, QIcon::Normal).toImage();
    EXPECT_EQ(shown.pixel(2, 2), qRgb(0, 0, 255));
    const QImage whenSelected =
        widget->topLevelItem(0)->icon(0).pixmap(4, 4, QIcon::Selected).toImage();
    EXPECT_EQ(whenSelected.pixel(2, 2), qRgb(255, 0, 0));
    EXPECT_FALSE(tree.SetItemImage(nullptr, 1, 1));
}

// A window that takes some notifications by id and code and the rest as a plain message, with
// a child that answers its own clicks.
class CRoutingWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    QStringList m_log;

protected:
    void OnClick(NMHDR* hdr, LRESULT* result) {
        m_log << QStringLiteral("click %1").arg(hdr->idFrom);
        *result = 5;
    }
    LRESULT OnRawNotify(WPARAM, LPARAM lParam) {
        m_log << QStringLiteral("raw %1").arg(
            static_cast<int>(reinterpret_cast<NMHDR*>(lParam)->code));
        return 6;
    }
};

BEGIN_MESSAGE_MAP(CRoutingWnd, CWnd)
ON_NOTIFY(NM_CLICK, 7, OnClick)
ON_MESSAGE(WM_NOTIFY, OnRawNotify)
END_MESSAGE_MAP()

class CSelfClickingWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    int m_clicks = 0;

protected:
    void OnClick(NMHDR*, LRESULT* result) {
        ++m_clicks;
        *result = 9;
    }
};

BEGIN_MESSAGE_MAP(CSelfClickingWnd, CWnd)
ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
END_MESSAGE_MAP()

TEST(NotifyRoutingTest, ReflectedThenByIdThenPlainMessage) {
    CRoutingWnd parent;
    ASSERT_TRUE(
        parent.Create(nullptr, QString(), WS_OVERLAPPED, CRect(0, 0, 100, 100), nullptr, 0));
    CWnd plain;
    CSelfClickingWnd self;
    ASSERT_TRUE(plain.Create(nullptr, QString(), WS_CHILD, CRect(0, 0, 10, 10), &parent, 7));
    ASSERT_TRUE(self.Create(nullptr, QString(), WS_CHILD, CRect(0, 0, 10, 10), &parent, 8));
    auto send = [&](CWnd& from, UINT code) {
        NMHDR hdr;
        hdr.hwndFrom = from.GetSafeHwnd();
        hdr.idFrom = static_cast<UINT_PTR>(from.GetDlgCtrlID());
        hdr.code = code;
        return parent.SendMessage(WM_NOTIFY, hdr.idFrom, reinterpret_cast<LPARAM>(&hdr));
    };
    EXPECT_EQ(send(plain, NM_CLICK), 5);
    EXPECT_EQ(send(plain, NM_DBLCLK), 6);
    EXPECT_EQ(send(self, NM_CLICK), 9);
    EXPECT_EQ(self.m_clicks, 1);
    EXPECT_EQ(parent.m_log,
              (QStringList{"click 7", QStringLiteral("raw %1").arg(static_cast<int>(NM_DBLCLK))}));
    parent.DestroyWindow();
}

}  // namespace
