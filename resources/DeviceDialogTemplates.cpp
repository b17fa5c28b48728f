#include "resources/DeviceDialogTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

DialogTemplate DeviceSelection() {
    DialogTemplate d;
    d.id = 133;
    d.caption = QStringLiteral("Device Selection");
    d.cx = 250;
    d.cy = 190;
    const DWORD list = kTab | WS_VSCROLL | WS_BORDER | LBS_NOTIFY;
    d.items = {
        {DlgControl::Static, -1, QStringLiteral("Hardware Family : "), 7, 7, 110, 10},
        {DlgControl::ListBox, 1002, QString(), 7, 19, 115, 80, list},
        {DlgControl::Static, -1, QStringLiteral("Available Devices : "), 128, 7, 110, 10},
        {DlgControl::ListBox, 1001, QString(), 128, 19, 115, 80, list},
        {DlgControl::Static, -1, QStringLiteral("Scan for Devices from Selected Family : "), 7, 106,
         150, 10},
        {DlgControl::Button, 1008, QStringLiteral("Scan"), 183, 104, 60, 14, kTab},
        {DlgControl::Static, -1, QStringLiteral("Open Selected Device : "), 7, 126, 150, 10},
        {DlgControl::Button, IDOK, QStringLiteral("Select"), 183, 124, 60, 14,
         kTab | BS_DEFPUSHBUTTON},
        {DlgControl::Button, 2043, QStringLiteral("Open playback from device"), 7, 146, 120, 10,
         kTab | BS_AUTOCHECKBOX},
        {DlgControl::Button, 2270, QStringLiteral("Remember setting"), 130, 146, 100, 10,
         kTab | BS_AUTOCHECKBOX},
        {DlgControl::Button, 1003, QStringLiteral("Button1"), 7, 166, 50, 14,
         WS_CHILD | WS_TABSTOP},
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 183, 166, 60, 14, kTab},
    };
    return d;
}

// Sized by the dialog itself to its rows.
DialogTemplate ConnectionAssistant() {
    DialogTemplate d;
    d.id = 228;
    d.caption = QStringLiteral("Connection Assistant");
    d.cx = 400;
    d.cy = 250;
    d.items = {
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 35, 200, 50, 14, kTab | BS_DEFPUSHBUTTON},
        {DlgControl::Button, 1496, QStringLiteral("Disable automatic pop-up"), 10, 220, 100, 10,
         kTab | BS_AUTOCHECKBOX},
    };
    return d;
}

// The live picture with the active area over it fills the dialog above the buttons.
DialogTemplate ActiveArea() {
    DialogTemplate d;
    d.id = 218;
    d.caption = QStringLiteral("Set Active Area");
    d.cx = 330;
    d.cy = 280;
    d.items = {
        {DlgControl::Static, 2088, QString(), 7, 7, 316, 244, WS_CHILD | WS_VISIBLE},
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 212, 259, 50, 14, kTab | BS_DEFPUSHBUTTON},
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 273, 259, 50, 14, kTab},
    };
    return d;
}

// Labels on the left, the camera's values on the right.
DialogTemplate CameraSettings() {
    DialogTemplate d;
    d.id = 30120;
    d.caption = QStringLiteral("Camera Settings");
    d.cx = 210;
    d.cy = 132;
    const DWORD list = kTab | WS_VSCROLL | CBS_DROPDOWNLIST;
    const DWORD edit = kTab | WS_BORDER;
    d.items = {
        {DlgControl::Static, -1, QStringLiteral("Record rate (frames/s):"), 7, 9, 90, 10},
        {DlgControl::ComboBox, 1001, QString(), 100, 7, 103, 100, list},
        {DlgControl::Static, -1, QStringLiteral("Resolution:"), 7, 27, 90, 10},
        {DlgControl::ComboBox, 1002, QString(), 100, 25, 103, 100, list},
        {DlgControl::Static, -1, QStringLiteral("Exposure (microseconds):"), 7, 45, 90, 10},
        {DlgControl::Edit, 1003, QString(), 100, 43, 103, 13, edit},
        {DlgControl::Static, -1, QStringLiteral("Trigger:"), 7, 63, 90, 10},
        {DlgControl::ComboBox, 1004, QString(), 100, 61, 103, 60, list},
        {DlgControl::Static, -1, QStringLiteral("Frames after trigger:"), 7, 81, 90, 10},
        {DlgControl::Edit, 1005, QString(), 100, 79, 103, 13, edit},
        {DlgControl::Static, 1006, QString(), 7, 97, 196, 10},
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 99, 112, 50, 14, kTab | BS_DEFPUSHBUTTON},
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 153, 112, 50, 14, kTab},
    };
    return d;
}

// A data card's live acquisition window: its buttons along the top, then the card's record page
// (placed at 1010) and the data display beside it; the window lays out page and display itself.
DialogTemplate DataAcquisition() {
    DialogTemplate d;
    d.id = 1590;
    d.caption = QStringLiteral("Data Acquisition");
    d.cx = 560;
    d.cy = 220;
    d.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    d.items = {
        {DlgControl::Button, 1001, QStringLiteral("Start"), 7, 4, 50, 14, kTab},
        {DlgControl::Button, 1002, QStringLiteral("Stop"), 62, 4, 50, 14, kTab},
        {DlgControl::Button, 1003, QStringLiteral("Test Trigger..."), 117, 4, 70, 14, kTab},
        {DlgControl::Static, 1010, QString(), 4, 22, 10, 10, WS_CHILD},
    };
    return d;
}

}  // namespace

std::vector<DialogTemplate> DeviceDialogTemplates() {
    return {DeviceSelection(), ConnectionAssistant(), ActiveArea(), CameraSettings(),
            DataAcquisition()};
}
