#include "resources/ColorAdjustmentTemplate.h"

#include "platform/framework/ControlWidgets.h"

DialogTemplate ColorAdjustmentTemplate() {
    constexpr DWORD kShown = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    constexpr DWORD kEdit = kShown | WS_BORDER;
    DialogTemplate t;
    t.id = 30117;
    t.caption = QStringLiteral("Camera Color Adjustment");
    t.cx = 260;
    t.cy = 290;
    using C = DlgControl;
    t.items = {
        {C::Static, 1501, QStringLiteral("1. Color Temperature"), 7, 7, 80, 10},
        {C::ComboBox, 1500, QString(), 90, 5, 110, 80, kShown | CBS_DROPDOWNLIST},
        {C::Button, 1363, QStringLiteral("Load Settings"), 7, 22, 60, 14, kShown},
        {C::Button, 1362, QStringLiteral("Save Settings"), 70, 22, 60, 14, kShown},
        {C::Button, 1060, QStringLiteral("Reset to Factory"), 133, 22, 67, 14, kShown},
        {C::Button, 1505, QStringLiteral("Factory Preset Coefficients"), 7, 40, 120, 58,
         WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
        {C::Button, 1506, QStringLiteral("Current Coefficients"), 133, 40, 120, 58,
         WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
    };
    const int factory[9] = {1484, 1013, 1016, 1009, 1014, 1017, 1010, 1005, 1004};
    const int current[9] = {1006, 1015, 1019, 1011, 1018, 1020, 1012, 1007, 1008};
    for (int i = 0; i < 9; ++i) {
        const int x = 12 + 37 * (i % 3);
        const int y = 52 + 14 * (i / 3);
        t.items.push_back({C::Edit, factory[i], QString(), x, y, 34, 12, kEdit | ES_READONLY});
        t.items.push_back({C::Edit, current[i], QString(), x + 126, y, 34, 12, kEdit});
    }
    const std::vector<DialogItemTemplate> rest = {
        {C::Button, 1028, QStringLiteral("Apply"), 138, 101, 55, 14, kShown},
        {C::Button, 1511, QStringLiteral("Undo"), 196, 101, 55, 14, kShown},
        {C::Button, 1507, QStringLiteral("2. Gray Balance"), 7, 120, 246, 50,
         WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
        {C::Button, 1482, QStringLiteral("Select Region"), 12, 132, 60, 14, kShown},
        {C::Button, 1488, QStringLiteral("Apply Now"), 75, 132, 55, 14, kShown},
        {C::Button, 1491, QStringLiteral("Manual"), 133, 132, 50, 14, kShown},
        {C::Edit, 1021, QString(), 12, 151, 34, 12, kEdit},
        {C::Edit, 1022, QString(), 49, 151, 34, 12, kEdit},
        {C::Edit, 1023, QString(), 86, 151, 34, 12, kEdit},
        {C::Button, 1508, QStringLiteral("3. Channel Adjustment"), 7, 174, 246, 64,
         WS_CHILD | WS_VISIBLE | BS_GROUPBOX},
    };
    t.items.insert(t.items.end(), rest.begin(), rest.end());
    const int sliders[3] = {1478, 1479, 1480};
    const int gains[3] = {1024, 1025, 1026};
    for (int i = 0; i < 3; ++i) {
        const int y = 186 + 16 * i;
        t.items.push_back({C::Slider, sliders[i], QString(), 12, y, 150, 14, kShown});
        t.items.push_back({C::Edit, gains[i], QString(), 166, y, 30, 12, kEdit});
    }
    const std::vector<DialogItemTemplate> bottom = {
        {C::Button, 1486, QStringLiteral("Apply Now"), 200, 186, 50, 14, kShown},
        {C::Button, 1412, QStringLiteral("Display Bayer"), 7, 243, 70, 14, kShown},
        {C::Button, 1487, QStringLiteral("Advanced >>"), 80, 243, 60, 14, kShown},
        {C::Button, IDOK, QStringLiteral("Dismiss"), 200, 243, 53, 14, kShown | BS_DEFPUSHBUTTON},
        {C::Static, 1509, QStringLiteral("Override Depth Format"), 7, 266, 80, 10},
        {C::ComboBox, 1114, QString(), 90, 264, 70, 60, kShown | CBS_DROPDOWNLIST},
        {C::Button, 1489, QStringLiteral("Enable Filtering"), 165, 264, 70, 12,
         kShown | BS_AUTOCHECKBOX},
        {C::Button, 1485, QStringLiteral("Update"), 7, 278, 50, 14, kShown},
        {C::Button, 1504, QStringLiteral("Reset"), 60, 278, 50, 14, kShown},
    };
    t.items.insert(t.items.end(), bottom.begin(), bottom.end());
    return t;
}
