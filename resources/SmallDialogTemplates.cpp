#include "resources/SmallDialogTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr int kStatic = -1;
constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kEdit = kTab | WS_BORDER;

DialogTemplate Dialog(UINT id, const char* caption, int cx, int cy) {
    DialogTemplate d;
    d.id = id;
    d.caption = QString::fromLatin1(caption);
    d.cx = cx;
    d.cy = cy;
    return d;
}

// OK and Cancel at the bottom right of a dialog cx wide, at y.
void AddOkCancel(DialogTemplate& d, int y, const char* okText = "OK") {
    d.items.push_back({DlgControl::Button, IDOK, QString::fromLatin1(okText), d.cx - 111, y, 50, 14,
                       kTab | BS_DEFPUSHBUTTON});
    d.items.push_back(
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), d.cx - 57, y, 50, 14, kTab});
}

DialogTemplate UpdateCheck() {
    DialogTemplate d = Dialog(30108, "Check for Updates", 260, 150);
    d.items = {
        {DlgControl::Static, kStatic, QStringLiteral("Current version:"), 7, 9, 70, 10, kVisible},
        {DlgControl::Static, 1377, QString(), 80, 9, 110, 10, kVisible},
        {DlgControl::Static, kStatic, QStringLiteral("Latest version:"), 7, 23, 70, 10, kVisible},
        {DlgControl::Static, 1378, QStringLiteral("(click on Check)"), 80, 23, 110, 10, kVisible},
        {DlgControl::Button, 1376, QStringLiteral("Check"), 203, 7, 50, 14, kTab},
        {DlgControl::Static, kStatic, QStringLiteral("Download:"), 7, 41, 70, 10, kVisible},
        {DlgControl::Static, 1379, QString(), 80, 41, 173, 10, kVisible},
        {DlgControl::Static, kStatic, QStringLiteral("Release notes:"), 7, 55, 70, 10, kVisible},
        {DlgControl::Static, 1380, QString(), 80, 55, 173, 10, kVisible},
        {DlgControl::Static, 1381, QString(), 7, 75, 246, 40, kVisible},
        {DlgControl::Edit, 1003, QString(), 7, 118, 20, 12, WS_CHILD | ES_READONLY},
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 203, 129, 50, 14, kTab | BS_DEFPUSHBUTTON},
    };
    return d;
}

DialogTemplate RadioChoice() {
    DialogTemplate d = Dialog(146, "Session Selection", 180, 80);
    d.items = {
        {DlgControl::Static, kStatic, QStringLiteral("Please select a session type :"), 7, 7, 166,
         10, kVisible},
        {DlgControl::Button, 1007, QStringLiteral("Live Camera"), 17, 21, 120, 10,
         kTab | WS_GROUP | BS_AUTORADIOBUTTON},
        {DlgControl::Button, 1008, QStringLiteral("Video from File"), 17, 35, 120, 10,
         WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON},
    };
    AddOkCancel(d, 59);
    return d;
}

DialogTemplate NumberEntry() {
    DialogTemplate d = Dialog(170, "This is the Title", 200, 66);
    d.items = {
        {DlgControl::Static, 1014, QString(), 7, 7, 186, 18, kVisible},
        {DlgControl::Edit, 1069, QString(), 7, 27, 70, 12, kEdit},
        {DlgControl::Spin, 2013, QString(), 77, 27, 10, 12, kVisible},
    };
    AddOkCancel(d, 45);
    return d;
}

DialogTemplate TextInput() {
    DialogTemplate d = Dialog(223, "This is the Title", 220, 66);
    d.items = {
        {DlgControl::Static, 1014, QString(), 7, 7, 206, 18, kVisible},
        {DlgControl::Edit, 1003, QString(), 7, 27, 206, 12, kEdit},
    };
    AddOkCancel(d, 45);
    return d;
}

DialogTemplate FormatSelection() {
    DialogTemplate d = Dialog(222, "Format Selection", 170, 60);
    d.items = {
        {DlgControl::Static, kStatic, QStringLiteral("File format:"), 7, 9, 50, 10, kVisible},
        {DlgControl::ComboBox, 2031, QString(), 60, 7, 103, 70, kTab | CBS_DROPDOWNLIST},
    };
    AddOkCancel(d, 39);
    return d;
}

DialogTemplate DeviceInformation() {
    DialogTemplate d = Dialog(401, "Device Information", 240, 160);
    d.items = {
        {DlgControl::Edit, 1003, QString(), 7, 7, 226, 124, kEdit | ES_READONLY | WS_VSCROLL},
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 183, 139, 50, 14, kTab | BS_DEFPUSHBUTTON},
    };
    return d;
}

DialogTemplate Measure() {
    DialogTemplate d = Dialog(406, "Measurement", 120, 120);
    d.style = WS_CHILD;
    const struct {
        int id;
        const char* text;
    } tools[] = {{32930, "Define Length Scale"},      {32931, "Add Velocity Measurement"},
                 {32932, "Add Distance Measurement"}, {32933, "Add Jump To Frame Note"},
                 {32934, "Add Virtual Frame Slider"}, {32935, "Display Information"},
                 {32937, "Add Measurement Point"}};
    d.items.push_back({DlgControl::Button, kStatic, QStringLiteral("Measurement"), 3, 2, 114, 114,
                       kVisible | BS_GROUPBOX});
    int y = 13;
    for (const auto& tool : tools) {
        d.items.push_back(
            {DlgControl::Button, tool.id, QString::fromLatin1(tool.text), 8, y, 104, 13, kTab});
        y += 14;
    }
    return d;
}

DialogTemplate EditParameters() {
    DialogTemplate d = Dialog(335, "Edit Recorded Parameters", 180, 84);
    d.items = {
        {DlgControl::Static, kStatic, QStringLiteral("Record Rate"), 7, 9, 60, 10, kVisible},
        {DlgControl::Edit, 1009, QString(), 70, 7, 60, 12, kEdit},
        {DlgControl::Static, kStatic, QStringLiteral("fps"), 134, 9, 30, 10, kVisible},
        {DlgControl::Static, kStatic, QStringLiteral("Shutter Speed"), 7, 25, 60, 10, kVisible},
        {DlgControl::Edit, 1004, QString(), 70, 23, 60, 12, kEdit},
        {DlgControl::Static, kStatic, QStringLiteral("usec"), 134, 25, 30, 10, kVisible},
        {DlgControl::Static, kStatic, QStringLiteral("Zero Frame"), 7, 41, 60, 10, kVisible},
        {DlgControl::Edit, 1515, QString(), 70, 39, 60, 12, kEdit},
    };
    AddOkCancel(d, 63, "Apply");
    return d;
}

DialogTemplate SliderLabels() {
    DialogTemplate d = Dialog(1591, "Enter a Value", 230, 112);
    d.items = {
        {DlgControl::Static, 1556, QString(), 7, 7, 216, 18, kVisible},
        {DlgControl::Static, 1592, QString(), 7, 27, 216, 22, kVisible},
        {DlgControl::Edit, 1558, QString(), 7, 53, 60, 12, kEdit},
        {DlgControl::Static, 1593, QString(), 7, 71, 70, 10, kVisible},
        {DlgControl::Static, 1594, QString(), 80, 71, 80, 10, kVisible},
        {DlgControl::Static, 1595, QString(), 164, 71, 59, 10, kVisible},
        {DlgControl::Static, 1596, QString(), 7, 83, 70, 10, kVisible},
        {DlgControl::Static, 1597, QString(), 80, 83, 80, 10, kVisible},
        {DlgControl::Static, 1598, QString(), 164, 83, 59, 10, kVisible},
    };
    AddOkCancel(d, 95);
    return d;
}

DialogTemplate SystemConfiguration() {
    DialogTemplate d = Dialog(153, "System Configuration", 300, 170);
    const char* const labels[] = {"Prompt before closing",
                                  "Prompt before overwriting files",
                                  "Prompt before overwriting memory",
                                  "Load attached data automatically",
                                  "Prompt to save attached files",
                                  "Show unfiltered images",
                                  "Show missing frames as repeats",
                                  "Update GPS information automatically",
                                  "Reduce live flicker",
                                  "Disable web links",
                                  "Show text timing automatically",
                                  "Show text trigger automatically",
                                  "Export to spreadsheet",
                                  "Enable the reticle automatically",
                                  "Show colour cameras as Bayer",
                                  "Show colour files as Bayer",
                                  "Label image sequences",
                                  "Show the Connection Assistant",
                                  "Show analysis clicks"};
    int i = 0;
    for (const char* label : labels) {
        const int column = i < 10 ? 0 : 1;
        const int row = i < 10 ? i : i - 10;
        d.items.push_back({DlgControl::Button, 1100 + i, QString::fromLatin1(label),
                           7 + column * 146, 7 + row * 13, 140, 10, kTab | BS_AUTOCHECKBOX});
        ++i;
    }
    AddOkCancel(d, 149);
    return d;
}

}  // namespace

std::vector<DialogTemplate> SmallDialogTemplates() {
    return {UpdateCheck(),     RadioChoice(),        NumberEntry(), TextInput(),
            FormatSelection(), DeviceInformation(),  Measure(),     EditParameters(),
            SliderLabels(),    SystemConfiguration()};
}
