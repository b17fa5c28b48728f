#include "resources/SaveDialogTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

DialogTemplate Assistant() {
    DialogTemplate d;
    d.id = 214;
    d.caption = QStringLiteral("Video Compression Assistant");
    d.cx = 584;
    d.cy = 178;
    d.items = {
        {DlgControl::Static, -1, QStringLiteral("Select a video compressor for the output file:"),
         7, 7, 222, 10},
        {DlgControl::ListBox, 2059, QString(), 7, 19, 222, 60, kTab | WS_VSCROLL | LBS_NOTIFY},
        {DlgControl::Static, -1, QStringLiteral("Video compressor notes:"), 7, 84, 222, 10},
        {DlgControl::ListBox, 2069, QString(), 7, 96, 222, 34, kTab | WS_VSCROLL},
        {DlgControl::Static, -1, QStringLiteral("Estimated maximum size:"), 7, 139, 90, 10},
        {DlgControl::Edit, 2067, QString(), 100, 137, 60, 12, kTab | ES_READONLY},
        {DlgControl::Static, -1, QStringLiteral("MB"), 164, 139, 16, 10},
        {DlgControl::Button, 2103, QStringLiteral("Preview >>"), 184, 136, 45, 14, kTab},
        {DlgControl::Static, -1, QStringLiteral("Preview without a video compressor"), 244, 7, 160,
         10},
        {DlgControl::Static, 2064, QString(), 244, 19, 160, 120, WS_CHILD | WS_VISIBLE},
        {DlgControl::Static, -1, QStringLiteral("Preview with selected video compressor"), 414, 7,
         160, 10},
        {DlgControl::Static, 2065, QString(), 414, 19, 160, 120, WS_CHILD | WS_VISIBLE},
        {DlgControl::Button, 2063, QStringLiteral("Start Preview"), 244, 145, 70, 14, kTab},
        {DlgControl::Button, 2066, QStringLiteral("Stop Preview"), 318, 145, 70, 14,
         kTab | WS_DISABLED},
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 125, 157, 50, 14, kTab | BS_DEFPUSHBUTTON},
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 179, 157, 50, 14, kTab},
    };
    return d;
}

DialogTemplate JpegQuality() {
    DialogTemplate d;
    d.id = 1555;
    d.caption = QStringLiteral("JPEG Quality");
    d.cx = 200;
    d.cy = 86;
    d.items = {
        {DlgControl::Static, 1556, QString(), 7, 7, 186, 20},
        {DlgControl::Slider, 1557, QString(), 7, 32, 140, 15, kTab},
        {DlgControl::Edit, 1558, QString(), 153, 32, 40, 12, kTab},
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 89, 65, 50, 14, kTab | BS_DEFPUSHBUTTON},
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 143, 65, 50, 14, kTab},
    };
    return d;
}

// Below the save-video file dialog's own controls: what is being saved, and the area where the
// options panel (1576) goes.
DialogTemplate VideoSavePanel() {
    DialogTemplate d;
    d.id = 1536;
    d.cx = 300;
    d.cy = 184;
    d.style = WS_CHILD | WS_CLIPSIBLINGS;
    d.items = {
        {DlgControl::Static, -1, QStringLiteral("Frames:"), 10, 4, 44, 8},
        {DlgControl::Static, 1537, QString(), 56, 4, 238, 8},
        {DlgControl::Static, -1, QStringLiteral("Frame size:"), 10, 16, 44, 8},
        {DlgControl::Static, 1538, QString(), 56, 16, 238, 8},
        {DlgControl::Static, 1539, QString(), 0, 28, 300, 156, WS_CHILD},
    };
    return d;
}

// Below the data-file save dialog's own controls: every scan or a range of them.
DialogTemplate DataSaveRange() {
    constexpr DWORD kRadio = kTab | BS_AUTORADIOBUTTON;
    DialogTemplate d;
    d.id = 30053;
    d.cx = 300;
    d.cy = 58;
    d.style = WS_CHILD | WS_CLIPSIBLINGS;
    d.items = {
        {DlgControl::Button, -1, QStringLiteral("Data Save Options"), 4, 2, 292, 52,
         WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
        {DlgControl::Static, -1, QStringLiteral("Scans:"), 10, 13, 44, 8},
        {DlgControl::Static, 1537, QString(), 56, 13, 234, 8},
        {DlgControl::Button, 1015, QStringLiteral("Save all scans"), 10, 25, 100, 10,
         kRadio | WS_GROUP},
        {DlgControl::Button, 1016, QStringLiteral("Save scans"), 10, 39, 56, 10, kRadio},
        {DlgControl::Edit, 1019, QString(), 68, 38, 40, 12, kTab | WS_GROUP},
        {DlgControl::Static, -1, QStringLiteral("to"), 112, 40, 10, 8},
        {DlgControl::Edit, 1020, QString(), 124, 38, 40, 12, kTab},
    };
    return d;
}

// The options panel of the save-video file dialog.
DialogTemplate VideoSaveOptions() {
    constexpr DWORD kCheck = kTab | BS_AUTOCHECKBOX;
    constexpr DWORD kRadio = kTab | BS_AUTORADIOBUTTON;
    DialogTemplate d;
    d.id = 1576;
    d.cx = 300;
    d.cy = 156;
    d.style = WS_CHILD | WS_CLIPSIBLINGS;
    d.items = {
        {DlgControl::Button, -1, QStringLiteral("Video Save Options"), 4, 2, 292, 80,
         WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
        {DlgControl::Button, 1015, QStringLiteral("Save entire range"), 10, 13, 100, 10,
         kRadio | WS_GROUP},
        {DlgControl::Button, 1016, QStringLiteral("Save frames"), 10, 27, 56, 10, kRadio},
        {DlgControl::Edit, 1019, QString(), 68, 26, 40, 12, kTab | WS_GROUP},
        {DlgControl::Static, -1, QStringLiteral("to"), 112, 28, 10, 8},
        {DlgControl::Edit, 1020, QString(), 124, 26, 40, 12, kTab},
        {DlgControl::Button, 1466, QStringLiteral("Skip every"), 10, 43, 54, 10, kCheck},
        {DlgControl::Edit, 2008, QString(), 68, 42, 30, 12, kTab},
        {DlgControl::Static, -1, QStringLiteral("frames"), 102, 44, 30, 8},
        {DlgControl::Button, 1465, QStringLiteral("Span multiple files"), 176, 13, 110, 10, kCheck},
        {DlgControl::Edit, 1464, QString(), 176, 26, 40, 12, kTab},
        {DlgControl::Static, -1, QStringLiteral("frames per file"), 220, 28, 70, 8},
        {DlgControl::Slider, 1463, QString(), 176, 42, 112, 14, kTab},
        {DlgControl::Static, -1, QStringLiteral("Estimated Size"), 10, 63, 54, 8},
        {DlgControl::Edit, 1009, QString(), 68, 61, 60, 12, kTab | ES_READONLY},
        {DlgControl::Static, -1, QStringLiteral("MB"), 132, 63, 16, 8},
        {DlgControl::Button, -1, QStringLiteral("Other Save Options"), 4, 86, 292, 66,
         WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
        {DlgControl::Button, 1142, QStringLiteral("Save associated analysis spreadsheet  (*.xls)"),
         10, 97, 172, 10, kCheck},
        {DlgControl::Button, 1141, QStringLiteral("Scale data using units"), 188, 97, 100, 12,
         kTab},
        {DlgControl::Button, 1059, QStringLiteral("Save associated data"), 10, 111, 172, 10,
         kCheck},
        {DlgControl::Button, 1255, QStringLiteral("Save Encrypted"), 10, 125, 80, 10, kCheck},
        {DlgControl::Button, 1502, QStringLiteral("Encrypt data and notes"), 96, 125, 110, 10,
         kCheck},
        {DlgControl::Button, 1503,
         QStringLiteral("Save as Bayer formatted file with separate color coefficients file"), 10,
         139, 280, 10, kCheck},
    };
    return d;
}

}  // namespace

std::vector<DialogTemplate> SaveDialogTemplates() {
    return {Assistant(), JpegQuality(), VideoSavePanel(), VideoSaveOptions(), DataSaveRange()};
}
