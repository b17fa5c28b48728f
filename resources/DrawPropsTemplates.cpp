#include "resources/DrawPropsTemplates.h"

#include "platform/framework/ControlWidgets.h"

namespace {

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
constexpr DWORD kCheck = kShown | BS_AUTOCHECKBOX;
constexpr DWORD kGroup = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE;
constexpr DWORD kList = kShown | CBS_DROPDOWNLIST | WS_VSCROLL;
// The closed drop-down lists are one line high; the open list sizes itself.
constexpr int kComboHeight = 12;

DialogTemplate Shared(UINT id, const char* caption, int extraHeight) {
    using C = DlgControl;
    DialogTemplate t;
    t.id = id;
    t.caption = QString::fromLatin1(caption);
    t.cx = 300;
    t.cy = 176 + extraHeight;
    t.fontName = QStringLiteral("MS Sans Serif");
    const int b = 154 + extraHeight;
    t.items = {
        {C::Button, 0xFFFF, QStringLiteral("Line"), 4, 4, 142, 78, kGroup},
        {C::Button, 1543, QStringLiteral("Color"), 10, 16, 40, 14, kShown},
        {C::Static, 0xFFFF, QStringLiteral("Thickness"), 56, 18, 36, 9, kLabel},
        {C::ComboBox, 1538, QString(), 94, 16, 46, kComboHeight, kList},
        {C::Static, 0xFFFF, QStringLiteral("Style"), 10, 36, 30, 9, kLabel},
        {C::ComboBox, 1516, QString(), 42, 34, 98, kComboHeight, kList},
        {C::Button, 1540, QStringLiteral("Arrow Head"), 10, 52, 60, 10, kCheck},
        {C::Button, 1541, QStringLiteral("Arrow Tail"), 76, 52, 60, 10, kCheck},
        {C::Button, 1189, QStringLiteral("Closed"), 10, 66, 60, 10, kCheck},
        {C::Button, 0xFFFF, QStringLiteral("Fill"), 4, 86, 142, 30, kGroup},
        {C::Button, 1539, QStringLiteral("Filled"), 10, 100, 50, 10, kCheck},
        {C::Button, 1544, QStringLiteral("Color"), 94, 97, 40, 14, kShown},
        {C::Button, 0xFFFF, QStringLiteral("Text"), 152, 4, 144, 112, kGroup},
        {C::Edit, 1542, QString(), 158, 16, 132, 12, kShown | WS_BORDER},
        {C::Button, 1545, QStringLiteral("Color"), 158, 32, 40, 14, kShown},
        {C::Static, 0xFFFF, QStringLiteral("Size"), 204, 34, 20, 9, kLabel},
        {C::ComboBox, 1546, QString(), 226, 32, 64, kComboHeight, kList},
        {C::Static, 0xFFFF, QStringLiteral("Font"), 158, 52, 20, 9, kLabel},
        {C::ComboBox, 1547, QString(), 180, 50, 110, kComboHeight, kList},
        {C::Button, 1548, QStringLiteral("Bold"), 158, 70, 40, 10, kCheck},
        {C::Button, 1549, QStringLiteral("Italic"), 202, 70, 40, 10, kCheck},
        {C::Button, 1550, QStringLiteral("Underline"), 246, 70, 48, 10, kCheck},
        {C::Button, IDOK, QStringLiteral("OK"), 130, b, 50, 14, kShown | BS_DEFPUSHBUTTON},
        {C::Button, IDCANCEL, QStringLiteral("Cancel"), 186, b, 50, 14, kShown},
        {C::Button, 1307, QStringLiteral("Apply"), 242, b, 50, 14, kShown},
    };
    return t;
}

}  // namespace

std::vector<DialogTemplate> DrawPropsTemplates() {
    using C = DlgControl;
    DialogTemplate annotation = Shared(324, "Annotation Properties", 0);

    DialogTemplate calibration = Shared(386, "Length Calibration Properties", 34);
    calibration.items.insert(
        calibration.items.end() - 3,
        {{C::Button, 0xFFFF, QStringLiteral("Calibration Scale"), 4, 122, 292, 30, kGroup},
         {C::Static, 0xFFFF, QStringLiteral("Length"), 10, 136, 30, 9, kLabel},
         {C::Edit, 2206, QString(), 42, 134, 60, 12, kShown | WS_BORDER},
         {C::ComboBox, 2205, QString(), 108, 134, 80, kComboHeight, kList}});

    const auto note = [](UINT id) {
        DialogTemplate t = Shared(id, "Goto Frame-Note Properties", 34);
        t.items.insert(
            t.items.end() - 3,
            {{C::Button, 0xFFFF, QStringLiteral("Off Frame Transparency"), 4, 122, 292, 30, kGroup},
             {C::Static, 0xFFFF, QStringLiteral("Transparency "), 10, 136, 50, 9, kLabel},
             {C::Edit, 2207, QString(), 62, 134, 30, 12, kShown | WS_BORDER},
             {C::Static, 0xFFFF, QStringLiteral("%"), 96, 136, 10, 9, kLabel}});
        return t;
    };
    // The box shown while the font names are gathered.
    DialogTemplate wait;
    wait.id = 163;
    wait.caption = QStringLiteral("Draw Properties: Please Wait");
    wait.cx = 160;
    wait.cy = 40;
    wait.fontName = QStringLiteral("MS Sans Serif");
    wait.items = {{C::Static, 1014, QStringLiteral("Loading fonts..."), 10, 12, 140, 16, kLabel}};
    return {annotation, calibration, note(30104), note(30106), wait};
}
