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

DialogTemplate PlayControlPage() {
    DialogTemplate page;
    page.id = 1625;
    page.caption = QStringLiteral("Play Control");
    page.style = WS_CHILD;
    page.cx = 320;
    page.cy = 150;
    page.items = {
        {DlgControl::TreeView, 2018, QString(), 4, 4, 120, 142, kTab | WS_BORDER},
        // The position slide's place; the page puts the slide control here.
        {DlgControl::Static, 1317, QString(), 130, 4, 186, 18, kVisible},
        {DlgControl::Static, 1019, QString(), 130, 24, 36, 8, kVisible},
        {DlgControl::Static, 1006, QString(), 180, 24, 36, 8, kVisible},
        {DlgControl::Static, 1007, QString(), 230, 24, 36, 8, kVisible},
        {DlgControl::Static, 1013, QString(), 280, 24, 36, 8, kVisible},
        {DlgControl::Static, 1135, QString(), 130, 33, 36, 8, kVisible},
        {DlgControl::Static, 1008, QString(), 180, 33, 36, 8, kVisible},
        {DlgControl::Static, 1009, QString(), 230, 33, 36, 8, kVisible},
        {DlgControl::Static, 1015, QString(), 280, 33, 36, 8, kVisible},
    };
    for (DialogItemTemplate& item : PlayButtons(130, 44))
        page.items.push_back(item);
    const std::vector<DialogItemTemplate> rest = {
        {DlgControl::Button, 2006, QStringLiteral("Continuous"), 130, 62, 58, 10, kAutoCheck},
        {DlgControl::Button, 2007, QStringLiteral("Synchronize"), 192, 62, 60, 10, kAutoCheck},
        {DlgControl::Button, 2011, QStringLiteral("Base Sync."), 256, 62, 60, 10, kAutoCheck},
        {DlgControl::Static, kStatic, QStringLiteral("Frame:"), 130, 78, 24, 8, kVisible},
        {DlgControl::Edit, 1014, QString(), 156, 76, 50, 12, kReadOnly | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("Time:"), 214, 78, 20, 8, kVisible},
        {DlgControl::Edit, 1016, QString(), 236, 76, 60, 12, kReadOnly | WS_BORDER},
        {DlgControl::Button, 1127, QStringLiteral("Jump"), 130, 94, 30, 14, kTab},
        {DlgControl::Edit, 1128, QString(), 164, 95, 42, 12, kTab | WS_BORDER},
        {DlgControl::Button, 1138, QStringLiteral("Zero"), 214, 94, 30, 14, kTab},
        {DlgControl::Static, kStatic, QStringLiteral("Ratio:"), 130, 116, 24, 8, kVisible},
        {DlgControl::Edit, 2008, QString(), 156, 114, 24, 12, kTab | WS_BORDER},
        {DlgControl::Slider, 1311, QString(), 186, 112, 90, 16, kTab},
        {DlgControl::Edit, 2012, QString(), 280, 114, 36, 12, kReadOnly | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("fps"), 280, 130, 36, 8, kVisible},
    };
    page.items.insert(page.items.end(), rest.begin(), rest.end());
    return page;
}

}  // namespace

std::vector<DialogTemplate> PlaybackTabTemplates() {
    return {PlaybackPage(), PlayControlPage()};
}
