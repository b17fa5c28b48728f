#include "resources/ProjectFrameTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;

DialogTemplate GroupBar() {
    DialogTemplate bar;
    bar.id = 30048;
    bar.style = WS_CHILD;
    bar.cx = 360;
    bar.cy = 30;
    bar.items = {
        // Shown only once the frame has filled in its tabs.
        {DlgControl::Tab, 1004, QString(), 0, 0, 250, 14, WS_CHILD | WS_TABSTOP},
        {DlgControl::Button, 2028, QStringLiteral("Record"), 4, 15, 24, 14, kButton},
        {DlgControl::Button, 1005, QStringLiteral("Play"), 30, 15, 24, 14, kButton},
        {DlgControl::Static, 2021, QString(), 290, 2, 66, 26, kVisible},
    };
    return bar;
}

DialogTemplate ControlPanel() {
    DialogTemplate panel;
    panel.id = 30088;
    panel.caption = QStringLiteral("Generic Control Panel");
    panel.style = WS_CHILD;
    panel.cx = 200;
    panel.cy = 330;
    panel.items = {
        // Down the left side: the bar shows its pages to the right of the tabs.
        {DlgControl::Tab, 1004, QString(), 0, 2, 12, 296, WS_CHILD | WS_TABSTOP | TCS_VERTICAL},
        {DlgControl::Static, 2204, QString(), 2, 300, 196, 26, kVisible},
    };
    return panel;
}

}  // namespace

std::vector<DialogTemplate> ProjectFrameTemplates() {
    return {GroupBar(), ControlPanel()};
}
