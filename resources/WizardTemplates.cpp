#include "resources/WizardTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kList = kTab | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kEdit = kTab | WS_BORDER;
constexpr DWORD kGroup = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;

// Every page fills the sheet's page area.
constexpr int kPageWidth = 326;
constexpr int kPageHeight = 200;

// The heading across the top, the page area below it and the four buttons at the bottom.
DialogTemplate Sheet() {
    DialogTemplate d;
    d.id = 219;
    d.caption = QStringLiteral("Wizard");
    d.cx = 340;
    d.cy = 298;
    d.items = {
        {DlgControl::Static, 2186, QString(), 0, 0, 340, 62},
        {DlgControl::Static, 1661, QString(), 7, 68, kPageWidth, kPageHeight},
        {DlgControl::Button, 2184, QStringLiteral("<< Back"), 118, 276, 50, 14, kTab},
        {DlgControl::Button, 2187, QStringLiteral("Next >>"), 170, 276, 50, 14,
         kTab | BS_DEFPUSHBUTTON},
        {DlgControl::Button, IDOK, QStringLiteral("Finish"), 228, 276, 50, 14, kTab},
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 283, 276, 50, 14, kTab},
    };
    return d;
}

DialogTemplate Page(UINT id, std::vector<DialogItemTemplate> items) {
    DialogTemplate d;
    d.id = id;
    d.cx = kPageWidth;
    d.cy = kPageHeight;
    d.style = WS_CHILD;
    d.items = std::move(items);
    return d;
}

DialogItemTemplate Message(int id, int height) {
    return {DlgControl::Static, id, QString(), 0, 0, kPageWidth, height};
}

// One camera's family, scan button and camera, in a group box at x.
std::vector<DialogItemTemplate> CameraGroup(const char* title, int x, int family, int scan,
                                            int camera) {
    return {
        {DlgControl::Button, -1, QString::fromLatin1(title), x, 56, 160, 98, kGroup},
        {DlgControl::Static, -1, QStringLiteral("Camera family:"), x + 8, 70, 144, 10},
        {DlgControl::ComboBox, family, QString(), x + 8, 81, 144, 14, kList},
        {DlgControl::Button, scan, QStringLiteral("Scan for Cameras"), x + 8, 99, 80, 14, kTab},
        {DlgControl::Static, -1, QStringLiteral("Camera:"), x + 8, 120, 144, 10},
        {DlgControl::ComboBox, camera, QString(), x + 8, 131, 144, 14, kList},
    };
}

DialogTemplate CameraChoice() {
    std::vector<DialogItemTemplate> items = {Message(2193, 50)};
    for (auto& item : CameraGroup("Camera 1", 0, 2194, 2195, 2196))
        items.push_back(item);
    for (auto& item : CameraGroup("Camera 2", 166, 2197, 2198, 2034))
        items.push_back(item);
    return Page(30090, std::move(items));
}

// Each preview with its zoom buttons (icons) and its shutter buttons below it.
DialogTemplate LivePreview() {
    constexpr DWORD kInactive = kTab | WS_DISABLED;
    return Page(
        30091,
        {
            Message(2193, 62),
            {DlgControl::Static, 2200, QString(), 0, 64, 160, 116, WS_CHILD | WS_VISIBLE},
            {DlgControl::Static, 2201, QString(), 166, 64, 160, 116, WS_CHILD | WS_VISIBLE},
            {DlgControl::Button, 1002, QString(), 0, 184, 16, 14, kTab},
            {DlgControl::Button, 1004, QString(), 18, 184, 16, 14, kTab},
            {DlgControl::Button, 1003, QStringLiteral("Shutter -"), 56, 184, 50, 14, kInactive},
            {DlgControl::Button, 1007, QStringLiteral("Shutter +"), 110, 184, 50, 14, kInactive},
            {DlgControl::Button, 1006, QString(), 166, 184, 16, 14, kTab},
            {DlgControl::Button, 1005, QString(), 184, 184, 16, 14, kTab},
            {DlgControl::Button, 1008, QStringLiteral("Shutter -"), 222, 184, 50, 14, kInactive},
            {DlgControl::Button, 1009, QStringLiteral("Shutter +"), 276, 184, 50, 14, kInactive},
        });
}

DialogTemplate ProjectDestination() {
    return Page(
        30092,
        {
            Message(2193, 60),
            {DlgControl::Static, -1, QStringLiteral("Trakora project file:"), 0, 70, 200, 10},
            {DlgControl::Edit, 2190, QString(), 0, 82, 270, 13, kEdit},
            {DlgControl::Button, 2192, QStringLiteral("Browse..."), 276, 81, 50, 14, kTab},
            {DlgControl::Static, 2194, QString(), 0, 110, kPageWidth, 20},
        });
}

DialogTemplate ResumeChoice() {
    return Page(30095, {
                           Message(2193, 60),
                           {DlgControl::Button, 1006, QStringLiteral("Continue and Save Videos"),
                            63, 80, 200, 16, kTab},
                           {DlgControl::Button, 1002, QStringLiteral("Restart 3-D Capture Wizard"),
                            63, 104, 200, 16, kTab},
                       });
}

DialogTemplate CaptureSummary() {
    return Page(30097, {
                           Message(2193, 172),
                           {DlgControl::Button, 2202,
                            QStringLiteral("Open newly created project file in Trakora"), 0, 184,
                            kPageWidth, 12, kTab | BS_AUTOCHECKBOX},
                       });
}

DialogTemplate ConvertFiles() {
    return Page(
        348, {
                 {DlgControl::Static, 2188, QString(), 0, 0, kPageWidth, 112},
                 {DlgControl::Static, -1, QStringLiteral("Vidra 2.0 video file:"), 0, 118, 200, 10},
                 {DlgControl::Edit, 2189, QString(), 0, 130, 270, 13, kEdit},
                 {DlgControl::Button, 2191, QStringLiteral("Browse..."), 276, 129, 50, 14, kTab},
                 {DlgControl::Static, -1, QStringLiteral("New play group file:"), 0, 152, 200, 10},
                 {DlgControl::Edit, 2190, QString(), 0, 164, 270, 13, kEdit},
                 {DlgControl::Button, 2192, QStringLiteral("Browse..."), 276, 163, 50, 14, kTab},
             });
}

}  // namespace

std::vector<DialogTemplate> WizardTemplates() {
    return {Sheet(),
            Page(30053, {}),
            CameraChoice(),
            LivePreview(),
            ProjectDestination(),
            Page(30093, {Message(2193, kPageHeight)}),
            Page(30094, {Message(2193, kPageHeight)}),
            ResumeChoice(),
            Page(30096, {Message(2193, kPageHeight)}),
            CaptureSummary(),
            ConvertFiles()};
}
