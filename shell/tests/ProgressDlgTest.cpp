#include "platform/framework/Button.h"
#include "resources/ProgramResources.h"
#include "shell/MainFrame.h"
#include "shell/ProgressDlg.h"
#include "shell/TimedProgressDlg.h"
#include "testsupport/IsolatedTest.h"

#include <QCoreApplication>

namespace {

class ProgressDlgTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
    }
};

TEST_F(ProgressDlgTest, OpensWithTitleRangeAndText) {
    CProgressDlg dlg;
    dlg.m_strTitle = "Reading";
    dlg.m_strText = "Frame 1";
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.GetWindowText(), "Reading");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_PROGRESS_TEXT), "Frame 1");
    EXPECT_TRUE(dlg.SetPos(40));
    EXPECT_TRUE(CProgressDlg::SetPos(&dlg, 50));
    EXPECT_FALSE(CProgressDlg::SetPos(nullptr, 50));
}

TEST_F(ProgressDlgTest, CancelPressedDuringTheOperationStopsItOnTheNextStep) {
    CProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    EXPECT_TRUE(dlg.SetPos(10));
    // The click arrives as a message the next step lets through.
    dlg.PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_FALSE(dlg.SetPos(20));
    EXPECT_TRUE(dlg.IsCancelled());
    EXPECT_FALSE(dlg.SetPos(30));
}

TEST_F(ProgressDlgTest, OpenDialogHoldsTheMainWindowOpen) {
    const int before = CMainFrame::GetCloseBlockCount();
    {
        CProgressDlg dlg;
        ASSERT_TRUE(dlg.Create());
        EXPECT_EQ(CMainFrame::GetCloseBlockCount(), before + 1);
    }
    EXPECT_EQ(CMainFrame::GetCloseBlockCount(), before);
}

TEST_F(ProgressDlgTest, TimedDialogWrapsAboveHundred) {
    CTimedProgressDlg dlg;
    ASSERT_TRUE(dlg.Create());
    dlg.StartTimer(100000, 30);
    const int expected[] = {30, 60, 90, 0, 30, 60};
    for (int position : expected) {
        dlg.OnTimer(CTimedProgressDlg::kTimerId);
        EXPECT_EQ(dlg.GetCurrentPos(), position);
    }
    dlg.StartTimer(100000, 50);
    EXPECT_EQ(dlg.GetCurrentPos(), 0);
    const int halves[] = {50, 100, 0};
    for (int position : halves) {
        dlg.OnTimer(CTimedProgressDlg::kTimerId);
        EXPECT_EQ(dlg.GetCurrentPos(), position);
    }
}

}  // namespace
