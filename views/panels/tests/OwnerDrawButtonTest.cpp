#include "views/panels/OwnerDrawButton.h"

#include "platform/framework/CmdUI.h"
#include "platform/framework/DC.h"
#include "platform/framework/Menu.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/SysColor.h"
#include "testsupport/IsolatedTest.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QWidget>

#include <utility>
#include <vector>

namespace {

constexpr UINT kButtonId = 1200;
constexpr QRgb kInColor = qRgb(255, 0, 0);
constexpr QRgb kOutColor = qRgb(0, 0, 255);

// Reaches the button's configuration the way a derived button of a panel does.
class TestButton : public COwnerDrawButton {
public:
    using COwnerDrawButton::PrepareImageRect;
    void SetAlignment(BYTE alignment) { m_alignment = alignment; }
    void SetHot(BOOL hot) { m_hot = hot; }
};

// Counts the clicks that reach the parent.
class ClickParent : public CWnd {
    DECLARE_MESSAGE_MAP()
public:
    int clicks = 0;
    void OnClicked() { ++clicks; }
};

BEGIN_MESSAGE_MAP(ClickParent, CWnd)
ON_CONTROL(BN_CLICKED, kButtonId, OnClicked)
END_MESSAGE_MAP()

// Where a drop-down menu's choice and callback arrive.
class MenuOwner : public CWnd {
public:
    std::vector<UINT> commands;
    std::vector<std::pair<WPARAM, LPARAM>> callbacks;
    // Its menu items are enabled, as a window that handles them has them.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        if (nCode == CN_UPDATE_COMMAND_UI && (nID == 501 || nID == 502)) {
            static_cast<CCmdUI*>(pExtra)->Enable(TRUE);
            return TRUE;
        }
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND)
            commands.push_back(LOWORD(wParam));
        if (message == kCallbackMessage)
            callbacks.emplace_back(wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    static constexpr UINT kCallbackMessage = WM_USER + 7;
};

QImage Solid(QRgb color) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

COLORREF Ref(QRgb p) {
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

class OwnerDrawButtonTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        ASSERT_TRUE(
            m_parent.Create(nullptr, "host", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_parent.GetQWidget()));
    }
    void TearDown() override {
        ResetSysColors();
        IsolatedTest::TearDown();
    }

    void Make(TestButton& button, const QString& caption, DWORD style, UINT id = kButtonId,
              const CRect& rect = CRect(10, 10, 110, 50)) {
        ASSERT_TRUE(button.Create(caption, style | WS_VISIBLE, rect, &m_parent, id));
    }

    // The button painted for the state bits into a 100 x 40 image.
    static QImage Render(COwnerDrawButton& button, UINT state) {
        QImage image(100, 40, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        CDC dc(&image);
        DRAWITEMSTRUCT dis;
        dis.pDC = &dc;
        dis.rcItem = CRect(0, 0, 100, 40);
        dis.itemState = state;
        button.DrawItem(&dis);
        return image;
    }

    ClickParent m_parent;
};

TEST_F(OwnerDrawButtonTest, CreationStyleGivesModeAndOwnerDraw) {
    struct Case {
        DWORD style;
        BOOL checkBox, isDefault;
        LRESULT dlgCode;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, FALSE, FALSE, DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, FALSE, TRUE, DLGC_DEFPUSHBUTTON},
        {BS_CHECKBOX, TRUE, FALSE, DLGC_UNDEFPUSHBUTTON},
        {BS_AUTOCHECKBOX, TRUE, FALSE, DLGC_UNDEFPUSHBUTTON},
        {BS_AUTOCHECKBOX | 0x100, TRUE, FALSE, DLGC_UNDEFPUSHBUTTON},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        TestButton button;
        Make(button, "Go", c.style);
        EXPECT_EQ(button.IsCheckBox(), c.checkBox);
        EXPECT_EQ(button.IsDefault(), c.isDefault);
        EXPECT_EQ(button.GetButtonStyle(), (c.style & ~BS_TYPEMASK) | BS_OWNERDRAW);
        EXPECT_EQ(button.SendMessage(WM_GETDLGCODE), c.dlgCode);
    }
}

TEST_F(OwnerDrawButtonTest, SetStyleKeepsOwnerDrawAndFollowsTheDefaultFlag) {
    TestButton button;
    Make(button, "Go", BS_PUSHBUTTON);
    struct Case {
        WPARAM style;
        BOOL isDefault;
        DWORD resulting;
    };
    const Case cases[] = {
        {BS_DEFPUSHBUTTON, TRUE, 0x0B},
        {BS_CHECKBOX, TRUE, 0x0B},  // other types leave the flag
        {BS_PUSHBUTTON | 0x300, FALSE, 0x30B},
        {0x1F | 0x8000, FALSE, 0x800B},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        button.SendMessage(BM_SETSTYLE, c.style, TRUE);
        EXPECT_EQ(button.IsDefault(), c.isDefault);
        EXPECT_EQ(button.GetButtonStyle(), c.resulting);
    }
}

TEST_F(OwnerDrawButtonTest, CheckMessages) {
    TestButton check;
    Make(check, "Loop", BS_AUTOCHECKBOX);
    TestButton push;
    Make(push, "Go", BS_PUSHBUTTON, kButtonId + 1, CRect(10, 60, 110, 100));
    struct Case {
        WPARAM set;
        LRESULT checkBox, pushButton;
    };
    const Case cases[] = {
        {BST_CHECKED, 1, 0}, {BST_UNCHECKED, 0, 0}, {BST_INDETERMINATE, 1, 0}, {5, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set);
        check.SendMessage(BM_SETCHECK, c.set);
        push.SendMessage(BM_SETCHECK, c.set);
        EXPECT_EQ(check.SendMessage(BM_GETCHECK), c.checkBox);
        EXPECT_EQ(push.SendMessage(BM_GETCHECK), c.pushButton);
    }
    push.SetCheck(1);
    EXPECT_EQ(push.GetCheck(), 0);
    check.SetCheck(7);
    EXPECT_EQ(check.GetCheck(), 1);
}

TEST_F(OwnerDrawButtonTest, ImageChoice) {
    struct Case {
        const char* what;
        DWORD style;
        bool withOut;
        int checked;
        BOOL hot;
        UINT state;
        QRgb shown;
    };
    const Case cases[] = {
        {"rest", BS_PUSHBUTTON, true, 0, FALSE, 0, kOutColor},
        {"rest, one icon", BS_PUSHBUTTON, false, 0, FALSE, 0, kInColor},
        {"hot", BS_PUSHBUTTON, true, 0, TRUE, 0, kInColor},
        {"pressed", BS_PUSHBUTTON, true, 0, FALSE, ODS_SELECTED, kInColor},
        {"focused", BS_PUSHBUTTON, true, 0, FALSE, ODS_FOCUS, kOutColor},
        {"check, unchecked, hot", BS_AUTOCHECKBOX, true, 0, TRUE, 0, kOutColor},
        {"check, checked", BS_AUTOCHECKBOX, true, 1, FALSE, 0, kInColor},
        {"check, held down", BS_AUTOCHECKBOX, true, 0, FALSE, ODS_SELECTED, kInColor},
        {"check, one icon", BS_AUTOCHECKBOX, false, 0, FALSE, 0, kInColor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestButton button;
        Make(button, "", c.style);
        button.SetIcon(Solid(kInColor), c.withOut ? Solid(kOutColor) : QImage());
        button.SetCheck(c.checked);
        button.SetHot(c.hot);
        const QImage image = Render(button, c.state);
        // The image is centred: 42..57 x 12..27, one pixel further while a push button is held.
        EXPECT_EQ(image.pixel(50, 20), c.shown);
    }
}

TEST_F(OwnerDrawButtonTest, GreyOutIconShowsAtRest) {
    TestButton button;
    Make(button, "", BS_PUSHBUTTON);
    QImage icon = Solid(qRgb(200, 100, 50));
    icon.setPixel(0, 0, qRgba(0, 0, 0, 255));
    icon.setPixel(1, 0, qRgba(10, 20, 30, 0));
    const QImage grey = COwnerDrawButton::CreateGrayscaleIcon(icon);
    // 0.299 * 200 + 0.587 * 100 + 0.114 * 50 = 124.5, truncated.
    EXPECT_EQ(grey.pixel(5, 5), qRgba(124, 124, 124, 255));
    EXPECT_EQ(grey.pixel(0, 0), qRgba(0, 0, 0, 255));
    EXPECT_EQ(qAlpha(grey.pixel(1, 0)), 0);
    EXPECT_TRUE(COwnerDrawButton::CreateGrayscaleIcon(QImage()).isNull());

    button.SetIcon(icon, COwnerDrawButton::GrayOutIcon());
    EXPECT_EQ(Render(button, 0).pixel(50, 20), qRgb(124, 124, 124));
    button.SetHot(TRUE);
    EXPECT_EQ(Render(button, 0).pixel(50, 20), qRgb(200, 100, 50));
    // A null in icon leaves the button without images.
    button.SetIcon(QImage(), Solid(kOutColor));
    EXPECT_EQ(Render(button, 0).pixel(50, 20), Render(button, 0).pixel(5, 5));
}

TEST_F(OwnerDrawButtonTest, ImageRectangles) {
    struct Case {
        const char* what;
        BYTE alignment;
        BOOL caption, pressed;
        DWORD style;
        CRect item;
        CRect image, captionAfter;
    };
    const CRect item(0, 0, 100, 40);
    const Case cases[] = {
        {"left of caption", 0, TRUE, FALSE, BS_PUSHBUTTON, item, {3, 12, 19, 28}, {19, 0, 100, 40}},
        {"left, no caption", 0, FALSE, FALSE, BS_PUSHBUTTON, item, {42, 12, 58, 28}, item},
        {"left, pressed", 0, TRUE, TRUE, BS_PUSHBUTTON, item, {4, 13, 20, 29}, {19, 0, 100, 40}},
        {"left, check pressed",
         0,
         TRUE,
         TRUE,
         BS_AUTOCHECKBOX,
         item,
         {3, 12, 19, 28},
         {19, 0, 100, 40}},
        {"above caption", 1, TRUE, FALSE, BS_PUSHBUTTON, item, {42, 3, 58, 19}, {0, 16, 100, 40}},
        {"above, no caption", 1, FALSE, FALSE, BS_PUSHBUTTON, item, {42, 12, 58, 28}, item},
        {"right of caption", 2, TRUE, FALSE, BS_PUSHBUTTON, item, {81, 12, 97, 28}, {3, 0, 81, 40}},
        {"right, no caption", 2, FALSE, FALSE, BS_PUSHBUTTON, item, {42, 0, 58, 16}, item},
        {"right, pressed", 2, TRUE, TRUE, BS_PUSHBUTTON, item, {82, 13, 98, 29}, {3, 0, 81, 40}},
        // Halves round toward zero: (15 - 16) / 2 is 0, not -1.
        {"taller image",
         0,
         FALSE,
         FALSE,
         BS_PUSHBUTTON,
         {0, 0, 25, 15},
         {4, 0, 20, 16},
         {0, 0, 25, 15}},
        {"moved item",
         0,
         TRUE,
         FALSE,
         BS_PUSHBUTTON,
         {10, 5, 60, 30},
         {13, 9, 29, 25},
         {29, 5, 60, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestButton button;
        Make(button, "Go", c.style);
        button.SetAlignment(c.alignment);
        CRect caption = c.item;
        const CRect image = button.PrepareImageRect(c.caption, c.item, &caption, c.pressed, 16, 16);
        EXPECT_EQ(image, c.image);
        EXPECT_EQ(caption, c.captionAfter);
    }
}

TEST_F(OwnerDrawButtonTest, PressedPushButtonMovesImageAndCaption) {
    TestButton button;
    Make(button, "", BS_PUSHBUTTON);
    button.SetIcon(Solid(kInColor));
    const QImage up = Render(button, 0);
    const QImage down = Render(button, ODS_SELECTED);
    EXPECT_EQ(up.pixel(42, 12), kInColor);
    EXPECT_NE(up.pixel(58, 28), kInColor);
    EXPECT_NE(down.pixel(42, 12), kInColor);
    EXPECT_EQ(down.pixel(43, 13), kInColor);
    EXPECT_EQ(down.pixel(58, 28), kInColor);

    // The caption's ink moves by the same offset.
    TestButton text;
    Make(text, "M", BS_PUSHBUTTON, kButtonId + 1);
    const QImage textUp = Render(text, 0);
    const QImage textDown = Render(text, ODS_SELECTED);
    const QRgb ink = qRgb(qRed(GetSysColor(COLOR_BTNTEXT)), qGreen(GetSysColor(COLOR_BTNTEXT)),
                          qBlue(GetSysColor(COLOR_BTNTEXT)));
    QRect inkUp, inkDown;
    for (int y = 2; y < 38; ++y)
        for (int x = 2; x < 98; ++x) {
            if (textUp.pixel(x, y) == ink)
                inkUp |= QRect(x, y, 1, 1);
            if (textDown.pixel(x, y) == ink)
                inkDown |= QRect(x, y, 1, 1);
        }
    ASSERT_FALSE(inkUp.isEmpty());
    EXPECT_EQ(inkDown, inkUp.translated(1, 1));
}

TEST_F(OwnerDrawButtonTest, DisabledLookIsEmbossed) {
    TestButton button;
    Make(button, "", BS_PUSHBUTTON);
    button.SetIcon(Solid(kInColor), Solid(kOutColor));
    const QImage image = Render(button, ODS_DISABLED);
    const COLORREF shadow = GetSysColor(COLOR_3DSHADOW);
    const COLORREF hilite = GetSysColor(COLOR_3DHILIGHT);
    ASSERT_NE(shadow, hilite);
    EXPECT_EQ(Ref(image.pixel(42, 12)), shadow);
    EXPECT_EQ(Ref(image.pixel(57, 27)), shadow);
    EXPECT_EQ(Ref(image.pixel(58, 28)), hilite);
    EXPECT_EQ(Ref(image.pixel(41, 12)), GetSysColor(COLOR_BTNFACE));

    // A disabled caption is embossed whatever the colours: no ink in the text colour.
    TestButton text;
    Make(text, "WWW", BS_PUSHBUTTON, kButtonId + 1);
    const QImage caption = Render(text, ODS_DISABLED);
    int shadowInk = 0, hiliteInk = 0, textInk = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 100; ++x) {
            const COLORREF p = Ref(caption.pixel(x, y));
            shadowInk += p == shadow;
            hiliteInk += p == hilite;
            textInk += p == GetSysColor(COLOR_BTNTEXT);
        }
    EXPECT_GT(shadowInk, 10);
    EXPECT_GT(hiliteInk, 3);
    EXPECT_EQ(textInk, 0);
}

TEST_F(OwnerDrawButtonTest, BordersByLookAndState) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Probe {
        int x, y;
        COLORREF color;
    };
    struct Case {
        const char* what;
        BOOL flat;
        DWORD style;
        BOOL hot;
        UINT state;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"flat at rest: no border", TRUE, BS_PUSHBUTTON, FALSE, 0, {{0, 20, face}, {99, 39, face}}},
        {"flat hot: raised",
         TRUE,
         BS_PUSHBUTTON,
         TRUE,
         0,
         {{0, 20, GetSysColor(COLOR_BTNHILIGHT)}, {99, 20, GetSysColor(COLOR_BTNSHADOW)}}},
        {"flat pressed: sunken",
         TRUE,
         BS_PUSHBUTTON,
         FALSE,
         ODS_SELECTED,
         {{0, 20, GetSysColor(COLOR_BTNSHADOW)}, {99, 20, GetSysColor(COLOR_BTNHILIGHT)}}},
        {"3-D at rest",
         FALSE,
         BS_PUSHBUTTON,
         FALSE,
         0,
         {{0, 20, GetSysColor(COLOR_BTNHILIGHT)},
          {1, 20, GetSysColor(COLOR_3DLIGHT)},
          {50, 39, GetSysColor(COLOR_3DDKSHADOW)},
          {99, 20, GetSysColor(COLOR_3DDKSHADOW)},
          {50, 38, GetSysColor(COLOR_BTNSHADOW)},
          {98, 20, GetSysColor(COLOR_BTNSHADOW)},
          {50, 20, face}}},
        {"3-D pressed: shadow frame",
         FALSE,
         BS_PUSHBUTTON,
         FALSE,
         ODS_SELECTED,
         {{0, 20, GetSysColor(COLOR_BTNSHADOW)},
          {99, 20, GetSysColor(COLOR_BTNSHADOW)},
          {1, 20, face}}},
        {"3-D default: black frame, then the border inside",
         FALSE,
         BS_DEFPUSHBUTTON,
         FALSE,
         0,
         {{0, 20, RGB(0, 0, 0)}, {99, 20, RGB(0, 0, 0)}, {1, 20, GetSysColor(COLOR_BTNHILIGHT)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestButton button;
        Make(button, "", c.style);
        button.SetFlat(c.flat);
        button.SetHot(c.hot);
        const QImage image = Render(button, c.state);
        for (const Probe& p : c.probes) {
            SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
            EXPECT_EQ(Ref(image.pixel(p.x, p.y)), p.color);
        }
    }
}

TEST_F(OwnerDrawButtonTest, ColoursFollowTheSystemColours) {
    TestButton button;
    Make(button, "", BS_PUSHBUTTON);
    const int index = COLOR_BTNFACE;
    const COLORREF green = RGB(0, 200, 0);
    ASSERT_TRUE(SetSysColors(1, &index, &green));
    EXPECT_NE(Ref(Render(button, 0).pixel(50, 20)), green);
    button.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(Ref(Render(button, 0).pixel(50, 20)), green);
}

TEST_F(OwnerDrawButtonTest, ClicksReachTheButtonAndItsParent) {
    TestButton check;
    Make(check, "Loop", BS_AUTOCHECKBOX);
    QWidget* widget = check.GetQWidget();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(check.GetCheck(), 1);
    EXPECT_EQ(m_parent.clicks, 1);
    EXPECT_EQ(CWnd::GetFocus(), &check);

    // A double click is a second single click: the system delivers press, release, double
    // click, release.
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(m_parent.clicks, 3);
    EXPECT_EQ(check.GetCheck(), 1);

    // Released away from the button: no click.
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::mouseMove(widget, QPoint(150, 20));
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, QPoint(150, 20));
    EXPECT_EQ(m_parent.clicks, 3);

    check.EnableClicks(FALSE);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(m_parent.clicks, 3);
    EXPECT_EQ(check.GetCheck(), 1);
}

TEST_F(OwnerDrawButtonTest, DocumentPathIsKeptWhole) {
    TestButton button;
    Make(button, "Help", BS_PUSHBUTTON);
    // Longer than any fixed path buffer, and not there: the click opens nothing.
    const QString path = WorkPath(QString(300, 'd') + "/manual.pdf");
    button.SetDocument(path);
    EXPECT_EQ(button.GetDocument(), path);
    QTest::mouseClick(button.GetQWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(m_parent.clicks, 1);
    EXPECT_EQ(button.GetDocument().size(), path.size());
}

TEST_F(OwnerDrawButtonTest, HoverFollowsTheMouse) {
    TestButton button;
    Make(button, "Go", BS_PUSHBUTTON);
    QWidget* widget = button.GetQWidget();
    QTest::mouseMove(widget, QPoint(20, 20));
    EXPECT_TRUE(button.IsHot());
    button.SendMessage(WM_MOUSELEAVE);
    EXPECT_FALSE(button.IsHot());

    // Coming in with the left button already held does not make it hot.
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 20));
    EXPECT_FALSE(button.IsHot());
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, 20));
    EXPECT_TRUE(button.IsHot());
    // Once hot, a move with the button held keeps it.
    button.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(31, 20));
    EXPECT_TRUE(button.IsHot());

    struct Case {
        const char* what;
        UINT message;
        WPARAM wParam;
    };
    const Case cancels[] = {{"cancel mode", WM_CANCELMODE, 0},
                            {"kill focus", WM_KILLFOCUS, 0},
                            {"deactivate", WM_ACTIVATE, WA_INACTIVE},
                            {"disable", WM_ENABLE, FALSE}};
    for (const Case& c : cancels) {
        SCOPED_TRACE(c.what);
        button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, 20));
        ASSERT_TRUE(button.IsHot());
        button.SendMessage(c.message, c.wParam);
        EXPECT_FALSE(button.IsHot());
    }
    // Outside the button the hot look goes.
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, 20));
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(250, 20));
    EXPECT_FALSE(button.IsHot());
}

TEST_F(OwnerDrawButtonTest, DisablingTheFocusedButtonMovesTheFocusOn) {
    TestButton first;
    Make(first, "One", BS_PUSHBUTTON);
    TestButton second;
    Make(second, "Two", BS_PUSHBUTTON, kButtonId + 1, CRect(10, 60, 110, 100));
    QApplication::setActiveWindow(m_parent.GetQWidget());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_parent.GetQWidget()));
    first.SetFocus();
    ASSERT_EQ(CWnd::GetFocus(), &first);
    first.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), &second);
    // Without another item the parent takes the focus.
    second.EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), &m_parent);
}

}  // namespace

TEST_F(OwnerDrawButtonTest, BitmapsKeepTheFaceWhereTheyAreTransparent) {
    TestButton button;
    Make(button, "", BS_PUSHBUTTON);
    const int face = COLOR_BTNFACE;
    const COLORREF green = RGB(0, 255, 0);
    ASSERT_TRUE(SetSysColors(1, &face, &green));
    button.SendMessage(WM_SYSCOLORCHANGE);
    // The in bitmap is red on its right half only.
    QImage in(16, 16, QImage::Format_ARGB32);
    in.fill(Qt::transparent);
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            in.setPixel(x, y, kInColor);
    button.SetBitmaps(in, Solid(kOutColor));
    const QPoint left(50 - 8 + 2, 20);
    const QPoint right(50 + 8 - 2, 20);
    QImage shot = Render(button, 0);
    EXPECT_EQ(shot.pixel(left), kOutColor) << "at rest the out bitmap";
    button.SetHot(TRUE);
    shot = Render(button, 0);
    EXPECT_EQ(shot.pixel(right), kInColor);
    EXPECT_EQ(shot.pixel(left), qRgb(0, 255, 0)) << "the face shows through the mask";
    // Disabled, a grey bitmap is embossed: neither of its colours is left.
    button.SetHot(FALSE);
    shot = Render(button, ODS_DISABLED);
    for (int x = 42; x < 58; ++x) {
        EXPECT_NE(shot.pixel(x, 20), kOutColor) << x;
        EXPECT_NE(shot.pixel(x, 20), kInColor) << x;
    }
    // Icons and bitmaps replace each other.
    button.SetIcon(Solid(kInColor));
    button.SetHot(TRUE);
    EXPECT_EQ(Render(button, 0).pixel(left), kInColor);
}

TEST_F(OwnerDrawButtonTest, TransparentButtonShowsTheParentsBackground) {
    m_parent.GetQWidget()->setAutoFillBackground(true);
    QPalette palette = m_parent.GetQWidget()->palette();
    palette.setColor(QPalette::Window, QColor(12, 34, 56));
    m_parent.GetQWidget()->setPalette(palette);
    TestButton button;
    Make(button, "", BS_PUSHBUTTON);
    EXPECT_NE(Render(button, 0).pixel(50, 20), qRgb(12, 34, 56));
    button.SetTransparent(TRUE);
    EXPECT_TRUE(button.IsTransparent());
    EXPECT_EQ(Render(button, 0).pixel(50, 20), qRgb(12, 34, 56));
}

TEST_F(OwnerDrawButtonTest, DropDownMenuShowsItsFirstSubMenuAndPostsTheChoice) {
    AfxSetMenuLoader([](UINT nID, CMenu& menu) -> BOOL {
        if (nID != 700)
            return FALSE;
        CMenu items;
        items.CreatePopupMenu();
        items.AppendMenu(MF_STRING, 501, "First");
        items.AppendMenu(MF_STRING, 502, "Second");
        menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(&items), "Drop");
        return TRUE;
    });
    MenuOwner owner;
    ASSERT_TRUE(owner.Create(nullptr, "owner", 0, CRect(0, 0, 10, 10), nullptr, 0));
    TestButton button;
    Make(button, "More", BS_PUSHBUTTON);
    EXPECT_FALSE(button.SetMenu(701, &owner));
    EXPECT_FALSE(button.HasMenu());
    ASSERT_TRUE(button.SetMenu(700, &owner));
    button.SetMenuCallback(&owner, MenuOwner::kCallbackMessage, 99);

    QStringList shown;
    QPoint at;
    bool pressedWhileShown = false;
    AfxSetPopupMenuTracker([&](QMenu* menu, const QPoint& screen) -> QAction* {
        for (QAction* action : menu->actions())
            shown << action->text();
        at = screen;
        pressedWhileShown = button.IsMenuShown();
        return menu->actions().value(1);
    });
    QTest::mouseClick(button.GetQWidget(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    AfxSetPopupMenuTracker({});
    AfxSetMenuLoader(nullptr);
    EXPECT_EQ(shown, QStringList({"First", "Second"}));
    EXPECT_TRUE(pressedWhileShown);
    EXPECT_FALSE(button.IsMenuShown());
    CRect window;
    button.GetWindowRect(&window);
    EXPECT_EQ(at, QPoint(window.left, window.bottom));
    ASSERT_EQ(owner.callbacks.size(), 1u);
    EXPECT_EQ(owner.callbacks.front().second, 99);
    EXPECT_EQ(m_parent.clicks, 1);
    // The choice is posted.
    for (int i = 0; i < 100 && owner.commands.empty(); ++i)
        QTest::qWait(10);
    EXPECT_EQ(owner.commands, std::vector<UINT>{502});
    owner.DestroyWindow();
}

TEST_F(OwnerDrawButtonTest, TooltipIsMadeOnFirstUseAndColoursAreSet) {
    TestButton button;
    Make(button, "Go", BS_PUSHBUTTON);
    EXPECT_FALSE(button.GetToolTip().GetSafeHwnd());
    button.SetTooltipText("Adds a video");
    EXPECT_TRUE(button.GetToolTip().GetSafeHwnd());
    EXPECT_TRUE(button.GetToolTip().IsActive());
    EXPECT_EQ(button.GetTooltipText(), "Adds a video");
    button.SetTooltipText("Adds a video file");
    EXPECT_EQ(button.GetToolTip().GetToolCount(), 1);
    EXPECT_EQ(button.GetTooltipText(), "Adds a video file");

    button.SetColour(COwnerDrawButton::kBackOut, Ref(kOutColor));
    button.SetColour(COwnerDrawButton::kBackIn, Ref(kInColor));
    EXPECT_EQ(button.GetColour(COwnerDrawButton::kBackOut), Ref(kOutColor));
    EXPECT_EQ(Render(button, 0).pixel(5, 5), kOutColor);
    button.SetHot(TRUE);
    EXPECT_EQ(Render(button, 0).pixel(5, 5), kInColor);
}
