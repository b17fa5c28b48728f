#include "platform/controls/MultiPointerSlide.h"

#include "testsupport/IsolatedTest.h"

#include <QTest>

#include <utility>
#include <vector>

namespace {

class MultiPointerSlideTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_slide = std::make_unique<CMultiPointerSlide>(4, nullptr);
        m_slide->resize(2 * CMultiPointerSlide::kTrackMargin + 256, 24);
        m_slide->SetRange(-128, 127);
        m_slide->show();
        m_slide->SetValueCallback(
            [this](int pointer, int value) { m_values.emplace_back(pointer, value); });
        m_slide->SetMouseDownCallback([this](int) { ++m_downs; });
    }
    std::unique_ptr<CMultiPointerSlide> m_slide;
    std::vector<std::pair<int, int>> m_values;
    int m_downs = 0;
};

TEST_F(MultiPointerSlideTest, TheNearestVisiblePointerFollowsTheMouse) {
    for (int value : {-128, 0, 127})
        EXPECT_EQ(m_slide->ValueAt(m_slide->PositionOf(value)), value) << value;
    m_slide->SetPointerValue(1, -100);
    m_slide->SetPointerValue(2, 50);
    m_slide->SetPointerValue(3, 300);  // kept inside the range
    EXPECT_EQ(m_slide->PointerValue(3), 127);
    m_slide->SetPointerVisible(4, false);
    EXPECT_TRUE(m_values.empty()) << "values the owner sets do not call back";

    const int y = 12;
    QTest::mousePress(m_slide.get(), Qt::LeftButton, {}, QPoint(m_slide->PositionOf(40), y));
    QTest::mouseMove(m_slide.get(), QPoint(m_slide->PositionOf(30), y));
    QTest::mouseRelease(m_slide.get(), Qt::LeftButton, {}, QPoint(m_slide->PositionOf(30), y));
    EXPECT_EQ(m_downs, 1);
    ASSERT_FALSE(m_values.empty());
    EXPECT_EQ(m_values.front(), std::make_pair(2, 40));
    EXPECT_EQ(m_values.back(), std::make_pair(2, 30));
    EXPECT_EQ(m_slide->PointerValue(2), 30);

    // A hidden pointer is never taken, however near; with none shown nothing moves.
    m_slide->SetPointerVisible(2, false);
    m_values.clear();
    QTest::mousePress(m_slide.get(), Qt::LeftButton, {}, QPoint(m_slide->PositionOf(30), y));
    ASSERT_EQ(m_values.size(), 1u);
    EXPECT_EQ(m_values[0].first, 3);
    for (int pointer = 1; pointer <= 4; ++pointer)
        m_slide->SetPointerVisible(pointer, false);
    m_values.clear();
    QTest::mousePress(m_slide.get(), Qt::LeftButton, {}, QPoint(m_slide->PositionOf(0), y));
    EXPECT_TRUE(m_values.empty());
}

}  // namespace
