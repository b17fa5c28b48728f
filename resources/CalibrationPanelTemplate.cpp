#include "resources/CalibrationPanelTemplate.h"

#include "platform/framework/ControlWidgets.h"

DialogTemplate CalibrationPanelTemplate() {
    constexpr DWORD kShown = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    constexpr DWORD kReadout = kShown | WS_BORDER | ES_READONLY;
    constexpr DWORD kGroup = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;
    constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE;
    DialogTemplate t;
    t.id = 1629;
    t.caption = QStringLiteral("Calibration");
    // A page of the play group's control panel.
    t.style = WS_CHILD;
    t.cx = 144;
    t.cy = 268;
    t.fontName = QStringLiteral("MS Sans Serif");
    t.fontPointSize = 8;
    using C = DlgControl;
    t.items = {
        {C::Button, 0xFFFF, QStringLiteral("Calibrate Scale"), 4, 4, 136, 88, kGroup},
        {C::Button, 3001, QStringLiteral("Set Point #1"), 10, 16, 60, 14, kShown},
        {C::Button, 3002, QStringLiteral("Set Point #2"), 74, 16, 60, 14, kShown},
        {C::Static, 0xFFFF, QStringLiteral("Distance Between Points"), 10, 34, 124, 9, kLabel},
        {C::Edit, 3003, QString(), 10, 44, 50, 12, kShown | WS_BORDER},
        // One line high while closed; the open list sizes itself.
        {C::ComboBox, 3004, QString(), 64, 44, 70, 12, kShown | CBS_DROPDOWNLIST},
        {C::Button, 1360, QStringLiteral("Apply Scale >>"), 10, 60, 60, 14, kShown},
        {C::Edit, 1048, QString(), 10, 76, 44, 12, kReadout},
        {C::Static, 1067, QStringLiteral("pixels /"), 58, 78, 30, 9, kLabel},
        {C::Static, 2240, QStringLiteral("unit"), 90, 78, 40, 9, kLabel},
        {C::Button, 0xFFFF, QStringLiteral("Calibrate Coordinate System"), 4, 96, 136, 120, kGroup},
        {C::Button, 1364, QStringLiteral("Set Origin"), 10, 108, 60, 14, kShown},
        {C::Button, 1359, QStringLiteral(" X Direction"), 74, 108, 60, 14, kShown},
        {C::Button, 1402, QStringLiteral("Flip Y"), 10, 126, 40, 14, kShown},
        {C::Button, 0xFFFF, QStringLiteral("Quick Set"), 56, 124, 78, 50, kGroup},
        {C::Button, 1434, QString(), 62, 134, 8, 8, kShown},
        {C::Button, 1435, QString(), 120, 134, 8, 8, kShown},
        {C::Button, 1437, QString(), 62, 160, 8, 8, kShown},
        {C::Button, 1436, QString(), 120, 160, 8, 8, kShown},
        {C::Button, 1368, QString(), 84, 140, 8, 8, kShown},
        {C::Button, 1369, QString(), 98, 140, 8, 8, kShown},
        {C::Button, 1370, QString(), 84, 154, 8, 8, kShown},
        {C::Button, 1371, QString(), 98, 154, 8, 8, kShown},
        {C::Button, 1361, QStringLiteral("Apply Origin && Tilt >>"), 10, 178, 60, 20, kShown},
        {C::Edit, 1069, QString(), 74, 178, 44, 12, kReadout},
        {C::Static, 1070, QStringLiteral("pixels (origin)"), 74, 191, 62, 9, kLabel},
        {C::Edit, 1058, QString(), 10, 200, 44, 12, kReadout},
        {C::Static, 1068, QStringLiteral("degrees (tilt)"), 58, 202, 60, 9, kLabel},
        {C::Button, 0xFFFF, QStringLiteral("Save and Load"), 4, 220, 136, 44, kGroup},
        {C::Button, 1372, QStringLiteral("Set Default"), 10, 230, 60, 14, kShown},
        {C::Button, 1373, QStringLiteral("Load Default"), 74, 230, 60, 14, kShown},
        {C::Button, 1362, QStringLiteral("Save File"), 10, 246, 60, 14, kShown | WS_DISABLED},
        {C::Button, 1363, QStringLiteral("Load File"), 74, 246, 60, 14, kShown | WS_DISABLED},
    };
    return t;
}
