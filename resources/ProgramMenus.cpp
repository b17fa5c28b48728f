#include "resources/ProgramMenus.h"

#include "platform/framework/Menu.h"
#include "platform/wintypes/WinMessages.h"

#include <initializer_list>

namespace {

using Items = std::vector<MenuItemTemplate>;

MenuItemTemplate Item(UINT id, const char* text) {
    return {MF_STRING, id, QString::fromUtf8(text), {}};
}

MenuItemTemplate Separator() {
    return {MF_SEPARATOR, 0, QString(), {}};
}

MenuItemTemplate Popup(const char* text, Items items) {
    return {MF_POPUP, 0, QString::fromUtf8(text), std::move(items)};
}

void Append(Items& to, std::initializer_list<MenuItemTemplate> items) {
    to.insert(to.end(), items);
}

// What the document kinds add to the shared menus; a form view shows one video of a play group
// by itself.
enum Kind { kNoDocument, kProject, kPlayGroup, kVideo, kFormView };

Items FileMenu(Kind kind) {
    Items items = {Item(57601, "&Open...\tCtrl+O"),
                   Item(32791, "Open &Video File..."),
                   Item(32990, "Open Video in &Form View..."),
                   Item(32813, "Open &Play Group..."),
                   Item(32811, "Open &Data File..."),
                   Item(32815, "Open &Camera..."),
                   Item(32816, "Open Data Car&d..."),
                   Separator(),
                   Item(32821, "&New Play Project")};
    if (kind != kNoDocument)
        Append(items, {Separator(), Item(57602, "&Close\tCtrl+W")});
    if (kind == kProject || kind == kFormView)
        Append(items, {Item(57603, "&Save\tCtrl+S"), Item(57604, "Save &As...")});
    // The framework fills in the recent files from here.
    Append(items,
           {Separator(), Item(57616, "Recent File"), Separator(), Item(57665, "E&xit\tCtrl+Q")});
    return items;
}

Items EditMenu(Kind kind) {
    Items copy = {Item(32923, "&Application Window\tCtrl+Shift+C")};
    if (kind == kVideo || kind == kPlayGroup)
        copy.push_back(Item(32921, "Active &Window\tCtrl+C"));
    return {Popup("&Copy", copy), Separator(), Item(32836, "Program &Options..."),
            Item(32941, "System &Configuration..."), Item(33120, "&Record Options...")};
}

// The pan-zoom views' display choices; the same items make the "View" pop-up 143.
Items PanZoomItems() {
    const auto corners = [](UINT first) {
        return Items{Item(first, "Upper-Left"), Item(first + 1, "Upper-Right"),
                     Item(first + 2, "Lower-Left"), Item(first + 3, "Lower-Right"),
                     Item(first + 4, "Hide")};
    };
    return {Item(32775, "View Actual"),
            Item(32776, "Fit In Window"),
            Separator(),
            Item(32777, "Pan Mode"),
            Item(32778, "Zoom Mode"),
            Separator(),
            Item(32779, "Show Reticle"),
            Item(32780, "Show Rulers"),
            Separator(),
            Popup("Show Information", corners(32781)),
            Popup("Show Zoom Box", corners(32786))};
}

// The annotation editor's commands (33300 + the editor's command number); the same items make
// the "Annotate" pop-up 147 of the video's context menu.
Items AnnotateItems() {
    const auto at = [](UINT number, const char* text) { return Item(33300 + number, text); };
    return {at(12, "&Select"),
            at(34, "&No Tool"),
            Separator(),
            at(0, "&Line"),
            at(1, "A&rc"),
            at(2, "Rectan&gle"),
            at(3, "Filled Rectangle"),
            at(4, "&Ellipse"),
            at(5, "Filled Ellipse"),
            at(6, "&Polygon"),
            at(7, "Filled Polygon"),
            at(8, "C&urve"),
            at(9, "Closed Curve"),
            at(10, "&Text"),
            at(11, "Filled Text"),
            at(30, "Length &Dimension"),
            at(31, "An&gle Dimension"),
            Separator(),
            at(13, "D&uplicate"),
            Popup("&Order", {at(17, "Bring &Forward"), at(18, "Bring to &Front"),
                             at(19, "Send &Backward"), at(20, "Send to Bac&k")}),
            Popup("&Frames", {at(21, "&This Frame Only"), at(22, "From This Frame &On"),
                              at(23, "&All Frames")}),
            Separator(),
            at(24, "&Open Annotations..."),
            at(32, "Sa&ve Annotations"),
            at(25, "Save Annotations &As..."),
            Separator(),
            at(26, "Delete Annotations in This Frame"),
            at(27, "Delete All Annotations"),
            Separator(),
            at(28, "Show &Handles"),
            at(29, "Show Annotations")};
}

Items ViewMenu(Kind kind) {
    Items items = {Item(59392, "&Main Toolbar"),
                   Item(32837, "Quick (Play) File Addition Toolbar"),
                   Item(32838, "Quick (Record) Device Addition Toolbar"),
                   Item(32890, "Video Controls Toolbar"),
                   Item(32889, "Project Layout Toolbar"),
                   Item(32898, "Video Tools Toolbar"),
                   Item(32862, "One-step save toolbar"),
                   Item(59393, "&Status Bar"),
                   Item(32774, "&Control Bar")};
    if (kind == kProject)
        Append(items, {Separator(), Item(32911, "Control &Panel")});
    if (kind == kPlayGroup)
        Append(items, {Separator(), Item(32912, "&Play Controls")});
    if (kind == kVideo) {
        items.push_back(Separator());
        for (MenuItemTemplate& item : PanZoomItems())
            items.push_back(std::move(item));
    }
    return items;
}

// The record controller of the project: its devices and how it shows them.
Items RecordMenu() {
    return {Item(1356, "Add &Video or Device..."),
            Item(32801, "Add &Device..."),
            Item(32816, "Open Data &Card..."),
            Item(32988, "Open Device Play&back"),
            Separator(),
            Item(32839, "Toggle Play Controls"),
            Item(32795, "Record Control &Panel"),
            Separator(),
            Item(32852, "&Zero, Bracket, Save, Re-Arm"),
            Item(32856, "Close Playbacks and &Rearm"),
            Separator(),
            Item(32963, "Record &Options..."),
            Item(32964, "&Connections..."),
            Item(32860, "Snapkeep (TM) the active play window."),
            Separator(),
            Item(33131, "New Record Controller (&Second Generation)...")};
}

Items PlaybackMenu() {
    return {Item(32802, "Add Video"),
            Item(32805, "Add Data"),
            Item(32807, "Import Play Project"),
            Separator(),
            Item(32808, "Save Active Playback As..."),
            Item(32824, "Save active data playback"),
            Item(32832, "Export To Text..."),
            Item(32833, "Export To Excel..."),
            Item(32825, "Save All Playbacks from Device Memory"),
            Item(32841, "Save complete project session"),
            Item(32834, "Edit Record Parameters..."),
            Item(32835, "Save Record Parameters"),
            Separator(),
            Item(32946, "Play Controller - Settings from Active"),
            Item(32947, "Play Controller - Settings from Slowest"),
            Separator(),
            Item(32847, "Video-centric Graph"),
            Item(32846, "Data-centric Graph")};
}

// The measurement overlays of the video in front; also the "Measure" pop-up 146 of the video's
// context menu, so that a video hosted in a group or project reaches them.
Items MeasurementItems() {
    return {Item(32930, "Add Scale Calibration"), Item(32931, "Add Velocity Caliper"),
            Item(32932, "Add Caliper"),           Item(32933, "Add Goto Note"),
            Item(32934, "Frame Slider"),          Item(32935, "Video Information."),
            Item(32937, "Add Measurement Point.")};
}

Items ToolsMenu(Kind kind) {
    Items items;
    if (kind == kVideo) {
        items = MeasurementItems();
        items.push_back(Separator());
    }
    // The notes of the playback on top of the group, and saving them.
    if (kind == kProject || kind == kPlayGroup)
        Append(items, {Item(32915, "Notes"), Item(32951, "Save Notes"), Separator()});
    Append(items, {Item(32850, "Background Image Mixer"), Item(32861, "One-step save settings"),
                   Item(33100, "Data Display..."), Item(33102, "Data Acquisition..."),
                   Item(33103, "Data Sensor..."), Item(33121, "Auto-Record Controller..."),
                   Item(33122, "Auto-Record Control Panel..."), Separator(),
                   Item(32814, "3-D Capture Wizard..."),
                   Item(33110, "Convert Vidra 2.0 Files to Play Group...")});
    return items;
}

Items WindowMenu(Kind kind) {
    Items items;
    if (kind == kProject || kind == kPlayGroup)
        items = {Item(32870, "&Cascade"),
                 Item(32871, "Tile &Horizontally"),
                 Item(32968, "Tile &Vertically"),
                 Item(32891, "&Arrange Windows"),
                 Item(32892, "A&uto-Arrange Windows"),
                 Separator()};
    else if (kind == kNoDocument)
        items = {Item(32870, "&Cascade"), Separator()};
    if (kind == kVideo || kind == kPlayGroup)
        items.push_back(Item(32924, "Close Active Window"));
    Append(items,
           {Item(32929, "Close All Windows"), Item(32918, "Close All &Groups"), Separator()});
    // The open windows, named as the menu opens.
    for (UINT id = 32873; id <= 32881; ++id)
        items.push_back(Item(id, "Window"));
    items.push_back(Item(32882, "&Windows..."));
    return items;
}

Items HelpMenu() {
    return {Item(57670, "&Contents...\tF1"),
            Item(57666, "&Index..."),
            Item(57667, "&Search..."),
            Separator(),
            Item(32940, "Check for &Updates..."),
            Separator(),
            Item(57664, "&About Vidra Player...")};
}

// A second-generation record controller standing by itself: its cameras and its two bars.
MenuTemplate RecordController2Menu() {
    MenuTemplate menu;
    menu.id = 134;
    menu.items = {Popup("&File", {Item(57603, "&Save\tCtrl+S"), Item(57604, "Save &As...")}),
                  Popup("&View", {Item(32774, "&Control Bar"), Item(32795, "&Record Buttons")}),
                  Popup("&Record", {Item(32801, "Add &Device...")}), Popup("&Help", HelpMenu())};
    return menu;
}

MenuTemplate MenuBar(UINT id, Kind kind) {
    MenuTemplate menu;
    menu.id = id;
    menu.items = {Popup("&File", FileMenu(kind)), Popup("&Edit", EditMenu(kind)),
                  Popup("&View", ViewMenu(kind))};
    if (kind == kProject)
        menu.items.push_back(Popup("&Record", RecordMenu()));
    if (kind == kProject || kind == kPlayGroup)
        menu.items.push_back(Popup("&Playback", PlaybackMenu()));
    // The annotations of the video in front, wherever it is hosted.
    if (kind != kNoDocument)
        menu.items.push_back(Popup("&Annotate", AnnotateItems()));
    Append(menu.items, {Popup("&Tools", ToolsMenu(kind)), Popup("&Window", WindowMenu(kind)),
                        Popup("&Help", HelpMenu())});
    return menu;
}

}  // namespace

std::vector<MenuTemplate> ProgramMenus() {
    MenuTemplate viewPopup;
    viewPopup.id = 143;
    viewPopup.items = {Popup("View", PanZoomItems())};
    MenuTemplate annotatePopup;
    annotatePopup.id = 147;
    annotatePopup.items = {Popup("Annotate", AnnotateItems())};
    MenuTemplate measurePopup;
    measurePopup.id = 146;
    measurePopup.items = {Popup("Measure", MeasurementItems())};
    return {MenuBar(128, kNoDocument),
            MenuBar(154, kProject),
            MenuBar(152, kPlayGroup),
            MenuBar(145, kVideo),
            MenuBar(129, kFormView),
            RecordController2Menu(),
            viewPopup,
            annotatePopup,
            measurePopup};
}

std::vector<AcceleratorTable> ProgramAccelerators() {
    constexpr BYTE kCtrl = FVIRTKEY | FCONTROL;
    // Letters are their own virtual-key codes.
    const std::vector<ACCEL> keys = {
        {kCtrl, 'O', 57601},
        {kCtrl, 'W', 57602},
        {kCtrl, 'Q', 57665},
        {kCtrl | FSHIFT, 'C', 32923},
        {kCtrl, 'C', 32921},
        {FVIRTKEY, VK_F1, 57670},
        // The play control of the active group: Space plays, Shift+Space plays backwards,
        // Ctrl+Space stops, the arrow keys step one frame.
        {FVIRTKEY, VK_SPACE, 2001},
        {FVIRTKEY | FSHIFT, VK_SPACE, 2009},
        {kCtrl, VK_SPACE, 2003},
        {FVIRTKEY, VK_RIGHT, 2005},
        {FVIRTKEY, VK_LEFT, 2004},
    };
    // Only the main window holds keys: the window-wide shortcuts of a child frame would clash
    // with them, and the main window hands every command to the active child anyway.
    AcceleratorTable table{128, keys};
    table.entries.push_back({kCtrl, 'S', 57603});
    return {table};
}

std::vector<ToolBarTemplate> MainToolBars() {
    const auto bar = [](UINT id, std::vector<UINT> buttons) {
        ToolBarTemplate t;
        t.id = id;
        t.buttons = std::move(buttons);
        return t;
    };
    return {
        bar(0xE820, {57601, 32791, 32813, 32811, 0, 32836, 0, 57664}),
        bar(0xE821, {32821, 0, 32802, 32805, 32807}),
        bar(0xE822, {32801, 32815, 32816}),
        bar(0xE823, {2009, 2004, 2003, 2001, 2005}),
        bar(0xE824, {32803, 1356, 0, 32891, 32892, 0, 32870, 32871, 32968}),
        bar(0xE825, {32775, 32776, 0, 32777, 32778, 0, 32779, 32780, 0, 32930, 32932, 32931, 32933,
                     32934, 32935, 32937}),
    };
}

std::map<UINT, QString> CommandStrings() {
    const std::pair<UINT, const char*> rows[] = {
        {57601, "Open a recording, data file or play group\nOpen"},
        {32791, "Open one or more video files\nOpen Video File"},
        {32813, "Open a saved play group\nOpen Play Group"},
        {32811, "Open a data file\nOpen Data File"},
        {33102, "Show the live data of a data acquisition card\nData Acquisition"},
        {33103, "Show the live data of a data card in a play project\nData Sensor"},
        {32815, "Open a camera and show its live video\nOpen Camera"},
        {32814,
         "Capture calibration and measurement images from two cameras for a 3-D project\n3-D "
         "Capture Wizard"},
        {33110,
         "Make a play group of a version 2.0 video and its data file\nConvert Vidra 2.0 "
         "Files"},
        {32821, "Start a new play project\nNew Play Project"},
        {32836, "Change the program options\nProgram Options"},
        {32941, "Change the system configuration\nSystem Configuration"},
        {33120, "Change how the devices record\nRecord Options"},
        {33121,
         "Record the open devices again and again, saving each recording\nAuto-Record "
         "Controller"},
        {33122, "Choose where and how the Auto-Record Controller saves\nAuto-Record Control Panel"},
        {57664, "Show the program's version and support contacts\nAbout"},
        {32940, "Ask the update server whether a newer version is available\nCheck for Updates"},
        {32802, "Add a video to the play group\nAdd Video"},
        {32915, "Show the notes of the playback on top\nNotes"},
        {32951, "Save the notes shown in the notes window\nSave Notes"},
        {32805, "Add a data file to the play group\nAdd Data"},
        {32807, "Import the playbacks of a play project\nImport Play Project"},
        {32808, "Save the playback on top as a new file\nSave Active Playback As"},
        {32824, "Save the data playback on top as a new file\nSave Active Data Playback"},
        {32832, "Export the data playback on top as a text file\nExport To Text"},
        {32833, "Export the data playback on top to a workbook\nExport To Excel"},
        {32825,
         "Save every playback taken from a device's memory, with matching names\nSave "
         "All Playbacks from Device Memory"},
        {32841,
         "Save every playback of the group and the group file\nSave Complete Project "
         "Session"},
        {32990, "Open a video by itself in a form view\nOpen Video in Form View"},
        {32803, "Add a play group to the project\nAdd Play Group"},
        {1356, "Add video files or a live device to the project\nAdd Video or Device"},
        {32801, "Add a camera or data card to the record controller\nAdd Device"},
        {32816, "Open a data card in the record controller\nOpen Data Card"},
        {32839, "Show or hide the record controller's play controls\nToggle Play Controls"},
        {32774, "Show or hide the control bar\nControl Bar"},
        {32795, "Show or hide the record control panel\nRecord Control Panel"},
        {33131,
         "Open a record controller of the second generation for cameras\nNew Record "
         "Controller (Second Generation)"},
        {32963, "Change the record controller's recording settings\nRecord Options"},
        {32964, "Show how the open devices are connected\nConnections"},
        {32988,
         "Play the latest recording of the device in front from its memory\nOpen Device Playback"},
        {32852,
         "Zero the play group, bracket and save it as the options say, then record "
         "again\nZero, Bracket, Save, Re-Arm"},
        {32856, "Close the play group's playbacks and record again\nClose Playbacks and Rearm"},
        {32847, "Number the data graph by the video's frames\nVideo-centric Graph"},
        {32846, "Number the data graph from the data's own origin\nData-centric Graph"},
        {32891, "Arrange the windows side by side\nArrange Windows"},
        {32892, "Keep the windows arranged\nAuto-Arrange Windows"},
        {32870, "Cascade the windows\nCascade"},
        {32871, "Tile the windows horizontally\nTile Horizontally"},
        {32968, "Tile the windows vertically\nTile Vertically"},
        {2001, "Play forwards\nPlay (Space)"},
        {2009, "Play backwards\nPlay Backward (Shift+Space)"},
        {2003, "Stop playing\nStop (Ctrl+Space)"},
        {2005, "Step one frame forwards\nStep Forward (Right)"},
        {2004, "Step one frame back\nStep Back (Left)"},
        {32775, "Show the frame at its actual size\nView Actual"},
        {32776, "Fit the frame into the window\nFit In Window"},
        {32777, "Drag to pan the frame\nPan Mode"},
        {32778, "Drag to zoom the frame\nZoom Mode"},
        {32779, "Show or hide the reticle\nShow Reticle"},
        {32780, "Show or hide the rulers\nShow Rulers"},
        {32930, "Add a scale calibration\nAdd Scale Calibration"},
        {32931, "Add a velocity caliper\nAdd Velocity Caliper"},
        {32932, "Add a caliper\nAdd Caliper"},
        {32933, "Add a note that jumps to a frame\nAdd Goto Note"},
        {32934, "Add a frame slider\nFrame Slider"},
        {32935, "Add the video information box\nVideo Information"},
        {32937, "Add a measurement point\nAdd Measurement Point"},
        {33312, "Select, move and edit annotations\nSelect"},
        {33300, "Draw a line\nLine"},
        {33301, "Draw an arc through three points\nArc"},
        {33302, "Draw a rectangle\nRectangle"},
        {33304, "Draw an ellipse\nEllipse"},
        {33306, "Draw a polygon, a click per vertex\nPolygon"},
        {33308, "Draw a curve, a click per control point\nCurve"},
        {33310, "Write a text\nText"},
        {33330, "Measure a length\nLength Dimension"},
        {33331, "Measure an angle\nAngle Dimension"},
        {33324, "Open an annotation file\nOpen Annotations"},
        {33332, "Save the annotations beside the recording\nSave Annotations"},
    };
    std::map<UINT, QString> strings;
    for (const auto& [id, text] : rows)
        strings.emplace(id, QString::fromUtf8(text));
    return strings;
}

std::map<UINT, QString> CommandIconNames() {
    const std::pair<UINT, const char*> rows[] = {
        {57601, "document-open"},
        {32791, "video-x-generic"},
        {32813, "reelmark-open-play-group"},
        {32811, "x-office-spreadsheet"},
        {32821, "document-new"},
        {32836, "preferences-system"},
        {57664, "help-about"},
        {57670, "help-contents"},
        {32940, "system-software-update"},
        {57665, "application-exit"},
        {32802, "reelmark-add-video"},
        {32805, "reelmark-add-data"},
        {32807, "reelmark-import-play-project"},
        {32803, "reelmark-add-play-group"},
        {1356, "camera-video"},
        {32801, "reelmark-add-device"},
        {32815, "camera-video"},
        {32816, "reelmark-data-card"},
        {32891, "reelmark-arrange"},
        {32892, "reelmark-auto-arrange"},
        {32870, "reelmark-cascade"},
        {32871, "reelmark-tile-horizontally"},
        {32968, "reelmark-tile-vertically"},
        {2001, "media-playback-start"},
        {2009, "reelmark-play-backward"},
        {2003, "media-playback-stop"},
        {2005, "media-seek-forward"},
        {2004, "media-seek-backward"},
        {2002, "reelmark-rewind"},
        {2010, "reelmark-fast-forward"},
        {32775, "zoom-original"},
        {32776, "zoom-fit-best"},
        {32777, "reelmark-pan-mode"},
        {32778, "zoom-in"},
        {32779, "reelmark-reticle"},
        {32780, "reelmark-rulers"},
        {32930, "reelmark-scale-calibration"},
        {32931, "reelmark-velocity-caliper"},
        {32932, "reelmark-caliper"},
        {32933, "reelmark-goto-note"},
        {32934, "reelmark-frame-slider"},
        {32935, "reelmark-video-information"},
        {32937, "reelmark-measurement-point"},
        // The status panes' icons: reticle position, visible region, actual and zoomed size.
        {212, "reelmark-reticle"},
        {213, "zoom-fit-best"},
        {266, "zoom-original"},
        {214, "zoom-in"},
    };
    std::map<UINT, QString> names;
    for (const auto& [id, name] : rows)
        names.emplace(id, QString::fromLatin1(name));
    return names;
}
