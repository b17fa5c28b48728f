#include "resources/RecordControlTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

using C = DlgControl;

constexpr int kStatic = -1;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kGroup = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kReadout = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY;
// Drop-down lists whose box can name a value the list does not hold.
constexpr DWORD kCombo = kTab | CBS_DROPDOWN | WS_VSCROLL;
constexpr int kComboHeight = 12;

DialogItemTemplate Label(int id, const char* text, int x, int y, int cx) {
    return {C::Static, id, QString::fromLatin1(text), x, y, cx, 8, kLabel};
}

DialogItemTemplate Push(int id, const char* text, int x, int y, int cx, int cy = 12) {
    return {C::Button, id, QString::fromLatin1(text), x, y, cx, cy, kTab};
}

DialogItemTemplate Readout(int id, int x, int y, int cx) {
    return {C::Edit, id, QString(), x, y, cx, 12, kReadout};
}

DialogItemTemplate Combo(int id, int x, int y, int cx) {
    return {C::ComboBox, id, QString(), x, y, cx, kComboHeight, kCombo};
}

// The camera's controls from y down: name, clock, counters, rate, resolution, shutter,
// frames, record mode, trigger and the record buttons. Returns the height they take.
int AddControls(std::vector<DialogItemTemplate>* items, int y) {
    const std::vector<DialogItemTemplate> set = {
        Push(2101, "Device", 4, y, 172),
        Label(1527, "Clock Source", 4, y + 18, 50),
        Combo(1526, 56, y + 16, 70),
        Readout(1528, 130, y + 16, 46),
        Label(1534, "Counter 1", 4, y + 32, 40),
        Push(1529, "0", 56, y + 30, 70),
        Push(1572, "+", 130, y + 30, 22),
        Push(1573, "-", 154, y + 30, 22),
        Label(1009, "Counter 2", 4, y + 46, 40),
        Push(1531, "0", 56, y + 44, 70),
        Push(1574, "+", 130, y + 44, 22),
        Push(1575, "-", 154, y + 44, 22),
        Label(kStatic, "Exposure Ticks", 4, y + 60, 50),
        Push(1530, "0", 56, y + 58, 70),
        Push(1576, "+", 130, y + 58, 22),
        Push(1577, "-", 154, y + 58, 22),
        {C::Button, 1544, QStringLiteral("Camera"), 2, y + 72, 176, 124, kGroup},
        Label(1547, "Frame Rate", 6, y + 84, 48),
        Combo(1075, 56, y + 82, 70),
        Label(1564, "fps", 130, y + 84, 30),
        Label(1550, "Resolution", 6, y + 98, 48),
        Combo(1269, 56, y + 96, 70),
        Push(1271, "Resolution", 130, y + 96, 46),
        Label(1551, "Shutter", 6, y + 112, 48),
        Combo(1021, 56, y + 110, 70),
        Label(1552, "ms", 130, y + 112, 30),
        Label(1562, "Frame Time", 6, y + 126, 48),
        Readout(1532, 56, y + 124, 50),
        {C::Static, 1541, QString(), 110, y + 124, 64, 26, kLabel},
        Label(1554, "Frames", 6, y + 140, 48),
        Readout(1014, 56, y + 138, 50),
        Label(1561, "Free", 6, y + 154, 48),
        Readout(1047, 56, y + 152, 50),
        Label(1555, "Recorded", 110, y + 154, 40),
        Readout(1032, 150, y + 152, 26),
        Push(1309, "Max. Frames", 6, y + 168, 60),
        Label(1556, "Buffer", 70, y + 170, 24),
        Readout(1383, 96, y + 168, 34),
        Push(1384, "Options", 134, y + 168, 40),
        Label(1569, "Record Mode", 6, y + 184, 48),
        Combo(1542, 56, y + 182, 90),
        Label(kStatic, "Trigger Type", 4, y + 202, 50),
        {C::ComboBox, 1419, QString(), 56, y + 200, 120, kComboHeight, kCombo},
        {C::Static, 1050, QString(), 4, y + 216, 172, 18, kLabel},
        Readout(1013, 4, y + 238, 30),
        Push(2053, "Pre-Trigger", 40, y + 238, 56),
        Label(kStatic, "Post", 4, y + 256, 24),
        Readout(1052, 30, y + 254, 40),
        Readout(1051, 74, y + 254, 40),
        Label(kStatic, "Pre", 4, y + 270, 24),
        Readout(1054, 30, y + 268, 40),
        Readout(1053, 74, y + 268, 40),
        Push(1071, "Live", 4, y + 286, 40, 14),
        Push(1078, "Record", 46, y + 286, 40, 14),
        Push(1079, "Trigger Stop", 88, y + 286, 50, 14),
        Push(1080, "Stop", 140, y + 286, 36, 14),
        Push(1223, "Trig", 4, y + 302, 40, 14),
        Push(1429, "Abort Rec", 46, y + 302, 50, 14),
        // Takes the focus away from a button that was pressed.
        {C::Button, 1520, QString(), 0, 0, 1, 1, WS_CHILD},
    };
    items->insert(items->end(), set.begin(), set.end());
    return 320;
}

DialogTemplate Page(UINT id, const char* caption, int cy) {
    DialogTemplate page;
    page.id = id;
    page.caption = QString::fromLatin1(caption);
    page.style = WS_CHILD;
    page.cx = 180;
    page.cy = cy;
    return page;
}

DialogTemplate ControlPage(UINT id) {
    DialogTemplate page = Page(id, "Record Control", 0);
    page.cy = AddControls(&page.items, 2);
    return page;
}

// The device list on top, the record buttons under it, the device's own page, then the
// camera's controls; 2109 and 2110 mark where the record buttons go with and without the
// other parts.
DialogTemplate SingleRecordPage() {
    DialogTemplate page = Page(30087, "Record", 0);
    page.items = {
        {C::Static, 2110, QString(), 2, 2, 176, 40, kLabel},
        {C::Static, 2108, QString(), 2, 2, 176, 150, kLabel},
        {C::Static, 2109, QString(), 2, 154, 176, 40, kLabel},
        {C::Static, 1010, QString(), 2, 154, 176, 40, kLabel},
        {C::Static, 2107, QString(), 2, 196, 176, 150, kLabel},
    };
    page.cy = 348 + AddControls(&page.items, 348);
    return page;
}

DialogTemplate RecordButtons() {
    DialogTemplate page = Page(30089, "Record", 40);
    page.items = {
        {C::Button, 1577, QStringLiteral("Live"), 4, 4, 32, 20, kTab},
        {C::Button, 1575, QStringLiteral("Record"), 38, 4, 32, 20, kTab},
        {C::Button, 1576, QStringLiteral("Trigger"), 72, 4, 32, 20, kTab},
        {C::Button, 1006, QStringLiteral("Stop"), 106, 4, 32, 20, kTab},
        {C::Button, 1000, QStringLiteral("Idle"), 140, 4, 32, 20, kTab},
        Label(2023, "Live", 4, 26, 32),
        Label(2024, "Record", 38, 26, 32),
        Label(2025, "Trigger", 72, 26, 32),
        Label(2026, "Stop", 106, 26, 32),
        Label(2027, "Idle", 140, 26, 32),
        {C::Button, 1578, QStringLiteral("Chain"), 0, 0, 1, 1, WS_CHILD | BS_AUTOCHECKBOX},
    };
    return page;
}

}  // namespace

std::vector<DialogTemplate> RecordControlTemplates() {
    return {ControlPage(1592), ControlPage(1595), ControlPage(1600), SingleRecordPage(),
            RecordButtons()};
}
