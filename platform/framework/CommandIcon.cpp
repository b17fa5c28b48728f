#include "platform/framework/CommandIcon.h"

#include "platform/framework/ResourceChain.h"

namespace {

IconPainter& Painter() {
    static IconPainter painter;
    return painter;
}

}  // namespace

void AfxSetIconPainter(IconPainter painter) {
    Painter() = std::move(painter);
}

QIcon AfxCommandIcon(UINT nID) {
    const QString name = CResourceChain::CommandIconName(nID);
    if (name.isEmpty())
        return QIcon();
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull() && Painter())
        icon = Painter()(name);
    return icon;
}

QString AfxCommandTip(UINT nID) {
    QString text;
    if (!LoadString(nID, text))
        return QString();
    const qsizetype lineBreak = text.indexOf(QLatin1Char('\n'));
    return lineBreak < 0 ? text : text.mid(lineBreak + 1);
}
