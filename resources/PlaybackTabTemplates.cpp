#include "resources/PlaybackTabTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr int kStatic = -1;
constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kAutoCheck = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kReadOnly = WS_CHILD | WS_VISIBLE | ES_READONLY;

// The transport row shared by both pages, left to right, from x at y.
std::vector<DialogItemTemplate> PlayButtons(int x, int y) {
    const struct {
        int id;
        const char* caption;
    } buttons[] = {{2002, "Rew"}, {2009, "Play"}, {2004, "Back"}, {2003, "Stop"},
                   {2005, "Fwd"}, {2001, "Play"}, {2010, "FFwd"}};
    std::vector<DialogItemTemplate> items;
    for (const auto& button : buttons) {
        items.push_back({DlgControl::Button, button.id, QString::fromLatin1(button.caption), x, y,
                         22, 14, kTab});
        x += 24;
    }
    return items;
}

DialogTemplate PlaybackPage() {
    DialogTemplate page;
    page.id = 181;
    page.caption = QStringLiteral("Playback");
    page.style = WS_CHILD;
    page.cx = 180;
    page.cy = 170;
    page.items = {
        {DlgControl::TreeView, 2018, QString(), 4, 4, 172, 120, kTab | WS_BORDER},
        {DlgControl::Button, 2020, QStringLiteral("Add Video"), 4, 128, 84, 16, kTab},
        {DlgControl::Button, 2019, QStringLiteral("Add Data"), 92, 128, 84, 16, kTab},
    };
    for (DialogItemTemplate& item : PlayButtons(4, 150))
        page.items.push_back(item);
    return page;
}

// Laid out to the width of the project's control panel, beside the tab buttons.
DialogTemplate PlayControlPage() {
    DialogTemplate page;
    page.id = 1625;
    page.caption = QStringLiteral("Play Control");
    page.style = WS_CHILD;
    page.cx = 180;
    page.cy = 204;
    page.items = {
        {DlgControl::TreeView, 2018, QString(), 4, 4, 172, 64, kTab | WS_BORDER},
        // The position slide's place; the page puts the slide control here.
        {DlgControl::Static, 1317, QString(), 4, 72, 172, 18, kVisible},
        {DlgControl::Static, 1019, QString(), 4, 92, 40, 8, kVisible},
        {DlgControl::Static, 1006, QString(), 48, 92, 40, 8, kVisible},
        {DlgControl::Static, 1007, QString(), 92, 92, 40, 8, kVisible},
        {DlgControl::Static, 1013, QString(), 136, 92, 40, 8, kVisible},
        {DlgControl::Static, 1135, QString(), 4, 101, 40, 8, kVisible},
        {DlgControl::Static, 1008, QString(), 48, 101, 40, 8, kVisible},
        {DlgControl::Static, 1009, QString(), 92, 101, 40, 8, kVisible},
        {DlgControl::Static, 1015, QString(), 136, 101, 40, 8, kVisible},
    };
    for (DialogItemTemplate& item : PlayButtons(4, 112))
        page.items.push_back(item);
    const std::vector<DialogItemTemplate> rest = {
        {DlgControl::Button, 2006, QStringLiteral("Continuous"), 4, 130, 56, 10, kAutoCheck},
        {DlgControl::Button, 2007, QStringLiteral("Synchronize"), 62, 130, 58, 10, kAutoCheck},
        {DlgControl::Button, 2011, QStringLiteral("Base Sync."), 122, 130, 54, 10, kAutoCheck},
        {DlgControl::Static, kStatic, QStringLiteral("Frame:"), 4, 146, 24, 8, kVisible},
        {DlgControl::Edit, 1014, QString(), 30, 144, 50, 12, kReadOnly | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("Time:"), 86, 146, 20, 8, kVisible},
        {DlgControl::Edit, 1016, QString(), 108, 144, 68, 12, kReadOnly | WS_BORDER},
        {DlgControl::Button, 1127, QStringLiteral("Jump"), 4, 160, 30, 14, kTab},
        {DlgControl::Edit, 1128, QString(), 38, 161, 42, 12, kTab | WS_BORDER},
        {DlgControl::Button, 1138, QStringLiteral("Zero"), 86, 160, 30, 14, kTab},
        {DlgControl::Static, kStatic, QStringLiteral("Ratio:"), 4, 180, 24, 8, kVisible},
        {DlgControl::Edit, 2008, QString(), 30, 178, 24, 12, kTab | WS_BORDER},
        {DlgControl::Slider, 1311, QString(), 58, 176, 76, 16, kTab},
        {DlgControl::Edit, 2012, QString(), 138, 178, 38, 12, kReadOnly | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("fps"), 138, 192, 38, 8, kVisible},
    };
    page.items.insert(page.items.end(), rest.begin(), rest.end());
    return page;
}

// The play group's own control panel, which holds both pages when the group stands alone.
DialogTemplate GroupControlPanel() {
    DialogTemplate panel;
    panel.id = 140;
    panel.caption = QStringLiteral("Generic Control Panel");
    panel.style = WS_CHILD;
    panel.cx = 200;
    panel.cy = 330;
    panel.items = {
        {DlgControl::Tab, 1004, QString(), 2, 2, 196, 14, WS_CHILD | WS_TABSTOP},
    };
    return panel;
}

}  // namespace

std::vector<DialogTemplate> PlaybackTabTemplates() {
    return {PlaybackPage(), PlayControlPage(), GroupControlPanel()};
}
