#include "platform/framework/ResourceChain.h"

// Tables of a library loaded at run time: a dialog and strings of its own, and a string whose
// id the program also has (the program's must win).

namespace {

const CResourceModule& LibraryModule() {
    static const CResourceModule module = [] {
        CResourceModule m;
        m.name = QStringLiteral("test library");
        DialogTemplate dialog;
        dialog.id = 7001;
        dialog.caption = QStringLiteral("Library Dialog");
        dialog.cx = 120;
        dialog.cy = 60;
        dialog.items = {
            {DlgControl::Edit, 1501, QString(), 7, 7, 60, 14, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            {DlgControl::Button, IDOK, QStringLiteral("OK"), 7, 30, 50, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        };
        m.dialogs.push_back(dialog);
        m.strings = {{7002, QStringLiteral("from the library")},
                     {100, QStringLiteral("library's copy")}};
        MenuTemplate menu;
        menu.id = 7003;
        menu.items = {{0, 32814, QStringLiteral("&Capture"), {}}};
        m.menus.push_back(menu);
        return m;
    }();
    return module;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) const CResourceModule* RmResourceModule() {
    return &LibraryModule();
}
