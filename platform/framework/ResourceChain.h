#pragma once

// CResourceChain: the modules' resource tables (dialog templates, strings, menus, accelerators,
// toolbars, bitmaps and icons), searched by resource id in the order the modules were added.
// The program adds its own tables at start-up; a shared library adds its tables when it loads
// and takes them out when it unloads, so a look-up falls through to it when the modules before
// it have no resource of that id. Tables are plain data owned by their module; the chain keeps
// pointers to them. Safe from any thread.

#include "platform/framework/Accel.h"
#include "platform/wintypes/WinMessages.h"

#include <QImage>
#include <QString>

#include <map>
#include <vector>

// The kinds of control a dialog template can hold.
enum class DlgControl {
    Button,  // push, check, radio, group box or owner-drawn, by the BS_ style
    Static,
    Edit,
    ComboBox,  // drop-down list, drop-down or simple, by the CBS_ style
    ListBox,
    ListView,  // report list with columns
    TreeView,
    Tab,
    Spin,
    Progress,
    Slider,
};

// One control: its kind, id, text and rectangle in dialog units, and its style. Its place in
// the template is its tab order.
struct DialogItemTemplate {
    DlgControl type = DlgControl::Static;
    int id = 0;
    QString text;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = WS_CHILD | WS_VISIBLE;
};

// A dialog: caption, rectangle in dialog units of its font, style (WS_CHILD for a child
// dialog or a property page) and its controls in tab order.
struct DialogTemplate {
    UINT id = 0;
    QString caption;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    QString fontName = QStringLiteral("MS Shell Dlg");
    int fontPointSize = 8;
    std::vector<DialogItemTemplate> items;
};

// A menu item: a command (flags MF_STRING, MF_GRAYED, MF_CHECKED), a separator (MF_SEPARATOR)
// or a pop-up (MF_POPUP) with its own items.
struct MenuItemTemplate {
    UINT flags = 0;
    UINT id = 0;
    QString text;
    std::vector<MenuItemTemplate> popup;
};

struct MenuTemplate {
    UINT id = 0;
    std::vector<MenuItemTemplate> items;
};

struct AcceleratorTable {
    UINT id = 0;
    std::vector<ACCEL> entries;
};

// A toolbar: button size in pixels and the command ids in order (0 makes a separator). Its
// images are the bitmap of the same id, one cell per button that is not a separator.
struct ToolBarTemplate {
    UINT id = 0;
    int buttonWidth = 16;
    int buttonHeight = 15;
    std::vector<UINT> buttons;
};

// A bitmap or icon: the file holding it (a file path or a Qt resource path ":/...").
struct ImageResource {
    UINT id = 0;
    QString path;
};

// All tables of one module.
struct CResourceModule {
    QString name;
    std::vector<DialogTemplate> dialogs;
    std::map<UINT, QString> strings;
    std::vector<MenuTemplate> menus;
    std::vector<AcceleratorTable> accelerators;
    std::vector<ToolBarTemplate> toolBars;
    std::vector<ImageResource> bitmaps;
    std::vector<ImageResource> icons;
    // The icon of a command on toolbars and menus: a freedesktop icon name, looked up in the
    // desktop's icon theme; a name the theme does not carry goes to the program's icon painter.
    std::map<UINT, QString> commandIcons;
};

// The entry point a resource library exports (with C linkage and default visibility). A
// library carries its own copy of the static framework layer, so it hands its tables to the
// program's chain through this function instead of adding them itself.
inline constexpr const char* kResourceEntryPoint = "RmResourceModule";
using ResourceEntryPoint = const CResourceModule* (*)();

class CResourceChain {
public:
    // Appends the module (once; adding it again keeps its place). It must stay alive until
    // RemoveModule.
    static void AddModule(const CResourceModule* module);
    static void RemoveModule(const CResourceModule* module);
    // Loads the shared library and appends the tables its entry point kResourceEntryPoint
    // (extern "C" const CResourceModule* ()) hands out. FALSE, with the loader's message in
    // error when given, when the library cannot be loaded or has no such entry point.
    static BOOL LoadLibrary(const QString& path, QString* error = nullptr);
    // Takes the library's tables out of the chain. The library itself stays mapped: texts
    // handed out earlier may still share its constant data.
    static BOOL UnloadLibrary(const QString& path);
    // The module names in search order.
    static std::vector<QString> ModuleNames();
    // The module of that name in the chain, or nullptr.
    static const CResourceModule* FindModule(const QString& name);
    // The module searched before all others (nullptr: none, the chain order alone holds);
    // returns the one it replaces. CResourceModuleScope is the way to use it.
    static const CResourceModule* SetPreferredModule(const CResourceModule* module);
    static const CResourceModule* PreferredModule();

    // The first resource of that id along the chain, or nullptr. The pointer stays valid
    // while its module is in the chain.
    static const DialogTemplate* FindDialog(UINT nID);
    static const MenuTemplate* FindMenu(UINT nID);
    static const AcceleratorTable* FindAccelerators(UINT nID);
    static const ToolBarTemplate* FindToolBar(UINT nID);
    // FALSE when no module has a string of that id; text is then left alone.
    static BOOL FindString(UINT nID, QString& text);
    // A null image when no module has that bitmap or icon or its file cannot be read.
    static QImage LoadBitmap(UINT nID);
    static QImage LoadIcon(UINT nID);
    // The icon name of a command, or empty text.
    static QString CommandIconName(UINT nID);
};

// The string-table entry nID; FALSE (text unchanged) when there is none.
BOOL LoadString(UINT nID, QString& text);
