#include "platform/framework/Cursor.h"
#include "platform/framework/Shell.h"
#include "platform/framework/Wnd.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

namespace {

// Answers WM_SETCURSOR with its own cursor when it has one, else leaves it to the default.
class CCursorWnd : public CWnd {
public:
    int m_cursor = 0;

protected:
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
        if (!m_cursor)
            return CWnd::OnSetCursor(pWnd, nHitTest, message);
        SetCursor(AfxLoadStandardCursor(m_cursor));
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCursorWnd, CWnd)
ON_WM_SETCURSOR()
END_MESSAGE_MAP()

class ShellTest : public IsolatedTest {};

TEST_F(ShellTest, WindowPictureGoesToTheClipboard) {
    CWnd wnd;
    EXPECT_FALSE(AfxCopyWindowToClipboard(&wnd));
    EXPECT_FALSE(AfxCopyWindowToClipboard(nullptr));
    ASSERT_TRUE(wnd.Create(nullptr, "w", 0, CRect(0, 0, 40, 30), nullptr, 0));
    ASSERT_TRUE(AfxCopyWindowToClipboard(&wnd));
    const QImage image = QGuiApplication::clipboard()->image();
    EXPECT_EQ(image.size(), QSize(40, 30));
}

TEST_F(ShellTest, OpeningSomethingThatIsNotThereFails) {
    EXPECT_FALSE(AfxShellOpen(""));
    EXPECT_FALSE(AfxShellOpen(WorkPath("missing.txt")));
    EXPECT_FALSE(AfxShellOpen("C:\\Reports\\missing.txt"));
    EXPECT_FALSE(AfxShellOpen("file://" + WorkPath("missing.txt")));
}

TEST_F(ShellTest, CommandLinesKeepQuotedAndEmptyWords) {
    const struct {
        const char* line;
        QStringList words;
    } cases[] = {
        {"prog \"\"", {"prog", ""}},
        {"\"/opt/My Tools/prog\" \"a b\" c", {"/opt/My Tools/prog", "a b", "c"}},
        {"  prog   x  ", {"prog", "x"}},
        {"prog C:\\dir\\ \"C:\\my dir\\\"", {"prog", "C:\\dir\\", "C:\\my dir\\"}},
        {"prog ab\"cd ef\"gh", {"prog", "abcd efgh"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AfxSplitCommandLine(QString::fromLatin1(c.line)), c.words) << c.line;
}

TEST_F(ShellTest, StartingAProgramReportsFailureBelow32) {
    EXPECT_GT(WinExec("true \"\"", SW_SHOW), 31u);
    EXPECT_EQ(WinExec(WorkPath("VidraProAnalysis.exe") + " \"\"", SW_SHOW), 2u);
    EXPECT_EQ(WinExec("", SW_SHOW), 2u);
}

TEST_F(ShellTest, SetCursorAsksTheWindowThenItsParentThenFallsBackToTheArrow) {
    CCursorWnd parent;
    ASSERT_TRUE(parent.Create(nullptr, "p", 0, CRect(0, 0, 100, 100), nullptr, 0));
    CCursorWnd child;
    ASSERT_TRUE(child.Create(nullptr, "c", WS_CHILD, CRect(0, 0, 50, 50), &parent, 1));
    QWidget* w = child.GetQWidget();

    struct Case {
        int parentCursor;
        int childCursor;
        Qt::CursorShape shape;
    };
    for (const Case& c :
         {Case{0, IDC_WAIT, Qt::WaitCursor}, Case{IDC_HAND, 0, Qt::PointingHandCursor},
          Case{IDC_HAND, IDC_WAIT, Qt::WaitCursor}, Case{0, 0, Qt::ArrowCursor}}) {
        parent.m_cursor = c.parentCursor;
        child.m_cursor = c.childCursor;
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
        EXPECT_EQ(w->cursor().shape(), c.shape) << c.parentCursor << "/" << c.childCursor;
    }
}

}  // namespace
