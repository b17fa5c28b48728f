#include "resources/ProgramResources.h"

#include "platform/framework/Accel.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/Menu.h"

namespace {

void FillMenu(CMenu& menu, const std::vector<MenuItemTemplate>& items) {
    for (const MenuItemTemplate& item : items) {
        if (item.flags & MF_POPUP) {
            CMenu popup;
            popup.CreatePopupMenu();
            FillMenu(popup, item.popup);
            menu.AppendMenu(item.flags, reinterpret_cast<UINT_PTR>(&popup), item.text);
        } else {
            menu.AppendMenu(item.flags, item.id, item.text);
        }
    }
}

}  // namespace

const CResourceModule& CProgramResources::Module() {
    static const CResourceModule module = [] {
        CResourceModule m;
        m.name = QStringLiteral("Reelmark");
        m.strings = {
            {100, QStringLiteral("OLE initialization failed.  Make sure that the OLE libraries "
                                 "are the correct version.")},
            {16384, QStringLiteral("For technical support please contact:")},
            {16387,
             QStringLiteral("Another instance of this application was detected. Shutting Down.")},
        };
        return m;
    }();
    return module;
}

void CProgramResources::Register() {
    CResourceChain::AddModule(&Module());
    AfxSetMenuLoader([](UINT nID, CMenu& menu) -> BOOL {
        const MenuTemplate* tmpl = CResourceChain::FindMenu(nID);
        if (!tmpl)
            return FALSE;
        FillMenu(menu, tmpl->items);
        return TRUE;
    });
    AfxSetAcceleratorLoader([](UINT nID) {
        const AcceleratorTable* table = CResourceChain::FindAccelerators(nID);
        return table ? table->entries : std::vector<ACCEL>();
    });
    AfxSetDocStringLoader([](UINT nID) {
        QString text;
        LoadString(nID, text);
        return text;
    });
}
