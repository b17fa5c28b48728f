#include "resources/PlayGroupToolBars.h"

std::vector<ToolBarTemplate> PlayGroupToolBars() {
    ToolBarTemplate group;
    group.id = 155;
    group.buttons = {32802, 32805, 32807};
    ToolBarTemplate view;
    view.id = 356;
    view.buttons = {32775, 32776, 0, 32777, 32778, 0, 32779, 32780};
    return {group, view};
}
