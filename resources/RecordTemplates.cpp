#include "resources/RecordTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr int kStatic = -1;
constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kCheck = kTab | BS_AUTOCHECKBOX;
constexpr DWORD kShown = kTab | WS_BORDER | ES_READONLY;

DialogTemplate Dialog(UINT id, const char* caption, int cx, int cy) {
    DialogTemplate d;
    d.id = id;
    d.caption = QString::fromLatin1(caption);
    d.cx = cx;
    d.cy = cy;
    return d;
}

DialogItemTemplate Label(const char* text, int x, int y, int cx) {
    return {DlgControl::Static, kStatic, QString::fromLatin1(text), x, y, cx, 8, kVisible};
}

DialogItemTemplate Button(int id, const char* text, int x, int y, int cx, DWORD style = kTab) {
    return {DlgControl::Button, id, QString::fromLatin1(text), x, y, cx, 14, style};
}

// The record mode on the left, the live choices and the chain on the right.
DialogTemplate RecordOptions() {
    DialogTemplate d = Dialog(1578, "Record Options", 300, 150);
    const auto radio = [](int id, const char* text, int y, bool first) {
        return DialogItemTemplate{DlgControl::Button,
                                  id,
                                  QString::fromLatin1(text),
                                  14,
                                  y,
                                  130,
                                  10,
                                  kTab | BS_AUTORADIOBUTTON | (first ? WS_GROUP : 0)};
    };
    const auto check = [](int id, const char* text, int x, int y) {
        return DialogItemTemplate{
            DlgControl::Button, id, QString::fromLatin1(text), x, y, 145, 10, kCheck};
    };
    d.items = {
        {DlgControl::Button, kStatic, QStringLiteral("Record Mode"), 7, 7, 140, 84,
         kVisible | BS_GROUPBOX},
        radio(1469, "Video Only", 19, true),
        radio(1468, "Use GPS/IRIG Source", 33, false),
        radio(1467, "Synchronized Data Acquisition", 47, false),
        radio(1018, "GPS/IRIG and Synchronized Data", 61, false),
        radio(1531, "PIV Video (uses ultra-stable clock)", 75, false),
        check(1266, "Live Data Graphing While Recording", 152, 9),
        check(1510, "Live Data Graph Fixed Scale", 152, 23),
        check(1415, "Live Video While Recording (if supported)", 152, 37),
        check(1414, "First Camera in Chain is slaved.", 152, 51),
        check(1268, "Use Vidra 1.x style Break-out box", 152, 65),
        check(1235, "Enable Advanced Auto-Download Features", 152, 79),
        check(1260, "Read Camera Tracker Data", 7, 99),
        Button(IDOK, "OK", 189, 129, 50, kTab | BS_DEFPUSHBUTTON),
        Button(IDCANCEL, "Cancel", 243, 129, 50),
    };
    return d;
}

// The box that blinks while a record group records: its own template and the one the record
// controller creates it from.
DialogTemplate RecordingBusy(UINT id) {
    DialogTemplate d = Dialog(id, "Vidra Busy", 120, 36);
    d.items = {
        {DlgControl::Static, 2051, QStringLiteral("Recording..."), 10, 14, 100, 10, kVisible},
    };
    return d;
}

// The running values on the left, the commands on the right.
DialogTemplate AutoRecord() {
    DialogTemplate d = Dialog(30083, "Auto-Record Controller", 320, 200);
    const auto field = [](int id, int x, int y, int cx) {
        return DialogItemTemplate{DlgControl::Edit, id, QString(), x, y, cx, 12, kShown};
    };
    d.items = {
        {DlgControl::Static, 2175, QStringLiteral("Mode : "), 7, 7, 200, 10, kVisible},
        Label("Video Record Rate :", 7, 24, 80),
        field(1182, 90, 22, 40),
        Label("fps", 134, 24, 20),
        {DlgControl::Static, 1498, QStringLiteral("Data Record Rate :"), 7, 40, 80, 8, kVisible},
        field(1011, 90, 38, 40),
        {DlgControl::Static, 1499, QStringLiteral("Hz"), 134, 40, 20, 8, kVisible},
        Label("Triggers Received :", 7, 56, 80),
        field(1013, 90, 54, 60),
        Label("Base File Name :", 7, 72, 80),
        field(1174, 90, 70, 120),
        Label("Last Save Location :", 7, 88, 80),
        field(1014, 90, 86, 120),
        Label("Save Range :", 7, 104, 80),
        field(2167, 90, 102, 40),
        Label("to", 134, 104, 12),
        field(2168, 148, 102, 40),
        {DlgControl::Button, 2172, QStringLiteral("Delay Reset"), 7, 120, 80, 10,
         kCheck | WS_DISABLED},
        field(1003, 90, 118, 40),
        Label("sec", 134, 120, 20),
        {DlgControl::Button, 2173, QStringLiteral("Delay AutoTrigger"), 7, 136, 80, 10,
         kCheck | WS_DISABLED},
        field(2171, 90, 134, 40),
        Label("sec", 134, 136, 20),
        Button(1575, "Engage", 220, 7, 93),
        Button(1576, "Test Trigger", 220, 27, 93),
        Button(1006, "Panic Stop", 220, 47, 93),
        Button(1000, "Idle / No Live", 220, 67, 93),
        Button(1577, "Idle /  Live", 220, 87, 93),
        Button(IDOK, "Exit Auto-Record Mode", 130, 179, 100, kTab | BS_DEFPUSHBUTTON),
        Button(IDCANCEL, "Cancel", 236, 179, 77),
    };
    return d;
}

// Room for the sensor record window, which the page makes inside itself.
DialogTemplate SensorPage() {
    DialogTemplate d = Dialog(30060, "", 256, 176);
    d.style = WS_CHILD;
    return d;
}

// The record controller's play-control bar: the record tab goes into item 1010.
DialogTemplate RecordDialogBar() {
    DialogTemplate d = Dialog(30075, "", 330, 48);
    d.style = WS_CHILD;
    d.items = {
        {DlgControl::Static, 1010, QString(), 2, 2, 326, 44, kVisible},
    };
    return d;
}

// The second-generation record controller's bar for the record buttons: tabs along the top.
DialogTemplate RecordButtonBar() {
    DialogTemplate d = Dialog(1599, "", 330, 44);
    d.style = WS_CHILD;
    d.items = {
        {DlgControl::Tab, 1004, QString(), 0, 0, 330, 14, WS_CHILD | WS_TABSTOP},
    };
    return d;
}

// The position slide of a record-controller view's playback.
DialogTemplate SimplePlayBar() {
    DialogTemplate d = Dialog(30077, "", 330, 24);
    d.style = WS_CHILD;
    d.items = {
        {DlgControl::Static, 1317, QString(), 4, 3, 322, 18, kVisible},
    };
    return d;
}

}  // namespace

std::vector<DialogTemplate> RecordTemplates() {
    return {RecordOptions(), RecordingBusy(204), RecordingBusy(30074), AutoRecord(),
            SensorPage(),    RecordDialogBar(),  RecordButtonBar(),    SimplePlayBar()};
}
