#include "platform/framework/SysColor.h"

#include "platform/framework/GdiConstants.h"

#include <QGuiApplication>
#include <QHash>
#include <QPalette>

namespace {

constexpr int kColorCount = COLOR_INFOBK + 1;

QHash<int, COLORREF>& Overrides() {
    static QHash<int, COLORREF> overrides;
    return overrides;
}

COLORREF FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

COLORREF FromPalette(int index) {
    const QPalette palette = QGuiApplication::palette();
    auto role = [&](QPalette::ColorRole r) {
        return FromQColor(palette.color(QPalette::Active, r));
    };
    switch (index) {
        case COLOR_SCROLLBAR:
        case COLOR_INACTIVECAPTION:
        case COLOR_APPWORKSPACE:
            return role(QPalette::Mid);
        case COLOR_BACKGROUND:
        case COLOR_BTNSHADOW:
            return role(QPalette::Dark);
        case COLOR_ACTIVECAPTION:
        case COLOR_HIGHLIGHT:
            return role(QPalette::Highlight);
        case COLOR_MENU:
            return role(QPalette::Window);
        case COLOR_WINDOW:
            return role(QPalette::Base);
        case COLOR_WINDOWFRAME:
        case COLOR_3DDKSHADOW:
            return role(QPalette::Shadow);
        case COLOR_MENUTEXT:
            return role(QPalette::WindowText);
        case COLOR_WINDOWTEXT:
            return role(QPalette::Text);
        case COLOR_CAPTIONTEXT:
        case COLOR_HIGHLIGHTTEXT:
            return role(QPalette::HighlightedText);
        case COLOR_ACTIVEBORDER:
        case COLOR_INACTIVEBORDER:
        case COLOR_BTNFACE:
            return role(QPalette::Button);
        case COLOR_GRAYTEXT:
            return FromQColor(palette.color(QPalette::Disabled, QPalette::Text));
        case COLOR_BTNTEXT:
            return role(QPalette::ButtonText);
        case COLOR_INACTIVECAPTIONTEXT:
            return FromQColor(palette.color(QPalette::Disabled, QPalette::WindowText));
        case COLOR_BTNHIGHLIGHT:
            return role(QPalette::Light);
        case COLOR_3DLIGHT:
            return role(QPalette::Midlight);
        case COLOR_INFOTEXT:
            return role(QPalette::ToolTipText);
        case COLOR_INFOBK:
            return role(QPalette::ToolTipBase);
        default:
            return 0;
    }
}

}  // namespace

COLORREF GetSysColor(int index) {
    if (index < 0 || index >= kColorCount)
        return 0;
    auto it = Overrides().constFind(index);
    return it != Overrides().constEnd() ? *it : FromPalette(index);
}

BOOL SetSysColors(int count, const int* indices, const COLORREF* colors) {
    if (count < 0 || (count > 0 && (indices == nullptr || colors == nullptr)))
        return FALSE;
    for (int i = 0; i < count; ++i) {
        if (indices[i] < 0 || indices[i] >= kColorCount)
            return FALSE;
    }
    for (int i = 0; i < count; ++i)
        Overrides().insert(indices[i], colors[i] & 0x00FFFFFF);
    return TRUE;
}

void ResetSysColors() {
    Overrides().clear();
}
