#include "sensorres/SondrelModule.h"

#include "platform/framework/ControlWidgets.h"
#include "platform/framework/ListBox.h"
#include "platform/framework/ListCtrl.h"
#include "platform/framework/Menu.h"
#include "sensorres/SensorResourceIds.h"

namespace {

constexpr DWORD kTab = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kRadio = kTab | BS_AUTORADIOBUTTON;
constexpr DWORD kCheck = kTab | BS_AUTOCHECKBOX;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
constexpr DWORD kNotifyList = kTab | WS_VSCROLL | WS_BORDER | LBS_NOTIFY;
// The graph configuration's lists, where several channels are moved at once.
constexpr DWORD kMultiSelectList = kNotifyList | LBS_EXTENDEDSEL;
// The place the program's graph control takes over.
constexpr DWORD kReport = kTab | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
constexpr DWORD kGraphPlace = kChild | WS_BORDER;

DialogItemTemplate Text(int id, const char* text, int x, int y, int cx, int cy) {
    return {DlgControl::Static, id, QString::fromUtf8(text), x, y, cx, cy, kChild};
}

DialogItemTemplate Push(int id, const char* text, int x, int y, int cx, int cy,
                        DWORD style = kTab) {
    return {DlgControl::Button, id, QString::fromUtf8(text), x, y, cx, cy, style};
}

DialogItemTemplate Field(int id, int x, int y, int cx, int cy, DWORD style = kTab | WS_BORDER) {
    return {DlgControl::Edit, id, QString(), x, y, cx, cy, style};
}

DialogItemTemplate OkButton(int x, int y) {
    return Push(IDOK, "OK", x, y, 50, 14, kTab | BS_DEFPUSHBUTTON);
}

DialogItemTemplate CancelButton(int x, int y) {
    return Push(IDCANCEL, "Cancel", x, y, 50, 14);
}

DialogTemplate Dialog(UINT id, const char* caption, int cx, int cy,
                      DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU) {
    DialogTemplate d;
    d.id = id;
    d.caption = QString::fromUtf8(caption);
    d.cx = cx;
    d.cy = cy;
    d.style = style;
    return d;
}

DialogTemplate TestTrigger() {
    DialogTemplate d = Dialog(SensorRes::kTestTriggerTemplate, "Test Trigger Controls", 186, 116);
    d.items = {
        {DlgControl::Button, -1, QStringLiteral("Toggle Digital Line 6 (DIO6)"), 7, 7, 172, 36,
         kGroup},
        Push(1003, "Toggle", 67, 20, 50, 14),
        {DlgControl::Button, -1, QStringLiteral("Analog Output Voltage (DAC0)"), 7, 49, 172, 36,
         kGroup},
        {DlgControl::Slider, 1009, QString(), 15, 62, 156, 15, kTab},
        OkButton(68, 95),
    };
    return d;
}

DialogTemplate FormatSettings() {
    using namespace FormatSettingsId;
    DialogTemplate d = Dialog(SensorRes::kFormatSettingsTemplate, "Format Settings", 300, 210);
    d.items = {
        {DlgControl::ListView, kChannelList, QString(), 7, 7, 286, 100, kReport},
        Text(-1, "Label:", 7, 116, 30, 8),
        Field(kLabel, 40, 114, 100, 12),
        Text(-1, "Units:", 150, 116, 30, 8),
        Field(kUnits, 183, 114, 50, 12),
        Text(-1, "Factor:", 7, 134, 30, 8),
        Field(kFactor, 40, 132, 60, 12),
        Text(-1, "Offset:", 150, 134, 30, 8),
        Field(kOffset, 183, 132, 60, 12),
        {DlgControl::Button, -1, QStringLiteral("Font"), 7, 150, 140, 52, kGroup},
        Push(kSmallFont, "Small Font (15 pt)", 14, 161, 120, 10, kRadio | WS_GROUP),
        Push(kLargeFont, "Large Font (30 pt)", 14, 174, 120, 10, kRadio),
        Push(kAutoFont, "Auto Select", 14, 187, 120, 10, kRadio),
        Push(kExportScaled, "Scale Data when Exporting", 155, 152, 138, 10, kCheck | WS_GROUP),
        OkButton(187, 189),
        CancelButton(243, 189),
    };
    return d;
}

DialogTemplate GraphConfig() {
    using namespace GraphConfigId;
    DialogTemplate d = Dialog(SensorRes::kGraphConfigTemplate, "Graph Configuration", 260, 200);
    d.items = {
        Text(-1, "Displayed", 7, 7, 100, 8),
        Text(-1, "Chan.   Acq.   Disp.\tY-Label", 7, 17, 100, 8),
        {DlgControl::ListBox, kDisplayedList, QString(), 7, 27, 100, 100, kMultiSelectList},
        Push(kAdd, "< Add", 115, 50, 30, 14),
        Push(kRemove, "Remove >", 115, 70, 30, 14),
        Text(-1, "Not displayed", 153, 7, 100, 8),
        {DlgControl::ListBox, kHiddenList, QString(), 153, 27, 100, 100, kMultiSelectList},
        Push(kScaledView, "Scaled View", 7, 134, 100, 10, kCheck),
        Push(kCaptionOn, "Y-Axis Caption Channel:", 7, 148, 100, 10, kCheck),
        Field(kCaptionChannel, 110, 146, 30, 12, kTab | WS_BORDER | ES_READONLY),
        Push(kGridLines, "Grid Lines", 153, 134, 100, 10, kCheck),
        Push(kBlackBackground, "Black Background", 153, 148, 100, 10, kCheck),
        OkButton(147, 179),
        CancelButton(203, 179),
    };
    return d;
}

// The data display: the buttons along the top, the graph below them and the read-out panel on
// the right. The window lays out graph and panel itself whenever it is sized.
DialogTemplate DataDisplay(UINT id, const char* caption, DWORD style, const char* configure,
                           const char* values, bool editModeLabel) {
    using namespace DataDisplayId;
    DialogTemplate d = Dialog(id, caption, 400, 240, style);
    int x = 2;
    auto next = [&x](int cx) {
        const int at = x;
        x += cx + 2;
        return at;
    };
    d.items.push_back(Push(kConfigure, configure, next(58), 2, 58, 12));
    d.items.push_back(Push(kValuesButton, values, next(58), 2, 58, 12));
    if (editModeLabel)
        d.items.push_back(Text(-1, "Edit Mode:", next(36), 4, 36, 8));
    d.items.push_back(Push(kCursorMode, "Cursor", next(34), 3, 34, 10, kRadio | WS_GROUP));
    d.items.push_back(Push(kZoomMode, "Zoom", next(30), 3, 30, 10, kRadio));
    d.items.push_back(Push(kPanMode, "Pan", next(28), 3, 28, 10, kRadio));
    d.items.push_back(Push(kBack, "Back", next(24), 2, 24, 12, kTab | WS_GROUP));
    d.items.push_back(Push(kFwd, "Fwd", next(24), 2, 24, 12));
    d.items.push_back(Push(kDataCentric, "Data-centric", next(56), 3, 56, 10, kCheck));
    d.items.push_back({DlgControl::Static, kGraph, QString(), 0, 16, 330, 224, kGraphPlace});
    d.items.push_back({DlgControl::ListBox, kValuesList, QString(), 338, 18, 54, 160,
                       kTab | WS_VSCROLL | WS_BORDER});
    d.items.push_back(Text(kIndexLabel, "Index:", 338, 184, 54, 8));
    d.items.push_back(Field(kIndexField, 338, 194, 44, 11, kTab | WS_BORDER | ES_READONLY));
    d.items.push_back(Text(kTimeLabel, "Time (s):", 338, 208, 54, 8));
    d.items.push_back(Field(kTimeField, 338, 218, 44, 11, kTab | WS_BORDER | ES_READONLY));
    return d;
}

// The sensor record page and its three record-controller variants share their controls: the
// rate and the numbers that follow from it, the commands, and the trigger controls below them
// (which the page keeps hidden).
DialogTemplate SensorRecord(UINT id, const char* caption) {
    constexpr DWORD kShown = kTab | WS_BORDER | ES_READONLY;
    DialogTemplate d = Dialog(id, caption, 250, 170, WS_CHILD);
    d.items = {
        Text(-1, "Rate (Hz):", 7, 9, 50, 8),
        {DlgControl::ComboBox, 1574, QString(), 62, 7, 58, 100, kTab | CBS_DROPDOWNLIST},
        Field(1537, 124, 7, 32, 12, kShown),
        Field(1106, 159, 7, 32, 12, kShown),
        Text(-1, "Frame rates:", 197, 9, 46, 8),
        {DlgControl::ListBox, 1005, QString(), 197, 19, 46, 64, kNotifyList},
        Text(-1, "Samples:", 7, 27, 50, 8),
        Field(1532, 62, 25, 58, 12, kShown),
        Text(-1, "Record time (s):", 7, 43, 55, 8),
        Field(1047, 62, 41, 58, 12, kShown),
        Text(-1, "Channels on:", 7, 59, 50, 8),
        Field(1528, 62, 57, 58, 12, kShown),
        Text(-1, "All samples:", 7, 75, 50, 8),
        Field(1539, 62, 73, 58, 12, kShown),
        Text(-1, "Frame rate:", 124, 27, 40, 8),
        Field(1009, 164, 25, 27, 12, kShown),
        Text(-1, "Samples per frame:", 124, 43, 67, 8),
        {DlgControl::ComboBox, 1114, QString(), 124, 55, 36, 100, kTab | CBS_DROPDOWN},
        Field(1535, 164, 56, 27, 12, kShown),
        Push(1530, "Record", 7, 92, 50, 14),
        Push(1110, "Abort", 62, 92, 50, 14),
        Push(1533, "Buffer...", 124, 92, 55, 14),
        Push(1534, "Settings...", 184, 92, 59, 14),
        Push(204, "Pre-trigger", 7, 112, 236, 54, kGroup),
        {DlgControl::Slider, 1050, QString(), 12, 122, 120, 15, kTab},
        Field(1013, 137, 123, 30, 12),
        Field(1053, 12, 142, 40, 12, kShown),
        Field(1051, 57, 142, 40, 12, kShown),
        Field(1540, 102, 142, 40, 12, kShown),
        Field(1541, 147, 142, 40, 12, kShown),
        {DlgControl::ComboBox, 202, QString(), 172, 123, 66, 60, kTab | CBS_DROPDOWNLIST},
        Text(205, "Pre (s)", 12, 156, 40, 8),
        Text(206, "Post (s)", 57, 156, 40, 8),
        Text(207, "Pre", 102, 156, 40, 8),
        Text(208, "Post", 147, 156, 40, 8),
        Text(209, "Edge", 192, 142, 40, 8),
        Text(210, "%", 168, 125, 4, 8),
    };
    return d;
}

// The channel list above the controls of the current channel; the status line under them is
// drawn in red by the dialog.
DialogTemplate AcquisitionSettings() {
    DialogTemplate d =
        Dialog(SensorRes::kAcquisitionSettingsTemplate, "Data Acquisition Settings", 360, 232);
    d.items = {
        {DlgControl::ListView, 1130, QString(), 7, 7, 346, 100, kReport},
        Text(-1, "Channel:", 7, 116, 40, 8),
        {DlgControl::ComboBox, 1065, QString(), 50, 114, 40, 100, kTab | CBS_DROPDOWNLIST},
        Push(2001, "On", 100, 115, 40, 10, kCheck),
        Push(1185, "Record", 145, 115, 45, 10, kCheck),
        Text(-1, "Input Mode:", 200, 116, 45, 8),
        {DlgControl::ComboBox, 2021, QString(), 248, 114, 50, 60, kTab | CBS_DROPDOWNLIST},
        Text(-1, "Lower Limit:", 7, 134, 45, 8),
        Field(1075, 55, 132, 50, 12),
        Text(-1, "Upper Limit:", 115, 134, 45, 8),
        Field(1076, 163, 132, 50, 12),
        Text(-1, "Label:", 7, 152, 45, 8),
        Field(2221, 55, 150, 100, 12),
        Text(-1, "Units:", 165, 152, 30, 8),
        Field(2240, 198, 150, 50, 12),
        Text(-1, "Factor:", 7, 170, 45, 8),
        Field(2081, 55, 168, 50, 12),
        Text(-1, "Offset:", 115, 170, 45, 8),
        Field(2101, 163, 168, 50, 12),
        Push(1150, "Color...", 258, 132, 50, 14),
        {DlgControl::Static, 1151, QString(), 313, 132, 40, 14, kChild | WS_BORDER},
        Text(-1, "DAQ Connector:", 7, 190, 60, 8),
        {DlgControl::ComboBox, 1157, QString(), 70, 188, 100, 60, kTab | CBS_DROPDOWNLIST},
        Text(1158, "", 180, 190, 120, 8),
        OkButton(247, 211),
        CancelButton(303, 211),
    };
    return d;
}

// The play bar along the foot of a data window: the transport buttons (their pictures are
// the icons above), the position slider with its scale, the frame and time read-out and the
// mode boxes.
DialogTemplate DataPlayBar() {
    using namespace DataPlayBarId;
    DialogTemplate d = Dialog(SensorRes::kDataPlayBarTemplate, "", 440, 30, WS_CHILD);
    const struct {
        int id;
        const char* text;
    } buttons[] = {{2002, "Rew"}, {2009, "Rev"},  {2004, "Back"}, {2003, "Stop"},
                   {2005, "Fwd"}, {2001, "Play"}, {2010, "FFwd"}};
    int x = 2;
    for (const auto& button : buttons) {
        d.items.push_back(Push(button.id, button.text, x, 2, 16, 14));
        x += 18;
    }
    d.items.push_back({DlgControl::Slider, kPositionSlider, QString(), 130, 2, 150, 14, kTab});
    for (int i = 0; i < 4; ++i)
        d.items.push_back(Text(kScaleLabels[i], "", 130 + 38 * i, 18, 36, 8));
    d.items.push_back(Text(-1, "Frame:", 286, 5, 24, 8));
    d.items.push_back(Field(kFrameField, 312, 3, 44, 12, kTab | WS_BORDER | ES_READONLY));
    d.items.push_back(Text(-1, "Time:", 360, 5, 20, 8));
    d.items.push_back(Field(kTimeField, 382, 3, 54, 12, kTab | WS_BORDER | ES_READONLY));
    d.items.push_back(Push(2006, "Continuous", 286, 18, 50, 10, kCheck));
    d.items.push_back(Push(2007, "Synchronize", 338, 18, 52, 10, kCheck));
    d.items.push_back(Push(2011, "Base Sync.", 392, 18, 46, 10, kCheck));
    return d;
}

CResourceModule MakeModule() {
    CResourceModule m;
    m.name = SensorRes::kModuleName;
    m.dialogs = {
        TestTrigger(),
        FormatSettings(),
        GraphConfig(),
        DataDisplay(SensorRes::kDataDisplayTemplate, "Data Display",
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, "Configure",
                    "Cursor Values", false),
        SensorRecord(SensorRes::kSensorRecordTemplate, "Sensor Record"),
        DataDisplay(SensorRes::kDataDisplayChildTemplate, "", WS_CHILD, "Configure Graph",
                    "Display Values", true),
        AcquisitionSettings(),
        SensorRecord(SensorRes::kSensorRecordMode0Template, ""),
        SensorRecord(SensorRes::kSensorRecordMode1Template, ""),
        SensorRecord(SensorRes::kSensorRecordMode2Template, ""),
        DataPlayBar(),
    };
    MenuTemplate menu;
    menu.id = SensorRes::kDataDisplayMenu;
    menu.items = {{MF_POPUP,
                   0,
                   QStringLiteral("Data Display"),
                   {{MF_STRING,
                     SensorRes::kFormatSettingsCommand,
                     QStringLiteral("Format Settings..."),
                     {}}}}};
    m.menus = {menu};
    const auto image = [](UINT id, const char* file) {
        return ImageResource{id, QStringLiteral(":/sondrel/") + QLatin1String(file)};
    };
    m.bitmaps = {
        image(SensorRes::kBitmapAdd, "add.png"), image(SensorRes::kBitmapRemove, "remove.png"),
        image(SensorRes::kBitmapRecord, "record.png"), image(SensorRes::kBitmapStop, "stop.png")};
    m.icons = {image(SensorRes::kBackIcon, "back.png"),     image(SensorRes::kStepIcon, "step.png"),
               image(SensorRes::kPlayIcon, "play.png"),     image(SensorRes::kRewIcon, "rew.png"),
               image(SensorRes::kStopIcon, "stopicon.png"), image(SensorRes::kRevIcon, "rev.png"),
               image(SensorRes::kForwIcon, "forw.png")};
    return m;
}

}  // namespace

const CResourceModule& SondrelModule() {
    static const CResourceModule module = MakeModule();
    return module;
}

const CResourceModule* RmResourceModule() {
    return &SondrelModule();
}
