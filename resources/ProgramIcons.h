#pragma once

// CProgramIcons: the program's own toolbar icons, for the commands no freedesktop icon name
// fits (play groups, annotation tools, window layouts). Each is drawn in a 16 x 16 grid and
// scaled, so the large toolbar set stays sharp.

#include <QIcon>
#include <QString>

class CProgramIcons {
public:
    // The icon of a "reelmark-" name, or a null icon for any other name.
    static QIcon Draw(const QString& name);
};
