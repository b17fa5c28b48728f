#include "platform/framework/Shell.h"

#include "platform/framework/Wnd.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QUrl>
#include <QWidget>

namespace {

constexpr UINT kWinExecStarted = 33;
constexpr UINT kWinExecFileNotFound = 2;

}  // namespace

BOOL AfxCopyWindowToClipboard(CWnd* wnd) {
    QWidget* widget = wnd ? wnd->GetQWidget() : nullptr;
    if (!widget)
        return FALSE;
    wnd->Invalidate();
    wnd->UpdateWindow();
    const QPixmap picture = widget->grab();
    if (picture.isNull())
        return FALSE;
    QGuiApplication::clipboard()->setImage(picture.toImage());
    return TRUE;
}

BOOL AfxShellOpen(const QString& target) {
    if (target.isEmpty())
        return FALSE;
    QUrl url(target, QUrl::StrictMode);
    // A path like "C:\x" or "/x" is a file; only a scheme of two letters or more is a URL.
    if (!url.isValid() || url.scheme().size() < 2) {
        QString path = target;
        path.replace('\\', '/');
        if (!QFileInfo::exists(path))
            return FALSE;
        url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    } else if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        return FALSE;
    }
    return QDesktopServices::openUrl(url) ? TRUE : FALSE;
}

QStringList AfxSplitCommandLine(const QString& commandLine) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (const QChar c : commandLine) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (c.isSpace() && !quoted) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

UINT WinExec(const QString& commandLine, UINT) {
    QStringList arguments = AfxSplitCommandLine(commandLine);
    if (arguments.isEmpty())
        return kWinExecFileNotFound;
    const QString program = arguments.takeFirst();
    return QProcess::startDetached(program, arguments) ? kWinExecStarted : kWinExecFileNotFound;
}
