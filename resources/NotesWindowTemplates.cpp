#include "resources/NotesWindowTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

DialogTemplate NotePanel() {
    DialogTemplate panel;
    panel.id = 378;
    panel.style = WS_CHILD;
    panel.cx = 200;
    panel.cy = 240;
    // The panel lays its panes out itself whenever its size or the pane count changes.
    const int edits[] = {2193, 1004, 1005, 1006};
    const int titles[] = {2194, 2195, 2196, 2197};
    for (int pane = 0; pane < 4; ++pane) {
        const int y = 4 + pane * 58;
        panel.items.push_back(
            {DlgControl::Static, titles[pane], QStringLiteral("Title"), 6, y, 188, 8, kVisible});
        panel.items.push_back({DlgControl::Edit, edits[pane], QString(), 6, y + 10, 188, 44,
                               kTab | WS_BORDER | WS_VSCROLL | ES_MULTILINE});
    }
    return panel;
}

DialogTemplate NavigationBar() {
    DialogTemplate bar;
    bar.id = 379;
    bar.style = WS_CHILD;
    bar.cx = 150;
    bar.cy = 34;
    bar.items = {
        {DlgControl::Button, -1, QStringLiteral("Note Step"), 2, 1, 60, 31, kVisible | BS_GROUPBOX},
        {DlgControl::Button, 2198, QStringLiteral("<"), 8, 12, 22, 16, kTab},
        {DlgControl::Button, 2199, QStringLiteral(">"), 34, 12, 22, 16, kTab},
        {DlgControl::Button, -1, QStringLiteral("Panes"), 66, 1, 44, 31, kVisible | BS_GROUPBOX},
        {DlgControl::ComboBox, 2200, QString(), 72, 13, 32, 60, kTab | CBS_DROPDOWNLIST},
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 0, 0, 0, 0, WS_CHILD},
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 0, 0, 0, 0, WS_CHILD},
    };
    return bar;
}

}  // namespace

std::vector<DialogTemplate> NotesWindowTemplates() {
    return {NotePanel(), NavigationBar()};
}
