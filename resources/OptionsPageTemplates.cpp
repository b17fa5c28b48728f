#include "resources/OptionsPageTemplates.h"

#include "platform/framework/ControlWidgets.h"

#include <initializer_list>

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

// A page of check boxes in one column, each its own value.
struct CheckItem {
    int id;
    const char* text;
};

DialogTemplate CheckPage(UINT id, const char* caption, std::initializer_list<CheckItem> checks) {
    DialogTemplate page = Page(id, caption);
    int y = 6;
    for (const CheckItem& item : checks) {
        page.items.push_back(Check(item.id, item.text, 6, y, 264));
        // Twelve rows fit the page's height.
        y += 12;
    }
    return page;
}

DialogTemplate ViewPage() {
    return CheckPage(30056, "View Settings",
                     {{2060, "Main Toolbar"},
                      {2061, "Quick (Play) File Addition Toolbar"},
                      {2062, "Quick (Record) Device Addition Toolbar"},
                      {2063, "Play Toolbar inside Projects"},
                      {2035, "Record Toolbar inside Projects"},
                      {2065, "Large Toolbar Buttons"},
                      {2078, "Browse Folders Automatically"},
                      {2124, "Project Layout Toolbar"},
                      {2125, "Video Controls Toolbar"},
                      {2126, "Video Controls Toolbar inside Projects"},
                      {2127, "Video Tools Toolbar"},
                      {2202, "Full Path in Play Window Titles"}});
}

DialogTemplate RecordControlPanelPage() {
    DialogTemplate page = CheckPage(30068, "Record Control Panel",
                                    {{2108, "Single Record Tab for Video and Data"},
                                     {2176, "Display Non-Integer Record Rates"}});
    page.items.push_back(RestoreDefaults());
    return page;
}

DialogTemplate GeneralOptionsPage() {
    DialogTemplate page = CheckPage(30076, "General Options",
                                    {{2151, "Relative Naming in Play Project Files"},
                                     {2118, "Update Play Controller While Tracking"}});
    page.items.push_back(RestoreDefaults());
    return page;
}

DialogTemplate ApplicationPage() {
    DialogTemplate page = Page(30061, "Application");
    page.items = {
        Check(2069, "Close Others First", 6, 6, 200),
        Check(2070, "Auto Bracket", 6, 20, 80),
        {DlgControl::Edit, 2071, QString(), 90, 18, 60, 12, kTab | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("frames either side"), 154, 20, 80, 8,
         kVisible},
        Check(2072, "Save After Zero", 6, 36, 200),
        {DlgControl::Static, kStatic, QStringLiteral("Save File Prefix:"), 6, 52, 80, 8, kVisible},
        {DlgControl::Edit, 2073, QString(), 90, 50, 100, 12, kTab | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("JPEG Quality:"), 6, 68, 80, 8, kVisible},
        {DlgControl::Edit, 2075, QString(), 90, 66, 40, 12, kTab | WS_BORDER},
        Check(2076, "Record After Save", 6, 84, 200),
        Check(2086, "Save With User Query", 6, 98, 200),
        RestoreDefaults(),
    };
    return page;
}

DialogTemplate ScanningPage() {
    return CheckPage(30107, "Scanning",
                     {{2208, "Search for KRM Cameras"},
                      {2209, "Search for FASTEC Cameras"},
                      {2213, "Search for FC Cameras"},
                      {2211, "Search for HG Cameras"},
                      {2212, "Search for IDT Cameras"},
                      {2210, "Search for ORVEX Cameras"}});
}

DialogTemplate ConnectionsPage() {
    DialogTemplate page = Page(30110, "Connections");
    page.items = {
        {DlgControl::Static, kStatic,
         QStringLiteral("Ultima 512, Ultima APX, Ultima APX-RS Connection :"), 6, 8, 170, 8,
         kVisible},
        {DlgControl::ComboBox, 2214, QString(), 180, 6, 90, 80, kTab | CBS_DROPDOWNLIST},
    };
    return page;
}

DialogTemplate RecordPage() {
    DialogTemplate page = CheckPage(30044, "Record",
                                    {{1415, "Live Video While Recording"},
                                     {1299, "Live Data Graphing While Recording"},
                                     {1300, "First Device Is Slave"},
                                     {1301, "Synchronised Recording"},
                                     {2150, "Record Busy Dialog"}});
    page.items.push_back(RestoreDefaults());
    return page;
}

DialogTemplate RecordDataPage() {
    DialogTemplate page = Page(30051, "Data");
    page.items = {
        {DlgControl::Static, kStatic, QStringLiteral("System Memory Utilization"), 6, 8, 100, 8,
         kVisible},
        {DlgControl::Edit, 2036, QString(), 110, 6, 30, 12, kTab | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("%"), 144, 8, 10, 8, kVisible},
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

// The one-step save's page; the auto-download store shows it as "File Save" (30079).
DialogTemplate SnapkeepPage(UINT id = 30063, const char* caption = "Snap Keep") {
    DialogTemplate page = Page(id, caption);
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

DialogTemplate AutoDownPage() {
    DialogTemplate page = Page(30081, "ADL ");
    page.items = {
        Radio(2160, "Basic", 6, 6, true),
        Radio(2158, "Infinite Reset", 6, 24, true, 70),
        Radio(2159, "Reset ", 80, 24, false, 34),
        {DlgControl::Edit, 1009, QString(), 116, 22, 50, 12, kTab | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("times"), 170, 24, 30, 8, kVisible},
        Check(2172, "Delay Reset", 6, 42, 70),
        {DlgControl::Edit, 1003, QString(), 80, 40, 50, 12, kTab | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("sec"), 134, 42, 20, 8, kVisible},
        Check(2173, "Delay AutoTrigger", 6, 58, 70),
        {DlgControl::Edit, 2171, QString(), 80, 56, 50, 12, kTab | WS_BORDER},
        {DlgControl::Static, kStatic, QStringLiteral("sec"), 134, 58, 20, 8, kVisible},
        {DlgControl::Static, kStatic, QStringLiteral("Start Count:"), 6, 76, 70, 8, kVisible},
        {DlgControl::Edit, 2169, QString(), 80, 74, 50, 12, kTab | WS_BORDER},
        RestoreDefaults(),
    };
    return page;
}

// A store's own options dialog: its tabs over OK and Cancel.
DialogTemplate StoreDialog(UINT id, const char* caption) {
    DialogTemplate store;
    store.id = id;
    store.caption = QString::fromLatin1(caption);
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
    return {ViewPage(),
            GeneralPage(),
            RecordControlPanelPage(),
            GeneralOptionsPage(),
            ApplicationPage(),
            ScanningPage(),
            ConnectionsPage(),
            VideoPage(),
            UpdatePage(),
            SnapkeepPage(),
            SnapkeepAdvancedPage(),
            StoreDialog(30065, "Program Options"),
            SnapkeepPage(30079, "File Save"),
            AutoDownPage(),
            StoreDialog(30078, "Auto-Record Control Panel"),
            RecordPage(),
            RecordDataPage()};
}
