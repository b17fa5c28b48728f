#include "resources/ProgramResources.h"

#include "platform/framework/Accel.h"
#include "platform/framework/CommandIcon.h"
#include "platform/framework/ControlWidgets.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/FormView.h"
#include "platform/framework/Menu.h"
#include "resources/CalibrationPanelTemplate.h"
#include "resources/ColorAdjustmentTemplate.h"
#include "resources/DeviceDialogTemplates.h"
#include "resources/DrawPropsTemplates.h"
#include "resources/LutColorAdjustTemplates.h"
#include "resources/NotesWindowTemplates.h"
#include "resources/OptionsPageTemplates.h"
#include "resources/PlayGroupTemplates.h"
#include "resources/PlayGroupToolBars.h"
#include "resources/PlaybackTabTemplates.h"
#include "resources/ProgramIcons.h"
#include "resources/ProgramMenus.h"
#include "resources/ProjectFrameTemplates.h"
#include "resources/RecordControlTemplates.h"
#include "resources/RecordPageTemplates.h"
#include "resources/RecordTemplates.h"
#include "resources/SaveDialogTemplates.h"
#include "resources/SmallDialogTemplates.h"
#include "resources/WizardTemplates.h"

#include <QIcon>
#include <QWidget>

#include <cmath>

#include <utility>

namespace {

// A form view's controls: the dialog template's items in the form, each at its rectangle in
// the template font's dialog units, as a dialog would make them.
BOOL BuildForm(CWnd* form, UINT nIDTemplate, CSize* size) {
    const DialogTemplate* tmpl = CResourceChain::FindDialog(nIDTemplate);
    QWidget* parent = form ? form->GetQWidget() : nullptr;
    if (!tmpl || !parent)
        return FALSE;
    const QFont font = CDialog::TemplateFont(*tmpl);
    const CSize base = CDialog::DialogBaseUnits(font);
    const auto pixels = [&base](int x, int y, int cx, int cy) {
        const auto across = [&base](int v) {
            return static_cast<int>(std::lround(v * base.cx / 4.0));
        };
        const auto down = [&base](int v) {
            return static_cast<int>(std::lround(v * base.cy / 8.0));
        };
        return CRect(across(x), down(y), across(x + cx), down(y + cy));
    };
    std::vector<CRect> rects;
    for (const DialogItemTemplate& item : tmpl->items)
        rects.push_back(pixels(item.x, item.y, item.cx, item.cy));
    parent->setFont(font);
    CreateDialogControls(*tmpl, parent, rects);
    if (size)
        *size = pixels(0, 0, tmpl->cx, tmpl->cy).Size();
    return TRUE;
}

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
        // The progress dialogs: the bar, a line of text and Cancel.
        for (const auto& [id, caption] :
             {std::pair<UINT, const char*>{184, "Progress"}, {30109, "Please Wait"}}) {
            DialogTemplate dialog;
            dialog.id = id;
            dialog.caption = QString::fromLatin1(caption);
            dialog.cx = 220;
            dialog.cy = 62;
            dialog.items = {
                {DlgControl::Static, 1014, QString(), 7, 7, 206, 10},
                {DlgControl::Progress, 1013, QString(), 7, 20, 206, 12},
                {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 163, 40, 50, 14,
                 WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            };
            m.dialogs.push_back(dialog);
        }
        DialogTemplate about;
        about.id = 100;
        about.caption = QStringLiteral("About");
        about.cx = 235;
        about.cy = 120;
        about.items = {
            {DlgControl::Static, 1005, QString(), 10, 10, 215, 10},
            {DlgControl::Static, 1006, QString(), 10, 22, 215, 10},
            {DlgControl::Static, 1007, QString(), 10, 40, 215, 10},
            {DlgControl::Static, 1008, QString(), 10, 52, 215, 18},
            {DlgControl::Static, 1009, QString(), 10, 72, 215, 10},
            {DlgControl::Static, 1010, QString(), 10, 84, 215, 10},
            {DlgControl::Button, IDOK, QStringLiteral("OK"), 175, 100, 50, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        };
        m.dialogs.push_back(about);
        DialogTemplate windows;
        windows.id = 208;
        windows.caption = QStringLiteral("Windows");
        windows.cx = 186;
        windows.cy = 130;
        windows.items = {
            {DlgControl::Static, 1014, QStringLiteral("Select window to activate:"), 7, 7, 172, 10},
            {DlgControl::ListBox, 2121, QString(), 7, 19, 172, 84,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL},
            {DlgControl::Button, IDOK, QStringLiteral("OK"), 75, 109, 50, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
            {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 129, 109, 50, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        };
        m.dialogs.push_back(windows);
        // The program options: the tabs of its pages over OK and Cancel.
        DialogTemplate options;
        options.id = 186;
        options.caption = QStringLiteral("Program Options");
        options.cx = 300;
        options.cy = 220;
        options.items = {
            {DlgControl::Tab, 1661, QString(), 7, 7, 286, 184, WS_CHILD | WS_VISIBLE | WS_TABSTOP},
            {DlgControl::Button, IDOK, QStringLiteral("OK"), 189, 199, 50, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON},
            {DlgControl::Button, IDCANCEL, QStringLiteral("Cancel"), 243, 199, 50, 14,
             WS_CHILD | WS_VISIBLE | WS_TABSTOP},
        };
        m.dialogs.push_back(options);
        m.dialogs.push_back(ColorAdjustmentTemplate());
        m.dialogs.push_back(CalibrationPanelTemplate());
        for (DialogTemplate& dialog : DrawPropsTemplates())
            m.dialogs.push_back(dialog);
        for (DialogTemplate& page : OptionsPageTemplates())
            m.dialogs.push_back(page);
        for (DialogTemplate& page : PlaybackTabTemplates())
            m.dialogs.push_back(page);
        for (DialogTemplate& bar : ProjectFrameTemplates())
            m.dialogs.push_back(bar);
        for (DialogTemplate& dialog : SaveDialogTemplates())
            m.dialogs.push_back(dialog);
        for (DialogTemplate& dialog : DeviceDialogTemplates())
            m.dialogs.push_back(dialog);
        for (DialogTemplate& page : RecordControlTemplates())
            m.dialogs.push_back(page);
        for (DialogTemplate& dialog : RecordTemplates())
            m.dialogs.push_back(dialog);
        for (DialogTemplate& page : LutColorAdjustTemplates())
            m.dialogs.push_back(page);
        for (DialogTemplate& dialog : SmallDialogTemplates())
            m.dialogs.push_back(dialog);
        for (DialogTemplate& dialog : PlayGroupTemplates())
            m.dialogs.push_back(dialog);
        for (DialogTemplate& dialog : NotesWindowTemplates())
            m.dialogs.push_back(dialog);
        for (DialogTemplate& page : RecordPageTemplates())
            m.dialogs.push_back(page);
        for (DialogTemplate& dialog : WizardTemplates())
            m.dialogs.push_back(dialog);
        m.toolBars = PlayGroupToolBars();
        for (ToolBarTemplate& bar : MainToolBars())
            m.toolBars.push_back(bar);
        m.menus = ProgramMenus();
        m.accelerators = ProgramAccelerators();
        m.commandIcons = CommandIconNames();
        // The Connection Assistant's pictures: its left panel and one per kind of device.
        m.bitmaps = {
            {229, QStringLiteral(":/bitmaps/device_datacard.png")},
            {230, QStringLiteral(":/bitmaps/device_camera.png")},
            {231, QStringLiteral(":/bitmaps/connection_panel.png")},
            {232, QStringLiteral(":/bitmaps/device_timing.png")},
            // The record pages' device tree: detail, data card, devices, camera.
            {185, QStringLiteral(":/bitmaps/record_tree.png")},
        };
        // The buttons that add devices (and videos and data to a play group) and the record
        // buttons.
        m.icons = {
            {187, QStringLiteral(":/bitmaps/add_camera.png")},
            {188, QStringLiteral(":/bitmaps/add_card.png")},
            {189, QStringLiteral(":/bitmaps/trigger.png")},
            {190, QStringLiteral(":/bitmaps/idle.png")},
            {191, QStringLiteral(":/bitmaps/record.png")},
            {192, QStringLiteral(":/bitmaps/stop.png")},
            {193, QStringLiteral(":/bitmaps/live.png")},
            // The capture wizard's zoom buttons.
            {108, QStringLiteral(":/bitmaps/zoom_in.png")},
            {109, QStringLiteral(":/bitmaps/zoom_out.png")},
        };
        m.strings = {
            {100, QStringLiteral("OLE initialization failed.  Make sure that the OLE libraries "
                                 "are the correct version.")},
            {16384, QStringLiteral("For technical support please contact:")},
            {16385, QStringLiteral("Tolvar Technical Support")},
            {16386, QStringLiteral("support@tolvar.example")},
            {16395, QStringLiteral("https://www.tolvar.example/support")},
            {16390, QStringLiteral("Would you like to Export the data using real units?")},
            {16396, QStringLiteral("Erase device memory?")},
            {16387,
             QStringLiteral("Another instance of this application was detected. Shutting Down.")},
            // Document strings: the kinds of file each window type opens (filter name and
            // ";"-separated extensions).
            {145, QStringLiteral("\n\n\nVideo File Types (*.avi;*.raw;*.bmp;*.tif;*.jpg;*.pvi)\n"
                                 ".avi;.raw;.bmp;.tif;.jpg;.pvi\n\n")},
            // The record controller's status panes before their first update.
            {59142, QStringLiteral("-- Idle")},
            {59143, QStringLiteral(" ")},
            {59144, QStringLiteral("No Mssg - ")},
            {134, QStringLiteral("\nRecord Controller\nRecord Controller\nRecord Controller Files "
                                 "(*.recc)\n.recc\n\n")},
            {151, QStringLiteral("\n\n\nData Files (*.mdat;*.au2;*.vidatqn)\n"
                                 ".mdat;.au2;.vidatqn\n\n")},
        };
        m.strings.merge(CommandStrings());
        return m;
    }();
    return module;
}

void CProgramResources::Register() {
    CResourceChain::AddModule(&Module());
    // The desktop's own theme answers first; the one the setup installs fills its gaps and
    // stands in where no desktop names a theme.
    if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == "hicolor")
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    if (QIcon::themeName().isEmpty())
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    AfxSetIconPainter(&CProgramIcons::Draw);
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
    AfxSetFormTemplateBuilder(&BuildForm);
    AfxSetDocStringLoader([](UINT nID) {
        QString text;
        LoadString(nID, text);
        return text;
    });
}
