#include "resources/LutColorAdjustTemplates.h"

#include "platform/framework/ControlWidgets.h"

std::vector<DialogTemplate> LutColorAdjustTemplates() {
    std::vector<DialogTemplate> templates;
    for (int id : {30049, 30100}) {
        DialogTemplate t;
        t.id = id;
        t.caption = QStringLiteral("Color Adjustment");
        t.cx = 270;
        t.cy = 250;
        t.items = {
            {DlgControl::Static, 1014, QString(), 2, 2, 266, 246, WS_CHILD | WS_VISIBLE},
            {DlgControl::Static, 1015,
             QStringLiteral("The look-up-table editor (Levora) is not registered or cannot be "
                            "loaded: colour adjustment is not available."),
             7, 7, 256, 40, WS_CHILD},
        };
        templates.push_back(t);
    }
    return templates;
}
