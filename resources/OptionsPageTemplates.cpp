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

}  // namespace

std::vector<DialogTemplate> OptionsPageTemplates() {
    return {GeneralPage(), VideoPage(), UpdatePage()};
}
