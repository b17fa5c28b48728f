#include "platform/framework/ControlWidgets.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/ResourceChain.h"
#include "testsupport/IsolatedTest.h"
#include "views/panels/DlgBarLayout.h"
#include "views/panels/TabDlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>

namespace {

constexpr UINT kPageTemplate = 9601;
constexpr UINT kWideLayout = 9602;
constexpr UINT kNarrowLayout = 9603;
constexpr int kField = 1001;
constexpr int kCheck = 1002;
constexpr int kButton = 1003;
constexpr int kLonely = 1004;

DialogItemTemplate Item(DlgControl type, int id, const char* text, int x, int y, int cx, int cy,
                        DWORD style = 0) {
    return {type, id, QString::fromLatin1(text), x, y, cx, cy, WS_CHILD | style};
}

CResourceModule PageModule() {
    CResourceModule module;
    module.name = QStringLiteral("tab page tests");
    DialogTemplate page;
    page.id = kPageTemplate;
    page.style = WS_CHILD;
    page.cx = 120;
    page.cy = 60;
    page.items = {
        Item(DlgControl::Edit, kField, "", 5, 5, 40, 12, WS_VISIBLE),
        Item(DlgControl::Button, kCheck, "Loop", 5, 20, 40, 12, WS_VISIBLE | BS_AUTO3STATE),
        Item(DlgControl::Button, kButton, "Go", 50, 20, 40, 12, WS_VISIBLE),
        Item(DlgControl::Static, kLonely, "Alone", 50, 40, 40, 12, WS_VISIBLE),
    };
    DialogTemplate wide;
    wide.id = kWideLayout;
    wide.style = WS_CHILD;
    wide.cx = 200;
    wide.cy = 40;
    wide.items = {
        Item(DlgControl::Edit, kField, "", 10, 4, 80, 12, WS_VISIBLE),
        Item(DlgControl::Button, kButton, "Start", 100, 4, 40, 12, WS_VISIBLE),
    };
    DialogTemplate narrow = wide;
    narrow.id = kNarrowLayout;
    narrow.cx = 80;
    narrow.items = {
        Item(DlgControl::Edit, kField, "", 2, 2, 30, 12, WS_VISIBLE),
        Item(DlgControl::Button, kButton, "Go on", 40, 2, 30, 12, 0),  // hidden here
    };
    module.dialogs = {page, wide, narrow};
    return module;
}

class TabDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&m_module);
        ASSERT_TRUE(
            m_host.Create(nullptr, "host", WS_OVERLAPPED, CRect(0, 0, 400, 300), nullptr, 0));
        m_host.MoveWindow(0, 0, 400, 300);
        ASSERT_TRUE(m_page.Create(&m_host));
    }
    void TearDown() override {
        m_page.DestroyWindow();
        m_host.DestroyWindow();
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }
    QLineEdit* Field() { return qobject_cast<QLineEdit*>(m_page.GetDlgItem(kField)->GetQWidget()); }

    CResourceModule m_module = PageModule();
    CWnd m_host;
    CTabDlg m_page{kPageTemplate};
};

TEST_F(TabDlgTest, CreateMakesThePageAChildOfItsHost) {
    EXPECT_EQ(m_page.GetHostWnd(), &m_host);
    EXPECT_EQ(m_page.GetParent(), &m_host);
    EXPECT_TRUE(m_page.IsKindOf(RUNTIME_CLASS(CDlgLayout)));
    CTabDlg missing(4242);
    EXPECT_FALSE(missing.Create(&m_host));
}

// A field that is written loses its modified mark, so a kept mark shows nothing was written.
TEST_F(TabDlgTest, FieldHelpersWriteOnlyWhatChanged) {
    struct Case {
        const char* name;
        const char* before;
        std::function<void(CWnd*)> call;
        const char* after;
        bool written;
    };
    const std::vector<Case> cases = {
        {"int unchanged", "42", [](CWnd* p) { CTabDlg::SetFieldInt(p, kField, 42, true); }, "42",
         false},
        {"int changed", "41", [](CWnd* p) { CTabDlg::SetFieldInt(p, kField, 42, true); }, "42",
         true},
        {"int zero into empty", "", [](CWnd* p) { CTabDlg::SetFieldInt(p, kField, 0, true); }, "0",
         true},
        {"int invalid", "42", [](CWnd* p) { CTabDlg::SetFieldInt(p, kField, 42, false); }, "NA",
         true},
        {"int invalid again", "NA", [](CWnd* p) { CTabDlg::SetFieldInt(p, kField, 0, false); },
         "NA", false},
        {"int zero after NA", "NA", [](CWnd* p) { CTabDlg::SetFieldInt(p, kField, 0, true); }, "0",
         true},
        {"int negative", "-7", [](CWnd* p) { CTabDlg::SetFieldInt(p, kField, -7, true); }, "-7",
         false},
        {"double unchanged", "2.50",
         [](CWnd* p) { CTabDlg::SetFieldDouble(p, kField, 2.5, "%.2f", true); }, "2.50", false},
        {"double changed", "2.5",
         [](CWnd* p) { CTabDlg::SetFieldDouble(p, kField, 2.5, "%.2f", true); }, "2.50", true},
        {"double invalid", "2.50",
         [](CWnd* p) { CTabDlg::SetFieldDouble(p, kField, 3.0, "%.2f", false); }, "NA", true},
        {"text unchanged", "Cam A",
         [](CWnd* p) { CTabDlg::SetFieldTextIfChanged(p, kField, "Cam A", true); }, "Cam A", false},
        {"text case differs", "cam a",
         [](CWnd* p) { CTabDlg::SetFieldTextIfChanged(p, kField, "Cam A", true); }, "Cam A", true},
        {"text emptied", "Cam A",
         [](CWnd* p) { CTabDlg::SetFieldTextIfChanged(p, kField, "", true); }, "", true},
        {"text invalid", "Cam A",
         [](CWnd* p) { CTabDlg::SetFieldTextIfChanged(p, kField, "Cam B", false); }, "NA", true},
        {"missing item", "5", [](CWnd* p) { CTabDlg::SetFieldInt(p, 999, 6, true); }, "5", false},
        {"no page", "5", [](CWnd*) { CTabDlg::SetFieldInt(nullptr, kField, 6, true); }, "5", false},
    };
    for (const Case& c : cases) {
        Field()->setText(QString::fromLatin1(c.before));
        Field()->setModified(true);
        c.call(&m_page);
        EXPECT_EQ(Field()->text(), QString::fromLatin1(c.after)) << c.name;
        EXPECT_EQ(!Field()->isModified(), c.written) << c.name;
    }
    CTabDlg windowless(kPageTemplate);
    CTabDlg::SetFieldInt(&windowless, kField, 1, true);  // no window: nothing, no crash
}

TEST_F(TabDlgTest, CheckEnableAndShowTouchOnlyWhatDiffers) {
    auto* box = qobject_cast<QCheckBox*>(m_page.GetDlgItem(kCheck)->GetQWidget());
    ASSERT_NE(box, nullptr);
    const struct {
        Qt::CheckState before;
        bool checked;
        Qt::CheckState after;
    } checks[] = {
        {Qt::PartiallyChecked, true, Qt::PartiallyChecked},  // indeterminate counts as checked
        {Qt::PartiallyChecked, false, Qt::Unchecked},
        {Qt::Unchecked, true, Qt::Checked},
        {Qt::Checked, true, Qt::Checked},
    };
    for (const auto& c : checks) {
        box->setCheckState(c.before);
        CTabDlg::SetCheckIfChanged(&m_page, kCheck, c.checked);
        EXPECT_EQ(box->checkState(), c.after) << c.before << " " << c.checked;
    }

    CWnd* button = m_page.GetDlgItem(kButton);
    CTabDlg::EnableItem(&m_page, kButton, false);
    EXPECT_FALSE(button->IsWindowEnabled());
    CTabDlg::EnableItem(&m_page, kButton, true);
    EXPECT_TRUE(button->IsWindowEnabled());

    // The page itself is not shown: items still follow what they are asked.
    CTabDlg::ShowItem(&m_page, kButton, SW_HIDE);
    EXPECT_TRUE(button->GetQWidget()->isHidden());
    CTabDlg::ShowItem(&m_page, kButton, SW_SHOW);
    EXPECT_FALSE(button->GetQWidget()->isHidden());
    CTabDlg::ShowItem(&m_page, 999, SW_HIDE);
    CTabDlg::EnableItem(nullptr, kButton, false);
    EXPECT_TRUE(button->IsWindowEnabled());
}

TEST_F(TabDlgTest, PlacementArithmetic) {
    struct Case {
        const char* name;
        int hostWidth;
        int hostHeight;
        bool center;
        int left, right, top, bottom;
        CRect expected;
    };
    // The page is 200 x 100 before each move.
    const Case cases[] = {
        {"place, no offsets", 400, 300, false, 0, 0, 0, 0, CRect(100, 0, 300, 100)},
        {"place, offsets", 400, 300, false, -10, 10, 5, 7, CRect(90, 5, 310, 107)},
        {"place, odd spare width", 399, 300, false, 0, 0, 0, 0, CRect(99, 0, 300, 100)},
        {"place, host narrower", 191, 300, false, 0, 0, 0, 0, CRect(-4, 0, 195, 100)},
        {"center", 400, 300, true, 0, 0, 0, 0, CRect(100, 100, 300, 200)},
        {"center ignores bottom", 400, 300, true, 0, 0, 0, 55, CRect(100, 100, 300, 200)},
        {"center, offsets", 400, 300, true, 4, 6, 10, 0, CRect(104, 110, 306, 200)},
        {"center, host lower than page", 400, 60, true, 0, 0, 0, 0, CRect(100, 20, 300, 120)},
    };
    for (const Case& c : cases) {
        m_host.MoveWindow(0, 0, c.hostWidth, c.hostHeight);
        m_page.MoveWindow(0, 0, 200, 100);
        if (c.center)
            m_page.CenterInHost(c.left, c.right, c.top, c.bottom);
        else
            m_page.PlaceInHost(c.left, c.right, c.top, c.bottom);
        CRect rect;
        m_page.GetWindowRect(&rect);
        m_host.ScreenToClient(&rect);
        EXPECT_EQ(rect, c.expected) << c.name;
    }

    CTabDlg hostless(kPageTemplate);
    ASSERT_TRUE(hostless.CreateIndirect(CResourceChain::FindDialog(kPageTemplate), &m_host));
    hostless.MoveWindow(7, 8, 50, 40);
    hostless.CenterInHost(0, 0, 0, 0);
    CRect rect;
    hostless.GetWindowRect(&rect);
    m_host.ScreenToClient(&rect);
    EXPECT_EQ(rect, CRect(7, 8, 57, 48));
}

TEST_F(TabDlgTest, LayoutsArrangeTheHostsControls) {
    EXPECT_EQ(m_page.AddDialog(kWideLayout), 0);
    EXPECT_EQ(m_page.AddDialog(kNarrowLayout), 1);
    EXPECT_EQ(m_page.AddDialog(4242), -1);
    EXPECT_EQ(m_page.GetActiveIndex(), -1);
    EXPECT_FALSE(m_page.SelectDialog(-1));
    EXPECT_FALSE(m_page.SelectDialog(2));
    EXPECT_EQ(m_page.GetActiveDialog(), nullptr);

    CWnd* field = m_page.GetDlgItem(kField);
    CWnd* button = m_page.GetDlgItem(kButton);
    CWnd* lonely = m_page.GetDlgItem(kLonely);
    CRect lonelyBefore;
    lonely->GetWindowRect(&lonelyBefore);

    ASSERT_TRUE(m_page.SelectDialog(1));
    EXPECT_EQ(m_page.GetActiveIndex(), 1);
    CDialog* narrow = m_page.GetActiveDialog();
    ASSERT_NE(narrow, nullptr);
    CRect layoutRect;
    CRect pageRect;
    narrow->GetWindowRect(&layoutRect);
    m_page.GetWindowRect(&pageRect);
    EXPECT_EQ(pageRect.Size(), layoutRect.Size());
    CRect expected;
    narrow->GetDlgItem(kField)->GetWindowRect(&expected);
    narrow->ScreenToClient(&expected);
    CRect got;
    field->GetWindowRect(&got);
    m_page.ScreenToClient(&got);
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(button->GetQWidget()->isHidden());
    EXPECT_EQ(button->GetWindowText(), QStringLiteral("Go on"));
    CRect lonelyAfter;
    lonely->GetWindowRect(&lonelyAfter);
    EXPECT_EQ(lonelyAfter.Size(), lonelyBefore.Size());
    EXPECT_FALSE(lonely->GetQWidget()->isHidden());

    ASSERT_TRUE(m_page.SelectDialog(0));
    EXPECT_FALSE(button->GetQWidget()->isHidden());
    EXPECT_EQ(button->GetWindowText(), QStringLiteral("Start"));

    m_page.GetActiveDialog()->DestroyWindow();
    EXPECT_EQ(m_page.GetActiveDialog(), nullptr);
    EXPECT_EQ(m_page.GetActiveIndex(), -1);
    EXPECT_FALSE(m_page.SetActiveDialog(nullptr));

    m_page.RemoveAllDialogs();
    EXPECT_EQ(m_page.GetDialogCount(), 0);
    EXPECT_FALSE(m_page.SelectDialog(0));
}

TEST_F(TabDlgTest, BarLayoutsArrangeTheBarAndSetItsHeight) {
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "frame", 0, CRect(0, 0, 500, 400), nullptr, 0));
    CDlgBarLayout bar;
    ASSERT_TRUE(bar.Create(frame, kPageTemplate, CBRS_ALIGN_BOTTOM, 0xE900));
    EXPECT_EQ(bar.AddDialog(kWideLayout), 0);
    EXPECT_EQ(bar.AddDialog(kNarrowLayout), 1);
    EXPECT_FALSE(bar.SelectDialog(2));
    EXPECT_EQ(bar.GetActiveIndex(), -1);

    CWnd* button = bar.GetDlgItem(kButton);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(bar.SelectDialog(1));
    EXPECT_EQ(bar.GetActiveIndex(), 1);
    EXPECT_TRUE(button->GetQWidget()->isHidden());
    // The bar's controls keep their own texts.
    EXPECT_EQ(button->GetWindowText(), QStringLiteral("Go"));
    frame->ShowControlBar(&bar, TRUE, FALSE);
    CRect narrow;
    bar.GetActiveDialog()->GetClientRect(&narrow);
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE), CSize(32767, narrow.Height()));
    EXPECT_EQ(bar.CalcFixedLayout(FALSE, TRUE), CSize(narrow.Width(), narrow.Height()));
    ASSERT_TRUE(bar.SelectDialog(0));
    EXPECT_FALSE(button->GetQWidget()->isHidden());
    frame->ShowControlBar(&bar, FALSE, FALSE);
    EXPECT_EQ(bar.CalcFixedLayout(TRUE, TRUE), CSize(0, 0));

    bar.RemoveAllDialogs();
    EXPECT_EQ(bar.GetActiveDialog(), nullptr);
    bar.DestroyWindow();
    frame->DestroyWindow();
}

}  // namespace
