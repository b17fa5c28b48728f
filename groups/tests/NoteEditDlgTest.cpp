#include "groups/NoteEditDlg.h"

#include <gtest/gtest.h>

namespace {

// Pane places in a 400 by 300 client: W = 380, H = 290.
TEST(NoteEditDlgTest, PanesArePlacedForEachPaneCount) {
    using Places = std::array<CNoteEditDlg::PanePlace, CNoteEditDlg::kPanes>;
    const struct {
        std::array<bool, 4> visible;
        std::vector<CRect> edits;  // of the shown panes, in pane order
        std::vector<CRect> titles;
    } cases[] = {
        {{true, false, false, false}, {{10, 20, 390, 280}}, {{10, 5, 390, 20}}},
        {{true, true, false, false},
         {{10, 20, 390, 130}, {10, 150, 390, 280}},
         {{10, 5, 390, 20}, {10, 135, 390, 150}}},
        {{true, true, true, false},
         {{10, 20, 390, 83}, {10, 103, 390, 176}, {10, 196, 390, 280}},
         {{10, 5, 390, 20}, {10, 88, 390, 103}, {10, 181, 390, 196}}},
        {{true, true, true, true},
         {{10, 20, 195, 130}, {10, 150, 195, 280}, {200, 20, 385, 130}, {200, 150, 385, 280}},
         {{10, 5, 195, 20}, {10, 135, 195, 150}, {200, 5, 385, 20}, {200, 135, 385, 150}}},
        // Hidden panes keep their order among the shown ones.
        {{true, false, false, true},
         {{10, 20, 390, 130}, {10, 150, 390, 280}},
         {{10, 5, 390, 20}, {10, 135, 390, 150}}},
    };
    for (const auto& c : cases) {
        const Places places = CNoteEditDlg::Places(c.visible, 400, 300);
        size_t shown = 0;
        for (size_t pane = 0; pane < places.size(); ++pane) {
            SCOPED_TRACE(testing::Message() << c.edits.size() << " panes, pane " << pane);
            ASSERT_EQ(places[pane].shown, c.visible[pane]);
            if (!places[pane].shown)
                continue;
            EXPECT_EQ(places[pane].edit, c.edits[shown]);
            EXPECT_EQ(places[pane].title, c.titles[shown]);
            ++shown;
        }
    }
}

TEST(NoteEditDlgTest, ASmallPanelKeepsAMinimumHeight) {
    const auto places = CNoteEditDlg::Places({true, false, false, false}, 100, 40);
    EXPECT_EQ(places[0].edit, CRect(10, 20, 90, 90));
}

}  // namespace
