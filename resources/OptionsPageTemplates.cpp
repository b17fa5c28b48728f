#include "resources/OptionsPageTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr int kStatic = -1;
constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kAutoCheck = kTab | BS_AUTOCHECKBOX;
constexpr int kRestoreDefaults = 2038;

DialogTemplate Page(UINT id, const char* caption) {
    DialogTemplate page;
    page.id = id;
    page.caption = QString::fromLatin1(caption);
    page.style = WS_CHILD;
    page.cx = 276;
    page.cy = 150;
    return page;
}

DialogItemTemplate Check(int id, const char* text, int x, int y, int cx = 130) {
    return {DlgControl::Button, id, QString::fromLatin1(text), x, y, cx, 10, kAutoCheck};
}

DialogItemTemplate RestoreDefaults() {
    return {DlgControl::Button,
            kRestoreDefaults,
            QStringLiteral("Restore Defaults"),
            200,
            132,
            70,
            14,
            kTab};
}

DialogTemplate GeneralPage() {
    DialogTemplate page = Page(30099, "General Settings");
    const struct {
        int id;
        const char* text;
    } left[] = {{2109, "Open Into Existing"},
                {2203, "Open PG Into Existing"},
                {2111, "Open Device Playback Into Existing"},
                {2143, "Automatically open similarly named files"},
                {2216, "Prompt for verification when closing from device memory"},
                {2268, "Show Group Manager window at startup"},
                {2269, "Show Group Contents window at startup"},
                {2118, "Update Play Controller While Tracking"}},
      right[] = {{2115, "Maintain at Least One "},
                 {2117, "Control Panel Docked to Project (or application)"},
                 {2116, "Remove Widow Max, Min, and Close Controls "},
                 {2113, "Start new Play Groups maximized"},
                 {2112, "Start with Empty"},
                 {2114, "Always Maximized "}};
    page.items.push_back(Check(2110, "Basic Interface (single Play Group window only)", 6, 4, 264));
    int y = 18;
    for (const auto& item : left) {
        page.items.push_back(Check(item.id, item.text, 6, y));
        y += 13;
    }
    y = 18;
    for (const auto& item : right) {
        page.items.push_back(Check(item.id, item.text, 140, y));
        y += 13;
    }
    page.items.push_back(RestoreDefaults());
    return page;
}

DialogTemplate VideoPage() {
    DialogTemplate page = Page(30114, "Video");
    page.items = {
        {DlgControl::Static, kStatic, QStringLiteral("Render Zoomed Image Using :"), 6, 8, 100, 8,
         kVisible},
        {DlgControl::ComboBox, 2257, QString(), 110, 6, 110, 80, kTab | CBS_DROPDOWNLIST},
        Check(2258, "Show Reticle", 6, 26),
        Check(2259, "Show Rulers", 6, 40),
        Check(2260, "Show Information", 6, 54),
    };
    return page;
}

DialogTemplate UpdatePage() {
    DialogTemplate page = Page(30113, "Update");
    page.items = {
        Check(2254, "Automatically check for updates every", 6, 8, 140),
        {DlgControl::Edit, 2256, QString(), 148, 6, 30, 12, kTab | WS_BORDER},
        {DlgControl::Spin, 2013, QString(), 178, 6, 10, 12,
         kVisible | UDS_AUTOBUDDY | UDS_SETBUDDYINT},
        {DlgControl::Static, kStatic, QStringLiteral("days"), 192, 8, 30, 8, kVisible},
        RestoreDefaults(),
    };
    return page;
}

DialogItemTemplate Radio(int id, const char* text, int x, int y, bool first, int cx = 120) {
    return {DlgControl::Button,
            id,
            QString::fromLatin1(text),
            x,
            y,
            cx,
            10,
            kTab | BS_AUTORADIOBUTTON | (first ? WS_GROUP : 0)};
}

DialogTemplate SnapkeepPage() {
    DialogTemplate page = Page(30063, "Snap Keep");
    page.items = {
        {DlgControl::Static, kStatic, QStringLiteral("Save into folders:"), 6, 4, 120, 8, kVisible},
        {DlgControl::ListBox, 1228, QString(), 6, 14, 200, 44, kTab | WS_BORDER | WS_VSCROLL},
        {DlgControl::Button, 1173, QStringLiteral("Add..."), 212, 14, 58, 14, kTab},
        {DlgControl::Button, 1229, QStringLiteral("Remove"), 212, 32, 58, 14, kTab},
        {DlgControl::Static, kStatic, QStringLiteral("Base name:"), 6, 66, 50, 8, kVisible},
        {DlgControl::Edit, 1174, QString(), 60, 64, 100, 12, kTab | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("Format:"), 6, 82, 50, 8, kVisible},
        {DlgControl::Edit, 2090, QString(), 60, 80, 50, 12, kTab | WS_BORDER | ES_READONLY},
        {DlgControl::Button, 2089, QStringLiteral("Edit..."), 114, 79, 46, 14, kTab},
        Radio(1175, "All", 6, 100, true, 40),
        Radio(1169, "Range", 50, 100, false, 40),
        {DlgControl::Edit, 1013, QString(), 94, 98, 40, 12, kTab | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("to"), 138, 100, 12, 8, kVisible},
        {DlgControl::Edit, 1014, QString(), 152, 98, 40, 12, kTab | WS_BORDER},
        RestoreDefaults(),
    };
    return page;
}

DialogTemplate SnapkeepAdvancedPage() {
    DialogTemplate page = Page(30064, "Snap Keep Advanced");
    page.items = {
        {DlgControl::Button, kStatic, QStringLiteral("Same name"), 4, 2, 130, 64,
         kVisible | BS_GROUPBOX},
        Radio(2091, "Auto Increment ", 10, 14, true),
        Radio(2092, "Secondary Name Increment", 10, 26, false),
        Radio(2093, "Overwrite", 10, 38, false),
        Radio(2094, "Skip", 10, 50, false),
        {DlgControl::Button, kStatic, QStringLiteral("After saving"), 140, 2, 130, 52,
         kVisible | BS_GROUPBOX},
        Radio(2098, "Do Not Re-open", 146, 14, true),
        Radio(2099, "Open Into New Project", 146, 26, false),
        Radio(2100, "Open Into Current Project", 146, 38, false),
        Check(2095, "Zero at Current Location", 6, 74),
        Check(2097, "Present Save Dialog for", 6, 88),
        Check(2096, "Enable for Playbacks from File", 6, 102),
        RestoreDefaults(),
    };
    return page;
}

// The one-step save's own options dialog: its tabs over OK and Cancel.
DialogTemplate SnapkeepStore() {
    DialogTemplate store;
    store.id = 30065;
    store.caption = QStringLiteral("Program Options");
    store.cx = 300;
    store.cy = 220;
    store.items = {
        {DlgControl::Tab, 1661, QString(), 7, 7, 286, 184, kTab},
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 189, 199, 50, 14, kTab | BS_DEFPUSHBUTTON},
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 243, 199, 50, 14, kTab},
    };
    return store;
}

}  // namespace

std::vector<DialogTemplate> OptionsPageTemplates() {
    return {GeneralPage(),          VideoPage(),    UpdatePage(), SnapkeepPage(),
            SnapkeepAdvancedPage(), SnapkeepStore()};
}
