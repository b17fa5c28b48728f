#include "frames/MessagePoster.h"
#include "platform/framework/MessageQueue.h"
#include "platform/framework/Wnd.h"

#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr UINT kNotice = 1591;

// Records the private messages that reach it.
class CNoticeWnd : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> received;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kNotice)
            received.emplace_back(wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

class MessagePosterTest : public IsolatedTest {};

TEST_F(MessagePosterTest, PostsLaterToItsWindow) {
    CNoticeWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "notice", 0, CRect(0, 0, 10, 10), nullptr, 0));
    CMessagePoster poster;
    EXPECT_EQ(QueryId<IMessagePoster>(&poster), static_cast<IMessagePoster*>(&poster));
    EXPECT_EQ(poster.SetWindow(wnd.GetSafeHwnd()), S_OK);
    EXPECT_EQ(poster.PostMessage(kNotice, 3, -4), S_OK);
    EXPECT_TRUE(wnd.received.empty()) << "posted, not sent";
    AfxPumpMessage();
    ASSERT_EQ(wnd.received.size(), 1u);
    EXPECT_EQ(wnd.received[0], (std::pair<WPARAM, LPARAM>{3, -4}));
}

TEST_F(MessagePosterTest, PostsToAWindowThatIsGoneAreDropped) {
    CMessagePoster poster;
    EXPECT_EQ(poster.PostMessage(kNotice, 1, 1), S_OK);  // no window yet

    CNoticeWnd wnd;
    ASSERT_TRUE(wnd.Create(nullptr, "notice", 0, CRect(0, 0, 10, 10), nullptr, 0));
    poster.SetWindow(wnd.GetSafeHwnd());
    EXPECT_EQ(poster.PostMessage(kNotice, 2, 2), S_OK);  // queued while the window lives
    wnd.DestroyWindow();
    EXPECT_EQ(poster.PostMessage(kNotice, 3, 3), S_OK);  // the handle is stale by now

    CNoticeWnd successor;  // a window made afterwards must not receive them either
    ASSERT_TRUE(successor.Create(nullptr, "next", 0, CRect(0, 0, 10, 10), nullptr, 0));
    AfxPumpMessage();
    EXPECT_TRUE(wnd.received.empty());
    EXPECT_TRUE(successor.received.empty());
}
