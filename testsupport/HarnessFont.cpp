#include "testsupport/HarnessFont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QString>

bool UseHarnessFont() {
    const QString folder = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
    QString family;
    for (const char* file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
        const int id = QFontDatabase::addApplicationFont(folder + QLatin1String(file));
        if (id < 0)
            return false;
        family = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    if (family.isEmpty())
        return false;
    // The names the program's own drawing and dialog templates ask for.
    for (const char* name : {"Arial", "MS Shell Dlg", "MS Sans Serif", "Helvetica", "Sans Serif"})
        QFont::insertSubstitution(QString::fromLatin1(name), family);
    QFont font(family);
    font.setPixelSize(12);
    QApplication::setFont(font);
    return true;
}
