#include "platform/framework/Button.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/DialogBar.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/ToolBar.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMainWindow>
#include <QToolBar>

namespace {

constexpr UINT kBarTemplate = 9501;
constexpr int kPlay = 1005;
constexpr int kRecord = 2028;
constexpr int kOrphan = 2029;

CResourceModule BarModule() {
    CResourceModule module;
    module.name = QStringLiteral("bar tests");
    DialogTemplate bar;
    bar.id = kBarTemplate;
    bar.style = WS_CHILD;
    bar.cx = 200;
    bar.cy = 30;
    const DWORD button = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    bar.items = {
        {DlgControl::Button, kPlay, QStringLiteral("Play"), 5, 5, 40, 20, button},
        {DlgControl::Button, kRecord, QStringLiteral("Record"), 50, 5, 40, 20, button},
        {DlgControl::Button, kOrphan, QStringLiteral("Other"), 95, 5, 40, 20, button},
        {DlgControl::Static, 2021, QStringLiteral("Group"), 140, 8, 50, 10, WS_CHILD | WS_VISIBLE},
    };
    module.dialogs.push_back(bar);
    return module;
}

// A frame that takes the bar's commands and decides whether Record is possible.
class CBarFrame : public CFrameWnd {
    DECLARE_MESSAGE_MAP()

public:
    int m_plays = 0;
    bool m_canRecord = false;

protected:
    void OnPlay() { ++m_plays; }
    void OnRecord() {}
    void OnUpdateRecord(CCmdUI* pCmdUI) { pCmdUI->Enable(m_canRecord); }
};

BEGIN_MESSAGE_MAP(CBarFrame, CFrameWnd)
ON_BN_CLICKED(kPlay, OnPlay)
ON_COMMAND(kRecord, OnRecord)
ON_UPDATE_COMMAND_UI(kRecord, OnUpdateRecord)
END_MESSAGE_MAP()

class DialogBarTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&m_module);
        m_frame = new CBarFrame;
        ASSERT_TRUE(m_frame->LoadFrame(0));
        m_frame->MoveWindow(0, 0, 640, 480);
        m_frame->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        m_frame->DestroyWindow();
        CResourceChain::RemoveModule(&m_module);
        IsolatedTest::TearDown();
    }

    QAbstractButton* Button(CDialogBar& bar, int id) {
        return dynamic_cast<QAbstractButton*>(bar.GetDlgItem(id)->GetQWidget());
    }

    CResourceModule m_module = BarModule();
    CBarFrame* m_frame = nullptr;
};

TEST_F(DialogBarTest, DocksAtTheBottomWithTheTemplatesSize) {
    CDialogBar bar;
    ASSERT_TRUE(bar.Create(m_frame, kBarTemplate, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE820));
    auto* main = static_cast<QMainWindow*>(m_frame->GetQWidget());
    auto* strip = qobject_cast<QToolBar*>(bar.GetDockWidget());
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(main->toolBarArea(strip), Qt::BottomToolBarArea);
    EXPECT_EQ(m_frame->GetControlBar(0xE820), &bar);
    QCoreApplication::processEvents();
    const CSize size = bar.CalcFixedLayout(TRUE, TRUE);
    const CSize base = CDialog::DialogBaseUnits(CDialog::TemplateFont(m_module.dialogs[0]));
    EXPECT_EQ(size.cy, (30 * base.cy + 4) / 8);
    EXPECT_EQ(bar.GetQWidget()->height(), size.cy);
    EXPECT_TRUE(bar.IsVisible());
    ASSERT_NE(bar.GetDlgItem(kPlay), nullptr);
    EXPECT_EQ(bar.GetDlgItem(kPlay)->GetQWidget()->x(), (5 * base.cx + 2) / 4);
}

TEST_F(DialogBarTest, CommandsGoToTheFrameAndButtonsFollowTheirUpdateHandlers) {
    CDialogBar bar;
    ASSERT_TRUE(bar.Create(m_frame, kBarTemplate, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE820));
    Button(bar, kPlay)->click();
    Button(bar, kPlay)->click();
    EXPECT_EQ(m_frame->m_plays, 2);

    bar.OnUpdateCmdUI(m_frame, TRUE);
    EXPECT_TRUE(Button(bar, kPlay)->isEnabled());
    EXPECT_FALSE(Button(bar, kRecord)->isEnabled());
    EXPECT_FALSE(Button(bar, kOrphan)->isEnabled());
    m_frame->m_canRecord = true;
    bar.OnUpdateCmdUI(m_frame, FALSE);
    EXPECT_TRUE(Button(bar, kRecord)->isEnabled());
    EXPECT_FALSE(Button(bar, kOrphan)->isEnabled());
}

TEST_F(DialogBarTest, ToolBarLoadsItsButtonsAndImagesFromTheChain) {
    QImage strip(32, 15, QImage::Format_RGB32);
    strip.fill(Qt::blue);
    ASSERT_TRUE(strip.save(WorkPath("bar.png")));
    CResourceModule tools;
    tools.name = QStringLiteral("toolbar");
    tools.toolBars.push_back({128, 16, 15, {kPlay, 0, kRecord}});
    tools.bitmaps.push_back({128, WorkPath("bar.png")});
    CResourceChain::AddModule(&tools);
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(m_frame));
    EXPECT_FALSE(bar.LoadToolBar(129));
    ASSERT_TRUE(bar.LoadToolBar(128));
    EXPECT_EQ(bar.GetCount(), 3);
    EXPECT_EQ(bar.GetItemID(2), static_cast<UINT>(kRecord));
    EXPECT_EQ(bar.CommandToIndex(kPlay), 0);
    EXPECT_FALSE(bar.GetButtonAction(2)->icon().isNull());
    CResourceChain::RemoveModule(&tools);
}

TEST_F(DialogBarTest, MissingTemplateMakesNoBar) {
    CDialogBar bar;
    EXPECT_FALSE(bar.Create(m_frame, 4242, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE821));
    EXPECT_EQ(bar.GetSafeHwnd(), nullptr);
}

}  // namespace
