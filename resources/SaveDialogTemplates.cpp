#include "resources/SaveDialogTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

DialogTemplate Assistant() {
    DialogTemplate d;
    d.id = 214;
    d.caption = QStringLiteral("Video Compression Assistant");
    d.cx = 236;
    d.cy = 178;
    d.items = {
        {DlgControl::Static, -1, QStringLiteral("Select a video compressor for the output file:"),
         7, 7, 222, 10},
        {DlgControl::ListBox, 2059, QString(), 7, 19, 222, 60, kTab | WS_VSCROLL},
        {DlgControl::Static, -1, QStringLiteral("Video compressor notes:"), 7, 84, 222, 10},
        {DlgControl::ListBox, 2069, QString(), 7, 96, 222, 34, kTab | WS_VSCROLL},
        {DlgControl::Static, -1, QStringLiteral("Estimated maximum size:"), 7, 139, 90, 10},
        {DlgControl::Edit, 2067, QString(), 100, 137, 60, 12, kTab | ES_READONLY},
        {DlgControl::Static, -1, QStringLiteral("MB"), 164, 139, 20, 10},
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

}  // namespace

std::vector<DialogTemplate> SaveDialogTemplates() {
    return {Assistant(), JpegQuality()};
}
