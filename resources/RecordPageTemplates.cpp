#include "resources/RecordPageTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

using C = DlgControl;

constexpr int kStatic = 0xFFFF;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kGroup = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kReadout = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_READONLY;
constexpr DWORD kCheck = kTab | BS_AUTOCHECKBOX;
constexpr DWORD kRadio = kTab | BS_AUTORADIOBUTTON;
// One line high while closed; the open list sizes itself.
constexpr int kComboHeight = 12;

DialogTemplate Page(UINT id, const char* caption, int cy) {
    DialogTemplate page;
    page.id = id;
    page.caption = QString::fromLatin1(caption);
    page.style = WS_CHILD;
    page.cx = 180;
    page.cy = cy;
    return page;
}

DialogTemplate DevicesPage() {
    DialogTemplate page = Page(173, "Devices", 200);
    page.items = {
        {C::Button, 1544, QStringLiteral("Device List"), 4, 2, 172, 140, kGroup},
        {C::Static, kStatic, QStringLiteral("List"), 10, 13, 40, 8, kLabel},
        {C::TreeView, 2015, QStringLiteral("Tree1"), 10, 23, 160, 113, kTab | WS_BORDER},
        {C::Button, 1545, QStringLiteral("Add Device"), 4, 146, 172, 48, kGroup},
        {C::Button, 2017, QStringLiteral("Add Camera"), 10, 158, 24, 20, kTab},
        {C::Static, kStatic, QStringLiteral("Add Camera"), 38, 164, 50, 8, kLabel},
        {C::Button, 2016, QStringLiteral("Add Data Card"), 92, 158, 24, 20, kTab},
        {C::Static, kStatic, QStringLiteral("Add Data Card"), 120, 164, 52, 8, kLabel},
    };
    return page;
}

DialogTemplate AnalysisPage() {
    DialogTemplate page = Page(182, "Analysis", 60);
    page.items = {
        {C::Button, 1544, QStringLiteral("Analysis"), 4, 2, 172, 52, kGroup},
        {C::Static, kStatic, QStringLiteral("analysis"), 10, 14, 160, 8, kLabel},
        {C::Button, 2029, QStringLiteral("Launch Analysis"), 10, 30, 160, 16, kTab},
    };
    return page;
}

DialogTemplate TriggerAdjustPage() {
    DialogTemplate page = Page(207, "Trigger Adjust", 150);
    page.items = {
        {C::Static, 2057, QStringLiteral("Trigger Setting for First Device"), 4, 4, 172, 8, kLabel},
        {C::Static, kStatic, QStringLiteral("Trigger Type"), 4, 18, 50, 8, kLabel},
        // Editable, so that it can name the device's trigger type as the device calls it.
        {C::ComboBox, 1419, QString(), 56, 16, 120, kComboHeight, kTab | CBS_DROPDOWN},
        {C::Static, kStatic, QStringLiteral("Trigger Position"), 4, 34, 80, 8, kLabel},
        // The trigger-position slide's place; the page puts the slide control here.
        {C::Static, 1050, QString(), 4, 44, 172, 18, kLabel},
        {C::Static, kStatic, QStringLiteral("Pre-Trigger %"), 4, 68, 56, 8, kLabel},
        {C::Edit, 1013, QString(), 62, 66, 30, 12, kReadout},
        {C::Button, 2053, QStringLiteral("0 %"), 100, 65, 76, 14, kTab},
        {C::Static, kStatic, QStringLiteral("Pre-Trigger"), 62, 86, 54, 8, kLabel},
        {C::Static, kStatic, QStringLiteral("Post-Trigger"), 120, 86, 56, 8, kLabel},
        {C::Static, kStatic, QStringLiteral("Frames"), 4, 98, 54, 8, kLabel},
        {C::Edit, 1054, QString(), 62, 96, 54, 12, kReadout},
        {C::Edit, 1052, QString(), 120, 96, 56, 12, kReadout},
        {C::Static, kStatic, QStringLiteral("Samples"), 4, 114, 54, 8, kLabel},
        {C::Edit, 2054, QString(), 62, 112, 54, 12, kReadout},
        {C::Edit, 2055, QString(), 120, 112, 56, 12, kReadout},
        {C::Static, kStatic, QStringLiteral("Time (sec)"), 4, 130, 54, 8, kLabel},
        {C::Edit, 1053, QString(), 62, 128, 54, 12, kReadout},
        {C::Edit, 1051, QString(), 120, 128, 56, 12, kReadout},
    };
    return page;
}

DialogTemplate DataTriggerPage() {
    DialogTemplate page = Page(179, "Data Trigger Adjust", 176);
    page.items = {
        {C::Button, 2014, QStringLiteral("Enable Data Level Triggering"), 4, 4, 172, 10, kCheck},
        {C::Static, kStatic, QStringLiteral("Channel"), 4, 20, 50, 8, kLabel},
        {C::Static, kStatic, QStringLiteral("Condition Type"), 58, 20, 66, 8, kLabel},
        {C::Static, kStatic, QStringLiteral("Value"), 128, 20, 48, 8, kLabel},
        {C::ListBox, 1001, QString(), 4, 30, 172, 50, kTab | WS_BORDER | WS_VSCROLL},
        {C::ComboBox, 2031, QString(), 4, 84, 50, kComboHeight, kTab | CBS_DROPDOWNLIST},
        {C::ComboBox, 2032, QString(), 58, 84, 66, kComboHeight, kTab | CBS_DROPDOWNLIST},
        {C::Edit, 1009, QString(), 128, 84, 48, 12, kTab | WS_BORDER},
        {C::ComboBox, 2033, QString(), 4, 100, 120, kComboHeight, kTab | CBS_DROPDOWNLIST},
        {C::Button, 2030, QStringLiteral("Add"), 128, 99, 22, 14, kTab},
        {C::Button, 1003, QStringLiteral("Remove"), 152, 99, 24, 14, kTab},
        {C::Button, kStatic, QStringLiteral("Trigger Type"), 4, 118, 172, 52, kGroup},
        {C::Button, 2015, QStringLiteral("Record on Trigger"), 10, 130, 160, 10, kRadio | WS_GROUP},
        {C::Button, 1049, QStringLiteral("Burst Record on Trigger"), 10, 142, 160, 10, kRadio},
        {C::Button, 2034, QStringLiteral("Record on Command (High/Low)"), 10, 154, 160, 10, kRadio},
    };
    return page;
}

// The video-trigger controls: region, levels and training; the data-trigger group below them
// when asked for.
std::vector<DialogItemTemplate> VideoTriggerItems(bool dataTriggerGroup) {
    std::vector<DialogItemTemplate> items = {
        {C::Button, kStatic, QStringLiteral("Trigger Region"), 4, 2, 172, 58, kGroup},
        {C::Button, 2119, QStringLiteral("Define Region"), 10, 13, 52, 14, kTab},
        {C::Button, 2120, QStringLiteral("Set Region"), 64, 13, 52, 14, kTab},
        {C::Button, 2140, QStringLiteral("Remove"), 118, 13, 52, 14, kTab},
        {C::Static, 2129, QStringLiteral("Video Trigger Level : "), 10, 31, 106, 8, kLabel},
        {C::Button, 2128, QStringLiteral("Show Trace"), 118, 29, 52, 14, kTab},
        {C::Button, kStatic, QStringLiteral("Levels"), 4, 62, 172, 62, kGroup},
        {C::Static, kStatic, QStringLiteral("Rising Level"), 10, 75, 50, 8, kLabel},
        {C::ComboBox, 2177, QString(), 62, 73, 44, kComboHeight, kTab | CBS_DROPDOWNLIST},
        {C::Edit, 2136, QString(), 110, 73, 28, 12, kTab | WS_BORDER},
        {C::Button, 2138, QStringLiteral("-->"), 140, 72, 18, 14, kTab},
        {C::Static, kStatic, QStringLiteral("Falling Level"), 10, 91, 50, 8, kLabel},
        {C::ComboBox, 2178, QString(), 62, 89, 44, kComboHeight, kTab | CBS_DROPDOWNLIST},
        {C::Edit, 2137, QString(), 110, 89, 28, 12, kTab | WS_BORDER},
        {C::Button, 2139, QStringLiteral("-->"), 140, 88, 18, 14, kTab},
        // Reads the camera's levels into the two edits.
        {C::Button, 2134, QString(), 160, 80, 12, 14, kTab},
        {C::Button, kStatic, QStringLiteral("Training"), 4, 126, 172, 48, kGroup},
        {C::Static, kStatic, QStringLiteral("Training Count"), 10, 139, 50, 8, kLabel},
        {C::ComboBox, 2179, QString(), 62, 137, 44, kComboHeight, kTab | CBS_DROPDOWNLIST},
        {C::Edit, 2143, QString(), 110, 137, 28, 12, kTab | WS_BORDER},
        {C::Button, 1007, QStringLiteral("-->"), 140, 136, 18, 14, kTab},
        // Reads the camera's training count into its edit.
        {C::Button, 2135, QString(), 160, 136, 12, 14, kTab},
        {C::Button, 2141, QStringLiteral("Re-train"), 10, 155, 52, 14, kTab},
        {C::Button, 2142, QStringLiteral("Train on Record"), 70, 157, 100, 10, kCheck},
    };
    if (dataTriggerGroup) {
        items.push_back(
            {C::Button, kStatic, QStringLiteral("Data Trigger"), 4, 176, 172, 24, kGroup});
        items.push_back({C::Static, kStatic,
                         QStringLiteral("Data levels trigger from the Data Trigger page."), 10, 187,
                         160, 8, kLabel});
    }
    return items;
}

DialogTemplate VideoTriggerPage(UINT id, bool dataTriggerGroup) {
    DialogTemplate page = Page(id, "Smart Trigger", dataTriggerGroup ? 204 : 178);
    page.items = VideoTriggerItems(dataTriggerGroup);
    return page;
}

DialogTemplate VideoTriggerAdvancedPage() {
    DialogTemplate page = Page(30111, "Video Trigger", 178);
    page.items = VideoTriggerItems(false);
    return page;
}

// The record buttons; 340 is the control panel's page, the others sit in the record
// controllers' bars and hold the same buttons.
DialogTemplate RecordPage(UINT id) {
    DialogTemplate page = Page(id, "Record", 44);
    page.items = {
        {C::Button, 1577, QStringLiteral("Live"), 4, 4, 32, 20, kTab},
        {C::Button, 1575, QStringLiteral("Record"), 39, 4, 32, 20, kTab},
        {C::Button, 1576, QStringLiteral("Trigger"), 74, 4, 32, 20, kTab},
        {C::Button, 1006, QStringLiteral("Stop"), 109, 4, 32, 20, kTab},
        {C::Button, 1000, QStringLiteral("Idle"), 144, 4, 32, 20, kTab},
        {C::Button, 1578, QStringLiteral("Chain Recording"), 4, 28, 100, 10, kCheck},
    };
    return page;
}

}  // namespace

std::vector<DialogTemplate> RecordPageTemplates() {
    return {DevicesPage(),
            AnalysisPage(),
            TriggerAdjustPage(),
            DataTriggerPage(),
            VideoTriggerPage(180, true),
            VideoTriggerPage(30084, false),
            VideoTriggerAdvancedPage(),
            RecordPage(340),
            RecordPage(30072),
            RecordPage(30046),
            RecordPage(1598)};
}
