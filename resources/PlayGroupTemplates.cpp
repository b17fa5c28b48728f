#include "resources/PlayGroupTemplates.h"

#include "platform/framework/ControlWidgets.h"
#include "platform/framework/ListCtrl.h"

namespace {

constexpr int kStatic = -1;
constexpr DWORD kVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

DialogTemplate FormView() {
    DialogTemplate d;
    d.id = 343;
    d.style = WS_CHILD;
    d.cx = 320;
    d.cy = 240;
    d.items = {
        {DlgControl::Tab, 1661, QString(), 0, 0, 320, 240, kVisible},
        {DlgControl::Tab, 1002, QString(), 0, 0, 10, 10, WS_CHILD},
        {DlgControl::Tab, 1003, QString(), 0, 0, 10, 10, WS_CHILD},
        {DlgControl::Static, 1000, QString(), 0, 0, 10, 10, WS_CHILD},
        {DlgControl::ComboBox, 1062, QString(), 0, 0, 10, 60, WS_CHILD | CBS_DROPDOWNLIST},
    };
    return d;
}

DialogTemplate SyncSaveList() {
    DialogTemplate d;
    d.id = 366;
    d.caption = QStringLiteral("Synchronized Save List...");
    d.cx = 260;
    d.cy = 196;
    d.items = {
        {DlgControl::Static, kStatic,
         QStringLiteral("The window you have selected appears to be one in a set of similarly "
                        "named windows.  You may save one or all windows simultaneously by "
                        "checking the window names below."),
         7, 7, 246, 26, kVisible},
        {DlgControl::ListView, 2146, QString(), 7, 36, 246, 92,
         kTab | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS},
        {DlgControl::Button, 2147, QStringLiteral("Open saved files in New Play Group"), 7, 134,
         246, 10, kTab | BS_AUTOCHECKBOX},
        {DlgControl::Button, 2148, QStringLiteral("Present save dialog for each  window"), 7, 147,
         246, 10, kTab | BS_AUTOCHECKBOX},
        {DlgControl::Button, 2149, QStringLiteral("Use synchronized file naming convention"), 7,
         160, 246, 10, kTab | BS_AUTOCHECKBOX},
        {DlgControl::Button, IDOK, QStringLiteral("OK"), 149, 176, 50, 14, kTab | BS_DEFPUSHBUTTON},
        {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 203, 176, 50, 14, kTab},
    };
    return d;
}

}  // namespace

std::vector<DialogTemplate> PlayGroupTemplates() {
    return {FormView(), SyncSaveList()};
}
