#pragma once

// CStyleListCtrl: the channel lists of the sensor settings dialogs. A click selects the row
// under the mouse. Cells draw themselves by their text: "fooColor <colour>" is a swatch of the
// colour word, "fooShape <colour> <shape> <size> <pen>" a plot marker, "fooIcon <id> <width>
// <height>" the icon of that resource id; any other cell is its text on white, cut to the
// column with an ellipsis. The selected row is highlighted and the focused row framed.

#include "platform/framework/ListCtrl.h"

class CStyleListCtrl : public CListCtrl {
    DECLARE_DYNAMIC(CStyleListCtrl)

public:
    // The first selected row, or -1.
    int GetSelectedIndex() const;
    // Selects the row (and focuses it) and clears every other selection.
    void SelectOnly(int row);

protected:
    void PreSubclassWindow() override;
};
